#include "Sdl_input.h"

#include <gtest/gtest.h>

#include <Orvane/Config.h>

namespace Orvane::Test {

void Sdl_input::push(SDL_Event& event) {
    event.common.timestamp = SDL_GetTicks();
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void Sdl_input::key(SDL_Keycode key, bool pressed) {
    SDL_Event e{};
    e.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    push(e);
}

void Sdl_input::tap(SDL_Keycode k) {
    key(k, true);
    key(k, false);
}

void Sdl_input::mouse_button(Uint8 button, bool pressed, int x, int y) {
    SDL_Event e{};
    e.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    push(e);
}

void Sdl_input::mouse_motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    push(e);
}

void Sdl_input::touch(bool pressed, int x, int y) {
    SDL_Event e{};
    e.type = pressed ? SDL_FINGERDOWN : SDL_FINGERUP;
    e.tfinger.touchId = 1;
    e.tfinger.fingerId = 1;
    e.tfinger.x = (static_cast<float>(x) + 0.5f) / static_cast<float>(Config::world_width);
    e.tfinger.y = (static_cast<float>(y) + 0.5f) / static_cast<float>(Config::world_height);
    push(e);
}

void Sdl_input::window(SDL_WindowEventID event, int data1, int data2) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    e.window.data1 = data1;
    e.window.data2 = data2;
    push(e);
}

void Sdl_input::quit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    push(e);
}

void Sdl_input::run(int count) {
    for (int i = 0; i < count && !m_ended; ++i) {
        ++m_frames;
        m_ended = !m_engine.run();
    }
}

bool Sdl_input::run_until(const std::function<bool(Content&)>& done, int budget) {
    for (int i = 0; i < budget && !m_ended; ++i) {
        ++m_frames;
        m_ended = !m_engine.run();
        if (done(m_engine.content()))
            return true;
    }
    return false;
}

} // namespace Orvane::Test
