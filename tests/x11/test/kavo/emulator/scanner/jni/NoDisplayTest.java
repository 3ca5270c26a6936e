package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;

import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/**
 * Without a desktop to reach (no display, or an X library that does not
 * work) the class still loads and every call answers; sendText says why.
 * The test runs once per such machine; wedge.expectedError holds the text.
 */
@Tag("no-desktop")
class NoDisplayTest {

    @Test
    void everyCallAnswersWithoutADesktop() {
        assertEquals(0, Wedge.getWindows().length);
        assertFalse(Wedge.setWindow(0));
        assertFalse(Wedge.sendText(new byte[] {'a'}));
        assertEquals(System.getProperty("wedge.expectedError"), Wedge.getLastErrorMessage());
        Wedge.destroy();
    }
}
