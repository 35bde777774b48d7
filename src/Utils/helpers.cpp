#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <sstream>

#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane {

bool is_int(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool is_relative(const std::string& s) { return !s.empty() && (s[0] == '+' || s[0] == '-'); }

int to_int(const std::string& s) {
    // strtol instead of atoi: out of range, atoi is undefined, strtol saturates; clamp the rest
    const long value = std::strtol(s.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, std::numeric_limits<int>::min(),
                                             std::numeric_limits<int>::max()));
}

double to_double(const std::string& s) { return std::atof(s.c_str()); }

bool to_bool(const std::string& s) { return s == "true"; }

std::string to_string(const std::string& s) { return s; }

std::string to_string(const bool& b) { return b ? "true" : "false"; }

std::string to_string(const char* s) { return s; }

bool startswith(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool endswith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool contains(const std::initializer_list<const char*>& list, const std::string& s) {
    return std::any_of(list.begin(), list.end(), [&](const char* item) { return s == item; });
}

void capitalize(std::string& s) {
    if (s.size() >= 2 && static_cast<unsigned char>(s[0]) == 0xC3 &&
        static_cast<unsigned char>(s[1]) == 0xA9) {
        s[1] = static_cast<char>(0x89); // é -> É
        return;
    }
    if (!s.empty())
        s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
}

RGB_color color_from_string(const std::string& s) {
    std::istringstream stream(s);
    int n = 0;
    stream >> std::hex >> n; // on overflow the stream stores the largest int
    return {static_cast<unsigned char>((n / 65536) % 256),
            static_cast<unsigned char>((n / 256) % 256), static_cast<unsigned char>(n % 256)};
}

bool is_transparent_black_or_white(const std::array<unsigned char, 4>& c) {
    return c[3] == 0 &&
           ((c[0] == 0 && c[1] == 0 && c[2] == 0) || (c[0] == 255 && c[1] == 255 && c[2] == 255));
}

int random_int(int a, int b) {
    ORVANE_CHECK(b > a, "random_int needs b > a, got " + std::to_string(a) + " and " + std::to_string(b));
    return a + (std::rand() % (b - a));
}

double random_double(double a, double b) { return a + (std::rand() / 2147483647.0) * (b - a); }

std::string time_to_string(double seconds) {
    // A play time read from a damaged save file may be negative, huge or not a number:
    // clamp it so that the conversion to int stays defined.
    if (!(seconds > 0))
        seconds = 0;
    else if (seconds > std::numeric_limits<int>::max())
        seconds = std::numeric_limits<int>::max();
    int s = static_cast<int>(seconds);
    int h = s / 3600;
    int m = (s / 60) % 60;
    return (s < 36000 ? "0" : "") + std::to_string(h) + ":" + (m < 10 ? "0" : "") +
           std::to_string(m);
}

std::string date_to_string(std::int64_t t) {
    const auto time = static_cast<std::time_t>(t);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr)
        return {}; // beyond what the calendar functions handle
    char buffer[18];
    if (std::strftime(buffer, sizeof buffer, "%F, %R", &local) == 0)
        return {}; // a year past 9999 does not fit
    return buffer;
}

std::string locale_name(const char* language, const char* country) {
    std::string name = language ? language : "";
    if (country && *country)
        name += std::string("_") + country;
    return name;
}

std::optional<std::string> closest_word(const std::string& word,
                                        const std::vector<std::string>& candidates) {
    // optimal string alignment distance: insertions, deletions, changes and swaps of neighbours
    auto distance = [](const std::string& a, const std::string& b) {
        std::vector<std::vector<std::size_t>> d(a.size() + 1,
                                                std::vector<std::size_t>(b.size() + 1, 0));
        for (std::size_t i = 0; i <= a.size(); ++i)
            d[i][0] = i;
        for (std::size_t j = 0; j <= b.size(); ++j)
            d[0][j] = j;
        for (std::size_t i = 1; i <= a.size(); ++i)
            for (std::size_t j = 1; j <= b.size(); ++j) {
                const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
                d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
                if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                    d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        return d[a.size()][b.size()];
    };
    std::optional<std::string> best;
    std::size_t best_distance = 3;
    for (const std::string& candidate : candidates) {
        // texts far longer than a key are no misspelling of it, and are not worth comparing
        if (candidate.size() > word.size() + 2 || word.size() > candidate.size() + 2)
            continue;
        const std::size_t d = distance(word, candidate);
        if (d < best_distance && 2 * d < word.size()) {
            best = candidate;
            best_distance = d;
        }
    }
    return best;
}

} // namespace Orvane
