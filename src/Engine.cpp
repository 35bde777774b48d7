#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Engine.h>
#include <Orvane/Keys.h>
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
#include <Orvane/Utils/error.h>

namespace Orvane {

Engine::Engine(int argc, char** argv) {
    std::srand(static_cast<unsigned int>(std::time(nullptr)));
    handle_cmdline_args(argc, argv);
    Third_party::Steam::init();
}

Engine::~Engine() {
    // A run left without its teardown (a test that stopped early): release its systems in the
    // usual order, but write nothing.
    release_systems();
    m_content.clear();
    Third_party::Steam::shutdown();
}

void Engine::set_clock(Clock::Source now, Clock::Sleeper sleeper) {
    m_clock_source = std::move(now);
    m_clock_sleeper = std::move(sleeper);
}

void Engine::handle_cmdline_args(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg != "--locale" && arg != "-l") {
            // a mistyped option should not pass unnoticed, but it never keeps the game away
            warning("Unknown option " + arg + " is ignored (orvane --help lists the options)");
            continue;
        }
        if (i + 1 >= argc)
            break;
        m_content.set<Component::Simple<std::string>>(Key::cmdline_locale,
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
    s.time = std::make_shared<System::Time>(m_content, m_clock_source, m_clock_sleeper);
    s.animation = std::make_shared<System::Animation>(m_content);
    s.input = std::make_shared<System::Input>(m_content);
    s.logic = std::make_shared<System::Logic>(m_content);
    s.sound = std::make_shared<System::Sound>(m_content);
    return s;
}

bool Engine::run(const std::string& folder) {
    if (!start_up(folder))
        return false;
    while (run()) {
    }
    tear_down();
    return true;
}

void Engine::create_fixed_components(Content& content) {
    auto status =
        content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, Key::game_status);
    content.set_fac<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION,
                                                  Key::camera_position, Point(0, 0));
    content.set_fac<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM,
                                               Key::camera_zoom, 1.0);
    content.set<Component::Inventory>(Key::game_inventory);
    content.set<Component::Set<std::string>>(Key::game_visited_rooms);

    // Holds while the game is neither paused nor in a cutscene.
    auto not_paused =
        Component::make_not(Component::make_value_condition<Status>(status, Status::PAUSE));
    auto not_cutscene =
        Component::make_not(Component::make_value_condition<Status>(status, Status::CUTSCENE));
    content.set<Component::And>(Key::unlocked_condition, not_paused, not_cutscene);
}

bool Engine::start_up(const std::string& folder) {
    ORVANE_CHECK(!m_held.file_io,
                 "The engine is already running: start_up needs a tear_down first");
    if (!Packaged_asset_manager::init(folder, false))
        return false;

    create_fixed_components(m_content);
    m_content.emit(Key::game_just_launched);

    // Input, Logic and Sound are held by the run list alone, so that emptying it releases them
    // in that order; the others are held until teardown releases them.
    m_held = make_systems();
    m_systems = {m_held.file_io, m_held.input,     m_held.control, m_held.interface, m_held.menu,
                 m_held.logic,   m_held.animation, m_held.sound,   m_held.graphic,   m_held.time};
    m_held.input.reset();
    m_held.logic.reset();
    m_held.sound.reset();

    m_held.file_io->remove_stale_temporaries();
    m_held.file_io->read_config();
    m_held.graphic->init();
    m_content.emit(Key::window_rescaled);
    m_held.graphic->run();

    // Keeps the loading spinner turning while a room loads; the store, which holds this
    // callback, is cleared before these three systems go.
    System::Time* time_system = m_held.time.get();
    System::Animation* animation_system = m_held.animation.get();
    System::Graphic* graphic_system = m_held.graphic.get();
    m_content.set<Component::Simple<std::function<void()>>>(Key::game_loading_callback,
                                                            std::function<void()>([=] {
                                                                time_system->skip_limiter();
                                                                time_system->run();
                                                                if (animation_system->run_loading())
                                                                    graphic_system->run_loading();
                                                            }));

    m_held.file_io->read_init();
    m_held.control->init();
    m_held.interface->init();
    m_held.menu->init();
    return true;
}

void Engine::tear_down() {
    if (!m_held.file_io)
        return;
    m_held.file_io->write_config();
    if (m_content.receive(Key::game_save))
        m_held.file_io->write_savefile();
    release_systems();
}

void Engine::release_systems() {
    // Sound, Logic and Input, in that order (the others are still held).
    while (!m_systems.empty())
        m_systems.pop_back();
    m_held.interface.reset();
    m_content.clear();
    m_held.animation.reset();
    m_held.time.reset();
    m_held.menu.reset();
    m_held.control.reset();
    m_held.graphic.reset();
    m_held.file_io.reset();
}

bool Engine::run() {
    for (const auto& system : m_systems)
        system->run();
    Third_party::Steam::run();
    return !m_content.receive(Key::game_exit);
}

} // namespace Orvane
