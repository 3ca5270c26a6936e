package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/** The window list under an EWMH window manager, from real xterm windows. */
@Tag("openbox")
class X11WindowListTest {

    @Test
    @SuppressWarnings("try")  // the windows need only be open
    void listsTitlesWholeCutAndTwice() throws Exception {
        String unicode = "Kasse \u2013 \u20ac \u03a9 \u6771\u4eac \ud83d\ude00";
        String longTitle = "L".repeat(100) + "x".repeat(50);
        try (XDisplay.Sink first = new XDisplay.Sink("Twin");
                XDisplay.Sink second = new XDisplay.Sink("Twin");
                XDisplay.Sink wide = new XDisplay.Sink(unicode);
                XDisplay.Sink cut = new XDisplay.Sink(longTitle)) {
            List<String> titles = Arrays.asList(Wedge.getWindows());
            assertEquals(2, titles.stream().filter("Twin"::equals).count(), "both windows titled Twin: " + titles);
            assertTrue(titles.contains(unicode), "xterm's COMPOUND_TEXT title arrives intact: " + titles);
            assertTrue(titles.contains(longTitle.substring(0, 99)), "a 150-unit title is cut to 99: " + titles);
            // _NET_WM_NAME, in UTF-8, goes before WM_NAME.
            String utf8 = "Kasse İstanbul ✓ 東京";
            XDisplay.run("xprop", "-id", XDisplay.windowId("Kasse.*"), "-f", "_NET_WM_NAME", "8u",
                    "-set", "_NET_WM_NAME", utf8);
            XDisplay.sleep(100);
            titles = Arrays.asList(Wedge.getWindows());
            assertTrue(titles.contains(utf8), "the UTF-8 _NET_WM_NAME is listed: " + titles);
            assertTrue(titles.stream().noneMatch(t -> t.length() > 99), "no title is longer than 99: " + titles);
            // Topmost first: the window opened last is on top.
            assertEquals(longTitle.substring(0, 99), titles.get(0), "topmost first: " + titles);
        }
    }
}
