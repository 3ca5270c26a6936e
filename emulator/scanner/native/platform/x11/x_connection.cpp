#include "platform/x11/x_connection.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include <poll.h>

namespace wedge::x11 {
namespace {

// Long enough for a busy server, short enough for a person at a till.
constexpr int64_t ReplyTimeoutMs = 5000;

Connection connection_ = {};
// Dropped at the next call: the server stopped answering.
bool broken_ = false;
// The first X error read among the events since the last sync.
xcb_generic_error_t pendingError_ = {};
bool errorPending_ = false;

constexpr const char* AtomNames[AtomCount] = {
    "_NET_CLIENT_LIST_STACKING", "_NET_ACTIVE_WINDOW", "_NET_SUPPORTING_WM_CHECK",
    "_NET_WM_NAME",              "_NET_WM_STATE",      "_NET_WM_STATE_HIDDEN",
    "UTF8_STRING",               "COMPOUND_TEXT",      "WM_STATE",
};

// Xlib's words for the core protocol's errors, so that the texts read as
// they always did.
constexpr const char* ErrorNames[] = {
    "",
    "BadRequest (invalid request code or no such operation)",
    "BadValue (integer parameter out of range for operation)",
    "BadWindow (invalid Window parameter)",
    "BadPixmap (invalid Pixmap parameter)",
    "BadAtom (invalid Atom parameter)",
    "BadCursor (invalid Cursor parameter)",
    "BadFont (invalid Font parameter)",
    "BadMatch (invalid parameter attributes)",
    "BadDrawable (invalid Pixmap or Window parameter)",
    "BadAccess (attempt to access private resource denied)",
    "BadAlloc (insufficient resources for operation)",
    "BadColor (invalid Colormap parameter)",
    "BadGC (invalid GC parameter)",
    "BadIDChoice (invalid resource ID chosen for this connection)",
    "BadName (named color or font does not exist)",
    "BadLength (poly request too large or internal Xlib length error)",
    "BadImplementation (server does not implement operation)",
};

int64_t nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void reportError(const xcb_generic_error_t& error) {
    const uint32_t code = error.error_code;
    const Decimal number = decimal(static_cast<int32_t>(code));
    const char* name = code < sizeof ErrorNames / sizeof ErrorNames[0] ? ErrorNames[code] : "";
    const Decimal major = decimal(error.major_code);
    const Decimal minor = decimal(error.minor_code);
    if (name[0] != 0) {
        const char* const parts[] = {name, " (X request ", major.digits, ".", minor.digits, ")", nullptr};
        failWithParts(code, parts);
    } else {
        const char* const parts[] = {"X error ", number.digits, " (X request ", major.digits, ".", minor.digits, ")",
                                     nullptr};
        failWithParts(code, parts);
    }
}

void reportLost() { failWith(ErrorNoDisplay, "The connection to the X display was lost"); }

void noteEvent(Connection& c, const xcb_generic_event_t& event) {
    const uint8_t type = event.response_type & 0x7F;
    if (type == 0) {
        if (!errorPending_) {
            pendingError_ = reinterpret_cast<const xcb_generic_error_t&>(event);
            errorPending_ = true;
        }
        return;
    }
    // A grab taken by another client moves the keyboard's focus to it,
    // and the focused window hears of it as a focus change of its own.
    if (type == XCB_FOCUS_OUT || type == XCB_FOCUS_IN) {
        const auto& focus = reinterpret_cast<const xcb_focus_in_event_t&>(event);
        if (c.watched == XCB_NONE || focus.event != c.watched) {
            return;
        }
        if (type == XCB_FOCUS_OUT && focus.mode == XCB_NOTIFY_MODE_GRAB) {
            c.grabbed = true;
            c.grabBegan = true;
        } else if (type == XCB_FOCUS_IN && focus.mode == XCB_NOTIFY_MODE_UNGRAB) {
            c.grabbed = false;
        }
    }
}

// host:display.screen, with an optional protocol/ before the host: the
// host ("" for this machine, as "unix" and "localhost" are) and the display
// number make the key, the screen does not.
void serverKey(const char* name, char* key) {
    const char* colon = std::strrchr(name, ':');
    const char* hostStart = name;
    const char* slash = std::strchr(name, '/');
    if (slash != nullptr && name[0] != '/' && (colon == nullptr || slash < colon)) {
        hostStart = slash + 1;
    }
    size_t hostLength = colon != nullptr ? static_cast<size_t>(colon - hostStart) : std::strlen(hostStart);
    // DECnet's host::display.
    if (hostLength > 0 && hostStart[hostLength - 1] == ':') {
        --hostLength;
    }
    const bool local = hostLength == 0 || (hostLength == 4 && std::strncmp(hostStart, "unix", 4) == 0) ||
                       (hostLength == 9 && std::strncmp(hostStart, "localhost", 9) == 0);
    int32_t length = 0;
    const auto put = [&](char unit) {
        if (length < ServerKeyCapacity - 1) {
            key[length++] = unit;
        }
    };
    for (const char* p = "x11-"; *p != 0; ++p) {
        put(*p);
    }
    if (!local) {
        for (size_t i = 0; i < hostLength; ++i) {
            put(hostStart[i]);
        }
        put('-');
    }
    // The number without leading zeros: ":00" is display 0 too.
    const char* digits = colon != nullptr ? colon + 1 : "";
    while (digits[0] == '0' && digits[1] >= '0' && digits[1] <= '9') {
        ++digits;
    }
    for (; *digits >= '0' && *digits <= '9'; ++digits) {
        put(*digits);
    }
    key[length] = 0;
}

void drop() {
    if (connection_.xcb != nullptr) {
        connection_.x->disconnect(connection_.xcb);
    }
    const XcbLibrary* x = connection_.x;
    connection_ = {};
    connection_.x = x;
    broken_ = false;
    errorPending_ = false;
}

bool open(const XcbLibrary* x) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == 0) {
        failWith(ErrorNoDisplay, "Cannot open the X display: DISPLAY is not set");
        return false;
    }
    int screen = 0;
    xcb_connection_t* xcb = x->connect(name, &screen);
    if (x->connectionHasError(xcb) != 0) {
        x->disconnect(xcb);
        const char* const parts[] = {"Cannot open the X display \"", name, "\"", nullptr};
        failWithParts(ErrorNoDisplay, parts);
        return false;
    }
    Connection& c = connection_;
    c = {};
    c.x = x;
    c.xcb = xcb;
    serverKey(name, c.serverKey);
    const xcb_setup_t* setup = x->getSetup(xcb);
    c.minKeycode = setup->min_keycode;
    c.maxKeycode = setup->max_keycode;
    xcb_screen_iterator_t roots = x->setupRootsIterator(setup);
    for (int i = 0; i < screen && roots.rem > 1; ++i) {
        x->screenNext(&roots);
    }
    c.root = roots.data->root;
    c.unmapped = x->generateId(xcb);
    x->createWindow(xcb, 0, c.unmapped, c.root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                    0, nullptr);
    // Asked for together; the atoms' replies come after the extensions'
    // answers, so that looking those up later does not wait.
    x->prefetchExtensionData(xcb, x->testId);
    x->prefetchExtensionData(xcb, x->xkbId);
    xcb_intern_atom_cookie_t cookies[AtomCount] = {};
    for (int32_t i = 0; i < AtomCount; ++i) {
        cookies[i] = x->internAtom(xcb, 0, static_cast<uint16_t>(std::strlen(AtomNames[i])), AtomNames[i]);
    }
    bool answered = true;
    for (int32_t i = 0; i < AtomCount; ++i) {
        auto* reply = answered ? await<xcb_intern_atom_reply_t>(c, cookies[i]) : nullptr;
        answered = reply != nullptr;
        if (answered) {
            c.atoms[i] = reply->atom;
            release(reply);
        }
    }
    if (!answered) {
        drop();
        return false;
    }
    const xcb_query_extension_reply_t* xkb = x->getExtensionData(xcb, x->xkbId);
    if (xkb == nullptr || xkb->present == 0) {
        drop();
        failWith(ErrorNotSupported, "The X server has no XKEYBOARD extension");
        return false;
    }
    const xcb_query_extension_reply_t* test = x->getExtensionData(xcb, x->testId);
    if (test == nullptr || test->present == 0) {
        drop();
        failWith(ErrorNotSupported, "The X server has no XTEST extension");
        return false;
    }
    // XKB answers its other requests only once this was asked.
    auto* use = await<xcb_xkb_use_extension_reply_t>(c, x->xkbUseExtension(xcb, 1, 0));
    const bool supported = use != nullptr && use->supported != 0;
    release(use);
    if (!supported) {
        drop();
        failWith(ErrorNotSupported, "The X server has no XKEYBOARD extension");
        return false;
    }
    return true;
}

}  // namespace

void release(void* reply) {
    std::free(reply);  // NOLINT(cppcoreguidelines-no-malloc): XCB allocates with malloc
}

Connection* connection() {
    const XcbLibrary* x = xcbLibrary();
    if (x == nullptr) {
        return nullptr;
    }
    connection_.x = x;
    // A lost connection is made anew: the old one can only be freed.
    if (connection_.xcb != nullptr && (broken_ || x->connectionHasError(connection_.xcb) != 0)) {
        drop();
    }
    if (connection_.xcb == nullptr && !open(x)) {
        return nullptr;
    }
    return &connection_;
}

bool lost(const Connection& c) { return c.xcb == nullptr || broken_ || c.x->connectionHasError(c.xcb) != 0; }

Connection* currentConnection() { return connection_.xcb != nullptr ? &connection_ : nullptr; }

Connection* liveConnection() {
    if (connection_.xcb == nullptr || connection_.x->connectionHasError(connection_.xcb) != 0) {
        reportLost();
        return nullptr;
    }
    // One that stopped answering has its error set already.
    return broken_ ? nullptr : &connection_;
}

void* awaitReply(Connection& c, unsigned int sequence) {
    const XcbLibrary* x = c.x;
    x->flush(c.xcb);
    const int64_t deadline = nowMs() + ReplyTimeoutMs;
    for (;;) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (x->pollForReply(c.xcb, sequence, &reply, &error) != 0) {
            if (reply != nullptr) {
                return reply;
            }
            if (error != nullptr) {
                reportError(*error);
                release(error);
                return nullptr;
            }
            if (x->connectionHasError(c.xcb) != 0) {
                reportLost();
                return nullptr;
            }
            failWith(ErrorNoDisplay, "The X display sent no answer");
            return nullptr;
        }
        if (x->connectionHasError(c.xcb) != 0) {
            reportLost();
            return nullptr;
        }
        const int64_t left = deadline - nowMs();
        if (left <= 0) {
            broken_ = true;
            failWith(ErrorNoDisplay, "The X display did not answer within 5 seconds");
            return nullptr;
        }
        pollfd wait = {x->getFileDescriptor(c.xcb), POLLIN, 0};
        poll(&wait, 1, static_cast<int>(left));
    }
}

bool synced(Connection& c) {
    auto* focus = await<xcb_get_input_focus_reply_t>(c, c.x->getInputFocus(c.xcb));
    if (focus == nullptr) {
        return false;
    }
    release(focus);
    readEvents(c);
    if (errorPending_) {
        errorPending_ = false;
        reportError(pendingError_);
        return false;
    }
    return true;
}

void settle(Connection& c) {
    const uint32_t code = errorCode();
    char text[300] = {};
    const char* kept = linux_desktop::errorTextFor(code);
    for (int32_t i = 0; i < 299 && kept[i] != 0; ++i) {
        text[i] = kept[i];
    }
    if (!synced(c)) {
        failWith(code, text);
    }
}

void readEvents(Connection& c) {
    while (xcb_generic_event_t* event = c.x->pollForEvent(c.xcb)) {
        noteEvent(c, *event);
        release(event);
    }
}

}  // namespace wedge::x11
