package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.charset.StandardCharsets;
import java.util.Arrays;

/**
 * Choosing the library's target the way a Java program does, through
 * {@link Wedge#getWindows()} and {@link Wedge#setWindow(int)}. The library
 * keeps its target across tests in one JVM, so every test that types
 * chooses its own.
 */
final class ChosenTarget {

    private static final int LISTED_TITLE_UNITS = 99;

    private ChosenTarget() {
    }

    /** Opens a window with the title and makes it the target; answers its handle. */
    static long open(String title) {
        long window = SimulatedDesktop.openWindow(title);
        chooseLastListed(title);
        return window;
    }

    /** Makes the last listed window with the title (as listed: cut to 99 units) the target. */
    static void chooseLastListed(String title) {
        String listed = title.length() > LISTED_TITLE_UNITS ? title.substring(0, LISTED_TITLE_UNITS) : title;
        String[] titles = Wedge.getWindows();
        int index = Arrays.asList(titles).lastIndexOf(listed);
        assertTrue(index >= 0, () -> title + " is not among " + Arrays.toString(titles));
        assertTrue(Wedge.setWindow(index), () -> "setWindow(" + index + ") for " + title);
    }

    static byte[] ascii(String text) {
        return text.getBytes(StandardCharsets.US_ASCII);
    }

    static byte[] bytes(int... values) {
        byte[] bytes = new byte[values.length];
        for (int i = 0; i < values.length; i++) {
            bytes[i] = (byte) values[i];
        }
        return bytes;
    }
}
