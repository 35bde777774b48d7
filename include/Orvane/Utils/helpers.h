#pragma once

#include <algorithm>
#include <array>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace Orvane {

// Text to value: the data files hold every scalar as text. None of these fails: unreadable
// text gives 0, 0.0 or false.

/// True when every byte is an ASCII decimal digit (no sign); the empty text counts as an int.
bool is_int(const std::string& s);
/// True when the text begins with '+' or '-': an offset to a current value.
bool is_relative(const std::string& s);
/// The leading decimal integer (after blanks, with an optional sign), 0 when there is none;
/// a number beyond the int range gives the nearest int limit.
int to_int(const std::string& s);
/// The standard atof.
double to_double(const std::string& s);
/// True exactly for the text "true".
bool to_bool(const std::string& s);

/// Value to text, so that one template writes any value.
std::string to_string(const std::string& s);
std::string to_string(const bool& b);
/// Without it, a string literal would pick the bool form.
std::string to_string(const char* s);

bool startswith(const std::string& s, const std::string& prefix);
bool endswith(const std::string& s, const std::string& suffix);
/// Substring search; an empty part always occurs. (A template, so that a braced list of texts
/// never converts to a string and always reaches the membership form below.)
template <typename S>
requires std::same_as<S, std::string>
bool contains(const S& s, const char* part) { return s.find(part) != std::string::npos; }
template <typename S>
requires std::same_as<S, std::string>
bool contains(const S& s, const std::string& part) { return s.find(part) != std::string::npos; }
/// Membership: s equals one of the list's texts.
bool contains(const std::initializer_list<const char*>& list, const std::string& s);
/// Membership: x equals one of v's elements.
template <typename T> bool contains(const std::vector<T>& v, const std::type_identity_t<T>& x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}
/// The word of `candidates` nearest to `word` when one is close enough to be a misspelling of
/// it: at most two letters added, removed, changed or swapped with a neighbour, and fewer than
/// half of the word's letters. The first of equally near ones; nothing when none is close.
std::optional<std::string> closest_word(const std::string& word,
                                        const std::vector<std::string>& candidates);
/// Upper-cases the first letter in place: ASCII letters, and "é" (the one accent handled).
void capitalize(std::string& s);

/// An RGB colour, red first.
using RGB_color = std::array<unsigned char, 3>;
/// Reads six hexadecimal digits, red first ("FF8000"), as one hexadecimal number.
RGB_color color_from_string(const std::string& s);
/// True for transparent black and transparent white.
bool is_transparent_black_or_white(const std::array<unsigned char, 4>& c);

/// A value from a to b - 1 from the standard generator; b must be greater than a.
int random_int(int a, int b);
/// A value from a to b, both included, from the standard generator.
double random_double(double a, double b);

/// Play time in seconds as "hh:mm" (hours not capped, seconds not shown). A negative or
/// non-numeric time prints as "00:00"; times beyond the int range stop at its largest value.
std::string time_to_string(double seconds);
/// Calendar time (seconds since the epoch, 64 bits: dates past 2038 too) as local
/// "YYYY-MM-DD, hh:mm"; empty when the year does not fit in four digits.
std::string date_to_string(std::int64_t t);

/// The language code, followed by "_" and the country code when there is one.
std::string locale_name(const char* language, const char* country);

} // namespace Orvane
