package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Random;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/**
 * Callers that do what no careful caller would: huge and empty scans, the
 * methods in every order, and many threads at once. The library must answer
 * each with a result, never a crash, and leave no key held.
 */
class HostileCallerTest {

    private static final int MIB = 1 << 20;

    @BeforeEach
    void freshDesktop() {
        SimulatedDesktop.reset();
    }

    @Test
    void anEmptyScanOnlyActivatesAndSettles() {
        long till = ChosenTarget.open("Till");

        assertTrue(Wedge.sendText(new byte[0]));
        assertEquals(200, SimulatedDesktop.nowMs());
        assertEquals(0, SimulatedDesktop.injectedEventTotal());
        assertEquals(till, SimulatedDesktop.foregroundWindow());
    }

    @Test
    void aMebibyteScanIsTypedWholeOnTheVirtualClock() throws Exception {
        long till = ChosenTarget.open("Till");
        SimulatedDesktop.limitEventLog(1000);
        byte[] scan = new byte[MIB];
        StringBuilder expected = new StringBuilder(MIB);
        for (int i = 0; i < scan.length; i++) {
            scan[i] = (byte) ('a' + i % 26);
            expected.append((char) scan[i]);
        }
        long residentBefore = residentKib();

        assertTrue(Wedge.sendText(scan));

        assertEquals(200L + 50L * MIB, SimulatedDesktop.nowMs());
        assertEquals(2L * MIB, SimulatedDesktop.injectedEventTotal());
        assertEquals(expected.toString(), SimulatedDesktop.receivedText(till));
        // The library reads the array a byte at a time and keeps nothing per
        // byte; what grows here is the simulated window's received text.
        long grownKib = residentKib() - residentBefore;
        assertTrue(grownKib < 64 * 1024, () -> "resident memory grew by " + grownKib + " KiB");
    }

    @Test
    void everyOrderOfTheMethodsAnswersSafely() {
        List<int[]> orders = new ArrayList<>();
        permutations(new int[] {0, 1, 2, 3, 4}, 0, orders);
        for (int[] order : orders) {
            SimulatedDesktop.reset();
            long first = SimulatedDesktop.openWindow("First");
            SimulatedDesktop.openWindow("Second");
            for (int method : order) {
                call(method, new byte[] {'o', 'k', 9, (byte) 0xE9});
            }
            assertTrue(SimulatedDesktop.keysDown().length == 0, () -> "keys held after " + describe(order));
            String error = Wedge.getLastErrorMessage();
            assertTrue(error == null || isKnownError(error), () -> describe(order) + " left " + error);
            SimulatedDesktop.closeWindow(first);
        }
        assertEquals(120, orders.size());
    }

    @Test
    void eightThreadsAtOnceLeaveConsistentState() throws Exception {
        SimulatedDesktop.openWindow("Till");
        SimulatedDesktop.openWindow("Mail");
        SimulatedDesktop.limitEventLog(1);
        SimulatedDesktop.setCapsLock(true);
        int threads = 8;
        int callsEach = 2500;
        ExecutorService pool = Executors.newFixedThreadPool(threads);
        List<Future<Integer>> results = new ArrayList<>();
        for (int t = 0; t < threads; t++) {
            long seed = t;
            results.add(pool.submit(() -> {
                Random random = new Random(seed);
                int answered = 0;
                for (int i = 0; i < callsEach; i++) {
                    byte[] scan = new byte[random.nextInt(4)];
                    random.nextBytes(scan);
                    call(random.nextInt(5), scan);
                    answered++;
                }
                return answered;
            }));
        }
        pool.shutdown();
        assertTrue(pool.awaitTermination(5, TimeUnit.MINUTES), "threads still running");
        int answered = 0;
        for (Future<Integer> result : results) {
            answered += result.get();
        }
        assertEquals(threads * callsEach, answered);

        assertArrayEquals(new int[0], SimulatedDesktop.keysDown());
        assertTrue(SimulatedDesktop.capsLockOn(), "Caps Lock is as the user left it");
        String error = Wedge.getLastErrorMessage();
        assertTrue(error == null || isKnownError(error), error);

        // The library still works as a whole afterwards.
        SimulatedDesktop.reset();
        long after = ChosenTarget.open("After");
        assertTrue(Wedge.sendText(ChosenTarget.ascii("fine")));
        assertEquals("fine", SimulatedDesktop.receivedText(after));
    }

    private static void call(int method, byte[] scan) {
        switch (method) {
            case 0:
                Wedge.getWindows();
                break;
            case 1:
                Wedge.setWindow(0);
                break;
            case 2:
                Wedge.sendText(scan);
                break;
            case 3:
                Wedge.getLastErrorMessage();
                break;
            default:
                Wedge.destroy();
                break;
        }
    }

    private static boolean isKnownError(String error) {
        return error.equals("Target application is not set")
                || error.equals("Selected window is no longer available")
                || error.matches("Wedge error: -?\\d+ with message: (?s).*");
    }

    private static void permutations(int[] items, int from, List<int[]> out) {
        if (from == items.length) {
            out.add(items.clone());
            return;
        }
        for (int i = from; i < items.length; i++) {
            swap(items, from, i);
            permutations(items, from + 1, out);
            swap(items, from, i);
        }
    }

    private static void swap(int[] items, int a, int b) {
        int kept = items[a];
        items[a] = items[b];
        items[b] = kept;
    }

    private static String describe(int[] order) {
        String[] names = {"getWindows", "setWindow", "sendText", "getLastErrorMessage", "destroy"};
        StringBuilder text = new StringBuilder();
        for (int method : order) {
            text.append(names[method]).append(' ');
        }
        return text.toString().trim();
    }

    private static long residentKib() throws Exception {
        for (String line : Files.readAllLines(Path.of("/proc/self/status"))) {
            if (line.startsWith("VmRSS:")) {
                return Long.parseLong(line.replaceAll("\\D+", ""));
            }
        }
        throw new IllegalStateException("no VmRSS in /proc/self/status");
    }
}
