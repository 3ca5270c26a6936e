import java.io.IOException;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

import kavo.emulator.scanner.jni.Wedge;

/**
 * The example of use: a program that acts as a barcode scanner wired in
 * front of the keyboard. It lists the desktop's windows, chooses the one
 * whose title starts with the given text, types a few sample scans into it,
 * and shows what the application received beside what was sent.
 *
 * <pre>
 * java -cp kavo-emulator-scanner.jar:. WedgeDemo TITLE [RECEIVED-FILE]
 * </pre>
 *
 * <p>RECEIVED-FILE, when given, is where the receiving application writes
 * what it gets (the demo's terminal copies its input there); the program
 * reads it back once the scans are typed. Exit status 0 when every scan
 * arrived exactly, 1 otherwise.
 */
public final class WedgeDemo {

    /** Scanners send Windows-1252: one byte per character, 13 for Enter and 9 for Tab. */
    private static final Charset SCANNER_BYTES = Charset.forName("windows-1252");

    /** An EAN-13 code, fields separated by Tab, a mixed-case code, and characters outside ASCII. */
    private static final String[] SCANS = {
        "4006381333931\r",
        "LOT-42\t2026-12-08\tQty 12\r",
        "AbC-xYz-0815\r",
        "Größe 42 – €\r",
    };

    private WedgeDemo() {
    }

    public static void main(String[] args) throws IOException, InterruptedException {
        if (args.length < 1 || args.length > 2) {
            System.err.println("usage: WedgeDemo TITLE [RECEIVED-FILE]");
            System.exit(2);
        }
        String wanted = args[0];
        Path received = args.length > 1 ? Path.of(args[1]) : null;

        int target = chooseWindow(wanted);
        if (target < 0) {
            System.err.println("No window's title starts with \"" + wanted + "\"");
            System.exit(1);
        }

        System.out.println("== typing " + SCANS.length + " scans");
        StringBuilder sent = new StringBuilder();
        for (String scan : SCANS) {
            if (!Wedge.sendText(scan.getBytes(SCANNER_BYTES))) {
                System.err.println("Scan not delivered: " + Wedge.getLastErrorMessage());
                System.exit(1);
            }
            sent.append(scan);
        }
        Wedge.destroy();
        if (received == null) {
            return;
        }

        String arrived = readWhenComplete(received, sent.length());
        System.out.println("== sent                               | received");
        List<String> sentLines = lines(sent.toString());
        List<String> arrivedLines = lines(arrived);
        for (int i = 0; i < Math.max(sentLines.size(), arrivedLines.size()); i++) {
            String left = i < sentLines.size() ? sentLines.get(i) : "";
            String right = i < arrivedLines.size() ? arrivedLines.get(i) : "(nothing)";
            System.out.printf("%-36s | %s%n", left, right);
        }
        boolean exact = arrived.equals(sent.toString());
        System.out.println(exact ? "== every scan arrived exactly" : "== what arrived differs from what was sent");
        System.exit(exact ? 0 : 1);
    }

    /** Lists the windows and makes the first whose title starts with the text the target. */
    private static int chooseWindow(String wanted) throws InterruptedException {
        // The application may still be starting: look again for a few seconds.
        for (int attempt = 0; attempt < 50; attempt++) {
            String[] titles = Wedge.getWindows();
            int found = -1;
            for (int i = 0; i < titles.length && found < 0; i++) {
                if (titles[i].startsWith(wanted)) {
                    found = i;
                }
            }
            if (found >= 0) {
                System.out.println("== windows on the display");
                for (int i = 0; i < titles.length; i++) {
                    System.out.printf("%s %2d  %s%n", i == found ? "->" : "  ", i, titles[i]);
                }
                return Wedge.setWindow(found) ? found : -1;
            }
            Wedge.destroy();
            Thread.sleep(200);
        }
        return -1;
    }

    /** The file's text once it is as long as what was sent, or after five seconds. */
    private static String readWhenComplete(Path file, int length) throws IOException, InterruptedException {
        String text = "";
        for (int attempt = 0; attempt < 50; attempt++) {
            text = new String(Files.readAllBytes(file), StandardCharsets.UTF_8);
            if (text.length() >= length) {
                break;
            }
            Thread.sleep(100);
        }
        return text;
    }

    /** One entry per scan, ended by Enter; Tab and Enter made visible. */
    private static List<String> lines(String text) {
        List<String> lines = new ArrayList<>();
        for (String line : text.split("(?<=\r)")) {
            if (!line.isEmpty()) {
                lines.add(line.replace("\t", "<TAB>").replace("\r", "<CR>"));
            }
        }
        return lines;
    }
}
