package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.HashMap;
import java.util.Map;
import org.junit.jupiter.api.Tag;
import org.junit.jupiter.api.Test;

/**
 * One scan at a time per X server, through a lock no one else can hold or
 * turn into a link. The scans run through the wedge command, without
 * XDG_RUNTIME_DIR: the lock then lies in /tmp/kavo-wedge-<uid>.
 */
@Tag("openbox")
class X11ScanLockTest {

    private static final String OTHER_USER = "kavo-wedge-other";
    private static final Path LOCK_FOLDER = Path.of("/tmp/kavo-wedge-0");
    private static final long SCAN_LIMIT_MS = 15_000;

    private static String display() {
        return System.getenv("DISPLAY");
    }

    /** The lock file the library once used, under a name anyone could predict. */
    private static String oldLockName() {
        return "/tmp/kavo-wedge-scan-0-" + display().replaceAll("[^A-Za-z0-9.]", "_") + ".lock";
    }

    private static Process type(String displayName, String title, String text) {
        Map<String, String> environment = new HashMap<>();
        environment.put("DISPLAY", displayName);
        environment.put("XDG_RUNTIME_DIR", null);
        return XDisplay.start(environment, System.getProperty("wedge.cli"), "type", "--window", title,
                "--suffix", "none", text);
    }

    private static void assumeRootWithoutRuntimeFolder() {
        assumeTrue("root".equals(System.getProperty("user.name")),
                "skipped: only root can add the other user this test needs");
        assumeTrue(!Files.isDirectory(Path.of("/run/user/0")),
                "skipped: /run/user/0 exists, so the lock does not lie under /tmp");
    }

    /** Runs the body with another user on the machine, and removes it and what it left afterwards. */
    private static void asOtherUser(String setUp, ThrowingBody body) throws Exception {
        XDisplay.run("rm", "-rf", LOCK_FOLDER.toString(), oldLockName());
        XDisplay.run("useradd", "--system", "--no-create-home", "--shell", "/bin/sh", OTHER_USER);
        Process holder = null;
        try {
            holder = XDisplay.start(Map.of(), "runuser", "-u", OTHER_USER, "--", "sh", "-c", setUp);
            body.run();
        } finally {
            if (holder != null) {
                java.util.List<ProcessHandle> all = new java.util.ArrayList<>(holder.descendants().toList());
                all.add(holder.toHandle());
                all.forEach(ProcessHandle::destroyForcibly);
                for (ProcessHandle process : all) {
                    process.onExit().get(10, java.util.concurrent.TimeUnit.SECONDS);
                }
            }
            XDisplay.run("userdel", OTHER_USER);
            XDisplay.run("rm", "-rf", LOCK_FOLDER.toString(), oldLockName());
        }
    }

    interface ThrowingBody {
        void run() throws Exception;
    }

    private static void waitForFile(Path file) {
        long end = System.currentTimeMillis() + 10_000;
        while (!Files.exists(file, java.nio.file.LinkOption.NOFOLLOW_LINKS)) {
            assertTrue(System.currentTimeMillis() < end, file + " was never made");
            XDisplay.sleep(20);
        }
    }

    @Test
    void anotherUsersLockNeverHoldsUpAScan() throws Exception {
        assumeRootWithoutRuntimeFolder();
        try (XDisplay.Sink sink = new XDisplay.Sink("Squatted lock sink")) {
            Path held = LOCK_FOLDER.resolve("held");
            // The other user takes both names it can predict, and holds their locks.
            String setUp = "mkdir -m 755 " + LOCK_FOLDER + " && : > " + held + " && exec flock " + oldLockName()
                    + " flock " + held + " sleep 60";
            asOtherUser(setUp, () -> {
                waitForFile(held);
                String output = XDisplay.finish(type(display(), sink.title, "abc"), SCAN_LIMIT_MS, "the scan");
                assertTrue(output.contains("Cannot use the scan lock folder " + LOCK_FOLDER
                        + ": it belongs to another user"), output);
                assertEquals("", sink.receivedSoFar());
            });
        }
    }

    @Test
    void aLockPlantedAsALinkIsNotFollowed() throws Exception {
        assumeRootWithoutRuntimeFolder();
        Path victims = Files.createTempDirectory("kavo-wedge-victims");
        Path victim = victims.resolve("created-through-a-link");
        XDisplay.run("chmod", "777", victims.toString());
        try (XDisplay.Sink sink = new XDisplay.Sink("Linked lock sink")) {
            String setUp = "ln -s " + victim + " " + oldLockName() + " && ln -s " + victims + " " + LOCK_FOLDER
                    + " && exec sleep 60";
            asOtherUser(setUp, () -> {
                waitForFile(LOCK_FOLDER);
                String output = XDisplay.finish(type(display(), sink.title, "abc"), SCAN_LIMIT_MS, "the scan");
                assertFalse(Files.exists(victim), "a file was made through the link");
                assertEquals(0, Files.list(victims).count(), "nothing was made through the link");
                assertTrue(output.contains("Cannot open the scan lock folder " + LOCK_FOLDER), output);
            });
        } finally {
            XDisplay.run("rm", "-rf", victims.toString());
        }
    }

    @Test
    void twoSpellingsOfOneDisplayTakeTurns() throws Exception {
        String plain = display().replaceFirst("\\.\\d+$", "");
        try (XDisplay.Sink sink = new XDisplay.Sink("Spellings sink")) {
            String as = "a".repeat(24);
            String bs = "b".repeat(24);
            Process first = type(plain, sink.title, as);
            Process second = type(plain + ".0", sink.title, bs);
            XDisplay.finish(first, 30_000, "the scan through " + plain);
            XDisplay.finish(second, 30_000, "the scan through " + plain + ".0");
            assertEquals(0, first.exitValue());
            assertEquals(0, second.exitValue());
            String received = sink.received(as + bs);
            assertTrue(received.equals(as + bs) || received.equals(bs + as), "scans interleaved: " + received);
        }
    }
}
