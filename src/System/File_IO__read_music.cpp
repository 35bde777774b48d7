#include <string>
#include <vector>

#include <Orvane/Component/Music.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_music(const std::string& id, const Yaml::Node& node) {
    // the music playing goes on across the room change, with its sources and fades
    if (auto playing = m_content.request<Component::Music>(Key::game_music);
        playing && playing->entity() == id) {
        m_content.set(playing);
        node.consume();
        return;
    }

    auto music = m_content.set<Component::Music>(id, "music");
    const Yaml::Node& tracks = node["tracks"];
    for (std::size_t i = 0; i < tracks.size(); ++i)
        music->add_track(tracks[i].string("sounds", "musics", "ogg"));

    const Yaml::Node& sources = node["sources"];
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const Yaml::Node& source = sources[i];
        const std::string source_id = source["id"].string();
        const Yaml::Node& mix_list = list_of(source, id, "mix", music->tracks());
        std::vector<double> mix;
        for (std::size_t t = 0; t < music->tracks(); ++t)
            mix.push_back(mix_list[t].floating());
        if (source.has("radius")) {
            const Yaml::Node& at = list_of(source, id, "coordinates", 2);
            const Yaml::Node& radius = list_of(source, id, "radius", 2);
            music->add_source(source_id, mix, at[0].integer(), at[1].integer(), radius[0].integer(),
                              radius[1].integer());
        } else {
            music->add_source(source_id, mix, 0, 0, 0, 0);
        }
    }
    music->init();
}

} // namespace Orvane::System
