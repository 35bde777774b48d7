#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

using Component::Image;

namespace {

using Label_type = Interface::Label_type;

// Interface animations all last a quarter of a second.
constexpr double animation_time = 0.25;

// The widest piece of a label's middle bar: 100 pixels high, it stays within the rectangle
// maker's 512 x 512 pixels, which it stores at full resolution.
constexpr int bar_piece_width = 2560;
constexpr int bar_height = 100;

constexpr unsigned char back_alpha = 100;

bool is_opaque(Label_type type) { return type == Label_type::OPAQUE; }

int text_depth(Label_type type) { return Config::INTERFACE_LABELS + (is_opaque(type) ? 1 : 0); }

int margin(Label_type type) {
    switch (type) {
    case Label_type::PLAIN:
    case Label_type::GOTO_LEFT:
    case Label_type::GOTO_RIGHT:
        return 20;
    case Label_type::SQUARE:
        return 60;
    default:
        return 40;
    }
}

// Unit direction in which a wriggly position swings, by orientation.
constexpr double c30 = 0.866025404;
const std::array<Vector, 16> swing_directions = {
    Vector(0, -1),     Vector(1, 0),       Vector(0, 1),    Vector(-1, 0),
    Vector(0, -1),     Vector(c30, -0.5),  Vector(c30, 0.5), Vector(0, 1),
    Vector(-c30, 0.5), Vector(-c30, -0.5), Vector(-1, 0),   Vector(1, 0),
    Vector(-0.5, -c30), Vector(0.5, -c30), Vector(-0.5, c30), Vector(0.5, c30)};

} // namespace

std::shared_ptr<Image> Interface::join_label_back(const std::string& entity,
                                                  const std::shared_ptr<Image>& left,
                                                  int bar_width,
                                                  const std::shared_ptr<Image>& right, int r,
                                                  int g, int b) {
    std::shared_ptr<Image> back;
    auto append = [&](const std::shared_ptr<Image>& part) {
        if (back)
            back->compose_with(part);
        else
            back = std::make_shared<Image>(entity, "image", part);
    };
    if (left)
        append(left);
    for (int remaining = bar_width; remaining > 0; remaining -= bar_piece_width)
        append(std::make_shared<Image>(entity, "image", std::min(remaining, bar_piece_width),
                                       bar_height, r, g, b, 255));
    if (right)
        append(right);
    return back;
}

void Interface::create_label(const std::string& id, std::string text, const Label_type& type,
                             const Component::Collision_type& collision, double k) {
    const double s = Config::interface_scale * k;
    const Input_mode mode = input_mode();
    const unsigned char alpha = is_opaque(type) ? 255 : back_alpha;
    auto group = m_content.set<Component::Group>(id, "group");

    std::shared_ptr<Image> text_image;
    if (!text.empty()) {
        capitalize(text);
        if (startswith(text, "Playstation_")) {
            text_image = m_content.set<Image>(id, "image", m_content.get<Image>(text, "image"));
            text_image->on() = true;
            text = " ";
        } else {
            text_image = m_content.set<Image>(
                id, "image", m_content.get<Component::Font>(Key::interface_font), "FFFFFF", text);
        }
        group->add(text_image);
        text_image->set_relative_origin(0.5, 0.5);
        text_image->set_scale(0.5 * s);
        text_image->z() = text_depth(type);
        text_image->set_collision(collision);
        text_image->set_alpha(static_cast<unsigned char>(int(k * 255) & 255));
    }

    auto end = [&](const Store_key& key, const std::string& name, bool with_alpha) {
        auto copy = std::make_shared<Image>(name, "image", m_content.get<Image>(key));
        if (with_alpha)
            copy->set_alpha(alpha);
        return copy;
    };
    std::shared_ptr<Image> left;
    if (type == Label_type::GOTO_LEFT && mode != MOUSE)
        left = end(Key::goto_left_image, id + "_left_circle", false);
    else if (type != Label_type::SQUARE && type != Label_type::OPEN_LEFT &&
             type != Label_type::GOTO_LEFT)
        left = end(Key::left_circle_image, id + "_left_circle", true);
    std::shared_ptr<Image> right;
    if (type == Label_type::GOTO_RIGHT && mode != MOUSE)
        right = end(Key::goto_right_image, id + "_right_circle", false);
    else if (type != Label_type::SQUARE && type != Label_type::OPEN_RIGHT &&
             type != Label_type::GOTO_RIGHT)
        right = end(Key::right_circle_image, id + "_right_circle", true);

    int h = 0;
    if (text_image) {
        const int m = m_content.request<Component::Base>(Key::interface_source_object)
                          ? 60
                          : margin(type);
        h = text_image->width() / 2 + m;
        if (is_opaque(type) || text.size() == 1)
            h = 20 * int(text.size()) - 20;
        if (s != 1.0) {
            // a half-width that is a multiple of n lands on whole pixels at this scale
            const int n = round(1.0 / (1.0 - s));
            if (n != 0)
                while (h % n != 0)
                    ++h;
        }
    }

    auto back = join_label_back(id + "_back", left, 2 * h, right);
    back->on() = true;
    back->set_relative_origin(0.5, 0.5);
    back->set_scale(0.5 * s);
    back->set_alpha(alpha);
    back->z() = text_depth(type) - 1;
    back->set_collision(collision);
    group->add(m_content.set<Image>(id + "_back", "image", back));
}

void Interface::update_label(const std::string& id, const Label_type& type,
                             std::shared_ptr<Component::Position> anchor, double k) {
    using Component::Relative_position;
    const double s = k * Config::interface_scale;
    auto text = m_content.request<Image>(id, "image");
    auto back = m_content.get<Image>(id + "_back", "image");
    const double w = double(std::lround(back->width() * s));

    // a running appearance ends at its end values before the label is placed anew: stopped
    // midway, a half-faded label would keep its faded look for good
    for (const std::string& entity : {id, id + "_back"})
        if (auto animation = m_content.request<Component::GUI_animation>(entity, "animation")) {
            animation->finalize();
            m_content.remove(entity, "animation");
        }

    if (text)
        text->set_scale(0.5 * s);
    back->set_scale(0.5 * s);

    auto place = [&](double text_offset, double back_offset, bool text_always) {
        if (text || text_always)
            m_content.set<Relative_position>(id, "position", anchor, Vector(text_offset, 0));
        m_content.set<Relative_position>(id + "_back", "position", anchor, Vector(back_offset, 0));
    };
    const double quarter = w * 0.25;
    const double away = input_mode() == MOUSE ? 0.0 : 30 * s;
    const double is = Config::interface_scale;
    switch (type) {
    case Label_type::PLAIN:
    case Label_type::OPAQUE:
    case Label_type::SQUARE:
        place(0, 0, true);
        break;
    case Label_type::OPEN_LEFT:
        place(quarter + 5, quarter, false);
        break;
    case Label_type::RIGHT_OF_BUTTON:
        place(quarter - 5, quarter - 25 * is, false);
        break;
    case Label_type::GOTO_LEFT:
        place(quarter + away, quarter, false);
        break;
    case Label_type::OPEN_RIGHT:
        place(-quarter - 5, -quarter, false);
        break;
    case Label_type::LEFT_OF_BUTTON:
        place(-quarter + 5, -quarter + 25 * is, false);
        break;
    case Label_type::GOTO_RIGHT:
        place(-quarter - away, -quarter, false);
        break;
    }
}

void Interface::animate_label(const std::string& id, const Animation_style& style, bool glide,
                              const Point& target) {
    using Component::GUI_image_animation;
    using Component::GUI_position_animation;
    if (style == Animation_style::NONE)
        return;
    const double t0 = clock_time();
    const double t1 = t0 + animation_time;
    const double is = Config::interface_scale;
    auto back = m_content.get<Image>(id + "_back", "image");
    const unsigned char a_b = back->alpha();
    auto animate_image = [&](const std::string& entity, const std::shared_ptr<Image>& image,
                             double from_scale, double to_scale, unsigned char from_alpha,
                             unsigned char to_alpha) {
        m_content.set<GUI_image_animation>(entity, "animation", t0, t1, image, from_scale,
                                           to_scale, from_alpha, to_alpha, false);
    };

    switch (style) {
    case Animation_style::MOVE:
        if (glide) {
            m_content.set<GUI_position_animation>(
                id, "animation", t0, t1,
                m_content.get<Component::Position>(id, "global_position"), target, false);
            animate_image(id + "_back", back, 0.177 * is, 0.5 * is, a_b, a_b);
            if (auto text = m_content.request<Image>(id, "image"))
                animate_image(id + "_label", text, 0.177 * is, 0.5 * is, 0, a_b);
        } else {
            auto text = m_content.get<Image>(id, "image");
            animate_image(id + "_back", back, back->scale(), back->scale(), 0, a_b);
            animate_image(id, text, 0.05, back->scale(), 0, 255);
        }
        break;
    case Animation_style::FADE:
    case Animation_style::FADE_IN_PLACE:
        if (!glide) {
            auto text = m_content.get<Image>(id, "image");
            const unsigned char a_t = text->alpha();
            animate_image(id + "_back", back, back->scale(), back->scale(), 0, a_b);
            animate_image(id, text, back->scale(), back->scale(), 0, a_t);
            if (auto star = m_content.request<Image>(id + "_star", "image"))
                animate_image(id + "_star", star, star->scale(), star->scale(), 0, a_t);
        }
        break;
    case Animation_style::ZOOM:
        if (!glide)
            zoom_label(id, back);
        break;
    case Animation_style::NONE:
        break;
    }
}

void Interface::zoom_label(const std::string& id, const std::shared_ptr<Image>& back) {
    using Component::GUI_image_animation;
    using Component::GUI_position_animation;
    using Component::Relative_position;
    const double t0 = clock_time();
    const double t1 = t0 + animation_time;
    const double is = Config::interface_scale;
    auto text = m_content.get<Image>(id, "image");

    // selected: scale 0.5, alpha 255; unselected: scale 0.375, alpha 192
    double from_scale = 0.5 * is;
    double to_scale = 0.375 * is;
    unsigned char from_alpha = 255;
    unsigned char to_alpha = 192;
    if (text->scale() == 0.5 * is) {
        std::swap(from_scale, to_scale);
        std::swap(from_alpha, to_alpha);
    }
    m_content.set<GUI_image_animation>(id, "animation", t0, t1, text, from_scale, to_scale,
                                       from_alpha, to_alpha, false);
    m_content.set<GUI_image_animation>(id + "_back", "animation", t0, t1, back, from_scale,
                                       to_scale, back->alpha(), back->alpha(), false);

    // an arrow-tipped object label keeps its arrow end where it is while it zooms
    const std::size_t p = id.find("_label");
    if (id.size() < 6 || p == std::string::npos)
        return;
    auto right = m_content.request<Component::Boolean>(Key::go_to(id.substr(0, p)), "right");
    if (!right)
        return;
    const double g = right->value() ? 1.0 : -1.0;
    const double wb = back->width();
    const double wt = text->width();

    auto back_position = m_content.get<Relative_position>(id + "_back", "position");
    const Point p_b = back_position->value();
    back_position->set(p_b + Vector(g * (to_scale - from_scale) * wb / 2, 0));
    m_content.set<GUI_position_animation>(id + "_back_pos", "animation", t0, t1, back_position,
                                          p_b, false);

    auto text_position = m_content.get<Relative_position>(id, "position");
    const Point p_t = text_position->value();
    auto x = [&](double sigma) {
        return g * sigma * wb - 20 * sigma - double(std::lround(g * sigma * wt / 2));
    };
    text_position->set(p_t + Vector(x(to_scale) - x(from_scale), 0));
    m_content.set<GUI_position_animation>(id + "_pos", "animation", t0, t1, text_position, p_t,
                                          false);
}

std::shared_ptr<Component::Functional_position>
Interface::wriggly_position(const std::string& entity, const std::string& component,
                            std::shared_ptr<Component::Position> base, const Vector& offset,
                            const Button_orientation& orientation, bool insert,
                            bool random_phase) {
    constexpr double pi = std::numbers::pi;
    const double amplitude = 5 * Config::interface_scale;
    auto clock =
        m_content.request<Component::Simple<double>>(Fast_access_component::CLOCK_TIME);
    const double t0 = clock ? clock->value() : 0.0;

    double phase = t0 / -0.75 - pi / 2 - 0.25; // starts near its resting point
    auto game_status = status();
    if (input_mode() == GAMEPAD && !(game_status && game_status->is(Status::ACTION)))
        phase = 0;
    if (random_phase)
        phase = double(std::hash<std::string>{}(entity)) / 18446744073709551616.0 * 2 * pi;

    const int index = static_cast<int>(orientation);
    const Vector direction =
        index >= 0 && index < 16 ? swing_directions[std::size_t(index)] : Vector(0, 0);
    const bool up = orientation == Button_orientation::UP;
    auto function = [clock, base, offset, amplitude, phase, direction, up,
                     random_phase](const std::string&) {
        const double t = clock ? clock->value() : 0.0;
        const double u = std::sin(t / 0.75 + phase);
        const Point p = base->value() + offset;
        if (random_phase) {
            const double w = 0.5 * u * amplitude;
            return up ? p + Vector(0, w) : p + Vector(w, 0);
        }
        return p + direction * ((0.5 * u + 0.5) * amplitude);
    };
    auto position = std::make_shared<Component::Functional_position>(entity, component, function,
                                                                     entity, true);
    if (insert)
        m_content.set(position);
    return position;
}

void Interface::update_label_position(const std::string& id, double k) {
    auto game_status = status();
    if (game_status && game_status->is(Status::IN_INVENTORY, Status::OBJECT))
        return;
    const std::string label = id + "_label";
    Label_type type = Label_type::PLAIN;
    auto right = m_content.request<Component::Boolean>(Key::go_to(id), "right");
    if (right)
        type = right->value() ? Label_type::GOTO_RIGHT : Label_type::GOTO_LEFT;
    // the label point as it is now, seen from the camera
    auto base = m_content.set<Component::Relative_position>(
        label, "base_global_position",
        m_content.request<Component::Position>(Fast_access_component::CAMERA_POSITION),
        Vector(m_content.get<Component::Position>(id, "label")->value()), -1.0);
    auto anchor = wriggly_position(label, "global_position", base, Vector(0, 0),
                                   right ? Button_orientation::RIGHT : Button_orientation::UP,
                                   true, true);
    update_label(label, type, anchor, k);
}

void Interface::delete_label(const std::string& id, bool fade) {
    auto group = m_content.request<Component::Group>(id, "group");
    if (!group)
        return;
    m_content.remove(id, "global_position", true);
    const double t0 = clock_time();
    group->apply<Image>([&](const std::shared_ptr<Image>& image) {
        const std::string& e = image->entity();
        if (!fade) {
            m_content.remove(e, "image", true);
            return;
        }
        // a copy under another name fades out, so that the id can be used again at once
        const std::string old = e + "_old";
        auto copy = m_content.set<Image>(old, "image", image);
        m_content.set<Component::Variable>(old, "position",
                                           m_content.get<Component::Position>(e, "position"));
        m_content.remove(e, "position");
        m_content.remove(e, "image", true);
        m_content.set<Component::GUI_image_animation>(old, "animation", t0, t0 + animation_time,
                                                      copy, copy->scale(), copy->scale(),
                                                      copy->alpha(), 0, true);
    });
    m_content.remove(id, "group");
}

bool Interface::labels_intersect(const std::string& a, const std::string& b) {
    auto back_a = m_content.request<Image>(a + "_back", "image");
    auto back_b = m_content.request<Image>(b + "_back", "image");
    if (!back_a || !back_b)
        return false;
    const double is = Config::interface_scale;
    const Point pa = m_content.get<Component::Position>(a + "_back", "position")->value();
    const Point pb = m_content.get<Component::Position>(b + "_back", "position")->value();
    const double half_w = 0.25 * (back_a->width() + back_b->width()) * is;
    const double half_h = 0.25 * (back_a->height() + back_b->height()) * is;
    return std::abs(pa.x() - pb.x()) <= half_w && std::abs(pa.y() - pb.y()) <= half_h;
}

Input_mode Interface::input_mode() const {
    auto mode =
        m_content.request<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE);
    return mode ? mode->value() : MOUSE;
}

double Interface::clock_time() const {
    auto clock =
        m_content.request<Component::Simple<double>>(Fast_access_component::CLOCK_TIME);
    return clock ? clock->value() : 0.0;
}

} // namespace Orvane::System
