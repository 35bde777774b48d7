#pragma once

#include <string>
#include <vector>

namespace Orvane {

/// What the automatic choice of the language decided, and what it warns about.
struct Locale_choice {
    std::string locale;
    std::vector<std::string> warnings;
};

/// The current language from the configured one, the system's preferred locales (most
/// preferred first), the offered locale ids (the source language first, never empty) and the
/// command-line option (null when absent). A configured locale that is offered stays. Otherwise
/// the choice is the first exact match of a preference, else of a two-letter preference with
/// an offered id's language, else of a preference's language with an offered id's language,
/// else "en_US" when offered, else the source language; an offered command-line locale then
/// replaces it. A configured or command-line locale that is not offered is ignored, with a
/// warning.
Locale_choice choose_locale(const std::string& configured,
                            const std::vector<std::string>& preferred,
                            const std::vector<std::string>& offered, const std::string* cmdline);

} // namespace Orvane
