#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

namespace Orvane::Third_party {

/// Builds the text of a YAML file in memory, one line per operation, then puts it whole into
/// a file of the per-user folder (settings, saves).
///
/// Every operation first writes the current indentation as spaces and ends its line with a
/// line feed. Texts written between double quotes have '"' and '\' escaped (and control
/// characters and the characters a reader folds as line breaks, so that every text reads back
/// as written); keys are written as given.
class Yaml_writer {
  public:
    /// key ":" and a line break; the following lines are indented two more spaces.
    void start_section(const std::string& key);
    /// Ends the current section: two spaces less (never below 0).
    void end_section();
    /// key ": true" or key ": false".
    void write(const std::string& key, const bool& value);
    /// key ": " and the quoted text.
    void write(const std::string& key, const std::string& value);
    void write(const std::string& key, const char* value);
    /// key ": [a, b]" (a pair of integers, such as a window size).
    void write(const std::string& key, const int& a, const int& b);
    /// key ":" then one line "- " and the quoted text per value, two spaces further in.
    void write(const std::string& key, const std::vector<std::string>& values);
    /// key ": " and the number: integers and enumerations in decimal, doubles with six
    /// decimals (0.500000).
    template <typename T>
    requires((std::is_arithmetic_v<T> ||
              std::is_enum_v<T>)&&!std::is_same_v<T, bool>) void write(const std::string& key,
                                                                       const T& value) {
        line(key + ": " + format(value));
    }

    /// "- " and the quoted text.
    void write_list_item(const std::string& value);
    /// "- { key1: "value1", key2: value2 }": the first value quoted, the second as format()
    /// gives it, unquoted (a text goes in unchanged).
    template <typename T1, typename T2>
    void write_list_item(const std::string& key1, const T1& value1, const std::string& key2,
                         const T2& value2) {
        line("- { " + key1 + ": " + quoted(format(value1)) + ", " + key2 + ": " + format(value2) +
             " }");
    }
    /// "- { key1: "value1", key2: "value2", key3: "value3" }": all three values quoted.
    template <typename T1, typename T2, typename T3>
    void write_list_item(const std::string& key1, const T1& value1, const std::string& key2,
                         const T2& value2, const std::string& key3, const T3& value3) {
        line("- { " + key1 + ": " + quoted(format(value1)) + ", " + key2 + ": " +
             quoted(format(value2)) + ", " + key3 + ": " + quoted(format(value3)) + " }");
    }
    /// "- { key1: "value1", key2: [v1, v2, ...] }": the listed values unquoted, separated by
    /// ", ".
    template <typename T>
    void write_list_item(const std::string& key1, const std::string& value1,
                         const std::string& key2, std::initializer_list<T> values) {
        write_list_item(key1, value1, key2, std::vector<T>(values));
    }
    template <typename T>
    void write_list_item(const std::string& key1, const std::string& value1,
                         const std::string& key2, const std::vector<T>& values) {
        std::string items;
        for (const T& v : values)
            items += (items.empty() ? "" : ", ") + format(v);
        line("- { " + key1 + ": " + quoted(value1) + ", " + key2 + ": [" + items + "] }");
    }

    /// The text written so far.
    const std::string& text() const { return m_text; }

    /// Puts the text into the file `name` of the per-user folder: written to a temporary file
    /// beside it, which replaces the previous file only once it is complete. Never fatal: a
    /// file that cannot be written (a full disk, a read-only folder, a directory in its
    /// place) gives false and the warning "Can't write <name>: <reason>", and leaves the
    /// previous file as it was, without a temporary file.
    bool save(const std::string& name) const;

    /// Text of a value as the writer puts it in a line.
    static std::string format(const std::string& value) { return value; }
    static std::string format(const char* value) { return value; }
    static std::string format(const bool& value) { return value ? "true" : "false"; }
    template <typename T>
    requires((std::is_arithmetic_v<T> ||
              std::is_enum_v<T>)&&!std::is_same_v<T, bool>) static std::string
        format(const T& value) {
        if constexpr (std::is_enum_v<T>)
            return std::to_string(static_cast<std::underlying_type_t<T>>(value));
        else
            return std::to_string(value);
    }
    /// The text between double quotes, with '"', '\' and control characters escaped.
    static std::string quoted(const std::string& value);

  private:
    void line(const std::string& text);

    std::string m_text;
    std::size_t m_indentation = 0;
};

} // namespace Orvane::Third_party
