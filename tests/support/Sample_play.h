#pragma once

// The packed sample game started for an end-to-end play through SDL's own queue: English, a
// 1920 x 1080 window (window pixels are scene pixels), a fresh per-user folder, controllers
// reporting though the dummy window never has focus, and the opening skipped.

#include <functional>
#include <string>
#include <utility>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>

#include "Fixed_step_engine.h"
#include "Sample_data.h"
#include "Sdl_input.h"
#include "Temp_pref_folder.h"

namespace Orvane::Test {

/// A test that plays the sample game from the end of its opening, Mara free to move.
class Sample_play_test : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
        pref.write("config.yaml", "locale: en_US\nfullscreen: false\nwindow: [1920, 1080]\n");
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_TRUE(engine.start_up(sample_data()));
        ASSERT_TRUE(skip_opening()) << "the opening did not end";
    }
    void TearDown() override { engine.tear_down(); }

    Content& content() { return engine.content(); }
    /// The status on top of the game's stack.
    Status top() { return content().get<Component::Status>(Key::game_status)->value(); }

    /// Runs frames until `done` holds, at most `budget` of them.
    bool until(const std::function<bool(Content&)>& done, int budget = 900) {
        return input.run_until(done, budget);
    }

    /// Skips the opening scene (of the first start or of a new game) and waits until the
    /// player has the game: IDLE, the opening's action over, the screen faded in.
    bool skip_opening() {
        bool idle = false;
        for (int frame = 1; frame < 1200 && !idle && !input.ended(); ++frame) {
            if (frame == 5)
                content().emit(Key::game_skip_cutscene);
            input.run(1);
            auto start = content().request<Component::Action>("start", "action");
            // the screen's fade-in, which the skip leaves running, over too
            idle = frame > 5 && top() == Status::IDLE && start && !start->on() &&
                   !content().get<Component::Image>(Key::blackscreen_image)->on();
        }
        return idle;
    }

    /// Width and height in picture pixels of `text` drawn in the font under `font`: what a
    /// text image of the interface made of that text measures.
    int text_width(const Store_key& font, const std::string& text) {
        return text_size(font, text).first;
    }
    int text_height(const Store_key& font, const std::string& text) {
        return text_size(font, text).second;
    }

    Temp_pref_folder pref;
    Fixed_step_engine engine;
    Sdl_input input{engine};

  private:
    std::pair<int, int> text_size(const Store_key& font, const std::string& text) {
        const Component::Image probe("Probe", "image", content().get<Component::Font>(font),
                                     "FFFFFF", text, false);
        return {probe.width(), probe.height()};
    }
};

} // namespace Orvane::Test
