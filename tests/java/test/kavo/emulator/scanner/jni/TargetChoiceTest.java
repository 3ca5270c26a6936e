package kavo.emulator.scanner.jni;

import static kavo.emulator.scanner.jni.ChosenTarget.ascii;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

/**
 * setWindow and destroy over the list of the latest getWindows. Which
 * window became the target shows in where the next scan arrives.
 */
class TargetChoiceTest {

    private long previousTarget;

    @BeforeEach
    void desktopWithATarget() {
        SimulatedDesktop.reset();
        previousTarget = ChosenTarget.open("Previous");
    }

    @Test
    void theIndexNamesTheWindowAtThatPlaceInTheArray() {
        SimulatedDesktop.openWindow("Hidden", false, false, true);
        long one = SimulatedDesktop.openWindow("One");
        long two = SimulatedDesktop.openWindow("Two");
        String[] titles = Wedge.getWindows();
        assertArrayEquals(new String[] {"Previous", "One", "Two"}, titles);

        assertTrue(Wedge.setWindow(2));
        assertTrue(Wedge.sendText(ascii("2")));

        assertEquals("2", SimulatedDesktop.receivedText(two));
        assertEquals("", SimulatedDesktop.receivedText(one));
        assertEquals("", SimulatedDesktop.receivedText(previousTarget));
    }

    @Test
    void windowsWithEqualTitlesAreToldApart() {
        long firstTwin = SimulatedDesktop.openWindow("Twin");
        long secondTwin = SimulatedDesktop.openWindow("Twin");
        assertArrayEquals(new String[] {"Previous", "Twin", "Twin"}, Wedge.getWindows());

        assertTrue(Wedge.setWindow(2));
        assertTrue(Wedge.sendText(ascii("b")));

        assertEquals("b", SimulatedDesktop.receivedText(secondTwin));
        assertEquals("", SimulatedDesktop.receivedText(firstTwin));
    }

    @Test
    void aChoiceConsumesTheList() {
        long other = SimulatedDesktop.openWindow("Other");
        Wedge.getWindows();
        assertTrue(Wedge.setWindow(1));

        assertFalse(Wedge.setWindow(0));

        assertTrue(Wedge.sendText(ascii("o")));
        assertEquals("o", SimulatedDesktop.receivedText(other));
    }

    @ParameterizedTest
    @ValueSource(ints = {-1, 2, 3, Integer.MIN_VALUE, Integer.MAX_VALUE})
    void anIndexOutsideTheArrayChoosesNothingAndConsumesTheList(int index) {
        SimulatedDesktop.openWindow("Other");
        assertEquals(2, Wedge.getWindows().length);

        assertFalse(Wedge.setWindow(index));
        assertFalse(Wedge.setWindow(1));

        assertPreviousTargetReceivesScans();
    }

    @Test
    void destroyReleasesTheListButKeepsTheTarget() {
        SimulatedDesktop.openWindow("Other");
        Wedge.getWindows();

        Wedge.destroy();

        assertFalse(Wedge.setWindow(0));
        assertPreviousTargetReceivesScans();
    }

    @Test
    void aWindowClosedSinceTheListingCannotBeChosen() {
        long closing = SimulatedDesktop.openWindow("Closing");
        Wedge.getWindows();
        SimulatedDesktop.closeWindow(closing);

        assertFalse(Wedge.setWindow(1));

        assertPreviousTargetReceivesScans();
    }

    private void assertPreviousTargetReceivesScans() {
        assertTrue(Wedge.sendText(ascii("p")));
        assertEquals("p", SimulatedDesktop.receivedText(previousTarget));
    }
}
