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
    m_name_index.max_load_factor(1.0f);
    for (std::size_t i = 0; i < std::size(own_map_names); ++i)
        m_name_index.emplace(own_map_names[i], i + 1);
}

std::size_t Content::map_index(const std::string& component) const {
    auto it = m_name_index.find(component);
    return it == m_name_index.end() ? 0 : it->second;
}

void Content::file(const Component_ptr& c) {
    Component_map& map = m_maps[map_index(c->component())];
    auto it = map.find(c->id());
    if (it != map.end())
        it->second = c;
    else
        map.emplace(c->id(), c);
}

Content::Component_ptr Content::find(const std::string& entity,
                                     const std::string& component) const {
    const Component_map& map = m_maps[map_index(component)];
    auto it = map.find(Component::Id(entity, component));
    return it == map.end() ? nullptr : it->second;
}

bool Content::remove(const std::string& entity, const std::string& component, bool optional) {
    Component_map& map = m_maps[map_index(component)];
    auto it = map.find(Component::Id(entity, component));
    if (it == map.end()) {
        ORVANE_CHECK(optional, "Id " + entity + ":" + component + " doesn't exist");
        return false;
    }
    map.erase(it);
    return true;
}

bool Content::remove(const Component_ptr& c, bool optional) {
    // Copies: the entry erased may hold the last reference to c's names.
    const Component::Id id = c->id();
    return remove(id.entity(), id.component(), optional);
}

void Content::emit(const std::string& entity, const std::string& component) {
    file(std::make_shared<Component::Signal>(entity, component));
}

bool Content::receive(const std::string& entity, const std::string& component) {
    Component_map& map = m_maps[map_index(component)];
    auto it = map.find(Component::Id(entity, component));
    if (it == map.end() || !Component::cast<Component::Signal>(it->second))
        return false;
    map.erase(it);
    return true;
}

bool Content::signal(const std::string& entity, const std::string& component) const {
    return request<Component::Signal>(entity, component) != nullptr;
}

Content::Component_map& Content::components(const std::string& component) {
    return m_maps[map_index(component)];
}

const Content::Component_map& Content::components(const std::string& component) const {
    return m_maps[map_index(component)];
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
        for (const auto& [key, c] : map)
            if (!drop(c))
                kept.emplace(key, c);
        map.swap(kept);
    }
}

} // namespace Orvane
