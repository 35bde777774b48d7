#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Utils/helpers.h>

#include "support/Logic_world_fixture.h"

namespace Orvane::Test {
namespace {

using Slot = Fast_access_component;

class Logic_notifications : public Sdl_test {
  protected:
    std::shared_ptr<Component::Action> notifications() const {
        return world.content.get<Component::Action>("Notifications", "action");
    }
    std::string text(int n) const {
        return world.content.value<Component::Simple<std::string>>(
            "Notification_" + std::to_string(n), "notification", "<none>");
    }
    /// What the screen interface does with a slot: draws it (image and creation time)...
    void draw(int n, double at) {
        const std::string id = "Notification_" + std::to_string(n);
        world.content.set<Component::Image>(id, "image", 10, 10);
        world.content.set<Component::Simple<double>>(id, "creation_time", at);
    }
    /// ... and, once faded out, removes its components, which frees the slot.
    void free_slot(int n) {
        const std::string id = "Notification_" + std::to_string(n);
        for (const char* c : {"notification", "image", "creation_time", "end_notification"})
            world.content.remove(id, c, true);
    }

    Logic_world world;
};

TEST_F(Logic_notifications, SlotsAreTakenInOrderAndReused) {
    world.at(10.0);
    EXPECT_EQ(world.logic->push_notification("a", 5.0), "Notification_0");
    EXPECT_EQ(world.logic->push_notification("b", 2.0), "Notification_1");
    EXPECT_EQ(world.logic->push_notification("c", 1.0), "Notification_2");
    EXPECT_EQ(text(0), "a");
    EXPECT_EQ(text(2), "c");
    EXPECT_EQ(Logic_world::schedule_of(*notifications()),
              (std::vector<std::pair<double, std::string>>{{11.0, "Notification_2:notification"},
                                                           {12.0, "Notification_1:notification"},
                                                           {15.0, "Notification_0:notification"}}));
    EXPECT_FALSE(world.content.request<Component::Base>("Gamepad", "rumble"))
        << "no rumble without a controller";

    free_slot(0);
    EXPECT_EQ(world.logic->push_notification("d", 1.0), "Notification_0");
    EXPECT_EQ(world.logic->push_notification("e", 1.0), "Notification_3");
    EXPECT_EQ(text(0), "d");
}

TEST_F(Logic_notifications, EveryNotificationRumblesInGamepadMode) {
    world.content.set_fac<Component::Simple<Input_mode>>(Slot::INTERFACE_INPUT_MODE, "Interface",
                                                         "input_mode", Input_mode::GAMEPAD);
    world.logic->push_notification("a", 1.0);
    auto rumble = world.content.get<Component::Pair<double, double>>("Gamepad", "rumble");
    EXPECT_EQ(rumble->value(), std::make_pair(0.2, 0.05));
}

TEST_F(Logic_notifications, NotifyWithADurationShowsTheTranslatedTextOnly) {
    world.at(1.0);
    EXPECT_TRUE(world.logic->function_notify({"Saved", "2"}));
    EXPECT_EQ(text(0), "Saved");
    EXPECT_EQ(Logic_world::schedule_of(*notifications()),
              (std::vector<std::pair<double, std::string>>{{3.0, "Notification_0:notification"}}));
    EXPECT_FALSE(world.content.signal("Notification_0", "is_achievement"));
    EXPECT_FALSE(world.content.signal("Saved", "done"));
}

TEST_F(Logic_notifications, AchievementsAreAnnouncedForThreeSeconds) {
    world.content.set<Component::Simple<std::string>>("Achievement", "text", "Achievement:");
    world.content.set<Component::Simple<std::string>>("ACH_LAMP", "text", "Lamp lit");
    world.at(1.0);
    EXPECT_TRUE(world.logic->function_notify({"ACH_LAMP"}));
    EXPECT_TRUE(world.content.signal("ACH_LAMP", "done"));
    EXPECT_FALSE(world.content.signal("ACH_LAMP", "stored")) << "no platform takes achievements";
    EXPECT_EQ(text(0), "Achievement: Lamp lit");
    EXPECT_TRUE(world.content.signal("Notification_0", "is_achievement"));
    EXPECT_EQ(Logic_world::schedule_of(*notifications()),
              (std::vector<std::pair<double, std::string>>{{4.0, "Notification_0:notification"}}));
}

TEST_F(Logic_notifications, EndAchievementsWithinTheirTimeLimits) {
    struct Case {
        const char* name;
        bool final_achievement;
        std::vector<std::string> unlocked;
    };
    const Case cases[] = {
        {"with a final achievement", true, {"ACH_END", "ACH_HOUR"}},
        {"without one", false, {"ACH_HOUR"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Logic_world w;
        // 3599.9 seconds of play: 3000 saved, 700 in this run, 100.1 of them in menus
        w.content.get<Component::Simple<double>>("Clock", "saved_time")->set(3000.0);
        w.clock->set(700.0);
        w.content.get<Component::Simple<double>>("Clock", "discounted_time")->set(100.1);
        w.content.set<Component::Simple<std::string>>("Achievement", "text", "Achievement:");
        for (const char* id : {"ACH_END", "ACH_HOUR", "ACH_SLOW"})
            w.content.set<Component::Simple<std::string>>(id, "text", id);
        if (!c.final_achievement)
            w.content.remove("ACH_END", "text");
        w.content.set<Component::Simple<int>>("ACH_HOUR", "value", 3600);
        w.content.set<Component::Simple<int>>("ACH_SLOW", "value", 3599);
        w.content.set<Component::Simple<int>>("lamp", "value", 100000);

        w.logic->notify_end_achievements();
        for (const char* id : {"ACH_END", "ACH_HOUR", "ACH_SLOW", "lamp"}) {
            const bool expected = contains(c.unlocked, std::string(id));
            EXPECT_EQ(w.content.signal(id, "done"), expected) << id;
        }
        EXPECT_EQ(w.content.components("notification").size(), c.unlocked.size());
    }
}

TEST_F(Logic_notifications, AnOrdinaryClearSparesANotificationDrawnAMomentAgo) {
    struct Case {
        double now;
        bool force;
        bool ended;
    };
    const Case cases[] = {{0.2, false, false}, {0.3, false, true}, {0.2, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "now " << c.now << (c.force ? ", forced" : ""));
        Logic_world w;
        w.logic->push_notification("a", 5.0);
        w.content.set<Component::Simple<double>>("Notification_0", "creation_time", 0.0);
        w.at(c.now);
        w.logic->clear_notifications(c.force);
        EXPECT_EQ(w.content.signal("Notification_0", "end_notification"), c.ended);
        EXPECT_EQ(w.content.get<Component::Action>("Notifications", "action")->scheduled().size(),
                  1u)
            << "the end stays scheduled";
    }
}

TEST_F(Logic_notifications, ADueEndWaitsForTheNotificationsImage) {
    world.logic->push_notification("a", 1.0);
    EXPECT_FALSE(world.logic->notification_ended("Notification_0"))
        << "not drawn yet: the end must stay scheduled";
    EXPECT_FALSE(world.content.signal("Notification_0", "end_notification"));
    draw(0, 0.5);
    EXPECT_TRUE(world.logic->notification_ended("Notification_0"));
    EXPECT_TRUE(world.content.signal("Notification_0", "end_notification"));
}

TEST_F(Logic_notifications, ADueNotificationStaysScheduledUntilItIsDrawn) {
    world.logic->push_notification("a", 1.0);
    world.at(2.0);
    world.logic->update_scheduled(notifications(), false);
    EXPECT_EQ(notifications()->scheduled().size(), 1u) << "the interface has not drawn it yet";
    EXPECT_FALSE(world.content.signal("Notification_0", "end_notification"));
    draw(0, 2.0);
    world.at(2.1);
    world.logic->update_scheduled(notifications(), false);
    EXPECT_TRUE(notifications()->scheduled().empty());
    EXPECT_TRUE(world.content.signal("Notification_0", "end_notification"));
    free_slot(0);
    EXPECT_EQ(world.logic->push_notification("b", 1.0), "Notification_0") << "the slot is free";
}

TEST(Logic_notificationsDeathTest, AnAchievementWithoutItsName) {
    Logic_world w;
    w.content.set<Component::Simple<std::string>>("Achievement", "text", "Achievement:");
    EXPECT_EXIT(w.logic->function_notify({"ACH_NONE"}), ::testing::ExitedWithCode(1),
                "Cannot find ACH_NONE:text");
}

} // namespace
} // namespace Orvane::Test
