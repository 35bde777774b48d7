#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Graphic.h>

namespace Orvane::System {

Graphic::Graphic(Content& content) : Base(content) {
    m_content.set<Component::Simple<double>>("CPU", "usage", 0.0);
}

void Graphic::init() {
    auto width = m_content.get<Component::Simple<int>>("Window", "width");
    auto height = m_content.get<Component::Simple<int>>("Window", "height");
    auto fullscreen = m_content.get<Component::Boolean>("Window", "fullscreen");
    int w = width->value();
    int h = height->value();
    m_sdl.init(w, h, fullscreen->value());
    // set() marks both as altered, so that the settings writer saves the size
    width->set(w);
    height->set(h);
}

void Graphic::run() {
    if (receive("Window", "rescaled"))
        m_sdl.update_view();
    m_sdl.begin();
    // the debug overlay measures the share of each frame spent working
    auto debug = m_content.request<Component::Debug>(Fast_access_component::GAME_DEBUG);
    if (debug)
        debug->end_loop();
    m_sdl.end();
    if (debug)
        debug->start_loop();
}

void Graphic::run_loading() {
    m_sdl.begin();
    m_sdl.end();
}

} // namespace Orvane::System
