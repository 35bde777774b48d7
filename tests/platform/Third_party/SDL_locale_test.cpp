#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Third_party/SDL_locale.h>
#include <Orvane/Utils/helpers.h>

namespace {

/// Sets an environment variable for one test and puts the old value back.
class Scoped_env {
public:
    Scoped_env(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value, 1);
    }
    ~Scoped_env() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    Scoped_env(const Scoped_env&) = delete;
    Scoped_env& operator=(const Scoped_env&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(Get_locales, PlatformOrderWithCountryWhenGiven) {
    // On Linux, SDL reads the preferred languages from the environment.
    Scoped_env all("LC_ALL", ""), messages("LC_MESSAGES", ""), lang("LANG", "");
    Scoped_env language("LANGUAGE", "en_US:fr");
    EXPECT_EQ(Orvane::Third_party::get_locales(), (std::vector<std::string>{"en_US", "fr"}));
}

} // namespace
