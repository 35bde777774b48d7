#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include <Orvane/Component/Base.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Component {

/// A place in the logical 1920 x 1080 view, either held or derived from other positions.
/// Interface positions are screen coordinates (not moved by the camera); the others are room
/// coordinates. Values are computed afresh at each call; nothing is cached.
class Position : public Base {
  public:
    using value_type = Point;
    using const_reference = Point;

    using Base::Base;

    /// Moves the position so that value() becomes p (derived kinds solve for the part they
    /// own).
    virtual void set(const Point& p) = 0;
    virtual Point value() const = 0;
    virtual bool is_interface() const = 0;
};

/// A fixed point.
class Absolute_position : public Position {
  public:
    Absolute_position(const std::string& entity, const std::string& component, const Point& point,
                      bool is_interface = true)
        : Position(entity, component), m_point(point), m_is_interface(is_interface) {}

    std::string str_name() const override { return "Absolute_position"; }
    std::string str_value() const override { return to_string(m_point); }

    /// point := p, marked as altered.
    void set(const Point& p) override {
        m_point = p;
        mark_as_altered();
    }
    Point value() const override { return m_point; }
    bool is_interface() const override { return m_is_interface; }
    /// The interface flag, writable.
    bool& is_interface() { return m_is_interface; }

  private:
    Point m_point;
    bool m_is_interface;
};

/// Another position scaled by a factor (1 unless given), plus an offset ((0, 0) unless given).
class Relative_position : public Position {
  public:
    Relative_position(const std::string& entity, const std::string& component,
                      std::shared_ptr<Position> reference,
                      const Orvane::Vector& offset = Orvane::Vector(), double factor = 1.0)
        : Position(entity, component), m_reference(std::move(reference)), m_offset(offset),
          m_factor(factor) {}

    std::string str_name() const override { return "Relative_position"; }
    std::string str_value() const override { return to_string(m_offset); }
    std::string str_sub(const std::size_t& indent) const override {
        return component_str(m_reference, indent + 1, "Reference -> ");
    }

    /// The offset becomes the vector from the scaled reference to p; marked as altered.
    void set(const Point& p) override {
        m_offset = Orvane::Vector(m_reference->value() * m_factor, p);
        mark_as_altered();
    }
    /// offset := v, not marked.
    void set(const Orvane::Vector& v) { m_offset = v; }
    Point value() const override { return m_reference->value() * m_factor + m_offset; }
    bool is_interface() const override { return m_reference->is_interface(); }

    /// The absolute position at the root of a chain of relative positions, or null when the
    /// chain ends in another kind.
    std::shared_ptr<Absolute_position> absolute_reference() const;

  private:
    std::shared_ptr<Position> m_reference;
    Orvane::Vector m_offset;
    double m_factor;
};

/// A first position scaled by a factor, plus a second position taken as a vector.
class Double_relative_position : public Position {
  public:
    Double_relative_position(const std::string& entity, const std::string& component,
                             std::shared_ptr<Position> first, std::shared_ptr<Position> second,
                             double factor)
        : Position(entity, component), m_first(std::move(first)), m_second(std::move(second)),
          m_factor(factor) {}

    std::string str_name() const override { return "Double_relative_position"; }
    std::string str_sub(const std::size_t& indent) const override {
        return component_str(m_first, indent + 1, "Ref = ") +
               component_str(m_second, indent + 1, "Diff = ");
    }

    /// Sets the shared second position to p minus the scaled first one (every position
    /// sharing it moves too); marks itself as altered.
    void set(const Point& p) override {
        const Point r = m_first->value() * m_factor;
        m_second->set(Point(p.x() - r.x(), p.y() - r.y()));
        mark_as_altered();
    }
    /// Sets the second position to v taken as a point; not marked.
    void set(const Orvane::Vector& v) { m_second->set(Point(v.x(), v.y())); }
    Point value() const override {
        return m_first->value() * m_factor + Orvane::Vector(m_second->value());
    }
    bool is_interface() const override { return m_first->is_interface(); }

    /// As Relative_position::absolute_reference, starting from the first position.
    std::shared_ptr<Absolute_position> absolute_reference() const;

  private:
    std::shared_ptr<Position> m_first;
    std::shared_ptr<Position> m_second;
    double m_factor;
};

/// A point computed by a function of a string argument, unless a fixed point has been set.
class Functional_position : public Position {
  public:
    using Function = std::function<Point(const std::string&)>;

    Functional_position(const std::string& entity, const std::string& component, Function function,
                        const std::string& argument, bool is_interface)
        : Position(entity, component), m_function(std::move(function)), m_argument(argument),
          m_is_interface(is_interface) {}

    std::string str_name() const override { return "Functional_position"; }
    std::string str_value() const override { return "arg(" + m_argument + ")"; }

    /// Fixes the position at p (not marked); the invalid point clears it, so that the
    /// function is used again.
    void set(const Point& p) override { m_fixed = p; }
    /// Replaces the function; a fixed point stays.
    void set(const Function& function) { m_function = function; }
    const Function& function() const { return m_function; }

    Point value() const override { return m_fixed.is_invalid() ? m_function(m_argument) : m_fixed; }
    bool is_interface() const override { return m_is_interface; }

  private:
    Function m_function;
    std::string m_argument;
    bool m_is_interface;
    Point m_fixed = Point::invalid();
};

} // namespace Orvane::Component
