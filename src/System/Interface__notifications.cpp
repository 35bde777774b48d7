#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/integer.h>

namespace Orvane::System {

namespace {

using Component::Absolute_position;
using Component::Collision_type;
using Component::Image;
using Slot = Fast_access_component;

/// Widest a banner's background may be on screen: the view less a margin of 20 on each side.
constexpr double widest_banner = 1880;

/// The number n of a notification entity "Notification_<n>".
int banner_number(const std::string& entity) {
    const std::size_t underscore = entity.find('_');
    std::optional<int> n;
    if (underscore != std::string::npos)
        n = parse_int(std::string_view(entity).substr(underscore + 1));
    ORVANE_CHECK(n && *n >= 0, "Notification without a number: " + entity);
    return *n;
}

/// The drawing state every image of a banner shares.
void dress(Image& image, unsigned char alpha, double scale, int z) {
    image.on() = true;
    image.set_alpha(alpha);
    image.set_scale(scale);
    image.z() = z;
    image.set_collision(Collision_type::UNCLICKABLE);
}

} // namespace

void Interface::build_notification(const std::string& entity, const std::string& text) {
    const double s = Config::interface_scale;
    const double t = m_content.value<Component::Simple<double>>(Slot::CLOCK_TIME);
    const bool achievement = receive(entity, "is_achievement");
    const unsigned char alpha = achievement ? 191 : 170;
    const std::string star_entity = entity + "_star";
    const std::string back_entity = entity + "_back";

    m_content.set<Component::Simple<double>>(entity, "creation_time", t);
    auto group = m_content.set<Component::Group>(entity, "group");
    const int n = banner_number(entity);

    auto label =
        m_content.set<Image>(entity, "image", m_content.get<Component::Font>(Key::interface_font),
                             achievement ? "443700" : "000000", text);
    label->set_relative_origin(0.5, 0.5);
    dress(*label, alpha, 0.5 * s, Config::TOPMOST);
    group->add(label);

    std::shared_ptr<Image> star;
    if (achievement) {
        star = m_content.set<Image>(star_entity, "image", m_content.get<Image>(Key::star_image));
        star->set_relative_origin(0.5, 0.5);
        dress(*star, alpha, 0.5 * s, Config::TOPMOST);
        group->add(star);
    }

    // the pill: a half-circle at each end of a rectangle that holds the text (and the star)
    int middle = int(0.5 * label->width());
    if (achievement)
        middle = int(middle + 0.25 * star->width() + 20);
    auto back =
        achievement
            ? join_label_back(back_entity, m_content.get<Image>(Key::yellow_left_circle_image),
                              middle, m_content.get<Image>(Key::yellow_right_circle_image), 255,
                              240, 182)
            : join_label_back(back_entity, m_content.get<Image>(Key::white_left_circle_image),
                              middle, m_content.get<Image>(Key::white_right_circle_image), 255, 255,
                              255);
    back->origin() = Point(0, 0);
    dress(*back, alpha, 0.5 * s, Config::TOPMOST - 1);
    m_content.set(back);
    group->add(back);

    // a text too long for the view shrinks, with its star, to the widest background
    if (back->width() * back->scale() > widest_banner) {
        const double scale = widest_banner / back->width();
        for (const auto& image : {back, label, star})
            if (image)
                image->set_scale(scale);
    }

    // rows by number: down from the top edge, or up from the bottom edge in a cutscene
    auto game_status = status();
    ORVANE_CHECK(game_status, "Cannot find Game:status");
    const double y = game_status->is(Status::CUTSCENE)
                         ? Config::world_height - 20.0 * (n + 1) - 50 * s * (n + 1)
                         : 20.0 * (n + 1) + 50 * s * n;
    const int top = int(y);
    const double sb = back->scale();
    const double middle_y = top + 0.5 * back->height() * sb;
    m_content.set<Absolute_position>(back_entity, "position", Point(20, top));
    if (star) {
        const double star_x = 20 + 0.5 * sb * star->width();
        m_content.set<Absolute_position>(star_entity, "position", Point(star_x, middle_y));
        m_content.set<Absolute_position>(entity, "position",
                                         Point(star_x + 0.5 * sb * label->width(), middle_y));
    } else {
        m_content.set<Absolute_position>(entity, "position",
                                         Point(20 + 0.5 * back->width() * sb, middle_y));
    }

    animate_label(entity, Animation_style::FADE, false, Point(0, 0));
}

void Interface::update_notifications() {
    const bool new_room = signal(Key::game_in_new_room);

    // the ended notifications leave the store after the walk
    std::vector<Content::Component_ptr> ended;
    m_content.walk("notification", [&](const Content::Component_ptr& c) {
        const std::string& entity = c->entity();
        if (new_room || receive(entity, "end_notification")) {
            // right after a room change the banner goes at once, without a fade
            delete_label(entity, !new_room);
            // an achievement ended before it was shown leaves no mark on the slot's next notice
            remove(entity, "is_achievement", true);
            ended.push_back(c);
            return;
        }
        if (m_content.request<Image>(entity, "image"))
            return; // up already
        auto notification = Component::cast<Component::Simple<std::string>>(c);
        ORVANE_CHECK(notification, "Cannot find " + entity + ":notification");
        build_notification(entity, notification->value());
    });
    for (const auto& c : ended)
        remove(c);

    // an end request for a notification that is not there is dropped
    std::erase_if(components("end_notification"),
                  [](const auto& entry) { return entry.first.component() == "end_notification"; });
}

} // namespace Orvane::System
