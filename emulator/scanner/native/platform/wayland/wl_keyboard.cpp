#include "platform/wayland/wl_keyboard.h"

#include "platform/linux/errors.h"
#include "platform/wayland/protocols.h"
#include "platform/windows1252.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include <sys/mman.h>
#include <unistd.h>

namespace wedge::wayland {
namespace {

using linux_desktop::failWithParts;
using platform::Key;

// A key without a symbol, for the tap before the first real key.
constexpr Key WarmUpKey = 1;
// Printable ASCII from here, in order, then the high characters.
constexpr Key FirstAsciiKey = 4;
constexpr int32_t AsciiKeys = 0x7F - 0x20;
constexpr Key FirstHighKey = FirstAsciiKey + AsciiKeys;
// Windows-1252 defines 123 of the bytes 128 to 255.
constexpr int32_t HighKeys = 123;
constexpr Key LastKey = FirstHighKey + HighKeys - 1;
// XKB keycodes are evdev codes plus 8; XWayland takes them up to 255.
constexpr uint32_t XkbOffset = 8;
static_assert(LastKey + XkbOffset <= 255, "the keymap must stay within the keycodes XWayland takes");

constexpr uint32_t ErrorKeymap = 1359;  // ERROR_INTERNAL_ERROR

// The characters of the high keys, in the order of their keys.
char16_t highCharacters_[HighKeys] = {};
bool highCharactersKnown_ = false;

bool down_[LastKey + 1] = {};

void learnHighCharacters() {
    if (highCharactersKnown_) {
        return;
    }
    int32_t count = 0;
    for (uint32_t value = 0x80; value <= 0xFF && count < HighKeys; ++value) {
        const char16_t character = platform::fromWindows1252(static_cast<uint8_t>(value));
        // The bytes Windows-1252 leaves undefined stand for C1 controls.
        if (character < 0x80 || character >= 0xA0) {
            highCharacters_[count++] = character;
        }
    }
    highCharactersKnown_ = true;
}

char16_t characterOf(Key key) {
    learnHighCharacters();
    if (key >= FirstAsciiKey && key < FirstHighKey) {
        return static_cast<char16_t>(0x20 + (key - FirstAsciiKey));
    }
    return highCharacters_[key - FirstHighKey];
}

// Keysym names both libxkbcommon (the compositor, native clients) and
// xkbcomp (XWayland) know. Windows-1252's characters above Latin-1 that
// have legacy keysyms go by those, as X clients know them best; the rest
// go by their Unicode name.
struct LegacyName {
    char16_t character;
    const char* name;
};
constexpr LegacyName LegacyNames[] = {
    {0x20AC, "EuroSign"},           {0x201A, "singlelowquotemark"},  {0x0192, "function"},
    {0x201E, "doublelowquotemark"}, {0x2026, "ellipsis"},            {0x2020, "dagger"},
    {0x2021, "doubledagger"},       {0x2030, "permille"},            {0x0160, "Scaron"},
    {0x0152, "OE"},                 {0x017D, "Zcaron"},              {0x2018, "leftsinglequotemark"},
    {0x2019, "rightsinglequotemark"}, {0x201C, "leftdoublequotemark"}, {0x201D, "rightdoublequotemark"},
    {0x2022, "enfilledcircbullet"}, {0x2013, "endash"},              {0x2014, "emdash"},
    {0x2122, "trademark"},          {0x0161, "scaron"},              {0x0153, "oe"},
    {0x017E, "zcaron"},             {0x0178, "Ydiaeresis"},
};

// The keymap's text: about 10 KiB for the 221 keys.
constexpr int32_t KeymapCapacity = 16384;
char keymap_[KeymapCapacity] = {};
int32_t keymapLength_ = 0;

void append(const char* text) {
    for (; *text != 0 && keymapLength_ < KeymapCapacity - 1; ++text) {
        keymap_[keymapLength_++] = *text;
    }
    keymap_[keymapLength_] = 0;
}

void appendNumber(uint32_t value) { append(linux_desktop::decimal(static_cast<int32_t>(value)).digits); }

void appendKeysym(char16_t character) {
    for (const LegacyName& legacy : LegacyNames) {
        if (legacy.character == character) {
            append(legacy.name);
            return;
        }
    }
    constexpr char Digits[] = "0123456789ABCDEF";
    const char name[] = {'U', Digits[(character >> 12) & 0xF], Digits[(character >> 8) & 0xF],
                         Digits[(character >> 4) & 0xF], Digits[character & 0xF], 0};
    append(name);
}

void appendKeyName(Key key) {
    append("<K");
    appendNumber(key + XkbOffset);
    append(">");
}

// Keycodes and symbols of its own; key types and compatibility from the
// compositor's XKB data ("complete", as in any keymap): XWayland drops a
// keymap without them and keeps typing with its previous one.
void writeKeymap() {
    keymapLength_ = 0;
    append("xkb_keymap {\nxkb_keycodes \"kavo-wedge\" {\nminimum = 8;\nmaximum = 255;\n");
    for (Key key = WarmUpKey; key <= LastKey; ++key) {
        appendKeyName(key);
        append(" = ");
        appendNumber(key + XkbOffset);
        append(";\n");
    }
    append("};\nxkb_types \"kavo-wedge\" {\ninclude \"complete\"\n};\n");
    append("xkb_compatibility \"kavo-wedge\" {\ninclude \"complete\"\n};\nxkb_symbols \"kavo-wedge\" {\n");
    const struct {
        Key key;
        const char* name;
    } named[] = {{ReturnKey, "Return"}, {TabKey, "Tab"}};
    for (const auto& key : named) {
        append("key ");
        appendKeyName(key.key);
        append(" { [ ");
        append(key.name);
        append(" ] };\n");
    }
    for (Key key = FirstAsciiKey; key <= LastKey; ++key) {
        append("key ");
        appendKeyName(key);
        append(" { [ ");
        appendKeysym(characterOf(key));
        append(" ] };\n");
    }
    append("};\n};\n");
}

bool failKeymap(const char* step) {
    const char* const parts[] = {"Cannot hand the keymap to the Wayland compositor: ", step, ": ",
                                 std::strerror(errno), nullptr};
    failWithParts(ErrorKeymap, parts);
    return false;
}

// The keymap goes to the compositor as a file: a memfd, with its
// terminating NUL, as the compositor reads it as a string.
bool sendKeymap(Connection& c) {
    writeKeymap();
    const int file = memfd_create("kavo-wedge-keymap", MFD_CLOEXEC);
    if (file < 0) {
        return failKeymap("memfd_create");
    }
    const size_t size = static_cast<size_t>(keymapLength_) + 1;
    size_t written = 0;
    while (written < size) {
        const ssize_t wrote = write(file, keymap_ + written, size - written);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            close(file);
            return failKeymap("write");
        }
        written += static_cast<size_t>(wrote);
    }
    // libwayland duplicates the descriptor as it queues the request, and
    // ends the process if it cannot: make sure it can.
    const int spare = dup(file);
    if (spare < 0) {
        close(file);
        return failKeymap("dup");
    }
    close(spare);
    Argument arguments[3] = {argument(KeymapFormatXkbV1), argument(file), argument(static_cast<uint32_t>(size))};
    c.wl->proxyMarshalArray(c.keyboard, VirtualKeyboardKeymap, arguments);
    close(file);
    return true;
}

uint32_t nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000);
}

void sendKey(Connection& c, Key key, bool press) {
    Argument arguments[3] = {argument(nowMs()), argument(key), argument(press ? KeyPressed : KeyReleased)};
    c.wl->proxyMarshalArray(c.keyboard, VirtualKeyboardKey, arguments);
    down_[key] = press;
}

}  // namespace

Key keyForCharacter(char16_t character) {
    if (character == u'\r') {
        return ReturnKey;
    }
    if (character == u'\t') {
        return TabKey;
    }
    if (character >= 0x20 && character < 0x7F) {
        return FirstAsciiKey + (character - 0x20);
    }
    learnHighCharacters();
    for (int32_t i = 0; i < HighKeys; ++i) {
        if (highCharacters_[i] == character) {
            return FirstHighKey + static_cast<Key>(i);
        }
    }
    return 0;
}

bool makeKeyboard(Connection& c) {
    if (c.keyboard != nullptr) {
        return true;
    }
    Argument arguments[2] = {argument(c.seat), newId()};
    c.keyboard = c.wl->proxyMarshalArrayConstructorVersioned(c.keyboardManager, CreateVirtualKeyboard, arguments,
                                                             &VirtualKeyboardInterface, 1);
    if (c.keyboard == nullptr) {
        linux_desktop::failWith(ErrorKeymap, "Cannot make a virtual keyboard: out of memory");
        return false;
    }
    for (bool& key : down_) {
        key = false;
    }
    return sendKeymap(c);
}

bool readyKeyboard(Connection& c) {
    if (!makeKeyboard(c)) {
        return false;
    }
    sendKey(c, WarmUpKey, true);
    sendKey(c, WarmUpKey, false);
    // Once the compositor has answered, it has taken the keymap (or said
    // why not) and the tap.
    return roundtrip(c);
}

bool sendKeys(Connection& c, const platform::KeyEvent* events, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (events[i].key == 0 || events[i].key > LastKey) {
            linux_desktop::setErrorCode(platform::ErrorInvalidParameter);
            return false;
        }
    }
    for (uint32_t i = 0; i < count; ++i) {
        sendKey(c, events[i].key, !events[i].release);
    }
    return flush(c);
}

void releaseKeys(Connection& c) {
    if (c.keyboard == nullptr) {
        return;
    }
    bool released = false;
    for (Key key = WarmUpKey; key <= LastKey; ++key) {
        if (down_[key]) {
            sendKey(c, key, false);
            released = true;
        }
    }
    if (released) {
        flush(c);
    }
}

}  // namespace wedge::wayland
