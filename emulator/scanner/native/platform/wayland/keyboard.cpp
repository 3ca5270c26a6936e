// The desktop's key vocabulary on Wayland: the keys of the virtual
// keyboard's own keymap, one per character, so no chord needs a modifier,
// no layout is read, and no key of the person's keyboard (held Shift,
// Caps Lock) reaches the virtual keyboard's state.
#include "platform/wayland/operations.h"

#include "platform/linux/errors.h"
#include "platform/linux/scan_lock.h"
#include "platform/wayland/wl_connection.h"
#include "platform/wayland/wl_keyboard.h"
#include "platform/windows1252.h"

namespace wedge::wayland {
namespace {

using platform::Key;
using platform::KeyChord;

// The keyboard the core holds for a scan: the connection's one.
int scanKeyboard_ = 0;

bool chordFor(char16_t character, KeyChord* chord) {
    const Key key = keyForCharacter(character);
    if (key == 0) {
        linux_desktop::setErrorCode(platform::ErrorInvalidData);
        return false;
    }
    *chord = {};
    chord->keys[chord->keyCount++] = key;
    return true;
}

}  // namespace

bool openKeyboard(platform::WindowHandle /*window*/, platform::Keyboard* keyboard) {
    Connection* c = connection();
    if (c == nullptr || !readyKeyboard(*c)) {
        return false;
    }
    *keyboard = &scanKeyboard_;
    return true;
}

void closeKeyboard(platform::Keyboard /*keyboard*/) {
    Connection* c = connection();
    if (c != nullptr) {
        releaseKeys(*c);
    }
}

bool chordForCharacter(platform::Keyboard /*keyboard*/, char16_t character, KeyChord* chord) {
    return chordFor(character, chord);
}

bool chordForHighByte(platform::Keyboard /*keyboard*/, uint8_t value, KeyChord* chord) {
    const char16_t character = platform::fromWindows1252(value);
    // The five bytes Windows-1252 leaves undefined stand for C1 control
    // characters, which no key types: dropped, as the C0 ones are.
    if (character >= 0x80 && character < 0xA0) {
        *chord = {};
        return true;
    }
    return chordFor(character, chord);
}

Key tabKey(platform::Keyboard /*keyboard*/) { return TabKey; }

bool capsLockOn() {
    // The virtual keyboard's own Caps Lock, which nothing but it turns on.
    return false;
}

bool toggleCapsLock(platform::Injector /*inject*/, bool* toggled) {
    *toggled = false;
    return true;
}

uint32_t heldModifierKeys(Key* /*keys*/) {
    // Keys held on another keyboard are in that keyboard's state, not in
    // the virtual keyboard's, which the target reads while it types.
    return 0;
}

Key maskKeyBeforeRelease(Key /*key*/) { return 0; }

uint32_t sendInput(const platform::KeyEvent* events, uint32_t count) {
    if (count > platform::MaxEventsPerInjection) {
        linux_desktop::setErrorCode(platform::ErrorInvalidParameter);
        return 0;
    }
    Connection* c = connection();
    return c != nullptr && sendKeys(*c, events, count) ? count : 0;
}

bool acquireScanLock() {
    // A compositor that went away or stalls since the last call fails the
    // scan here, with its reason, rather than as a target that cannot be
    // brought to the front.
    Connection* c = connection();
    if (c == nullptr || !roundtrip(*c)) {
        return false;
    }
    // One scan at a time per compositor: the lock is named by its socket.
    return linux_desktop::lockScan(c->socketPath);
}

void releaseScanLock() { linux_desktop::unlockScan(); }

}  // namespace wedge::wayland
