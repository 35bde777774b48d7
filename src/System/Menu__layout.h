#pragma once

// The pieces every menu page is made of, shared by the page builders of the menu system.

#include <memory>
#include <string>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Content.h>

namespace Orvane::System::Menu_layout {

/// Stores <entity>:image: `text` in white, not outlined, in `font`, at the menus' text depth,
/// hidden, unclickable, scaled by `scale` and anchored at (fx, fy) of its size. An empty text
/// is drawn as a space.
std::shared_ptr<Component::Image> store_text(Content& content, const std::string& entity,
                                             const std::shared_ptr<Component::Font>& font,
                                             const std::string& text, double scale, double fx,
                                             double fy);

/// Stores <entity>:position: Menu:reference moved by (x, y) scene pixels.
std::shared_ptr<Component::Position> store_position(Content& content, const std::string& entity,
                                                    double x, double y);

} // namespace Orvane::System::Menu_layout
