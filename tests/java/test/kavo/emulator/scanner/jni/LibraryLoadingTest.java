package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertDoesNotThrow;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.File;
import java.io.IOException;
import java.nio.channels.FileChannel;
import java.nio.charset.StandardCharsets;
import java.nio.file.FileSystem;
import java.nio.file.FileSystems;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.FileAttribute;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.List;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * Which copy of the library a JVM loads, and what loading leaves behind.
 * Loading is tried for real in child JVMs, since this one has loaded the
 * library already. Where the jar is to carry a copy for this platform, a jar
 * holding the host library under native/linux-x86_64/ joins the class path.
 */
class LibraryLoadingTest {

    private static final String LIBRARY_FILE = System.mapLibraryName("kavo_emulator_scanner");
    private static final Path HOST_LIBRARY = Paths.get(System.getProperty("java.library.path"), LIBRARY_FILE);
    private static final List<String> WITH_HOST_COPY = List.of(ChildJvm.HOST_NATIVES_JAR);
    /** A working library that is not ours: loaded in our place, Wedge's methods are missing. */
    private static final Path OTHER_LIBRARY =
            HOST_LIBRARY.resolveSibling(System.mapLibraryName("kavo_emulator_scanner_simulated_desktop"));
    private static final FileAttribute<?> OWNER_ONLY =
            PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------"));

    @Test
    void eachSupportedPlatformHasItsOwnCopy() {
        for (String arch : new String[] {"x86", "i386", "i686", "X86"}) {
            assertEquals("/native/windows-x86/kavo_emulator_scanner.dll",
                    NativeLibrary.resourceFor("Windows 10", arch), arch);
        }
        for (String arch : new String[] {"amd64", "x86_64", "AMD64"}) {
            assertEquals("/native/windows-x86_64/kavo_emulator_scanner.dll",
                    NativeLibrary.resourceFor("Windows Server 2022", arch), arch);
            assertEquals("/native/linux-x86_64/libkavo_emulator_scanner.so",
                    NativeLibrary.resourceFor("Linux", arch), arch);
        }
        assertNull(NativeLibrary.resourceFor("Windows 11", "aarch64"));
        assertNull(NativeLibrary.resourceFor("Linux", "i386"));
        assertNull(NativeLibrary.resourceFor("Mac OS X", "x86_64"));
        assertNull(NativeLibrary.resourceFor("", ""));
    }

    @Test
    void theJarsCopyWinsOverPlantedOnesAndIsGoneAfterACleanExit(@TempDir Path work) throws Exception {
        // Working libraries, in the working folder and on java.library.path:
        // loading either would succeed, so only the mapped file tells.
        Path planted = Files.createDirectories(work.resolve("planted"));
        Files.copy(HOST_LIBRARY, planted.resolve(LIBRARY_FILE));
        Path temp = Files.createDirectories(work.resolve("tmp"));

        String loaded = ChildJvm.run(planted, WITH_HOST_COPY,
                "-Djava.library.path=" + planted + File.pathSeparator + ".", "-Djava.io.tmpdir=" + temp);

        assertTrue(loaded.startsWith("loaded " + temp.toRealPath().resolve("kavo_emulator_scanner-")), loaded);
        assertEquals(List.of(), namesIn(temp), "left behind after a clean exit");
    }

    @Test
    void theLibraryPathPropertyLoadsTheLibraryItNames(@TempDir Path work) throws Exception {
        Path chosen = Files.createDirectories(work.resolve("chosen"));
        Files.copy(HOST_LIBRARY, chosen.resolve(LIBRARY_FILE));
        Path temp = Files.createDirectories(work.resolve("tmp"));

        for (Path named : new Path[] {chosen, chosen.resolve(LIBRARY_FILE)}) {
            String loaded = ChildJvm.run(work, WITH_HOST_COPY,
                    "-Dkavo.emulator.scanner.library.path=" + named, "-Djava.io.tmpdir=" + temp);

            assertEquals("loaded " + chosen.toRealPath().resolve(LIBRARY_FILE), loaded, named.toString());
        }
        assertEquals(List.of(), namesIn(temp), "extracted although a library was named");
    }

    @Test
    void aWrongLibraryPathPropertyFailsNamingItself(@TempDir Path work) throws Exception {
        Path wrong = work.resolve("nothing-here").resolve(LIBRARY_FILE);

        String error = ChildJvm.run(work, WITH_HOST_COPY, "-Dkavo.emulator.scanner.library.path=" + wrong);

        assertTrue(error.startsWith("error java.lang.UnsatisfiedLinkError: kavo.emulator.scanner.library.path="
                + wrong + ": "), error);
    }

    @Test
    void eightJvmsStartedTogetherAllLoad(@TempDir Path work) throws Exception {
        Path temp = Files.createDirectories(work.resolve("tmp"));
        int rounds = 10;
        int jvms = 8;
        List<String> failures = new ArrayList<>();
        for (int round = 0; round < rounds; round++) {
            Path start = work.resolve("start-" + round);
            List<ChildJvm> children = new ArrayList<>();
            for (int i = 0; i < jvms; i++) {
                children.add(ChildJvm.start(work, WITH_HOST_COPY, List.of("-Djava.io.tmpdir=" + temp), start.toString()));
            }
            for (ChildJvm child : children) {
                child.awaitReady();
            }
            Files.createFile(start);
            for (ChildJvm child : children) {
                String result = child.finish();
                if (!result.startsWith("loaded " + temp.toRealPath())) {
                    failures.add("round " + round + ": " + result);
                }
            }
        }

        System.out.println("eight JVMs started together, " + rounds + " rounds: " + failures.size() + " of "
                + rounds * jvms + " failed to load");
        assertEquals(List.of(), failures);
        assertEquals(List.of(), namesIn(temp), "left behind after clean exits");
    }

    @Test
    void cleanupRemovesAbandonedCopiesButNotWhatALinkPointsAt(@TempDir Path work) throws Exception {
        Path temp = Files.createDirectories(work.resolve("tmp"));
        Path abandoned = extractionFolder(temp.resolve("kavo_emulator_scanner-1"));
        Path elsewhere = extractionFolder(work.resolve("elsewhere"));
        Path link = Files.createSymbolicLink(temp.resolve("kavo_emulator_scanner-2"), elsewhere);
        Path inUse = extractionFolder(temp.resolve("kavo_emulator_scanner-3"));

        String loaded;
        try (FileChannel channel = FileChannel.open(inUse.resolve("kavo_emulator_scanner.lock"),
                StandardOpenOption.WRITE)) {
            channel.lock();
            loaded = ChildJvm.run(work, WITH_HOST_COPY, "-Djava.io.tmpdir=" + temp);
        }

        assertTrue(loaded.startsWith("loaded "), loaded);
        assertFalse(Files.exists(abandoned), "a copy whose JVM has ended stays");
        assertEquals(List.of("kavo_emulator_scanner.lock", LIBRARY_FILE), namesIn(elsewhere));
        assertTrue(Files.isSymbolicLink(link));
        assertEquals(List.of("kavo_emulator_scanner.lock", LIBRARY_FILE), namesIn(inUse), "a copy in use went");
    }

    @Test
    void aCopyThatDiffersFromTheJarsIsRefused(@TempDir Path work) throws Exception {
        byte[] library = "the library as the jar holds it".getBytes(StandardCharsets.US_ASCII);
        Path copy = work.resolve(LIBRARY_FILE);

        Files.write(copy, "the library as the jar".getBytes(StandardCharsets.US_ASCII));
        UnsatisfiedLinkError cutShort = assertThrows(UnsatisfiedLinkError.class,
                () -> ExtractedLibrary.checkCopy(library, copy));
        assertTrue(cutShort.getMessage().startsWith(copy + " does not match"), cutShort.getMessage());

        library[4] = 'X';
        Files.write(copy, "the library as the jar holds it".getBytes(StandardCharsets.US_ASCII));
        assertThrows(UnsatisfiedLinkError.class, () -> ExtractedLibrary.checkCopy(library, copy));

        Files.write(copy, library);
        assertDoesNotThrow(() -> ExtractedLibrary.checkCopy(library, copy));
    }

    @Test
    void aCopyThePlatformRefusesNamesItsFolderAndTheWayOut(@TempDir Path work) throws Exception {
        Path jar = jarWith(work, "native/windows-x86_64/kavo_emulator_scanner.dll",
                "not a real DLL".getBytes(StandardCharsets.US_ASCII));
        Path chosenTemp = Files.createDirectories(work.resolve("chosen-tmp"));

        // This JVM cannot load a DLL, so loading the extracted copy fails.
        String error = ChildJvm.run(work, List.of(jar.toString()), "-Dos.name=Windows 10", "-Dos.arch=amd64",
                "-Djava.io.tmpdir=" + work.resolve("not-this-one"), "-Dkavo.emulator.scanner.tmpdir=" + chosenTemp);

        assertTrue(error.startsWith("error java.lang.UnsatisfiedLinkError: kavo_emulator_scanner: cannot load the copy in "
                + chosenTemp.resolve("kavo_emulator_scanner-")), error);
        assertTrue(error.contains("set kavo.emulator.scanner.tmpdir"), error);
        assertTrue(error.contains("or kavo.emulator.scanner.library.path"), error);
        assertEquals(List.of(), namesIn(chosenTemp), "the refused copy stays");
    }

    @Test
    void anUnwritableFolderIsNamed(@TempDir Path work) throws Exception {
        // A file where the folder should be: unwritable even for root.
        Path notAFolder = Files.createFile(work.resolve("not-a-folder"));

        String error = ChildJvm.run(work, WITH_HOST_COPY, "-Dkavo.emulator.scanner.tmpdir=" + notAFolder);

        assertTrue(error.startsWith("error java.lang.UnsatisfiedLinkError: kavo_emulator_scanner: cannot create a folder"
                + " for the library in " + notAFolder), error);
        assertTrue(error.contains("set kavo.emulator.scanner.tmpdir"), error);
    }

    @Test
    void withoutACopyForThePlatformTheErrorSaysWhereItLooked(@TempDir Path emptyFolder) throws Exception {
        for (String[] platform : new String[][] {{"Linux", "riscv64"}, {"Windows 10", "x86"}}) {
            String error = ChildJvm.run(emptyFolder, List.of(), "-Djava.library.path=" + emptyFolder,
                    "-Dos.name=" + platform[0], "-Dos.arch=" + platform[1]);

            assertTrue(error.startsWith("error java.lang.UnsatisfiedLinkError: kavo_emulator_scanner has no native"
                    + " library for " + platform[0] + " on " + platform[1] + ": "), error);
            assertTrue(error.contains("java.library.path (" + emptyFolder + ") holds no " + LIBRARY_FILE), error);
            assertTrue(error.contains("kavo.emulator.scanner.library.path can name one"), error);
        }
    }

    /** A copy of Wedge's jar that also holds {@code entry}. */
    private static Path jarWith(Path work, String entry, byte[] content) throws IOException {
        Path jar = work.resolve("with-" + entry.replace('/', '-') + ".jar");
        Files.copy(Paths.get(ChildJvm.locationOf(Wedge.class)), jar);
        try (FileSystem zip = FileSystems.newFileSystem(jar)) {
            Path inside = zip.getPath(entry);
            Files.createDirectories(inside.getParent());
            Files.write(inside, content);
        }
        return jar;
    }

    @Test
    void aCopyPlantedEarlierOnTheClassPathIsNotLoaded(@TempDir Path work) throws Exception {
        Path planted = work.resolve("native/linux-x86_64").resolve(LIBRARY_FILE);
        Files.createDirectories(planted.getParent());
        Files.copy(OTHER_LIBRARY, planted);
        Path temp = Files.createDirectories(work.resolve("tmp"));

        String loaded = ChildJvm.run(work, List.of(".", ChildJvm.HOST_NATIVES_JAR), "-Djava.io.tmpdir=" + temp);

        assertTrue(loaded.startsWith("loaded " + temp.toRealPath().resolve("kavo_emulator_scanner-")), loaded);
    }

    private static Path extractionFolder(Path folder) throws IOException {
        Files.createDirectory(folder, OWNER_ONLY);
        Files.createFile(folder.resolve("kavo_emulator_scanner.lock"));
        Files.copy(HOST_LIBRARY, folder.resolve(LIBRARY_FILE), StandardCopyOption.REPLACE_EXISTING);
        return folder;
    }

    private static List<String> namesIn(Path folder) throws IOException {
        try (Stream<Path> entries = Files.list(folder)) {
            return entries.map(entry -> entry.getFileName().toString()).sorted().collect(Collectors.toList());
        }
    }
}
