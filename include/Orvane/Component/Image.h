#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Base.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Component {

/// How the pointer hit test treats an image.
enum class Collision_type : int {
    PIXEL_PERFECT = 0, ///< inside the bounding box and on a set bit of the picture's mask
    BOX = 1,           ///< anywhere inside the bounding box
    UNCLICKABLE = 2    ///< never hit
};

class Font;

/// A drawable picture with its drawing state: visible or not, depth (larger is drawn later),
/// scale, opacity, highlight opacity, the anchor point placed on the entity's position (in
/// unscaled picture pixels) and the hit-test kind. The picture is shared with the image cache
/// and with copies; changing the drawing state never changes it.
class Image : public Base {
  public:
    /// A filled rectangle of width x height logical pixels; above 512 x 512 pixels the picture
    /// is stored smaller and `scale` makes up for it. Depth INTERFACE_BACK, BOX.
    Image(const std::string& entity, const std::string& component, int width, int height, int r = 0,
          int g = 0, int b = 0, int a = 255);
    /// The package image `file`; a pixel-perfect image gets its mask.
    Image(const std::string& entity, const std::string& component, const std::string& file,
          int z = 0, Collision_type collision = Collision_type::UNCLICKABLE,
          bool with_highlight = false);
    /// A text in colour "RRGGBB", outlined in black on request. Depth INTERFACE_ITEMS, BOX.
    Image(const std::string& entity, const std::string& component,
          const std::shared_ptr<Font>& font, const std::string& color, const std::string& text,
          bool outlined = false);
    /// Shares `other`'s picture and copies its drawing state.
    Image(const std::string& entity, const std::string& component,
          const std::shared_ptr<Image>& other);

    std::string str_name() const override { return "Image"; }
    /// "ON" or "OFF", then ", z=", ", scale=" (six decimals), ", alpha=", ", highlight=".
    std::string str_value() const override;

    /// The source rectangle of the picture that is drawn and hit-tested, in picture pixels.
    virtual int xmin() const;
    virtual int xmax() const;
    virtual int ymin() const;
    virtual int ymax() const;

    const Third_party::SDL::Image_handle& core() const { return m_core; }
    const Point& origin() const { return m_origin; }
    Point& origin() { return m_origin; }
    bool on() const { return m_on; }
    bool& on() { return m_on; }
    int z() const { return m_z; }
    int& z() { return m_z; }
    Collision_type collision() const { return m_collision; }
    void set_collision(Collision_type collision) { m_collision = collision; }
    double scale() const { return m_scale; }
    void set_scale(double scale) { m_scale = scale; }
    unsigned char alpha() const { return m_alpha; }
    void set_alpha(unsigned char alpha) { m_alpha = alpha; }
    unsigned char highlight() const { return m_highlight; }
    void set_highlight(unsigned char highlight) { m_highlight = highlight; }

    /// Size of the visible part: xmax() - xmin() by ymax() - ymin().
    int width() const { return xmax() - xmin(); }
    int height() const { return ymax() - ymin(); }

    /// Places the image at depth `z`: z truncated toward zero, scale z / 3240.
    void rescale(double z);
    /// Anchors the image at the fraction (ax, ay) of its visible size: (0.5, 1) is the middle
    /// of the bottom edge.
    void set_relative_origin(double ax, double ay);
    /// Replaces this image's picture by the picture and `other`'s side by side.
    void compose_with(const std::shared_ptr<Image>& other);
    /// The mask bit at (x, y), picture pixels from its top-left corner; false outside the
    /// picture. Fatal for an image loaded without a mask.
    bool is_target_inside(int x, int y) const;

  private:
    Third_party::SDL::Image_handle m_core;
    Point m_origin{0, 0};
    int m_z = 0;
    bool m_on = true;
    Collision_type m_collision = Collision_type::UNCLICKABLE;
    double m_scale = 1.0;
    unsigned char m_highlight = 0;
    unsigned char m_alpha = 255;
};

/// An image that shows only a rectangle of its picture.
class Cropped : public Image {
  public:
    /// The package image `file`, unclickable, cropped to the whole picture.
    Cropped(const std::string& entity, const std::string& component, const std::string& file,
            int z);

    std::string str_name() const override { return "Cropped"; }
    int xmin() const override { return m_xmin; }
    int xmax() const override { return m_xmax; }
    int ymin() const override { return m_ymin; }
    int ymax() const override { return m_ymax; }

    /// Shows the rectangle [xmin, xmax) x [ymin, ymax) of the picture.
    void crop(int xmin, int xmax, int ymin, int ymax);

  private:
    int m_xmin = 0;
    int m_xmax = 0;
    int m_ymin = 0;
    int m_ymax = 0;
};

/// A font, from which text images are made.
class Font : public Base {
  public:
    /// The font package entry `file` at `size` points.
    Font(const std::string& entity, const std::string& component, const std::string& file,
         int size);

    std::string str_name() const override { return "Font"; }
    const Third_party::SDL::Font_handle& core() const { return m_core; }

  private:
    Third_party::SDL::Font_handle m_core;
};

/// Components gathered so that one operation reaches all the images among them.
class Group : public Base {
  public:
    Group(const std::string& entity, const std::string& component);

    std::string str_name() const override { return "Group"; }
    /// Each member's nested dump, prefixed "Item = ".
    std::string str_sub(const std::size_t& indent) const override;

    /// Appends a member; duplicates are allowed.
    void add(const std::shared_ptr<Base>& member);
    /// Removes the first member that is `member` itself; the others keep their order.
    void remove(const std::shared_ptr<Base>& member);
    const std::vector<std::shared_ptr<Base>>& members() const { return m_members; }

    /// Calls fn with every member that is a T (looking through conditionals), in member
    /// order, descending into member groups depth first. A group must not contain itself.
    template <typename T> void apply(const std::function<void(std::shared_ptr<T>)>& fn) const {
        for (const auto& member : m_members) {
            if (auto typed = cast<T>(member))
                fn(typed);
            else if (auto group = cast<Group>(member))
                group->apply<T>(fn);
        }
    }

  private:
    std::vector<std::shared_ptr<Base>> m_members;
};

} // namespace Orvane::Component
