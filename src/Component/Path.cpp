#include <Orvane/Component/Path.h>

namespace Orvane::Component {

Path::Path(const std::string& entity, const std::string& component, const Point& point)
    : Base(entity, component), m_points{point} {}

Path::Path(const std::string& entity, const std::string& component, std::vector<Point>& points)
    : Base(entity, component) {
    m_points.swap(points);
}

} // namespace Orvane::Component
