#include <SDL.h>

#include <Orvane/Third_party/SDL_time.h>

namespace Orvane::Third_party {

unsigned int SDL_time::now() { return SDL_GetTicks(); }

void SDL_time::wait(const unsigned int& milliseconds) { SDL_Delay(milliseconds); }

} // namespace Orvane::Third_party
