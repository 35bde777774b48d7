#pragma once

#include <memory>
#include <string>

#include <Orvane/Component/Base.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Component {

class Position;
class Image;

/// A movement or fade of another component over the time interval [start, end] (seconds of
/// the frame clock), stored under the component name "animation". update() is called once per
/// display frame. Values follow one easing curve, fast at first and slowing into the end:
/// a + (b - a) * sqrt(sin(pi/2 * progress)), with progress the elapsed fraction of the
/// interval clamped to [0, 1].
class GUI_animation : public Base {
  public:
    GUI_animation(const std::string& entity, const std::string& component, double start, double end,
                  bool remove_after);

    /// At or after the end: puts the end values in place and returns false (over).
    /// Otherwise moves the values along the curve and returns true.
    bool update(double t);
    /// Whether the animated component is removed with the animation when it ends.
    bool remove_after() const { return m_remove_after; }
    /// The eased value between a and b at time t.
    double smooth_function(double a, double b, double t) const;

    /// Puts the start values back.
    virtual void cancel() = 0;
    /// Puts the end values in place.
    virtual void finalize() = 0;
    /// Moves the values to time t.
    virtual void update_impl(double t) = 0;
    /// The key of the animated component.
    virtual Id object_id() const = 0;

    double start() const { return m_start; }
    double end() const { return m_end; }

  private:
    double m_start;
    double m_end;
    bool m_remove_after;
};

/// Moves a position from where it was when the animation was made to a target point.
class GUI_position_animation : public GUI_animation {
  public:
    GUI_position_animation(const std::string& entity, const std::string& component, double start,
                           double end, const std::shared_ptr<Position>& position, const Point& to,
                           bool remove_after = false);

    std::string str_name() const override { return "GUI_position_animation"; }
    std::string str_sub(const std::size_t& indent) const override;

    void cancel() override;
    /// The position lands on the target; a functional position then follows its function
    /// again.
    void finalize() override;
    void update_impl(double t) override;
    Id object_id() const override;

    /// Retargets a running animation: same start point and interval, new end point.
    void update(const Point& to);
    using GUI_animation::update;

  private:
    std::shared_ptr<Position> m_position;
    Point m_from;
    Point m_to;
};

/// Changes an image's scale and opacity; a fade to alpha 0 ends with the image hidden. The
/// image's highlight is switched off at every step.
class GUI_image_animation : public GUI_animation {
  public:
    GUI_image_animation(const std::string& entity, const std::string& component, double start,
                        double end, const std::shared_ptr<Image>& image, double from_scale,
                        double to_scale, unsigned char from_alpha, unsigned char to_alpha,
                        bool remove_after = false);

    std::string str_name() const override { return "GUI_image_animation"; }
    std::string str_sub(const std::size_t& indent) const override;

    void cancel() override;
    void finalize() override;
    void update_impl(double t) override;
    Id object_id() const override;

  private:
    std::shared_ptr<Image> m_image;
    double m_from_scale;
    double m_to_scale;
    unsigned char m_from_alpha;
    unsigned char m_to_alpha;
};

} // namespace Orvane::Component
