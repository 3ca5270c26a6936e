package kavo.emulator.scanner.jni;

/**
 * One request to bring a window to the foreground.
 *
 * @param window the window asked for
 * @param atMs the virtual clock at the request
 * @param succeeded whether the window came to the front
 */
public record Activation(long window, long atMs, boolean succeeded) {
}
