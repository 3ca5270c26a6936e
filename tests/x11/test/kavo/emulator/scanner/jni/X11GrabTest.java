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
