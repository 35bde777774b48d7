#include <cstdlib>
#include <ctime>
#include <functional>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Control.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Input.h>
#include <Orvane/System/Interface.h>
#include <Orvane/System/Logic.h>
#include <Orvane/System/Menu.h>
#include <Orvane/System/Sound.h>
#include <Orvane/System/Time.h>
#include <Orvane/Third_party/Steam.h>

namespace Orvane {

Engine::Engine(int argc, char** argv) {
    std::srand(static_cast<unsigned int>(std::time(nullptr)));
    handle_cmdline_args(argc, argv);
    Third_party::Steam::init();
}

Engine::~Engine() {
    m_content.clear();
    Third_party::Steam::shutdown();
}

void Engine::handle_cmdline_args(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg != "--locale" && arg != "-l")
            continue;
        if (i + 1 >= argc)
            break;
        m_content.set<Component::Simple<std::string>>("Cmdline", "locale",
                                                      std::string(argv[i + 1]));
        ++i;
    }
}

Engine::Systems Engine::make_systems() {
    Systems s;
    s.file_io = std::make_shared<System::File_IO>(m_content);
    s.graphic = std::make_shared<System::Graphic>(m_content);
    s.control = std::make_shared<System::Control>(m_content);
    s.interface = std::make_shared<System::Interface>(m_content);
    s.menu = std::make_shared<System::Menu>(m_content);
    s.time = std::make_shared<System::Time>(m_content);
    s.animation = std::make_shared<System::Animation>(m_content);
    s.input = std::make_shared<System::Input>(m_content);
    s.logic = std::make_shared<System::Logic>(m_content);
    s.sound = std::make_shared<System::Sound>(m_content);
    return s;
}

bool Engine::run(const std::string& folder) {
    if (!Packaged_asset_manager::init(folder, false))
        return false;

    auto status =
        m_content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status");
    m_content.set_fac<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION,
                                                    "Camera", "position", Point(0, 0));
    m_content.set_fac<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM, "Camera",
                                                 "zoom", 1.0);
    m_content.set<Component::Inventory>("Game", "inventory");
    m_content.set<Component::Set<std::string>>("Game", "visited_rooms");
    m_content.emit("Game", "just_launched");

    // Holds while the game is neither paused nor in a cutscene.
    auto not_paused =
        Component::make_not(Component::make_value_condition<Status>(status, Status::PAUSE));
    auto not_cutscene =
        Component::make_not(Component::make_value_condition<Status>(status, Status::CUTSCENE));
    m_content.set<Component::And>("Unlocked", "condition", not_paused, not_cutscene);

    // Declared in construction order, so that those not released explicitly below go in the
    // reverse order: Animation, Time, Menu, Control, Graphic, File_IO.
    Systems systems = make_systems();
    std::shared_ptr<System::File_IO> file_io = systems.file_io;
    std::shared_ptr<System::Graphic> graphic = systems.graphic;
    std::shared_ptr<System::Base> control = systems.control;
    std::shared_ptr<System::Base> interface = systems.interface;
    std::shared_ptr<System::Base> menu = systems.menu;
    std::shared_ptr<System::Time> time = systems.time;
    std::shared_ptr<System::Animation> animation = systems.animation;
    m_systems = {systems.file_io, systems.input, systems.control,   systems.interface,
                 systems.menu,    systems.logic, systems.animation, systems.sound,
                 systems.graphic, systems.time};
    systems = Systems();

    file_io->read_config();
    graphic->init();
    m_content.emit("Window", "rescaled");
    graphic->run();

    // Keeps the loading spinner turning while a room loads; the store, which holds this
    // callback, is cleared before these three systems go.
    System::Time* time_system = time.get();
    System::Animation* animation_system = animation.get();
    System::Graphic* graphic_system = graphic.get();
    m_content.set<Component::Simple<std::function<void()>>>("Game", "loading_callback",
                                                            std::function<void()>([=] {
                                                                time_system->skip_limiter();
                                                                time_system->run();
                                                                if (animation_system->run_loading())
                                                                    graphic_system->run_loading();
                                                            }));

    file_io->read_init();
    control->init();
    interface->init();
    menu->init();

    while (run()) {
    }

    file_io->write_config();
    if (m_content.receive("Game", "save"))
        file_io->write_savefile();

    // Releases Sound, Logic and Input, in that order (the others are still held here).
    while (!m_systems.empty())
        m_systems.pop_back();
    interface.reset();
    m_content.clear();
    return true;
}

bool Engine::run() {
    for (const auto& system : m_systems)
        system->run();
    Third_party::Steam::run();
    return !m_content.receive("Game", "exit");
}

} // namespace Orvane
