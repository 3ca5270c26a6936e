package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.fail;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;

/**
 * What the tests on every real desktop do the same way: run its tools, ask
 * the library what it lists, and wait. Each desktop's session class adds
 * its own tools and windows.
 */
class DesktopSession {

    DesktopSession() {
    }

    /** Runs a tool to its end and answers what it printed; a failing tool fails the test. */
    static String run(String... command) {
        try {
            Process process = new ProcessBuilder(command).redirectErrorStream(true).start();
            String output = new String(process.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
            int status = process.waitFor();
            if (status != 0) {
                fail(String.join(" ", command) + " exited with " + status + ": " + output);
            }
            return output;
        } catch (IOException e) {
            throw new AssertionError("cannot run " + command[0], e);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new AssertionError(e);
        }
    }

    static long countListed(String title) {
        return Arrays.stream(Wedge.getWindows()).filter(title::equals).count();
    }

    static void sleep(long milliseconds) {
        try {
            Thread.sleep(milliseconds);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new AssertionError(e);
        }
    }
}
