#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/File_IO__readers_fixture.h"
#include "support/Text.h"

namespace Orvane::Test {
namespace {

using Room_reader_DeathTest = Room_reader;

const std::string quay_room = "name: Quay\n";
const std::string door_object = "name: Door\ncoordinates: [1, 2, 3]\nbox_collision: true\n"
                                "view: [0, 0]\nstates:\n";
const std::string mara = R"(coordinates: [500, 600]
name: Mara
color: ff8800
looking_right: true
skin:
  mouth: {skin: mara_mouth, dx_right: 1, dx_left: 2, dy: 3}
  head: {skin: mara_head, positions: [front], dx_right: 10, dx_left: -10, dy: 100}
  idle: {skin: mara_idle, positions: [a, b, c]}
)";

/// One malformed file: the file under data/ (without ".yaml") and its text, the item read
/// (kind and name; kind "rooms" reads the room), and the message, matched literally but for
/// "LINE", the line of the file.
struct Broken_room {
    const char* file;
    std::string text;
    const char* kind;
    const char* name;
    const char* message;
};

// The message matched literally, but for "LINE", which stands for the line of the file.
std::string literal_with_line(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 4, "LINE") == 0) {
            out += "[0-9]+";
            i += 3;
            continue;
        }
        if (std::string("\\^$.|?*+()[]{}").find(text[i]) != std::string::npos)
            out += '\\';
        out += text[i];
    }
    return out;
}

TEST_F(Room_reader_DeathTest, MalformedFilesStopNamingFileAndKey) {
    const std::vector<Broken_room> cases = {
        {"rooms/other", quay_room, "rooms", "quay", "Can't open data/rooms/quay.yaml"},
        {"rooms/quay", "background: quay\n", "rooms", "quay", "Value name not found in Yaml input"},
        {"rooms/quay", quay_room + "ground_map: [quay_map]\nfront_z: 1\nback_z: 2\n", "rooms",
         "quay", "data/rooms/quay.yaml:LINE: quay: \"ground_map\" needs 2 items, has 1"},
        {"rooms/quay", quay_room + "objects: [ghost]\n", "rooms", "quay",
         "Can't open data/objects/ghost.yaml, asked for by data/rooms/quay.yaml"},
        {"rooms/quay", quay_room + "objects:\n  - {name: Door}\n", "rooms", "quay",
         "Value id not found in Yaml input"},
        {"objects/door", replaced(door_object, "[1, 2, 3]", "[1, 2]"), "objects", "door",
         "data/objects/door.yaml:LINE: door: \"coordinates\" needs 3 items, has 2"},
        {"rooms/quay",
         quay_room + "objects:\n  - {id: door, name: D, coordinates: [1], box_collision: true}\n",
         "rooms", "quay", "data/rooms/quay.yaml:LINE: door: \"coordinates\" needs 3 items, has 1"},
        {"objects/door", replaced(door_object, "view: [0, 0]", "view: [5]"), "objects", "door",
         "data/objects/door.yaml:LINE: door: \"view\" needs 2 items, has 1"},
        {"objects/crate",
         replaced(door_object, "box_collision: true\n", "box_collision: false\n") +
             "  - {id: here, size: [20, 30]}\n",
         "objects", "crate",
         "data/objects/crate.yaml:LINE: crate: state here: \"size\" needs \"box_collision\" true"},
        {"objects/crate", door_object + "  - {id: here, size: [20]}\n", "objects", "crate",
         "data/objects/crate.yaml:LINE: crate: \"size\" needs 2 items, has 1"},
        {"objects/lamp", door_object + "  - {id: lit, skin: lamp, frames: 0, duration: 2}\n",
         "objects", "lamp", "data/objects/lamp.yaml:LINE: lamp: state lit: \"frames\" is 0"},
        {"objects/lamp", door_object + "  - {id: lit, skin: lamp, frames: 4, duration: 0}\n",
         "objects", "lamp", "data/objects/lamp.yaml:LINE: lamp: state lit: \"duration\" is 0"},
        {"objects/lamp", door_object + "  - {id: lit, frames: 4, duration: 1}\n", "objects", "lamp",
         "data/objects/lamp.yaml:LINE: lamp: state lit: \"frames\" needs a \"skin\" or \"mask\""},
        {"animations/gull", "coordinates: [1, 2, 3]\nskin: gull\nloop: true\nlength: [0, 2]\n",
         "animations", "gull",
         "data/animations/gull.yaml:LINE: gull: \"length\" gives 0 x 2 cells"},
        {"animations/gull",
         "coordinates: [1, 2, 3]\nskin: gull\nloop: true\nlength: [4, 2]\nframes: [\"8\"]\n",
         "animations", "gull",
         "data/animations/gull.yaml:LINE: gull: \"frames\" entry 8 is outside the 4 x 2 grid"},
        {"animations/gull",
         "coordinates: [1, 2, 3]\nskin: gull\nloop: true\nlength: 4\nframes: [\"0x1\"]\n",
         "animations", "gull", "data/animations/gull.yaml:LINE: gull: \"frames\" gives no frame"},
        {"animations/gull",
         "coordinates: [1, 2, 3]\nskin: gull\nloop: true\nlength: 4\n"
         "frames: [\"2000000000x1\"]\n",
         "animations", "gull",
         "data/animations/gull.yaml:LINE: gull: \"frames\" entry 2000000000x1 repeats a cell more "
         "than 10000 times"},
        {"objects/crate", door_object + "  - {id: here, size: [0, 30]}\n", "objects", "crate",
         "data/objects/crate.yaml:LINE: crate: state here: \"size\" is 0 x 30"},
        {"animations/gull",
         "coordinates: [1, 2, 3]\nskin: gull\nloop: true\nlength: 4\nduration: 0\n", "animations",
         "gull", "data/animations/gull.yaml:LINE: gull: \"duration\" is 0"},
        {"characters/mara", replaced(mara, "positions: [front]", "positions: []"), "characters",
         "mara", "data/characters/mara.yaml:LINE: mara: \"head\" has no \"positions\""},
        {"characters/mara", replaced(mara, "mara_mouth,", "mara_mouth, size: 0,"), "characters",
         "mara", "data/characters/mara.yaml:LINE: mara: \"mouth\" has a \"size\" of 0"},
        {"dialogs/talk", "lines:\n  - line: [mara, Hi]\n    goto: nowhere\n", "dialogs", "talk",
         "data/dialogs/talk.yaml:LINE: talk: label \"nowhere\" names no line or choice"},
        {"dialogs/talk", "lines:\n  - line: [mara, Hi]\n    goto: later\n  - target: later\n",
         "dialogs", "talk",
         "data/dialogs/talk.yaml:LINE: talk: label \"later\" names no line or choice"},
        {"dialogs/talk", "lines:\n  - choices: [{line: Go, goto: end}]\n    goto: end\n", "dialogs",
         "talk", "data/dialogs/talk.yaml:LINE: talk: goto \"end\" (line 0) has no line"},
        {"dialogs/talk", "lines:\n  - line: [mara]\n", "dialogs", "talk",
         "data/dialogs/talk.yaml:LINE: talk: \"line\" needs 2 items, has 1"},
        {"codes/lock",
         "button_sound: bell\nsuccess_sound: bell\nfailure_sound: bell\n"
         "states: [{id: a, skin: [map]}]\nbuttons: []\nanswer: []\non_success: []\n",
         "codes", "lock", "data/codes/lock.yaml:LINE: lock: \"skin\" needs 2 items, has 1"},
        {"codes/lock",
         "button_sound: bell\nsuccess_sound: bell\nfailure_sound: bell\nstates: []\n"
         "buttons: [{value: \"1\", coordinates: [1, 2, 3]}]\nanswer: []\non_success: []\n",
         "codes", "lock", "data/codes/lock.yaml:LINE: lock: \"coordinates\" needs 4 items, has 3"},
        {"musics/sea", "tracks: [sea, gulls]\nsources: [{id: all, mix: [1]}]\n", "musics", "sea",
         "data/musics/sea.yaml:LINE: sea: \"mix\" needs 2 items, has 1"},
        {"texts/sign", "text: Hi\ncoordinates: [1, 2]\n", "texts", "sign",
         "data/texts/sign.yaml:LINE: sign: \"coordinates\" needs 3 items, has 2"},
        {"actions/hello", "effect:\n  - {talk: [a], wait: [1]}\n", "actions", "hello",
         "Checking for nstring in non-singular input (effect/0, data/actions/hello.yaml:LINE)"},
        {"actions/hello", "effect:\n  - func: [say]\n", "actions", "hello", "Say -> Greet -> Say"},
        {"actions/hello", "effect:\n  - func: [two, Hi]\n", "actions", "hello",
         "Function Two uses ARG1"},
        {"actions/hello", "modes:\n  - {id: Keyboard, effect: []}\n", "actions", "hello",
         "Invalid mode Keyboard"},
    };
    for (const Broken_room& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EXIT(
            {
                content.set<Component::Action>("Say", "function")->add("func", {"greet"});
                auto greet = content.set<Component::Action>("Greet", "function");
                greet->add("talk", {"x"});
                greet->add("func", {"say"});
                content.set<Component::Action>("Two", "function")->add("set", {"ARG0", "ARG1"});
                pack({{c.file, c.text}});
                if (std::string(c.kind) == "rooms")
                    file_io.read_room(c.name);
                else
                    file_io.read_item_file(c.kind, c.name);
            },
            ::testing::ExitedWithCode(1), literal_with_line(c.message));
    }
}

TEST_F(Room_reader_DeathTest, ReloadsNameWhoAskedForAMissingFile) {
    EXPECT_EXIT(
        {
            pack({{"rooms/quay", quay_room}});
            content.get<Component::Inventory>("Game", "inventory")->add("ghost");
            file_io.read_room("quay");
        },
        ::testing::ExitedWithCode(1),
        "Can't open data/objects/ghost.yaml, asked for by the inventory");
    EXPECT_EXIT(
        {
            pack({{"rooms/quay", quay_room}});
            content.set<Component::Vector<std::string>>("phone_numbers", "list",
                                                        std::vector<std::string>{"0600"});
            file_io.read_room("quay");
        },
        ::testing::ExitedWithCode(1),
        "Can't open data/actions/0600.yaml, asked for by the phone list");
}

} // namespace
} // namespace Orvane::Test
