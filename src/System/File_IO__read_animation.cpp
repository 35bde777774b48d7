#include <string>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Position.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

using Component::Collision_type;
using Third_party::Yaml;

namespace {

/// Ten thousand frames of one cell: over thirteen minutes at twelve frames per second.
constexpr int max_repeat = 10000;

} // namespace

void File_IO::read_animation(const std::string& id, const Yaml::Node& node) {
    const std::string where = (node.file ? *node.file : std::string("?")) + ":" +
                              std::to_string(node.line) + ": " + id;
    const Yaml::Node& at = list_of(node, id, "coordinates", 3);
    const int z = at[2].integer();
    const std::string sheet = node["skin"].string("images", "animations", "png");

    int columns = 0;
    int rows = 1;
    if (node["length"].is_sequence && node["length"].size() > 0) {
        const Yaml::Node& length = list_of(node, id, "length", 2);
        columns = length[0].integer();
        rows = length[1].integer();
    } else {
        columns = node["length"].integer();
    }
    // an empty grid has no cell to show, and frame indices are divided by its width
    ORVANE_CHECK(columns >= 1 && rows >= 1, where + ": \"length\" gives " +
                                                std::to_string(columns) + " x " +
                                                std::to_string(rows) + " cells");
    const bool loop = node["loop"].boolean();

    m_content.set<Component::Absolute_position>(id, "position",
                                                Point(at[0].integer(), at[1].integer()), false);
    auto animation =
        m_content.set<Component::Animation>(id, "image", sheet, z, columns, rows, loop);

    const int duration = node.has("duration") ? node["duration"].integer() : 1;
    // a frame that never ends would hold a script waiting for the animation for ever
    ORVANE_CHECK(duration >= 1,
                 where + ": \"duration\" is " + std::to_string(duration) + ", needs at least 1");

    if (node.has("frames")) {
        auto& frames = animation->frames();
        frames.clear();
        const Yaml::Node& list = node["frames"];
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string& entry = list[i].string();
            const std::size_t x = entry.find('x');
            const int count = x == std::string::npos ? 1 : to_int(entry.substr(0, x));
            const int index = to_int(x == std::string::npos ? entry : entry.substr(x + 1));
            // a bound on repeats keeps a mistyped count from asking for gigabytes of frames
            ORVANE_CHECK(count <= max_repeat, where + ": \"frames\" entry " + entry +
                                                  " repeats a cell more than " +
                                                  std::to_string(max_repeat) + " times");
            ORVANE_CHECK(index >= 0 && index < columns * rows,
                         where + ": \"frames\" entry " + entry + " is outside the " +
                             std::to_string(columns) + " x " + std::to_string(rows) + " grid");
            for (int n = 0; n < count; ++n)
                frames.push_back({index % columns, index / columns, duration, 0});
        }
        ORVANE_CHECK(!frames.empty(), where + ": \"frames\" gives no frame");
    } else {
        animation->reset(true, duration);
    }

    animation->on() = false;
    animation->set_relative_origin(0.5, 1.0);
    animation->set_collision(Collision_type::UNCLICKABLE);
}

} // namespace Orvane::System
