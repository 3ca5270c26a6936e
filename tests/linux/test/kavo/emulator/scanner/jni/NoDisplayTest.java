package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;

import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/** Without a display the class still loads and every call answers. */
@Tag("no-display")
class NoDisplayTest {

    @Test
    void everyCallAnswersWithoutADisplay() {
        assertEquals(0, Wedge.getWindows().length);
        assertFalse(Wedge.setWindow(0));
        assertFalse(Wedge.sendText(new byte[] {'a'}));
        assertEquals("Wedge error: 1167 with message: Cannot open the X display: DISPLAY is not set",
                Wedge.getLastErrorMessage());
        Wedge.destroy();
    }
}
