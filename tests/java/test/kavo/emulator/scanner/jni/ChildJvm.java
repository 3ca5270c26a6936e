package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.fail;

import java.io.BufferedReader;
import java.io.File;
import java.io.IOException;
import java.io.InputStreamReader;
import java.net.URISyntaxException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;

/**
 * A JVM that runs {@link LoadingProbe} with the given class path head and
 * options. Every wait on it is bounded: a child that hangs fails the test
 * and is killed.
 */
final class ChildJvm {

    /** Wedge's jar with the host library where the release jar holds Linux's copy. */
    static final String HOST_NATIVES_JAR = System.getProperty("wedge.test.natives.jar");

    private static final String END = new String("end of output");
    private static final long TIMEOUT_SECONDS = 60;

    private final Process process;
    private final BlockingQueue<String> lines = new LinkedBlockingQueue<>();

    private ChildJvm(Process process) {
        this.process = process;
        Thread reader = new Thread(() -> {
            try (BufferedReader output = new BufferedReader(
                    new InputStreamReader(process.getInputStream(), StandardCharsets.UTF_8))) {
                for (String line = output.readLine(); line != null; line = output.readLine()) {
                    lines.add(line);
                }
            } catch (IOException killed) {
                // The output ends with the child.
            } finally {
                lines.add(END);
            }
        }, "child JVM output");
        reader.setDaemon(true);
        reader.start();
    }

    static ChildJvm start(Path workingFolder, List<String> classPathHead, List<String> options, String... args)
            throws IOException {
        List<String> classPath = new ArrayList<>(classPathHead);
        classPath.add(locationOf(Wedge.class));
        classPath.add(locationOf(LoadingProbe.class));
        List<String> command = new ArrayList<>();
        command.add(Paths.get(System.getProperty("java.home"), "bin", "java").toString());
        command.addAll(options);
        command.add("-cp");
        command.add(String.join(File.pathSeparator, classPath));
        command.add(LoadingProbe.class.getName());
        command.addAll(List.of(args));
        return new ChildJvm(new ProcessBuilder(command).directory(workingFolder.toFile())
                .redirectError(ProcessBuilder.Redirect.INHERIT).start());
    }

    /** Runs a probe to its end and answers its last line: "loaded ..." or "error ...". */
    static String run(Path workingFolder, List<String> classPathHead, String... options)
            throws IOException, InterruptedException {
        return start(workingFolder, classPathHead, List.of(options)).finish();
    }

    void awaitReady() throws InterruptedException {
        assertEquals("ready", nextLine());
    }

    /** The child's next line of output, failing the test if none comes in time. */
    String nextLine() throws InterruptedException {
        String line = lines.poll(TIMEOUT_SECONDS, TimeUnit.SECONDS);
        if (line == null) {
            process.destroyForcibly();
            fail("the child JVM printed nothing for " + TIMEOUT_SECONDS + " s");
        }
        assertNotNull(line == END ? null : line, "the child JVM ended early");
        return line;
    }

    String finish() throws InterruptedException {
        if (!process.waitFor(TIMEOUT_SECONDS, TimeUnit.SECONDS)) {
            process.destroyForcibly();
            fail("the child JVM did not finish within " + TIMEOUT_SECONDS + " s");
        }
        List<String> output = new ArrayList<>();
        for (String line = lines.poll(TIMEOUT_SECONDS, TimeUnit.SECONDS); line != null && line != END;
                line = lines.poll(TIMEOUT_SECONDS, TimeUnit.SECONDS)) {
            output.add(line);
        }
        assertEquals(0, process.exitValue(), String.join("\n", output));
        return output.isEmpty() ? "" : output.get(output.size() - 1);
    }

    static String locationOf(Class<?> type) {
        try {
            return Paths.get(type.getProtectionDomain().getCodeSource().getLocation().toURI()).toString();
        } catch (URISyntaxException e) {
            throw new IllegalStateException(e);
        }
    }
}
