#pragma once

#include <Orvane/System/Base.h>

namespace Orvane::System {

/// The menu system: opens, closes and drives the menu pages.
class Menu : public Base {
  public:
    /// Creates no component.
    explicit Menu(Content& content);

    /// Builds the menu pages from the game's initial data.
    void init() override;
    void run() override;
};

} // namespace Orvane::System
