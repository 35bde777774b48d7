#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include <Orvane/Utils/error.h>

namespace Orvane {

struct Box;

/// Nearest integer, halves away from zero.
inline int round(const double& v) { return static_cast<int>(std::lround(v)); }

/// Euclidean distance between (x1, y1) and (x2, y2).
inline double distance(double x1, double y1, double x2, double y2) {
    return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

/// atan2(y, x), in radians.
inline double angle(double x, double y) { return std::atan2(y, x); }

/// A place in scene pixels (y grows downwards).
class Point {
  public:
    Point() = default;
    Point(double x, double y) : m_x(x), m_y(y) {}
    explicit Point(std::pair<double, double> p) : m_x(p.first), m_y(p.second) {}

    double x() const { return m_x; }
    double y() const { return m_y; }
    /// Coordinates rounded to whole pixels, halves away from zero.
    int X() const { return round(m_x); }
    int Y() const { return round(m_y); }

    /// (NaN, NaN): no point. A point is invalid when its x is NaN.
    static Point invalid() {
        return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    }
    bool is_invalid() const { return std::isnan(m_x); }
    /// Far-away targets: towards the left and towards the right.
    static Point left() { return {-1e10, 0}; }
    static Point right() { return {1e10, 0}; }
    static Point center(const Box& box);
    Box box() const;

    /// Strict order so that points can key an ordered map: by x, then by y.
    friend bool operator<(const Point& a, const Point& b) {
        return a.m_x < b.m_x || (a.m_x == b.m_x && a.m_y < b.m_y);
    }
    friend bool operator==(const Point& a, const Point& b) = default;

  private:
    double m_x = 0;
    double m_y = 0;
};

/// A displacement in scene pixels.
class Vector {
  public:
    Vector() = default;
    Vector(double x, double y) : m_x(x), m_y(y) {}
    /// The vector from a to b.
    Vector(const Point& a, const Point& b) : m_x(b.x() - a.x()), m_y(b.y() - a.y()) {}
    explicit Vector(const Point& p) : m_x(p.x()), m_y(p.y()) {}

    double x() const { return m_x; }
    double y() const { return m_y; }
    double length() const { return std::sqrt(m_x * m_x + m_y * m_y); }
    /// Makes the vector unit length in place; a zero vector becomes (NaN, NaN).
    void normalize() {
        double l = length();
        m_x /= l;
        m_y /= l;
    }
    /// The vector turned a quarter turn: (y, -x).
    Vector perpendicular() const { return {m_y, -m_x}; }

    Vector operator-() const { return {-m_x, -m_y}; }
    friend Vector operator*(const Vector& v, double f) { return {v.m_x * f, v.m_y * f}; }
    friend Vector operator*(double f, const Vector& v) { return v * f; }
    friend bool operator==(const Vector& a, const Vector& b) = default;

  private:
    double m_x = 0;
    double m_y = 0;
};

inline Point operator+(const Point& p, const Vector& v) { return {p.x() + v.x(), p.y() + v.y()}; }
inline Point operator-(const Point& p, const Vector& v) { return {p.x() - v.x(), p.y() - v.y()}; }
/// The vector from b to a, as Vector(b, a).
inline Vector operator-(const Point& a, const Point& b) { return {a.x() - b.x(), a.y() - b.y()}; }
inline Point operator*(const Point& p, double f) { return {p.x() * f, p.y() * f}; }

/// Scalar product.
inline double operator*(const Vector& a, const Vector& b) { return a.x() * b.x() + a.y() * b.y(); }

/// Axis-aligned box: the min corner, then the max corner.
struct Box {
    double xmin = 0;
    double ymin = 0;
    double xmax = 0;
    double ymax = 0;
};

inline Point Point::center(const Box& b) { return {(b.xmin + b.xmax) / 2, (b.ymin + b.ymax) / 2}; }
inline Box Point::box() const { return {m_x, m_y, m_x, m_y}; }

/// A straight line through a point, with a unit direction when built from two distinct points.
class Line {
  public:
    Line(const Point& a, const Point& b) : m_point(a), m_direction(a, b) {
        m_direction.normalize();
    }
    /// The foot of the perpendicular from p.
    Point projection(const Point& p) const {
        double t = Vector(m_point, p) * m_direction;
        return m_point + m_direction * t;
    }
    const Vector& direction() const { return m_direction; }
    const Point& point() const { return m_point; }

  private:
    Point m_point;
    Vector m_direction;
};

/// The part of a line between two ends.
class Segment {
  public:
    Segment(const Point& a, const Point& b) : m_a(a), m_b(b) {}

    const Point& first() const { return m_a; }
    const Point& second() const { return m_b; }

    /// The projection q of p on the supporting line, and whether q lies strictly between
    /// the two ends.
    std::pair<Point, bool> projection(const Point& p) const {
        Vector u(m_a, m_b);
        u.normalize();
        double t = Vector(m_a, p) * u;
        Point q = m_a + u * t;
        bool inside = (Vector(m_a, q) * u > 0) && (distance(m_a.x(), m_a.y(), q.x(), q.y()) <
                                                   distance(m_a.x(), m_a.y(), m_b.x(), m_b.y()));
        return {q, inside};
    }
    /// Distance from the first end to the projection of p (never negative).
    double projected_coordinate(const Point& p) const {
        Point q = projection(p).first;
        return distance(m_a.x(), m_a.y(), q.x(), q.y());
    }

    Vector to_vector() const { return {m_a, m_b}; }
    Line to_line() const { return {m_a, m_b}; }
    double length() const { return distance(m_a.x(), m_a.y(), m_b.x(), m_b.y()); }
    Box box() const {
        return {std::min(m_a.x(), m_b.x()), std::min(m_a.y(), m_b.y()), std::max(m_a.x(), m_b.x()),
                std::max(m_a.y(), m_b.y())};
    }

  private:
    Point m_a;
    Point m_b;
};

inline double distance(const Point& a, const Point& b) {
    return distance(a.x(), a.y(), b.x(), b.y());
}

/// Crossing point of the two supporting lines (not tested against the segments' ends).
/// Parallel or coincident lines are a fatal check.
inline Point intersection(const Segment& s1, const Segment& s2) {
    double x1 = s1.first().x(), y1 = s1.first().y();
    double x2 = s1.second().x(), y2 = s1.second().y();
    double x3 = s2.first().x(), y3 = s2.first().y();
    double x4 = s2.second().x(), y4 = s2.second().y();
    double d = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4);
    ORVANE_CHECK(d != 0, "Segments do not intersect");
    double m = x1 * y2 - y1 * x2;
    double n = x3 * y4 - y3 * x4;
    return {(m * (x3 - x4) - (x1 - x2) * n) / d, (m * (y3 - y4) - (y1 - y2) * n) / d};
}

inline std::string to_string(const Point& p) {
    return "Point(" + std::to_string(p.x()) + ";" + std::to_string(p.y()) + ")";
}
inline std::string to_string(const Vector& v) {
    return "Vector(" + std::to_string(v.x()) + ";" + std::to_string(v.y()) + ")";
}

} // namespace Orvane
