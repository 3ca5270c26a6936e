// The simulated desktop must behave as Windows does wherever the library's
// tests rely on it; these pin down those places.
#include "simulated/keyboard_layouts.h"

#include "desktop_fixture.h"
#include "platform/desktop.h"

#include <vector>

namespace wedge::testing {
namespace {

using platform::KeyboardEvent;
using platform::VkCapital;

void inject(const std::vector<KeyboardEvent>& events) {
    platform::sendInput(events.data(), static_cast<uint32_t>(events.size()));
}

// Alt pressed, each keypad digit pressed and released, and Alt released
// unless the code is left unfinished.
std::vector<KeyboardEvent> altKeypadCode(std::initializer_list<uint16_t> digits, bool finished = true) {
    std::vector<KeyboardEvent> events{{platform::VkMenu, 0, KeyPress}};
    for (const uint16_t digit : digits) {
        const auto key = static_cast<uint16_t>(platform::VkNumpad0 + digit);
        events.push_back({key, 0, KeyPress});
        events.push_back({key, 0, KeyRelease});
    }
    if (finished) {
        events.push_back({platform::VkMenu, 0, KeyRelease});
    }
    return events;
}

using SimulatedDesktopTest = DesktopTest;

TEST_F(SimulatedDesktopTest, CapsLockTogglesOnlyWhenItsKeyGoesFromUpToDown) {
    inject({{VkCapital, 0, KeyPress}});
    EXPECT_TRUE(simulated::capsLockOn());
    inject({{VkCapital, 0, KeyPress}});
    EXPECT_TRUE(simulated::capsLockOn()) << "a second press of a held key does not toggle";
    EXPECT_EQ(platform::getKeyState(VkCapital) & 0x8001, 0x8001);
    inject({{VkCapital, 0, KeyRelease}, {VkCapital, 0, KeyPress}, {VkCapital, 0, KeyRelease}});
    EXPECT_FALSE(simulated::capsLockOn());
    EXPECT_EQ(platform::getKeyState(VkCapital), 0);
}

TEST_F(SimulatedDesktopTest, EveryLayoutCharacterRoundTripsThroughItsKey) {
    for (const auto layout : {simulated::Layout::UnitedStates, simulated::Layout::AltGraph}) {
        int typeable = 0;
        for (char16_t character = 32; character < 127; ++character) {
            const int16_t scan = simulated::keyScan(layout, character);
            if (scan == -1) {
                continue;
            }
            ++typeable;
            const auto key = static_cast<uint16_t>(scan & 0xFF);
            const auto shift = static_cast<uint8_t>(scan >> 8);
            EXPECT_EQ(simulated::characterOf(layout, key, shift), character)
                << "character " << static_cast<int>(character);
        }
        EXPECT_GE(typeable, 92);
    }
    EXPECT_EQ(simulated::keyScan(simulated::Layout::UnitedStates, u'\r'), 0x0D);
}

TEST_F(SimulatedDesktopTest, TheAltGraphLayoutHasNoKeyForItsDeadKeyCharacters) {
    for (const char16_t character : {u'`', u'^', u'~'}) {
        EXPECT_EQ(simulated::keyScan(simulated::Layout::AltGraph, character), -1);
        EXPECT_NE(simulated::keyScan(simulated::Layout::UnitedStates, character), -1);
    }
}

TEST_F(SimulatedDesktopTest, ScanCodesMapBackToTheirKeys) {
    for (uint16_t key = 1; key < 256; ++key) {
        const uint16_t scan = simulated::scanCodeOfKey(key);
        if (scan != 0) {
            EXPECT_EQ(simulated::keyOfScanCode(scan), key);
        }
    }
}

TEST_F(SimulatedDesktopTest, KeysGoToTheWindowInFrontAtTheTime) {
    const WindowHandle first = simulated::openWindow({u"First"});
    const WindowHandle second = simulated::openWindow({u"Second"});
    simulated::setForeground(first);
    inject({{'A', 0, KeyPress}, {'A', 0, KeyRelease}});
    simulated::setForeground(second);
    inject({{'B', 0, KeyPress}, {'B', 0, KeyRelease}});
    EXPECT_EQ(simulated::receivedText(first), u"a");
    EXPECT_EQ(simulated::receivedText(second), u"b");
}

TEST_F(SimulatedDesktopTest, AltWithKeypadDigitsComposesOnlyWithALeadingZero) {
    const WindowHandle sink = simulated::openWindow({u"Sink"});
    simulated::setForeground(sink);
    inject(altKeypadCode({0, 1, 2, 8}));
    inject(altKeypadCode({6, 5}));
    EXPECT_EQ(simulated::receivedText(sink), u"\u20ac");
}

TEST_F(SimulatedDesktopTest, AnAltCodeLeftUnfinishedDoesNotSpoilTheNextOne) {
    const WindowHandle sink = simulated::openWindow({u"Sink"});
    simulated::setForeground(sink);
    // Alt never went up through an event: the person let it go.
    inject(altKeypadCode({0, 1}, false));
    simulated::holdKey(platform::VkMenu, false);
    inject(altKeypadCode({0, 2, 3, 3}));
    EXPECT_EQ(simulated::receivedText(sink), u"\u00e9");
}

TEST_F(SimulatedDesktopTest, ALoneAltOrWindowsOpensAMenuWhenLetUpAndAKeyBetweenPreventsIt) {
    inject({{platform::VkMenu, 0, KeyPress}, {platform::VkMenu, 0, KeyRelease}});
    EXPECT_EQ(simulated::menuOpenings(), 1U);
    simulated::holdKey(platform::VkLeftWindows, true);
    inject({{platform::VkLeftWindows, 0, KeyRelease}});
    EXPECT_EQ(simulated::menuOpenings(), 2U) << "held by the person, let up by an injection";
    const uint16_t mask = platform::maskKeyForRelease(platform::VkMenu);
    inject({{platform::VkMenu, 0, KeyPress},
            {mask, 0, KeyPress},
            {mask, 0, KeyRelease},
            {platform::VkMenu, 0, KeyRelease}});
    EXPECT_EQ(simulated::menuOpenings(), 2U);
}

TEST_F(SimulatedDesktopTest, ModifiersAddressedAsSuchActAsTheirLeftKey) {
    inject({{platform::VkShift, 0, KeyPress}});
    EXPECT_EQ(simulated::keysDown(), std::vector<uint16_t>{platform::VkLeftShift});
    uint16_t held[platform::MaxModifierKeys];
    ASSERT_EQ(platform::heldModifierKeys(held), 1U);
    EXPECT_EQ(held[0], platform::VkLeftShift);
    inject({{platform::VkLeftShift, 0, KeyRelease}});
    EXPECT_FALSE(simulated::isKeyDown(platform::VkShift));
}

TEST_F(SimulatedDesktopTest, KeysBecomeCharactersInTheLayoutOfTheWindowInFront) {
    const WindowHandle german =
        simulated::openWindow({u"German", true, false, true, false, simulated::Layout::AltGraph});
    simulated::setForeground(german);
    inject({{platform::VkShift, 0, KeyPress},
            {'2', 0, KeyPress},
            {'2', 0, KeyRelease},
            {platform::VkShift, 0, KeyRelease}});
    EXPECT_EQ(simulated::receivedText(german), u"") << "Shift+2 is not @ in the AltGraph layout";
    EXPECT_NE(platform::keyboardLayoutOf(german), platform::keyboardLayoutOf(nullptr));
}

}  // namespace
}  // namespace wedge::testing
