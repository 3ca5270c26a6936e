package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assertions.fail;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/**
 * The X display the tests run on (the JVM's DISPLAY), the tools that
 * arrange and inspect it, and the windows the library types into.
 */
final class XDisplay extends DesktopSession {

    private static final long WAIT_MS = 30_000;

    private XDisplay() {
    }

    /** Starts a program with the given changes to the environment (a null value removes the variable). */
    static Process start(java.util.Map<String, String> changes, String... command) {
        ProcessBuilder builder = new ProcessBuilder(command).redirectErrorStream(true);
        changes.forEach((name, value) -> {
            if (value == null) {
                builder.environment().remove(name);
            } else {
                builder.environment().put(name, value);
            }
        });
        try {
            return builder.start();
        } catch (IOException e) {
            throw new AssertionError("cannot run " + command[0], e);
        }
    }

    /** Waits at most the given time for the program to end; one that does not is killed and fails the test. */
    static String finish(Process process, long milliseconds, String what) {
        try {
            if (!process.waitFor(milliseconds, java.util.concurrent.TimeUnit.MILLISECONDS)) {
                process.destroyForcibly().waitFor();
                fail(what + " did not end within " + milliseconds + " ms");
            }
            return new String(process.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        } catch (IOException e) {
            throw new AssertionError(e);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new AssertionError(e);
        }
    }

    /** The index of the first window with the title in a fresh list, or -1. */
    static int indexOf(String title) {
        return Arrays.asList(Wedge.getWindows()).indexOf(title);
    }

    /** Lists the windows and makes the first one with the title the target. */
    static void choose(String title) {
        int index = indexOf(title);
        assertTrue(index >= 0, () -> title + " is listed: " + Arrays.toString(Wedge.getWindows()) + " "
                + run("xprop", "-root", "_NET_CLIENT_LIST_STACKING") + run("xwininfo", "-root", "-children"));
        assertTrue(Wedge.setWindow(index), "setWindow(" + index + ") for " + title);
    }

    static void waitUntilListed(String title, long times) {
        long end = System.currentTimeMillis() + WAIT_MS;
        while (countListed(title) < times) {
            if (System.currentTimeMillis() > end) {
                fail(title + " never appeared in getWindows: " + Arrays.toString(Wedge.getWindows())
                        + "; the window manager lists " + run("xprop", "-root", "_NET_CLIENT_LIST_STACKING"));
            }
            sleep(50);
        }
    }

    /** The X window id of the window with exactly this title. */
    static String windowId(String title) {
        String[] ids = run("xdotool", "search", "--name", "^" + title + "$").trim().split("\\s+");
        assertEquals(1, ids.length, "one window is titled " + title);
        return ids[0];
    }

    /** The keycodes down on the display, as the keys_down probe prints them. */
    static String keysDown() {
        return run(System.getProperty("wedge.keysDown")).trim();
    }

    static boolean capsLocked() {
        return run("xset", "q").matches("(?s).*Caps Lock:\\s+on.*");
    }

    static String keymap() {
        return run("xmodmap", "-pke");
    }

    /**
     * An xterm with the given title whose terminal, in raw mode, hands every
     * byte it gets to {@code cat}, which writes it to a file: what the
     * window received, exactly.
     */
    static final class Sink implements AutoCloseable {
        final String title;
        private final Path file;
        private final Process xterm;

        Sink(String title) throws IOException {
            this.title = title;
            this.file = Files.createTempFile("wedge-sink-", ".bin");
            List<String> command = new ArrayList<>(List.of("xterm", "-u8", "-T", title, "-e", "sh", "-c",
                    "stty raw -echo && exec cat > \"$0\"", file.toString()));
            ProcessBuilder builder = new ProcessBuilder(command).redirectErrorStream(true)
                    .redirectOutput(ProcessBuilder.Redirect.INHERIT);
            builder.environment().put("LC_ALL", "C.UTF-8");
            // Listed as the library cuts titles.
            String listed = title.length() > 99 ? title.substring(0, 99) : title;
            long before = countListed(listed);
            xterm = builder.start();
            waitUntilListed(listed, before + 1);
            // The terminal is raw only once the shell has run stty.
            sleep(300);
        }

        /** Waits until the window has received at least the text's bytes, then answers all it received. */
        String received(String expected) throws IOException {
            int length = expected.getBytes(StandardCharsets.UTF_8).length;
            long end = System.currentTimeMillis() + WAIT_MS;
            while (Files.size(file) < length && System.currentTimeMillis() < end) {
                sleep(20);
            }
            // Anything beyond the expected text would arrive about now.
            sleep(100);
            return Files.readString(file, StandardCharsets.UTF_8);
        }

        /** What the window has received so far. */
        String receivedSoFar() throws IOException {
            return Files.readString(file, StandardCharsets.UTF_8);
        }

        @Override
        public void close() throws IOException {
            xterm.destroy();
            try {
                xterm.waitFor();
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
            Files.deleteIfExists(file);
        }
    }
}
