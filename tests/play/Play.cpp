#include "Play.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include <SDL.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Locale.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Base.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Utils/View.h>
#include <Packer/Package_writer.h>

#include "support/Sdl_input.h"
#include "support/Virtual_controller.h"

namespace Orvane::Play {

namespace {

using Text = Component::Simple<std::string>;
using Names = Component::Vector<std::string>;

/// Frames a step waits for what it needs, unless it says "within <frames>".
constexpr int default_budget = 900;
/// Frames a target must keep its place before it is pointed at: labels glide and the bar
/// slides, some of them at the animations' 12 frames per second (a step every 5 frames).
constexpr int still_frames = 6;
/// The top-right corner of the view, where a held finger fast-forwards.
const Point corner_point(1850, 70);
/// On the inventory's tab, along the bottom edge of the view: pointed at, it opens the bar, and
/// the open bar lies under it.
const Point tab_point(100, 1075);
/// How far from the view's edges a click on the floor stays, in view pixels.
constexpr double ground_margin = 40;
/// Frames the status must stay idle for a wait on it: a script may lock the game again a frame
/// after it let it go.
constexpr int idle_frames = 10;

const std::map<std::string, Status> status_names = {
    {"IDLE", Status::IDLE},           {"CUTSCENE", Status::CUTSCENE},
    {"PAUSE", Status::PAUSE},         {"LOCKED", Status::LOCKED},
    {"ACTION", Status::ACTION},       {"INVENTORY_ACTION", Status::INVENTORY_ACTION},
    {"DIALOG", Status::DIALOG},       {"OBJECT", Status::OBJECT},
    {"IN_INVENTORY", Status::IN_INVENTORY}, {"IN_MENU", Status::IN_MENU},
    {"IN_WINDOW", Status::IN_WINDOW}, {"IN_CODE", Status::IN_CODE}};

std::string status_name(Status s) {
    for (const auto& [name, value] : status_names)
        if (value == s)
            return name;
    return "?";
}

std::vector<std::string> split_words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        if (line[i] == '#')
            break;
        if (line[i] == '"' || line[i] == '\'') {
            const std::size_t end = line.find(line[i], i + 1);
            if (end == std::string::npos)
                throw std::runtime_error("a quote is not closed");
            words.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

int to_int(const std::string& word) {
    std::size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(word, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != word.size() || n < 0)
        throw std::runtime_error("\"" + word + "\" is not a count");
    return n;
}

/// The number of words of each target kind after its name.
int target_words(const std::vector<std::string>& w, std::size_t at) {
    if (at >= w.size())
        throw std::runtime_error("a target is missing");
    const std::string& kind = w[at];
    if (kind == "corner" || kind == "tab")
        return 1;
    if (kind == "verb")
        return 3;
    if (kind == "object" || kind == "item" || kind == "line" || kind == "button" ||
        kind == "entry" || kind == "ground")
        return 2;
    throw std::runtime_error("unknown target \"" + kind + "\"");
}

/// Checks a step's words; the shape errors of a play file are found before its first frame.
void check_step(const std::vector<std::string>& w) {
    const std::string& verb = w[0];
    // a wait's budget
    std::size_t size = w.size();
    if (size >= 3 && w[size - 2] == "within") {
        to_int(w[size - 1]);
        size -= 2;
    }
    auto need = [&](std::size_t n) {
        if (size != n)
            throw std::runtime_error("\"" + verb + "\" takes " + std::to_string(n - 1) +
                                     " words");
    };
    if (verb == "frames") {
        need(2);
        to_int(w[1]);
    } else if (verb == "key") {
        need(2);
    } else if (verb == "click" || verb == "touch" || verb == "hover") {
        need(1 + std::size_t(target_words(w, 1)));
    } else if (verb == "hold") {
        need(2 + std::size_t(target_words(w, 1)));
        to_int(w[size - 1]);
    } else if (verb == "press" || verb == "screenshot") {
        need(2);
    } else if (verb == "select") {
        need(1 + std::size_t(target_words(w, 1)));
    } else if (verb == "wait") {
        if (size < 2)
            throw std::runtime_error("\"wait\" needs what it waits for");
        if (w[1] == "idle")
            need(2);
        else if (w[1] == "status" || w[1] == "menu" || w[1] == "room" || w[1] == "reach")
            need(3);
        else if (w[1].find(':') != std::string::npos)
            need(3);
        else
            throw std::runtime_error("\"wait\" for an unknown thing \"" + w[1] + "\"");
        if (w[1] == "status" && !status_names.count(w[2]))
            throw std::runtime_error("unknown status \"" + w[2] + "\"");
    } else {
        throw std::runtime_error("unknown step \"" + verb + "\"");
    }
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

/// The value of a component as the waits compare it: strings as they are, numbers printed,
/// the status by the name of its top entry, an action as "on" or "off", another component as
/// "present".
std::optional<std::string> value_text(const Content& c, std::string_view e, std::string_view n) {
    if (auto s = c.request<Text>(e, n))
        return s->value();
    if (auto i = c.request<Component::Simple<int>>(e, n))
        return std::to_string(i->value());
    if (auto b = c.request<Component::Simple<bool>>(e, n))
        return b->value() ? "true" : "false";
    if (auto s = c.request<Component::Status>(e, n))
        return status_name(s->value());
    if (auto a = c.request<Component::Action>(e, n))
        return a->on() ? "on" : "off";
    if (auto image = c.request<Component::Image>(e, n))
        return image->on() ? "on" : "off";
    if (c.request<Component::Base>(e, n))
        return "present";
    return std::nullopt;
}

Status top(const Content& c) { return c.get<Component::Status>(Key::game_status)->value(); }

/// A text of the game's source language as the player reads it in the current language.
std::string translated(const Content& c, const std::string& line) {
    auto table = c.request<Component::Locale>(Key::game_locale);
    return table ? table->get(line) : line;
}

} // namespace

Script parse_text(const std::string& text, const std::string& path) {
    Script script;
    script.path = path;
    const auto lines = lines_of(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = int(i) + 1;
        try {
            Step step{number, lines[i], split_words(lines[i])};
            if (step.words.empty())
                continue;
            const std::string& first = step.words[0];
            if (first == "setting") {
                const std::size_t at = lines[i].find("setting") + 7;
                script.settings.push_back(lines[i].substr(lines[i].find_first_not_of(" \t", at)));
            } else if (first == "controller") {
                if (step.words.size() != 4)
                    throw std::runtime_error("\"controller\" takes a name, a vendor and a product");
                to_int(step.words[2]);
                to_int(step.words[3]);
                script.controller.assign(step.words.begin() + 1, step.words.end());
            } else if (first == "check") {
                const auto& w = step.words;
                const bool ok = (w.size() == 3 && w[1] == "notified") ||
                                (w.size() == 4 && (w[2] == "golden" || w[2] == "has"));
                if (!ok)
                    throw std::runtime_error("a check is \"check <file> golden <path>\", "
                                             "\"check <file> has <text>\" or \"check notified "
                                             "<id>\"");
                script.checks.push_back(step);
            } else {
                check_step(step.words);
                script.steps.push_back(step);
            }
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": " + e.what());
        }
    }
    return script;
}

Script parse(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot read the play file " + path);
    return parse_text({std::istreambuf_iterator<char>(in), {}}, path);
}

namespace {

/// A golden line as a pattern: "<number>" matches any number and "<any>" any text.
std::regex golden_pattern(const std::string& line) {
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    std::string pattern = std::regex_replace(line, special, R"(\$&)");
    for (const auto& [mark, form] : std::vector<std::pair<std::string, std::string>>{
             {"<number>", R"(-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?)"}, {"<any>", ".*"}}) {
        for (std::size_t at = pattern.find(mark); at != std::string::npos;
             at = pattern.find(mark, at + form.size()))
            pattern.replace(at, mark.size(), form);
    }
    return std::regex(pattern);
}

/// A file cut into sections: a line at the margin, then the indented lines under it.
struct Section {
    std::string head;
    std::vector<std::string> items;
};

std::vector<Section> sections_of(const std::string& text) {
    std::vector<Section> out;
    for (const std::string& line : lines_of(text)) {
        if (!line.empty() && line[0] == ' ' && !out.empty())
            out.back().items.push_back(line);
        else
            out.push_back({line, {}});
    }
    return out;
}

} // namespace

bool matches_golden(const std::string& text, const std::string& golden, std::string& why) {
    const auto got = sections_of(text);
    const auto want = sections_of(golden);
    if (got.size() != want.size()) {
        why = std::to_string(got.size()) + " sections, the golden has " +
              std::to_string(want.size());
        return false;
    }
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (!std::regex_match(got[i].head, golden_pattern(want[i].head))) {
            why = "\"" + got[i].head + "\", the golden has \"" + want[i].head + "\"";
            return false;
        }
        auto items = got[i].items;
        auto wanted = want[i].items;
        // "  * <pattern>": any number of items, each of that form
        if (wanted.size() == 1 && wanted[0].rfind("  * ", 0) == 0) {
            const std::regex form = golden_pattern("  - " + wanted[0].substr(4));
            for (const std::string& item : items)
                if (!std::regex_match(item, form)) {
                    why = "under \"" + got[i].head + "\": \"" + item + "\" is not of the form \"" +
                          wanted[0] + "\"";
                    return false;
                }
            continue;
        }
        // the items of a section come in no set order
        std::sort(items.begin(), items.end());
        std::sort(wanted.begin(), wanted.end());
        if (items.size() != wanted.size()) {
            why = "under \"" + got[i].head + "\": " + std::to_string(items.size()) +
                  " items, the golden has " + std::to_string(wanted.size());
            return false;
        }
        for (std::size_t k = 0; k < items.size(); ++k)
            if (!std::regex_match(items[k], golden_pattern(wanted[k]))) {
                why = "under \"" + got[i].head + "\": \"" + items[k] + "\", the golden has \"" +
                      wanted[k] + "\"";
                return false;
            }
    }
    return true;
}

struct Player::Impl {
    Impl(Engine& e, const Script& s, Hooks h) : engine(e), script(s), hooks(std::move(h)) {
        for (const Step& c : script.checks)
            if (c.words[1] == "notified")
                notified[c.words[2]] = false;
    }

    Engine& engine;
    const Script& script;
    Hooks hooks;
    Test::Sdl_input input{engine};
    std::unique_ptr<Test::Virtual_controller> pad;
    std::map<std::string, bool> notified;
    std::string screenshots;
    std::string waited_for;

    Content& content() { return engine.content(); }

    void after_frame() {
        Content& c = content();
        // an achievement's banner is a notification that ends with the achievement's name
        for (const auto& [key, component] : c.components("notification")) {
            auto banner = Component::cast<Text>(component);
            if (!banner)
                continue;
            const std::string& text = banner->value();
            for (auto& [id, seen] : notified) {
                auto source = c.request<Text>(id, "text");
                if (!source)
                    continue;
                const std::string name = translated(c, source->value());
                seen = seen || (text.size() >= name.size() &&
                                text.compare(text.size() - name.size(), name.size(), name) == 0);
            }
        }
        if (hooks.after_frame)
            hooks.after_frame(c, input.frames());
    }

    void run(int count) {
        for (int i = 0; i < count && !input.ended(); ++i) {
            input.run(1);
            after_frame();
        }
    }

    /// Runs frames until `done` holds (tested before the first frame too); false when the
    /// budget runs out or the game ends first, with what was waited for noted.
    bool until(const std::function<bool()>& done, int budget, const std::string& what) {
        for (int i = 0; i <= budget; ++i) {
            if (done())
                return true;
            if (input.ended() || i == budget)
                break;
            run(1);
        }
        waited_for = what + (input.ended() ? " (the game ended)" : "");
        return false;
    }

    int budget_of(const Step& s) const {
        const auto& w = s.words;
        if (w.size() >= 3 && w[w.size() - 2] == "within")
            return to_int(w.back());
        return default_budget;
    }

    /// Where a target is shown now, in window pixels; empty when it is not.
    std::optional<Point> locate(const std::vector<std::string>& w, std::size_t at) {
        Content& c = content();
        const std::string& kind = w[at];
        if (kind == "corner")
            return corner_point;
        if (kind == "tab")
            return tab_point;
        const std::string& name = w[at + 1];
        if (kind == "object" || kind == "item" || kind == "entry")
            return Test::Sdl_input::point_of(c, name);
        if (kind == "verb") {
            // a click on the fading copy of a label shown before cancels the choice: it must
            // be gone
            const std::string label = name + "_" + w[at + 2] + "_label";
            if (c.request<Component::Base>(label + "_old", "image") ||
                c.request<Component::Base>(label + "_back_old", "image"))
                return std::nullopt;
            return Test::Sdl_input::point_of(c, label + "_back");
        }
        if (kind == "ground") {
            // beyond the view's edge: the edge, toward it (the walk there brings the camera)
            auto view = c.request<Component::Position>(name, "view");
            if (!view)
                return std::nullopt;
            const Point s = System::camera_view(c).to_screen(view->value(), false);
            return Point(std::clamp(s.x(), ground_margin, 1920 - ground_margin),
                         std::clamp(s.y(), ground_margin, 1080 - ground_margin));
        }
        if (kind == "line") {
            auto choices = c.request<Names>(Key::dialog_choices);
            if (!choices || !top_is(Status::DIALOG))
                return std::nullopt;
            const auto& offered = choices->value();
            auto found = std::find(offered.begin(), offered.end(), name);
            if (found == offered.end())
                found = std::find(offered.begin(), offered.end(), translated(c, name));
            if (found == offered.end())
                return std::nullopt;
            // a line is drawn plain ("_off") or, hovered, highlighted ("_on")
            const std::string line = "Dialog_choice_" + std::to_string(found - offered.begin());
            if (auto plain = Test::Sdl_input::point_of(c, line + "_off"))
                return plain;
            return Test::Sdl_input::point_of(c, line + "_on");
        }
        if (kind == "button") {
            if (!top_is(Status::IN_CODE))
                return std::nullopt;
            auto code = c.request<Component::Code>(Key::game_code);
            auto window = c.request<Component::Image>(Key::game_window);
            if (!code || !window)
                return std::nullopt;
            auto position = c.request<Component::Position>(window->entity(), "position");
            if (!position)
                return std::nullopt;
            for (const auto& b : code->buttons()) {
                if (b.value != name)
                    continue;
                const auto [corner, scale] = System::camera_view(c).place(
                    position->value(), window->origin(), window->scale(),
                    position->is_interface());
                if (!(scale > 0))
                    return std::nullopt;
                return Point(corner.x() + (b.x + b.w / 2.0) * scale,
                             corner.y() + (b.y + b.h / 2.0) * scale);
            }
        }
        return std::nullopt;
    }

    bool top_is(Status s) { return top(content()) == s; }

    std::string target_text(const std::vector<std::string>& w, std::size_t at) {
        std::string out;
        for (int i = 0; i < target_words(w, at); ++i)
            out += (i ? " " : "") + w[at + std::size_t(i)];
        return out;
    }

    /// Waits until the target is shown at the same point for a few frames.
    std::optional<Point> settled(const std::vector<std::string>& w, std::size_t at, int budget) {
        std::optional<Point> last;
        int still = 0;
        const bool done = until(
            [&] {
                const auto now = locate(w, at);
                still = (now && last && now->X() == last->X() && now->Y() == last->Y())
                            ? still + 1
                            : 0;
                last = now;
                return now && still >= still_frames;
            },
            budget, "the " + target_text(w, at) + " to be shown");
        if (!done && (w[at] == "entry" || w[at] == "verb" || w[at] == "line"))
            waited_for += "; shown: " + shown_choices();
        if (!done && (w[at] == "object" || w[at] == "item")) {
            auto image = content().request<Component::Image>(w[at + 1], "image");
            auto position = content().request<Component::Position>(w[at + 1], "position");
            waited_for += std::string("; its image is ") +
                          (!image ? "missing" : image->on() ? "on" : "off") + ", its position " +
                          (position ? position->str_value() : "missing") + ", the camera at " +
                          content().get<Component::Position>(Key::camera_position)->str_value();
        }
        return done ? last : std::nullopt;
    }

    /// The menu entries, verb labels and dialog lines shown now, for a message.
    std::string shown_choices() {
        std::string out;
        for (const auto& [key, c] : content().components("image")) {
            const auto image = Component::cast<Component::Image>(c);
            const std::string& e = c->entity();
            const bool choice = e.find("_button") != std::string::npos ||
                                e.find("_arrow") != std::string::npos ||
                                e.find("_label_back") != std::string::npos ||
                                e.rfind("Dialog_choice_", 0) == 0;
            if (image && image->on() && choice)
                out += e + " ";
        }
        return out.empty() ? "nothing" : out;
    }

    /// Whether the floor point of a "ground" target lies in the view.
    bool ground_in_view(const std::string& id) {
        const Point s = System::camera_view(content()).to_screen(
            content().get<Component::Position>(id, "view")->value(), false);
        return s.x() >= ground_margin && s.x() <= 1920 - ground_margin &&
               s.y() >= ground_margin && s.y() <= 1080 - ground_margin;
    }

    /// Where the player's character stands.
    Point player_at() {
        const std::string player = content().value<Text>(Key::player_name, std::string());
        auto body = content().request<Component::Position>(player + "_body", "position");
        return body ? body->value() : Point();
    }

    bool pointer_step(const Step& s) {
        const auto& w = s.words;
        // a floor point out of view: walked toward, leg after leg, until it comes into view
        for (int leg = 0; w[1] == "ground" && leg < 8; ++leg) {
            if (!content().request<Component::Position>(w[2], "view")) {
                waited_for = w[2] + " in the room";
                return false;
            }
            if (ground_in_view(w[2]))
                break;
            if (!pointer_once(s))
                return false;
            Point last = player_at();
            int still = 0;
            if (!until(
                    [&] {
                        const Point now = player_at();
                        still = now.X() == last.X() && now.Y() == last.Y() ? still + 1 : 0;
                        last = now;
                        return still > 10;
                    },
                    budget_of(s), "the player to stop walking"))
                return false;
        }
        return pointer_once(s);
    }

    bool pointer_once(const Step& s) {
        const auto& w = s.words;
        const std::string& how = w[0];
        const auto at = settled(w, 1, budget_of(s));
        if (!at)
            return false;
        int x = at->X();
        int y = at->Y();
        if (how == "hover" || how == "click") {
            input.mouse_motion(x, y);
            run(1);
            // hovered, a thing may change its look (a bar item grows): pointed at anew
            for (int i = 0; i < 3; ++i) {
                const auto now = locate(w, 1);
                if (!now || (now->X() == x && now->Y() == y))
                    break;
                x = now->X();
                y = now->Y();
                input.mouse_motion(x, y);
                run(1);
            }
        }
        if (how == "click") {
            input.mouse_button(SDL_BUTTON_LEFT, true, x, y);
            input.mouse_button(SDL_BUTTON_LEFT, false, x, y);
            run(1);
        } else if (how == "touch") {
            input.touch(true, x, y);
            input.touch(false, x, y);
            run(1);
        } else if (how == "hold") {
            input.touch(true, x, y);
            run(to_int(w.back()));
            input.touch(false, x, y);
            run(1);
        }
        return true;
    }

    bool need_pad() {
        if (pad)
            return true;
        waited_for = "a controller (the play names none)";
        return false;
    }

    bool press(const std::string& name) {
        if (!need_pad())
            return false;
        const auto button = SDL_GameControllerGetButtonFromString(name.c_str());
        if (button == SDL_CONTROLLER_BUTTON_INVALID) {
            waited_for = "a controller button named \"" + name + "\"";
            return false;
        }
        pad->set_button(button, true);
        run(1);
        pad->set_button(button, false);
        run(1);
        return true;
    }

    static bool listed(const Content& c, const std::string& id) {
        auto list = c.request<Names>(Key::interface_active_objects);
        return list && std::find(list->value().begin(), list->value().end(), id) !=
                           list->value().end();
    }

    /// Steers the player with the left stick toward a scene point until `done` holds: aimed
    /// anew every few frames at the next corner of the shortest walk there on the room's ground
    /// map, as a player steers round what stands in the way.
    bool steer(const Point& target, const std::function<bool()>& done, int budget) {
        Content& c = content();
        const std::string player = c.value<Text>(Key::player_name, std::string());
        bool reached = false;
        std::vector<Point> walk;
        for (int leg = 0; leg < budget / 6 && !reached && !input.ended(); ++leg) {
            const Point from = player_at();
            Point aim = target;
            auto second = c.request<Component::Boolean>(player, "uses_2nd_map");
            if (auto map = c.request<Component::Ground_map>(
                    "background", second && second->value() ? "2nd_ground_map" : "ground_map")) {
                walk.clear();
                map->find_path(from, target, walk);
                for (const Point& corner : walk)
                    if (std::hypot(corner.x() - from.x(), corner.y() - from.y()) > 4) {
                        aim = corner;
                        break;
                    }
            }
            const double dx = aim.x() - from.x();
            const double dy = aim.y() - from.y();
            const double length = std::hypot(dx, dy);
            if (length < 1)
                break;
            pad->set_axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(dx / length * 30000));
            pad->set_axis(SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(dy / length * 30000));
            reached = until(done, 6, "");
        }
        pad->set_axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        pad->set_axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
        run(2);
        return reached || done();
    }

    /// One push of the left stick (it latches until back at rest).
    void push_stick(double dx, double dy) {
        pad->set_axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(dx * 30000));
        pad->set_axis(SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(dy * 30000));
        run(2);
        pad->set_axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        pad->set_axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
        run(2);
    }

    /// Moves a highlight by `step` (a shoulder press or a stick push) until `current` reads
    /// `want`; gives up when the highlight comes back round to where it was seen before.
    bool move_highlight(const std::function<std::string()>& current, const std::string& want,
                        const std::vector<std::function<void()>>& steps, const std::string& what) {
        for (const auto& step : steps) {
            std::set<std::string> seen;
            for (int i = 0; i < 16; ++i) {
                if (current() == want)
                    return true;
                if (!seen.insert(current()).second)
                    break;
                step();
            }
        }
        if (current() == want)
            return true;
        waited_for = what + " (it is on \"" + current() + "\")";
        return false;
    }

    bool select(const Step& s) {
        if (!need_pad())
            return false;
        const auto& w = s.words;
        const std::string& kind = w[1];
        const std::string& name = w[2];
        Content& c = content();
        const auto shoulder = [&](bool right) {
            return [this, right] { press(right ? "rightshoulder" : "leftshoulder"); };
        };
        const auto stick = [&](double dx, double dy) {
            return [this, dx, dy] { push_stick(dx, dy); };
        };
        if (kind == "object" || kind == "item") {
            // a room object first within reach, steered toward
            auto view = c.request<Component::Position>(name, "view");
            if (kind == "object" && !listed(c, name)) {
                if (!view) {
                    waited_for = name + " in the room";
                    return false;
                }
                if (!steer(view->value(), [&] { return listed(c, name); }, budget_of(s))) {
                    waited_for = name + " to come within reach (the player stands at " +
                                 std::to_string(player_at().X()) + ", " +
                                 std::to_string(player_at().Y()) + ")";
                    return false;
                }
            }
            return move_highlight(
                [&] { return c.value<Text>(Key::interface_active_object, std::string()); }, name,
                {shoulder(true), shoulder(false)}, name + " to be the current object");
        }
        if (kind == "entry")
            return move_highlight(
                [&] {
                    return c.value<Text>(Key::interface_gamepad_active_menu_item, std::string());
                },
                name, {stick(0, 1), stick(0, -1)}, "the menu highlight on " + name);
        if (kind == "line") {
            const auto line = [&] {
                auto choices = c.request<Names>(Key::dialog_choices);
                const int at = c.value<Component::Simple<int>>(Key::interface_active_dialog_item,
                                                               -1);
                if (!choices || at < 0 || at >= int(choices->value().size()))
                    return std::string();
                return choices->value()[std::size_t(at)];
            };
            if (!until([&] { return top_is(Status::DIALOG) && !line().empty(); }, budget_of(s),
                       "a dialog line highlighted"))
                return false;
            const auto& offered = c.get<Names>(Key::dialog_choices)->value();
            const bool as_named = std::find(offered.begin(), offered.end(), name) != offered.end();
            return move_highlight(line, as_named ? name : translated(c, name),
                                  {shoulder(true), shoulder(false)},
                                  "the dialog highlight on \"" + name + "\"");
        }
        if (kind == "button") {
            const auto button = [&] {
                auto code = c.request<Component::Code>(Key::game_code);
                if (!code || code->hovered() < 0 ||
                    code->hovered() >= std::int64_t(code->buttons().size()))
                    return std::string();
                return code->buttons()[std::size_t(code->hovered())].value;
            };
            return move_highlight(button, name,
                                  {stick(1, 0), stick(-1, 0), stick(0, 1), stick(0, -1)},
                                  "the code highlight on " + name);
        }
        waited_for = "a target the controller can select";
        return false;
    }

    bool wait(const Step& s) {
        const auto& w = s.words;
        const int budget = budget_of(s);
        if (w[1] == "idle") {
            int idle = 0;
            return until(
                [&] {
                    idle = top_is(Status::IDLE) ? idle + 1 : 0;
                    return idle > idle_frames;
                },
                budget, "the game to be idle");
        }
        if (w[1] == "status") {
            const Status want = status_names.at(w[2]);
            return until([&] { return top_is(want); }, budget, "the status " + w[2]);
        }
        if (w[1] == "menu")
            return until(
                [&] {
                    return top_is(Status::IN_MENU) &&
                           content().value<Text>(Key::game_current_menu, std::string()) == w[2];
                },
                budget, "the menu page " + w[2]);
        if (w[1] == "reach")
            return until([&] { return listed(content(), w[2]); }, budget,
                         w[2] + " within reach");
        if (w[1] == "room")
            return until(
                [&] {
                    return content().value<Text>(Key::game_current_room, std::string()) ==
                               w[2] &&
                           !content().request<Component::Base>(Key::game_new_room);
                },
                budget, "the room " + w[2]);
        const std::size_t colon = w[1].find(':');
        const std::string entity = w[1].substr(0, colon);
        const std::string component = w[1].substr(colon + 1);
        const std::string& want = w[2];
        return until(
            [&] {
                const auto value = value_text(content(), entity, component);
                if (want == "absent")
                    return !value.has_value();
                return value.has_value() && (*value == want || want == "present");
            },
            budget, w[1] + " to be " + want);
    }

    bool key(const std::string& name) {
        std::string spaced = name;
        std::replace(spaced.begin(), spaced.end(), '_', ' ');
        const SDL_Keycode code = SDL_GetKeyFromName(spaced.c_str());
        if (code == SDLK_UNKNOWN) {
            waited_for = "a key named \"" + spaced + "\"";
            return false;
        }
        input.tap(code);
        run(1);
        return true;
    }

    bool screenshot(const std::string& name) {
        if (screenshots.empty())
            return true;
        constexpr int w = 1920;
        constexpr int h = 1080;
        std::vector<unsigned char> full(std::size_t(w) * h * 4);
        SDL_Rect view{0, 0, w, h};
        if (SDL_RenderReadPixels(Third_party::SDL::m_renderer, &view, SDL_PIXELFORMAT_ABGR8888,
                                 full.data(), w * 4) != 0) {
            waited_for = std::string("the frame read back: ") + SDL_GetError();
            return false;
        }
        // each pixel of the half-size shot is the mean of four; the stage is opaque
        Packer::Image shot{w / 2, h / 2, std::vector<unsigned char>(std::size_t(w / 2) * (h / 2) * 4)};
        for (int y = 0; y < h / 2; ++y)
            for (int x = 0; x < w / 2; ++x)
                for (int k = 0; k < 3; ++k) {
                    int sum = 0;
                    for (int dy = 0; dy < 2; ++dy)
                        for (int dx = 0; dx < 2; ++dx)
                            sum += full[(std::size_t(2 * y + dy) * w + std::size_t(2 * x + dx)) *
                                            4 + std::size_t(k)];
                    shot.pixels[(std::size_t(y) * (w / 2) + std::size_t(x)) * 4 + std::size_t(k)] =
                        static_cast<unsigned char>((sum + 2) / 4);
                }
        for (std::size_t i = 3; i < shot.pixels.size(); i += 4)
            shot.pixels[i] = 255;
        std::filesystem::create_directories(screenshots);
        Packer::write_png(screenshots + "/" + name + ".png", shot);
        return true;
    }

    bool perform(const Step& s) {
        const auto& w = s.words;
        const std::string& verb = w[0];
        if (verb == "frames") {
            run(to_int(w[1]));
            return true;
        }
        if (verb == "key")
            return key(w[1]);
        if (verb == "click" || verb == "touch" || verb == "hover" || verb == "hold")
            return pointer_step(s);
        if (verb == "press")
            return press(w[1]);
        if (verb == "select")
            return select(s);
        if (verb == "wait")
            return wait(s);
        if (verb == "screenshot")
            return screenshot(w[1]);
        return false;
    }
};

Player::Player(Engine& engine, const Script& script, Hooks hooks)
    : m_impl(std::make_unique<Impl>(engine, script, std::move(hooks))) {
    if (script.controller.size() == 3)
        m_impl->pad = std::make_unique<Test::Virtual_controller>(
            script.controller[0], static_cast<Uint16>(to_int(script.controller[1])),
            static_cast<Uint16>(to_int(script.controller[2])));
}

Player::~Player() = default;

int Player::frames() const { return m_impl->input.frames(); }

Outcome Player::play() {
    Outcome outcome = play_steps();
    // detached before the engine's teardown closes SDL's controllers under it
    m_impl->pad.reset();
    return outcome;
}

Outcome Player::play_steps() {
    Impl& p = *m_impl;
    p.screenshots = m_screenshots;
    for (const Step& s : p.script.steps) {
        if (p.hooks.before_step)
            p.hooks.before_step(s);
        if (p.input.ended())
            return {2, p.script.path + ":" + std::to_string(s.line) + ": the game ended before \"" +
                           s.text + "\""};
        p.waited_for.clear();
        if (!p.perform(s))
            return {2, p.script.path + ":" + std::to_string(s.line) + ": \"" + s.text +
                           "\" waited " + "in vain for " + p.waited_for + " (frame " +
                           std::to_string(p.input.frames()) + ", status " +
                           status_name(top(p.content())) + ")"};
    }
    if (!p.until([&] { return p.input.ended(); }, default_budget, "the game to end"))
        return {2, p.script.path + ": the play is over but the game did not end (frame " +
                       std::to_string(p.input.frames()) + ")"};
    return {};
}

Outcome Player::check(const std::string& pref) const {
    const Impl& p = *m_impl;
    const std::string folder = std::filesystem::path(p.script.path).parent_path().string();
    for (const Step& c : p.script.checks) {
        const auto& w = c.words;
        const std::string where = p.script.path + ":" + std::to_string(c.line) + ": ";
        if (w[1] == "notified") {
            if (!p.notified.at(w[2]))
                return {3, where + "no banner announced the achievement " + w[2]};
            continue;
        }
        const std::string text = read_file(pref + w[1]);
        if (text.empty())
            return {3, where + "no " + w[1] + " in the per-user folder"};
        if (w[2] == "has") {
            if (text.find(w[3]) == std::string::npos)
                return {3, where + w[1] + " does not hold \"" + w[3] + "\":\n" + text};
            continue;
        }
        const std::string golden_path = (folder.empty() ? "" : folder + "/") + w[3];
        const std::string golden = read_file(golden_path);
        if (golden.empty())
            return {3, where + "no golden file " + golden_path};
        std::string why;
        if (!matches_golden(text, golden, why))
            return {3, where + w[1] + " differs from " + golden_path + ": " + why + "\n" + text};
    }
    return {};
}

} // namespace Orvane::Play
