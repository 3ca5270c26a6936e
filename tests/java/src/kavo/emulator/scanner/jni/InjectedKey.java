package kavo.emulator.scanner.jni;

/**
 * One keyboard event the library injected into the simulated desktop.
 *
 * @param virtualKey the key, or 0 when it is addressed by scan code
 * @param scanCode the scan code, or 0 when it is addressed by virtual key
 * @param flags KEYEVENTF_ bits
 * @param atMs the virtual clock when it was injected
 * @param injection which injection call carried it, from 1
 * @param foreground the window in front when it arrived, 0 for none
 */
public record InjectedKey(int virtualKey, int scanCode, int flags, long atMs, int injection, long foreground) {

    public static final int KEY_RELEASE = 0x0002;
    public static final int KEY_SCAN_CODE = 0x0008;

    /** A press or release addressed by virtual key. */
    public static InjectedKey byVirtualKey(int virtualKey, boolean release) {
        return new InjectedKey(virtualKey, 0, release ? KEY_RELEASE : 0, 0, 0, 0);
    }

    /** A press or release addressed by scan code. */
    public static InjectedKey byScanCode(int scanCode, boolean release) {
        return new InjectedKey(0, scanCode, KEY_SCAN_CODE | (release ? KEY_RELEASE : 0), 0, 0, 0);
    }

    /** The key and action alone, for comparison with an expected keystroke. */
    public InjectedKey keystroke() {
        return new InjectedKey(virtualKey, scanCode, flags, 0, 0, 0);
    }
}
