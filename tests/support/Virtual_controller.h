#pragma once

#include <string>
#include <utility>
#include <vector>

#include <SDL.h>

namespace Orvane::Test {

/// A game controller that exists only in SDL (a virtual joystick of the game-controller type,
/// with every standard button and axis): attaching it gives a real device-added event, its
/// buttons and axes are set from the test, and the rumble requests that reach the device are
/// recorded. Its triggers rest at -32768, released. Needs the SDL joystick subsystem, and the
/// hint SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS=1 under the dummy video driver (its window
/// never has focus).
class Virtual_controller {
  public:
    Virtual_controller(const std::string& name, Uint16 vendor, Uint16 product);
    ~Virtual_controller();
    Virtual_controller(const Virtual_controller&) = delete;
    Virtual_controller& operator=(const Virtual_controller&) = delete;

    /// Current device index (indexes move when other devices are detached).
    int device_index() const;
    SDL_JoystickID instance_id() const { return m_instance_id; }

    /// Presses or releases a controller button (a d-pad direction on a hat where the mapping
    /// reads one); its event comes with the next event poll.
    void set_button(SDL_GameControllerButton button, bool pressed);
    /// Moves the joystick axis bound to a controller axis to a raw value (-32768 to 32767;
    /// a trigger reads 0 at -32768 and 32767 at 32767).
    void set_axis(SDL_GameControllerAxis axis, Sint16 value);

    /// (low, high) motor intensities received by the device, in order.
    const std::vector<std::pair<Uint16, Uint16>>& rumbles() const { return m_rumbles; }

  private:
    static int SDLCALL rumble(void* userdata, Uint16 low, Uint16 high);

    std::string m_name;
    // Our own reference: the controller stays open, whoever else opens and closes it, so that
    // its buttons and axes can be moved through whichever mapping SDL gave it.
    SDL_GameController* m_controller = nullptr;
    SDL_Joystick* m_joystick = nullptr;
    SDL_JoystickID m_instance_id = -1;
    std::vector<std::pair<Uint16, Uint16>> m_rumbles;
    // The d-pad directions held, where the mapping reads the d-pad from a hat.
    Uint8 m_hat = SDL_HAT_CENTERED;
};

} // namespace Orvane::Test
