// Writes seeds for fuzz_savefile: saves from the engine's own writer (a minimal game and a rich
// one: follower, phone numbers, music, resume points, a dialog, achievements, odd texts, depths,
// integers, signals), and the broken files that the reader must refuse without stopping.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <Packer/Package_writer.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Action.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/SDL_file.h>

#include "Seed_folder.h"

using namespace Orvane;

namespace {

void playing(Content& c) {
    c.set_fac<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION, "Camera",
                                            "position", Point(-12.25, 0));
    c.set<Component::Inventory>("Game", "inventory");
    for (auto [slot, name] :
         {std::pair{Fast_access_component::CLOCK_SAVED_TIME, "saved_time"},
          std::pair{Fast_access_component::CLOCK_TIME, "time"},
          std::pair{Fast_access_component::CLOCK_DISCOUNTED_TIME, "discounted_time"}})
        c.set_fac<Component::Simple<double>>(slot, "Clock", name, 25.25);
    c.set<Component::Simple<std::string>>("Game", "current_room", "quay");
    c.set<Component::Simple<std::string>>("Game", "current_room_name", "The quay");
    c.set<Component::Simple<std::string>>("Player", "name", "mara");
}

void rich(Content& c) {
    c.set<Component::Simple<std::string>>("Follower", "name", "pip");
    auto inventory = c.get<Component::Inventory>("Game", "inventory");
    inventory->add("rope");
    inventory->add("key");
    c.set<Component::Vector<std::string>>("phone_numbers", "list",
                                          std::vector<std::string>{"0612345678"});
    auto music = c.set<Component::Music>("quay_music", "music");
    music->add_source("sea", {1.0}, 0, 0, 0, 0);
    music->add_source("gulls", {1.0}, 0, 0, 0, 0);
    music->disable_source("gulls", 0, 0);
    c.set<Component::Variable>("Game", "music", music);
    c.set<Component::Simple<double>>("Quay_music", "resume_at", 12.5);
    c.set<Component::Simple<std::string>>("Game", "current_dialog", "ferran");
    c.set<Component::Simple<int>>("Game", "dialog_position", 3);
    c.set<Component::Vector<std::string>>("Achievements", "list",
                                          std::vector<std::string>{"first", "second"});
    c.emit("first", "done");
    c.emit("first", "stored");
    c.set<Component::Simple<std::string>>("door", "state", "")->set("open");
    c.set<Component::Simple<std::string>>("note", "state", "")->set("say \"hi\",\n}");
    c.set<Component::Simple<std::string>>("lamp", "state", "off");
    c.set<Component::Simple<std::string>>("lamp", "set_state", "lit");
    c.set<Component::Absolute_position>("box", "position", Point(0, 0))->set(Point(123.5, -7.5));
    c.set<Component::Absolute_position>("pip", "position", Point(0, 0))->set(Point(40, 900));
    c.set<Component::Simple<int>>("pip", "z", 40);
    c.emit("pip", "z_rescaled");
    c.set<Component::Simple<int>>("coins", "value", 0)->set(7);
    c.emit("rope_carried", "signal");
    c.emit("gull", "set_hidden");
}

Packer::Entry raw(const std::string& key, const std::string& text) {
    return {key, Packer::Storage::raw, std::vector<char>(text.begin(), text.end()), {}, -1};
}

} // namespace

int main(int argc, char** argv) {
    const auto seeds = Fuzz::seed_folder(argc, argv);
    if (!seeds)
        return 2;
    const std::filesystem::path& folder = seeds->folder;
    Packaged_asset_manager::init("", true);
    auto packages = Packer::build({raw("data/rooms/quay.yaml", "name: The quay\n")});
    Packaged_asset_manager::load({packages.begin(), packages.end()});

    std::string minimal;
    for (bool full : {false, true}) {
        Content content;
        playing(content);
        if (full)
            rich(content);
        content.set<Component::Simple<std::string>>("Savegame", "id", "auto");
        System::File_IO(content).write_savefile();
        const auto seed = folder / (full ? "save_rich.yaml" : "save_minimal.yaml");
        seeds->take("save_auto.yaml", seed.filename());
        if (!full) {
            std::ifstream in(seed, std::ios::binary);
            minimal.assign(std::istreambuf_iterator<char>(in), {});
        }
    }

    auto with = [&minimal](const std::string& section, const std::string& entries) {
        std::string text = minimal;
        const std::size_t at = text.find("\n" + section + ":\n");
        return text.insert(at + section.size() + 3, entries);
    };
    const std::vector<std::string> broken = {
        "",
        "date: 99\n",
        "date: 99\ntime: 12.5",
        "date: 99\ntim",
        "date: 99\ntime: 1.000000\nroom: \"quay\"\n",
        minimal.substr(0, minimal.find("states:")) + "states:\n  - { id: \"door\", val",
        minimal.substr(0, minimal.find("\npositions:") + 1),
        with("inventory", "  a: b\n"),
        with("states", "  - { id: \"door\" }\n"),
        with("positions", "  - { id: \"box\", value: [1] }\n"),
        with("positions", "  - { id: \"box\", value: [a, b] }\n"),
        with("integers", "  - { id: \"coins\", value: 2147483648 }\n"),
        with("states", "  - { id: \"Cursor\", value: hand }\n"),
        with("inventory", "  - \"sextant\"\n"),
        minimal + "dialog: \"ferran\"\n",
        minimal + "music: \"quay_music\"\n",
        "- date\n- 99\n",
        std::string("date: 99\ntime: 1\0.5\n", 20),
        "date: &d 99\ntime: *d\n",
        "date: 99\ntime: nan\nroom: \"quay\"\n",
        "time: -1\nroom: \"lab\"\n",
    };
    Fuzz::write_broken_seeds(folder, broken);
    return 0;
}
