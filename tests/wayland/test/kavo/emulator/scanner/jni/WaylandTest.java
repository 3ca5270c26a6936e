package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/** The library on a wlroots compositor: listing, activating and typing into native and XWayland windows. */
@Tag("wayland")
class WaylandTest {

    private static byte[] ascii(String text) {
        return text.getBytes(StandardCharsets.US_ASCII);
    }

    private static void types(byte[] scan) {
        assertTrue(Wedge.sendText(scan), () -> "sendText: " + Wedge.getLastErrorMessage());
        assertNull(Wedge.getLastErrorMessage());
    }

    @Test
    void theListHoldsNativeAndXWaylandWindowsWithTheirTitles() throws Exception {
        String snowman = "Sink \u2603 \u0394\u03b5\u03bb\u03c4\u03b1 \u20ac";
        try (Sway.Sink foot = Sway.Sink.foot(snowman); Sway.Sink plain = Sway.Sink.foot("Plain sink");
                Sway.Sink xterm = Sway.Sink.xterm("XWayland sink")) {
            List<String> titles = Arrays.asList(Wedge.getWindows());
            assertTrue(titles.containsAll(List.of(foot.title, plain.title, xterm.title)), titles::toString);
            assertTrue(titles.contains(snowman), "a title outside Latin-1 arrives as it is");
            // The activated one first: the newest window has the keyboard.
            assertEquals("XWayland sink", titles.get(0), titles::toString);

            Sway.choose(xterm.title);
            types("Gr\u00fc\u00dfe \u20ac1\t\r".getBytes(Charset.forName("windows-1252")));
            assertEquals("Gr\u00fc\u00dfe \u20ac1\t\r", xterm.received("Gr\u00fc\u00dfe \u20ac1\t\r"));
        }
    }

    @Test
    void everyByteArrivesAsItsCharacter() throws Exception {
        ByteArrayOutputStream scan = new ByteArrayOutputStream();
        StringBuilder expected = new StringBuilder();
        for (int value = 32; value < 127; value++) {
            scan.write(value);
            expected.append((char) value);
        }
        // Line feed and DEL are dropped, as on the other desktops.
        scan.write(10);
        scan.write(0x7F);
        for (int value = 128; value < 256; value++) {
            scan.write(value);
            String character = new String(new byte[] {(byte) value}, Charset.forName("windows-1252"));
            // Java decodes the five undefined bytes as U+FFFD; the library drops them.
            expected.append(character.equals("\ufffd") ? "" : character);
        }
        scan.write('\r');
        expected.append('\r');
        try (Sway.Sink sink = Sway.Sink.foot("Every byte")) {
            Sway.choose(sink.title);
            long start = System.nanoTime();
            types(scan.toByteArray());
            long took = (System.nanoTime() - start) / 1_000_000;
            assertEquals(expected.toString(), sink.received(expected.toString()));
            long pauses = 200 + 50L * scan.size();
            assertTrue(took >= pauses, () -> "sendText took " + took + " ms, its pauses " + pauses + " ms");
        }
    }

    @Test
    void fiveShortScansInARowEachArriveWhole() throws Exception {
        try (Sway.Sink sink = Sway.Sink.foot("Short scans")) {
            Sway.choose(sink.title);
            StringBuilder expected = new StringBuilder();
            for (int scan = 0; scan < 5; scan++) {
                String text = "s" + scan + "\r";
                types(ascii(text));
                expected.append(text);
            }
            assertEquals(expected.toString(), sink.received(expected.toString()));
        }
    }

    @Test
    void theScanGoesToTheTargetWhileAnotherWindowHasTheKeyboard() throws Exception {
        try (Sway.Sink target = Sway.Sink.foot("Target sink"); Sway.Sink other = Sway.Sink.foot("Other sink")) {
            Sway.choose(target.title);
            Sway.focus(other.title);
            types(ascii("mine\r"));
            assertEquals("mine\r", target.received("mine\r"));
            assertEquals("", other.receivedSoFar());
        }
    }

    @Test
    void aTargetReopenedWithTheSameTitleGetsTheNextScan() throws Exception {
        Sway.Sink first = Sway.Sink.foot("Reopened sink");
        Sway.choose(first.title);
        first.close();
        try (Sway.Sink second = Sway.Sink.foot("Reopened sink")) {
            types(ascii("again\r"));
            assertEquals("again\r", second.received("again\r"));
        }
    }

    @Test
    void focusTakenMidScanStopsIt() throws Exception {
        try (Sway.Sink target = Sway.Sink.foot("Interrupted sink"); Sway.Sink other = Sway.Sink.foot("Taker sink")) {
            Sway.choose(target.title);
            String text = "0123456789012345678901234567890123456789";
            CompletableFuture<Boolean> scan = CompletableFuture.supplyAsync(() -> Wedge.sendText(ascii(text)));
            // Once the first bytes have arrived.
            long end = System.currentTimeMillis() + 10_000;
            while (target.receivedSoFar().isEmpty() && System.currentTimeMillis() < end) {
                Sway.sleep(10);
            }
            Sway.focus(other.title);
            assertFalse(scan.get(), "the scan stops");
            assertEquals("Selected window is no longer available", Wedge.getLastErrorMessage());
            Sway.sleep(300);
            String arrived = target.receivedSoFar();
            assertTrue(!arrived.isEmpty() && arrived.length() < text.length() && text.startsWith(arrived), arrived);
            assertEquals("", other.receivedSoFar(), "nothing reaches the window that took the keyboard");
        }
    }

    @Test
    void twoProcessesTypingAtOnceTakeTurns() throws Exception {
        try (Sway.Sink left = Sway.Sink.foot("Left till"); Sway.Sink right = Sway.Sink.foot("Right till")) {
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
}
