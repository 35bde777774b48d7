#pragma once

// Plays a game from a play file: a list of steps that name what a player points at or presses
// (objects, verbs, bar items, dialog lines, code buttons, menu entries, keys, controller
// buttons) and what the play waits for in the store, never pixels. The steps become SDL events
// pushed into SDL's queue, one frame at a time, on an engine with the fixed 60 Hz step.
//
// Format: one step per line; words split at blanks; '#' starts a comment; a word in double
// or single quotes may hold blanks (and the other quote). Set-up lines, read before the first frame:
//   setting <yaml line>              written to config.yaml before the start
//   controller <name> <vendor> <product>   a virtual game controller attached at the start
//   check <file> golden <path>       at the end, <file> of the per-user folder matches the
//                                    golden file (path relative to the play file; see
//                                    matches_golden)
//   check <file> has <text>          at the end, <file> holds <text>
//   check notified <id>              an achievement banner for <id> was shown during the play
// Steps, in order:
//   frames <n>                       runs n frames
//   key <name>                       a key pressed and released (SDL key name, '_' for blanks)
//   click|touch|hover <target>       the mouse (moved there first), a finger, or the mouse alone
//   hold <target> <frames>           a finger held on the target for that many frames
//   press <button>                   a controller button pressed for one frame (SDL name: a, b,
//                                    x, y, start, back, leftshoulder, dpup...)
//   select <target>                  the controller's highlight moved onto the target: a room
//                                    object (the left stick steers Mara until it is within
//                                    reach, then the shoulders make it current), a bar item
//                                    (shoulders), a menu entry (stick up and down), a dialog
//                                    line (shoulders), a code button (stick)
//   wait <entity:component> <value>  until the component reads the value (absent, present;
//                                    an action or an image reads on or off)
//   wait idle (for a few frames) | status <NAME> | menu <page> | room <room> | reach <object> (within reach)
//   screenshot <name>                the frame read back, scaled to 960 x 540, as <name>.png
// Targets: object <id>, verb <object> <verb>, item <id>, line <text>, button <value>,
// entry <name>, ground <object> (the floor where the object is reached), corner (the top-right
// corner of the view), tab (the inventory's tab along the bottom edge). Every step waits until its target is shown and has stopped moving; a
// wait gives up after its frame budget (an optional last word "within <frames>").

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Content.h>
#include <Orvane/Engine.h>

namespace Orvane::Play {

/// One line of a play file, split into words.
struct Step {
    int line = 0;
    std::string text;
    std::vector<std::string> words;
};

/// A parsed play file.
struct Script {
    std::string path;
    std::vector<std::string> settings;
    std::vector<std::string> controller; ///< name, vendor, product; empty without one
    std::vector<Step> steps;
    std::vector<Step> checks;
};

/// Reads a play file; throws std::runtime_error naming the file and line of a malformed step.
Script parse(const std::string& path);
/// Parses the text of a play file (`path` names it in messages and anchors golden files).
Script parse_text(const std::string& text, const std::string& path);

/// Why a play stopped.
struct Outcome {
    int status = 0; ///< 0: played and the game ended; 2: a wait ran out; 3: a check failed
    std::string message;
};

/// What a caller may add to a play: called after every frame, and before every step.
struct Hooks {
    std::function<void(Content&, int frame)> after_frame;
    std::function<void(const Step&)> before_step;
};

/// Plays a script on a started engine. Only one Player may run at a time (it owns SDL's event
/// queue and a virtual controller while it plays).
class Player {
  public:
    Player(Engine& engine, const Script& script, Hooks hooks = {});
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    /// Runs every step, then frames until the game ends, and detaches the controller (before
    /// the engine's teardown). The outcome names the step that did not happen.
    Outcome play();

    /// Runs the script's checks over the per-user folder `pref` (ending with '/'), after the
    /// engine's teardown wrote its files.
    Outcome check(const std::string& pref) const;

    /// Folder where screenshot steps write (none when empty: the steps are skipped).
    void set_screenshot_folder(const std::string& folder) { m_screenshots = folder; }
    /// Frames run so far.
    int frames() const;

  private:
    Outcome play_steps();

    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_screenshots;
};

/// Whether `text` matches the golden text. Both are cut into sections (a line at the margin and
/// the indented lines under it); the heads must match in order, and the items of a section in
/// any order. In a golden line "<number>" matches any number and "<any>" any text; a section
/// whose only golden item is "  * <form>" takes any number of items of the form "  - <form>".
/// The first difference is described in `why`.
bool matches_golden(const std::string& text, const std::string& golden, std::string& why);

} // namespace Orvane::Play
