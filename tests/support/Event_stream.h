#pragma once

// A compact byte format for a player's input, frame by frame, as the input system receives it
// (engine events, pointer positions in scene pixels): the input fuzzer reads its bytes this
// way, and a played sequence written with Event_stream_writer becomes one of its seeds.
//
// The bytes are records, each an opcode byte (taken modulo the number of opcodes) and its
// operands; a byte string of any length and content reads as some stream. Operands missing at
// the end read as zeros. Numbers of two bytes are little-endian.
//
//   opcode  record                operands
//   0       end of frame          -                 (the frame's events are complete)
//   1       wait                  n                 (the frame ends, n frames without
//                                                    events follow)
//   2       mouse move            x:2 y:2
//   3 / 4   mouse down / up       button x:2 y:2    (button even: left, odd: right)
//   5..7    finger down/move/up   x:2 y:2
//   8 / 9   key down / up         key               (index into key_values, modulo its size)
//   10 / 11 button down / up      button            (index into button_values, modulo)
//   12      stick move            axis value:2      (axis bit 0: right stick, bit 1:
//                                                    vertical; value signed)
//   13      window                kind              (modulo 3: hidden, shown, quit)
//   14      controller added      device index
//   15      controller removed    instance id
//
// A pointer's x is (x:2 % 2048) - 64 and its y (y:2 % 1280) - 100: the view and a margin
// around it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <Orvane/Config.h>
#include <Orvane/Third_party/SDL_events.h>

namespace Orvane::Test {

/// The events of one frame, in order.
using Frame_events = std::vector<Event>;

namespace Event_stream {

enum Opcode : std::uint8_t {
    FRAME = 0,
    WAIT,
    MOUSE_MOVE,
    MOUSE_DOWN,
    MOUSE_UP,
    TOUCH_DOWN,
    TOUCH_MOVE,
    TOUCH_UP,
    KEY_DOWN,
    KEY_UP,
    BUTTON_DOWN,
    BUTTON_UP,
    STICK_MOVE,
    WINDOW,
    GAMEPAD_ADDED,
    GAMEPAD_REMOVED,
    OPCODES ///< how many there are
};

/// The keys the platform layer reports, in the order their index selects them.
inline constexpr std::array key_values = {
    Event_value::ESCAPE, Event_value::ANDROID_BACK, Event_value::ENTER, Event_value::SPACE,
    Event_value::TAB, Event_value::UP_ARROW, Event_value::DOWN_ARROW, Event_value::LEFT_ARROW,
    Event_value::RIGHT_ARROW, Event_value::CTRL, Event_value::SHIFT, Event_value::ALT,
    // clang-format off
    Event_value::A, Event_value::B, Event_value::C, Event_value::D, Event_value::E,
    Event_value::F, Event_value::G, Event_value::H, Event_value::I, Event_value::J,
    Event_value::K, Event_value::L, Event_value::M, Event_value::N, Event_value::O,
    Event_value::P, Event_value::Q, Event_value::R, Event_value::S, Event_value::T,
    Event_value::U, Event_value::V, Event_value::W, Event_value::X, Event_value::Y,
    Event_value::Z, Event_value::F1, Event_value::F2, Event_value::F3, Event_value::F4,
    Event_value::F5, Event_value::F6, Event_value::F7, Event_value::F8, Event_value::F9,
    Event_value::F10, Event_value::F11, Event_value::F12,
    // clang-format on
};

/// The controller buttons (triggers as shoulders) the platform layer reports, likewise.
inline constexpr std::array button_values = {
    Event_value::SOUTH,          Event_value::EAST,          Event_value::WEST,
    Event_value::NORTH,          Event_value::START,         Event_value::SELECT,
    Event_value::LEFT_SHOULDER,  Event_value::RIGHT_SHOULDER, Event_value::UP_ARROW,
    Event_value::DOWN_ARROW,     Event_value::LEFT_ARROW,    Event_value::RIGHT_ARROW,
};

inline constexpr std::array window_values = {Event_value::BACKGROUND, Event_value::FOREGROUND,
                                             Event_value::EXIT};

inline constexpr int x_offset = 64;
inline constexpr int x_span = 2048;
inline constexpr int y_offset = 100;
inline constexpr int y_span = 1280;

/// Reads `size` bytes as frames of events, at most `max_frames` of them; a last frame
/// without its end record counts as a frame.
inline std::vector<Frame_events> read(const std::uint8_t* data, std::size_t size,
                                      std::size_t max_frames) {
    std::vector<Frame_events> frames;
    Frame_events current;
    std::size_t at = 0;
    auto byte = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    auto word = [&]() -> std::uint16_t {
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    };
    auto x = [&] { return word() % x_span - x_offset; };
    auto y = [&] { return word() % y_span - y_offset; };
    auto pointer = [&](Event_type type, Event_value value) {
        const int px = x();
        current.emplace_back(type, value, px, y());
    };
    auto mouse_button = [&] { return byte() % 2 == 0 ? Event_value::LEFT : Event_value::RIGHT; };
    // an event whose value is chosen from `table` by the next byte
    auto pick = [&](Event_type type, const auto& table) {
        current.emplace_back(type, table[byte() % table.size()], -1, -1);
    };
    auto end_frame = [&] {
        frames.push_back(std::move(current));
        current.clear();
    };
    while (at < size && frames.size() < max_frames) {
        const int opcode = byte() % OPCODES;
        switch (opcode) {
        case FRAME:
            end_frame();
            break;
        case WAIT:
            end_frame();
            for (int n = byte(); n > 0 && frames.size() < max_frames; --n)
                frames.emplace_back();
            break;
        case MOUSE_MOVE:
            pointer(Event_type::MOUSE_MOVE, Event_value::NONE);
            break;
        case MOUSE_DOWN:
            pointer(Event_type::MOUSE_DOWN, mouse_button());
            break;
        case MOUSE_UP:
            pointer(Event_type::MOUSE_UP, mouse_button());
            break;
        case TOUCH_DOWN:
            pointer(Event_type::TOUCH_DOWN, Event_value::LEFT);
            break;
        case TOUCH_MOVE:
            pointer(Event_type::TOUCH_MOVE, Event_value::LEFT);
            break;
        case TOUCH_UP:
            pointer(Event_type::TOUCH_UP, Event_value::LEFT);
            break;
        case KEY_DOWN:
            pick(Event_type::KEY_DOWN, key_values);
            break;
        case KEY_UP:
            pick(Event_type::KEY_UP, key_values);
            break;
        case BUTTON_DOWN:
            pick(Event_type::BUTTON_DOWN, button_values);
            break;
        case BUTTON_UP:
            pick(Event_type::BUTTON_UP, button_values);
            break;
        case STICK_MOVE: {
            const std::uint8_t axis = byte();
            const int value = static_cast<std::int16_t>(word());
            const Event_value stick = (axis & 1) != 0 ? Event_value::RIGHT : Event_value::LEFT;
            if ((axis & 2) != 0)
                current.emplace_back(Event_type::STICK_MOVE, stick, Config::no_value, value);
            else
                current.emplace_back(Event_type::STICK_MOVE, stick, value, Config::no_value);
            break;
        }
        case WINDOW:
            pick(Event_type::WINDOW, window_values);
            break;
        case GAMEPAD_ADDED:
            current.emplace_back(Event_type::NEW_GAMEPAD, Event_value::NONE, byte(), -1);
            break;
        case GAMEPAD_REMOVED:
            current.emplace_back(Event_type::GAMEPAD_REMOVED, Event_value::NONE, byte(), -1);
            break;
        default:
            break;
        }
    }
    if (!current.empty() && frames.size() < max_frames)
        frames.push_back(std::move(current));
    return frames;
}

} // namespace Event_stream

/// Writes events, frame by frame, in the byte format that Event_stream::read reads back: the
/// recorder of fuzzing seeds.
class Event_stream_writer {
  public:
    /// Appends one event of the current frame. False, writing nothing, for an event the
    /// format cannot hold (a resize, a controller switch, a value no device reports);
    /// pointer positions are clamped to the area the format covers.
    bool event(const Event& e) {
        using namespace Event_stream;
        switch (e.type()) {
        case Event_type::MOUSE_MOVE:
            return pointer(MOUSE_MOVE, e);
        case Event_type::MOUSE_DOWN:
        case Event_type::MOUSE_UP:
            if (e.value() != Event_value::LEFT && e.value() != Event_value::RIGHT)
                return false;
            m_bytes.push_back(e.type() == Event_type::MOUSE_DOWN ? MOUSE_DOWN : MOUSE_UP);
            m_bytes.push_back(e.value() == Event_value::LEFT ? 0 : 1);
            return position(e);
        case Event_type::TOUCH_DOWN:
            return pointer(TOUCH_DOWN, e);
        case Event_type::TOUCH_MOVE:
            return pointer(TOUCH_MOVE, e);
        case Event_type::TOUCH_UP:
            return pointer(TOUCH_UP, e);
        case Event_type::KEY_DOWN:
            return indexed(KEY_DOWN, key_values, e.value());
        case Event_type::KEY_UP:
            return indexed(KEY_UP, key_values, e.value());
        case Event_type::BUTTON_DOWN:
            return indexed(BUTTON_DOWN, button_values, e.value());
        case Event_type::BUTTON_UP:
            return indexed(BUTTON_UP, button_values, e.value());
        case Event_type::STICK_MOVE: {
            const bool vertical = e.x() == Config::no_value;
            std::uint8_t axis = vertical ? 2 : 0;
            if (e.value() == Event_value::RIGHT)
                axis |= 1;
            else if (e.value() != Event_value::LEFT)
                return false;
            m_bytes.push_back(STICK_MOVE);
            m_bytes.push_back(axis);
            word(std::clamp(vertical ? e.y() : e.x(), -32768, 32767));
            return true;
        }
        case Event_type::WINDOW:
            return indexed(WINDOW, window_values, e.value());
        case Event_type::NEW_GAMEPAD:
        case Event_type::GAMEPAD_REMOVED:
            if (e.x() < 0 || e.x() > 255)
                return false;
            m_bytes.push_back(e.type() == Event_type::NEW_GAMEPAD ? GAMEPAD_ADDED
                                                                  : GAMEPAD_REMOVED);
            m_bytes.push_back(static_cast<std::uint8_t>(e.x()));
            return true;
        default:
            return false;
        }
    }

    /// Ends the current frame.
    void frame() { m_bytes.push_back(Event_stream::FRAME); }

    /// Ends the current frame and lets `count` more frames pass without events.
    void wait(int count) {
        frame();
        while (count > 0) {
            const int n = std::min(count, 256);
            m_bytes.push_back(Event_stream::WAIT);
            m_bytes.push_back(static_cast<std::uint8_t>(n - 1));
            count -= n;
        }
    }

    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

  private:
    template <std::size_t N>
    bool indexed(std::uint8_t opcode, const std::array<Event_value, N>& table, Event_value v) {
        const auto found = std::find(table.begin(), table.end(), v);
        if (found == table.end())
            return false;
        m_bytes.push_back(opcode);
        m_bytes.push_back(static_cast<std::uint8_t>(found - table.begin()));
        return true;
    }
    bool pointer(std::uint8_t opcode, const Event& e) {
        m_bytes.push_back(opcode);
        return position(e);
    }
    bool position(const Event& e) {
        using namespace Event_stream;
        word(std::clamp(e.x(), -x_offset, x_span - x_offset - 1) + x_offset);
        word(std::clamp(e.y(), -y_offset, y_span - y_offset - 1) + y_offset);
        return true;
    }
    void word(int value) {
        const auto bits = static_cast<std::uint16_t>(value);
        m_bytes.push_back(static_cast<std::uint8_t>(bits & 0xff));
        m_bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
    }

    std::vector<std::uint8_t> m_bytes;
};

} // namespace Orvane::Test
