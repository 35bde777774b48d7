#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

using Third_party::Yaml;

namespace {

/// Whether the character faces left, as its head shows.
bool faces_left(const Content& content, const std::string& id) {
    auto head = content.get<Component::Animation>(Key::head(id), "image");
    return !head->faces_right();
}

double scale_of(const Content& content, const std::string& entity) {
    return content.get<Component::Image>(entity, "image")->scale();
}

Point label_point(const Content& content, const std::string& id) {
    auto body = content.request<Component::Image>(Key::body(id), "image");
    const Point offset = content.get<Component::Position>(id, "relative_label")->value();
    const double s = body ? body->scale() : 1.0;
    return content.get<Component::Position>(id, "position")->value() +
           Vector(offset.x() * s, offset.y() * s);
}

Point view_point(const Content& content, const std::string& id) {
    const Point offset = content.get<Component::Position>(id, "relative_view")->value();
    const double x = faces_left(content, id) ? -offset.x() : offset.x();
    return content.get<Component::Position>(id, "position")->value() + Vector(x, offset.y());
}

Point head_point(const Content& content, const std::string& id) {
    const Vector gap = content
                           .get<Component::Simple<Vector>>(
                               Key::head(id), faces_left(content, id) ? "gap_left" : "gap_right")
                           ->value();
    const Point move = content.get<Component::Position>(Key::head_move(id), "position")->value();
    const double s = scale_of(content, Key::body(id));
    return content.get<Component::Position>(Key::body(id), "position")->value() -
           Vector(gap.x() + move.x(), gap.y() + move.y()) * s;
}

Point mouth_point(const Content& content, const std::string& id) {
    const Vector gap = content
                           .get<Component::Simple<Vector>>(
                               Key::mouth(id), faces_left(content, id) ? "gap_left" : "gap_right")
                           ->value();
    const double s = scale_of(content, Key::head(id));
    return content.get<Component::Position>(Key::head(id), "position")->value() - gap * s;
}

} // namespace

void File_IO::read_character(const std::string& id, const Yaml::Node& node) {
    const Yaml::Node& coordinates = list_of(node, id, "coordinates", 2);
    auto position = m_content.request<Component::Absolute_position>(id, "position");
    if (!position)
        position = m_content.set<Component::Absolute_position>(
            id, "position", Point(coordinates[0].integer(), coordinates[1].integer()), false);

    const Content* content = &m_content;
    auto place = [&](const std::string& key, Point (*point)(const Content&, const std::string&)) {
        const Yaml::Node& pair = list_of(node, id, key, 2);
        const Point at(pair[0].integer(), pair[1].integer());
        if (pair[0].is_relative()) {
            m_content.set<Component::Absolute_position>(id, "relative_" + key, at, false);
            m_content.set<Component::Functional_position>(
                id, key, [content, point](const std::string& arg) { return point(*content, arg); },
                id, false);
        } else {
            m_content.set<Component::Absolute_position>(id, key, at, false);
        }
    };
    if (node.has("label"))
        place("label", label_point);
    if (node.has("view"))
        place("view", view_point);
    else
        m_content.set<Component::Variable>(id, "view", position);

    m_content.set<Component::Simple<std::string>>(id, "name", node["name"].string());
    m_content.set<Component::Simple<std::string>>(id, "color", node["color"].string());
    m_content.set<Component::Boolean>(id, "uses_2nd_map",
                                      node.has("uses_secondary_ground_map") &&
                                          node["uses_secondary_ground_map"].boolean());
    if (node.has("no_interact"))
        emit(id, "no_interact");

    const std::string initial_state =
        node.has("states") ? list_of(node, id, "states", 1)[0].string() : "default";
    if (!m_content.request<Component::Simple<std::string>>(id, "state"))
        m_content.set<Component::Simple<std::string>>(id, "state", initial_state);

    read_verbs(id, node);

    if (node.has("skin"))
        read_character_skin(id, node, initial_state);
}

void File_IO::read_character_skin(const std::string& id, const Yaml::Node& node,
                                  const std::string& initial_state) {
    const std::string where = (node.file ? *node.file : std::string("?")) + ":" +
                              std::to_string(node.line) + ": " + id;
    const Yaml::Node& skin = node["skin"];
    auto state = m_content.get<Component::Simple<std::string>>(id, "state");
    auto position = m_content.get<Component::Position>(id, "position");
    const bool looking_right = node["looking_right"].boolean();

    if (skin.has("head_move_radius"))
        m_content.set<Component::Simple<int>>(id, "head_move_radius",
                                              skin["head_move_radius"].integer());

    bool visible = true;
    if (auto shown = m_content.request<Component::Boolean>(id, "visible")) {
        visible = shown->value();
        m_content.remove(id, "visible");
    }

    // A global character keeps every part of its appearance across room changes, not only
    // the components filed under its own id.
    if (signal(id, "is_global"))
        for (const char* part : {"_body", "_head", "_mouth", "_idle", "_head_move"})
            emit(id + part, "is_global");

    auto walking = m_content.set<Component::Boolean>(id, "walking", false);
    auto group = m_content.set<Component::Group>(id, "group");

    auto sheet = [&](const std::string& entity, const Yaml::Node& part, int columns, int rows,
                     double origin_y) {
        auto animation = std::make_shared<Component::Animation>(
            entity, "image", part["skin"].string("images", "characters", "png"), 0, columns, rows,
            true);
        animation->set_relative_origin(0.5, origin_y);
        animation->on() = visible;
        return animation;
    };
    auto positions = [&](const Yaml::Node& part, const char* name) {
        std::vector<std::string> values = part["positions"].string_array();
        ORVANE_CHECK(!values.empty(), where + ": \"" + name + "\" has no \"positions\"");
        return values;
    };
    auto columns_of = [&](const Yaml::Node& part, const char* name, const char* key, int fallback) {
        const int columns = part.has(key) ? part[key].integer() : fallback;
        ORVANE_CHECK(columns >= 1, where + ": \"" + name + "\" has a \"" + key + "\" of " +
                                       std::to_string(columns));
        return columns;
    };

    const Yaml::Node& mouth_node = skin["mouth"];
    auto mouth =
        sheet(Key::mouth(id), mouth_node, columns_of(mouth_node, "mouth", "size", 11), 2, 1.0);
    m_content.set(mouth);
    group->add(mouth);

    const Yaml::Node& head_node = skin["head"];
    const std::vector<std::string> head_positions = positions(head_node, "head");
    m_content.set<Component::Vector<std::string>>(Key::head(id), "values", head_positions);
    auto head = sheet(Key::head(id), head_node, static_cast<int>(head_positions.size()), 2, 1.0);
    m_content.set(head);
    group->add(head);

    std::shared_ptr<Component::Animation> walk;
    if (skin.has("walk"))
        walk = sheet(Key::body(id), skin["walk"], columns_of(skin["walk"], "walk", "steps", 8), 4,
                     0.95);

    const Yaml::Node& idle_node = skin["idle"];
    const std::vector<std::string> idle_positions = positions(idle_node, "idle");
    m_content.set<Component::Vector<std::string>>(Key::idle(id), "values", idle_positions);
    auto idle = sheet(Key::body(id), idle_node, static_cast<int>(idle_positions.size()), 2, 0.95);

    auto body = m_content.set<Component::Conditional>(Key::body(id), "image", walking, walk, idle);
    group->add(body);

    auto hit =
        std::make_shared<Component::Image>(id, "conditional_image", idle->width() / 2,
                                           static_cast<int>(idle->height() * 1.05), 0, 0, 0, 0);
    hit->z() = 0;
    hit->set_relative_origin(0.5, 0.95);

    auto image = m_content.set<Component::Simple_conditional<std::string>>(id, "image", state);
    if (node.has("states")) {
        const std::vector<std::string> states = node["states"].string_array();
        for (const std::string& s : states)
            image->add(s, hit);
    } else {
        image->add(initial_state, hit);
    }
    image->add("player", nullptr);
    group->add(image);

    auto gap = [&](const std::string& entity, const Yaml::Node& part) {
        const int dy = part["dy"].integer();
        m_content.set<Component::Simple<Vector>>(entity, "gap_right",
                                                 Vector(part["dx_right"].integer(), dy));
        m_content.set<Component::Simple<Vector>>(entity, "gap_left",
                                                 Vector(part["dx_left"].integer(), dy));
    };
    gap(Key::head(id), head_node);
    gap(Key::mouth(id), mouth_node);

    const Content* content = &m_content;
    m_content.set<Component::Variable>(Key::body(id), "position", position);
    m_content.set<Component::Absolute_position>(Key::head_move(id), "position", Point(0, 0), false);
    m_content.set<Component::Functional_position>(
        Key::head(id), "position",
        [content](const std::string& arg) { return head_point(*content, arg); }, id, false);
    m_content.set<Component::Functional_position>(
        Key::mouth(id), "position",
        [content](const std::string& arg) { return mouth_point(*content, arg); }, id, false);
    m_content.set<Component::Absolute_position>(id, "lookat",
                                                Point(looking_right ? 1e10 : -1e10, 0), true);
}

} // namespace Orvane::System
