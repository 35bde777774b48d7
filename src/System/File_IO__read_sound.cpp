#include <string>

#include <Orvane/Component/Music.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_sound(const std::string& id, const Yaml::Node& node) {
    m_content.set<Component::Sound>(id, "sound", node["sound"].string("sounds", "effects", "ogg"));
}

} // namespace Orvane::System
