package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.charset.StandardCharsets;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/** A bare X server: the root's mapped, named children, focused directly. */
@Tag("no-wm")
class NoWindowManagerTest {

    @Test
    void listsTheTopLevelWindowsAndTypesIntoTheChosenOne() throws Exception {
        try (XDisplay.Sink first = new XDisplay.Sink("Bare one");
                XDisplay.Sink second = new XDisplay.Sink("Bare two")) {
            String[] titles = Wedge.getWindows();
            assertEquals("Bare two", titles[0], "topmost first");
            assertEquals("Bare one", titles[1]);
            assertEquals("0\tBare two\n1\tBare one\n", XDisplay.run(System.getProperty("wedge.cli"), "list"),
                    "wedge list shows the same windows");
            XDisplay.choose(first.title);
            byte[] scan = "Hello, World! ABC-xyz_0815 ~|{}\r".getBytes(StandardCharsets.US_ASCII);
            assertTrue(Wedge.sendText(scan), () -> Wedge.getLastErrorMessage());
            assertEquals("Hello, World! ABC-xyz_0815 ~|{}\r", first.received("Hello, World! ABC-xyz_0815 ~|{}\r"));
            assertEquals("", second.receivedSoFar());
        }
    }
}
