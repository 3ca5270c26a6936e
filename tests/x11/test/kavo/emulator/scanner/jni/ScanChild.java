package kavo.emulator.scanner.jni;

import java.io.BufferedReader;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;

/**
 * A JVM of its own for a scan whose display goes away: chooses the window
 * with the title, types the bytes, and reports each line as it goes; after
 * a line on standard input it types once more. Usage: title byteCount.
 */
public final class ScanChild {

    private ScanChild() {
    }

    public static void main(String[] args) throws Exception {
        String title = args[0];
        byte[] scan = "k".repeat(Integer.parseInt(args[1])).getBytes(StandardCharsets.US_ASCII);
        long end = System.currentTimeMillis() + 30_000;
        int index;
        while ((index = Arrays.asList(Wedge.getWindows()).indexOf(title)) < 0) {
            if (System.currentTimeMillis() > end) {
                System.out.println("never listed");
                return;
            }
            Thread.sleep(50);
        }
        System.out.println("typing " + Wedge.setWindow(index));
        long start = System.nanoTime();
        boolean typed = Wedge.sendText(scan);
        long took = (System.nanoTime() - start) / 1_000_000;
        System.out.println("first " + typed + " " + took + " " + Wedge.getLastErrorMessage());
        new BufferedReader(new InputStreamReader(System.in, StandardCharsets.UTF_8)).readLine();
        System.out.println("second " + Wedge.sendText(scan) + " " + Wedge.getLastErrorMessage());
    }
}
