#include "platform/x11/xcb_library.h"

#include <dlfcn.h>

namespace wedge::x11 {
namespace {

XcbLibrary library_;
bool loaded_ = false;

// Versioned names: the unversioned ones come only with the -dev packages.
constexpr const char* XcbName = "libxcb.so.1";
constexpr const char* XtestName = "libxcb-xtest.so.0";
constexpr const char* XkbName = "libxcb-xkb.so.1";

void* openLibrary(const char* name) {
    // Local, so that these names never stand in for another copy's or the
    // host's: each caller resolves what it opened itself.
    void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        failWith(ErrorLibraryMissing, reason != nullptr ? reason : name);
    }
    return handle;
}

template <typename Symbol>
bool resolve(void* handle, const char* name, Symbol* symbol) {
    *symbol = reinterpret_cast<Symbol>(dlsym(handle, name));
    if (*symbol == nullptr) {
        const char* const parts[] = {"The X library lacks the function ", name, nullptr};
        failWithParts(ErrorLibraryMissing, parts);
        return false;
    }
    return true;
}

bool load() {
    // The libraries stay open for the life of the process: a connection
    // made through them may outlive any one call.
    void* xcb = openLibrary(XcbName);
    void* xtest = xcb != nullptr ? openLibrary(XtestName) : nullptr;
    void* xkb = xtest != nullptr ? openLibrary(XkbName) : nullptr;
    if (xkb == nullptr) {
        return false;
    }
    XcbLibrary& l = library_;
    return resolve(xcb, "xcb_connect", &l.connect) && resolve(xcb, "xcb_disconnect", &l.disconnect) &&
           resolve(xcb, "xcb_connection_has_error", &l.connectionHasError) &&
           resolve(xcb, "xcb_get_setup", &l.getSetup) &&
           resolve(xcb, "xcb_setup_roots_iterator", &l.setupRootsIterator) &&
           resolve(xcb, "xcb_screen_next", &l.screenNext) && resolve(xcb, "xcb_flush", &l.flush) &&
           resolve(xcb, "xcb_get_file_descriptor", &l.getFileDescriptor) &&
           resolve(xcb, "xcb_poll_for_reply", &l.pollForReply) &&
           resolve(xcb, "xcb_poll_for_event", &l.pollForEvent) &&
           resolve(xcb, "xcb_prefetch_extension_data", &l.prefetchExtensionData) &&
           resolve(xcb, "xcb_get_extension_data", &l.getExtensionData) &&
           resolve(xcb, "xcb_generate_id", &l.generateId) && resolve(xcb, "xcb_create_window", &l.createWindow) &&
           resolve(xcb, "xcb_intern_atom", &l.internAtom) && resolve(xcb, "xcb_get_property", &l.getProperty) &&
           resolve(xcb, "xcb_get_property_value", &l.getPropertyValue) &&
           resolve(xcb, "xcb_get_property_value_length", &l.getPropertyValueLength) &&
           resolve(xcb, "xcb_query_tree", &l.queryTree) &&
           resolve(xcb, "xcb_query_tree_children", &l.queryTreeChildren) &&
           resolve(xcb, "xcb_get_window_attributes", &l.getWindowAttributes) &&
           resolve(xcb, "xcb_get_input_focus", &l.getInputFocus) &&
           resolve(xcb, "xcb_set_input_focus", &l.setInputFocus) &&
           resolve(xcb, "xcb_configure_window", &l.configureWindow) &&
           resolve(xcb, "xcb_map_window", &l.mapWindow) && resolve(xcb, "xcb_send_event", &l.sendEvent) &&
           resolve(xcb, "xcb_change_window_attributes", &l.changeWindowAttributes) &&
           resolve(xcb, "xcb_grab_keyboard", &l.grabKeyboard) &&
           resolve(xcb, "xcb_ungrab_keyboard", &l.ungrabKeyboard) &&
           resolve(xcb, "xcb_query_keymap", &l.queryKeymap) &&
           resolve(xcb, "xcb_get_modifier_mapping", &l.getModifierMapping) &&
           resolve(xcb, "xcb_get_modifier_mapping_keycodes", &l.getModifierMappingKeycodes) &&
           resolve(xcb, "xcb_get_keyboard_mapping", &l.getKeyboardMapping) &&
           resolve(xcb, "xcb_get_keyboard_mapping_keysyms", &l.getKeyboardMappingKeysyms) &&
           resolve(xcb, "xcb_get_keyboard_mapping_keysyms_length", &l.getKeyboardMappingKeysymsLength) &&
           resolve(xcb, "xcb_change_keyboard_mapping", &l.changeKeyboardMapping) &&
           resolve(xtest, "xcb_test_id", &l.testId) && resolve(xtest, "xcb_test_fake_input", &l.testFakeInput) &&
           resolve(xkb, "xcb_xkb_id", &l.xkbId) && resolve(xkb, "xcb_xkb_use_extension", &l.xkbUseExtension) &&
           resolve(xkb, "xcb_xkb_get_state", &l.xkbGetState) &&
           resolve(xkb, "xcb_xkb_latch_lock_state", &l.xkbLatchLockState);
}

}  // namespace

const XcbLibrary* xcbLibrary() {
    // A missing library is looked for again on the next call: it may have
    // been installed meanwhile, and the error text is set again each time.
    if (!loaded_) {
        loaded_ = load();
    }
    return loaded_ ? &library_ : nullptr;
}

}  // namespace wedge::x11
