#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/Utils/View.h>

namespace Orvane {

View View::of(const Content& content) {
    return {content.value<Component::Position>(Fast_access_component::CAMERA_POSITION),
            content.value<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM)};
}

} // namespace Orvane
