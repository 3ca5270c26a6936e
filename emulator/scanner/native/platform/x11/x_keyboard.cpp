#include "platform/x11/x_keyboard.h"

#include <cstdlib>

namespace wedge::x11 {
namespace {

constexpr int32_t KeycodeCount = 256;
constexpr uint32_t ErrorInvalidData = 13;
constexpr KeySym NoSymbol = 0;
constexpr KeySym IsoLevel3Shift = 0xFE03;
constexpr int ShiftRow = 0;
constexpr int LockRow = 1;
constexpr unsigned int ShiftMask = 1U << ShiftRow;
constexpr unsigned int LockMask = 1U << LockRow;

// The core keymap for the scan: keysymsPerKey keysyms per keycode from
// the server's first keycode on, and the keycodes of each modifier.
xcb_get_keyboard_mapping_reply_t* keymapReply_ = nullptr;
const KeySym* keysyms_ = nullptr;
int32_t keysymsPerKey_ = 0;
KeyCode firstKey_ = 0;
KeyCode lastKey_ = 0;
xcb_get_modifier_mapping_reply_t* modifierReply_ = nullptr;
const KeyCode* modifierMap_ = nullptr;
int32_t keysPerModifier_ = 0;
int group_ = 0;
// The modifier row of the key that selects levels 3 and 4; -1 for none.
int level3Row_ = -1;

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
constexpr int HeldModifierRows[] = {0, 2, 3, 5, 6, 7};
constexpr int AltAndSuperRows[] = {3, 6};

bool keyDown(const uint8_t* keys, KeyCode key) { return (keys[key / 8] & (1U << (key % 8))) != 0; }

KeySym symbolAt(KeyCode key, int32_t column) {
    if (key < firstKey_ || key > lastKey_ || column >= keysymsPerKey_) {
        return NoSymbol;
    }
    return keysyms_[(key - firstKey_) * keysymsPerKey_ + column];
}

KeyCode modifierKey(int row) {
    for (int32_t i = 0; i < keysPerModifier_; ++i) {
        const KeyCode key = modifierMap_[row * keysPerModifier_ + i];
        if (key != 0) {
            return key;
        }
    }
    return 0;
}

int modifierRowOf(KeyCode key) {
    for (int32_t i = 0; i < 8 * keysPerModifier_; ++i) {
        if (modifierMap_[i] == key) {
            return i / keysPerModifier_;
        }
    }
    return -1;
}

bool isModifierKey(KeyCode key) { return modifierRowOf(key) >= 0; }

// The row of the modifier that ISO_Level3_Shift (AltGr) sets.
int findLevel3Row() {
    for (int key = firstKey_; key <= lastKey_; ++key) {
        for (int32_t column = 0; column < keysymsPerKey_; ++column) {
            if (symbolAt(static_cast<KeyCode>(key), column) == IsoLevel3Shift) {
                const int row = modifierRowOf(static_cast<KeyCode>(key));
                if (row > LockRow) {
                    return row;
                }
            }
        }
    }
    return -1;
}

// XKB writes each key's levels into the core keymap as G1L1 G1L2 G2L1
// G2L2 G1L3 G1L4 G2L3 G2L4: for the current group, the columns of levels
// 1 to 4 and the modifiers that select them.
struct Level {
    int32_t column;
    unsigned int modifiers;
    int32_t cost;
};

int32_t levelsOfGroup(Level* levels) {
    const int32_t base = group_ == 1 ? 2 : 0;
    int32_t count = 0;
    levels[count++] = {base, 0, 0};
    levels[count++] = {base + 1, ShiftMask, 1};
    if (level3Row_ >= 0) {
        const unsigned int level3 = 1U << level3Row_;
        levels[count++] = {base + 4, level3, 1};
        levels[count++] = {base + 5, level3 | ShiftMask, 2};
    }
    return count;
}

bool findInKeymap(KeySym keysym, KeyStroke* stroke) {
    Level levels[4] = {};
    const int32_t levelCount = levelsOfGroup(levels);
    int32_t best = 3;
    for (int key = firstKey_; key <= lastKey_; ++key) {
        const auto code = static_cast<KeyCode>(key);
        for (int32_t i = 0; i < levelCount; ++i) {
            if (symbolAt(code, levels[i].column) == keysym && levels[i].cost < best) {
                *stroke = {code, levels[i].modifiers};
                best = levels[i].cost;
            }
        }
    }
    return best < 3;
}

KeySym* mappingOf(Connection& c, KeyCode key, xcb_get_keyboard_mapping_reply_t** reply, int32_t* count) {
    *reply = await<xcb_get_keyboard_mapping_reply_t>(c, c.x->getKeyboardMapping(c.xcb, key, 1));
    *count = *reply != nullptr ? c.x->getKeyboardMappingKeysymsLength(*reply) : 0;
    return *reply != nullptr ? c.x->getKeyboardMappingKeysyms(*reply) : nullptr;
}

bool bindSpare(Connection& c, KeySym keysym, KeyStroke* stroke) {
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
    const KeySym both[2] = {keysym, keysym};
    c.x->changeKeyboardMapping(c.xcb, 1, spares_[slot], 2, both);
    if (!synced(c)) {
        return false;
    }
    // The server has applied the change once it reports it back.
    xcb_get_keyboard_mapping_reply_t* reply = nullptr;
    int32_t count = 0;
    const KeySym* bound = mappingOf(c, spares_[slot], &reply, &count);
    const bool confirmed = bound != nullptr && count > 0 && bound[0] == keysym;
    release(reply);
    if (!confirmed) {
        if (reply != nullptr) {
            setErrorCode(ErrorInvalidData);
        }
        return false;
    }
    boundTo_[slot] = keysym;
    *stroke = {spares_[slot], 0};
    return true;
}

void unbindSpares(Connection& c) {
    bool unbound = false;
    for (int32_t i = 0; i < spareCount_; ++i) {
        if (boundTo_[i] != NoSymbol) {
            const KeySym none[2] = {NoSymbol, NoSymbol};
            c.x->changeKeyboardMapping(c.xcb, 1, spares_[i], 2, none);
            boundTo_[i] = NoSymbol;
            unbound = true;
        }
    }
    if (unbound) {
        synced(c);
    }
}

void findSpares() {
    spareCount_ = 0;
    nextSpare_ = 0;
    blankKey_ = 0;
    // From the top: the low unused keycodes are the ones layouts fill first.
    for (int key = lastKey_; key >= firstKey_; --key) {
        const auto code = static_cast<KeyCode>(key);
        bool blank = !isModifierKey(code);
        for (int32_t column = 0; blank && column < keysymsPerKey_; ++column) {
            blank = symbolAt(code, column) == NoSymbol;
        }
        if (!blank) {
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

void fakeKey(Connection& c, KeyCode key, bool down) {
    c.x->testFakeInput(c.xcb, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

// Sends the actions and waits for the server; on an X error, lets up every
// key the actions pressed, and reports that error.
bool fakeAll(Connection& c, const KeyAction* actions, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        fakeKey(c, actions[i].key, actions[i].down);
    }
    if (synced(c)) {
        return true;
    }
    if (c.x->connectionHasError(c.xcb) != 0) {
        return false;
    }
    for (int32_t i = count; i > 0; --i) {
        if (actions[i - 1].down) {
            fakeKey(c, actions[i - 1].key, false);
        }
    }
    settle(c);
    return false;
}

// The releases of modifier keys (and taps of the mask key) that lead a
// batch: the keys someone else holds, let up before anything is typed.
int32_t leadingReleases(const KeyAction* actions, int32_t count) {
    int32_t lead = 0;
    while (lead < count &&
           (actions[lead].key == blankKey_ || (!actions[lead].down && isModifierKey(actions[lead].key)))) {
        ++lead;
    }
    return lead;
}

bool keysDown(Connection& c, uint8_t* down) {
    auto* keymap = await<xcb_query_keymap_reply_t>(c, c.x->queryKeymap(c.xcb));
    if (keymap == nullptr) {
        return false;
    }
    for (int32_t i = 0; i < 32; ++i) {
        down[i] = keymap->keys[i];
    }
    release(keymap);
    return true;
}

}  // namespace

bool startTyping(Connection& c) {
    finishTyping(c);
    const auto count = static_cast<uint8_t>(c.maxKeycode - c.minKeycode + 1);
    const auto mappingCookie = c.x->getKeyboardMapping(c.xcb, c.minKeycode, count);
    const auto modifierCookie = c.x->getModifierMapping(c.xcb);
    const auto stateCookie = c.x->xkbGetState(c.xcb, XCB_XKB_ID_USE_CORE_KBD);
    keymapReply_ = await<xcb_get_keyboard_mapping_reply_t>(c, mappingCookie);
    modifierReply_ = keymapReply_ != nullptr ? await<xcb_get_modifier_mapping_reply_t>(c, modifierCookie) : nullptr;
    auto* state = modifierReply_ != nullptr ? await<xcb_xkb_get_state_reply_t>(c, stateCookie) : nullptr;
    if (state == nullptr) {
        finishTyping(c);
        return false;
    }
    group_ = state->group;
    release(state);
    keysyms_ = c.x->getKeyboardMappingKeysyms(keymapReply_);
    keysymsPerKey_ = keymapReply_->keysyms_per_keycode;
    firstKey_ = c.minKeycode;
    lastKey_ = keysymsPerKey_ > 0 ? c.maxKeycode : static_cast<KeyCode>(c.minKeycode - 1);
    modifierMap_ = c.x->getModifierMappingKeycodes(modifierReply_);
    keysPerModifier_ = modifierReply_->keycodes_per_modifier;
    level3Row_ = findLevel3Row();
    findSpares();
    return true;
}

void finishTyping(Connection& c) {
    if (keymapReply_ != nullptr && modifierReply_ != nullptr) {
        unbindSpares(c);
    }
    release(keymapReply_);
    release(modifierReply_);
    keymapReply_ = nullptr;
    modifierReply_ = nullptr;
    keysyms_ = nullptr;
    modifierMap_ = nullptr;
    keysymsPerKey_ = 0;
    keysPerModifier_ = 0;
    spareCount_ = 0;
    blankKey_ = 0;
}

bool findKey(Connection& c, KeySym keysym, KeyStroke* stroke) {
    if (keysyms_ == nullptr) {
        setErrorCode(ErrorInvalidData);
        return false;
    }
    return findInKeymap(keysym, stroke) || bindSpare(c, keysym, stroke);
}

int32_t heldModifierKeys(Connection& c, KeyCode* keys, int32_t capacity) {
    uint8_t down[32] = {};
    if (modifierMap_ == nullptr || !keysDown(c, down)) {
        return 0;
    }
    int32_t count = 0;
    for (const int row : HeldModifierRows) {
        for (int32_t i = 0; i < keysPerModifier_; ++i) {
            const KeyCode key = modifierMap_[row * keysPerModifier_ + i];
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
    for (const int row : AltAndSuperRows) {
        for (int32_t i = 0; i < keysPerModifier_; ++i) {
            if (modifierMap_[row * keysPerModifier_ + i] == key) {
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

bool injectKeys(Connection& c, const KeyAction* actions, int32_t count) {
    const int32_t lead = leadingReleases(actions, count);
    if (lead > 0) {
        if (!fakeAll(c, actions, lead)) {
            return false;
        }
        // A key held on a physical keyboard is not let up by XTEST's device.
        uint8_t down[32] = {};
        if (!keysDown(c, down)) {
            return false;
        }
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

bool capsLocked(Connection& c, bool* locked) {
    auto* state = await<xcb_xkb_get_state_reply_t>(c, c.x->xkbGetState(c.xcb, XCB_XKB_ID_USE_CORE_KBD));
    if (state == nullptr) {
        return false;
    }
    *locked = (state->lockedMods & LockMask) != 0;
    release(state);
    return true;
}

bool lockCaps(Connection& c, bool locked) {
    c.x->xkbLatchLockState(c.xcb, XCB_XKB_ID_USE_CORE_KBD, LockMask, locked ? LockMask : 0, 0, 0, 0, 0, 0);
    bool now = !locked;
    if (!synced(c) || !capsLocked(c, &now)) {
        return false;
    }
    if (now != locked) {
        failWith(ErrorKeyHeld, locked ? "Caps Lock could not be locked again" : "Caps Lock could not be unlocked");
        return false;
    }
    return true;
}

}  // namespace wedge::x11
