#pragma once

#include <Orvane/System/Base.h>

namespace Orvane::System {

/// The logic system: runs the game's scripts step by step, with dialogs, movement, the
/// follower and code locks.
class Logic : public Base {
  public:
    /// Creates Logic:action and Notifications:action (empty actions) and Hinter:color
    /// "FFFFFF".
    explicit Logic(Content& content);

    void run() override;
};

} // namespace Orvane::System
