package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.charset.StandardCharsets;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/** Finding and holding on to the target under an EWMH window manager. */
@Tag("openbox")
class X11TargetTest {

    private static byte[] ascii(String text) {
        return text.getBytes(StandardCharsets.US_ASCII);
    }

    @Test
    void aMinimisedTargetIsRestoredAndReceivesTheScan() throws Exception {
        try (XDisplay.Sink sink = new XDisplay.Sink("Minimised sink")) {
            XDisplay.choose(sink.title);
            String id = XDisplay.windowId(sink.title);
            XDisplay.run("xdotool", "windowminimize", "--sync", id);
            // xdotool returns once the window is unmapped; the window
            // manager says it is minimised a moment later.
            long end = System.currentTimeMillis() + 5_000;
            while (!XDisplay.run("xprop", "-id", id, "_NET_WM_STATE").contains("_NET_WM_STATE_HIDDEN")
                    && System.currentTimeMillis() < end) {
                XDisplay.sleep(20);
            }
            assertTrue(Wedge.sendText(ascii("restored\r")), () -> Wedge.getLastErrorMessage());
            assertEquals("restored\r", sink.received("restored\r"));
        }
    }

    @Test
    void aTargetReopenedWithTheSameTitleIsFoundAgain() throws Exception {
        XDisplay.Sink first = new XDisplay.Sink("Reopened sink");
        XDisplay.choose(first.title);
        first.close();
        try (XDisplay.Sink second = new XDisplay.Sink("Reopened sink")) {
            assertTrue(Wedge.sendText(ascii("again\r")), () -> Wedge.getLastErrorMessage());
            assertEquals("again\r", second.received("again\r"));
        }
    }

    @Test
    void twoWedgeProcessesTypingAtOnceTakeTurns() throws Exception {
        try (XDisplay.Sink left = new XDisplay.Sink("Left till");
                XDisplay.Sink right = new XDisplay.Sink("Right till")) {
            String cli = System.getProperty("wedge.cli");
            List<Process> scans = List.of(
                    new ProcessBuilder(cli, "type", "--window", left.title, "--suffix", "enter", "left-0123456789")
                            .redirectErrorStream(true).start(),
                    new ProcessBuilder(cli, "type", "--window", right.title, "--suffix", "enter", "right-987654321")
                            .redirectErrorStream(true).start());
            for (Process scan : scans) {
                String output = new String(scan.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
                assertEquals(0, scan.waitFor(), output);
            }
            // Without the scan lock, each activation would take the other's window away mid-scan.
            assertEquals("left-0123456789\r", left.received("left-0123456789\r"));
            assertEquals("right-987654321\r", right.received("right-987654321\r"));
        }
    }

    @Test
    void focusTakenMidScanStopsTypingAndNothingReachesTheOtherWindow() throws Exception {
        try (XDisplay.Sink target = new XDisplay.Sink("Scan target");
                XDisplay.Sink other = new XDisplay.Sink("Focus thief")) {
            XDisplay.choose(target.title);
            String scan = "0123456789".repeat(6);
            CompletableFuture<Boolean> sent = CompletableFuture.supplyAsync(() -> Wedge.sendText(ascii(scan)));
            // The settle pause and about ten bytes.
            XDisplay.sleep(700);
            XDisplay.run("xdotool", "windowactivate", "--sync", XDisplay.windowId(other.title));
            assertFalse(sent.get(), "sendText reports the lost window");
            assertEquals("Selected window is no longer available", Wedge.getLastErrorMessage());
            XDisplay.sleep(300);
            String arrived = target.receivedSoFar();
            assertTrue(!arrived.isEmpty() && arrived.length() < scan.length() && scan.startsWith(arrived),
                    "the target got a beginning of the scan: " + arrived);
            assertEquals("", other.receivedSoFar(), "nothing reached the other window");
        }
    }
}
