package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** The titles getWindows hands to Java. */
class WindowListTest {

    @BeforeEach
    void emptyDesktop() {
        SimulatedDesktop.reset();
    }

    @Test
    void listsVisibleTitledWindowsInDesktopOrder() {
        SimulatedDesktop.openWindow("Ledger");
        SimulatedDesktop.openWindow("Hidden helper", false, false, true);
        SimulatedDesktop.openWindow("");
        SimulatedDesktop.openWindow("Twin");
        SimulatedDesktop.openWindow("Minimised", true, true, true);
        long closed = SimulatedDesktop.openWindow("Closed");
        SimulatedDesktop.openWindow("Twin");
        SimulatedDesktop.closeWindow(closed);

        assertArrayEquals(new String[] {"Ledger", "Twin", "Minimised", "Twin"}, Wedge.getWindows());
    }

    @Test
    void anEmptyDesktopGivesAnEmptyArray() {
        SimulatedDesktop.openWindow("Hidden helper", false, false, true);

        String[] titles = Wedge.getWindows();

        assertNotNull(titles);
        assertEquals(0, titles.length);
    }

    @Test
    void everyCallSeesTheDesktopAsItIsNow() {
        long first = SimulatedDesktop.openWindow("First");
        long hidden = SimulatedDesktop.openWindow("Shown later", false, false, true);
        assertArrayEquals(new String[] {"First"}, Wedge.getWindows());

        SimulatedDesktop.closeWindow(first);
        SimulatedDesktop.setVisible(hidden, true);
        SimulatedDesktop.openWindow("Third");
        SimulatedDesktop.setTitle(hidden, "Renamed");

        assertArrayEquals(new String[] {"Renamed", "Third"}, Wedge.getWindows());
    }

    @Test
    void titlesLongerThan99UnitsAreCutTo99() {
        String long150 = "Order entry - ".repeat(11).substring(0, 150);
        String exactly99 = "n".repeat(99);
        String exactly100 = "h".repeat(100);
        // The cut falls between the two halves of a surrogate pair.
        String pairAcrossCut = "x".repeat(98) + "\uD83D\uDE00";
        SimulatedDesktop.openWindow(long150);
        SimulatedDesktop.openWindow(exactly99);
        SimulatedDesktop.openWindow(exactly100);
        SimulatedDesktop.openWindow(pairAcrossCut);

        String[] titles = Wedge.getWindows();

        assertArrayEquals(new String[] {long150.substring(0, 99), exactly99, exactly100.substring(0, 99),
            pairAcrossCut.substring(0, 99)}, titles);
        for (String title : titles) {
            assertEquals(99, title.length());
        }
    }

    @Test
    void nonAsciiTitlesArriveUnchanged() {
        String[] titles = {
            "Gr\u00fc\u00dfe \u2014 \u00c4rzte \u20ac",
            "\u65e5\u672c\u8a9e\u306e\u30e1\u30e2\u5e33",
            "Scan \uD83D\uDE00 \uD834\uDD1E done",
            "\uD83D\uDCE6",
        };
        for (String title : titles) {
            SimulatedDesktop.openWindow(title);
        }

        assertArrayEquals(titles, Wedge.getWindows());
    }
}
