/**
 * A keyboard-wedge barcode scanner: lists the desktop's windows and types
 * scanned bytes into the chosen one as keystrokes, through
 * {@link kavo.emulator.scanner.jni.Wedge}. The jar carries the native library
 * for 32-bit and 64-bit Windows JVMs and for 64-bit Linux JVMs on X11
 * desktops.
 */
module kavo.emulator.scanner {
    exports kavo.emulator.scanner.jni;
}
