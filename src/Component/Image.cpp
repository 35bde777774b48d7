#include <Orvane/Component/Image.h>
#include <Orvane/Config.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

using Third_party::SDL;

Image::Image(const std::string& entity, const std::string& component, int width, int height, int r,
             int g, int b, int a)
    : Base(entity, component), m_z(Config::INTERFACE_BACK), m_collision(Collision_type::BOX) {
    auto [core, scale] = SDL::create_rectangle(width, height, r, g, b, a);
    m_core = core;
    m_scale = scale;
}

Image::Image(const std::string& entity, const std::string& component, const std::string& file,
             int z, Collision_type collision, bool with_highlight)
    : Base(entity, component),
      m_core(SDL::load_image(file, collision == Collision_type::PIXEL_PERFECT, with_highlight)),
      m_z(z), m_collision(collision) {}

Image::Image(const std::string& entity, const std::string& component,
             const std::shared_ptr<Font>& font, const std::string& color, const std::string& text,
             bool outlined)
    : Base(entity, component),
      m_core(outlined ? SDL::create_outlined_text(font->core(), color, text)
                      : SDL::create_text(font->core(), color, text)),
      m_z(Config::INTERFACE_ITEMS), m_collision(Collision_type::BOX) {}

Image::Image(const std::string& entity, const std::string& component,
             const std::shared_ptr<Image>& other)
    : Base(entity, component), m_core(other->m_core), m_origin(other->m_origin), m_z(other->m_z),
      m_on(other->m_on), m_collision(other->m_collision), m_scale(other->m_scale),
      m_highlight(other->m_highlight), m_alpha(other->m_alpha) {}

std::string Image::str_value() const {
    return std::string(m_on ? "ON" : "OFF") + ", z=" + std::to_string(m_z) +
           ", scale=" + std::to_string(m_scale) + ", alpha=" + std::to_string(int(m_alpha)) +
           ", highlight=" + std::to_string(int(m_highlight));
}

int Image::xmin() const { return 0; }
int Image::xmax() const { return SDL::width(m_core); }
int Image::ymin() const { return 0; }
int Image::ymax() const { return SDL::height(m_core); }

void Image::rescale(double z) {
    m_z = int(z);
    m_scale = z / 3240.0;
}

void Image::set_relative_origin(double ax, double ay) {
    m_origin = Point(double(width()) * ax, double(height()) * ay);
}

void Image::compose_with(const std::shared_ptr<Image>& other) {
    m_core = SDL::compose({m_core, other->m_core});
}

bool Image::is_target_inside(int x, int y) const {
    const Bitmap_2& mask = m_core->mask;
    ORVANE_CHECK(!mask.empty(), "Checkin pixel perfect collision without mask");
    // the mask holds exactly the picture: a point outside it is never on a solid pixel
    if (x < 0 || y < 0 || x >= m_core->width || y >= m_core->height)
        return false;
    return mask(std::size_t(x), std::size_t(y));
}

Cropped::Cropped(const std::string& entity, const std::string& component, const std::string& file,
                 int z)
    : Image(entity, component, file, z, Collision_type::UNCLICKABLE, false),
      m_xmax(SDL::width(core())), m_ymax(SDL::height(core())) {}

void Cropped::crop(int xmin, int xmax, int ymin, int ymax) {
    m_xmin = xmin;
    m_xmax = xmax;
    m_ymin = ymin;
    m_ymax = ymax;
}

Font::Font(const std::string& entity, const std::string& component, const std::string& file,
           int size)
    : Base(entity, component), m_core(SDL::load_font(file, size)) {}

Group::Group(const std::string& entity, const std::string& component) : Base(entity, component) {}

std::string Group::str_sub(const std::size_t& indent) const {
    std::string out;
    for (const auto& member : m_members)
        out += component_str(member, indent + 1, "Item = ");
    return out;
}

void Group::add(const std::shared_ptr<Base>& member) { m_members.push_back(member); }

void Group::remove(const std::shared_ptr<Base>& member) {
    for (auto it = m_members.begin(); it != m_members.end(); ++it) {
        if (*it == member) {
            m_members.erase(it);
            return;
        }
    }
}

} // namespace Orvane::Component
