#include <Orvane/Component/Animation.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

namespace {

/// The grid is checked before the image is loaded: a sheet without cells cannot be shown.
const std::string& checked_sheet(const std::string& file, int width_subdiv, int height_subdiv) {
    ORVANE_CHECK(width_subdiv > 0 && height_subdiv > 0,
          "Animation " + file + " needs at least one column and one row of cells, not " +
              std::to_string(width_subdiv) + " x " + std::to_string(height_subdiv));
    return file;
}

} // namespace

Animation::Animation(const std::string& entity, const std::string& component,
                     const std::string& file, int z, int width_subdiv, int height_subdiv, bool loop,
                     Collision_type collision, bool with_highlight)
    : Image(entity, component, checked_sheet(file, width_subdiv, height_subdiv), z, collision,
            with_highlight),
      m_width_subdiv(width_subdiv), m_height_subdiv(height_subdiv), m_loop(loop) {
    reset(true, 1);
}

int Animation::cell_width() const { return Third_party::SDL::width(core()) / m_width_subdiv; }
int Animation::cell_height() const { return Third_party::SDL::height(core()) / m_height_subdiv; }

int Animation::xmin() const { return cell_width() * current_frame().x; }
int Animation::xmax() const { return cell_width() * (current_frame().x + 1); }
int Animation::ymin() const { return cell_height() * current_frame().y; }
int Animation::ymax() const { return cell_height() * (current_frame().y + 1); }

void Animation::reset(bool all, int duration) {
    m_frames.clear();
    if (all) {
        for (int y = 0; y < m_height_subdiv; ++y)
            for (int x = 0; x < m_width_subdiv; ++x)
                m_frames.push_back({x, y, duration, 0});
    } else {
        m_frames.push_back({0, 0, duration, 0});
    }
    m_current = 0;
}

bool Animation::next_frame() {
    current_frame(); // fatal when the frame list was left empty
    Frame& frame = m_frames[m_current];
    ++frame.ticks;
    if (frame.ticks == frame.duration) {
        frame.ticks = 0;
        ++m_current;
        if (m_current == m_frames.size()) {
            m_current = 0;
            return m_loop;
        }
    }
    return true;
}

bool Animation::is_last_frame() const {
    return !m_frames.empty() && m_current == m_frames.size() - 1 &&
           m_frames[m_current].ticks == m_frames[m_current].duration - 1;
}

const Animation::Frame& Animation::current_frame() const {
    ORVANE_CHECK(m_current < m_frames.size(), "Animation " + id().str() + " has no frame " +
                                           std::to_string(m_current) + " (" +
                                           std::to_string(m_frames.size()) + " frames)");
    return m_frames[m_current];
}

} // namespace Orvane::Component
