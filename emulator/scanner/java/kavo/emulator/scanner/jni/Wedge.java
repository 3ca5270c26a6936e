package kavo.emulator.scanner.jni;

/**
 * A keyboard-wedge barcode scanner for the desktop: lists the open windows,
 * lets the caller choose the application that is to receive scans, and types
 * scanned bytes into it as synthesized keystrokes, the way a scanner wired in
 * front of the keyboard would. It works on the Windows desktop (32-bit and
 * 64-bit JVMs) and on Linux desktops (64-bit JVMs) that run X11 or a Wayland
 * compositor of the wlroots family; the methods keep one contract on all of
 * them, and where a desktop differs, each method says how.
 *
 * <p>Typical use: {@link #getWindows()}, then {@link #setWindow(int)} with
 * the index of the chosen title, then {@link #sendText(byte[])} for each
 * scan, {@link #getLastErrorMessage()} after a scan that returned
 * {@code false}, and {@link #destroy()} when done.
 *
 * <h2>Waiting and threads</h2>
 * Every method may wait: none returns at once while a scan is being typed.
 * <ul>
 * <li>The native library keeps one process-wide state (the window list, the
 * target and the last error) and does not guard it, so every method here is
 * {@code synchronized} on this class. A thread in {@link #sendText(byte[])}
 * holds that lock for the whole scan (about 200 ms plus 50 ms per byte), and
 * a call of any method from another thread waits until the scan ends.</li>
 * <li>Scans take turns on the whole desktop: a scan waits, for as long as it
 * takes, while another process (another JVM, another class loader, the
 * {@code wedge} command) types one, and other threads wait behind it in
 * turn.</li>
 * <li>On X11 and Wayland, a scan also waits up to one second for the window
 * manager or compositor to bring the target to the front.</li>
 * </ul>
 * The methods are safe to call from any thread, but not from a GUI's event
 * thread, which would freeze for the length of a scan: call them from a
 * {@code SwingWorker} or any other thread. After a scan the target keeps the
 * focus; an application that wants its own window back in front asks for it
 * (with {@code toFront()} in Swing).
 *
 * <pre>{@code
 * // In a Swing application: the Scan button's action, on the event thread.
 * byte[] scan = (barcode.getText() + "\r").getBytes(Charset.forName("windows-1252"));
 * scanButton.setEnabled(false);
 * new SwingWorker<String, Void>() {
 *     protected String doInBackground() {
 *         return Wedge.sendText(scan) ? null : Wedge.getLastErrorMessage();
 *     }
 *
 *     protected void done() {
 *         scanButton.setEnabled(true);
 *         frame.toFront();
 *         try {
 *             String error = get();
 *             status.setText(error == null ? "Scan typed" : error);
 *         } catch (InterruptedException | ExecutionException e) {
 *             status.setText(e.toString());
 *         }
 *     }
 * }.execute();
 * }</pre>
 *
 * <h2>Desktops</h2>
 * On Windows the library types into the desktop of the session the JVM runs
 * in. On Linux the desktop is chosen at the first call: the Wayland
 * compositor that {@code WAYLAND_DISPLAY} names, when it lets clients list
 * windows and type (sway, labwc, Hyprland, river, Wayfire), else the X
 * display that {@code DISPLAY} names (on GNOME and KDE Plasma, their
 * XWayland windows). The library keeps a connection of its own and opens
 * {@code libwayland-client.so.0}, or {@code libxcb.so.1} with its XTEST and
 * XKB parts, at the first call: the class loads on a machine without a
 * desktop or its libraries, and every call then answers,
 * {@link #getWindows()} with an empty array and {@link #sendText(byte[])}
 * with the reason each desktop gave (error 1167 or 126). A lost connection
 * fails the call under way and is opened again at the next call.
 *
 * <h2 id="errors">Errors</h2>
 * {@link #sendText(byte[])} returns false and {@link #getLastErrorMessage()}
 * gives one of three texts: {@code Target application is not set},
 * {@code Selected window is no longer available}, or
 * {@code Wedge error: }<i>code</i>{@code  with message: }<i>text</i>, with the
 * desktop's error code and its text, the line cut to 299 characters. A code
 * means the same on every desktop: where a desktop has no code of its own for
 * a failure, it uses the Windows code that fits.
 *
 * <table class="striped">
 * <caption>Why a scan failed, by desktop</caption>
 * <thead>
 * <tr><th scope="col">error</th><th scope="col">Windows</th><th scope="col">Linux (X11)</th><th scope="col">Linux (Wayland)</th></tr>
 * </thead>
 * <tbody>
 * <tr><th scope="row"><code>Target application is not set</code></th>
 * <td>no <code>setWindow</code> has succeeded yet</td>
 * <td>the same, when a desktop can be reached (else error 1167 or 126)</td>
 * <td>the same</td></tr>
 * <tr><th scope="row"><code>Selected window is no longer available</code></th>
 * <td>neither the target nor the first window with its title comes to the foreground; or the target lost the foreground before a byte (the bytes before it have arrived)</td>
 * <td>neither the target nor the first window with its title is active with the focus inside it within one second; or the focus left the target after the first key (the bytes before it have arrived)</td>
 * <td>neither the target nor the first window with its title is reported activated within one second; or another window was activated before a byte (the bytes before it have arrived)</td></tr>
 * <tr><th scope="row">5</th>
 * <td>the target runs at a higher integrity level than the JVM (nothing is typed), or the scan lock cannot be had</td>
 * <td>the scan lock's folder or file belongs to another user, others may write to it, or it is not a plain folder or file: <code>Cannot use the scan lock folder </code><i>path</i><code>: </code><i>why</i>; nothing is typed</td>
 * <td>the same, for the compositor's scan lock</td></tr>
 * <tr><th scope="row">13</th>
 * <td>a character the target's keyboard layout has no key for</td>
 * <td><code>The data is invalid.</code>: a character that no key types, with no free keycode to bind it to</td>
 * <td>&ndash;</td></tr>
 * <tr><th scope="row">29</th>
 * <td>Windows took only part of an injection and gave no code</td>
 * <td>&ndash;</td>
 * <td>&ndash;</td></tr>
 * <tr><th scope="row">33</th>
 * <td>&ndash;</td>
 * <td><code>Cannot open the scan lock </code><i>path</i><code>: </code><i>reason</i></td>
 * <td>the same</td></tr>
 * <tr><th scope="row">50</th>
 * <td>&ndash;</td>
 * <td><code>The X server has no XTEST extension</code>, or no XKEYBOARD extension</td>
 * <td>the compositor offers clients no window list (<code>zwlr_foreign_toplevel_manager_v1</code>) or no virtual keyboard (<code>zwp_virtual_keyboard_manager_v1</code>); then X11 is tried</td></tr>
 * <tr><th scope="row">87</th>
 * <td>a null array</td>
 * <td><code>The parameter is incorrect.</code>: a null array</td>
 * <td>the same</td></tr>
 * <tr><th scope="row">126</th>
 * <td>&ndash;</td>
 * <td>an X library is missing or lacks a function: <code>No desktop can be reached: </code>, each desktop's reason, and the loader's words, e.g. <code>X11: libxcb-xtest.so.0: cannot open shared object file: No such file or directory</code></td>
 * <td><code>libwayland-client.so.0</code> is missing or lacks a function; then X11 is tried</td></tr>
 * <tr><th scope="row">170</th>
 * <td>&ndash;</td>
 * <td><code>The keyboard is grabbed by another application</code> (nothing is typed, or nothing more); or <code>A modifier key (keycode </code><i>n</i><code>) is held down and cannot be let up</code>: held on a physical keyboard, which XTEST cannot let up; nothing is typed</td>
 * <td>&ndash;</td></tr>
 * <tr><th scope="row">1167</th>
 * <td>&ndash;</td>
 * <td>no desktop: <code>No desktop can be reached: Wayland: WAYLAND_DISPLAY is not set; X11: Cannot open the X display: DISPLAY is not set</code>; or <code>The connection to the X display was lost</code>, or <code>The X display did not answer within 5 seconds</code> (the next call connects again)</td>
 * <td><code>The connection to the Wayland compositor was lost: </code><i>reason</i> (the next call connects again)</td></tr>
 * <tr><th scope="row">1460</th>
 * <td>&ndash;</td>
 * <td>&ndash;</td>
 * <td><code>The Wayland compositor did not answer within 1000 ms</code></td></tr>
 * <tr><th scope="row">any other</th>
 * <td>any other failure, with Windows' code and text</td>
 * <td>an X protocol error, with X's code, its text and the request, e.g. <code>BadWindow (invalid Window parameter) (X request 20.0)</code></td>
 * <td>&ndash;</td></tr>
 * </tbody>
 * </table>
 *
 * <h2>Loading</h2>
 * The native library is loaded when the class is first used, from the
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
     * Lists the windows that can receive scans, topmost first.
     *
     * <p>On Windows, these are the visible top-level windows that have a
     * title, in the order the system enumerates them (its z-order). On X11,
     * they are the window manager's clients ({@code _NET_CLIENT_LIST_STACKING}),
     * minimised ones included, or without a window manager the root window's
     * mapped children; titles come from {@code _NET_WM_NAME}, else
     * {@code WM_NAME}. On Wayland, they are the compositor's toplevels that
     * have a title, XWayland's included, minimised ones too; Wayland gives no
     * stacking order, so the activated one comes first, then the others
     * oldest first. Without a desktop, or without its libraries, the array
     * is empty, and {@link #sendText(byte[])} says why.
     *
     * <p>Titles longer than 99 UTF-16 units are cut to their first 99.
     * Windows with the same title are all listed. The list stays current for
     * the next {@link #setWindow(int)}, whose index refers to this array.
     *
     * <p>Waits while another thread's scan is typed. Otherwise it takes as
     * long as the listing (milliseconds; on Linux the first call also opens
     * the connection), and never waits for the window manager.
     *
     * @return the titles, topmost first, empty when no window qualifies or
     *     the desktop cannot be reached; null only when the JVM could not
     *     create the array or a string, with its exception (such as
     *     {@link OutOfMemoryError}) thrown
     */
    public static synchronized native String[] getWindows();

    /**
     * Chooses the target application: the window at {@code index} in the
     * array that the latest {@link #getWindows()} returned. The window list
     * is consumed either way, so a second call needs a new
     * {@link #getWindows()}. A {@link #sendText(byte[])} that had to find its
     * target again by title lists the desktop anew, and that list takes the
     * place of the last array's: call {@link #getWindows()} again before
     * choosing after such a scan. Does not change the last error message, and
     * does not bring the window to the front: the next scan does.
     *
     * <p>Waits while another thread's scan is typed; otherwise it only checks
     * that the window still exists.
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
     * and no menu or shortcut triggered, or this returns false and
     * {@link #getLastErrorMessage()} says why.
     *
     * <p>On every desktop:
     * <ul>
     * <li>Scans take turns on the whole desktop. While one is typed, it holds
     * a lock that every process shares (on Windows a named mutex of the
     * session, on Linux an {@code flock} on a file per X server or Wayland
     * compositor in a folder only the user can write),
     * so scans from other class loaders, other JVMs or the {@code wedge}
     * command wait for it, as long as the scan being typed takes, and never
     * interleave with it. A lock left by a process that died mid-scan is
     * taken over.</li>
     * <li>The target is brought to the front; when that fails, the first
     * open window with the target's title becomes the target, which covers an
     * application closed and opened again. A minimised target is
     * restored.</li>
     * <li>After a 200 ms pause, each byte is typed and followed by a 50 ms
     * pause; Tab is held 100 ms. Bytes 32 to 126 and 13 (Enter) are typed
     * through the keyboard layout, 9 as the Tab key, 128 to 255 as described
     * below for each desktop, and the other control bytes, line feed
     * included, are dropped.</li>
     * <li>Shift, Ctrl, Alt, Windows or Super and AltGr keys that the person
     * or another program holds down are let up before each byte, in the same
     * injection as the byte's keys, with a key that does nothing tapped
     * before an Alt or Windows release so that no menu opens; they are never
     * pressed again. An injection that the desktop takes only in part fails
     * the call, and the keys the call pressed are let up.</li>
     * <li>Caps Lock, when on, is switched off while typing and on again
     * after, whichever way the call ends; when switching it on again fails,
     * the call returns false and Caps Lock stays off.</li>
     * <li>The target keeps the focus afterwards.</li>
     * </ul>
     *
     * <p>On Windows, the target is brought to the foreground again before
     * every byte, the first one too. A target whose process runs at a higher
     * integrity level than this JVM (run as administrator, say) would
     * silently drop the keys, and fails at once with error 5. Keys are looked
     * up in the keyboard layout of the target's own thread. Bytes 128 to 255
     * are typed as Alt + numeric keypad codes, which come out in the system's
     * ANSI code page (Windows-1252 on Western systems).
     *
     * <p>On X11, bringing the target to the front is a request to the window
     * manager ({@code _NET_ACTIVE_WINDOW}), followed by a wait of up to one
     * second until it reports the window active with the keyboard focus
     * inside; without a window manager, the library maps, raises and focuses
     * the window itself. Before each byte the library checks that the focus
     * is still in the target; it never takes the focus back from where the
     * user went, and the scan ends. Another application holding the keyboard
     * (a screen locker, an open menu) fails the scan with error 170. Keys are
     * typed with XTEST in the one keymap X has for all windows. Bytes 128 to
     * 255 are typed as their Windows-1252 character, so the same characters
     * arrive as from Windows on a Western system; the five bytes that
     * Windows-1252 leaves undefined are dropped. A character that no key
     * makes is bound to a free keycode for the scan.
     *
     * <p>On Wayland, the target is activated and the compositor's word that
     * it is activated awaited, up to one second; before each byte the
     * library checks that it still is. Keys go through a virtual keyboard
     * with a keymap of the library's own, one key per character, so the
     * person's layout, held keys and Caps Lock change nothing. Bytes 128 to
     * 255 arrive as their Windows-1252 characters, as on X11.
     *
     * <p>Blocks while another thread's call runs, then while another process
     * types a scan, then (on Linux) up to one second for the window manager
     * or compositor,
     * then for about 200 ms, plus 50 ms per byte, plus 100 ms per Tab.
     *
     * @param text the scanned bytes
     * @return true when every byte was typed; false otherwise, with the
     *     reason in {@link #getLastErrorMessage()}, as the
     *     <a href="#errors">table of errors</a> lists them
     */
    public static synchronized native boolean sendText(byte[] text);

    /**
     * Explains why the latest {@link #sendText(byte[])} returned false, in
     * one of the texts the <a href="#errors">table of errors</a> lists.
     * Waits while another thread's scan is typed.
     *
     * @return the reason, or null when no {@link #sendText(byte[])} has been
     *     called or the latest one succeeded
     */
    public static synchronized native String getLastErrorMessage();

    /**
     * Releases the window list of the latest {@link #getWindows()}. The
     * target stays chosen, and {@link #sendText(byte[])} keeps working.
     * Waits while another thread's scan is typed.
     */
    public static synchronized native void destroy();
}
