// libX11 and libXtst, opened at first use rather than linked: the library
// must load, and answer with an error text, on a machine without them.
#pragma once

#include "platform/linux/errors.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

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

// The X functions the desktop calls, resolved from the two libraries.
struct XLibrary {
    decltype(&::XOpenDisplay) openDisplay;
    decltype(&::XCloseDisplay) closeDisplay;
    decltype(&::XDisplayName) displayName;
    decltype(&::XDisplayString) displayString;
    decltype(&::XSetErrorHandler) setErrorHandler;
    decltype(&::XGetErrorText) getErrorText;
    decltype(&::XSync) sync;
    decltype(&::XFree) free;
    decltype(&::Xutf8TextPropertyToTextList) utf8TextPropertyToTextList;
    decltype(&::XFreeStringList) freeStringList;
    decltype(&::XInternAtoms) internAtoms;
    decltype(&::XDefaultRootWindow) defaultRootWindow;
    decltype(&::XGetWindowProperty) getWindowProperty;
    decltype(&::XQueryTree) queryTree;
    decltype(&::XGetWindowAttributes) getWindowAttributes;
    decltype(&::XGetInputFocus) getInputFocus;
    decltype(&::XSetInputFocus) setInputFocus;
    decltype(&::XRaiseWindow) raiseWindow;
    decltype(&::XMapWindow) mapWindow;
    decltype(&::XSendEvent) sendEvent;
    decltype(&::XQueryKeymap) queryKeymap;
    decltype(&::XGetModifierMapping) getModifierMapping;
    decltype(&::XFreeModifiermap) freeModifiermap;
    decltype(&::XGetKeyboardMapping) getKeyboardMapping;
    decltype(&::XChangeKeyboardMapping) changeKeyboardMapping;
    decltype(&::XDisplayKeycodes) displayKeycodes;
    decltype(&::XkbQueryExtension) xkbQueryExtension;
    decltype(&::XkbGetMap) xkbGetMap;
    decltype(&::XkbFreeKeyboard) xkbFreeKeyboard;
    decltype(&::XkbGetState) xkbGetState;
    decltype(&::XkbLockModifiers) xkbLockModifiers;
    decltype(&::XTestQueryExtension) testQueryExtension;
    decltype(&::XTestFakeKeyEvent) testFakeKeyEvent;
    // Newer libX11 only (1.7 and later): lets a lost connection return
    // instead of ending the process. Null when the library lacks it.
    using IOErrorExitHandler = void (*)(Display*, void*);
    void (*setIOErrorExitHandler)(Display*, IOErrorExitHandler, void*);
};

// The functions, or null when a library or a function is missing; the
// desktop error then says which.
const XLibrary* xLibrary();

}  // namespace wedge::x11
