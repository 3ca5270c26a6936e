#include "platform/x11/x_windows.h"

#include "platform/linux/pause.h"
#include "platform/linux/utf8_text.h"

#include <cstdlib>

#include <iconv.h>

namespace wedge::x11 {
namespace {

using linux_desktop::utf8ToUtf16;

constexpr uint32_t ErrorBusy = 170;  // ERROR_BUSY
constexpr int32_t ActivationTimeoutMs = 1000;
constexpr int32_t ActivationPollMs = 5;
// Titles longer than this many bytes are read cut; the library keeps 99
// units of any title anyway.
constexpr uint32_t TitleBytes = 4096;
constexpr uint32_t IconicState = 3;
// Windows whose facts a listing asks for at once.
constexpr uint32_t ListingBatch = 64;

// A property's value, released when it goes out of scope.
class Property {
public:
    Property(Connection& c, Window window, xcb_atom_t name, xcb_atom_t type, uint32_t longs)
        : Property(c, c.x->getProperty(c.xcb, 0, window, name, type, 0, longs)) {}

    // The reply to a request already sent; none when nothing was asked.
    Property(Connection& c, const xcb_get_property_cookie_t* asked)
        : reply_(asked != nullptr ? await<xcb_get_property_reply_t>(c, *asked) : nullptr) {
        if (reply_ != nullptr) {
            data_ = static_cast<const unsigned char*>(c.x->getPropertyValue(reply_));
            // value_len counts items of the format's size, as asked.
            items_ = reply_->format != 0 && c.x->getPropertyValueLength(reply_) > 0 ? reply_->value_len : 0;
        }
    }
    ~Property() { release(reply_); }
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;
    Property(Property&&) = delete;
    Property& operator=(Property&&) = delete;

    xcb_atom_t type() const { return reply_ != nullptr ? reply_->type : XCB_NONE; }
    uint32_t items() const { return items_; }
    const unsigned char* bytes() const { return data_; }
    // 32-bit items arrive as 32 bits, as the protocol sends them.
    uint32_t item32(uint32_t index) const { return reinterpret_cast<const uint32_t*>(data_)[index]; }
    bool holds(int format) const { return reply_ != nullptr && reply_->format == format && items_ > 0; }

private:
    Property(Connection& c, xcb_get_property_cookie_t asked) : Property(c, &asked) {}

    xcb_get_property_reply_t* reply_;
    const unsigned char* data_ = nullptr;
    uint32_t items_ = 0;
};

Window windowProperty(Connection& c, Window window, xcb_atom_t name) {
    const Property property(c, window, name, XCB_ATOM_WINDOW, 1);
    return property.holds(32) ? property.item32(0) : XCB_NONE;
}

xcb_get_window_attributes_reply_t* attributes(Connection& c, Window window) {
    return await<xcb_get_window_attributes_reply_t>(c, c.x->getWindowAttributes(c.xcb, window));
}

bool viewable(Connection& c, Window window, bool /*managed*/) {
    xcb_get_window_attributes_reply_t* read = attributes(c, window);
    const bool shown = read != nullptr && read->map_state == XCB_MAP_STATE_VIEWABLE;
    release(read);
    return shown;
}

bool waitFor(Connection& c, Window window, bool managed, bool (*reached)(Connection&, Window, bool)) {
    for (int32_t waited = 0;; waited += ActivationPollMs) {
        if (reached(c, window, managed)) {
            return true;
        }
        if (waited >= ActivationTimeoutMs || !windowExists(c, window)) {
            return false;
        }
        linux_desktop::sleepMs(ActivationPollMs);
    }
}

void requestActivation(Connection& c, Window window) {
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.window = window;
    message.type = c.atoms[NetActiveWindow];
    message.format = 32;
    // Source indication 2: a pager or similar tool acting for the user,
    // which window managers honour without focus-stealing prevention.
    message.data.data32[0] = 2;  // NOLINT(cppcoreguidelines-pro-type-union-access): the protocol's own union
    message.data.data32[1] = XCB_CURRENT_TIME;  // NOLINT(cppcoreguidelines-pro-type-union-access)
    c.x->sendEvent(c.xcb, 0, c.root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

// COMPOUND_TEXT (xterm's titles, for one): ISO 2022 with the sets X
// names. Each set's bytes go through the C library's converter for the
// encoding that carries them: the ISO 8859 parts for the 96-character
// sets, the EUC encodings (high bit set) for the Chinese, Japanese and
// Korean ones. UTF-8 comes between ESC % G and ESC % @; what cannot be
// read becomes U+FFFD.
struct CharacterSet {
    // Null for ASCII; empty for a set that cannot be read.
    const char* encoding;
    bool wide;
};
constexpr CharacterSet Ascii = {nullptr, false};
constexpr CharacterSet Unreadable = {"", false};

CharacterSet ninetySixSet(unsigned char final) {
    constexpr struct {
        unsigned char final;
        const char* encoding;
    } Parts[] = {{'A', "ISO-8859-1"},  {'B', "ISO-8859-2"},  {'C', "ISO-8859-3"},  {'D', "ISO-8859-4"},
                 {'F', "ISO-8859-7"},  {'G', "ISO-8859-6"},  {'H', "ISO-8859-8"},  {'L', "ISO-8859-5"},
                 {'M', "ISO-8859-9"},  {'V', "ISO-8859-10"}, {'Y', "ISO-8859-13"}, {'_', "ISO-8859-14"},
                 {'b', "ISO-8859-15"}, {'f', "ISO-8859-16"}};
    for (const auto& part : Parts) {
        if (part.final == final) {
            return {part.encoding, false};
        }
    }
    return Unreadable;
}

CharacterSet wideSet(unsigned char final) {
    switch (final) {
        case 'A':
            return {"EUC-CN", true};
        case 'B':
        case '@':
            return {"EUC-JP", true};
        case 'C':
            return {"EUC-KR", true};
        default:
            return {"", true};
    }
}

struct Utf8Text {
    char bytes[TitleBytes * 3];
    size_t length;
};

void put(Utf8Text* text, const char* bytes, size_t length) {
    for (size_t i = 0; i < length && text->length < sizeof text->bytes; ++i) {
        text->bytes[text->length++] = bytes[i];
    }
}

void putReplacement(Utf8Text* text) { put(text, "\xEF\xBF\xBD", 3); }

// A run of bytes of one set, high bit set as the EUC and ISO 8859
// encodings carry them.
void convertRun(const CharacterSet& set, const unsigned char* run, size_t length, Utf8Text* text) {
    if (set.encoding == nullptr) {
        put(text, reinterpret_cast<const char*>(run), length);
        return;
    }
    const size_t unit = set.wide ? 2 : 1;
    iconv_t converter = set.encoding[0] != 0 ? iconv_open("UTF-8", set.encoding) : reinterpret_cast<iconv_t>(-1);
    char in[TitleBytes] = {};
    for (size_t i = 0; i < length && i < TitleBytes; ++i) {
        in[i] = static_cast<char>(run[i] | 0x80U);
    }
    char* from = in;
    size_t left = length < TitleBytes ? length : TitleBytes;
    while (left >= unit) {
        char* to = text->bytes + text->length;
        size_t room = sizeof text->bytes - text->length;
        const bool converted = converter != reinterpret_cast<iconv_t>(-1) &&
                               iconv(converter, &from, &left, &to, &room) != static_cast<size_t>(-1);
        text->length = sizeof text->bytes - room;
        if (converted || room < 4) {
            break;
        }
        from += unit;
        left -= unit;
        putReplacement(text);
    }
    if (converter != reinterpret_cast<iconv_t>(-1)) {
        iconv_close(converter);
    }
}

// The bytes at the index are the sequence.
bool at(const unsigned char* bytes, uint32_t length, uint32_t index, const char* sequence) {
    for (; *sequence != 0; ++sequence, ++index) {
        if (index >= length || bytes[index] != static_cast<unsigned char>(*sequence)) {
            return false;
        }
    }
    return true;
}

// ESC, intermediates (0x20-0x2F), a final byte: designates a set into GL
// or GR. Answers the index after it.
uint32_t designate(const unsigned char* bytes, uint32_t length, uint32_t index, CharacterSet* left,
                   CharacterSet* right) {
    uint32_t end = index + 1;
    while (end < length && bytes[end] >= 0x20 && bytes[end] <= 0x2F) {
        ++end;
    }
    if (end >= length) {
        return length;
    }
    const unsigned char final = bytes[end];
    const uint32_t intermediates = end - index - 1;
    const unsigned char first = intermediates > 0 ? bytes[index + 1] : 0;
    const unsigned char second = intermediates > 1 ? bytes[index + 2] : 0;
    if (intermediates == 1 && first == '(') {
        *left = final == 'B' || final == 'J' ? Ascii : Unreadable;
    } else if (intermediates == 1 && first == ')') {
        *right = Unreadable;
    } else if (intermediates == 1 && first == '-') {
        *right = ninetySixSet(final);
    } else if (intermediates == 1 && first == '$') {
        *left = wideSet(final);
    } else if (intermediates == 2 && first == '$') {
        (second == ')' ? *right : *left) = wideSet(final);
    }
    return end + 1;
}

// The UTF-8 between ESC % G at the index and ESC % @: the index after it.
uint32_t copyUtf8Segment(const unsigned char* bytes, uint32_t length, uint32_t index, Utf8Text* text) {
    uint32_t end = index + 3;
    while (end < length && !at(bytes, length, end, "\x1B%@")) {
        ++end;
    }
    put(text, reinterpret_cast<const char*>(bytes + index + 3), end - (index + 3));
    return end + 3;
}

// The graphic bytes of one half (GL or GR) from the index: the index after them.
uint32_t runEnd(const unsigned char* bytes, uint32_t length, uint32_t index) {
    const bool high = bytes[index] >= 0xA0;
    while (index < length && (high ? bytes[index] >= 0xA0 : bytes[index] > 0x20 && bytes[index] < 0x7F)) {
        ++index;
    }
    return index;
}

int32_t compoundTextToUtf16(const unsigned char* bytes, uint32_t length, char16_t* out, int32_t capacity) {
    Utf8Text text = {};
    CharacterSet left = Ascii;
    CharacterSet right = {"ISO-8859-1", false};
    uint32_t i = 0;
    while (i < length) {
        const unsigned char byte = bytes[i];
        if (at(bytes, length, i, "\x1B%G")) {
            i = copyUtf8Segment(bytes, length, i, &text);
        } else if (byte == 0x1B) {
            i = designate(bytes, length, i, &left, &right);
        } else if (byte <= 0x20 || byte == 0x7F || (byte >= 0x80 && byte < 0xA0)) {
            // Controls and the space belong to no set; C1 controls are dropped.
            put(&text, reinterpret_cast<const char*>(bytes + i), byte < 0x80 ? 1 : 0);
            ++i;
        } else {
            const uint32_t end = runEnd(bytes, length, i);
            convertRun(byte >= 0xA0 ? right : left, bytes + i, end - i, &text);
            i = end;
        }
    }
    return utf8ToUtf16(reinterpret_cast<const unsigned char*>(text.bytes), text.length, out, capacity);
}

// The title (_NET_WM_NAME, else WM_NAME) in UTF-16: at most capacity
// units are written, and the answer is the whole title's length.
int32_t titleFrom(const Connection& c, const Property& wide, const Property& name, char16_t* out, int32_t capacity) {
    if (wide.holds(8)) {
        return utf8ToUtf16(wide.bytes(), wide.items(), out, capacity);
    }
    if (!name.holds(8)) {
        return 0;
    }
    if (name.type() == c.atoms[Utf8String]) {
        return utf8ToUtf16(name.bytes(), name.items(), out, capacity);
    }
    if (name.type() == c.atoms[CompoundText]) {
        return compoundTextToUtf16(name.bytes(), name.items(), out, capacity);
    }
    // STRING is Latin-1.
    int32_t units = 0;
    for (uint32_t i = 0; i < name.items(); ++i, ++units) {
        if (units < capacity) {
            out[units] = name.bytes()[i];
        }
    }
    return units;
}

bool minimisedFrom(const Connection& c, const Property& netState, const Property& wmState) {
    for (uint32_t i = 0; netState.holds(32) && i < netState.items(); ++i) {
        if (netState.item32(i) == c.atoms[NetWmStateHidden]) {
            return true;
        }
    }
    return wmState.holds(32) && wmState.item32(0) == IconicState;
}

// What a listing asks of one window, sent for a whole batch of windows
// before the first answer is read: one round trip for the batch instead of
// several for each window.
struct ListingRequests {
    xcb_get_property_cookie_t wideName;
    xcb_get_property_cookie_t name;
    xcb_get_property_cookie_t netState;
    xcb_get_property_cookie_t wmState;
};

bool describeBatch(Connection& c, bool managed, const Window* windows, uint32_t count, TopLevelVisitor visit,
                   intptr_t value) {
    ListingRequests asked[ListingBatch];
    for (uint32_t i = 0; i < count; ++i) {
        asked[i].wideName = c.x->getProperty(c.xcb, 0, windows[i], c.atoms[NetWmName], c.atoms[Utf8String], 0,
                                             TitleBytes / 4);
        asked[i].name = c.x->getProperty(c.xcb, 0, windows[i], XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, TitleBytes / 4);
        if (managed) {
            asked[i].netState = c.x->getProperty(c.xcb, 0, windows[i], c.atoms[NetWmState], XCB_ATOM_ATOM, 0, 64);
            asked[i].wmState = c.x->getProperty(c.xcb, 0, windows[i], c.atoms[WmState], c.atoms[WmState], 0, 2);
        }
    }
    bool more = true;
    // Every answer is read, even after the visitor stopped: none may stay
    // queued on the connection.
    for (uint32_t i = 0; i < count; ++i) {
        const Property wide(c, &asked[i].wideName);
        const Property name(c, &asked[i].name);
        const Property netState(c, managed ? &asked[i].netState : nullptr);
        const Property wmState(c, managed ? &asked[i].wmState : nullptr);
        if (!more) {
            continue;
        }
        TopLevel window = {};
        window.window = windows[i];
        window.minimised = managed && minimisedFrom(c, netState, wmState);
        window.titleLength = titleFrom(c, wide, name, window.title, TopLevelTitleUnits);
        more = visit(window, value);
    }
    return more;
}

}  // namespace

void failGrabbed() { failWith(ErrorBusy, "The keyboard is grabbed by another application"); }

bool focusInside(Connection& c, Window window) {
    auto* focus = await<xcb_get_input_focus_reply_t>(c, c.x->getInputFocus(c.xcb));
    Window at = focus != nullptr ? focus->focus : XCB_NONE;
    release(focus);
    // The focus may sit on a child of the window; walk up to the root.
    for (int32_t depth = 0; at != XCB_NONE && at != XCB_INPUT_FOCUS_POINTER_ROOT && depth < 64; ++depth) {
        if (at == window) {
            return true;
        }
        auto* tree = await<xcb_query_tree_reply_t>(c, c.x->queryTree(c.xcb, at));
        const Window parent = tree != nullptr && tree->parent != tree->root ? tree->parent : XCB_NONE;
        release(tree);
        at = parent;
    }
    return false;
}

bool windowManagerRunning(Connection& c) {
    const Window check = windowProperty(c, c.root, c.atoms[NetSupportingWmCheck]);
    return check != XCB_NONE && windowProperty(c, check, c.atoms[NetSupportingWmCheck]) == check;
}

bool forEachTopLevel(Connection& c, bool managed, TopLevelVisitor visit, intptr_t value) {
    if (managed) {
        // Bottom to top, as the window manager stacks them.
        const Property clients(c, c.root, c.atoms[NetClientListStacking], XCB_ATOM_WINDOW, 1U << 20);
        Window topmostFirst[ListingBatch];
        bool more = true;
        for (uint32_t i = clients.items(); more && clients.holds(32) && i > 0;) {
            uint32_t count = 0;
            for (; count < ListingBatch && i > 0; ++count) {
                topmostFirst[count] = clients.item32(--i);
            }
            more = describeBatch(c, true, topmostFirst, count, visit, value);
        }
        return true;
    }
    auto* tree = await<xcb_query_tree_reply_t>(c, c.x->queryTree(c.xcb, c.root));
    if (tree == nullptr) {
        return false;
    }
    const Window* children = c.x->queryTreeChildren(tree);
    bool more = true;
    for (uint32_t i = tree->children_len; more && i > 0;) {
        Window candidates[ListingBatch];
        xcb_get_window_attributes_cookie_t asked[ListingBatch];
        uint32_t count = 0;
        for (; count < ListingBatch && i > 0; ++count) {
            candidates[count] = children[--i];
            asked[count] = c.x->getWindowAttributes(c.xcb, candidates[count]);
        }
        Window shown[ListingBatch];
        uint32_t showing = 0;
        for (uint32_t k = 0; k < count; ++k) {
            auto* read = await<xcb_get_window_attributes_reply_t>(c, asked[k]);
            if (read != nullptr && read->map_state == XCB_MAP_STATE_VIEWABLE && read->override_redirect == 0) {
                shown[showing++] = candidates[k];
            }
            release(read);
        }
        more = describeBatch(c, false, shown, showing, visit, value);
    }
    release(tree);
    return true;
}

bool windowExists(Connection& c, Window window) {
    xcb_get_window_attributes_reply_t* read = attributes(c, window);
    release(read);
    return read != nullptr;
}

bool isMinimised(Connection& c, Window window) {
    const xcb_get_property_cookie_t netState = c.x->getProperty(c.xcb, 0, window, c.atoms[NetWmState], XCB_ATOM_ATOM, 0, 64);
    const xcb_get_property_cookie_t wmState = c.x->getProperty(c.xcb, 0, window, c.atoms[WmState], c.atoms[WmState], 0, 2);
    return minimisedFrom(c, Property(c, &netState), Property(c, &wmState));
}

bool hasKeyboard(Connection& c, Window window, bool managed) {
    if (managed && windowProperty(c, c.root, c.atoms[NetActiveWindow]) != window) {
        return false;
    }
    return focusInside(c, window);
}

bool activate(Connection& c, Window window, bool managed) {
    if (!windowExists(c, window)) {
        return false;
    }
    if (managed) {
        if (isMinimised(c, window)) {
            c.x->mapWindow(c.xcb, window);
        }
        requestActivation(c, window);
        return synced(c) && waitFor(c, window, managed, hasKeyboard);
    }
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    c.x->mapWindow(c.xcb, window);
    c.x->configureWindow(c.xcb, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    if (!synced(c) || !waitFor(c, window, managed, viewable)) {
        return false;
    }
    c.x->setInputFocus(c.xcb, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    return synced(c) && waitFor(c, window, managed, hasKeyboard);
}

bool restore(Connection& c, Window window) {
    c.x->mapWindow(c.xcb, window);
    return synced(c);
}

bool keyboardFree(Connection& c) {
    // The server answers that another client holds the keyboard before it
    // looks at the window; on a window that is not viewable no grab ever
    // begins, so no client sees its focus move.
    auto* grab = await<xcb_grab_keyboard_reply_t>(
        c, c.x->grabKeyboard(c.xcb, 0, c.unmapped, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (grab == nullptr) {
        return false;
    }
    const uint8_t status = grab->status;
    release(grab);
    if (status == XCB_GRAB_STATUS_ALREADY_GRABBED) {
        failGrabbed();
        return false;
    }
    if (status == XCB_GRAB_STATUS_SUCCESS) {
        c.x->ungrabKeyboard(c.xcb, XCB_CURRENT_TIME);
        return synced(c);
    }
    return true;
}

void watchFocus(Connection& c, Window window) {
    if (c.watched != XCB_NONE && c.watched != window) {
        const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
        c.x->changeWindowAttributes(c.xcb, c.watched, XCB_CW_EVENT_MASK, &none);
    }
    c.watched = window;
    c.grabbed = false;
    c.grabBegan = false;
    if (window != XCB_NONE) {
        const uint32_t focus = XCB_EVENT_MASK_FOCUS_CHANGE;
        c.x->changeWindowAttributes(c.xcb, window, XCB_CW_EVENT_MASK, &focus);
    }
    // A window gone meanwhile answers BadWindow, which changes nothing
    // here: the error the scan reports stays as it was.
    settle(c);
}

}  // namespace wedge::x11
