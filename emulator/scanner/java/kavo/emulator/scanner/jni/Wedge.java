package kavo.emulator.scanner.jni;

/**
 * A keyboard-wedge barcode scanner for the Windows desktop: lists the open
 * windows, lets the caller choose the application that is to receive scans,
 * and types scanned bytes into it as synthesized keystrokes.
 *
 * <p>Typical use: {@link #getWindows()}, then {@link #setWindow(int)} with
 * the index of the chosen title, then {@link #sendText(byte[])} for each
 * scan, {@link #getLastErrorMessage()} after a scan that returned
 * {@code false}, and {@link #destroy()} when done.
 *
 * <p>The native library keeps one process-wide state (the window list, the
 * target and the last error) and does not guard it; every method here is
 * {@code synchronized} on this class, so no two Java threads are inside the
 * library at once. A thread calling {@link #sendText(byte[])} holds that
 * lock for the whole time it types.
 *
 * <p>The native library is loaded when the class is first used, from the
 * first of these places that applies:
 * <ol>
 * <li>the file, or the folder holding it, that the system property
 * {@code kavo.emulator.scanner.library.path} names. A wrong value fails with
 * an {@link UnsatisfiedLinkError} that names it; nothing else is tried;</li>
 * <li>the jar's own copy for this platform (32-bit and 64-bit Windows, 64-bit
 * Linux), copied into a private folder of its own under the folder that
 * {@code kavo.emulator.scanner.tmpdir} names, or else under
 * {@code java.io.tmpdir}, checked against the jar, and loaded from there. The
 * copy is deleted when the JVM ends where the platform allows it; on Windows,
 * a later JVM deletes it;</li>
 * <li>{@code java.library.path}, only when the jar carries no copy for this
 * platform, as when this class runs from plain class folders.</li>
 * </ol>
 * When none applies, or a copy cannot be written or loaded, the first use
 * throws an {@link UnsatisfiedLinkError} that says where the library was
 * looked for.
 */
public final class Wedge {

    /** The name the native library is loaded by. */
    public static final String LIBRARY_NAME = NativeLibrary.NAME;

    static {
        NativeLibrary.load();
    }

    private Wedge() {
    }

    /**
     * Lists the visible top-level windows that have a title.
     *
     * <p>Titles longer than 99 UTF-16 units are cut to their first 99. The
     * list stays current for the next {@link #setWindow(int)}, whose index
     * refers to this array. Windows with the same title are all listed.
     * Returns at once, without waiting.
     *
     * @return the titles in the desktop's enumeration order, empty when no
     *     window qualifies; null only when the JVM could not create the array
     *     or a string, with its exception (such as {@link OutOfMemoryError})
     *     thrown
     */
    public static synchronized native String[] getWindows();

    /**
     * Chooses the target application: the window at {@code index} in the
     * array that the latest {@link #getWindows()} returned. The window list
     * is consumed either way, so a second call needs a new
     * {@link #getWindows()}. A {@link #sendText(byte[])} that had to find its
     * target again by title lists the desktop anew, and that list takes the
     * place of the last array's: call {@link #getWindows()} again before
     * choosing after such a scan. Does not change the last error message.
     * Returns at once.
     *
     * @param index position in the latest {@link #getWindows()} array
     * @return true when the window still exists and is now the target; false
     *     with no list current, an index outside the array, or a window that
     *     has been closed since it was listed (the previous target stays)
     */
    public static synchronized native boolean setWindow(int index);

    /**
     * Types the bytes into the target application as keystrokes: either the
     * target receives exactly these bytes, in order, with no key left held
     * and no menu or shortcut triggered, or this returns false and says why.
     *
     * <p>Scans take turns on the whole desktop: while one is typed, a lock
     * shared by every process of the Windows session is held, so scans from
     * other class loaders, other JVMs or {@code wedge.exe} wait for it (as
     * long as the scan being typed takes) and never interleave with it. A
     * lock left by a process that died mid-scan is taken over.
     *
     * <p>The target is brought to the foreground; when that fails, the first
     * open window with the target's title becomes the target. A minimised
     * target is restored. A target whose process runs at a higher integrity
     * level than this JVM (run as administrator, say) would silently drop the
     * keys, and fails at once with error 5. After a 200 ms pause the target
     * is brought to the foreground again before every byte, the first one
     * too. Keys are looked up in the keyboard layout of the target's own
     * thread. Bytes 32 to 126 and 13 (Enter) are typed through that layout, 9
     * as the Tab key, 128 to 255 as Alt + numeric keypad codes, which come
     * out in the system's ANSI code page (Windows-1252 on Western systems),
     * and the other control bytes are dropped.
     *
     * <p>Shift, Ctrl, Alt and Windows keys that the person or another program
     * holds down are let up before each byte, in the same injection as the
     * byte's keys, with a key that does nothing tapped before an Alt or
     * Windows release so that no menu opens; they are never pressed again.
     * An injection of which Windows takes only some events fails the call,
     * and the keys the call pressed are let up. Caps Lock, when on, is
     * switched off while typing and on again after, whichever way the call
     * ends; when switching it on again fails, the call returns false and Caps
     * Lock stays off.
     *
     * <p>Blocks for about 200 ms, plus 50 ms per byte, plus 100 ms per Tab,
     * after any scan that another program is typing.
     *
     * @param text the scanned bytes
     * @return true when every byte was typed; false otherwise, with the
     *     reason in {@link #getLastErrorMessage()}: "Target application is
     *     not set" before any {@link #setWindow(int)} succeeded, "Selected
     *     window is no longer available" when neither the target nor a window
     *     with its title can be brought to the foreground, or when the target
     *     loses the foreground before a byte (the bytes before it have
     *     arrived), or "Wedge error: <i>code</i> with message: <i>text</i>"
     *     with the system's error code and text for any other failure: 5 for
     *     an elevated target, 13 for a character the target's layout has no
     *     key for, 29 when Windows took only part of an injection without a
     *     code of its own, 87 for a null {@code text}
     */
    public static synchronized native boolean sendText(byte[] text);

    /**
     * Explains why the latest {@link #sendText(byte[])} returned false.
     * Returns at once.
     *
     * @return the reason, or null when no {@link #sendText(byte[])} has been
     *     called or the latest one succeeded
     */
    public static synchronized native String getLastErrorMessage();

    /**
     * Releases the window list of the latest {@link #getWindows()}. The
     * target stays chosen, and {@link #sendText(byte[])} keeps working.
     * Returns at once.
     */
    public static synchronized native void destroy();
}
