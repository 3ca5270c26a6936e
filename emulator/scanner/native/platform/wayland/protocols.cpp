#include "platform/wayland/protocols.h"

#include <cstddef>

namespace wedge::wayland {
namespace {

// For messages whose arguments need no interface.
constexpr const Interface* NoTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
constexpr const Interface* HandleType[] = {&ToplevelHandleInterface};
constexpr const Interface* SeatAndKeyboardTypes[] = {nullptr, &VirtualKeyboardInterface};

constexpr Message ManagerRequests[] = {
    {"stop", "", NoTypes},
};
constexpr Message ManagerEvents[] = {
    {"toplevel", "n", HandleType},
    {"finished", "", NoTypes},
};

constexpr Message HandleRequests[] = {
    {"set_maximized", "", NoTypes},
    {"unset_maximized", "", NoTypes},
    {"set_minimized", "", NoTypes},
    {"unset_minimized", "", NoTypes},
    {"activate", "o", NoTypes},
    {"close", "", NoTypes},
    {"set_rectangle", "?oiiii", NoTypes},
    {"destroy", "2", NoTypes},
};
constexpr Message HandleEvents[] = {
    {"title", "s", NoTypes},
    {"app_id", "s", NoTypes},
    {"output_enter", "o", NoTypes},
    {"output_leave", "o", NoTypes},
    {"state", "a", NoTypes},
    {"done", "", NoTypes},
    {"closed", "", NoTypes},
    {"parent", "3?o", HandleType},
};

constexpr Message KeyboardManagerRequests[] = {
    {"create_virtual_keyboard", "on", SeatAndKeyboardTypes},
};

constexpr Message KeyboardRequests[] = {
    {"keymap", "uhu", NoTypes},
    {"key", "uuu", NoTypes},
    {"modifiers", "uuuu", NoTypes},
    {"destroy", "", NoTypes},
};

template <typename Type, size_t Count>
constexpr int countOf(const Type (&/*array*/)[Count]) {
    return static_cast<int>(Count);
}

}  // namespace

const Interface ToplevelManagerInterface = {
    "zwlr_foreign_toplevel_manager_v1", 3, countOf(ManagerRequests), ManagerRequests, countOf(ManagerEvents),
    ManagerEvents,
};

const Interface ToplevelHandleInterface = {
    "zwlr_foreign_toplevel_handle_v1", 3, countOf(HandleRequests), HandleRequests, countOf(HandleEvents),
    HandleEvents,
};

const Interface VirtualKeyboardManagerInterface = {
    "zwp_virtual_keyboard_manager_v1", 1, countOf(KeyboardManagerRequests), KeyboardManagerRequests, 0, nullptr,
};

const Interface VirtualKeyboardInterface = {
    "zwp_virtual_keyboard_v1", 1, countOf(KeyboardRequests), KeyboardRequests, 0, nullptr,
};

}  // namespace wedge::wayland
