#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Version.h>

namespace Orvane {
namespace {

TEST(Version_test, TheEngineSpellsItsOwnVersion) {
    EXPECT_EQ(Version::str(false), "1.6.0");
    EXPECT_EQ(Version::str(true), "1.6.0-mit");
}

TEST(Version_test, VersionTextsCountAsNumbers) {
    struct Case {
        std::string text;
        std::optional<unsigned int> number;
    };
    const std::vector<Case> cases = {
        {"1.6.0", 10600u},      {"1.6.1", 10601u},    {"1.10.0", 11000u},
        {"2.0.0", 20000u},      {"0.99.0", 9900u},    {"1.5.99", 10599u},
        {"2.0b.1", 20001u},     {"..", 0u},           {"429496.72.95", 4294967295u},
        {"1.6", std::nullopt},  {"", std::nullopt},   {"4294967.0.0", std::nullopt},
        {"429496.72.96", std::nullopt},               {"1.99999999999.0", std::nullopt},
        {"1.0.99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Version::parse(c.text), c.number);
    }
}

} // namespace
} // namespace Orvane
