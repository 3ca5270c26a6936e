package kavo.emulator.scanner.jni;

import static kavo.emulator.scanner.jni.ChosenTarget.ascii;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/**
 * The library as a Java program first meets it: loaded by {@link Wedge}, with
 * no error recorded and no target chosen. Run in a JVM of their own, since
 * nothing resets the library's state once it has been used.
 */
@Tag("first-use")
class FirstUseTest {

    @Test
    void wedgeLoadsTheHostLibraryFromTheLibraryPath() throws Exception {
        Class.forName(Wedge.class.getName(), true, FirstUseTest.class.getClassLoader());

        assertEquals("kavo_emulator_scanner", Wedge.LIBRARY_NAME);
        Path library = Path.of(System.getProperty("java.library.path"), System.mapLibraryName(Wedge.LIBRARY_NAME))
                .toRealPath();
        assertTrue(Files.readAllLines(Path.of("/proc/self/maps")).stream()
                        .anyMatch(mapping -> mapping.endsWith(" " + library)),
                () -> library + " is not mapped into the JVM");
    }

    @Test
    void typingWaitsForATargetAndErrorsClearOnceOneIsChosen() {
        SimulatedDesktop.reset();
        long notepad = SimulatedDesktop.openWindow("Notepad");

        assertNull(Wedge.getLastErrorMessage());

        assertFalse(Wedge.sendText(ascii("123")));
        String notSet = Wedge.getLastErrorMessage();
        assertEquals("Target application is not set", notSet);
        assertEquals(29, notSet.length());
        assertTrue(SimulatedDesktop.activations().isEmpty());
        assertTrue(SimulatedDesktop.injectedKeys().isEmpty());

        // Neither a choice without a list nor one outside it sets a target.
        assertFalse(Wedge.setWindow(0));
        assertArrayEquals(new String[] {"Notepad"}, Wedge.getWindows());
        assertFalse(Wedge.setWindow(1));
        assertFalse(Wedge.sendText(ascii("123")));
        assertEquals("Target application is not set", Wedge.getLastErrorMessage());

        assertArrayEquals(new String[] {"Notepad"}, Wedge.getWindows());
        assertTrue(Wedge.setWindow(0));
        assertTrue(Wedge.sendText(ascii("123")));
        assertNull(Wedge.getLastErrorMessage());
        assertEquals("123", SimulatedDesktop.receivedText(notepad));
    }
}
