package kavo.emulator.scanner.jni;

import static kavo.emulator.scanner.jni.ChosenTarget.ascii;
import static kavo.emulator.scanner.jni.ChosenTarget.bytes;
import static kavo.emulator.scanner.jni.InjectedKey.byScanCode;
import static kavo.emulator.scanner.jni.InjectedKey.byVirtualKey;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** The keyboard events a scan is typed as, and when they are injected. */
class KeystrokeTest {

    private static final int VK_RETURN = 0x0D;
    private static final int VK_SHIFT = 0x10;
    private static final int VK_CONTROL = 0x11;
    private static final int VK_MENU = 0x12;
    private static final int VK_CAPITAL = 0x14;
    private static final int SC_TAB = 0x0F;
    private static final int SC_ALT = 0x38;
    private static final int SC_NUMPAD0 = 0x52;
    private static final int SC_NUMPAD2 = 0x50;
    private static final int SC_NUMPAD3 = 0x51;

    private long target;

    @BeforeEach
    void desktopWithATarget() {
        SimulatedDesktop.reset();
        target = ChosenTarget.open("Point of sale");
    }

    @Test
    void eachByteIsOneInjectionAfterTheTargetHasSettled() {
        assertTrue(Wedge.sendText(ascii("Hi!\r")));

        assertEquals(List.of(
                press(VK_SHIFT), press('H'), release('H'), release(VK_SHIFT),
                press('I'), release('I'),
                press(VK_SHIFT), press('1'), release('1'), release(VK_SHIFT),
                press(VK_RETURN), release(VK_RETURN)), keystrokes());
        assertEquals(List.of("1@200", "1@200", "1@200", "1@200", "2@250", "2@250",
                "3@300", "3@300", "3@300", "3@300", "4@350", "4@350"), injectionTimes());
        assertTrue(SimulatedDesktop.injectedKeys().stream().allMatch(key -> key.foreground() == target));
        assertEquals(400, SimulatedDesktop.nowMs());
    }

    @Test
    void tabIsPressedByScanCodeAndHeld100Ms() {
        assertTrue(Wedge.sendText(ascii("a\tb")));

        assertEquals(List.of(press('A'), release('A'), byScanCode(SC_TAB, false), byScanCode(SC_TAB, true),
                press('B'), release('B')), keystrokes());
        assertEquals(List.of("1@200", "1@200", "2@250", "3@350", "4@400", "4@400"), injectionTimes());
        assertEquals("a\tb", SimulatedDesktop.receivedText(target));
    }

    @Test
    void aHighByteIsAnAltCodeOnTheKeypadInOneInjection() {
        assertTrue(Wedge.sendText(bytes(233)));

        assertEquals(List.of(byScanCode(SC_ALT, false),
                byScanCode(SC_NUMPAD0, false), byScanCode(SC_NUMPAD0, true),
                byScanCode(SC_NUMPAD2, false), byScanCode(SC_NUMPAD2, true),
                byScanCode(SC_NUMPAD3, false), byScanCode(SC_NUMPAD3, true),
                byScanCode(SC_NUMPAD3, false), byScanCode(SC_NUMPAD3, true),
                byScanCode(SC_ALT, true)), keystrokes());
        assertTrue(SimulatedDesktop.injectedKeys().stream().allMatch(key -> key.injection() == 1));
        assertEquals("\u00e9", SimulatedDesktop.receivedText(target));
    }

    @Test
    void controlBytesOtherThanTabAndEnterTypeNothingButTakeTheirTime() {
        assertTrue(Wedge.sendText(bytes(0, 10, 27, 127, 'k')));

        assertEquals(List.of(press('K'), release('K')), keystrokes());
        assertEquals(List.of("1@400", "1@400"), injectionTimes());
        assertEquals("k", SimulatedDesktop.receivedText(target));
    }

    @Test
    void capsLockIsSwitchedOffForTypingAndOnAgainAfter() {
        SimulatedDesktop.setCapsLock(true);

        assertTrue(Wedge.sendText(ascii("Ab")));

        assertEquals(List.of(press(VK_CAPITAL), release(VK_CAPITAL),
                press(VK_SHIFT), press('A'), release('A'), release(VK_SHIFT),
                press('B'), release('B'),
                press(VK_CAPITAL), release(VK_CAPITAL)), keystrokes());
        assertEquals("Ab", SimulatedDesktop.receivedText(target));
        assertTrue(SimulatedDesktop.capsLockOn());
        assertArrayEquals(new int[0], SimulatedDesktop.keysDown());
    }

    @Test
    void capsLockThatIsOffIsLeftAlone() {
        assertTrue(Wedge.sendText(ascii("Ab")));

        assertTrue(keystrokes().stream().noneMatch(key -> key.virtualKey() == VK_CAPITAL));
        assertEquals("Ab", SimulatedDesktop.receivedText(target));
        assertArrayEquals(new int[0], SimulatedDesktop.keysDown());
    }

    @Test
    void altGraphCharactersAreTypedWithControlAndAlt() {
        SimulatedDesktop.useLayout(SimulatedDesktop.Layout.ALT_GRAPH);

        assertTrue(Wedge.sendText(ascii("@")));

        assertEquals(List.of(press(VK_CONTROL), press(VK_MENU), press('Q'), release('Q'),
                release(VK_CONTROL), release(VK_MENU)), keystrokes());
        assertEquals("@", SimulatedDesktop.receivedText(target));
    }

    private static InjectedKey press(int virtualKey) {
        return byVirtualKey(virtualKey, false);
    }

    private static InjectedKey release(int virtualKey) {
        return byVirtualKey(virtualKey, true);
    }

    private static List<InjectedKey> keystrokes() {
        return SimulatedDesktop.injectedKeys().stream().map(InjectedKey::keystroke).toList();
    }

    /** "injection@time" for each event. */
    private static List<String> injectionTimes() {
        return SimulatedDesktop.injectedKeys().stream().map(key -> key.injection() + "@" + key.atMs()).toList();
    }
}
