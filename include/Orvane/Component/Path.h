#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <Orvane/Component/Base.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Component {

/// The points of a walk, in walking order, and the index of the point being walked to. The
/// walker advances the index; the debug view draws from it to the end.
class Path : public Base {
  public:
    /// A path of one point.
    Path(const std::string& entity, const std::string& component, const Point& point);
    /// Takes over the content of `points` (left empty), without a copy.
    Path(const std::string& entity, const std::string& component, std::vector<Point>& points);

    std::string str_name() const override { return "Path"; }

    std::size_t size() const { return m_points.size(); }
    /// The point at index i; no bounds check.
    Point& operator[](const std::size_t& i) { return m_points[i]; }
    const Point& operator[](const std::size_t& i) const { return m_points[i]; }
    /// The index of the current point.
    std::size_t& current() { return m_current; }
    const std::size_t& current() const { return m_current; }

  private:
    std::vector<Point> m_points;
    std::size_t m_current = 0;
};

} // namespace Orvane::Component
