package scan.to.till;

import java.nio.charset.Charset;
import kavo.emulator.scanner.jni.Wedge;

/** The README's example, compiled the way a user's build would. */
public final class ScanToTill {

    private ScanToTill() {
    }

    public static void main(String[] args) {
        String[] titles = Wedge.getWindows();
        int till = -1;
        for (int i = 0; i < titles.length; i++) {
            if (titles[i].startsWith("Till")) {
                till = i;
            }
        }
        if (till < 0 || !Wedge.setWindow(till)) {
            System.err.println("No till window is open");
            return;
        }
        byte[] scan = "4006381333931\r".getBytes(Charset.forName("windows-1252"));
        if (!Wedge.sendText(scan)) {
            System.err.println("Scan not delivered: " + Wedge.getLastErrorMessage());
        }
        Wedge.destroy();
    }
}
