#include "platform/x11/x_library.h"

#include "platform/linux/errors.h"

#include <dlfcn.h>


namespace wedge::x11 {
namespace {

XLibrary library_;
bool loaded_ = false;

// Versioned names: the unversioned ones come only with the -dev packages.
constexpr const char* X11Name = "libX11.so.6";
constexpr const char* XtstName = "libXtst.so.6";

void* openLibrary(const char* name) {
    void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        failWith(ErrorLibraryMissing, reason != nullptr ? reason : name);
    }
    return handle;
}

template <typename Function>
bool resolve(void* handle, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(dlsym(handle, name));
    if (*function == nullptr) {
        const char* const parts[] = {"The X library lacks the function ", name, nullptr};
        failWithParts(ErrorLibraryMissing, parts);
        return false;
    }
    return true;
}

bool load() {
    // The libraries stay open for the life of the process: the display
    // connection and the error handlers live in them.
    void* x11 = openLibrary(X11Name);
    void* xtst = x11 != nullptr ? openLibrary(XtstName) : nullptr;
    if (xtst == nullptr) {
        return false;
    }
    XLibrary& l = library_;
    const bool complete =
        resolve(x11, "XOpenDisplay", &l.openDisplay) && resolve(x11, "XCloseDisplay", &l.closeDisplay) &&
        resolve(x11, "XDisplayName", &l.displayName) && resolve(x11, "XDisplayString", &l.displayString) &&
        resolve(x11, "XSetErrorHandler", &l.setErrorHandler) &&
        resolve(x11, "XGetErrorText", &l.getErrorText) &&
        resolve(x11, "XSync", &l.sync) && resolve(x11, "XFree", &l.free) &&
        resolve(x11, "Xutf8TextPropertyToTextList", &l.utf8TextPropertyToTextList) &&
        resolve(x11, "XFreeStringList", &l.freeStringList) &&
        resolve(x11, "XInternAtoms", &l.internAtoms) && resolve(x11, "XDefaultRootWindow", &l.defaultRootWindow) &&
        resolve(x11, "XGetWindowProperty", &l.getWindowProperty) && resolve(x11, "XQueryTree", &l.queryTree) &&
        resolve(x11, "XGetWindowAttributes", &l.getWindowAttributes) &&
        resolve(x11, "XGetInputFocus", &l.getInputFocus) && resolve(x11, "XSetInputFocus", &l.setInputFocus) &&
        resolve(x11, "XRaiseWindow", &l.raiseWindow) && resolve(x11, "XMapWindow", &l.mapWindow) &&
        resolve(x11, "XSendEvent", &l.sendEvent) && resolve(x11, "XQueryKeymap", &l.queryKeymap) &&
        resolve(x11, "XGetModifierMapping", &l.getModifierMapping) &&
        resolve(x11, "XFreeModifiermap", &l.freeModifiermap) &&
        resolve(x11, "XGetKeyboardMapping", &l.getKeyboardMapping) &&
        resolve(x11, "XChangeKeyboardMapping", &l.changeKeyboardMapping) &&
        resolve(x11, "XDisplayKeycodes", &l.displayKeycodes) &&
        resolve(x11, "XkbQueryExtension", &l.xkbQueryExtension) && resolve(x11, "XkbGetMap", &l.xkbGetMap) &&
        resolve(x11, "XkbFreeKeyboard", &l.xkbFreeKeyboard) && resolve(x11, "XkbGetState", &l.xkbGetState) &&
        resolve(x11, "XkbLockModifiers", &l.xkbLockModifiers) &&
        resolve(xtst, "XTestQueryExtension", &l.testQueryExtension) &&
        resolve(xtst, "XTestFakeKeyEvent", &l.testFakeKeyEvent);
    l.setIOErrorExitHandler =
        reinterpret_cast<decltype(l.setIOErrorExitHandler)>(dlsym(x11, "XSetIOErrorExitHandler"));
    return complete;
}

}  // namespace

const XLibrary* xLibrary() {
    // A missing library is looked for again on the next call: it may have
    // been installed meanwhile, and the error text is set again each time.
    if (!loaded_) {
        loaded_ = load();
    }
    return loaded_ ? &library_ : nullptr;
}

}  // namespace wedge::x11
