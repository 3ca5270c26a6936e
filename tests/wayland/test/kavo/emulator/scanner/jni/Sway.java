package kavo.emulator.scanner.jni;

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
 * The headless sway session the tests run in (run-on-sway.sh), its tools,
 * and the windows the library types into. sway and its clients run as the
 * session's own user; the JVM reaches the compositor as root.
 */
final class Sway extends DesktopSession {

    private static final long WAIT_MS = 30_000;

    private Sway() {
    }

    /** Gives the keyboard to the window with exactly this title, as a person would. */
    static void focus(String title) {
        run("swaymsg", "[title=\"^" + title + "$\"]", "focus");
    }

    static void choose(String title) {
        int index = Arrays.asList(Wedge.getWindows()).indexOf(title);
        assertTrue(index >= 0, () -> title + " is listed: " + Arrays.toString(Wedge.getWindows()));
        assertTrue(Wedge.setWindow(index), "setWindow(" + index + ") for " + title);
    }

    static void waitUntilListed(String title, long times) {
        long end = System.currentTimeMillis() + WAIT_MS;
        while (countListed(title) != times) {
            if (System.currentTimeMillis() > end) {
                fail(title + " is not listed " + times + " times: " + Arrays.toString(Wedge.getWindows()));
            }
            sleep(20);
        }
    }

    /**
     * A terminal with the given title, foot (native Wayland) or xterm
     * (XWayland), whose raw terminal hands every byte to {@code cat}, which
     * writes it to a file: what the window received, exactly.
     */
    static final class Sink implements AutoCloseable {
        final String title;
        private final Path file;
        private final Process terminal;

        static Sink foot(String title) throws IOException {
            return new Sink(title, "foot", "-T", title);
        }

        static Sink xterm(String title) throws IOException {
            return new Sink(title, "xterm", "-u8", "-T", title, "-e");
        }

        private Sink(String title, String... launch) throws IOException {
            this.title = title;
            String user = System.getenv("WEDGE_SESSION_UID");
            Path folder = Path.of(System.getenv("WEDGE_SESSION_DIR"));
            this.file = folder.resolve("sink-" + System.nanoTime() + ".bin");
            List<String> command = new ArrayList<>(List.of("setpriv", "--reuid=" + user, "--regid=" + user,
                    "--clear-groups", "--", "env", "HOME=" + folder, "LC_ALL=C.UTF-8"));
            command.addAll(Arrays.asList(launch));
            command.addAll(List.of("sh", "-c", "stty raw -echo && exec cat > \"$0\"", file.toString()));
            long before = countListed(title);
            this.terminal = new ProcessBuilder(command).redirectErrorStream(true)
                    .redirectOutput(ProcessBuilder.Redirect.DISCARD).start();
            waitUntilListed(title, before + 1);
            // The terminal is raw only once the shell has run stty.
            long end = System.currentTimeMillis() + WAIT_MS;
            while (!Files.exists(file) && System.currentTimeMillis() < end) {
                sleep(20);
            }
            sleep(100);
        }

        /** Waits until the window has received at least the text's bytes, then answers all it received. */
        String received(String expected) throws IOException {
            int length = expected.getBytes(StandardCharsets.UTF_8).length;
            long end = System.currentTimeMillis() + WAIT_MS;
            while (receivedSoFar().getBytes(StandardCharsets.UTF_8).length < length
                    && System.currentTimeMillis() < end) {
                sleep(20);
            }
            // Anything beyond the expected text would arrive about now.
            sleep(100);
            return receivedSoFar();
        }

        String receivedSoFar() throws IOException {
            return Files.exists(file) ? Files.readString(file, StandardCharsets.UTF_8) : "";
        }

        @Override
        public void close() throws IOException {
            terminal.destroy();
            try {
                terminal.waitFor();
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
            waitUntilListed(title, 0);
            Files.deleteIfExists(file);
        }
    }
}
