#include <cmath>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>

namespace Orvane::Component {

GUI_animation::GUI_animation(const std::string& entity, const std::string& component, double start,
                             double end, bool remove_after)
    : Base(entity, component), m_start(start), m_end(end), m_remove_after(remove_after) {}

bool GUI_animation::update(double t) {
    if (t >= m_end) {
        finalize();
        return false;
    }
    update_impl(t);
    return true;
}

double GUI_animation::smooth_function(double a, double b, double t) const {
    // clamped, so that a time before the start (or an empty interval) never gives NaN
    double progress = (t - m_start) / (m_end - m_start);
    if (!(progress > 0))
        progress = 0;
    else if (progress > 1)
        progress = 1;
    constexpr double pi = 3.141592653589793;
    return a + (b - a) * std::sqrt(std::sin(pi * progress / 2));
}

GUI_position_animation::GUI_position_animation(const std::string& entity,
                                               const std::string& component, double start,
                                               double end,
                                               const std::shared_ptr<Position>& position,
                                               const Point& to, bool remove_after)
    : GUI_animation(entity, component, start, end, remove_after), m_position(position),
      m_from(position->value()), m_to(to) {}

std::string GUI_position_animation::str_sub(const std::size_t& indent) const {
    return component_str(m_position, indent + 1, "Animated = ");
}

void GUI_position_animation::cancel() { m_position->set(m_from); }

void GUI_position_animation::finalize() {
    m_position->set(m_to);
    if (cast<Functional_position>(m_position))
        m_position->set(Point::invalid());
}

void GUI_position_animation::update_impl(double t) {
    m_position->set(
        Point(smooth_function(m_from.x(), m_to.x(), t), smooth_function(m_from.y(), m_to.y(), t)));
}

Id GUI_position_animation::object_id() const { return m_position->id(); }

void GUI_position_animation::update(const Point& to) { m_to = to; }

GUI_image_animation::GUI_image_animation(const std::string& entity, const std::string& component,
                                         double start, double end,
                                         const std::shared_ptr<Image>& image, double from_scale,
                                         double to_scale, unsigned char from_alpha,
                                         unsigned char to_alpha, bool remove_after)
    : GUI_animation(entity, component, start, end, remove_after), m_image(image),
      m_from_scale(from_scale), m_to_scale(to_scale), m_from_alpha(from_alpha),
      m_to_alpha(to_alpha) {}

std::string GUI_image_animation::str_sub(const std::size_t& indent) const {
    return component_str(m_image, indent + 1, "Animated = ");
}

void GUI_image_animation::cancel() {
    m_image->set_scale(m_from_scale);
    m_image->set_alpha(m_from_alpha);
    m_image->set_highlight(0);
}

void GUI_image_animation::finalize() {
    m_image->set_scale(m_to_scale);
    m_image->set_alpha(m_to_alpha);
    m_image->set_highlight(0);
    if (m_to_alpha == 0)
        m_image->on() = false;
}

void GUI_image_animation::update_impl(double t) {
    m_image->set_scale(smooth_function(m_from_scale, m_to_scale, t));
    m_image->set_alpha(
        static_cast<unsigned char>(int(smooth_function(m_from_alpha, m_to_alpha, t))));
    m_image->set_highlight(0);
}

Id GUI_image_animation::object_id() const { return m_image->id(); }

} // namespace Orvane::Component
