#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <Orvane/Component/Base.h>

namespace Orvane::Component {

/// The player's inventory: the entities of the carried items in the order they were added
/// (duplicates allowed), and the index of the first item shown in the nine-item bar.
class Inventory : public Base {
  public:
    /// Number of items the inventory bar shows at once.
    static constexpr std::size_t shown_items = 9;

    Inventory(const std::string& entity, const std::string& component);

    std::string str_name() const override { return "Inventory"; }

    /// Appends item at the end.
    void add(const std::string& item) { m_items.push_back(item); }
    /// Erases the first entry equal to item, if any; the position does not change.
    void remove(const std::string& item);
    /// Scrolls one item forward when an item lies beyond the nine shown; false otherwise.
    bool next();
    /// Scrolls one item back when the position is above 0; false otherwise.
    bool prev();
    /// Empties the list and sets the position to 0.
    void clear();

    std::size_t size() const { return m_items.size(); }
    std::size_t position() const { return m_position; }
    /// Copy of the i-th item; i must be below size().
    std::string get(std::size_t i) const;

    std::vector<std::string>::const_iterator begin() const { return m_items.begin(); }
    std::vector<std::string>::const_iterator end() const { return m_items.end(); }
    const std::vector<std::string>& data() const { return m_items; }

  private:
    std::vector<std::string> m_items;
    std::size_t m_position = 0;
};

} // namespace Orvane::Component
