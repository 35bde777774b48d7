#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Interface.h>

#include "support/Interface_frame.h"
#include "support/Logic_store.h"

namespace Orvane::System {
namespace {

using Component::Image;
using Component::Position;
using Orvane::Test::Rgb;
using Slot = Fast_access_component;

const Rgb white_pill{255, 255, 255};
const Rgb yellow_pill{255, 240, 182};
const Rgb star_red{200, 0, 0};

/// The pictures and font the banners are made of, as the init file leaves them: the two pairs
/// of half-circle ends (plain 50 x 100 rectangles in the pill's colours, hidden), a 60 x 60
/// red star (hidden) and the interface font.
void banner_parts(Content& content) {
    content.set<Component::Font>("Interface", "font", "fonts/DejaVuSans.ttf", 50);
    auto hidden = [&](const char* entity, int w, int h, const Rgb& c) {
        content.set<Image>(entity, "image", w, h, c.r, c.g, c.b, 255)->on() = false;
    };
    hidden("White_left_circle", 50, 100, white_pill);
    hidden("White_right_circle", 50, 100, white_pill);
    hidden("Yellow_left_circle", 50, 100, yellow_pill);
    hidden("Yellow_right_circle", 50, 100, yellow_pill);
    hidden("Star", 60, 60, star_red);
}

/// The banner parts over the interface's frame.
class Interface_notifications_test : public Orvane::Test::Interface_frame {
  protected:
    void SetUp() override {
        Interface_frame::SetUp();
        banner_parts(content);
    }

    /// Notification_<n> with its text, as the logic files it.
    std::string notify(int n, const std::string& text, bool achievement = false) {
        const std::string id = "Notification_" + std::to_string(n);
        content.set<Component::Simple<std::string>>(id, "notification", text);
        if (achievement)
            content.emit(id, "is_achievement");
        return id;
    }

    void frame(double t) {
        clock->set(t);
        interface.update_notifications();
        animation.run();
    }

    bool has(const std::string& entity, const std::string& component) {
        return content.request<Component::Base>(entity, component) != nullptr;
    }
};

/// c drawn with alpha a over black, as the renderer blends it.
Rgb over_black(const Rgb& c, int a) { return {c.r * a / 255, c.g * a / 255, c.b * a / 255}; }

void expect_near(const Rgb& got, const Rgb& expected) {
    EXPECT_NEAR(got.r, expected.r, 2) << "got " << got << ", expected " << expected;
    EXPECT_NEAR(got.g, expected.g, 2) << "got " << got << ", expected " << expected;
    EXPECT_NEAR(got.b, expected.b, 2) << "got " << got << ", expected " << expected;
}

TEST_F(Interface_notifications_test, BannerIsATextCentredOnAWhitePill) {
    const std::string id = notify(0, "Saved");
    frame(3);

    auto text = image(id);
    auto back = image(id + "_back");
    ASSERT_TRUE(text);
    ASSERT_TRUE(back);
    EXPECT_FALSE(image(id + "_star"));
    for (const auto& [name, i, z] :
         {std::tuple{"text", text, 1000011}, std::tuple{"back", back, 1000010}}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(i->on());
        EXPECT_EQ(i->z(), z);
        EXPECT_EQ(i->collision(), Component::Collision_type::UNCLICKABLE);
        EXPECT_DOUBLE_EQ(i->scale(), 0.5);
        EXPECT_TRUE(content.get<Position>(i->entity(), "position")->is_interface());
    }
    EXPECT_EQ(back->origin(), Point(0, 0));
    EXPECT_EQ(text->origin(), Point(0.5 * text->width(), 0.5 * text->height()));
    // the rectangle is half as wide as the text, between two 50-pixel ends
    EXPECT_EQ(back->width(), 50 + int(0.5 * text->width()) + 50);
    EXPECT_EQ(back->height(), 100);
    EXPECT_EQ(at(id + "_back"), Point(20, 20));
    EXPECT_EQ(at(id), Point(20 + 0.25 * back->width(), 20 + 25));
    EXPECT_DOUBLE_EQ(content.get<Component::Simple<double>>(id, "creation_time")->value(), 3);

    // it fades in over a quarter of a second, to alpha 170
    EXPECT_EQ(int(text->alpha()), 0);
    EXPECT_EQ(int(back->alpha()), 0);
    frame(3.25);
    EXPECT_EQ(int(text->alpha()), 170);
    EXPECT_EQ(int(back->alpha()), 170);

    // once up, it is left alone
    back->set_alpha(3);
    frame(4);
    EXPECT_EQ(image(id + "_back"), back);
    EXPECT_EQ(int(back->alpha()), 3);
}

TEST_F(Interface_notifications_test, RowsStackFromTheTopOrInACutsceneFromTheBottom) {
    struct Case {
        int n;
        bool cutscene;
        double scale;
        int top;
    };
    const Case cases[] = {
        {0, false, 1.0, 20},  {1, false, 1.0, 90},   {3, false, 1.0, 230},
        {0, true, 1.0, 1010}, {1, true, 1.0, 940},   {1, false, 1.5, 115},
        {1, true, 1.5, 890},  {2, false, 0.75, 135}, {2, true, 0.75, 907},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("banner " + std::to_string(c.n) + (c.cutscene ? " in a cutscene" : "") +
                     " at scale " + std::to_string(c.scale));
        Config::interface_scale = c.scale;
        if (c.cutscene)
            game_status->push(Orvane::Status::CUTSCENE);
        const std::string id = notify(c.n, "Saved");
        frame(1);
        auto back = image(id + "_back");
        ASSERT_TRUE(back);
        EXPECT_DOUBLE_EQ(back->scale(), 0.5 * c.scale);
        EXPECT_EQ(at(id + "_back"), Point(20, c.top));
        EXPECT_EQ(at(id).y(), c.top + 50 * back->scale());
        // the row is fixed when the banner is built
        game_status->push(c.cutscene ? Orvane::Status::IDLE : Orvane::Status::CUTSCENE);
        frame(2);
        EXPECT_EQ(at(id + "_back"), Point(20, c.top));
        game_status->pop();
        if (c.cutscene)
            game_status->pop();
        content.emit(id, "end_notification");
        frame(3);
        frame(4);
    }
}

TEST_F(Interface_notifications_test, AchievementHasAYellowPillAStarAndRoomForIt) {
    const std::string plain = notify(0, "Lamp lit");
    const std::string achieved = notify(1, "Lamp lit", true);
    frame(1);

    EXPECT_FALSE(content.signal(achieved, "is_achievement")) << "consumed";
    auto star = image(achieved + "_star");
    ASSERT_TRUE(star);
    EXPECT_EQ(star->core(), content.get<Image>("Star", "image")->core());
    EXPECT_TRUE(star->on());
    EXPECT_EQ(star->z(), 1000011);
    EXPECT_DOUBLE_EQ(star->scale(), 0.5);
    EXPECT_EQ(star->collision(), Component::Collision_type::UNCLICKABLE);
    EXPECT_EQ(star->origin(), Point(30, 30));

    // the middle is 20 pixels and a quarter of the star wider than the plain one
    EXPECT_EQ(image(achieved + "_back")->width() - image(plain + "_back")->width(), 20 + 15);
    EXPECT_EQ(image(achieved)->width(), image(plain)->width());

    // the star at the left end, the text starting at the star's centre
    const double top = 90;
    EXPECT_EQ(at(achieved + "_star"), Point(20 + 15, top + 25));
    EXPECT_EQ(at(achieved), Point(20 + 15 + 0.25 * image(achieved)->width(), top + 25));

    frame(1.25);
    for (const char* part : {"", "_star", "_back"})
        EXPECT_EQ(int(image(achieved + part)->alpha()), 191) << part;
    EXPECT_EQ(int(image(plain)->alpha()), 170);
}

TEST_F(Interface_notifications_test, LongTextShrinksToTheWidestBanner) {
    const std::string text(200, 'W');
    const std::string id = notify(0, text, true);
    frame(1);
    auto back = image(id + "_back");
    ASSERT_GT(0.5 * (image(id)->width() + 100), 1880) << "the text must be too wide";
    EXPECT_EQ(back->width(), 100 + int(int(0.5 * image(id)->width()) + 15 + 20))
        << "the pill holds the whole text";
    EXPECT_DOUBLE_EQ(back->width() * back->scale(), 1880);
    EXPECT_DOUBLE_EQ(image(id)->scale(), back->scale());
    EXPECT_DOUBLE_EQ(image(id + "_star")->scale(), back->scale());
    EXPECT_EQ(at(id + "_star"), Point(20 + 30 * back->scale(), 20 + 50 * back->scale()));

    // a text that fits keeps the interface scale
    const std::string short_id = notify(1, "Saved", true);
    frame(2);
    EXPECT_DOUBLE_EQ(image(short_id + "_back")->scale(), 0.5);
}

TEST_F(Interface_notifications_test, EndFadesTheBannerOutAndFreesItsSlot) {
    const std::string id = notify(0, "Saved");
    frame(1);
    frame(1.25);

    content.emit(id, "end_notification");
    frame(2);
    EXPECT_FALSE(has(id, "notification")) << "the slot is free at once";
    EXPECT_FALSE(has(id, "end_notification"));
    EXPECT_FALSE(has(id, "group"));
    EXPECT_FALSE(image(id));
    EXPECT_FALSE(image(id + "_back"));
    auto fading = image(id + "_old");
    ASSERT_TRUE(fading);
    ASSERT_TRUE(image(id + "_back_old"));
    EXPECT_EQ(at(id + "_back_old"), Point(20, 20)) << "it fades where it stood";
    frame(2.125);
    EXPECT_LT(int(fading->alpha()), 170);
    EXPECT_GT(int(fading->alpha()), 0);
    frame(2.25);
    EXPECT_FALSE(image(id + "_old"));
    EXPECT_FALSE(image(id + "_back_old"));

    // a new notice in the same slot is a new banner
    notify(0, "Loaded");
    frame(3);
    ASSERT_TRUE(image(id));
    EXPECT_DOUBLE_EQ(content.get<Component::Simple<double>>(id, "creation_time")->value(), 3);
}

TEST_F(Interface_notifications_test, RoomChangeRemovesEveryBannerAtOnceEvenAnEndingOne) {
    const std::string first = notify(0, "Saved");
    const std::string second = notify(1, "Lamp lit", true);
    frame(1);
    frame(1.25);

    content.emit(first, "end_notification");
    content.emit("Game", "in_new_room");
    clock->set(2);
    interface.update_notifications();
    EXPECT_TRUE(content.signal("Game", "in_new_room")) << "tested, not consumed";
    animation.run();
    for (const std::string& id : {first, second}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(has(id, "notification"));
        EXPECT_FALSE(has(id, "group"));
        for (const char* part : {"", "_star", "_back"}) {
            EXPECT_FALSE(image(id + part)) << part;
            EXPECT_FALSE(image(id + part + "_old")) << "no fade: " << part;
        }
    }
    EXPECT_TRUE(content.components("end_notification").empty());
}

TEST_F(Interface_notifications_test, AchievementGoneBeforeItShowedMarksNoLaterNotice) {
    // the logic announces an achievement, and a room is entered before the interface saw it
    const std::string id = notify(0, "Lamp lit", true);
    content.emit("Game", "in_new_room");
    frame(1);
    EXPECT_FALSE(has(id, "notification"));
    EXPECT_FALSE(image(id));
    content.remove("Game", "in_new_room", true);

    notify(0, "Saved");
    frame(2);
    ASSERT_TRUE(image(id));
    EXPECT_FALSE(image(id + "_star")) << "a plain notice";
    EXPECT_EQ(content.get<Image>(id + "_back", "image")->width(),
              100 + int(0.5 * image(id)->width()));
    frame(2.25);
    EXPECT_EQ(int(image(id)->alpha()), 170);
}

TEST_F(Interface_notifications_test, EndRequestWithoutANotificationIsDropped) {
    const std::string shown = notify(0, "Saved");
    frame(1);
    content.emit("Notification_7", "end_notification");
    frame(2);
    EXPECT_FALSE(has("Notification_7", "end_notification"));
    EXPECT_TRUE(image(shown)) << "the other banner stays";
    EXPECT_TRUE(has(shown, "notification"));

    // nor does a later notice in that slot find it
    notify(7, "Loaded");
    frame(3);
    EXPECT_TRUE(image("Notification_7"));
}

TEST_F(Interface_notifications_test, BannersShowTheirColoursOnScreen) {
    notify(0, "Saved");
    notify(1, "Lamp lit", true);
    frame(1);
    frame(1.25);
    graphic.run();

    // the left ends: 25 x 50 on screen from (20, top)
    expect_near(pixel(30, 45), over_black(white_pill, 170));
    const Rgb yellow = over_black(yellow_pill, 191);
    expect_near(pixel(30, 95 + 40), yellow);
    // the star (30 x 30 on screen, centred 35 from the left) over the yellow pill
    const Rgb star{(star_red.r * 191 + yellow.r * 64) / 255,
                   (star_red.g * 191 + yellow.g * 64) / 255,
                   (star_red.b * 191 + yellow.b * 64) / 255};
    expect_near(pixel(35, 90 + 25), star);
    expect_near(pixel(10, 45), Rgb{0, 0, 0});

    // the text: black on white, dark brown on yellow; its darkest pixel (right of the star)
    // tells the hue
    auto darkest = [&](int n) {
        const std::string id = "Notification_" + std::to_string(n);
        const Point centre = at(id);
        const int w = int(image(id)->width() * image(id)->scale());
        Rgb best{255, 255, 255};
        for (int x = std::max(int(centre.x()) - w / 2, 55); x < int(centre.x()) + w / 2; ++x) {
            const Rgb p = pixel(x, int(centre.y()));
            if (p.r + p.g + p.b < best.r + best.g + best.b)
                best = p;
        }
        return best;
    };
    const Rgb plain_text = darkest(0);
    EXPECT_EQ(plain_text.r, plain_text.g) << plain_text;
    EXPECT_EQ(plain_text.g, plain_text.b) << plain_text;
    EXPECT_LT(plain_text.r, 100) << plain_text;
    const Rgb brown_text = darkest(1);
    EXPECT_GT(brown_text.r, brown_text.b + 30) << brown_text;
    EXPECT_GT(brown_text.g, brown_text.b + 20) << brown_text;
    EXPECT_LT(brown_text.r, yellow.r - 40) << brown_text;
}

class Interface_notificationsDeathTest : public Orvane::Test::Sdl_test {};

TEST_F(Interface_notificationsDeathTest, BannerNeedsItsPictures) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* missing;
        bool achievement;
    };
    for (const Case& c : {Case{"Interface:font", false}, Case{"White_left_circle:image", false},
                          Case{"Star:image", true}, Case{"Yellow_right_circle:image", true}}) {
        SCOPED_TRACE(c.missing);
        EXPECT_EXIT(
            {
                Content content;
                Engine::create_fixed_components(content);
                content.set_fac<Component::Simple<double>>(Slot::CLOCK_TIME, "Clock", "time", 0.0);
                banner_parts(content);
                const std::string key = c.missing;
                content.remove(key.substr(0, key.find(':')), key.substr(key.find(':') + 1));
                content.set<Component::Simple<std::string>>("Notification_0", "notification",
                                                            "Saved");
                if (c.achievement)
                    content.emit("Notification_0", "is_achievement");
                Interface interface(content);
                interface.update_notifications();
                std::exit(0);
            },
            ::testing::ExitedWithCode(1), std::string("Cannot find ") + c.missing);
    }
}

/// The logic's side: a "You got" notice that the logic files, the interface builds, the logic
/// ends when its time is up, and whose slot the next notice takes again.
class Interface_notifications_logic_test : public Orvane::Test::Sdl_test {};

TEST_F(Interface_notifications_logic_test, NoticeOfANewItemComesAndGoesWithTheLogic) {
    Orvane::Test::Logic_store store;
    banner_parts(store.content);
    store.content.set_fac<Component::Simple<Input_mode>>(Slot::INTERFACE_INPUT_MODE, "Interface",
                                                         "input_mode", Input_mode::MOUSE);
    store.content.set<Component::Simple<std::string>>("rope", "state", "room");
    store.content.set<Component::Simple<std::string>>("rope", "name", "Rope");
    store.content.set<Image>("rope", "image", 40, 20);
    store.content.set<Component::Simple<std::string>>("You_got", "text", "You got");
    Interface interface(store.content);

    auto script = store.action("script", {{"set", {"rope", "inventory"}}});
    script->launch();
    store.frame(1);
    ASSERT_EQ(store.text("Notification_0", "notification"), "You got Rope.");
    interface.update_notifications();
    ASSERT_TRUE(store.content.request<Image>("Notification_0", "image"));

    store.frame(3.9);
    interface.update_notifications();
    EXPECT_TRUE(store.content.request<Image>("Notification_0", "image")) << "three seconds";

    store.frame(4.1);
    EXPECT_TRUE(store.content.signal("Notification_0", "end_notification"));
    interface.update_notifications();
    EXPECT_FALSE(store.content.request<Image>("Notification_0", "image"));
    EXPECT_TRUE(store.content.request<Image>("Notification_0_old", "image")) << "fading out";
    EXPECT_FALSE(store.has("Notification_0", "notification"));

    EXPECT_EQ(store.logic->push_notification("Saved", 2.0), "Notification_0") << "slot freed";
}

} // namespace
} // namespace Orvane::System
