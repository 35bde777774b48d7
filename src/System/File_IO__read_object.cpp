#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

using Component::Collision_type;
using Third_party::Yaml;

namespace {

std::string file_of(const Yaml::Node& node) { return node.file ? *node.file : std::string("?"); }

} // namespace

void File_IO::read_object(const std::string& id, const Yaml::Node& node) {
    auto state = m_content.get_or_set<Component::Simple<std::string>>(id, "state", "");

    const std::string name = node["name"].string();
    const Yaml::Node& coordinates = list_of(node, id, "coordinates", 3);
    const int x = coordinates[0].integer();
    const int y = coordinates[1].integer();
    const int z = coordinates[2].integer();
    const bool box = node["box_collision"].boolean();
    const Collision_type collision = box ? Collision_type::BOX : Collision_type::PIXEL_PERFECT;
    m_content.set<Component::Simple<std::string>>(id, "name", name);

    // a position kept from an earlier visit or a save stays where it is
    std::shared_ptr<Component::Position> position;
    if (auto kept = m_content.request<Component::Absolute_position>(id, "position")) {
        kept->is_interface() = false;
        position = kept;
    } else {
        position = m_content.set<Component::Absolute_position>(id, "position", Point(x, y), false);
    }

    auto place = [&](const char* key) {
        const Yaml::Node& pair = list_of(node, id, key, 2);
        const Point at(pair[0].integer(), pair[1].integer());
        if (pair[0].is_relative())
            m_content.set<Component::Relative_position>(id, key, position, Vector(at.x(), at.y()));
        else
            m_content.set<Component::Absolute_position>(id, key, at, false);
    };
    if (node.has("label"))
        place("label");
    place("view");
    if (node.has("reach_factor"))
        m_content.set<Component::Simple<double>>(id, "reach_factor",
                                                 node["reach_factor"].floating());

    // one state: its image, or null for an item that shows nothing in it
    const auto image_of = [&](const std::string& state_id,
                              const Yaml::Node& entry) -> std::shared_ptr<Component::Base> {
        const std::string where = file_of(node) + ":" + std::to_string(entry.line) + ": " + id +
                                  ": state " + state_id;
        if (!entry.has("skin") && !entry.has("size") && !entry.has("mask")) {
            ORVANE_CHECK(!entry.has("frames"), where + ": \"frames\" needs a \"skin\" or \"mask\"");
            return nullptr;
        }

        const bool inventory = startswith(state_id, "inventory");
        std::string file;
        if (entry.has("skin"))
            file = entry["skin"].string("images", inventory ? "inventory" : "objects", "png");
        else if (entry.has("mask"))
            file = entry["mask"].string("images", "masks", "png");

        std::shared_ptr<Component::Image> image;
        if (entry.has("frames")) {
            ORVANE_CHECK(!file.empty(), where + ": \"frames\" needs a \"skin\" or \"mask\"");
            const int frames = entry["frames"].integer();
            const int duration = entry["duration"].integer();
            ORVANE_CHECK(frames >= 1, where + ": \"frames\" is " + std::to_string(frames) +
                                          ", needs at least 1");
            ORVANE_CHECK(duration >= 1, where + ": \"duration\" is " + std::to_string(duration) +
                                            ", needs at least 1");
            auto animation = std::make_shared<Component::Animation>(
                id, "conditional_image", file, z, frames, 1, true, collision, true);
            animation->reset(true, duration);
            image = animation;
        } else if (file.empty()) {
            // a bare rectangle has no mask for a pixel-perfect hit test
            ORVANE_CHECK(box, where + ": \"size\" needs \"box_collision\" true");
            const Yaml::Node& size = list_of(entry, id, "size", 2);
            const int width = size[0].integer();
            const int height = size[1].integer();
            ORVANE_CHECK(width >= 1 && height >= 1, where + ": \"size\" is " +
                                                        std::to_string(width) + " x " +
                                                        std::to_string(height));
            image = std::make_shared<Component::Image>(id, "conditional_image", width, height, 0, 0,
                                                       0, 0);
            image->z() = z;
        } else {
            image = std::make_shared<Component::Image>(id, "conditional_image", file, z, collision,
                                                       true);
            if (!entry.has("skin"))
                image->set_alpha(0);
        }
        image->set_collision(collision);
        if (inventory) {
            image->set_relative_origin(0.5, 0.5);
            image->z() = Config::INTERFACE_ITEMS;
        } else {
            image->set_relative_origin(0.5, 1.0);
        }
        return image;
    };
    // the default state is not a change: saves leave it out
    read_states(id, "image", state, node["states"], false, image_of);

    read_verbs(id, node);
}

File_IO::Verb_components File_IO::read_object_action(const std::string& id, const std::string& verb,
                                                     const Yaml::Node& node) {
    using Conditional = Component::Simple_conditional<std::string>;
    const std::string verb_entity = id + "_" + verb;

    if (node.is_sequence && node.size() > 0) {
        auto state = m_content.get<Component::Simple<std::string>>(id, "state");
        auto labels = m_content.set<Conditional>(verb_entity, "label", state);
        auto actions = m_content.set<Conditional>(verb_entity, "action", state);
        for (std::size_t i = 0; i < node.size(); ++i) {
            const std::string state_id = node[i]["state"].string();
            const Verb_components read = read_object_action(id, verb, node[i]);
            labels->add(state_id, read.first);
            actions->add(state_id, read.second);
        }
        return {labels, actions};
    }

    std::string target = verb;
    if (node.has("object"))
        target += "_" + node["object"].string();
    const std::string target_entity = id + "_" + target;

    std::shared_ptr<Component::Base> label;
    std::shared_ptr<Component::Base> action;
    if (node.has("label"))
        label = std::make_shared<Component::Simple<std::string>>(verb_entity, "label",
                                                                 node["label"].string());
    if (node.has("right"))
        m_content.set<Component::Boolean>(verb_entity, "right", node["right"].boolean());
    if (node.has("effect")) {
        auto steps = std::make_shared<Component::Action>(target_entity, "action");
        read_steps(node["effect"], *steps, true);
        action = steps;
    }
    if (node.has("state")) {
        auto state = m_content.get<Component::Simple<std::string>>(id, "state");
        const std::string state_id = node["state"].string();
        auto labels = m_content.request<Conditional>(verb_entity, "label");
        if (!labels)
            labels = m_content.set<Conditional>(verb_entity, "label", state);
        auto actions = m_content.request<Conditional>(target_entity, "action");
        if (!actions)
            actions = m_content.set<Conditional>(target_entity, "action", state);
        labels->add(state_id, label);
        actions->add(state_id, action);
        label = labels;
        action = actions;
    }
    if (signal(id, "is_global")) {
        emit(target_entity, "is_global");
        emit(verb_entity, "is_global");
    }
    return {label, action};
}

void File_IO::read_verbs(const std::string& id, const Yaml::Node& node) {
    for (const char* verb : Config::possible_actions) {
        if (!node.has(verb))
            continue;
        auto store = [&](const Verb_components& read) {
            if (read.first)
                m_content.set(read.first);
            if (read.second)
                m_content.set(read.second);
        };
        const Yaml::Node& entry = node[verb];
        if (std::string(verb) == "inventory")
            for (std::size_t i = 0; i < entry.size(); ++i)
                store(read_object_action(id, verb, entry[i]));
        else
            store(read_object_action(id, verb, entry));
    }
}

} // namespace Orvane::System
