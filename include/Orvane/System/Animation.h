#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <Orvane/System/Base.h>

namespace Orvane::Component {
class Animation;
class Ground_map;
class Path;
} // namespace Orvane::Component

namespace Orvane {
class Vector;
}

namespace Orvane::System {

/// The animation system: GUI animations every frame, game animations at 12 frames per second.
class Animation : public Base {
  public:
    /// Starts at frame number 0 with nothing to remove and no started animation; creates no
    /// component.
    explicit Animation(Content& content);

    void run() override;
    /// One step of the loading screen; true when the spinner moved to a new frame and the
    /// screen should be drawn again.
    bool run_loading();

    /// Sets the black layer's opacity for time now of a fade from begin to end; true while
    /// the fade is still running.
    bool fade(double begin, double end, bool fade_in);
    /// The display-rate half of run(): fade, shake, zoom, GUI animations, 60-fps moves and
    /// rescales.
    void run_gui_frame();
    /// One animation frame (twelve a second): commands, walks, sprite frames, camera target.
    void run_animation_frame();

    // Character commands, walking and the camera target, called by run_animation_frame().
    void handle_character_lookat(bool in_new_room);
    void handle_animation_stops();
    void handle_animation_starts();
    void handle_state_changes();
    void handle_characters_headmove(std::shared_ptr<Component::Animation> animation);
    /// Plays the 12-fps moves and rescales and walks every path one animation frame; true when
    /// the player's character walked.
    bool handle_moves();
    /// Starts a one-second camera glide when the player has walked out of the middle half of
    /// the view; a running glide is left alone.
    void update_camera_target();

    // Walking, placement and scaling of characters.
    /// Walks the path's character one animation frame along it (34 scene pixels at depth
    /// 3240, proportional to depth, at least one pixel); false when the walk is over.
    bool compute_movement_from_path(const std::shared_ptr<Component::Path>& path);
    /// Shows the row of the walk sheet that matches `direction` (screen y downward).
    void set_move_animation(const std::string& id, const Vector& direction);
    /// Depth and scale of a character's parts from its fixed depth or the ground map.
    void place_and_scale_character(const std::string& id);
    /// Requests the step sound, panned by screen x, on walk columns 0 and 4.
    void trigger_step_sounds(const std::shared_ptr<Component::Animation>& body);
    /// Walk sheet row for a direction: 0 down the screen, 1 right, 2 left, 3 up the screen.
    static int walk_row(const Vector& direction);

    // Frame lists of a character's body, head and mouth (a character with a skin).
    /// Idle body, then idle head and resting mouth, when the store holds `<id>:group`.
    void generate_random_idle_animation(const std::string& id, bool looking_right);
    /// Ten random poses of a "transition" idle sheet, or its first column held.
    void generate_random_idle_body_animation(const std::string& id, bool looking_right);
    /// Ten periods of a head column broken by one-tick flashes of column 0; the mouth at rest.
    void generate_random_idle_head_animation(const std::string& id, bool looking_right);
    /// Fifty ticks of random mouth shapes (never column 0); nothing without a mouth.
    void generate_random_mouth_animation(const std::string& id);
    /// The body holds the idle column named `pose` (fatal when no column has that name).
    void generate_animation(const std::string& id, const std::string& pose);

  protected:
    // Protected rather than private so that tests can run the handlers through a subclass.

    /// Animation frame number of the latest frame run, or skipped in pause, in a menu or
    /// during loading.
    std::uint64_t m_frame_id = 0;
    /// Commands consumed in this animation frame, removed from the store together once the
    /// handlers have all run.
    std::vector<std::shared_ptr<Component::Base>> m_to_remove;
    /// Entities whose animation was (re)started in this animation frame: not advanced in it.
    std::unordered_set<std::string> m_started;
    /// The animations to advance in this animation frame; kept so that it keeps its capacity.
    std::vector<std::shared_ptr<Component::Animation>> m_collected;
    /// Components over in this display frame: ended GUI animations and the camera's finished
    /// 60-fps move.
    std::vector<std::shared_ptr<Component::Base>> m_ended;
};

} // namespace Orvane::System
