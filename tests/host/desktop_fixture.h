// A simulated desktop and a library with no target, no list and no error
// text, fresh for every test.
#pragma once

#include "catalogue/target.h"
#include "fresh_library.h"
#include "catalogue/window_catalogue.h"
#include "keystrokes/error_text.h"
#include "simulated/simulated_desktop.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace wedge::testing {

using platform::KeyPress;
using platform::KeyRelease;
using platform::KeyScanCode;
using platform::WindowHandle;

// One injected event, comparable and printable.
struct Key {
    uint16_t virtualKey;
    uint16_t scanCode;
    uint32_t flags;
    bool operator==(const Key& other) const {
        return std::tie(virtualKey, scanCode, flags) == std::tie(other.virtualKey, other.scanCode, other.flags);
    }
};

inline std::ostream& operator<<(std::ostream& out, const Key& key) {
    return out << "{vk 0x" << std::hex << key.virtualKey << ", scan 0x" << key.scanCode << ", flags 0x"
               << key.flags << std::dec << "}";
}

inline Key press(uint16_t virtualKey) { return {virtualKey, 0, KeyPress}; }
inline Key release(uint16_t virtualKey) { return {virtualKey, 0, KeyRelease}; }
inline Key scanPress(uint16_t scanCode) { return {0, scanCode, KeyScanCode}; }
inline Key scanRelease(uint16_t scanCode) { return {0, scanCode, KeyScanCode | KeyRelease}; }

inline std::vector<Key> injectedKeys() {
    std::vector<Key> keys;
    for (const auto& injected : simulated::injectedEvents()) {
        keys.push_back({injected.event.virtualKey, injected.event.scanCode, injected.event.flags});
    }
    return keys;
}

// Prints UTF-16 text readably in failure messages.
inline std::string readable(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F) {
            out.push_back(static_cast<char>(unit));
        } else {
            char escaped[10];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
            out += escaped;
        }
    }
    return out;
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override { startFresh(); }

    void TearDown() override { catalogue::destroy(); }

    static std::u16string errorText() {
        return {keystrokes::lastErrorText(), static_cast<size_t>(keystrokes::errorTextLength())};
    }

    static std::u16string targetTitle() { return catalogue::targetTitle(); }

    // Lists the desktop and chooses the listed window with this handle.
    static void chooseTarget(WindowHandle window) {
        catalogue::WindowList& list = catalogue::listWindows();
        list.rewind();
        int32_t index = 0;
        while (list.currentWindow() != window && list.advance()) {
            ++index;
        }
        ASSERT_EQ(list.currentWindow(), window) << "window not listed";
        ASSERT_TRUE(catalogue::setWindow(index));
    }
};

}  // namespace wedge::testing
