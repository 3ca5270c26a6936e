#include "platform/x11/x_windows.h"

#include "platform/linux/utf8_text.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <ctime>

namespace wedge::x11 {
namespace {

using linux_desktop::utf8ToUtf16;

constexpr int32_t ActivationTimeoutMs = 1000;
constexpr int32_t ActivationPollMs = 5;
// Titles longer than this many bytes are read cut; the library keeps 99
// units of any title anyway.
constexpr long TitleBytes = 4096;
// IconicState (3) comes from Xutil.h.

void pause(int32_t milliseconds) {
    timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

// A property's value, released when it goes out of scope.
class Property {
public:
    Property(const Connection& c, Window window, Atom name, Atom type, long longs) : x_(c.x) {
        ErrorTrap trap(c);
        unsigned long after = 0;
        if (c.x->getWindowProperty(c.display, window, name, 0, longs, False, type, &type_, &format_, &items_,
                                   &after, &data_) != Success) {
            data_ = nullptr;
        }
        if (!trap.answered() && data_ != nullptr) {
            c.x->free(data_);
            data_ = nullptr;
        }
        if (data_ == nullptr) {
            items_ = 0;
        }
    }
    ~Property() {
        if (data_ != nullptr) {
            x_->free(data_);
        }
    }
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;
    Property(Property&&) = delete;
    Property& operator=(Property&&) = delete;

    Atom type() const { return type_; }
    int format() const { return format_; }
    unsigned long items() const { return items_; }
    const unsigned char* bytes() const { return data_; }
    // Xlib's text conversion takes the value as writable.
    unsigned char* writableBytes() { return data_; }
    // 32-bit items arrive as longs, whatever the width of long.
    const long* longs() const { return reinterpret_cast<const long*>(data_); }
    bool holds(int format) const { return data_ != nullptr && format_ == format && items_ > 0; }

private:
    const XLibrary* x_;
    unsigned char* data_ = nullptr;
    Atom type_ = None;
    int format_ = 0;
    unsigned long items_ = 0;
};

// A window's place in the tree: its parent and children, released when it
// goes out of scope.
class Tree {
public:
    Tree(const Connection& c, Window window) : x_(c.x) {
        ErrorTrap trap(c);
        Window root = None;
        const Status queried = c.x->queryTree(c.display, window, &root, &parent_, &children_, &count_);
        read_ = trap.answered() && queried != 0;
        isTop_ = parent_ == root;
        if (!read_) {
            count_ = 0;
        }
    }
    ~Tree() {
        if (children_ != nullptr) {
            x_->free(children_);
        }
    }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;
    Tree(Tree&&) = delete;
    Tree& operator=(Tree&&) = delete;

    bool read() const { return read_; }
    // The parent is the root: the window is a top-level one.
    bool isTop() const { return isTop_; }
    Window parent() const { return parent_; }
    // Bottom to top, as they are stacked.
    unsigned int count() const { return count_; }
    Window child(unsigned int index) const { return children_[index]; }

private:
    const XLibrary* x_;
    Window parent_ = None;
    Window* children_ = nullptr;
    unsigned int count_ = 0;
    bool read_ = false;
    bool isTop_ = false;
};

Window windowProperty(const Connection& c, Window window, Atom name) {
    const Property property(c, window, name, XA_WINDOW, 1);
    return property.holds(32) ? static_cast<Window>(property.longs()[0]) : None;
}

void requestActivation(const Connection& c, Window window) {
    XClientMessageEvent message = {};
    message.type = ClientMessage;
    message.window = window;
    message.message_type = c.atoms[NetActiveWindow];
    message.format = 32;
    // Source indication 2: a pager or similar tool acting for the user,
    // which window managers honour without focus-stealing prevention.
    message.data.l[0] = 2;  // NOLINT(cppcoreguidelines-pro-type-union-access): Xlib's own union
    message.data.l[1] = CurrentTime;  // NOLINT(cppcoreguidelines-pro-type-union-access)
    XEvent event = {};
    event.xclient = message;  // NOLINT(cppcoreguidelines-pro-type-union-access)
    c.x->sendEvent(c.display, c.root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

bool waitFor(const Connection& c, Window window, bool managed, bool (*reached)(const Connection&, Window, bool)) {
    for (int32_t waited = 0;; waited += ActivationPollMs) {
        if (reached(c, window, managed)) {
            return true;
        }
        if (waited >= ActivationTimeoutMs || !windowExists(c, window)) {
            return false;
        }
        pause(ActivationPollMs);
    }
}

bool viewable(const Connection& c, Window window, bool /*managed*/) {
    XWindowAttributes attributes = {};
    ErrorTrap trap(c);
    const Status read = c.x->getWindowAttributes(c.display, window, &attributes);
    return trap.answered() && read != 0 && attributes.map_state == IsViewable;
}

}  // namespace

bool focusInside(const Connection& c, Window window) {
    Window focus = None;
    int revert = 0;
    c.x->getInputFocus(c.display, &focus, &revert);
    // The focus may sit on a child of the window; walk up to the root.
    for (int32_t depth = 0; focus != None && focus != PointerRoot && depth < 64; ++depth) {
        if (focus == window) {
            return true;
        }
        const Tree tree(c, focus);
        if (!tree.read() || tree.isTop()) {
            return false;
        }
        focus = tree.parent();
    }
    return false;
}

bool windowManagerRunning(const Connection& c) {
    const Window check = windowProperty(c, c.root, c.atoms[NetSupportingWmCheck]);
    return check != None && windowProperty(c, check, c.atoms[NetSupportingWmCheck]) == check;
}

bool forEachTopLevel(const Connection& c, bool (*visit)(Window window, intptr_t value), intptr_t value) {
    if (windowManagerRunning(c)) {
        // Bottom to top, as the window manager stacks them.
        const Property clients(c, c.root, c.atoms[NetClientListStacking], XA_WINDOW, 1L << 20);
        for (unsigned long i = clients.items(); clients.holds(32) && i > 0; --i) {
            if (!visit(static_cast<Window>(clients.longs()[i - 1]), value)) {
                break;
            }
        }
        return true;
    }
    const Tree tree(c, c.root);
    for (unsigned int i = tree.count(); i > 0; --i) {
        XWindowAttributes attributes = {};
        const Window child = tree.child(i - 1);
        ErrorTrap childTrap(c);
        const Status got = c.x->getWindowAttributes(c.display, child, &attributes);
        if (!childTrap.answered() || got == 0 || attributes.map_state != IsViewable ||
            attributes.override_redirect != False) {
            continue;
        }
        if (!visit(child, value)) {
            break;
        }
    }
    return tree.read();
}

int32_t readTitle(const Connection& c, Window window, char16_t* out, int32_t capacity) {
    const Property wide(c, window, c.atoms[NetWmName], c.atoms[Utf8String], TitleBytes / 4);
    if (wide.holds(8)) {
        return utf8ToUtf16(wide.bytes(), wide.items(), out, capacity);
    }
    Property name(c, window, XA_WM_NAME, AnyPropertyType, TitleBytes / 4);
    if (!name.holds(8)) {
        return 0;
    }
    if (name.type() == c.atoms[Utf8String]) {
        return utf8ToUtf16(name.bytes(), name.items(), out, capacity);
    }
    if (name.type() != XA_STRING) {
        // COMPOUND_TEXT (xterm's titles, for one): Xlib turns it into UTF-8.
        XTextProperty text = {name.writableBytes(), name.type(), name.format(), name.items()};
        char** list = nullptr;
        int count = 0;
        if (c.x->utf8TextPropertyToTextList(c.display, &text, &list, &count) >= Success && count > 0) {
            size_t length = 0;
            while (list[0][length] != 0) {
                ++length;
            }
            const int32_t units =
                utf8ToUtf16(reinterpret_cast<const unsigned char*>(list[0]), length, out, capacity);
            c.x->freeStringList(list);
            return units;
        }
        if (list != nullptr) {
            c.x->freeStringList(list);
        }
    }
    // STRING is Latin-1.
    int32_t units = 0;
    for (unsigned long i = 0; i < name.items(); ++i, ++units) {
        if (units < capacity) {
            out[units] = name.bytes()[i];
        }
    }
    return units;
}

bool windowExists(const Connection& c, Window window) {
    XWindowAttributes attributes = {};
    ErrorTrap trap(c);
    const Status read = c.x->getWindowAttributes(c.display, window, &attributes);
    return trap.answered() && read != 0;
}

bool isShown(const Connection& c, Window window, bool managed) {
    return managed ? windowExists(c, window) : viewable(c, window, managed);
}

bool isMinimised(const Connection& c, Window window) {
    const Property states(c, window, c.atoms[NetWmState], XA_ATOM, 64);
    for (unsigned long i = 0; states.holds(32) && i < states.items(); ++i) {
        if (static_cast<Atom>(states.longs()[i]) == c.atoms[NetWmStateHidden]) {
            return true;
        }
    }
    const Property state(c, window, c.atoms[WmState], c.atoms[WmState], 2);
    return state.holds(32) && state.longs()[0] == IconicState;
}

bool hasKeyboard(const Connection& c, Window window, bool managed) {
    if (managed && windowProperty(c, c.root, c.atoms[NetActiveWindow]) != window) {
        return false;
    }
    return focusInside(c, window);
}

bool activate(const Connection& c, Window window, bool managed) {
    if (!windowExists(c, window)) {
        return false;
    }
    ErrorTrap trap(c);
    if (managed) {
        if (isMinimised(c, window)) {
            c.x->mapWindow(c.display, window);
        }
        requestActivation(c, window);
        return trap.synced() && waitFor(c, window, managed, hasKeyboard);
    }
    c.x->mapWindow(c.display, window);
    c.x->raiseWindow(c.display, window);
    if (!trap.synced() || !waitFor(c, window, managed, viewable)) {
        return false;
    }
    c.x->setInputFocus(c.display, window, RevertToParent, CurrentTime);
    return trap.synced() && waitFor(c, window, managed, hasKeyboard);
}

bool restore(const Connection& c, Window window) {
    ErrorTrap trap(c);
    c.x->mapWindow(c.display, window);
    return trap.synced();
}

}  // namespace wedge::x11
