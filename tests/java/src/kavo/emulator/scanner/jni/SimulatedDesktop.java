package kavo.emulator.scanner.jni;

import java.util.ArrayList;
import java.util.List;

/**
 * Test-only control of the simulated desktop that the host build of the
 * native library runs on: tests lay out windows, keyboard state and faults
 * here, call {@link Wedge}, and read back what the library injected.
 *
 * <p>Its native half is a test library of its own beside the host library
 * that {@link Wedge} loads; both use the one shared simulated desktop.
 * Every call holds the lock on {@code Wedge.class}, the lock
 * {@link Wedge}'s own methods hold, so the desktop never changes
 * under a running {@link Wedge} call. Time is virtual: the library's waits
 * advance {@link #nowMs()} and return at once.
 */
public final class SimulatedDesktop {

    /** Keyboard layouts the simulated desktop offers. */
    public enum Layout {
        /** The US layout. */
        UNITED_STATES,
        /**
         * US keys, but {@code @ { } [ ] \} typed with Ctrl+Alt, and no key
         * that produces {@code ` ^ ~} on its own.
         */
        ALT_GRAPH,
    }

    /** The system's error code for which it has no text. */
    public static final int CODE_WITHOUT_TEXT = 0x3DEAD;

    private static final int EVENT_FIELDS = 6;
    private static final int ACTIVATION_FIELDS = 3;

    static {
        // Wedge's library first: the test library shares its desktop, and
        // a test that starts here must not change which library Wedge finds.
        try {
            Class.forName(Wedge.class.getName(), true, SimulatedDesktop.class.getClassLoader());
        } catch (ClassNotFoundException e) {
            throw new ExceptionInInitializerError(e);
        }
        System.loadLibrary("kavo_emulator_scanner_simulated_desktop");
    }

    private SimulatedDesktop() {
    }

    /**
     * Empties the desktop: no windows, US layout, every key up, Caps Lock
     * off, clock and logs at zero, no faults. The library's own state (its
     * target and window list) is not touched.
     */
    public static void reset() {
        synchronized (Wedge.class) {
            nativeReset();
        }
    }

    /** Opens a visible, restored window that accepts activation. */
    public static long openWindow(String title) {
        return openWindow(title, true, false, true);
    }

    /** Adds a top-level window at the end of the enumeration order; answers its handle. */
    public static long openWindow(String title, boolean visible, boolean minimised, boolean acceptsActivation) {
        synchronized (Wedge.class) {
            return nativeOpenWindow(title, visible, minimised, acceptsActivation);
        }
    }

    public static void closeWindow(long window) {
        synchronized (Wedge.class) {
            nativeCloseWindow(window);
        }
    }

    public static void setTitle(long window, String title) {
        synchronized (Wedge.class) {
            nativeSetTitle(window, title);
        }
    }

    public static void setVisible(long window, boolean visible) {
        synchronized (Wedge.class) {
            nativeSetVisible(window, visible);
        }
    }

    public static void setMinimised(long window, boolean minimised) {
        synchronized (Wedge.class) {
            nativeSetMinimised(window, minimised);
        }
    }

    public static boolean isMinimised(long window) {
        synchronized (Wedge.class) {
            return nativeIsMinimised(window);
        }
    }

    public static void setAcceptsActivation(long window, boolean accepts) {
        synchronized (Wedge.class) {
            nativeSetAcceptsActivation(window, accepts);
        }
    }

    /** The window accepts this many more activations, then refuses them. */
    public static void refuseActivationAfter(long window, int activations) {
        synchronized (Wedge.class) {
            nativeRefuseActivationAfter(window, activations);
        }
    }

    public static void setForeground(long window) {
        synchronized (Wedge.class) {
            nativeSetForeground(window);
        }
    }

    /** The window in front, 0 for none. */
    public static long foregroundWindow() {
        synchronized (Wedge.class) {
            return nativeForegroundWindow();
        }
    }

    /**
     * The characters typed keys delivered to the window while it was in
     * front: Enter as '\r', Tab as '\t', Alt codes as their Windows-1252
     * character.
     */
    public static String receivedText(long window) {
        synchronized (Wedge.class) {
            return nativeReceivedText(window);
        }
    }

    public static void useLayout(Layout layout) {
        synchronized (Wedge.class) {
            nativeUseLayout(layout.ordinal());
        }
    }

    public static void setCapsLock(boolean on) {
        synchronized (Wedge.class) {
            nativeSetCapsLock(on);
        }
    }

    public static boolean capsLockOn() {
        synchronized (Wedge.class) {
            return nativeCapsLockOn();
        }
    }

    /** Holds a key down, or lets it up, without toggling anything. */
    public static void holdKey(int virtualKey, boolean down) {
        synchronized (Wedge.class) {
            nativeHoldKey(virtualKey, down);
        }
    }

    /** The virtual keys currently down, in ascending order. */
    public static int[] keysDown() {
        synchronized (Wedge.class) {
            return nativeKeysDown();
        }
    }

    /**
     * Keeps at most this many events in the log (0: all); later events still
     * take effect and are counted by {@link #injectedEventTotal()}.
     */
    public static void limitEventLog(int events) {
        synchronized (Wedge.class) {
            nativeLimitEventLog(events);
        }
    }

    /** Every event injected since the reset, logged or not. */
    public static long injectedEventTotal() {
        synchronized (Wedge.class) {
            return nativeInjectedEventTotal();
        }
    }

    public static long nowMs() {
        synchronized (Wedge.class) {
            return nativeNowMs();
        }
    }

    /** Every keyboard event injected since the last reset, in order. */
    public static List<InjectedKey> injectedKeys() {
        long[] packed;
        synchronized (Wedge.class) {
            packed = nativeInjectedEvents();
        }
        List<InjectedKey> keys = new ArrayList<>();
        for (int i = 0; i < packed.length; i += EVENT_FIELDS) {
            keys.add(new InjectedKey((int) packed[i], (int) packed[i + 1], (int) packed[i + 2],
                    packed[i + 3], (int) packed[i + 4], packed[i + 5]));
        }
        return keys;
    }

    /** Every foreground request since the last reset, in order. */
    public static List<Activation> activations() {
        long[] packed;
        synchronized (Wedge.class) {
            packed = nativeActivations();
        }
        List<Activation> activations = new ArrayList<>();
        for (int i = 0; i < packed.length; i += ACTIVATION_FIELDS) {
            activations.add(new Activation(packed[i], packed[i + 1], packed[i + 2] != 0));
        }
        return activations;
    }

    /** The windows restored from minimised since the last reset, in order. */
    public static long[] restorations() {
        synchronized (Wedge.class) {
            return nativeRestorations();
        }
    }

    /**
     * After {@code after} more injections that go through, the next
     * {@code times} insert nothing and leave {@code errorCode} as the last
     * error; {@code times < 0} means every one until cleared with code 0.
     */
    public static void failSendInput(int errorCode, int times, int after) {
        synchronized (Wedge.class) {
            nativeFailSendInput(errorCode, times, after);
        }
    }

    /** The system's text for a code; an empty text removes it. */
    public static void setSystemMessage(int code, String text) {
        synchronized (Wedge.class) {
            nativeSetSystemMessage(code, text);
        }
    }

    private static native void nativeReset();

    private static native long nativeOpenWindow(String title, boolean visible, boolean minimised,
            boolean acceptsActivation);

    private static native void nativeCloseWindow(long window);

    private static native void nativeSetTitle(long window, String title);

    private static native void nativeSetVisible(long window, boolean visible);

    private static native void nativeSetMinimised(long window, boolean minimised);

    private static native boolean nativeIsMinimised(long window);

    private static native void nativeSetAcceptsActivation(long window, boolean accepts);

    private static native void nativeRefuseActivationAfter(long window, int activations);

    private static native void nativeSetForeground(long window);

    private static native long nativeForegroundWindow();

    private static native String nativeReceivedText(long window);

    private static native void nativeUseLayout(int layout);

    private static native void nativeSetCapsLock(boolean on);

    private static native boolean nativeCapsLockOn();

    private static native void nativeHoldKey(int virtualKey, boolean down);

    private static native int[] nativeKeysDown();

    private static native long nativeNowMs();

    private static native void nativeLimitEventLog(int events);

    private static native long nativeInjectedEventTotal();

    private static native long[] nativeInjectedEvents();

    private static native long[] nativeActivations();

    private static native long[] nativeRestorations();

    private static native void nativeFailSendInput(int errorCode, int times, int after);

    private static native void nativeSetSystemMessage(int code, String text);
}
