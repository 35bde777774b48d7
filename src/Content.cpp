#include <Orvane/Content.h>

namespace Orvane {

namespace {

// Component names with a map of their own, in map-index order from 1.
constexpr const char* own_map_names[] = {"action",        "animation",    "end_notification",
                                         "gamepad",       "group",        "image",
                                         "label",         "lookat",       "move",
                                         "move60fps",     "notification", "name",
                                         "path",          "pause",        "play_sound",
                                         "position",      "rescale",      "rescale60fps",
                                         "resume_at",     "set_state",    "set_visible",
                                         "set_hidden",    "signal",       "start_animation",
                                         "start_talking", "state",        "stop_animation",
                                         "stop_talking",  "stop_walking", "value"};
static_assert(std::size(own_map_names) + 1 == Content::number_of_maps);

constexpr const char* slot_names[][2] = {{"CAMERA_POSITION", "Camera:position"},
                                         {"CAMERA_ZOOM", "Camera:zoom"},
                                         {"CURSOR_POSITION", "Cursor:position"},
                                         {"CLOCK_SAVED_TIME", "Clock:saved_time"},
                                         {"CLOCK_DISCOUNTED_TIME", "Clock:discounted_time"},
                                         {"CLOCK_TIME", "Clock:time"},
                                         {"CLOCK_LATEST_ACTIVE", "Clock:latest_active"},
                                         {"GAME_DEBUG", "Game:debug"},
                                         {"GAME_STATUS", "Game:status"},
                                         {"GAME_LOCALE", "Game:locale"},
                                         {"GAME_CURRENT_LOCALE", "Game:current_locale"},
                                         {"LOADING_SPIN_IMAGE", "Loading_spin:image"},
                                         {"LOADING_SPIN_POSITION", "Loading_spin:position"},
                                         {"INTERFACE_INPUT_MODE", "Interface:input_mode"},
                                         {"STICK_DIRECTION", "Stick:direction"}};
static_assert(std::size(slot_names) == Content::number_of_slots);

} // namespace

std::string fast_access_name(const Fast_access_component& slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (i >= std::size(slot_names))
        return "#" + std::to_string(i);
    return std::string(slot_names[i][0]) + " (" + slot_names[i][1] + ")";
}

Content::Content() : m_maps(number_of_maps) {
    for (std::size_t i = 0; i < std::size(own_map_names); ++i) {
        const Name n = name(own_map_names[i]);
        std::size_t slot = n.hash & (name_slots - 1);
        while (m_name_index[slot].index != 0)
            slot = (slot + 1) & (name_slots - 1);
        m_name_index[slot] = {n.text, n.hash, i + 1};
    }
}

std::string Content::joined(std::string_view entity, std::string_view component) {
    std::string out;
    out.reserve(entity.size() + 1 + component.size());
    out.append(entity).append(1, ':').append(component);
    return out;
}

std::size_t Content::map_index(std::string_view component) const {
    return map_index(name(component));
}

std::size_t Content::map_index(const Name& component) const {
    // Ends at the name's slot or at a free one: the table is never full.
    for (std::size_t slot = component.hash & (name_slots - 1);;
         slot = (slot + 1) & (name_slots - 1)) {
        const Name_slot& s = m_name_index[slot];
        if (s.index == 0)
            return 0;
        if (s.hash == component.hash && s.text == component.text)
            return s.index;
    }
}

void Content::file(const Component_ptr& c) {
    Component_map& map = map_of(name(c->component()));
    auto it = map.find(c->id());
    if (it != map.end())
        it->second = c;
    else
        map.emplace(c->id(), c);
}

Content::Component_ptr Content::find(std::string_view entity, std::string_view component) const {
    const Name n = name(component);
    const Component_map& map = map_of(n);
    auto it = map.find(key(entity, n));
    return it == map.end() ? nullptr : it->second;
}

bool Content::remove(std::string_view entity, std::string_view component, bool optional) {
    const Name n = name(component);
    Component_map& map = map_of(n);
    auto it = map.find(key(entity, n));
    if (it == map.end()) {
        ORVANE_CHECK(optional, "Id " + joined(entity, component) + " doesn't exist");
        return false;
    }
    // Nothing is read after the erase: the names may belong to the component it releases.
    map.erase(it);
    return true;
}

bool Content::remove(const Component_ptr& c, bool optional) {
    return remove(c->entity(), c->component(), optional);
}

void Content::emit(std::string_view entity, std::string_view component) {
    file(std::make_shared<Component::Signal>(std::string(entity), std::string(component)));
}

bool Content::receive(std::string_view entity, std::string_view component) {
    const Name n = name(component);
    Component_map& map = map_of(n);
    auto it = map.find(key(entity, n));
    if (it == map.end() || !Component::cast<Component::Signal>(it->second))
        return false;
    map.erase(it);
    return true;
}

bool Content::signal(std::string_view entity, std::string_view component) const {
    return request<Component::Signal>(entity, component) != nullptr;
}

Content::Component_map& Content::components(std::string_view component) {
    return map_of(name(component));
}

const Content::Component_map& Content::components(std::string_view component) const {
    return map_of(name(component));
}

std::vector<Content::Component_ptr> Content::collect(std::string_view component) const {
    const Name n = name(component);
    const std::size_t index = map_index(n);
    const Component_map& map = m_maps[index];
    std::vector<Component_ptr> out;
    out.reserve(map.size());
    for (const auto& [id, c] : map)
        // map 0 is shared by every name without a map of its own
        if (index != 0 || id.component() == component)
            out.push_back(c);
    return out;
}

bool Content::holds(const Component_ptr& c) const {
    const Name n = name(c->component());
    const Component_map& map = map_of(n);
    auto it = map.find(key(c->entity(), n));
    return it != map.end() && it->second == c;
}

void Content::clear() {
    for (auto& slot : m_fast_access)
        slot.reset();
    // The maps stay in place, emptied, so that a late lookup finds nothing instead of
    // reading past the end of the map list.
    for (auto& map : m_maps)
        Component_map().swap(map);
}

void Content::clear(const std::function<bool(Component_ptr)>& drop) {
    for (auto& map : m_maps) {
        Component_map kept;
        for (const auto& [id, c] : map)
            if (!drop(c))
                kept.emplace(id, c);
        map.swap(kept);
    }
}

} // namespace Orvane
