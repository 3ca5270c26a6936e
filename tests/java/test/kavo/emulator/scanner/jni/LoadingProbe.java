package kavo.emulator.scanner.jni;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;

/**
 * Uses Wedge once in a child JVM and prints "loaded" with the file of the
 * library that the JVM mapped, or "error" with what met it. Given a start
 * file, it prints "ready" and waits for that file first, so that a test can
 * let many JVMs load at the same moment.
 */
public final class LoadingProbe {

    private LoadingProbe() {
    }

    public static void main(String[] args) throws IOException, InterruptedException {
        if (args.length > 0) {
            System.out.println("ready");
            System.out.flush();
            Path start = Paths.get(args[0]);
            while (!Files.exists(start)) {
                Thread.sleep(1);
            }
        }
        try {
            Wedge.getLastErrorMessage();
        } catch (LinkageError error) {
            System.out.println("error " + error);
            return;
        }
        String mapped = Files.readAllLines(Paths.get("/proc/self/maps")).stream()
                .filter(line -> line.contains("/lib" + Wedge.LIBRARY_NAME + ".so"))
                .map(line -> line.substring(line.indexOf('/')))
                .findFirst().orElse("(no library mapped)");
        System.out.println("loaded " + mapped);
    }
}
