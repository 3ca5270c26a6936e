// libxcb with its XTEST and XKB halves, opened at first use rather than
// linked: the library must load, and answer with an error text, on a
// machine without them. XCB keeps everything per connection and reports
// errors per request: nothing it does is shared with another copy of this
// library or with the host's own use of X, and nothing it does ends the
// process.
#pragma once

#include "platform/linux/errors.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>
#include <xcb/xtest.h>
// xkb.h names a member "explicit", a keyword in C++.
#define explicit explicit_  // NOLINT(cppcoreguidelines-macro-usage)
#include <xcb/xkb.h>
#undef explicit

namespace wedge::x11 {

// The error store every Linux desktop shares.
using linux_desktop::Decimal;
using linux_desktop::decimal;
using linux_desktop::errorCode;
using linux_desktop::ErrorKeyHeld;
using linux_desktop::ErrorLibraryMissing;
using linux_desktop::ErrorNoDisplay;
using linux_desktop::ErrorNotSupported;
using linux_desktop::failWith;
using linux_desktop::failWithParts;
using linux_desktop::setErrorCode;

// The XCB functions the desktop calls, resolved from the three libraries.
struct XcbLibrary {
    decltype(&::xcb_connect) connect;
    decltype(&::xcb_disconnect) disconnect;
    decltype(&::xcb_connection_has_error) connectionHasError;
    decltype(&::xcb_get_setup) getSetup;
    decltype(&::xcb_setup_roots_iterator) setupRootsIterator;
    decltype(&::xcb_screen_next) screenNext;
    decltype(&::xcb_flush) flush;
    decltype(&::xcb_get_file_descriptor) getFileDescriptor;
    decltype(&::xcb_poll_for_reply) pollForReply;
    decltype(&::xcb_poll_for_event) pollForEvent;
    decltype(&::xcb_prefetch_extension_data) prefetchExtensionData;
    decltype(&::xcb_get_extension_data) getExtensionData;
    decltype(&::xcb_generate_id) generateId;
    decltype(&::xcb_create_window) createWindow;
    decltype(&::xcb_intern_atom) internAtom;
    decltype(&::xcb_get_property) getProperty;
    decltype(&::xcb_get_property_value) getPropertyValue;
    decltype(&::xcb_get_property_value_length) getPropertyValueLength;
    decltype(&::xcb_query_tree) queryTree;
    decltype(&::xcb_query_tree_children) queryTreeChildren;
    decltype(&::xcb_get_window_attributes) getWindowAttributes;
    decltype(&::xcb_get_input_focus) getInputFocus;
    decltype(&::xcb_set_input_focus) setInputFocus;
    decltype(&::xcb_configure_window) configureWindow;
    decltype(&::xcb_map_window) mapWindow;
    decltype(&::xcb_send_event) sendEvent;
    decltype(&::xcb_change_window_attributes) changeWindowAttributes;
    decltype(&::xcb_grab_keyboard) grabKeyboard;
    decltype(&::xcb_ungrab_keyboard) ungrabKeyboard;
    decltype(&::xcb_query_keymap) queryKeymap;
    decltype(&::xcb_get_modifier_mapping) getModifierMapping;
    decltype(&::xcb_get_modifier_mapping_keycodes) getModifierMappingKeycodes;
    decltype(&::xcb_get_keyboard_mapping) getKeyboardMapping;
    decltype(&::xcb_get_keyboard_mapping_keysyms) getKeyboardMappingKeysyms;
    decltype(&::xcb_get_keyboard_mapping_keysyms_length) getKeyboardMappingKeysymsLength;
    decltype(&::xcb_change_keyboard_mapping) changeKeyboardMapping;
    xcb_extension_t* testId;
    decltype(&::xcb_test_fake_input) testFakeInput;
    xcb_extension_t* xkbId;
    decltype(&::xcb_xkb_use_extension) xkbUseExtension;
    decltype(&::xcb_xkb_get_state) xkbGetState;
    decltype(&::xcb_xkb_latch_lock_state) xkbLatchLockState;
};

// The functions, or null when a library or a function is missing; the
// desktop error then says which.
const XcbLibrary* xcbLibrary();

}  // namespace wedge::x11
