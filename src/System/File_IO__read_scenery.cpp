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
    std::shared_ptr<Component::Simple_conditional<std::string>> images;
    const Yaml::Node& states = node["states"];
    for (std::size_t i = 0; i < states.size(); ++i) {
        const std::string state_id = states[i]["id"].string();
        if (i == 0) {
            if (state->value().empty())
                state->set(state_id);
            images = m_content.set<Component::Simple_conditional<std::string>>(id, "image", state);
        }
        if (states[i].has("skin"))
            images->add(state_id,
                        load_locale_dependent_image(
                            id, "image", states[i]["skin"].string("images", "scenery", "png"), make,
                            false));
        else
            images->add(state_id, nullptr);
    }
}

} // namespace Orvane::System
