// The two wlroots protocols the desktop speaks, declared by hand from
// their published definitions (wlr-foreign-toplevel-management-unstable-v1
// and virtual-keyboard-unstable-v1): only the messages it uses, in their
// definitions' order, since a message's index is its opcode. Every event
// of the versions bound is declared: an event without a declaration
// would break the connection.
#pragma once

#include "platform/wayland/wl_library.h"

namespace wedge::wayland {

extern const Interface ToplevelManagerInterface;
extern const Interface ToplevelHandleInterface;
extern const Interface VirtualKeyboardManagerInterface;
extern const Interface VirtualKeyboardInterface;

inline constexpr const char* ToplevelManagerName = "zwlr_foreign_toplevel_manager_v1";
inline constexpr const char* VirtualKeyboardManagerName = "zwp_virtual_keyboard_manager_v1";
inline constexpr const char* SeatName = "wl_seat";

// The highest versions whose events are declared.
inline constexpr uint32_t ToplevelManagerVersion = 3;
inline constexpr uint32_t VirtualKeyboardManagerVersion = 1;
inline constexpr uint32_t SeatVersion = 1;

// Requests, by opcode.
inline constexpr uint32_t DisplaySync = 0;
inline constexpr uint32_t DisplayGetRegistry = 1;
inline constexpr uint32_t RegistryBind = 0;
inline constexpr uint32_t ToplevelManagerStop = 0;
inline constexpr uint32_t ToplevelUnsetMinimized = 3;
inline constexpr uint32_t ToplevelActivate = 4;
inline constexpr uint32_t ToplevelDestroy = 7;  // since version 2
inline constexpr uint32_t CreateVirtualKeyboard = 0;
inline constexpr uint32_t VirtualKeyboardKeymap = 0;
inline constexpr uint32_t VirtualKeyboardKey = 1;
inline constexpr uint32_t VirtualKeyboardDestroy = 3;

// zwlr_foreign_toplevel_handle_v1's states.
inline constexpr uint32_t StateMinimized = 1;
inline constexpr uint32_t StateActivated = 2;

// wl_keyboard's keymap format and key states.
inline constexpr uint32_t KeymapFormatXkbV1 = 1;
inline constexpr uint32_t KeyReleased = 0;
inline constexpr uint32_t KeyPressed = 1;

}  // namespace wedge::wayland
