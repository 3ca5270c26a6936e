#include "simulated/keyboard_layouts.h"

#include <cstddef>

namespace wedge::simulated {
namespace {

struct KeyChar {
    char16_t character;
    uint16_t virtualKey;
    uint8_t shiftState;
};

// The US layout's printable characters, Enter, Tab and Backspace.
constexpr KeyChar UnitedStatesKeys[] = {
    {u' ', 0x20, 0},  {u'\r', 0x0D, 0}, {u'\t', 0x09, 0}, {u'\b', 0x08, 0}, {u'\x1b', 0x1B, 0},
    {u'0', '0', 0},   {u')', '0', 1},   {u'1', '1', 0},   {u'!', '1', 1},   {u'2', '2', 0},
    {u'@', '2', 1},   {u'3', '3', 0},   {u'#', '3', 1},   {u'4', '4', 0},   {u'$', '4', 1},
    {u'5', '5', 0},   {u'%', '5', 1},   {u'6', '6', 0},   {u'^', '6', 1},   {u'7', '7', 0},
    {u'&', '7', 1},   {u'8', '8', 0},   {u'*', '8', 1},   {u'9', '9', 0},   {u'(', '9', 1},
    {u';', 0xBA, 0},  {u':', 0xBA, 1},  {u'=', 0xBB, 0},  {u'+', 0xBB, 1},  {u',', 0xBC, 0},
    {u'<', 0xBC, 1},  {u'-', 0xBD, 0},  {u'_', 0xBD, 1},  {u'.', 0xBE, 0},  {u'>', 0xBE, 1},
    {u'/', 0xBF, 0},  {u'?', 0xBF, 1},  {u'`', 0xC0, 0},  {u'~', 0xC0, 1},  {u'[', 0xDB, 0},
    {u'{', 0xDB, 1},  {u'\\', 0xDC, 0}, {u'|', 0xDC, 1},  {u']', 0xDD, 0},  {u'}', 0xDD, 1},
    {u'\'', 0xDE, 0}, {u'"', 0xDE, 1},
};

// Where the AltGraph layout differs from the US one.
constexpr KeyChar AltGraphKeys[] = {
    {u'@', 'Q', 6},   {u'{', '7', 6},   {u'}', '0', 6},   {u'[', '8', 6},
    {u']', '9', 6},   {u'\\', 0xDB, 6}, {u'`', 0, 0xFF},  {u'^', 0, 0xFF},
    {u'~', 0, 0xFF},
};
constexpr uint8_t NoKey = 0xFF;

struct KeyScan {
    uint16_t virtualKey;
    uint16_t scanCode;
};

constexpr KeyScan ScanCodes[] = {
    {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C}, {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38},
    {0x14, 0x3A}, {0x1B, 0x01}, {0x20, 0x39}, {0x60, 0x52}, {0x61, 0x4F}, {0x62, 0x50},
    {0x63, 0x51}, {0x64, 0x4B}, {0x65, 0x4C}, {0x66, 0x4D}, {0x67, 0x47}, {0x68, 0x48},
    {0x69, 0x49}, {'A', 0x1E},  {'Q', 0x10},  {'0', 0x0B},  {'1', 0x02},
};

const KeyChar* findAltGraphEntry(char16_t character) {
    for (const KeyChar& entry : AltGraphKeys) {
        if (entry.character == character) {
            return &entry;
        }
    }
    return nullptr;
}

bool movedInAltGraph(const KeyChar& usEntry) {
    return findAltGraphEntry(usEntry.character) != nullptr;
}

}  // namespace

bool isLetterKey(uint16_t virtualKey) { return virtualKey >= 'A' && virtualKey <= 'Z'; }

int16_t keyScan(Layout layout, char16_t character) {
    if (layout == Layout::AltGraph) {
        if (const KeyChar* entry = findAltGraphEntry(character)) {
            if (entry->shiftState == NoKey) {
                return -1;
            }
            return static_cast<int16_t>(entry->shiftState << 8 | entry->virtualKey);
        }
    }
    if (character >= u'a' && character <= u'z') {
        return static_cast<int16_t>(character - u'a' + 'A');
    }
    if (character >= u'A' && character <= u'Z') {
        return static_cast<int16_t>(0x100 | character);
    }
    for (const KeyChar& entry : UnitedStatesKeys) {
        if (entry.character == character) {
            return static_cast<int16_t>(entry.shiftState << 8 | entry.virtualKey);
        }
    }
    return -1;
}

char16_t characterOf(Layout layout, uint16_t virtualKey, uint8_t shiftState) {
    if (layout == Layout::AltGraph) {
        for (const KeyChar& entry : AltGraphKeys) {
            if (entry.shiftState != NoKey && entry.virtualKey == virtualKey &&
                entry.shiftState == shiftState) {
                return entry.character;
            }
        }
    }
    if (isLetterKey(virtualKey) && (shiftState & ~ShiftBit) == 0) {
        return static_cast<char16_t>((shiftState & ShiftBit) != 0 ? virtualKey : virtualKey - 'A' + 'a');
    }
    for (const KeyChar& entry : UnitedStatesKeys) {
        if (entry.virtualKey == virtualKey && entry.shiftState == shiftState) {
            if (layout == Layout::AltGraph && movedInAltGraph(entry)) {
                return 0;
            }
            return entry.character;
        }
    }
    return 0;
}

uint16_t scanCodeOfKey(uint16_t virtualKey) {
    for (const KeyScan& key : ScanCodes) {
        if (key.virtualKey == virtualKey) {
            return key.scanCode;
        }
    }
    return 0;
}

uint16_t keyOfScanCode(uint16_t scanCode) {
    for (const KeyScan& key : ScanCodes) {
        if (key.scanCode == scanCode) {
            return key.virtualKey;
        }
    }
    return 0;
}

}  // namespace wedge::simulated
