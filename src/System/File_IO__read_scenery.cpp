#include <memory>
#include <string>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Component::Collision_type;
using Third_party::Yaml;

void File_IO::read_scenery(const std::string& id, const Yaml::Node& node) {
    const Yaml::Node& at = list_of(node, id, "coordinates", 3);
    const int z = at[2].integer();
    m_content.set<Component::Absolute_position>(id, "position",
                                                Point(at[0].integer(), at[1].integer()), false);

    const Image_maker make = [id, z](const std::string& path) {
        auto image =
            std::make_shared<Component::Image>(id, "image", path, z, Collision_type::UNCLICKABLE);
        image->set_relative_origin(0.5, 1.0);
        return image;
    };

    if (!node.has("states")) {
        load_locale_dependent_image(id, "image", node["skin"].string("images", "scenery", "png"),
                                    make, true);
        return;
    }

    auto state = m_content.get_or_set<Component::Simple<std::string>>(id, "state", "");
    read_states(
        id, "image", state, node["states"], true,
        [&](const std::string&, const Yaml::Node& entry) -> std::shared_ptr<Component::Base> {
            if (!entry.has("skin"))
                return nullptr;
            return load_locale_dependent_image(
                id, "image", entry["skin"].string("images", "scenery", "png"), make, false);
        });
}

} // namespace Orvane::System
