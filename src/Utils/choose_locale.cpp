#include <string>
#include <vector>

#include <Orvane/Utils/choose_locale.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane {

namespace {

bool offers(const std::vector<std::string>& offered, const std::string& id) {
    return contains(offered, id);
}

// The language part of a locale id: its first two characters.
std::string language(const std::string& id) { return id.substr(0, 2); }

} // namespace

Locale_choice choose_locale(const std::string& configured,
                            const std::vector<std::string>& preferred,
                            const std::vector<std::string>& offered, const std::string* cmdline) {
    Locale_choice out;
    if (!configured.empty()) {
        if (offers(offered, configured)) {
            out.locale = configured;
            return out;
        }
        out.warnings.push_back("The configured locale " + configured +
                               " is not offered by the game; it is ignored");
    }

    auto first_match = [&](auto&& matches) -> std::string {
        for (const std::string& pref : preferred) {
            if (pref.empty())
                continue;
            for (const std::string& id : offered)
                if (matches(pref, id))
                    return id;
        }
        return "";
    };
    std::string choice =
        first_match([](const std::string& pref, const std::string& id) { return id == pref; });
    if (choice.empty())
        choice = first_match(
            [](const std::string& pref, const std::string& id) { return language(id) == pref; });
    if (choice.empty())
        choice = first_match([](const std::string& pref, const std::string& id) {
            return language(id) == language(pref);
        });
    if (choice.empty())
        choice = offers(offered, "en_US") ? std::string("en_US") : offered.front();

    if (cmdline) {
        if (offers(offered, *cmdline))
            choice = *cmdline;
        else
            out.warnings.push_back("The command-line locale " + *cmdline +
                                   " is not offered by the game; it is ignored");
    }
    out.locale = choice;
    return out;
}

} // namespace Orvane
