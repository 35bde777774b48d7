#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Animation.h>
#include <Orvane/Utils/Clock.h>

namespace Orvane::System {

Animation::Animation(Content& content) : Base(content) {}

void Animation::run() {}

bool Animation::run_loading() {
    const std::uint64_t frame =
        frame_id(m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME));
    if (frame == m_frame_id)
        return false;
    m_frame_id = frame;
    m_content.get<Component::Animation>("Loading_spin", "image")->next_frame();
    return true;
}

} // namespace Orvane::System
