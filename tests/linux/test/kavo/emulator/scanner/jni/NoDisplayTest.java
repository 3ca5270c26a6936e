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
        // Without a display no window can be chosen; a display lost after
        // setWindow is error 1167, like one that cannot be opened.
        assertEquals("Target application is not set", Wedge.getLastErrorMessage());
        Wedge.destroy();
    }
}
