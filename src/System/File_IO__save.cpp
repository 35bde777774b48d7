#include "File_IO__save.h"

#include <string>

#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>

namespace Orvane::System {

bool is_save_id(const std::string& slot) {
    for (const char* id : Config::save_ids)
        if (slot == id)
            return true;
    return false;
}

std::string save_file_name(const Content& content, const std::string& slot) {
    return "save" + content.value<Component::Simple<std::string>>(Key::save_suffix, "") + "_" +
           slot + ".yaml";
}

bool is_system_name(const std::string& name) {
    return !name.empty() && name[0] >= 'A' && name[0] <= 'Z';
}

} // namespace Orvane::System
