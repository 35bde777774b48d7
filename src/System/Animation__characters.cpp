#include <Orvane/Component/Animation.h>
#include <Orvane/System/Animation.h>

namespace Orvane::System {

void Animation::handle_character_lookat(bool in_new_room) { (void)in_new_room; }

void Animation::handle_animation_stops() {}

void Animation::handle_animation_starts() {}

void Animation::handle_state_changes() {}

void Animation::handle_characters_headmove(std::shared_ptr<Component::Animation> animation) {
    (void)animation;
}

bool Animation::handle_moves() { return false; }

void Animation::update_camera_target() {}

} // namespace Orvane::System
