#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Utils/choose_locale.h>

namespace Orvane {
namespace {

TEST(Choose_locale_test, TheLanguageIsChosenFromSettingsSystemAndCommandLine) {
    struct Case {
        const char* what;
        std::string configured;
        std::vector<std::string> preferred;
        std::vector<std::string> offered;
        const char* cmdline;
        std::string expected;
        std::size_t warnings;
    };
    const std::vector<std::string> en_fr = {"en_US", "fr_FR"};
    const std::vector<std::string> fr_de = {"fr_FR", "de_DE"};
    const std::vector<Case> cases = {
        {"language match", "", {"de_DE", "fr_CA"}, en_fr, nullptr, "fr_FR", 0},
        {"exact match first", "", {"fr_CA", "en_US"}, en_fr, nullptr, "en_US", 0},
        {"two-letter preference", "", {"fr"}, en_fr, nullptr, "fr_FR", 0},
        {"two-letter before language", "", {"en_GB", "fr"}, en_fr, nullptr, "fr_FR", 0},
        {"nothing matches, en_US offered", "", {"ja_JP"}, en_fr, nullptr, "en_US", 0},
        {"no preference at all", "", {}, en_fr, nullptr, "en_US", 0},
        {"nothing matches, en_US not offered", "", {"ja_JP"}, fr_de, nullptr, "fr_FR", 0},
        {"configured wins over the command line", "fr_FR", {"en_US"}, en_fr, "en_US", "fr_FR", 0},
        {"command line without configuration", "", {"en_US"}, en_fr, "fr_FR", "fr_FR", 0},
        {"command line not offered", "", {"fr_FR"}, en_fr, "de_DE", "fr_FR", 1},
        {"command line not offered, no match", "", {}, fr_de, "en_US", "fr_FR", 1},
        {"configured not offered", "de_DE", {"fr_BE"}, en_fr, nullptr, "fr_FR", 1},
        {"configured not offered, then command line", "es_ES", {}, en_fr, "fr_FR", "fr_FR", 1},
        {"both not offered", "es_ES", {}, en_fr, "it_IT", "en_US", 2},
        {"empty preference skipped", "", {"", "fr_FR"}, en_fr, nullptr, "fr_FR", 0},
        {"single locale", "", {"fr_FR"}, {"de_DE"}, nullptr, "de_DE", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string cmdline = c.cmdline ? c.cmdline : "";
        const Locale_choice choice =
            choose_locale(c.configured, c.preferred, c.offered, c.cmdline ? &cmdline : nullptr);
        EXPECT_EQ(choice.locale, c.expected);
        EXPECT_EQ(choice.warnings.size(), c.warnings);
        for (const std::string& w : choice.warnings)
            EXPECT_NE(w.find("not offered"), std::string::npos) << w;
    }
}

} // namespace
} // namespace Orvane
