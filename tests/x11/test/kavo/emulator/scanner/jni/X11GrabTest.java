package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.BufferedReader;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.util.Map;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/** Keys typed while another client grabs the keyboard go to that client: the scan fails and says so. */
@Tag("openbox")
class X11GrabTest {

    private static final String GRABBED =
            "Wedge error: 170 with message: The keyboard is grabbed by another application";

    /** Another client holding the keyboard until the grab is closed. */
    private static final class Grab implements AutoCloseable {
        private final Process holder = XDisplay.start(Map.of(), System.getProperty("wedge.grabKeyboard"));

        Grab() throws Exception {
            BufferedReader output =
                    new BufferedReader(new InputStreamReader(holder.getInputStream(), StandardCharsets.UTF_8));
            CompletableFuture<String> line = CompletableFuture.supplyAsync(() -> {
                try {
                    return output.readLine();
                } catch (java.io.IOException e) {
                    return e.toString();
                }
            });
            assertEquals("grabbed", line.get(10, TimeUnit.SECONDS));
        }

        @Override
        public void close() throws java.io.IOException {
            holder.getOutputStream().close();
            XDisplay.finish(holder, 10_000, "the grab");
        }
    }

    @Test
    void askingAboutAGrabMovesNoFocus() throws Exception {
        try (XDisplay.Sink sink = new XDisplay.Sink("Focus watched sink")) {
            XDisplay.choose(sink.title);
            // The sink already has the keyboard: any focus change it hears comes from the scan.
            assertTrue(Wedge.sendText("a".getBytes(StandardCharsets.US_ASCII)), () -> Wedge.getLastErrorMessage());
            Process watcher = XDisplay.start(Map.of(), "stdbuf", "-oL", "xev", "-id", XDisplay.windowId(sink.title),
                    "-event", "focus");
            CompletableFuture<String> events = CompletableFuture.supplyAsync(() -> {
                try {
                    return new String(watcher.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
                } catch (java.io.IOException e) {
                    return e.toString();
                }
            });
            try {
                XDisplay.sleep(500);
                assertTrue(Wedge.sendText("b".getBytes(StandardCharsets.US_ASCII)), () -> Wedge.getLastErrorMessage());
                XDisplay.sleep(300);
            } finally {
                watcher.destroy();
            }
            String heard = events.get(10, TimeUnit.SECONDS);
            assertFalse(heard.contains("Focus"), heard);
            assertEquals("ab", sink.received("ab"));
        }
    }

    @Test
    void aGrabHeldBeforeTheScanFailsIt() throws Exception {
        try (XDisplay.Sink sink = new XDisplay.Sink("Grabbed sink")) {
            XDisplay.choose(sink.title);
            Grab grab = new Grab();
            try {
                assertFalse(Wedge.sendText("abc".getBytes(StandardCharsets.US_ASCII)));
                assertEquals(GRABBED, Wedge.getLastErrorMessage());
            } finally {
                grab.close();
            }
            XDisplay.sleep(300);
            assertEquals("", sink.receivedSoFar());
        }
    }

    @Test
    void aGrabTakenWhileTypingEndsTheScan() throws Exception {
        try (XDisplay.Sink sink = new XDisplay.Sink("Grabbed midway sink")) {
            XDisplay.choose(sink.title);
            byte[] scan = "m".repeat(40).getBytes(StandardCharsets.US_ASCII);
            CompletableFuture<Boolean> typed = CompletableFuture.supplyAsync(() -> Wedge.sendText(scan));
            XDisplay.sleep(800);
            Grab grab = new Grab();
            try {
                assertFalse(typed.get(10, TimeUnit.SECONDS), "the scan reported every byte typed");
                assertEquals(GRABBED, Wedge.getLastErrorMessage());
            } finally {
                grab.close();
            }
            String received = sink.receivedSoFar();
            assertTrue(received.length() < 40 && received.matches("m*"), "received " + received);
        }
    }
}
