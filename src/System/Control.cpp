#include <algorithm>
#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Control.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;
using Seconds = Component::Simple<double>;

// A shown skip message expires this long after the last request.
constexpr double skip_message_lifetime = 5.0;
// Index of the last of the inventory bar's nine items, counted from its first.
constexpr std::size_t last_shown_offset = 8;

} // namespace

Control::Control(Content& content) : Base(content) {
    using S = Orvane::Status;
    // One row per status: mouse, touchscreen, controller.
    const auto row = [this](S status, void (Control::*mouse)(), void (Control::*touch)(),
                            void (Control::*pad)()) {
        m_handlers.emplace(std::pair{status, Input_mode::MOUSE}, [this, mouse] { (this->*mouse)(); });
        m_handlers.emplace(std::pair{status, Input_mode::TOUCHSCREEN},
                           [this, touch] { (this->*touch)(); });
        if (pad != nullptr)
            m_handlers.emplace(std::pair{status, Input_mode::GAMEPAD},
                               [this, pad] { (this->*pad)(); });
    };
    row(S::IDLE, &Control::idle_mouse, &Control::idle_touchscreen, &Control::idle_gamepad);
    row(S::ACTION, &Control::action_choice_mouse, &Control::action_choice_touchscreen,
        &Control::action_choice_gamepad);
    row(S::OBJECT, &Control::object_choice_mouse, &Control::object_choice_touchscreen,
        &Control::object_choice_gamepad);
    row(S::IN_INVENTORY, &Control::inventory_mouse, &Control::inventory_touchscreen,
        &Control::inventory_gamepad);
    // no controller entry: its begin step leaves this status at once
    row(S::INVENTORY_ACTION, &Control::action_choice_mouse, &Control::action_choice_touchscreen,
        nullptr);
    row(S::IN_WINDOW, &Control::window_mouse, &Control::window_touchscreen,
        &Control::window_gamepad);
    row(S::IN_CODE, &Control::code_mouse, &Control::code_touchscreen, &Control::code_gamepad);
    row(S::DIALOG, &Control::dialog_mouse, &Control::dialog_touchscreen, &Control::dialog_gamepad);
    row(S::IN_MENU, &Control::menu_mouse, &Control::menu_touchscreen, &Control::menu_gamepad);
}

void Control::init() {
    m_input_mode =
        m_content.value<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE);
    m_status = status()->value();
}

void Control::run() {
    const Input_mode mode =
        m_content.value<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE);
    auto game_status = status();
    ORVANE_CHECK(game_status, "Cannot find Game:status");
    const Orvane::Status top = game_status->value();

    if (signal(Key::game_in_new_room)) {
        remove(Key::interface_active_object, true);
        remove(Key::interface_active_objects, true);
        remove(Key::interface_source_object, true);
        remove(Key::interface_target_object, true);
        remove(Key::click_target, true);
    }

    if (top != m_status || mode != m_input_mode) {
        end_status(m_status);
        m_status = top;
        m_input_mode = mode;
        begin_status(top);
    }

    update_exit();

    const auto handler = m_handlers.find({game_status->value(), m_input_mode});
    if (handler != m_handlers.end())
        handler->second();
}

void Control::end_status(Orvane::Status old) {
    if (old != Orvane::Status::IDLE)
        return;
    if (m_input_mode == Input_mode::GAMEPAD)
        if (auto current = m_content.request<Text>(Key::interface_active_object))
            set<Text>(Key::interface_previous_active_object, current->value());
    remove(Key::interface_active_object, true);
    remove(Key::interface_active_objects, true);
}

void Control::begin_status(Orvane::Status status) {
    m_stick_latch = false;
    if (m_input_mode != Input_mode::GAMEPAD)
        return;
    switch (status) {
    case Orvane::Status::IDLE:
        remove(Key::interface_source_object, true);
        break;
    case Orvane::Status::INVENTORY_ACTION: {
        auto game_status = this->status();
        game_status->pop();
        m_status = game_status->value();
        break;
    }
    case Orvane::Status::DIALOG:
        set<Component::Simple<int>>(Key::interface_active_dialog_item, 0);
        break;
    case Orvane::Status::OBJECT:
    case Orvane::Status::IN_INVENTORY:
        begin_inventory_choice();
        break;
    case Orvane::Status::IN_CODE:
        m_content.get<Component::Code>(Key::game_code)->hover(-1, -1);
        emit(Key::code_hover);
        break;
    default:
        break;
    }
}

void Control::begin_inventory_choice() {
    auto inventory = m_content.get<Component::Inventory>(Key::game_inventory);
    const auto& items = inventory->data();
    // Where no item can be named (an empty inventory, a source item alone in it or gone from
    // it, a first shown item past the end) the choice stays empty; the handlers then close or
    // cancel without one.
    bool chosen = false;
    std::size_t index = 0;
    if (auto source = m_content.request<Text>(Key::interface_source_object)) {
        const auto found = std::find(items.begin(), items.end(), source->value());
        if (found != items.end()) {
            const auto i = static_cast<std::size_t>(found - items.begin());
            const bool last = i + 1 == items.size();
            if (last || (i != 0 && i == inventory->position() + last_shown_offset)) {
                chosen = i > 0;
                index = i - (chosen ? 1 : 0);
            } else {
                chosen = true;
                index = i + 1;
            }
        }
    } else {
        remove(Key::interface_previous_active_inventory_object, true);
        index = inventory->position();
        chosen = index < items.size();
    }
    if (chosen)
        set<Text>(Key::interface_active_object, items[index]);
    else
        remove(Key::interface_active_object, true);
}

void Control::update_exit() {
    auto game_status = status();
    ORVANE_CHECK(game_status, "Cannot find Game:status");

    if (signal(Key::game_escape)) {
        emit(Key::game_clear_notifications);
        if (signal(Key::game_no_menu))
            emit(Key::game_exit);
    }

    if (game_status->is(Orvane::Status::LOCKED)) {
        if (receive(Key::game_escape) && m_content.request<Component::Base>(Key::comment_0_image))
            emit(Key::game_skip_dialog);
        return;
    }

    if (game_status->is(Orvane::Status::CUTSCENE)) {
        const double now = m_content.value<Seconds>(Fast_access_component::CLOCK_TIME);
        const bool shown = signal(Key::skip_message_exists);
        const bool requested =
            receive(Key::game_escape) || receive(Key::game_clear_notifications);
        if (requested) {
            if (shown) {
                emit(Key::game_skip_cutscene);
                receive(Key::skip_message_exists);
            } else {
                emit(Key::skip_message_exists);
                emit(Key::skip_message_create);
            }
            m_skip_message_time = now;
        } else if (shown && now - m_skip_message_time >= skip_message_lifetime) {
            receive(Key::skip_message_exists);
        }
    } else if (receive(Key::game_escape)) {
        if (game_status->is(Orvane::Status::IN_MENU)) {
            const std::string menu = value<Text>(Key::game_current_menu);
            if (menu == "End") {
                emit(Key::game_exit);
            } else {
                set<Text>(Key::menu_delete, menu);
                game_status->pop();
            }
        } else if (!game_status->is(Orvane::Status::PAUSE)) {
            // paused, the escape opens nothing: the return to the foreground pops the pause
            set<Text>(Key::menu_create, std::string("Exit"));
            game_status->push(Orvane::Status::IN_MENU);
        }
    }

    if (receive(Key::show_menu)) {
        set<Text>(Key::menu_create, value<Text>(Key::game_triggered_menu));
        game_status->push(Orvane::Status::IN_MENU);
    }
}

void Control::set_action(const std::string& id, const std::string& default_id) {
    std::shared_ptr<Component::Action> action = m_content.request<Component::Action>(id, "action");
    if (!action)
        action = m_content.get<Component::Action>(default_id, "action");
    set<Component::Variable>(Key::character_triggered_action, action);
}

} // namespace Orvane::System
