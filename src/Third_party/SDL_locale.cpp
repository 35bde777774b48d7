#include <SDL.h>

#include <Orvane/Third_party/SDL_locale.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::Third_party {

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

} // namespace Orvane::Third_party
