#include <Orvane/System/Sound.h>

namespace Orvane::System {

Sound::Sound(Content& content) : Base(content) {}

void Sound::run() {}

} // namespace Orvane::System
