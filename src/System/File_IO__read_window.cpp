#include <memory>
#include <string>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Config.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_window(const std::string& id, const Yaml::Node& node) {
    const std::string picture = node["skin"].string("images", "windows", "png");
    load_locale_dependent_image(
        id, "image", picture,
        [id](const std::string& path) {
            auto image = std::make_shared<Component::Image>(
                id, "image", path, Config::INTERFACE_BACK, Component::Collision_type::UNCLICKABLE);
            image->set_relative_origin(0.5, 0.5);
            image->on() = false;
            return image;
        },
        true);
    // centred on the 1920 x 1080 scene
    m_content.set<Component::Absolute_position>(id, "position", Point(960, 540), true);
}

} // namespace Orvane::System
