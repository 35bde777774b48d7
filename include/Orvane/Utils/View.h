#pragma once

#include <Orvane/Utils/geometry.h>

namespace Orvane {

/// How the scene is shown in the 1920 x 1080 view. `camera` is the scene point shown at the
/// top-left corner of the view and `zoom` multiplies room distances about that corner: a room
/// point p is shown at zoom × (p − camera), and room sizes are multiplied by zoom. Interface
/// points are screen points already, and interface sizes are kept: neither the camera nor the
/// zoom applies to them. Drawing, clicks, look targets and anchors all go through this one
/// transform.
struct View {
    Point camera{0, 0};
    double zoom = 1.0;

    /// The factor applied to sizes: zoom for a room thing, 1 for an interface thing.
    double factor(bool is_interface) const { return is_interface ? 1.0 : zoom; }

    /// The screen point (view pixels) where point p is shown.
    Point to_screen(const Point& p, bool is_interface) const {
        if (is_interface)
            return p;
        return {zoom * (p.x() - camera.x()), zoom * (p.y() - camera.y())};
    }
    /// The inverse of to_screen: the point shown at screen point s (a scene point for a room
    /// thing). Needs a zoom other than 0.
    Point to_scene(const Point& s, bool is_interface) const {
        if (is_interface)
            return s;
        return {s.x() / zoom + camera.x(), s.y() / zoom + camera.y()};
    }
    /// A length (scene pixels for a room thing) on screen.
    double to_screen(double length, bool is_interface) const {
        return length * factor(is_interface);
    }
    /// The inverse: a screen length back in the thing's own pixels.
    double to_scene(double length, bool is_interface) const {
        return length / factor(is_interface);
    }

    /// Where a picture is shown: the screen point of its top-left corner and the factor from
    /// its own pixels to screen pixels.
    struct Placement {
        Point top_left;
        double scale;
    };
    /// The placement of a picture anchored at `origin` (its own pixels), drawn at `scale`, at
    /// the position p.
    Placement place(const Point& p, const Point& origin, double scale, bool is_interface) const {
        const Point corner(p.x() - origin.x() * scale, p.y() - origin.y() * scale);
        return {to_screen(corner, is_interface), to_screen(scale, is_interface)};
    }
};

} // namespace Orvane
