// The user's preferred locales come from SDL; this is the only place that asks it.
#include <SDL.h>

#include <Orvane/Utils/helpers.h>

namespace Orvane {

std::vector<std::string> get_locales() {
    std::vector<std::string> result;
    SDL_Locale* locales = SDL_GetPreferredLocales();
    if (!locales)
        return result;
    for (const SDL_Locale* l = locales; l->language; ++l)
        result.push_back(locale_name(l->language, l->country));
    SDL_free(locales);
    return result;
}

} // namespace Orvane
