#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Locale.h>

namespace {

using Orvane::Component::Locale;

TEST(LocaleTest, FirstLineOfAKeyStays) {
    Locale fr("fr", "locale");
    fr.add("Hello", "Bonjour");
    fr.add("Hello", "Salut");
    fr.add("", "(vide)");
    EXPECT_EQ(fr.get("Hello"), "Bonjour");
    EXPECT_EQ(fr.get(""), "(vide)");
    EXPECT_EQ(fr.size(), 2u);
    EXPECT_EQ(fr.str(), "Locale(fr:locale)");
}

TEST(LocaleDeathTest, MissingLineIsFatal) {
    Locale fr("fr", "locale");
    fr.add("Hello", "Bonjour");
    EXPECT_EXIT(fr.get("Goodbye"), ::testing::ExitedWithCode(1),
                "Line Goodbye not found in locale Locale\\(fr:locale\\)");
    EXPECT_EXIT(fr.get("hello"), ::testing::ExitedWithCode(1), "Line hello not found");
}

} // namespace
