package kavo.emulator.scanner.jni;

import static kavo.emulator.scanner.jni.ChosenTarget.ascii;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** What getLastErrorMessage reports after sendText, as Java sees the text. */
class ErrorMessageTest {

    private static final int ACCESS_DENIED = 5;
    private static final String WINDOW_UNAVAILABLE = "Selected window is no longer available";

    @BeforeEach
    void emptyDesktop() {
        SimulatedDesktop.reset();
    }

    @Test
    void nullTextIsAnInvalidParameterAndActivatesNothing() {
        long target = ChosenTarget.open("Inventory");

        assertFalse(Wedge.sendText(null));

        assertEquals("Wedge error: 87 with message: The parameter is incorrect.\r\n", Wedge.getLastErrorMessage());
        assertTrue(SimulatedDesktop.activations().isEmpty());
        assertTrue(SimulatedDesktop.injectedKeys().isEmpty());
        assertEquals(0, SimulatedDesktop.nowMs());
        // The target is still chosen.
        assertTrue(Wedge.sendText(ascii("7")));
        assertEquals("7", SimulatedDesktop.receivedText(target));
    }

    @Test
    void aSuccessfulScanClearsTheEarlierError() {
        long gone = ChosenTarget.open("Till");
        SimulatedDesktop.closeWindow(gone);
        assertFalse(Wedge.sendText(ascii("1")));
        assertEquals(WINDOW_UNAVAILABLE, Wedge.getLastErrorMessage());

        long till = ChosenTarget.open("Till");
        assertTrue(Wedge.sendText(ascii("1")));

        assertNull(Wedge.getLastErrorMessage());
        assertEquals("1", SimulatedDesktop.receivedText(till));
    }

    @Test
    void theErrorStaysUntilTheNextScan() {
        ChosenTarget.open("Till");
        SimulatedDesktop.failSendInput(ACCESS_DENIED, 1, 0);
        assertFalse(Wedge.sendText(ascii("1")));
        String expected = "Wedge error: 5 with message: Access is denied.\r\n";
        assertEquals(expected, Wedge.getLastErrorMessage());

        assertEquals(expected, Wedge.getLastErrorMessage());
        assertArrayEquals(new String[] {"Till"}, Wedge.getWindows());
        assertFalse(Wedge.setWindow(3));
        Wedge.getWindows();
        assertTrue(Wedge.setWindow(0));
        Wedge.destroy();
        assertEquals(expected, Wedge.getLastErrorMessage());
    }

    @Test
    void aCodeWithoutSystemTextLeavesTheMessagePartEmpty() {
        ChosenTarget.open("Till");
        SimulatedDesktop.failSendInput(SimulatedDesktop.CODE_WITHOUT_TEXT, 1, 0);

        assertFalse(Wedge.sendText(ascii("1")));

        assertEquals("Wedge error: " + SimulatedDesktop.CODE_WITHOUT_TEXT + " with message: ",
                Wedge.getLastErrorMessage());
    }

    @Test
    void aLongSystemTextIsCutTo299Units() {
        ChosenTarget.open("Till");
        String systemText = "\u00e9".repeat(400);
        SimulatedDesktop.setSystemMessage(ACCESS_DENIED, systemText);
        SimulatedDesktop.failSendInput(ACCESS_DENIED, 1, 0);

        assertFalse(Wedge.sendText(ascii("1")));

        String message = Wedge.getLastErrorMessage();
        assertEquals(299, message.length());
        assertEquals(("Wedge error: 5 with message: " + systemText).substring(0, 299), message);
    }
}
