package kavo.emulator.scanner.jni;

import static kavo.emulator.scanner.jni.ChosenTarget.ascii;
import static kavo.emulator.scanner.jni.ChosenTarget.bytes;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.charset.Charset;
import java.util.List;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** What arrives in the target application, how long a scan takes, and where it goes when the target fails. */
class DeliveryTest {

    private static final String WINDOW_UNAVAILABLE = "Selected window is no longer available";

    @BeforeEach
    void emptyDesktop() {
        SimulatedDesktop.reset();
    }

    @Test
    void aScanArrivesInTheTargetBroughtToTheFront() {
        SimulatedDesktop.openWindow("Bystander");
        long target = ChosenTarget.open("Point of sale");
        long bystander = SimulatedDesktop.openWindow("Bystander in front");
        SimulatedDesktop.setForeground(bystander);

        assertTrue(Wedge.sendText(ascii("Hello, World!\r")));

        assertEquals("Hello, World!\r", SimulatedDesktop.receivedText(target));
        assertEquals("", SimulatedDesktop.receivedText(bystander));
        assertEquals(target, SimulatedDesktop.foregroundWindow());
        assertNull(Wedge.getLastErrorMessage());
    }

    @Test
    void everyPrintableAsciiByteArrivesAsItself() {
        long target = ChosenTarget.open("Point of sale");
        byte[] printable = new byte[95];
        for (int i = 0; i < printable.length; i++) {
            printable[i] = (byte) (32 + i);
        }

        assertTrue(Wedge.sendText(printable));

        assertEquals(new String(printable, Charset.forName("US-ASCII")), SimulatedDesktop.receivedText(target));
    }

    @Test
    void highBytesArriveAsTheirWindows1252Characters() {
        long target = ChosenTarget.open("Point of sale");
        byte[] high = new byte[128];
        for (int i = 0; i < high.length; i++) {
            high[i] = (byte) (128 + i);
        }

        assertTrue(Wedge.sendText(high));

        assertEquals(windows1252(high), SimulatedDesktop.receivedText(target));
        assertArrayEquals(new int[0], SimulatedDesktop.keysDown());
    }

    static Stream<Arguments> scansAndTheirDuration() {
        return Stream.of(
                Arguments.of(bytes(), 200),
                Arguments.of(ascii("a"), 250),
                Arguments.of(ascii("0123456789"), 700),
                Arguments.of(ascii("a\tb"), 450),
                Arguments.of(ascii("\t\t"), 500),
                // Dropped bytes take their time too.
                Arguments.of(bytes(0, 'x', 10, 'y'), 400),
                Arguments.of(bytes(233, 9), 400));
    }

    @ParameterizedTest
    @MethodSource("scansAndTheirDuration")
    void aScanTakes200MsPlus50PerBytePlus100PerTab(byte[] scan, long expectedMs) {
        ChosenTarget.open("Point of sale");

        assertTrue(Wedge.sendText(scan));

        assertEquals(expectedMs, SimulatedDesktop.nowMs());
    }

    @Test
    void aMinimisedTargetIsRestoredBeforeTyping() {
        long target = ChosenTarget.open("Point of sale");
        SimulatedDesktop.setMinimised(target, true);

        assertTrue(Wedge.sendText(ascii("42")));

        assertFalse(SimulatedDesktop.isMinimised(target));
        assertArrayEquals(new long[] {target}, SimulatedDesktop.restorations());
        assertEquals("42", SimulatedDesktop.receivedText(target));
    }

    @Test
    void aReopenedTargetIsFoundByItsTitle() {
        long closed = ChosenTarget.open("Ledger");
        SimulatedDesktop.closeWindow(closed);
        SimulatedDesktop.openWindow("Other");
        long reopened = SimulatedDesktop.openWindow("Ledger");

        assertTrue(Wedge.sendText(ascii("42")));
        assertEquals("42", SimulatedDesktop.receivedText(reopened));

        // The reopened window is now the target itself.
        int before = SimulatedDesktop.activations().size();
        assertTrue(Wedge.sendText(ascii("7")));
        assertEquals(new Activation(reopened, SimulatedDesktop.activations().get(before).atMs(), true),
                SimulatedDesktop.activations().get(before));
        assertEquals("427", SimulatedDesktop.receivedText(reopened));
    }

    @Test
    void aTargetWithATitleCutAt99IsFoundAgainByTheSameLongTitle() {
        String title = "Warehouse stock taking ".repeat(7);
        long closed = ChosenTarget.open(title);
        SimulatedDesktop.closeWindow(closed);
        long reopened = SimulatedDesktop.openWindow(title);

        assertTrue(Wedge.sendText(ascii("9")));

        assertEquals("9", SimulatedDesktop.receivedText(reopened));
    }

    @Test
    void aTargetGoneWithoutSuccessorTypesNothing() {
        long closed = ChosenTarget.open("Ledger");
        long other = SimulatedDesktop.openWindow("Ledger (2)");
        SimulatedDesktop.closeWindow(closed);

        assertFalse(Wedge.sendText(ascii("42")));

        assertEquals(WINDOW_UNAVAILABLE, Wedge.getLastErrorMessage());
        assertTrue(SimulatedDesktop.injectedKeys().isEmpty());
        assertEquals("", SimulatedDesktop.receivedText(other));
    }

    @Test
    void typingStopsWhenTheTargetLosesTheForeground() {
        long target = ChosenTarget.open("Point of sale");
        // Brought to the front once, then again before each of three bytes.
        SimulatedDesktop.refuseActivationAfter(target, 4);
        SimulatedDesktop.setCapsLock(true);

        assertFalse(Wedge.sendText(ascii("abcdef")));

        assertEquals(WINDOW_UNAVAILABLE, Wedge.getLastErrorMessage());
        assertEquals("abc", SimulatedDesktop.receivedText(target));
        assertTrue(SimulatedDesktop.capsLockOn());
        assertArrayEquals(new int[0], SimulatedDesktop.keysDown());
    }

    @Test
    void aFailedInjectionStopsTypingAndRestoresCapsLock() {
        long target = ChosenTarget.open("Point of sale");
        SimulatedDesktop.setCapsLock(true);
        // Caps Lock off, 'a' and 'b' go through; 'c' does not.
        SimulatedDesktop.failSendInput(5, 1, 3);

        assertFalse(Wedge.sendText(ascii("abcd")));

        assertEquals("Wedge error: 5 with message: Access is denied.\r\n", Wedge.getLastErrorMessage());
        assertEquals("ab", SimulatedDesktop.receivedText(target));
        assertTrue(SimulatedDesktop.capsLockOn());
        assertArrayEquals(new int[0], SimulatedDesktop.keysDown());
    }

    @Test
    void aCharacterNoKeyProducesStopsTypingAsInvalidData() {
        long target = ChosenTarget.open("Point of sale");
        SimulatedDesktop.useLayout(SimulatedDesktop.Layout.ALT_GRAPH);

        assertFalse(Wedge.sendText(ascii("a^b")));

        assertEquals("Wedge error: 13 with message: The data is invalid.\r\n", Wedge.getLastErrorMessage());
        assertEquals("a", SimulatedDesktop.receivedText(target));
    }

    /** Windows' own decoding: the five bytes Windows-1252 leaves undefined stand for themselves. */
    private static String windows1252(byte[] bytes) {
        String decoded = new String(bytes, Charset.forName("windows-1252"));
        StringBuilder text = new StringBuilder(decoded);
        for (int i = 0; i < bytes.length; i++) {
            int value = bytes[i] & 0xFF;
            if (List.of(0x81, 0x8D, 0x8F, 0x90, 0x9D).contains(value)) {
                text.setCharAt(i, (char) value);
            }
        }
        return text.toString();
    }
}
