#include "Virtual_controller.h"

#include <gtest/gtest.h>

namespace Orvane::Test {

Virtual_controller::Virtual_controller(const std::string& name, Uint16 vendor, Uint16 product)
    : m_name(name) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
    // a hat for the mappings that put the d-pad on one (SDL's own for Xbox controllers)
    desc.nhats = 1;
    desc.vendor_id = vendor;
    desc.product_id = product;
    desc.button_mask = (1u << desc.nbuttons) - 1;
    desc.axis_mask = (1u << desc.naxes) - 1;
    desc.name = m_name.c_str();
    desc.userdata = this;
    desc.Rumble = &Virtual_controller::rumble;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) {
        ADD_FAILURE() << "Cannot attach a virtual controller: " << SDL_GetError();
        return;
    }
    m_instance_id = SDL_JoystickGetDeviceInstanceID(index);
    m_controller = SDL_GameControllerOpen(index);
    if (m_controller == nullptr) {
        ADD_FAILURE() << "Cannot open the virtual controller: " << SDL_GetError();
        return;
    }
    m_joystick = SDL_GameControllerGetJoystick(m_controller);
    // Set before SDL first reads the device, so that released triggers send no event.
    set_axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
    set_axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
}

Virtual_controller::~Virtual_controller() {
    if (m_controller != nullptr)
        SDL_GameControllerClose(m_controller);
    const int index = device_index();
    if (index >= 0)
        SDL_JoystickDetachVirtual(index);
}

int Virtual_controller::device_index() const {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == m_instance_id)
            return i;
    return -1;
}

void Virtual_controller::set_button(SDL_GameControllerButton button, bool pressed) {
    const SDL_GameControllerButtonBind bind =
        SDL_GameControllerGetBindForButton(m_controller, button);
    if (bind.bindType == SDL_CONTROLLER_BINDTYPE_HAT) {
        const int mask = bind.value.hat.hat_mask;
        m_hat = static_cast<Uint8>(pressed ? (m_hat | mask) : (m_hat & ~mask));
        SDL_JoystickSetVirtualHat(m_joystick, bind.value.hat.hat, m_hat);
        return;
    }
    ASSERT_EQ(bind.bindType, SDL_CONTROLLER_BINDTYPE_BUTTON) << "button " << button;
    SDL_JoystickSetVirtualButton(m_joystick, bind.value.button,
                                 pressed ? SDL_PRESSED : SDL_RELEASED);
}

void Virtual_controller::set_axis(SDL_GameControllerAxis axis, Sint16 value) {
    const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForAxis(m_controller, axis);
    ASSERT_EQ(bind.bindType, SDL_CONTROLLER_BINDTYPE_AXIS) << "axis " << axis;
    SDL_JoystickSetVirtualAxis(m_joystick, bind.value.axis, value);
}

int SDLCALL Virtual_controller::rumble(void* userdata, Uint16 low, Uint16 high) {
    static_cast<Virtual_controller*>(userdata)->m_rumbles.emplace_back(low, high);
    return 0;
}

} // namespace Orvane::Test
