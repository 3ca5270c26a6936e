package kavo.emulator.scanner.jni;

/** Uses Wedge once in a child JVM and prints the error that met it, if any. */
public final class FirstUseProbe {

    private FirstUseProbe() {
    }

    public static void main(String[] args) {
        try {
            Wedge.getLastErrorMessage();
        } catch (LinkageError error) {
            System.out.println(error);
        }
    }
}
