#pragma once

#include <string>
#include <unordered_map>

#include <Orvane/Component/Base.h>

namespace Orvane::Component {

/// One language's translation table: line key to translated line.
class Locale : public Base {
  public:
    Locale(const std::string& entity, const std::string& component);

    std::string str_name() const override { return "Locale"; }

    /// Inserts the pair unless the key is present already: the first line of a key stays.
    void add(const std::string& key, const std::string& line);
    /// The line stored for key; a missing key is fatal
    /// ("Line <key> not found in locale <printed form>").
    const std::string& get(const std::string& key) const;

    std::size_t size() const { return m_lines.size(); }

  private:
    std::unordered_map<std::string, std::string> m_lines;
};

} // namespace Orvane::Component
