package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.nio.charset.StandardCharsets;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/** What arrives in a real X client when the library types into it. */
@Tag("openbox")
class X11TypingTest {

    private XDisplay.Sink sink;

    @BeforeEach
    void openSink() throws Exception {
        sink = new XDisplay.Sink("Typing sink");
        XDisplay.choose(sink.title);
    }

    @AfterEach
    void closeSink() throws Exception {
        sink.close();
        assertEquals("", XDisplay.keysDown(), "no key is left down");
    }

    private static String windows1252(int value) {
        // Java decodes the five undefined bytes as U+FFFD; the library drops them.
        String character = new String(new byte[] {(byte) value}, java.nio.charset.Charset.forName("windows-1252"));
        return character.equals("\ufffd") ? "" : character;
    }

    /** Types the scan, checks what arrived, and answers how long sendText took in ms. */
    private long typesExactly(byte[] scan, String expected) throws Exception {
        long start = System.nanoTime();
        assertTrue(Wedge.sendText(scan), () -> "sendText: " + Wedge.getLastErrorMessage());
        long took = (System.nanoTime() - start) / 1_000_000;
        assertNull(Wedge.getLastErrorMessage());
        assertEquals(expected, sink.received(expected));
        return took;
    }

    @Test
    void everyByteArrivesAsItsCharacter() throws Exception {
        ByteArrayOutputStream scan = new ByteArrayOutputStream();
        StringBuilder expected = new StringBuilder();
        for (int value = 32; value < 127; value++) {
            scan.write(value);
            expected.append((char) value);
        }
        scan.write('\t');
        scan.write(10);
        scan.write(0x7F);
        expected.append('\t');
        for (int value = 128; value < 256; value++) {
            scan.write(value);
            expected.append(windows1252(value));
        }
        scan.write('\r');
        expected.append('\r');
        long took = typesExactly(scan.toByteArray(), expected.toString());
        // Settle, a pause after every byte and the Tab held down: none may end early.
        long pauses = 200 + 50L * scan.size() + 100;
        assertTrue(took >= pauses, () -> "sendText took " + took + " ms, its pauses " + pauses + " ms");
    }

    @Test
    void aChangedKeymapStillGivesTheRightCharacters() throws Exception {
        // y and z swapped, as on a German keyboard.
        XDisplay.run("xmodmap", "-e", "keycode 29 = z Z", "-e", "keycode 52 = y Y");
        try {
            typesExactly("yzYZ\r".getBytes(StandardCharsets.US_ASCII), "yzYZ\r");
        } finally {
            XDisplay.run("xmodmap", "-e", "keycode 29 = y Y", "-e", "keycode 52 = z Z");
        }
    }

    @Test
    void aCharacterNoKeyMakesArrivesAndTheKeymapIsAsBefore() throws Exception {
        String before = XDisplay.keymap();
        typesExactly(new byte[] {(byte) 0xE9, (byte) 0x80, 'a', (byte) 0xE9, '\r'}, "\u00e9\u20aca\u00e9\r");
        assertEquals(before, XDisplay.keymap(), "the spare keycodes are unbound after the scan");
    }

    @Test
    void capsLockStaysOnAndDoesNotChangeTheText() throws Exception {
        XDisplay.run("xdotool", "key", "Caps_Lock");
        try {
            assertTrue(XDisplay.capsLocked());
            typesExactly("aB1\u00e4\r".getBytes(java.nio.charset.Charset.forName("windows-1252")), "aB1\u00e4\r");
            assertTrue(XDisplay.capsLocked(), "Caps Lock is locked again");
        } finally {
            XDisplay.run("xdotool", "key", "Caps_Lock");
        }
    }

    @Test
    void aControlKeyHeldBySomeoneElseIsLetUpAndNotPressedAgain() throws Exception {
        XDisplay.run("xdotool", "keydown", "Control_L");
        try {
            typesExactly("ab12\r".getBytes(StandardCharsets.US_ASCII), "ab12\r");
        } finally {
            // Nothing to let up when the library did its part: checked in closeSink.
            assertEquals("", XDisplay.keysDown(), "Control is not pressed again");
        }
    }
}
