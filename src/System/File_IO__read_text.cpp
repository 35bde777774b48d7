#include <string>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_text(const std::string& id, const Yaml::Node& node) {
    const std::string text = node["text"].string();
    if (!node.has("coordinates")) {
        m_content.set<Component::Simple<std::string>>(id, "text", text);
        return;
    }
    auto font = m_content.get<Component::Font>(Key::dialog_font);
    const std::string color = node.has("color") ? node["color"].string() : "000000";
    const Yaml::Node& at = list_of(node, id, "coordinates", 3);
    m_content.set<Component::Absolute_position>(id, "position",
                                                Point(at[0].integer(), at[1].integer()), true);
    create_locale_dependent_text(id, font, color, text, at[2].integer());
}

} // namespace Orvane::System
