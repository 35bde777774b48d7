#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <Orvane/Component/Base.h>

namespace Orvane::Component {

/// A code-lock puzzle: a panel of buttons, each entering a value, and the answer, the sequence
/// of values that opens the lock. Coordinates are pixels of the lock's panel image, origin at
/// its top-left corner. The Control system drives it (hover, move, click, reset), the Logic
/// system judges it (success, failure, reset), the interface outlines the hovered button.
class Code : public Base {
  public:
    /// One button: its value and its rectangle (x, y top-left; w, h size), plus its cell in the
    /// controller navigation grid (0 until the grid is built by the first move()).
    struct Button {
        std::string value;
        int x;
        int y;
        int w;
        int h;
        std::size_t column;
        std::size_t row;
    };

    /// An empty lock: no buttons, empty answer, nothing entered, nothing hovered.
    Code(const std::string& entity, const std::string& component);

    /// Appends a button (grid cell 0, 0).
    void add_button(const std::string& value, int x, int y, int w, int h);
    /// Appends one value to the answer.
    void add_answer_item(const std::string& value);

    /// Updates the hovered button from a cursor position; (-1, -1) hovers the first button
    /// (the lock has just opened under a controller). True when a button is hovered.
    bool hover(int x, int y);
    /// Presses the button at (x, y), or the hovered one when x or y is -1 (a controller press).
    /// True when a button was pressed; a press with nothing hovered presses nothing.
    bool click(int x, int y);
    /// Moves the highlight one cell of the navigation grid in the direction of a stick vector;
    /// builds the grid on the first call. Does nothing when no button is hovered.
    void move(double dx, double dy);
    /// Forgets the buttons pressed so far.
    void reset();

    /// The buttons pressed so far spell the answer.
    bool success() const;
    /// As many buttons as the answer has values were pressed and they do not spell it.
    bool failure() const;

    /// Rectangle of the hovered button (x, x + w, y, y + h); 0 when no button is hovered.
    int xmin() const;
    int xmax() const;
    int ymin() const;
    int ymax() const;

    /// Index of the hovered button, -1 for none.
    std::int64_t hovered() const { return m_hovered; }
    const std::vector<Button>& buttons() const { return m_buttons; }
    const std::vector<std::string>& answer() const { return m_answer; }
    /// Indices of the buttons pressed so far, in order.
    const std::vector<std::int64_t>& entered() const { return m_entered; }

    std::string str_name() const override;

  private:
    /// Index of the first button whose rectangle holds (x, y), edges included; -1 for none.
    std::int64_t button_at(int x, int y) const;
    void build_grid();
    const Button* hovered_button() const;

    std::vector<Button> m_buttons;
    std::vector<std::string> m_answer;
    std::vector<std::int64_t> m_entered;
    std::int64_t m_hovered = -1;
    std::vector<std::vector<std::int64_t>> m_grid;
};

} // namespace Orvane::Component
