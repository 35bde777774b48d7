#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Debug.h>
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
#include <Orvane/Third_party/SDL_events.h>

#include "support/Event_feed.h"
#include "support/Manual_clock.h"
#include "support/Packed_game.h"

namespace {

namespace fs = std::filesystem;
using namespace Orvane;
using Log = std::vector<std::string>;

// A component that notes in the log when the store lets it go.
class Marker : public Component::Base {
  public:
    Marker(const std::string& entity, const std::string& component, Log& log)
        : Base(entity, component), m_log(log) {}
    ~Marker() override { m_log.push_back("store cleared"); }

  private:
    Log& m_log;
};

// The "entity:component" keys held in the store.
std::set<std::string> keys(const Content& content) {
    std::set<std::string> out;
    for (const auto& map : content)
        for (const auto& entry : map)
            out.insert(entry.second->entity() + ":" + entry.second->component());
    return out;
}

// Runs a check of the store at a given moment of the run.
using Probe = std::function<void(Content&)>;

// A system that only records its life in the log; `on_run` acts in a chosen frame.
class Recorder : public System::Base {
  public:
    Recorder(Content& content, Log& log, std::string name,
             std::function<void(Content&, int frame)> on_run = {})
        : Base(content), m_log(log), m_name(std::move(name)), m_on_run(std::move(on_run)) {
        m_log.push_back("new " + m_name);
    }
    ~Recorder() override { m_log.push_back("~" + m_name); }
    void init() override { m_log.push_back("init " + m_name); }
    void run() override {
        ++m_frame;
        m_log.push_back(m_name);
        if (m_on_run)
            m_on_run(m_content, m_frame);
    }

  private:
    Log& m_log;
    std::string m_name;
    std::function<void(Content&, int)> m_on_run;
    int m_frame = 0;
};

// One of the engine's own systems, with its life recorded in the log.
template <typename T> class Logged : public T {
  public:
    template <typename... Args>
    Logged(Content& content, Log& log, std::string name, Args&&... args)
        : T(content, std::forward<Args>(args)...), m_log(log), m_name(std::move(name)) {
        m_log.push_back("new " + m_name);
    }
    ~Logged() override { m_log.push_back("~" + m_name); }
    void run() override {
        T::run();
        m_log.push_back(m_name);
    }

  private:
    Log& m_log;
    std::string m_name;
};

// The data-file system with its engine-facing operations recorded. Like the real one it
// consumes Game:save at the start of every frame.
class Test_file_io : public Logged<System::File_IO> {
  public:
    Test_file_io(Content& content, Log& log, Probe after_read_init)
        : Logged(content, log, "File_IO"), m_log(log), m_probe(std::move(after_read_init)) {}
    void run() override {
        if (m_content.receive("Game", "save"))
            m_log.push_back("save in frame");
        Logged::run();
    }
    void read_config() override {
        File_IO::read_config();
        m_log.push_back("read_config");
    }
    void read_init() override {
        m_log.push_back("read_init");
        if (m_probe)
            m_probe(m_content);
    }
    void write_config() override { m_log.push_back("write_config"); }
    void write_savefile() override { m_log.push_back("write_savefile"); }

  private:
    Log& m_log;
    Probe m_probe;
};

// An engine whose systems record what they do; `input`, `logic` act in chosen frames. Its
// clock stands still unless the test moves `clock`.
class Test_engine : public Engine {
  public:
    Test_engine(Log& log, std::function<void(Content&, int)> input,
                std::function<void(Content&, int)> logic = {}, Probe after_read_init = {},
                std::vector<const char*> args = {"orvane"})
        : Engine(static_cast<int>(args.size()), const_cast<char**>(args.data())), m_log(log),
          m_input(std::move(input)), m_logic(std::move(logic)),
          m_probe(std::move(after_read_init)) {
        set_clock(clock.source(), clock.sleeper());
    }

    Orvane::Test::Manual_clock clock;

  protected:
    Systems make_systems() override {
        // the fixed components exist before any system is built
        EXPECT_TRUE(content().request<Component::Status>("Game", "status"));
        EXPECT_TRUE(content().request<Component::Absolute_position>("Camera", "position"));
        EXPECT_TRUE(content().request<Component::Simple<double>>("Camera", "zoom"));
        Systems s;
        s.file_io = std::make_shared<Test_file_io>(content(), m_log, m_probe);
        s.graphic = std::make_shared<Logged<System::Graphic>>(content(), m_log, "Graphic");
        s.control = std::make_shared<Recorder>(content(), m_log, "Control");
        s.interface = std::make_shared<Recorder>(content(), m_log, "Interface");
        s.menu = std::make_shared<Recorder>(content(), m_log, "Menu");
        s.time = std::make_shared<Logged<System::Time>>(content(), m_log, "Time", clock_source(),
                                                        clock_sleeper());
        s.animation = std::make_shared<Logged<System::Animation>>(content(), m_log, "Animation");
        s.input = std::make_shared<Recorder>(content(), m_log, "Input", m_input);
        s.logic = std::make_shared<Recorder>(content(), m_log, "Logic", m_logic);
        s.sound = std::make_shared<Recorder>(content(), m_log, "Sound");
        return s;
    }

  private:
    Log& m_log;
    std::function<void(Content&, int)> m_input;
    std::function<void(Content&, int)> m_logic;
    Probe m_probe;
};

std::function<void(Content&, int)> emit_in_frame(int frame, std::vector<std::string> signals) {
    return [frame, signals](Content& content, int now) {
        if (now != frame)
            return;
        for (const auto& s : signals) {
            const auto colon = s.find(':');
            content.emit(s.substr(0, colon), s.substr(colon + 1));
        }
    };
}

const Log one_frame = {"File_IO", "Input",     "Control", "Interface", "Menu",
                       "Logic",   "Animation", "Sound",   "Graphic",   "Time"};

Log frames(int n) {
    Log out;
    for (int i = 0; i < n; ++i)
        out.insert(out.end(), one_frame.begin(), one_frame.end());
    return out;
}

Log concat(std::initializer_list<Log> parts) {
    Log out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Log start_up = {"new File_IO", "new Graphic",  "new Control",    "new Interface",
                      "new Menu",    "new Time",     "new Animation",  "new Input",
                      "new Logic",   "new Sound",    "read_config",    "Graphic",
                      "read_init",   "init Control", "init Interface", "init Menu"};

const Log teardown = {"~Sound", "~Logic", "~Input",   "~Interface", "~Animation",
                      "~Time",  "~Menu",  "~Control", "~Graphic",   "~File_IO"};

std::shared_ptr<Component::Simple<std::string>> cmdline_locale(Engine& engine) {
    return engine.content().request<Component::Simple<std::string>>("Cmdline", "locale");
}

TEST(EngineTest, CommandLineLocale) {
    struct Case {
        std::vector<const char*> args;
        const char* locale; // null: no Cmdline:locale
    };
    const std::vector<Case> cases = {
        {{"orvane"}, nullptr},
        {{"orvane", "--fullscreen", "fr"}, nullptr},
        {{"orvane", "--locale", "fr_FR"}, "fr_FR"},
        {{"orvane", "-l", "de"}, "de"},
        {{"orvane", "x", "-l", "de", "y"}, "de"},
        {{"orvane", "-l", "de", "--locale", "it"}, "it"},
        {{"orvane", "--locale"}, nullptr},
        {{"orvane", "-l", "de", "-l"}, "de"},
        {{"orvane", "-l", "-l"}, "-l"},
    };
    for (const auto& c : cases) {
        std::string trace;
        for (const char* a : c.args)
            trace += std::string(a) + " ";
        SCOPED_TRACE(trace);
        auto args = c.args;
        Engine engine(static_cast<int>(args.size()), const_cast<char**>(args.data()));
        auto locale = cmdline_locale(engine);
        if (c.locale == nullptr) {
            EXPECT_FALSE(locale);
        } else {
            ASSERT_TRUE(locale);
            EXPECT_EQ(locale->value(), c.locale);
        }
    }
}

TEST(EngineTest, MissingDataFolderFailsWithoutWindowOrComponents) {
    Log log;
    Test_engine engine(log, {});
    EXPECT_FALSE(engine.run("/nonexistent/orvane/data/"));
    EXPECT_TRUE(log.empty()) << "no system may be built";
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_FALSE(engine.content().request<Component::Status>("Game", "status"));
}

TEST(EngineTest, ExecutableWithoutDataEndsWithStatusOne) {
    const char* build = std::getenv("ORVANE_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    const fs::path folder =
        fs::temp_directory_path() / ("orvane_no_data_" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::copy_file(fs::path(build) / "orvane", folder / "orvane",
                  fs::copy_options::overwrite_existing);
    const int status = std::system((folder / "orvane").string().c_str());
    fs::remove_all(folder);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(EngineTest, StartUpFramesAndTeardownRunInOrder) {
    const Orvane::Test::Packed_game game;
    Log log;
    bool probed = false;
    Probe probe = [&](Content& content) {
        probed = true;
        auto status = content.request<Component::Status>("Game", "status");
        ASSERT_TRUE(status);
        EXPECT_EQ(content.request<Component::Status>(Fast_access_component::GAME_STATUS), status);
        auto camera =
            content.request<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION);
        ASSERT_TRUE(camera);
        EXPECT_EQ(camera->value().x(), 0.0);
        EXPECT_EQ(camera->value().y(), 0.0);
        EXPECT_EQ(content.value<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM),
                  1.0);
        EXPECT_TRUE(content.request<Component::Inventory>("Game", "inventory"));
        EXPECT_TRUE(content.request<Component::Set<std::string>>("Game", "visited_rooms"));
        EXPECT_TRUE(content.signal("Game", "just_launched"));
        EXPECT_FALSE(content.signal("Window", "rescaled")) << "the first frame consumed it";

        auto unlocked = content.request<Component::And>("Unlocked", "condition");
        ASSERT_TRUE(unlocked);
        EXPECT_TRUE(unlocked->value());
        for (auto blocking : {Status::PAUSE, Status::CUTSCENE}) {
            status->push(blocking);
            EXPECT_FALSE(unlocked->value());
            status->pop();
        }
        status->push(Status::DIALOG);
        EXPECT_TRUE(unlocked->value());
        status->pop();

        // the room reader's callback runs the time system once per call
        auto callback =
            content.request<Component::Simple<std::function<void()>>>("Game", "loading_callback");
        ASSERT_TRUE(callback);
        callback->value()();

        // held by the store alone: its release shows when the store is cleared
        content.set<Marker>("Test", "marker", log);
    };
    {
        Test_engine engine(log, emit_in_frame(3, {"Game:exit"}), {}, probe);
        EXPECT_TRUE(engine.run(game.folder()));
        EXPECT_EQ(engine.content().request<Component::Status>("Game", "status"), nullptr)
            << "the store is cleared at the end of the run";
    }
    EXPECT_TRUE(probed);
    Log expected = start_up;
    expected.insert(expected.begin() + 13, "Time"); // the loading callback, inside read_init
    Log expected_teardown = teardown;
    // the store is cleared after the Interface system goes and before the others
    expected_teardown.insert(expected_teardown.begin() + 4, "store cleared");
    EXPECT_EQ(log, concat({expected, frames(3), {"write_config"}, expected_teardown}));
}

TEST(EngineTest, FrameInWhichASystemEmitsExitCompletes) {
    const Orvane::Test::Packed_game game;
    for (const char* who : {"Input", "Logic"}) {
        SCOPED_TRACE(who);
        Log log;
        auto exit_now = emit_in_frame(1, {"Game:exit"});
        Test_engine engine(log, std::string(who) == "Input" ? exit_now : nullptr,
                           std::string(who) == "Logic" ? exit_now : nullptr);
        EXPECT_TRUE(engine.run(game.folder()));
        EXPECT_EQ(log, concat({start_up, frames(1), {"write_config"}, teardown}));
    }
}

TEST(EngineTest, SaveRequestedInTheLastFrameIsWrittenAfterTheSettings) {
    const Orvane::Test::Packed_game game;
    struct Case {
        const char* name;
        std::function<void(Content&, int)> logic;
        Log after_loop;
        int frames;
    };
    const std::vector<Case> cases = {
        {"save and exit together",
         emit_in_frame(1, {"Game:save", "Game:exit"}),
         {"write_config", "write_savefile"},
         1},
        {"save handled by the data system the frame before",
         [](Content& c, int frame) {
             if (frame == 1)
                 c.emit("Game", "save");
             if (frame == 2)
                 c.emit("Game", "exit");
         },
         {"write_config"},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Log log;
        Test_engine engine(log, {}, c.logic);
        EXPECT_TRUE(engine.run(game.folder()));
        Log loop = frames(c.frames);
        if (c.frames == 2)
            loop.insert(loop.begin() + 10, "save in frame");
        EXPECT_EQ(log, concat({start_up, loop, c.after_loop, teardown}));
    }
}

TEST(EngineTest, StepsOfARunMatchTheWholeRun) {
    const Orvane::Test::Packed_game game;
    Log log;
    Test_engine engine(log, {});
    engine.tear_down(); // nothing started: nothing to tear down
    EXPECT_TRUE(log.empty());
    ASSERT_TRUE(engine.start_up(game.folder()));
    EXPECT_EQ(log, start_up);
    for (int frame = 1; frame <= 3; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_TRUE(engine.run());
        EXPECT_EQ(log.size(), start_up.size() + one_frame.size() * std::size_t(frame));
    }
    engine.content().emit("Game", "save"); // pending after the last frame: written at teardown
    engine.tear_down();
    EXPECT_EQ(log, concat({start_up, frames(3), {"write_config", "write_savefile"}, teardown}));
    EXPECT_EQ(engine.content().request<Component::Status>("Game", "status"), nullptr);
    engine.tear_down(); // a second teardown finds nothing left
    EXPECT_EQ(log, concat({start_up, frames(3), {"write_config", "write_savefile"}, teardown}));
}

TEST(EngineTest, RunLeftWithoutTeardownIsReleasedWithoutWriting) {
    const Orvane::Test::Packed_game game;
    Log log;
    {
        Test_engine engine(log, {});
        ASSERT_TRUE(engine.start_up(game.folder()));
        EXPECT_TRUE(engine.run());
        engine.content().emit("Game", "save");
    }
    EXPECT_EQ(log, concat({start_up, frames(1), teardown}))
        << "neither the settings nor the save are written by the destructor";
}

char program_name[] = "orvane";
char* program_args[] = {program_name, nullptr};

// The engine's own data system, less the init file, which the empty data folder does not hold.
class No_init_file_io : public System::File_IO {
  public:
    using File_IO::File_IO;
    void read_init() override {}
};

// The engine's own systems, with a stand-in interface (its fixed entities are made of the init
// file's pictures and font, which the empty data folder does not hold) and a stand-in menu
// system (which builds nothing) that acts in chosen frames, for instance to end the game.
class Skeleton_engine : public Engine {
  public:
    explicit Skeleton_engine(std::function<void(Content&, int)> menu)
        : Engine(1, program_args), m_menu(std::move(menu)) {}

    Log log;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        s.file_io = std::make_shared<No_init_file_io>(content());
        s.interface = std::make_shared<Recorder>(content(), log, "Interface");
        s.menu = std::make_shared<Recorder>(content(), log, "Menu", m_menu);
        return s;
    }

  private:
    std::function<void(Content&, int)> m_menu;
};

TEST(EngineTest, EngineSystemsStartRunAndStop) {
    const Orvane::Test::Packed_game game;
    Skeleton_engine engine(emit_in_frame(5, {"Game:exit"}));
    EXPECT_TRUE(engine.run(game.folder()));
    EXPECT_EQ(engine.content().request<Component::Status>("Game", "status"), nullptr);
}

// The line of the debug overlay's text that begins with `prefix`.
std::string debug_line(Content& content, const std::string& prefix) {
    const std::string text =
        content.request<Component::Debug>(Fast_access_component::GAME_DEBUG)->debug_str();
    const std::size_t begin = text.find(prefix);
    if (begin == std::string::npos)
        return "";
    return text.substr(begin, text.find('\n', begin) - begin);
}

TEST(EngineTest, FramesStepOneAtATimeOnTheInjectedClock) {
    const Orvane::Test::Packed_game game;
    Orvane::Test::Manual_clock clock;
    clock.now = 7000;                // any start: play time counts from start-up
    Orvane::Test::Event_feed events; // input comes from the test alone, never from SDL's queue
    std::vector<int> seen;           // Test:frame as the menu system saw it, frame by frame
    Skeleton_engine engine([&](Content& content, int) {
        auto written = content.request<Component::Simple<int>>("Test", "frame");
        seen.push_back(written ? written->value() : -1);
    });
    ASSERT_TRUE(game.start(engine, clock));
    Content& content = engine.content();

    // The engine reads the packed game: its entries are the source files.
    std::ifstream source(game.source() + "/data/init.yaml", std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(source)),
                               std::istreambuf_iterator<char>());
    auto init = Packaged_asset_manager::open("data/init.yaml");
    std::vector<char> bytes(init.size());
    init.binary_read(bytes);
    init.close();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    const auto cursor = Packaged_asset_manager::image_info("images/interface/cursor.png");
    EXPECT_EQ(cursor.width, 8);
    EXPECT_EQ(cursor.height, 6);

    auto clock_time = [&] {
        return content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME);
    };
    const std::pair<int, std::string> overlay[] = {
        {59, "FPS = 0Hz"}, {60, "FPS = 60Hz"}, {119, "CPU = 0%"}, {120, "CPU = 100%"}};
    EXPECT_EQ(clock_time(), 0.0);
    for (int n = 1; n <= 150; ++n) {
        SCOPED_TRACE(testing::Message() << "frame " << n);
        clock.at_frame(n, 7000);
        content.set<Component::Simple<int>>("Test", "frame", n);
        if (n == 30)
            content.emit("Window", "rescaled");
        ASSERT_TRUE(engine.run());
        ASSERT_EQ(seen.size(), std::size_t(n));
        EXPECT_EQ(seen.back(), n) << "a component written between frames is read in the next";
        // Frame n happens at n/60 s, to the millisecond the clock counts in.
        EXPECT_EQ(clock_time(), double(Orvane::Test::Manual_clock::frame_ms(n)) / 1000);
        EXPECT_NEAR(clock_time(), n / 60.0, 0.0005);
        if (n == 30) {
            EXPECT_FALSE(content.signal("Window", "rescaled")) << "the graphic system took it";
        }
        // The overlay's figures come from the same clock: 60 frames in one second, each
        // frame's work running from one present to the next. The share of the first block
        // is taken (in frame 60's drawing) before the time system measured a rate.
        for (const auto& [frame, line] : overlay) {
            if (frame == n) {
                EXPECT_EQ(debug_line(content, line.substr(0, 3)), line);
            }
        }
    }
    EXPECT_EQ(debug_line(content, "In game time"), "In game time = 00:00:02");
    EXPECT_TRUE(clock.slept.empty()) << "no frame waited";

    // A close request fed as an input event ends the game at the end of the next frame.
    events.push(Event(Event_type::WINDOW, Event_value::EXIT, -1, -1));
    clock.at_frame(151, 7000);
    EXPECT_FALSE(engine.run());
    EXPECT_EQ(events.pending(), 0u);
    EXPECT_FALSE(content.signal("Game", "exit")) << "the engine took it";

    engine.tear_down();
    EXPECT_EQ(content.request<Component::Status>("Game", "status"), nullptr);
}

TEST(EngineTest, OpenedWindowSizeIsWrittenBackForTheSettings) {
    const Orvane::Test::Packed_game game;
    bool checked = false;
    Skeleton_engine engine([&](Content& content, int) {
        checked = true;
        for (const char* key : {"width", "height"}) {
            SCOPED_TRACE(key);
            auto size = content.get<Component::Simple<int>>("Window", key);
            EXPECT_GT(size->value(), 0) << "-1 asks for a size derived from the display";
            EXPECT_TRUE(size->was_altered());
        }
        content.emit("Game", "exit");
    });
    EXPECT_TRUE(engine.run(game.folder()));
    EXPECT_TRUE(checked);
}

TEST(EngineTest, ClosingTheWindowEndsTheGame) {
    const Orvane::Test::Packed_game game;
    Skeleton_engine engine([](Content& content, int frame) {
        if (frame == 10) {
            ADD_FAILURE() << "the close request was not seen";
            content.emit("Game", "exit");
        }
        if (frame == 2) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    });
    EXPECT_TRUE(engine.run(game.folder()));
    // Input runs before Menu: the request made in frame 2 ends frame 3
    EXPECT_EQ(std::count(engine.log.begin(), engine.log.end(), "Menu"), 3);
}

// The types and first values of the components that the systems' constructors create.
void check_system_components(Content& c) {
    auto cpu = c.request<Component::Simple<double>>("CPU", "usage");
    ASSERT_TRUE(cpu);
    EXPECT_EQ(cpu->value(), 0.0);

    auto debug = c.request<Component::Debug>(Fast_access_component::GAME_DEBUG);
    ASSERT_TRUE(debug);
    EXPECT_EQ(debug, c.request<Component::Debug>("Game", "debug"));
    EXPECT_FALSE(debug->value()) << "the overlay starts off";

    const std::pair<Fast_access_component, const char*> clocks[] = {
        {Fast_access_component::CLOCK_TIME, "time"},
        {Fast_access_component::CLOCK_LATEST_ACTIVE, "latest_active"},
        {Fast_access_component::CLOCK_DISCOUNTED_TIME, "discounted_time"},
        {Fast_access_component::CLOCK_SAVED_TIME, "saved_time"}};
    for (const auto& [slot, name] : clocks) {
        SCOPED_TRACE(name);
        auto clock = c.request<Component::Simple<double>>(slot);
        ASSERT_TRUE(clock);
        EXPECT_EQ(clock, c.request<Component::Simple<double>>("Clock", name));
        EXPECT_EQ(clock->value(), 0.0);
    }

    for (const char* entity : {"Logic", "Notifications"}) {
        SCOPED_TRACE(entity);
        auto action = c.request<Component::Action>(entity, "action");
        ASSERT_TRUE(action);
        EXPECT_EQ(action->size(), 0u);
    }
    auto hinter = c.request<Component::Simple<std::string>>("Hinter", "color");
    ASSERT_TRUE(hinter);
    EXPECT_EQ(hinter->value(), "FFFFFF");

    auto stick = c.request<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION);
    ASSERT_TRUE(stick);
    EXPECT_EQ(stick, c.request<Component::Simple<Vector>>("Stick", "direction"));
    EXPECT_EQ(stick->value(), Vector(0, 0));
}

TEST(EngineTest, SystemConstructorsCreateTheirComponents) {
    const Orvane::Test::Packed_game game;
    struct Checking_engine : Skeleton_engine {
        Checking_engine() : Skeleton_engine(emit_in_frame(1, {"Game:exit"})) {}
        Systems make_systems() override {
            Content& c = content();
            const std::set<std::string> before = keys(c);
            Systems s = Skeleton_engine::make_systems();
            std::set<std::string> created;
            for (const auto& key : keys(c))
                if (!before.count(key))
                    created.insert(key);
            EXPECT_EQ(created, (std::set<std::string>{
                                   "CPU:usage", "Clock:discounted_time", "Clock:latest_active",
                                   "Clock:saved_time", "Clock:time", "Game:debug", "Hinter:color",
                                   "Logic:action", "Notifications:action", "Stick:direction"}));

            check_system_components(c);
            return s;
        }
    } engine;
    EXPECT_TRUE(engine.run(game.folder()));
}

TEST(EngineTest, EachSystemCreatesOnlyItsOwnComponents) {
    using Factory = std::function<std::shared_ptr<System::Base>(Content&)>;
    struct Case {
        const char* name;
        Factory make;
        std::set<std::string> created;
    };
    auto make = [](auto tag) -> Factory {
        using T = typename decltype(tag)::type;
        return [](Content& c) { return std::make_shared<T>(c); };
    };
    const std::vector<Case> cases = {
        {"File_IO", make(std::type_identity<System::File_IO>{}), {}},
        {"Graphic", make(std::type_identity<System::Graphic>{}), {"CPU:usage"}},
        {"Control", make(std::type_identity<System::Control>{}), {}},
        {"Interface", make(std::type_identity<System::Interface>{}), {}},
        {"Menu", make(std::type_identity<System::Menu>{}), {}},
        {"Time",
         make(std::type_identity<System::Time>{}),
         {"Game:debug", "Clock:time", "Clock:latest_active", "Clock:discounted_time",
          "Clock:saved_time"}},
        {"Animation", make(std::type_identity<System::Animation>{}), {}},
        {"Input", make(std::type_identity<System::Input>{}), {"Stick:direction"}},
        {"Logic",
         make(std::type_identity<System::Logic>{}),
         {"Logic:action", "Notifications:action", "Hinter:color"}},
        {"Sound", make(std::type_identity<System::Sound>{}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Content content;
        auto system = c.make(content);
        EXPECT_EQ(keys(content), c.created);
        content.clear(); // Game:debug refers to the time system's clock
    }
}

} // namespace
