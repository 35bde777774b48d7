#pragma once

#include <memory>
#include <ostream>

#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Graphic.h>

#include "Interface_fixture.h"

namespace Orvane {
/// Points print as "(x, y)" in failed expectations.
inline void PrintTo(const Point& p, std::ostream* os) { *os << to_string(p); }
} // namespace Orvane

namespace Orvane::Test {

/// The interface's store set up by its init() (the bar closed at its start place, the
/// selector's anchor, the switcher hints), with what the rest of a frame needs: the camera's
/// zoom (1); over it the animation system, which moves and fades what the interface starts,
/// and a graphic system that draws into the fixture's window (frames are never shown, so that
/// they can be read back with pixel()).
class Interface_frame : public Interface_fixture {
  protected:
    void SetUp() override {
        Interface_fixture::SetUp();
        content.set_fac<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM, "Camera",
                                                   "zoom", 1.0);
        interface.init();
        graphic.set_presenter([] {});
    }

    System::Animation animation{content};
    System::Graphic graphic{content};
};

} // namespace Orvane::Test
