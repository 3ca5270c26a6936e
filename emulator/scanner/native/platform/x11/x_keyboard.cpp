#include "platform/x11/x_keyboard.h"

#include "platform/linux/errors.h"

#include <X11/keysym.h>


namespace wedge::x11 {
namespace {

constexpr int32_t KeycodeCount = 256;
constexpr uint32_t ErrorInvalidData = 13;

XkbDescPtr keymap_ = nullptr;
XModifierKeymap* modifierMap_ = nullptr;
int group_ = 0;

// Keycodes with no keysym at all: all but the last are spares for keysyms
// no key makes; the last is tapped before Alt or Super is let up, so that
// their release alone triggers nothing.
KeyCode spares_[KeycodeCount];
KeySym boundTo_[KeycodeCount];
int32_t spareCount_ = 0;
int32_t nextSpare_ = 0;
KeyCode blankKey_ = 0;

// The modifiers whose keys someone else may hold: Shift, Control, Mod1
// (Alt), Mod3, Mod4 (Super), Mod5 (AltGr). Lock and Mod2 (Num Lock) lock.
constexpr int HeldModifierRows[] = {ShiftMapIndex, ControlMapIndex, Mod1MapIndex,
                                    Mod3MapIndex,  Mod4MapIndex,    Mod5MapIndex};
constexpr unsigned int LockingModifiers = LockMask | Mod2Mask;

bool keyDown(const char* keys, KeyCode key) { return (keys[key / 8] & (1 << (key % 8))) != 0; }

KeyCode modifierKey(int row) {
    for (int i = 0; i < modifierMap_->max_keypermod; ++i) {
        const KeyCode key = modifierMap_->modifiermap[row * modifierMap_->max_keypermod + i];
        if (key != 0) {
            return key;
        }
    }
    return 0;
}

bool isModifierKey(KeyCode key) {
    for (int i = 0; i < 8 * modifierMap_->max_keypermod; ++i) {
        if (modifierMap_->modifiermap[i] == key) {
            return true;
        }
    }
    return false;
}

// The group a key uses for the keyboard's group, after the key's own rule
// for groups it does not have.
int effectiveGroup(KeyCode key) {
    const int groups = XkbKeyNumGroups(keymap_, key);
    if (group_ < groups) {
        return group_;
    }
    const unsigned char info = XkbKeyGroupInfo(keymap_, key);
    switch (XkbOutOfRangeGroupAction(info)) {
        case XkbClampIntoRange:
            return groups - 1;
        case XkbRedirectIntoRange: {
            const int redirected = XkbOutOfRangeGroupNumber(info);
            return redirected < groups ? redirected : 0;
        }
        default:
            return group_ % groups;
    }
}

// The fewest real modifiers that select a level of the key's type in the
// group; false when none can, or only through a locking modifier.
bool modifiersForLevel(KeyCode key, int group, int level, unsigned int* modifiers) {
    if (level == 0) {
        *modifiers = 0;
        return true;
    }
    const XkbKeyTypePtr type = XkbKeyKeyType(keymap_, key, group);
    bool found = false;
    for (int i = 0; i < type->map_count; ++i) {
        const XkbKTMapEntryRec& entry = type->map[i];
        const unsigned int mask = entry.mods.mask;
        if (entry.active == 0 || entry.level != level || mask == 0 || (mask & LockingModifiers) != 0) {
            continue;
        }
        if (!found || __builtin_popcount(mask) < __builtin_popcount(*modifiers)) {
            *modifiers = mask;
            found = true;
        }
    }
    if (!found) {
        return false;
    }
    for (int row = 0; row < 8; ++row) {
        if ((*modifiers & (1U << row)) != 0 && modifierKey(row) == 0) {
            return false;
        }
    }
    return true;
}

bool findInKeymap(KeySym keysym, KeyStroke* stroke) {
    bool found = false;
    for (int key = keymap_->min_key_code; key <= keymap_->max_key_code; ++key) {
        const auto code = static_cast<KeyCode>(key);
        if (XkbKeyNumGroups(keymap_, code) == 0) {
            continue;
        }
        const int group = effectiveGroup(code);
        const int levels = XkbKeyGroupWidth(keymap_, code, group);
        for (int level = 0; level < levels; ++level) {
            unsigned int modifiers = 0;
            if (XkbKeySymEntry(keymap_, code, level, group) != keysym ||
                !modifiersForLevel(code, group, level, &modifiers)) {
                continue;
            }
            if (!found || __builtin_popcount(modifiers) < __builtin_popcount(stroke->modifiers)) {
                *stroke = {code, modifiers};
                found = true;
            }
        }
    }
    return found;
}

bool bindSpare(const Connection& c, KeySym keysym, KeyStroke* stroke) {
    for (int32_t i = 0; i < spareCount_; ++i) {
        if (boundTo_[i] == keysym) {
            *stroke = {spares_[i], 0};
            return true;
        }
    }
    if (spareCount_ == 0) {
        setErrorCode(ErrorInvalidData);
        return false;
    }
    // Round robin: a spare is bound again only after all others were, long
    // after the key it typed last has been read by its client.
    const int32_t slot = nextSpare_;
    nextSpare_ = (nextSpare_ + 1) % spareCount_;
    KeySym both[2] = {keysym, keysym};
    ErrorTrap trap(c);
    c.x->changeKeyboardMapping(c.display, spares_[slot], 2, both, 1);
    if (!trap.synced()) {
        return false;
    }
    // The server has applied the change once it reports it back.
    int perKey = 0;
    KeySym* bound = c.x->getKeyboardMapping(c.display, spares_[slot], 1, &perKey);
    const bool confirmed = bound != nullptr && perKey > 0 && bound[0] == keysym;
    if (bound != nullptr) {
        c.x->free(bound);
    }
    if (!trap.answered() || !confirmed) {
        setErrorCode(ErrorInvalidData);
        return false;
    }
    boundTo_[slot] = keysym;
    *stroke = {spares_[slot], 0};
    return true;
}

void unbindSpares(const Connection& c) {
    ErrorTrap trap(c);
    for (int32_t i = 0; i < spareCount_; ++i) {
        if (boundTo_[i] != NoSymbol) {
            KeySym none[2] = {NoSymbol, NoSymbol};
            c.x->changeKeyboardMapping(c.display, spares_[i], 2, none, 1);
            boundTo_[i] = NoSymbol;
        }
    }
    trap.synced();
}

void findSpares() {
    spareCount_ = 0;
    nextSpare_ = 0;
    blankKey_ = 0;
    // From the top: the low unused keycodes are the ones layouts fill first.
    for (int key = keymap_->max_key_code; key >= keymap_->min_key_code; --key) {
        const auto code = static_cast<KeyCode>(key);
        if (XkbKeyNumSyms(keymap_, code) != 0 || isModifierKey(code)) {
            continue;
        }
        if (blankKey_ == 0) {
            blankKey_ = code;
        } else {
            boundTo_[spareCount_] = NoSymbol;
            spares_[spareCount_++] = code;
        }
    }
}

bool fakeKey(const Connection& c, KeyCode key, bool down) {
    return c.x->testFakeKeyEvent(c.display, key, down ? True : False, CurrentTime) != 0;
}

// Sends the actions and waits for the server; on an X error, lets up every
// key the actions pressed, and reports that error.
bool fakeAll(const Connection& c, const KeyAction* actions, int32_t count) {
    ErrorTrap trap(c);
    for (int32_t i = 0; i < count; ++i) {
        fakeKey(c, actions[i].key, actions[i].down);
    }
    if (trap.synced()) {
        return true;
    }
    for (int32_t i = count; i > 0; --i) {
        if (actions[i - 1].down) {
            fakeKey(c, actions[i - 1].key, false);
        }
    }
    c.x->sync(c.display, False);
    return false;
}

// The releases of modifier keys (and taps of the mask key) that lead a
// batch: the keys someone else holds, let up before anything is typed.
int32_t leadingReleases(const KeyAction* actions, int32_t count) {
    int32_t lead = 0;
    while (lead < count && (actions[lead].key == blankKey_ || (!actions[lead].down && isModifierKey(actions[lead].key)))) {
        ++lead;
    }
    return lead;
}

}  // namespace

bool startTyping(const Connection& c) {
    finishTyping(c);
    ErrorTrap trap(c);
    keymap_ = c.x->xkbGetMap(c.display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    modifierMap_ = c.x->getModifierMapping(c.display);
    XkbStateRec state = {};
    c.x->xkbGetState(c.display, XkbUseCoreKbd, &state);
    if (!trap.answered() || keymap_ == nullptr || modifierMap_ == nullptr) {
        if (errorCode() == 0) {
            failWith(ErrorNotSupported, "The X server did not hand over its keymap");
        }
        finishTyping(c);
        return false;
    }
    group_ = state.group;
    findSpares();
    return true;
}

void finishTyping(const Connection& c) {
    if (keymap_ != nullptr) {
        unbindSpares(c);
        c.x->xkbFreeKeyboard(keymap_, 0, True);
        keymap_ = nullptr;
    }
    if (modifierMap_ != nullptr) {
        c.x->freeModifiermap(modifierMap_);
        modifierMap_ = nullptr;
    }
}

bool findKey(const Connection& c, KeySym keysym, KeyStroke* stroke) {
    if (keymap_ == nullptr) {
        setErrorCode(ErrorInvalidData);
        return false;
    }
    return findInKeymap(keysym, stroke) || bindSpare(c, keysym, stroke);
}

int32_t heldModifierKeys(const Connection& c, KeyCode* keys, int32_t capacity) {
    if (modifierMap_ == nullptr) {
        return 0;
    }
    char down[32] = {};
    c.x->queryKeymap(c.display, down);
    int32_t count = 0;
    for (const int row : HeldModifierRows) {
        for (int i = 0; i < modifierMap_->max_keypermod; ++i) {
            const KeyCode key = modifierMap_->modifiermap[row * modifierMap_->max_keypermod + i];
            if (key != 0 && keyDown(down, key) && count < capacity) {
                keys[count++] = key;
            }
        }
    }
    return count;
}

KeyCode maskKeyBeforeRelease(KeyCode key) {
    if (modifierMap_ == nullptr) {
        return 0;
    }
    constexpr int AltAndSuperRows[] = {Mod1MapIndex, Mod4MapIndex};
    for (const int row : AltAndSuperRows) {
        for (int i = 0; i < modifierMap_->max_keypermod; ++i) {
            if (modifierMap_->modifiermap[row * modifierMap_->max_keypermod + i] == key) {
                return blankKey_;
            }
        }
    }
    return 0;
}

int32_t modifierKeys(unsigned int modifiers, KeyCode* keys) {
    int32_t count = 0;
    for (int row = 0; row < 8 && modifierMap_ != nullptr; ++row) {
        if ((modifiers & (1U << row)) != 0) {
            keys[count++] = modifierKey(row);
        }
    }
    return count;
}

bool injectKeys(const Connection& c, const KeyAction* actions, int32_t count) {
    const int32_t lead = leadingReleases(actions, count);
    if (lead > 0) {
        if (!fakeAll(c, actions, lead)) {
            return false;
        }
        // A key held on a physical keyboard is not let up by XTest's device.
        char down[32] = {};
        c.x->queryKeymap(c.display, down);
        for (int32_t i = 0; i < lead; ++i) {
            if (!actions[i].down && keyDown(down, actions[i].key)) {
                const Decimal key = decimal(actions[i].key);
                const char* const parts[] = {"A modifier key (keycode ", key.digits,
                                             ") is held down and cannot be let up", nullptr};
                failWithParts(ErrorKeyHeld, parts);
                return false;
            }
        }
    }
    return fakeAll(c, actions + lead, count - lead);
}

bool capsLocked(const Connection& c, bool* locked) {
    XkbStateRec state = {};
    ErrorTrap trap(c);
    const Status read = c.x->xkbGetState(c.display, XkbUseCoreKbd, &state);
    *locked = (state.locked_mods & LockMask) != 0;
    return trap.answered() && read == Success;
}

bool lockCaps(const Connection& c, bool locked) {
    ErrorTrap trap(c);
    c.x->xkbLockModifiers(c.display, XkbUseCoreKbd, LockMask, locked ? LockMask : 0);
    bool now = !locked;
    if (!trap.synced() || !capsLocked(c, &now)) {
        return false;
    }
    if (now != locked) {
        failWith(ErrorKeyHeld, locked ? "Caps Lock could not be locked again" : "Caps Lock could not be unlocked");
        return false;
    }
    return true;
}

bool capsKeyHeld(const Connection& c) {
    if (modifierMap_ == nullptr) {
        return false;
    }
    char keys[32] = {};
    c.x->queryKeymap(c.display, keys);
    for (int i = 0; i < modifierMap_->max_keypermod; ++i) {
        const KeyCode key = modifierMap_->modifiermap[LockMapIndex * modifierMap_->max_keypermod + i];
        if (key != 0 && keyDown(keys, key)) {
            return true;
        }
    }
    return false;
}

}  // namespace wedge::x11
