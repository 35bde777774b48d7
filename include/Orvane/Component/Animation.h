#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <Orvane/Component/Image.h>

namespace Orvane::Component {

/// An image whose picture is a sprite sheet of width_subdiv x height_subdiv equal cells, one
/// shown at a time. It plays a list of frames (which cell, for how many animation ticks);
/// the animation system calls next_frame() once per tick (12 per second).
class Animation : public Image {
  public:
    /// One frame: the cell (column x, row y), how many ticks it is shown and the ticks spent.
    struct Frame {
        int x = 0;
        int y = 0;
        int duration = 0;
        int ticks = 0;
    };

    /// The package image `file` cut into width_subdiv x height_subdiv cells, playing every
    /// cell once for one tick each, rows outer. A sheet of no column or no row is fatal.
    Animation(const std::string& entity, const std::string& component, const std::string& file,
              int z, int width_subdiv, int height_subdiv, bool loop,
              Collision_type collision = Collision_type::BOX, bool with_highlight = false);

    std::string str_name() const override { return "Animation"; }

    /// The current frame's cell, in picture pixels.
    int xmin() const override;
    int xmax() const override;
    int ymin() const override;
    int ymax() const override;

    /// Empties the frame list, then fills it with every cell (rows outer, columns inner) when
    /// `all`, else with cell (0, 0) alone, each for `duration` ticks; back to the first frame.
    void reset(bool all, int duration);
    /// One tick: returns false when a non-looping animation has just run out (it is then back
    /// on its first frame), true otherwise.
    bool next_frame();
    /// True during the last tick of the last frame.
    bool is_last_frame() const;

    const Frame& current_frame() const;
    std::size_t current() const { return m_current; }
    const std::vector<Frame>& frames() const { return m_frames; }
    std::vector<Frame>& frames() { return m_frames; }
    int width_subdiv() const { return m_width_subdiv; }
    int height_subdiv() const { return m_height_subdiv; }
    bool loop() const { return m_loop; }
    bool playing() const { return m_playing; }
    bool& playing() { return m_playing; }
    /// More than one frame to show.
    bool animated() const { return m_frames.size() > 1; }
    /// A character's head faces right while its first frame lies in row 0 (and with no frame).
    bool faces_right() const { return m_frames.empty() || m_frames.front().y == 0; }

  private:
    int cell_width() const;
    int cell_height() const;

    int m_width_subdiv;
    int m_height_subdiv;
    std::vector<Frame> m_frames;
    std::size_t m_current = 0;
    bool m_loop;
    bool m_playing = true;
};

} // namespace Orvane::Component
