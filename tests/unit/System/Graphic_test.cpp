// The render list over images whose pictures have a size but no texture: no window is needed.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/Third_party/SDL.h>

namespace Orvane::System {
namespace {

using Third_party::SDL;

struct Drawable {
    std::string entity;
    int width = 100;
    int height = 100;
    Point position;
    int z = 0;
    bool interface = false;
    bool on = true;
    double scale = 1.0;
    Point origin{0, 0};
};

struct Command {
    std::string entity;
    double x0, y0, x1, y1;
    bool operator==(const Command&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Command& c) {
    return out << c.entity << " [" << c.x0 << ", " << c.y0 << " - " << c.x1 << ", " << c.y1 << "]";
}

struct Case {
    const char* name;
    std::vector<Drawable> images;
    Point camera{0, 0};
    double zoom = 1.0;
    // The status on top of the stack; IDLE when absent.
    Orvane::Status status = Orvane::Status::IDLE;
    std::vector<Command> expected;
};

// A texture-less picture of the given size, reached by a file name through the image cache, so
// that the file constructor of Image finds it there.
std::string picture(int width, int height) {
    const std::string name = "test/" + std::to_string(width) + "x" + std::to_string(height);
    SDL::m_images.get(name, [&] { return SDL::make_image(nullptr, nullptr, width, height); });
    return name;
}

void fill(Content& content, const Case& c, bool reversed) {
    auto status =
        content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status");
    // a new stack holds IDLE under LOCKED
    status->pop();
    if (c.status != Orvane::Status::IDLE)
        status->push(c.status);

    std::vector<Drawable> images = c.images;
    if (reversed)
        std::reverse(images.begin(), images.end());
    for (const Drawable& d : images) {
        auto image =
            content.set<Component::Image>(d.entity, "image", picture(d.width, d.height), d.z);
        image->on() = d.on;
        image->set_scale(d.scale);
        image->origin() = d.origin;
        content.set<Component::Absolute_position>(d.entity, "position", d.position, d.interface);
    }
}

std::vector<Command> commands(const Graphic::Render_list& list) {
    std::vector<Command> out;
    for (const auto& e : list)
        out.push_back({e.image->entity(), e.x0, e.y0, e.x1, e.y1});
    return out;
}

const Case cases[] = {
    {"equal depths in byte order of the names, a prefix first",
     {{"door_back", 10, 10, {0, 0}, 5},
      {"a_head", 10, 10, {0, 0}, 5},
      {"door", 10, 10, {0, 0}, 5},
      {"a_body", 10, 10, {0, 0}, 5},
      {"Z_lower", 10, 10, {0, 0}, 4},
      {"B_upper", 10, 10, {0, 0}, 1000000}},
     {0, 0},
     1.0,
     Orvane::Status::IDLE,
     {{"Z_lower", 0, 0, 10, 10},
      {"a_body", 0, 0, 10, 10},
      {"a_head", 0, 0, 10, 10},
      {"door", 0, 0, 10, 10},
      {"door_back", 0, 0, 10, 10},
      {"B_upper", 0, 0, 10, 10}}},
    {"culled only outside on both axes, bounds inclusive",
     {{"below", 100, 100, {500, 2000}},
      {"right", 100, 100, {3000, 500}},
      {"below_right", 100, 100, {3000, 2000}},
      {"above_left", 100, 100, {-200, -200}},
      {"touching_top_left", 100, 100, {-100, -100}},
      {"touching_bottom_right", 100, 100, {1920, 1080}},
      {"just_past", 100, 100, {1921, 1081}}},
     {0, 0},
     1.0,
     Orvane::Status::IDLE,
     {{"below", 500, 2000, 600, 2100},
      {"right", 3000, 500, 3100, 600},
      {"touching_bottom_right", 1920, 1080, 2020, 1180},
      {"touching_top_left", -100, -100, 0, 0}}},
    {"camera at 500: 2000 is shown at 1500",
     {{"post", 40, 200, {2000, 300}}},
     {500, 0},
     1.0,
     Orvane::Status::IDLE,
     {{"post", 1500, 300, 1540, 500}}},
    {"zoom 2: the left edge at 3000, drawn for its vertical span",
     {{"post", 40, 200, {2000, 300}}},
     {500, 0},
     2.0,
     Orvane::Status::IDLE,
     {{"post", 3000, 600, 3080, 1000}}},
    {"zoom 2 with the camera down: outside on both axes",
     {{"post", 40, 200, {2000, 600}}},
     {500, 0},
     2.0,
     Orvane::Status::IDLE,
     {}},
    {"interface positions unmoved by camera and zoom",
     {{"Button", 50, 20, {10, 20}, Config::INTERFACE_ITEMS, true}, {"tree", 50, 20, {510, 120}}},
     {500, 100},
     2.0,
     Orvane::Status::IDLE,
     {{"tree", 20, 40, 120, 80}, {"Button", 10, 20, 60, 40}}},
    {"scale and origin, zoomed about the view's corner",
     {{"mara_body", 100, 50, {1000, 600}, 3000, false, true, 0.5, {50, 50}}},
     {200, 0},
     2.0,
     Orvane::Status::IDLE,
     {{"mara_body", 1550, 1150, 1650, 1200}}},
    {"an image that is off gives no command",
     {{"shown", 10, 10, {0, 0}}, {"hidden", 10, 10, {0, 0}, 0, false, false}},
     {0, 0},
     1.0,
     Orvane::Status::IDLE,
     {{"shown", 0, 0, 10, 10}}},
    {"Cursor drawn while idle",
     {{"Cursor", 10, 10, {5, 5}, Config::CURSOR, true}, {"Cursor2", 10, 10, {5, 5}, 0, true}},
     {0, 0},
     1.0,
     Orvane::Status::IDLE,
     {{"Cursor2", 5, 5, 15, 15}, {"Cursor", 5, 5, 15, 15}}},
    {"Cursor hidden while locked, Cursor2 not",
     {{"Cursor", 10, 10, {5, 5}, Config::CURSOR, true}, {"Cursor2", 10, 10, {5, 5}, 0, true}},
     {0, 0},
     1.0,
     Orvane::Status::LOCKED,
     {{"Cursor2", 5, 5, 15, 15}}},
    {"Cursor hidden in a cutscene, Cursor2 not",
     {{"Cursor", 10, 10, {5, 5}, Config::CURSOR, true}, {"Cursor2", 10, 10, {5, 5}, 0, true}},
     {0, 0},
     1.0,
     Orvane::Status::CUTSCENE,
     {{"Cursor2", 5, 5, 15, 15}}},
};

TEST(Graphic_render_listTest, OrderedCommandsWhateverTheFillOrder) {
    for (const Case& c : cases) {
        for (bool reversed : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (reversed ? ", filled in reverse" : ""));
            Content content;
            fill(content, c, reversed);
            Graphic::Render_list list;
            Graphic::build_render_list(content, View{c.camera, c.zoom}, list);
            EXPECT_EQ(commands(list), c.expected);
        }
    }
    SDL::m_images.clear();
}

TEST(Graphic_render_listTest, ListIsEmptiedAndItsCapacityKept) {
    Content content;
    fill(content, cases[0], false);
    Graphic::Render_list list;
    Graphic::build_render_list(content, View{}, list);
    const auto capacity = list.capacity();
    Graphic::build_render_list(content, View{}, list);
    EXPECT_EQ(list.size(), cases[0].expected.size()) << "built afresh, not appended";
    EXPECT_EQ(list.capacity(), capacity);
    SDL::m_images.clear();
}

TEST(Graphic_render_listTest, NonImagesOfTheImageMapAreSkipped) {
    Content content;
    content.set<Component::Simple<int>>("odd", "image", 3);
    Graphic::Render_list list;
    Graphic::build_render_list(content, View{}, list);
    EXPECT_TRUE(list.empty());
}

TEST(Graphic_render_listDeathTest, DrawnImageWithoutPosition) {
    Content content;
    content.set<Component::Image>("lost", "image", picture(10, 10), 0);
    Graphic::Render_list list;
    EXPECT_EXIT(Graphic::build_render_list(content, View{}, list), ::testing::ExitedWithCode(1),
                "Cannot find lost:position");
}

} // namespace
} // namespace Orvane::System
