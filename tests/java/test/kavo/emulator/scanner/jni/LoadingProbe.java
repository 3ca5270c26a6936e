package kavo.emulator.scanner.jni;

import java.io.IOException;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.stream.Collectors;

/**
 * Uses Wedge once in a child JVM and prints "loaded" with the files of the
 * library that the JVM mapped, or "error" with what met it. Given a start
 * file, it prints "ready" and waits for that file first, so that a test can
 * let many JVMs load at the same moment. With probe.loaders=2 it loads Wedge
 * in two class loaders of its own instead; with probe.hold naming a file, it
 * waits for that file before it ends, so that a test can act while the
 * library is loaded.
 */
public final class LoadingProbe {

    private LoadingProbe() {
    }

    public static void main(String[] args) throws Exception {
        if (args.length > 0) {
            System.out.println("ready");
            System.out.flush();
            awaitFile(Paths.get(args[0]));
        }
        try {
            if (Integer.getInteger("probe.loaders", 1) == 2) {
                URL[] jar = {Wedge.class.getProtectionDomain().getCodeSource().getLocation()};
                List<URLClassLoader> loaders = new ArrayList<>();
                for (int i = 0; i < 2; i++) {
                    loaders.add(new URLClassLoader(jar, ClassLoader.getPlatformClassLoader()));
                    Class.forName(Wedge.class.getName(), true, loaders.get(i));
                }
            } else {
                Wedge.getLastErrorMessage();
            }
        } catch (LinkageError error) {
            System.out.println("error " + error);
            return;
        }
        List<String> mapped = Files.readAllLines(Paths.get("/proc/self/maps")).stream()
                .filter(line -> line.contains("/lib" + Wedge.LIBRARY_NAME + ".so"))
                .map(line -> line.substring(line.indexOf('/')))
                .distinct().collect(Collectors.toList());
        System.out.println("loaded " + (mapped.isEmpty() ? "(no library mapped)" : String.join(" ", mapped)));
        System.out.flush();
        String hold = System.getProperty("probe.hold");
        if (hold != null) {
            awaitFile(Paths.get(hold));
        }
    }

    private static void awaitFile(Path file) throws IOException, InterruptedException {
        for (int waited = 0; !Files.exists(file); waited++) {
            if (waited == 60_000) {
                throw new IOException("no " + file + " after 60 s");
            }
            Thread.sleep(1);
        }
    }
}
