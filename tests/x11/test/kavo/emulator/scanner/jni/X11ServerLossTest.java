package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.BufferedReader;
import java.io.InputStreamReader;
import java.io.Writer;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Map;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/** An X server that dies mid-scan fails the scan; the JVM lives on, and the next call connects again. */
@Tag("openbox")
class X11ServerLossTest {

    /** What a killed server leaves behind, which would stop the next one on its display. */
    private static void removeLeftovers(String display) throws Exception {
        Files.deleteIfExists(Path.of("/tmp/.X11-unix/X" + display.substring(1)));
        Files.deleteIfExists(Path.of("/tmp/.X" + display.substring(1) + "-lock"));
    }

    private static Process startServer(String display) {
        Process server = XDisplay.start(Map.of(), "Xvfb", display, "-nolisten", "tcp");
        Path socket = Path.of("/tmp/.X11-unix/X" + display.substring(1));
        long end = System.currentTimeMillis() + 10_000;
        while (!Files.exists(socket)) {
            assertTrue(System.currentTimeMillis() < end && server.isAlive(), "Xvfb " + display + " did not start");
            XDisplay.sleep(20);
        }
        return server;
    }

    private static String freeDisplay() {
        for (int number = 731; number < 800; number++) {
            if (!Files.exists(Path.of("/tmp/.X11-unix/X" + number)) && !Files.exists(Path.of("/tmp/.X" + number + "-lock"))) {
                return ":" + number;
            }
        }
        throw new AssertionError("no free display number");
    }

    private static String line(BufferedReader output, long milliseconds) throws Exception {
        return CompletableFuture.supplyAsync(() -> {
            try {
                return output.readLine();
            } catch (java.io.IOException e) {
                return e.toString();
            }
        }).get(milliseconds, TimeUnit.MILLISECONDS);
    }

    @Test
    void aServerThatDiesMidScanFailsTheScanAndTheJvmLives() throws Exception {
        String display = freeDisplay();
        Process server = startServer(display);
        Process target = XDisplay.start(Map.of("DISPLAY", display), "xterm", "-T", "Lost target", "-e", "cat");
        Process child = XDisplay.start(Map.of("DISPLAY", display), System.getProperty("java.home") + "/bin/java",
                "-cp", System.getProperty("wedge.classPath"), ScanChild.class.getName(), "Lost target", "200");
        try {
            BufferedReader output =
                    new BufferedReader(new InputStreamReader(child.getInputStream(), StandardCharsets.UTF_8));
            assertEquals("typing true", line(output, 40_000));
            XDisplay.sleep(1_500);
            server.destroyForcibly().waitFor();
            long killed = System.nanoTime();
            String first = line(output, 10_000);
            long after = (System.nanoTime() - killed) / 1_000_000;
            assertTrue(first != null && first.startsWith("first false "), "sendText did not come back with false: " + first);
            assertTrue(first.endsWith("Wedge error: 1167 with message: The connection to the X display was lost"), first);
            assertTrue(after < 5_000, "sendText returned " + after + " ms after the server died");

            removeLeftovers(display);
            server = startServer(display);
            Writer input = new java.io.OutputStreamWriter(child.getOutputStream(), StandardCharsets.UTF_8);
            input.write("\n");
            input.flush();
            // The window died with its server; the new connection finds none by its title.
            assertEquals("second false Selected window is no longer available", line(output, 20_000));
            XDisplay.finish(child, 10_000, "the scanning JVM");
            assertEquals(0, child.exitValue());
        } finally {
            child.destroyForcibly();
            target.destroyForcibly();
            server.destroyForcibly().waitFor();
            removeLeftovers(display);
        }
        assertFalse(child.isAlive());
    }
}
