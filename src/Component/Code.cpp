#include <algorithm>

#include <Orvane/Component/Code.h>

namespace Orvane::Component {

Code::Code(const std::string& entity, const std::string& component) : Base(entity, component) {}

void Code::add_button(const std::string& value, int x, int y, int w, int h) {
    m_buttons.push_back(Button{value, x, y, w, h, 0, 0});
}

void Code::add_answer_item(const std::string& value) { m_answer.push_back(value); }

std::int64_t Code::button_at(int x, int y) const {
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const Button& b = m_buttons[i];
        if (b.x <= x && x <= b.x + b.w && b.y <= y && y <= b.y + b.h)
            return static_cast<std::int64_t>(i);
    }
    return -1;
}

const Code::Button* Code::hovered_button() const {
    if (m_hovered < 0 || static_cast<std::size_t>(m_hovered) >= m_buttons.size())
        return nullptr;
    return &m_buttons[static_cast<std::size_t>(m_hovered)];
}

bool Code::hover(int x, int y) {
    if (x == -1 && y == -1) {
        // The lock has just opened: a controller starts on the first button, if there is one.
        m_hovered = m_buttons.empty() ? -1 : 0;
        return m_hovered != -1;
    }
    m_hovered = button_at(x, y);
    return m_hovered != -1;
}

bool Code::click(int x, int y) {
    if (x == -1 || y == -1) {
        if (hovered_button() == nullptr)
            return false;
        m_entered.push_back(m_hovered);
        return true;
    }
    m_hovered = button_at(x, y);
    if (m_hovered == -1)
        return false;
    m_entered.push_back(m_hovered);
    return true;
}

void Code::build_grid() {
    std::vector<int> xs, ys;
    for (const Button& b : m_buttons) {
        xs.push_back(b.x);
        ys.push_back(b.y);
    }
    auto distinct = [](std::vector<int>& v) {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
    };
    distinct(xs);
    distinct(ys);

    m_grid.assign(xs.size(), std::vector<std::int64_t>(ys.size(), -1));
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        Button& b = m_buttons[i];
        b.column =
            static_cast<std::size_t>(std::lower_bound(xs.begin(), xs.end(), b.x) - xs.begin());
        b.row = static_cast<std::size_t>(std::lower_bound(ys.begin(), ys.end(), b.y) - ys.begin());
        m_grid[b.column][b.row] =
            static_cast<std::int64_t>(i); // a later button on the same cell wins
    }
}

void Code::move(double dx, double dy) {
    const Button* current = hovered_button();
    if (current == nullptr)
        return;
    if (m_grid.empty())
        build_grid();

    const std::size_t last_column = m_grid.size() - 1;
    const std::size_t last_row = m_grid.front().size() - 1;
    std::size_t c = current->column;
    std::size_t r = current->row;

    auto step_right = [&] {
        if (c != last_column)
            ++c;
    };
    auto step_left = [&] {
        if (c != 0)
            --c;
    };
    auto step_down = [&] {
        if (r != last_row)
            ++r;
    };
    auto step_up = [&] {
        if (r != 0)
            --r;
    };
    auto step_vertical = [&] {
        if (dy <= 0)
            step_up();
        else
            step_down();
    };

    if (dx > 0.9) {
        step_right();
    } else if (dx < -0.9) {
        step_left();
    } else if (dy > 0.9) {
        step_down();
    } else if (dy < -0.9) {
        step_up();
    } else if (dx > 0.4) {
        step_right();
        step_vertical();
    } else if (dx < -0.4) {
        step_left();
        step_vertical();
    }

    // an empty cell is not skipped over: the highlight stays where it is
    if (m_grid[c][r] != -1)
        m_hovered = m_grid[c][r];
}

void Code::reset() { m_entered.clear(); }

bool Code::success() const {
    if (m_entered.size() != m_answer.size())
        return false;
    for (std::size_t i = 0; i < m_entered.size(); ++i)
        if (m_buttons[static_cast<std::size_t>(m_entered[i])].value != m_answer[i])
            return false;
    return true;
}

bool Code::failure() const {
    if (m_entered.size() != m_answer.size())
        return false;
    return !success();
}

int Code::xmin() const {
    const Button* b = hovered_button();
    return b ? b->x : 0;
}

int Code::xmax() const {
    const Button* b = hovered_button();
    return b ? b->x + b->w : 0;
}

int Code::ymin() const {
    const Button* b = hovered_button();
    return b ? b->y : 0;
}

int Code::ymax() const {
    const Button* b = hovered_button();
    return b ? b->y + b->h : 0;
}

std::string Code::str_name() const { return "Code"; }

} // namespace Orvane::Component
