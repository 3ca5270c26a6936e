package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

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
import java.util.concurrent.TimeUnit;
import java.util.stream.Collectors;

/** A JVM that runs {@link LoadingProbe} with the given class path head and options. */
final class ChildJvm {

    /** A jar that holds the host library where the release jar holds Linux's copy. */
    static final String HOST_NATIVES_JAR = System.getProperty("wedge.test.natives.jar");

    private final Process process;
    private final BufferedReader output;

    private ChildJvm(Process process) {
        this.process = process;
        this.output = new BufferedReader(new InputStreamReader(process.getInputStream(), StandardCharsets.UTF_8));
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

    void awaitReady() throws IOException {
        assertEquals("ready", output.readLine());
    }

    String finish() throws IOException, InterruptedException {
        List<String> lines = output.lines().collect(Collectors.toList());
        assertTrue(process.waitFor(60, TimeUnit.SECONDS), "the child JVM did not finish");
        assertEquals(0, process.exitValue(), String.join("\n", lines));
        return lines.isEmpty() ? "" : lines.get(lines.size() - 1);
    }

    static String locationOf(Class<?> type) {
        try {
            return Paths.get(type.getProtectionDomain().getCodeSource().getLocation().toURI()).toString();
        } catch (URISyntaxException e) {
            throw new IllegalStateException(e);
        }
    }
}
