#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <Orvane/System/Base.h>

namespace Orvane::Component {
class Animation;
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
    /// True when a character moved in this animation frame.
    bool handle_moves();
    void update_camera_target();

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

  private:
    std::uint64_t m_frame_id = 0;

  protected:
    // Protected rather than private so that tests can fill the lists through a subclass.

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
