#pragma once

#include <Orvane/System/Base.h>

namespace Orvane::System {

/// The screen interface: object labels, the action selector, the inventory bar,
/// notifications, dialog choices and the cursor.
class Interface : public Base {
  public:
    /// Starts with empty members; creates no component.
    explicit Interface(Content& content);

    /// Builds the interface from the game's initial data.
    void init() override;
    void run() override;
};

} // namespace Orvane::System
