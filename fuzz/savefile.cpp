// Fuzzes the save reader: any byte string is the player's save file. A broken save must never
// stop the game, so any fatal check is a finding here. A save the reader takes must also come
// out of the writer in a form the reader takes again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <Packer/Package_writer.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Action.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>

#include "Per_user_file.h"
#include "support/Save_store.h"

namespace {

using namespace Orvane;

// The components the engine creates before any system runs, and the time system's clock.
void fixed_components(Content& c) {
    Test::save_components(c);
    c.set<Component::Action>("Logic", "action");
}

Packer::Entry raw(const std::string& key, const std::string& text) {
    return {key, Packer::Storage::raw, std::vector<char>(text.begin(), text.end()), {}, -1};
}

std::string pref;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pref = Fuzz::start_per_user_target("save reader");
    // the game holds one room, two objects, two characters and one phone number
    Packaged_asset_manager::init("", true);
    auto packages =
        Packer::build({raw("data/rooms/quay.yaml", "name: The quay\ncharacters: [mara, pip]\n"),
                       raw("data/characters/mara.yaml", Test::character_file()),
                       raw("data/characters/pip.yaml", Test::character_file()),
                       raw("data/actions/0612345678.yaml", "effect: []\n"),
                       raw("data/objects/rope.yaml", "name: Rope\n"),
                       raw("data/objects/key.yaml", "name: Key\n")});
    Packaged_asset_manager::load({packages.begin(), packages.end()});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(pref + "save_auto.yaml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Content content;
    fixed_components(content);
    System::File_IO file_io(content);
    if (!file_io.read_savefile("auto"))
        return 0;

    // Written again from what was read, the save must still be taken.
    const std::string room =
        content.get<Component::Simple<std::string>>("Game", "new_room")->value();
    content.set<Component::Simple<std::string>>("Game", "current_room", room);
    content.set<Component::Simple<std::string>>("Game", "current_room_name", "The quay");
    content.set<Component::Simple<std::string>>("Savegame", "id", "auto");
    file_io.write_savefile();
    Content again;
    fixed_components(again);
    if (!System::File_IO(again).read_savefile("auto")) {
        std::fprintf(stderr, "save fault: a save written from a read save is refused\n");
        std::abort();
    }
    return 0;
}
