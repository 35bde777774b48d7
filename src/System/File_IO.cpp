#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

File_IO::File_IO(Content& content) : Base(content) {}

void File_IO::run() {}

void File_IO::read_config() {
    // The defaults that stand when there is no settings file.
    m_content.set_fac<Component::Simple<std::string>>(Fast_access_component::GAME_CURRENT_LOCALE,
                                                      "Game", "current_locale", "");
    m_content.set<Component::Boolean>("Window", "fullscreen", true);
    m_content.set_fac<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE,
                                                     "Interface", "input_mode", MOUSE);
    m_content.set<Component::Simple<int>>("Window", "width", -1);
    m_content.set<Component::Simple<int>>("Window", "height", -1);
}

void File_IO::read_init() {}

void File_IO::write_config() {}

void File_IO::write_savefile() {
    m_content.get<Component::Simple<std::string>>("Savegame", "id");
    remove("Savegame", "id");
}

} // namespace Orvane::System
