#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Condition.h>
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
using Component::Position;

namespace {

// A mouse label that would end closer than this to the right edge hangs left of the cursor.
constexpr double flip_left_at = 1870;
// Hanging right, a label flips left once its right end passes this (25 pixels of hysteresis).
constexpr double flip_right_limit = 1895;
// The layout's rounds at most.
constexpr int layout_rounds = 100;

// The label types of a walk-to object follow its side: GOTO_LEFT, or GOTO_RIGHT when true.
Interface::Label_type goto_type(const Component::Boolean& right) {
    return right.value() ? Interface::Label_type::GOTO_RIGHT : Interface::Label_type::GOTO_LEFT;
}

// One label point of the layout and the estimated box of its label.
struct Laid_out {
    std::shared_ptr<Component::Absolute_position> point;
    Point backup;
    double width;
    Interface::Label_type type;
    double left = 0, right = 0, top = 0, bottom = 0;
    Vector push{0, 0};

    void frame(double margin, double half_height) {
        const Point p = point->value();
        top = p.y() - margin - half_height;
        bottom = p.y() + margin + half_height;
        if (type == Interface::Label_type::GOTO_LEFT) {
            left = p.x() - margin;
            right = p.x() + width + margin;
        } else if (type == Interface::Label_type::GOTO_RIGHT) {
            left = p.x() - width - margin;
            right = p.x() + margin;
        } else {
            left = p.x() - width / 2 - margin;
            right = p.x() + width / 2 + margin;
        }
    }
    void move(const Vector& by) {
        point->set(point->value() + by);
        left += by.x();
        right += by.x();
        top += by.y();
        bottom += by.y();
    }
    Point centre() const { return Point((left + right) / 2, (top + bottom) / 2); }
};

} // namespace

void Interface::highlight_object(const std::string& id, unsigned char value) {
    if (auto image = m_content.request<Image>(id, "image"))
        image->set_highlight(value);
}

void Interface::create_object_label(const std::string& id) {
    using Component::Collision_type;
    const double is = Config::interface_scale;
    const std::string name = locale(value<Component::Simple<std::string>>(id, "name"));
    const std::string label = id + "_label";
    auto back_x = [&] { return m_content.get<Position>(label + "_back", "position")->value().x(); };
    auto back_width = [&] { return double(m_content.get<Image>(label + "_back", "image")->width()); };
    auto right = m_content.request<Component::Boolean>(Key::go_to(id), "right");
    const Input_mode mode = input_mode();

    if (status()->is(Status::IN_INVENTORY, Status::OBJECT)) {
        // above the item in the bar, clear of the tab's chamfer and of the right edge
        auto global = m_content.set<Component::Relative_position>(
            label, "global_position", m_content.get<Position>(id, "position"),
            Vector(0, -40 * is - 75));
        create_label(label, name, Label_type::PLAIN, Collision_type::UNCLICKABLE, 1);
        update_label(label, Label_type::PLAIN, global, 1);
        const double chamfer = m_content.get<Position>(Key::chamfer_position)->value().x();
        const double l = back_x() - 0.25 * back_width() * is;
        if (l < chamfer + 50)
            global->set(global->value() + Vector(chamfer + 50 - l, 0));
        const double r = back_x() + (0.25 * back_width() + 20) * is;
        if (r > Config::world_width)
            global->set(global->value() - Vector(r - Config::world_width, 0));
    } else if (mode == MOUSE) {
        // beside the cursor, hanging to the right unless it would reach the right edge
        const bool goto_right =
            !m_content.request<Component::Base>(Key::interface_source_object) && right &&
            right->value();
        auto cursor = m_content.request<Position>(Fast_access_component::CURSOR_POSITION);
        auto place = [&](Label_type type) {
            create_label(label, name, type, Collision_type::UNCLICKABLE, 1);
            update_label(label, type, cursor, 1);
        };
        place(right ? goto_type(*right) : Label_type::OPEN_LEFT);
        if (!goto_right && back_x() + 0.25 * back_width() * is > flip_left_at)
            place(Label_type::OPEN_RIGHT);
    } else {
        // at the object's label point, swaying; a controller dims all but the current one
        const Label_type type = right ? goto_type(*right) : Label_type::PLAIN;
        const bool current = mode != GAMEPAD || id == labelled_object;
        const double k = current ? 1.0 : 0.75;
        create_label(label, name, type,
                     mode == TOUCHSCREEN ? Collision_type::BOX : Collision_type::UNCLICKABLE, k);
        if (!current)
            if (auto text = m_content.request<Image>(label, "image"))
                text->set_alpha(192);
        // the point seen from the camera, read at every evaluation: the label follows the
        // view and a later layout of the point
        auto base = m_content.set<Component::Double_relative_position>(
            label, "base_global_position",
            m_content.request<Position>(Fast_access_component::CAMERA_POSITION),
            m_content.get<Position>(id, "label"), -1.0);
        auto anchor = wriggly_position(label, "global_position", base, Vector(0, 0),
                                       right ? Button_orientation::RIGHT : Button_orientation::UP,
                                       true, true);
        update_label(label, type, anchor, k);
    }
    animate_label(label, Animation_style::FADE, false, Point(0, 0));
}

void Interface::drop_object_label(const std::string& x) {
    highlight_object(x, 0);
    delete_label(x + "_label", true);
}

void Interface::drop_object_labels() {
    for (const auto& x : labelled_objects)
        drop_object_label(x);
    labelled_objects.clear();
    if (!labelled_object.empty())
        drop_object_label(labelled_object);
    labelled_object.clear();
}

void Interface::update_active_objects() {
    auto game_status = status();
    if (signal(Key::input_mode_changed) || game_status->is(Status::IN_MENU) ||
        signal(Key::game_in_new_room)) {
        drop_object_labels();
        return;
    }

    if (auto list = m_content.request<Component::Vector<std::string>>(
            Key::interface_active_objects)) {
        const std::vector<std::string>& now = list->value();
        const bool gamepad = input_mode() == GAMEPAD;
        const std::string active =
            gamepad ? value<Component::Simple<std::string>>(Key::interface_active_object) : "";
        if (now == labelled_objects && (!gamepad || active == labelled_object))
            return;
        const std::string old = labelled_object;
        if (gamepad)
            labelled_object = active;
        // every object of either list, once
        std::vector<std::string> all = labelled_objects;
        for (const auto& x : now)
            if (!contains(all, x))
                all.push_back(x);
        for (const auto& x : all) {
            const bool shown = contains(labelled_objects, x);
            if (!contains(now, x)) {
                drop_object_label(x);
            } else if (!gamepad) {
                if (!shown) {
                    create_object_label(x);
                    highlight_object(x, 255);
                }
            } else if (x == old && x != active) {
                update_label_position(x, 0.75);
                animate_label(x + "_label", Animation_style::ZOOM, false, Point(0, 0));
                highlight_object(x, 192);
            } else if (!shown) {
                create_object_label(x);
                highlight_object(x, x == active ? 255 : 192);
            } else if (x != old && x == active) {
                update_label_position(x, 1);
                animate_label(x + "_label", Animation_style::ZOOM, false, Point(0, 0));
                highlight_object(x, 255);
            }
        }
        labelled_objects = now;
        return;
    }

    if (!labelled_objects.empty()) {
        drop_object_labels();
        return;
    }
    auto active = m_content.request<Component::Simple<std::string>>(Key::interface_active_object);
    if (!active) {
        if (!labelled_object.empty())
            drop_object_label(labelled_object);
        labelled_object.clear();
        return;
    }
    if (game_status->is(Status::INVENTORY_ACTION)) {
        // kept: the label stays away while the same item is chosen for
        if (!labelled_object.empty())
            drop_object_label(labelled_object);
        return;
    }
    const std::string& a = active->value();
    if (a != labelled_object) {
        if (!labelled_object.empty())
            drop_object_label(labelled_object);
        labelled_object = a;
        create_object_label(a);
        highlight_object(a, 255);
        return;
    }

    // the same object under the mouse: the label changes sides with some hysteresis
    if (!game_status->is(Status::IDLE) || input_mode() != MOUSE ||
        m_content.request<Component::Boolean>(Key::go_to(a), "right"))
        return;
    auto back = m_content.request<Image>(a + "_label_back", "image");
    auto back_position = m_content.request<Position>(a + "_label_back", "position");
    if (!back || !back_position)
        return; // no label shown to turn over
    const double is = Config::interface_scale;
    const double bx = back_position->value().x();
    const double cx =
        m_content.request<Position>(Fast_access_component::CURSOR_POSITION)->value().x();
    const double w = back->width();
    if ((bx > cx && bx + 0.25 * w * is > flip_right_limit) ||
        (bx <= cx && cx + 0.5 * w * is < flip_left_at))
        create_object_label(a);
}

void Interface::update_object_labels() {
    if (!receive(Key::game_new_room_loaded) && !signal(Key::interface_force_refresh))
        return;
    const double is = Config::interface_scale;

    // the absolute label points of named room objects, from the points of the game data
    std::vector<Laid_out> labels;
    for (const auto& [key, c] : components("label")) {
        auto point = Component::cast<Component::Absolute_position>(c);
        if (!point)
            continue;
        const std::string& id = point->entity();
        auto name = m_content.request<Component::Simple<std::string>>(id, "name");
        auto state = m_content.request<Component::Simple<std::string>>(id, "state");
        if (!name || !state || startswith(state->value(), "inventory"))
            continue;
        double w = is * (16 * double(locale(name->value()).size()) + 50);
        Label_type type = Label_type::PLAIN;
        if (auto right = m_content.request<Component::Boolean>(Key::go_to(id), "right")) {
            w += 50 * is;
            type = goto_type(*right);
        }
        labels.push_back({point, Point(0, 0), w, type});
    }
    for (auto& l : labels) {
        const std::string& id = l.point->entity();
        auto backup = m_content.request<Component::Absolute_position>(id, "label_backup");
        if (!backup)
            backup = m_content.set<Component::Absolute_position>(id, "label_backup",
                                                                 l.point->value());
        l.backup = backup->value();
        l.point->set(l.backup);
    }

    auto background = m_content.request<Image>(Key::background_image);
    const double b = background ? background->width() : Config::world_width;
    const double margin = int(5 * is);
    const double half_height = 25 * is;
    const double f = 0.05 * is;
    for (int round = 0; round < layout_rounds; ++round) {
        // inside the room and the view
        for (auto& l : labels) {
            l.frame(margin, half_height);
            if (l.left < margin)
                l.move(Vector(margin - l.left, 0));
            if (l.right > b - margin)
                l.move(Vector(-(l.right - (b - margin)), 0));
            if (l.top < margin)
                l.move(Vector(0, margin - l.top));
            if (l.bottom > Config::world_height - margin)
                l.move(Vector(0, -(l.bottom - (Config::world_height - margin))));
            l.push = Vector(0, 0);
        }
        // overlapping pairs push each other apart along the line between their centres
        bool overlap = false;
        for (std::size_t i = 0; i < labels.size(); ++i)
            for (std::size_t j = i + 1; j < labels.size(); ++j) {
                Laid_out& p = labels[i];
                Laid_out& q = labels[j];
                if (p.backup == q.backup || p.left > q.right || q.left > p.right ||
                    p.top > q.bottom || q.top > p.bottom)
                    continue;
                const Point cp = p.centre();
                const Point cq = q.centre();
                if (cp == cq)
                    continue;
                Vector n = cq - cp;
                n.normalize();
                const double ox = std::min(p.right, q.right) - std::max(p.left, q.left);
                const double oy = std::min(p.bottom, q.bottom) - std::max(p.top, q.top);
                const Vector push(oy * n.x(), ox * n.y());
                p.push = Vector(p.push.x() - push.x(), p.push.y() - push.y());
                q.push = Vector(q.push.x() + push.x(), q.push.y() + push.y());
                overlap = true;
            }
        for (auto& l : labels)
            if (l.push != Vector(0, 0))
                l.point->set(l.point->value() + l.push * f);
        if (!overlap)
            break;
    }
}

} // namespace Orvane::System
