#include <algorithm>
#include <string>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Graphic.h>

namespace Orvane::System {

Graphic::Graphic(Content& content)
    : Base(content), m_browse([this](const std::string& url) { m_sdl.browse(url); }),
      m_present([this] { m_sdl.end(); }) {
    m_content.set<Component::Simple<double>>("CPU", "usage", 0.0);
}

void Graphic::init() {
    auto width = m_content.get<Component::Simple<int>>(Key::window_width);
    auto height = m_content.get<Component::Simple<int>>(Key::window_height);
    auto fullscreen = m_content.get<Component::Boolean>(Key::window_fullscreen);
    int w = width->value();
    int h = height->value();
    m_sdl.init(w, h, fullscreen->value());
    // set() marks both as altered, so that the settings writer saves the size
    width->set(w);
    height->set(h);
}

void Graphic::run() {
    if (receive(Key::game_name_changed))
        m_sdl.update_window(locale_get(Key::game_name),
                            value<Component::Simple<std::string>>(Key::icon_filename));

    // while a room loads only the spinner shows; the signals below wait for the first normal
    // frame
    if (m_content.request<Component::Simple<std::string>>(Key::game_new_room)) {
        run_loading();
        return;
    }

    if (receive(Key::game_clear_managers))
        m_sdl.clear_managers();
    if (receive(Key::window_rescaled))
        m_sdl.update_view();
    if (receive(Key::window_toggle_fullscreen))
        m_sdl.toggle_fullscreen(value<Component::Boolean>(Key::window_fullscreen));
    if (receive(Key::game_support))
        m_browse(locale_get("Support_url", "text"));

    const View view = camera_view(m_content);
    m_sdl.begin();

    build_render_list(m_content, view, m_to_display);
    for (const Entry& e : m_to_display) {
        const Component::Image& image = *e.image;
        m_sdl.draw(image.core(), image.alpha(), image.highlight(), image.xmin(), image.ymin(),
                   image.xmax() - image.xmin(), image.ymax() - image.ymin(), e.x0, e.y0,
                   e.x1 - e.x0, e.y1 - e.y0);
    }

    auto debug = m_content.request<Component::Debug>(Fast_access_component::GAME_DEBUG);
    if (debug && debug->value())
        draw_debug_overlay(view);

    m_to_display.clear();

    // the debug overlay measures the share of each frame spent working, presenting left out
    if (debug)
        debug->end_loop();
    m_present();
    if (debug)
        debug->start_loop();
}

void Graphic::run_loading() {
    m_sdl.begin();
    auto image = m_content.request<Component::Image>(Fast_access_component::LOADING_SPIN_IMAGE);
    ORVANE_CHECK(image, "Cannot find Loading_spin:image");
    const Point p =
        m_content.value<Component::Position>(Fast_access_component::LOADING_SPIN_POSITION);
    const double s = image->scale();
    const Point corner(p.x() - image->origin().x() * s, p.y() - image->origin().y() * s);
    const int w = image->xmax() - image->xmin();
    const int h = image->ymax() - image->ymin();
    m_sdl.draw(image->core(), image->alpha(), image->highlight(), image->xmin(), image->ymin(), w,
               h, corner.X(), corner.Y(), int(s * w), int(s * h));
    m_present();
}

void Graphic::build_render_list(const Content& content, const View& view, Render_list& list) {
    list.clear();
    auto status = content.request<Component::Status>(Fast_access_component::GAME_STATUS);
    const bool hide_cursor = status && status->is(Status::LOCKED, Status::CUTSCENE);

    for (const auto& [id, component] : content.components("image")) {
        auto image = Component::cast<Component::Image>(component);
        if (!image || !image->on())
            continue;
        if (hide_cursor && image->entity() == "Cursor")
            continue;

        auto position = content.get<Component::Position>(image->entity(), "position");
        const bool is_interface = position->is_interface();
        const Point p = position->value();
        const double s = image->scale();
        // the image's top-left corner in its own space, then on screen
        const Point corner(p.x() - image->origin().x() * s, p.y() - image->origin().y() * s);
        const Point top_left = view.to_screen(corner, is_interface);
        const double x1 =
            top_left.x() + view.to_screen(s * (image->xmax() - image->xmin()), is_interface);
        const double y1 =
            top_left.y() + view.to_screen(s * (image->ymax() - image->ymin()), is_interface);

        // dropped only when outside on both axes at once
        const bool meets_x = x1 >= 0 && top_left.x() <= Config::world_width;
        const bool meets_y = y1 >= 0 && top_left.y() <= Config::world_height;
        if (!meets_x && !meets_y)
            continue;
        list.push_back({std::move(image), top_left.x(), top_left.y(), x1, y1});
    }

    // one image per entity: depth then name is a total order, so the sort need not be stable
    std::sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) {
        const int za = a.image->z();
        const int zb = b.image->z();
        if (za != zb)
            return za < zb;
        // std::string compares its characters as unsigned bytes, a proper prefix first
        return a.image->entity() < b.image->entity();
    });
}

void Graphic::draw_debug_overlay(const View& view) {
    // room positions less the camera, rounded, without the zoom
    const Point cam = view.camera;
    const auto X = [&](const Point& p) { return round(p.x() - cam.x()); };
    const auto Y = [&](const Point& p) { return round(p.y() - cam.y()); };

    if (auto map = m_content.request<Component::Ground_map>(Key::background_ground_map)) {
        const auto& graph = map->graph();
        for (std::size_t i = 0; i < graph.vertex_count(); ++i) {
            const Point& p = graph.vertex(Component::Ground_map::Vertex_id(i)).point;
            m_sdl.draw_square(X(p), Y(p), 10, 255, 0, 0);
        }
        for (std::size_t i = 0; i < graph.edge_count(); ++i) {
            const Component::Ground_map::Edge_id e(i);
            const auto source = graph.source(e);
            const auto target = graph.target(e);
            if (source.is_none() || target.is_none()) // a deleted edge
                continue;
            const Point& a = graph.vertex(source).point;
            const Point& b = graph.vertex(target).point;
            if (graph.edge(e).border)
                m_sdl.draw_line(X(a), Y(a), X(b), Y(b), 255, 0, 0, 192);
            else
                m_sdl.draw_line(X(a), Y(a), X(b), Y(b), 0, 0, 255, 192);
        }
    }

    for (const auto& [id, component] : m_content.components("path")) {
        auto path = Component::cast<Component::Path>(component);
        if (!path)
            continue;
        Point previous =
            m_content.get<Component::Position>(Key::body(path->entity()), "position")->value();
        m_sdl.draw_square(X(previous), Y(previous), 10, 0, 255, 0);
        for (std::size_t i = path->current(); i < path->size(); ++i) {
            const Point& p = (*path)[i];
            m_sdl.draw_square(X(p), Y(p), 5, 0, 255, 0);
            m_sdl.draw_line(X(previous), Y(previous), X(p), Y(p), 0, 255, 0, 255);
            previous = p;
        }
    }

    for (const Entry& e : m_to_display) {
        const std::string& entity = e.image->entity();
        const std::size_t label = entity.find("_label");
        if (label == std::string::npos)
            continue;
        const std::string item = entity.substr(0, label);
        if (!m_content.request<Component::Simple<std::string>>(item, "name"))
            continue;
        const Point at = m_content.get<Component::Position>(item, "view")->value();
        const double f = m_content.value<Component::Simple<double>>(item, "reach_factor", 1.0);
        m_sdl.draw_rectangle(X(at), Y(at), int(500 * f), int(200 * f), 255, 255, 255, 92, true);
    }

    if (auto music = m_content.request<Component::Music>(Key::game_music)) {
        for (const auto& [name, source] : music->sources()) {
            // a general source has no place to circle
            if (source.state == Component::Music::Source_state::OFF || source.position.is_invalid())
                continue;
            const int x = X(source.position);
            const int y = Y(source.position);
            if (source.small_radius != 0)
                m_sdl.draw_circle(x, y, float(source.small_radius), 0, 0, 128, 128);
            if (source.big_radius != 0)
                m_sdl.draw_circle(x, y, float(source.big_radius), 0, 0, 128, 128);
        }
    }
}

} // namespace Orvane::System
