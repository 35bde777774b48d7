#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Locale.h>
#include <Orvane/Config.h>

#include "support/File_IO_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Image;

using Locale_test = File_IO_test;

std::vector<Packer::Entry> variant_entries() {
    std::vector<Packer::Entry> entries = game_entries();
    const std::vector<std::pair<std::string, unsigned>> pictures = {
        {"all", 10},        {"all.fr_FR", 11},  {"all.de_DE", 12}, {"second", 20},
        {"second.fr_FR", 21}, {"none", 30},
    };
    for (const auto& [name, width] : pictures)
        entries.push_back(image_entry("images/windows/" + name + ".png", test_image(width, 5)));
    return entries;
}

TEST_F(Locale_test, APictureFollowsTheLanguageOnlyWhenEveryLanguageHasItsVariant) {
    load(variant_entries());
    auto current = content.get<Component::Simple<std::string>>("Game", "current_locale");
    struct Case {
        std::vector<std::string> locales;
        std::string picture;
        std::vector<int> widths; // per locale; all equal for a plain picture
        bool conditional;
    };
    const std::vector<std::string> three = {"en_US", "fr_FR", "de_DE"};
    const std::vector<Case> cases = {
        {three, "all", {10, 11, 12}, true},
        {three, "second", {20, 20, 20}, false},
        {three, "none", {30, 30, 30}, false},
        {{"en_US"}, "all", {10}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture + " over " + std::to_string(c.locales.size()) + " locales");
        content.set<Component::Vector<std::string>>("Game", "available_locales", c.locales);
        std::vector<std::string> made;
        auto maker = [&made](const std::string& file) {
            made.push_back(file);
            auto image = std::make_shared<Image>("pic", "image", file, 7);
            image->on() = false;
            return image;
        };
        auto result = file_io.load_locale_dependent_image(
            "pic", "image", "images/windows/" + c.picture + ".png", maker, true);
        EXPECT_EQ(content.request<Component::Base>("pic", "image"), result);
        EXPECT_EQ(std::dynamic_pointer_cast<Component::Simple_conditional<std::string>>(result) !=
                      nullptr,
                  c.conditional);
        EXPECT_EQ(made.front(), "images/windows/" + c.picture + ".png");
        for (std::size_t i = 0; i < c.locales.size(); ++i) {
            current->set(c.locales[i]);
            auto image = content.request<Image>("pic", "image");
            ASSERT_TRUE(image) << c.locales[i];
            EXPECT_EQ(image->width(), c.widths[i]) << c.locales[i];
            EXPECT_EQ(image->z(), 7);
            EXPECT_FALSE(image->on());
        }
    }
    // without store, nothing is filed
    content.remove("pic", "image");
    auto kept = file_io.load_locale_dependent_image(
        "pic", "image", "images/windows/all.png",
        [](const std::string& file) { return std::make_shared<Image>("pic", "image", file); },
        false);
    EXPECT_TRUE(kept);
    EXPECT_FALSE(content.request<Component::Base>("pic", "image"));
}

TEST_F(Locale_test, ATextIsRenderedOncePerLanguage) {
    load(game_entries());
    content.set<Component::Simple<std::string>>("Cmdline", "locale", "en_US");
    file_io.read_locale();
    auto font = std::make_shared<Component::Font>("Interface", "font", "fonts/DejaVuSans.ttf", 40);
    auto current = content.get<Component::Simple<std::string>>("Game", "current_locale");
    current->set("fr_FR");
    current->mark_as_unaltered();
    file_io.create_locale_dependent_text("quit", font, "FFFFFF", "Quit", 1000008);
    EXPECT_EQ(current->value(), "fr_FR");
    EXPECT_TRUE(content.request<Component::Simple_conditional<std::string>>("quit", "image"));
    int widths[2] = {0, 0};
    int i = 0;
    for (const char* id : {"en_US", "fr_FR"}) {
        SCOPED_TRACE(id);
        current->set(id);
        auto image = content.request<Image>("quit", "image");
        ASSERT_TRUE(image);
        EXPECT_EQ(image->z(), 1000008);
        EXPECT_EQ(image->scale(), 0.75);
        EXPECT_EQ(image->collision(), Component::Collision_type::UNCLICKABLE);
        EXPECT_FALSE(image->on());
        widths[i++] = image->width();
    }
    EXPECT_LT(widths[0], widths[1]); // "Quit", then "Quitter"

    // a single-language game renders the text as written, without a conditional
    content.set<Component::Vector<std::string>>("Game", "available_locales",
                                                std::vector<std::string>{"en_US"});
    file_io.create_locale_dependent_text("back", font, "FFFFFF", "Untranslated", 5);
    auto plain = content.request<Image>("back", "image");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(content.request<Component::Simple_conditional<std::string>>("back", "image"));
    EXPECT_EQ(plain->z(), 5);
    EXPECT_EQ(plain->scale(), 0.75);
}

TEST_F(Locale_test, LocalesThatAreNotOfferedNeverBecomeCurrent) {
    struct Case {
        const char* configured;
        const char* cmdline;
        std::string expected;
        int warnings;
    };
    const std::vector<Case> cases = {
        {"fr_FR", "en_US", "fr_FR", 0},
        {"", "fr_FR", "fr_FR", 0},
        {"de_DE", "fr_FR", "fr_FR", 1},
        {"", "de_DE", "", 1},
        {"de_DE", "it_IT", "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.configured) + " / " + c.cmdline);
        content.clear();
        fixed_components();
        pref.write("config.yaml", std::string("locale: \"") + c.configured + "\"\n");
        load(game_entries());
        content.set<Component::Simple<std::string>>("Cmdline", "locale", c.cmdline);
        ::testing::internal::CaptureStderr();
        file_io.read_locale();
        const std::string err = ::testing::internal::GetCapturedStderr();
        const std::string current =
            content.value<Component::Simple<std::string>>(Fast_access_component::GAME_CURRENT_LOCALE);
        if (!c.expected.empty()) {
            EXPECT_EQ(current, c.expected);
        }
        EXPECT_TRUE(current == "en_US" || current == "fr_FR") << current;
        int count = 0;
        for (std::size_t at = err.find("Warning: "); at != std::string::npos;
             at = err.find("Warning: ", at + 1))
            ++count;
        EXPECT_EQ(count, c.warnings) << err;
        // the translation follows the current language
        EXPECT_EQ(file_io.locale("Back"), current == "fr_FR" ? "Retour" : "Back");
    }
}

} // namespace
} // namespace Orvane::Test
