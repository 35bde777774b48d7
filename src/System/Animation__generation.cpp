#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Animation.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Frame = Component::Animation::Frame;

/// A draw in a..b, both included.
int draw(int a, int b) { return random_int(a, b + 1); }

/// A draw among `candidates` that differs from `current`. When none differs, current stays:
/// a sheet with a single candidate holds it instead of drawing forever.
int draw_other(const std::vector<int>& candidates, int current) {
    if (std::none_of(candidates.begin(), candidates.end(), [&](int c) { return c != current; }))
        return current;
    int next = current;
    while (next == current)
        next = candidates[std::size_t(random_int(0, int(candidates.size())))];
    return next;
}

/// The columns first..last, in order (empty when last < first).
std::vector<int> columns(int first, int last) {
    std::vector<int> out;
    for (int c = first; c <= last; ++c)
        out.push_back(c);
    return out;
}

/// Back to the first frame with no frame left: what is appended next is the whole list.
void empty(Component::Animation& animation) {
    animation.reset(false, 1);
    animation.frames().clear();
}

void append(Component::Animation& animation, int column, int row, int duration) {
    animation.frames().push_back(Frame{column, row, duration, 0});
}

} // namespace

void Animation::generate_random_idle_animation(const std::string& id, bool looking_right) {
    if (!m_content.request<Component::Base>(id, "group"))
        return;
    generate_random_idle_body_animation(id, looking_right);
    generate_random_idle_head_animation(id, looking_right);
}

void Animation::generate_random_idle_body_animation(const std::string& id, bool looking_right) {
    m_content.get<Component::Boolean>(id, "walking")->set(false);
    auto body = m_content.get<Component::Animation>(Key::body(id), "image");
    body->on() = !signal(id, "is_hidden");
    empty(*body);
    const int row = looking_right ? 0 : 1;
    const std::vector<std::string>& names =
        m_content.get<Component::Vector<std::string>>(Key::idle(id), "values")->value();
    if (names.empty() || names[0] != "transition") {
        append(*body, 0, row, 1000);
        return;
    }
    std::vector<int> candidates;
    int pose = 1;
    bool has_default = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] != "default" && names[i] != "idle")
            continue;
        candidates.push_back(int(i));
        if (names[i] == "default") {
            pose = int(i);
            has_default = true;
        }
    }
    if (!has_default)
        pose = 1;
    for (int i = 0; i < 10; ++i) {
        append(*body, pose, row, draw(50, 499));
        append(*body, 0, row, 2);
        pose = draw_other(candidates, pose);
    }
}

void Animation::generate_random_idle_head_animation(const std::string& id, bool looking_right) {
    auto head = m_content.get<Component::Animation>(Key::head(id), "image");
    auto mouth = m_content.get<Component::Animation>(Key::mouth(id), "image");
    const bool visible = m_content.get<Component::Animation>(Key::body(id), "image")->on();
    empty(*head);
    empty(*mouth);
    head->on() = visible;
    mouth->on() = visible;
    const int row = looking_right ? 0 : 1;
    append(*mouth, 0, row, 1);

    const std::vector<int> others = columns(1, head->width_subdiv() - 1);
    // A head of one column has no column 1: it shows its only one.
    const int first = std::min(1, head->width_subdiv() - 1);
    int column = first;
    for (int period = 0; period < 10; ++period) {
        int left = draw(30, 299);
        while (true) {
            const int stretch = draw(5, 49);
            append(*head, column, row, std::min(stretch, left));
            if (left <= stretch)
                break;
            append(*head, 0, row, 1);
            left -= stretch;
        }
        if (draw(0, 3) == 0)
            column = head->width_subdiv() < 3 ? first : draw_other(others, column);
    }
}

void Animation::generate_random_mouth_animation(const std::string& id) {
    auto mouth = m_content.request<Component::Animation>(Key::mouth(id), "image");
    if (!mouth)
        return;
    empty(*mouth);
    mouth->on() = m_content.get<Component::Animation>(Key::body(id), "image")->on();
    const auto head = m_content.get<Component::Animation>(Key::head(id), "image");
    const int row = head->frames().empty() ? 0 : head->frames().front().y;
    // A mouth of one column has no shape but its resting one, and keeps it.
    const std::vector<int> shapes = columns(1, mouth->width_subdiv() - 1);
    int shape = shapes.empty() ? 0 : draw(1, mouth->width_subdiv() - 1);
    for (int i = 0; i < 50; ++i) {
        append(*mouth, shape, row, 1);
        shape = draw_other(shapes, shape);
    }
}

void Animation::generate_animation(const std::string& id, const std::string& pose) {
    m_content.get<Component::Boolean>(id, "walking")->set(false);
    auto body = m_content.get<Component::Animation>(Key::body(id), "image");
    const int row = body->frames().empty() ? 0 : body->frames().front().y;
    const std::vector<std::string>& names =
        m_content.get<Component::Vector<std::string>>(Key::idle(id), "values")->value();
    empty(*body);
    const auto found = std::find(names.begin(), names.end(), pose);
    ORVANE_CHECK(found != names.end(), "No " + pose + " skin found for " + id);
    append(*body, int(found - names.begin()), row, 1);
}

} // namespace Orvane::System
