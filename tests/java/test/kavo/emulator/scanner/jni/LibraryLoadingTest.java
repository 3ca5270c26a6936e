package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * Which copy of the library a JVM loads: the jar's DLL for 32-bit and
 * 64-bit Windows JVMs, and a clear error everywhere else. Loading is tried
 * for real in child JVMs, since this one has loaded the library already.
 */
class LibraryLoadingTest {

    private static final String X86 = "/native/windows-x86/kavo_emulator_scanner.dll";
    private static final String X86_64 = "/native/windows-x86_64/kavo_emulator_scanner.dll";

    @Test
    void windowsJvmsGetTheDllOfTheirArchitecture() {
        for (String arch : new String[] {"x86", "i386", "i686", "X86"}) {
            assertEquals(X86, NativeLibrary.resourceFor("Windows 10", arch), arch);
        }
        for (String arch : new String[] {"amd64", "x86_64", "AMD64"}) {
            assertEquals(X86_64, NativeLibrary.resourceFor("Windows Server 2022", arch), arch);
        }
        assertEquals(X86_64, NativeLibrary.resourceFor("WINDOWS 11", "amd64"));
    }

    @Test
    void otherPlatformsHaveNoDll() {
        assertNull(NativeLibrary.resourceFor("Windows 11", "aarch64"));
        assertNull(NativeLibrary.resourceFor("Linux", "amd64"));
        assertNull(NativeLibrary.resourceFor("Mac OS X", "x86_64"));
        assertNull(NativeLibrary.resourceFor("", ""));
    }

    @Test
    void anUnsupportedPlatformFailsNamingItAndWhereItLooked(@TempDir Path emptyFolder) throws Exception {
        String error = firstUseError(emptyFolder, "Linux", "riscv64", List.of());

        assertTrue(error.startsWith("java.lang.UnsatisfiedLinkError: "), error);
        assertTrue(error.contains("Linux on riscv64"), error);
        assertTrue(error.contains(System.mapLibraryName("kavo_emulator_scanner")), error);
        assertTrue(error.contains(emptyFolder.toString()), "names java.library.path: " + error);
        assertTrue(error.contains("native/windows-x86_64/kavo_emulator_scanner.dll"), error);
    }

    @Test
    void aWindowsJvmExtractsTheJarsDllIntoAPrivateFolder(@TempDir Path work) throws Exception {
        Path resources = work.resolve("resources");
        Path dll = resources.resolve("native/windows-x86_64/kavo_emulator_scanner.dll");
        Files.createDirectories(dll.getParent());
        Files.write(dll, "not a real DLL".getBytes(StandardCharsets.US_ASCII));
        Path temp = Files.createDirectories(work.resolve("tmp"));

        // This JVM cannot load a DLL, so loading the extracted copy fails:
        // the error names the copy it tried.
        String error = firstUseError(work.resolve("nothing-here"), "Windows 10", "amd64",
                List.of(resources.toString()), "-Djava.io.tmpdir=" + temp);

        assertTrue(error.startsWith("java.lang.UnsatisfiedLinkError: "), error);
        assertTrue(error.contains(temp.resolve("kavo_emulator_scanner-").toString()), error);
        assertTrue(error.contains("kavo_emulator_scanner.dll"), error);
    }

    @Test
    void aJarWithoutTheDllSaysWhichOneItLacks(@TempDir Path emptyFolder) throws Exception {
        String error = firstUseError(emptyFolder, "Windows 10", "x86", List.of());

        assertEquals("java.lang.UnsatisfiedLinkError: kavo_emulator_scanner: the jar has no " + X86, error);
    }

    /** Runs a JVM that uses Wedge once and answers the error it met, or "" when none. */
    private static String firstUseError(Path libraryPath, String osName, String osArch, List<String> classPathHead,
            String... options) throws IOException, InterruptedException {
        List<String> classPath = new ArrayList<>(classPathHead);
        classPath.add(locationOf(Wedge.class));
        classPath.add(locationOf(FirstUseProbe.class));
        List<String> command = new ArrayList<>();
        command.add(Paths.get(System.getProperty("java.home"), "bin", "java").toString());
        command.add("-Djava.library.path=" + libraryPath);
        command.add("-Dos.name=" + osName);
        command.add("-Dos.arch=" + osArch);
        command.addAll(List.of(options));
        command.add("-cp");
        command.add(String.join(File.pathSeparator, classPath));
        command.add(FirstUseProbe.class.getName());
        Process child = new ProcessBuilder(command).redirectError(ProcessBuilder.Redirect.INHERIT).start();
        String output = new String(child.getInputStream().readAllBytes(), StandardCharsets.UTF_8).trim();
        assertTrue(child.waitFor(60, TimeUnit.SECONDS), "the child JVM did not finish");
        assertEquals(0, child.exitValue(), output);
        return output;
    }

    private static String locationOf(Class<?> type) {
        try {
            return Paths.get(type.getProtectionDomain().getCodeSource().getLocation().toURI()).toString();
        } catch (java.net.URISyntaxException e) {
            throw new IllegalStateException(e);
        }
    }
}
