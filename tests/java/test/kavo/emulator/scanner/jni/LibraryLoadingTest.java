package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertDoesNotThrow;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.File;
import java.io.IOException;
import java.io.InputStream;
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
    private static final FileAttribute<?> OWNER_ONLY =
            PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------"));
    /** A working library that is not ours: loaded in our place, Wedge's methods are missing. */
    private static final Path OTHER_LIBRARY =
            HOST_LIBRARY.resolveSibling(System.mapLibraryName("kavo_emulator_scanner_simulated_desktop"));
    /** A user id that no account on the test machine has: another user's. */
    private static final int OTHER_USER = 4242;

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
                () -> checkCopy(library, copy));
        assertTrue(cutShort.getMessage().startsWith(copy + " does not match"), cutShort.getMessage());

        library[4] = 'X';
        Files.write(copy, "the library as the jar holds it".getBytes(StandardCharsets.US_ASCII));
        assertThrows(UnsatisfiedLinkError.class, () -> checkCopy(library, copy));

        Files.write(copy, library);
        assertDoesNotThrow(() -> checkCopy(library, copy));
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

    @Test
    void aCopyPlantedEarlierOnTheClassPathIsNotLoaded(@TempDir Path work) throws Exception {
        Path planted = work.resolve("native/linux-x86_64").resolve(LIBRARY_FILE);
        Files.createDirectories(planted.getParent());
        Files.copy(OTHER_LIBRARY, planted);
        Path temp = Files.createDirectories(work.resolve("tmp"));

        String loaded = ChildJvm.run(work, List.of(".", ChildJvm.HOST_NATIVES_JAR), "-Djava.io.tmpdir=" + temp);

        assertTrue(loaded.startsWith("loaded " + temp.toRealPath().resolve("kavo_emulator_scanner-")), loaded);
    }

    @Test
    void aTmpdirOthersCanWriteIsRefused(@TempDir Path work) throws Exception {
        Path shared = Files.createDirectory(work.resolve("shared"));
        Files.setPosixFilePermissions(shared, PosixFilePermissions.fromString("rwxrwxrwx"));

        assertRefused(work, shared);
    }

    @Test
    void aStickyTmpdirOfAnotherUserIsRefused(@TempDir Path work) throws Exception {
        assumeTrue(isRoot(), "giving a folder to another user takes root");
        Path theirs = Files.createDirectory(work.resolve("theirs"));
        Files.setAttribute(theirs, "unix:mode", 01777);
        Files.setAttribute(theirs, "unix:uid", OTHER_USER);

        assertRefused(work, theirs);
    }

    @Test
    void aFolderSwappedBeforeTheLoadIsRefused(@TempDir Path work) throws Exception {
        Path temp = Files.createDirectories(work.resolve("tmp"));
        Path paused = work.resolve("paused");
        ChildJvm child = ChildJvm.start(work, WITH_HOST_COPY,
                List.of("-Djava.io.tmpdir=" + temp, "-Dkavo.emulator.scanner.test.pause=" + paused));
        awaitFile(paused);
        Path folder = Paths.get(new String(Files.readAllBytes(paused), StandardCharsets.UTF_8));

        // The same library, but not the file that was written and checked.
        Files.move(folder, temp.resolve("moved-away"));
        Files.createDirectory(folder, OWNER_ONLY);
        Files.copy(HOST_LIBRARY, folder.resolve(LIBRARY_FILE));
        Files.delete(paused);
        String error = child.finish();

        assertTrue(error.startsWith("error java.lang.UnsatisfiedLinkError: kavo_emulator_scanner: cannot load the copy in "
                + folder + " (" + folder + " is no longer the folder"), error);
    }

    @Test
    void cleanupAtExitDeletesNothingThroughALinkPutInItsFolder(@TempDir Path work) throws Exception {
        Path temp = Files.createDirectories(work.resolve("tmp"));
        Path victim = extractionFolder(work.resolve("victim"));
        Path hold = work.resolve("hold");
        ChildJvm child = ChildJvm.start(work, WITH_HOST_COPY, List.of("-Djava.io.tmpdir=" + temp, "-Dprobe.hold=" + hold));
        String loaded = child.nextLine();
        assertTrue(loaded.startsWith("loaded " + temp.toRealPath()), loaded);
        Path folder = Paths.get(loaded.substring("loaded ".length())).getParent();

        Files.move(folder, temp.resolve("moved-away"));
        Files.createSymbolicLink(folder, victim);
        Files.createFile(hold);
        child.finish();

        assertEquals(List.of("kavo_emulator_scanner.lock", LIBRARY_FILE), namesIn(victim));
    }

    @Test
    void aFifoForALockFileDoesNotHoldUpTheLoad(@TempDir Path work) throws Exception {
        Path temp = Files.createDirectories(work.resolve("tmp"));
        Path folder = Files.createDirectory(temp.resolve("kavo_emulator_scanner-0"), OWNER_ONLY);
        Files.write(folder.resolve(LIBRARY_FILE), new byte[] {1});
        Process mkfifo = new ProcessBuilder("mkfifo", folder.resolve("kavo_emulator_scanner.lock").toString())
                .inheritIO().start();
        assertEquals(0, mkfifo.waitFor());

        String loaded = ChildJvm.run(work, WITH_HOST_COPY, "-Djava.io.tmpdir=" + temp);

        assertTrue(loaded.startsWith("loaded " + temp.toRealPath()), loaded);
        assertEquals(List.of("kavo_emulator_scanner.lock", LIBRARY_FILE), namesIn(folder));
    }

    @Test
    void aLoadRemovesOnlyAFewAbandonedCopies(@TempDir Path work) throws Exception {
        Path temp = Files.createDirectories(work.resolve("tmp"));
        int abandoned = 40;
        for (int i = 0; i < abandoned; i++) {
            Path folder = Files.createDirectory(temp.resolve("kavo_emulator_scanner-" + i), OWNER_ONLY);
            Files.createFile(folder.resolve("kavo_emulator_scanner.lock"));
            Files.write(folder.resolve(LIBRARY_FILE), new byte[] {1});
        }

        String loaded = ChildJvm.run(work, WITH_HOST_COPY, "-Djava.io.tmpdir=" + temp);

        assertTrue(loaded.startsWith("loaded "), loaded);
        int left = namesIn(temp).size();
        System.out.println("one load, " + abandoned + " abandoned copies: " + left + " left");
        assertTrue(left > 0 && left < abandoned, left + " of " + abandoned + " left");
    }

    @Test
    void twoClassLoadersKeepTheirCopiesFromAnotherJvm(@TempDir Path work) throws Exception {
        Path temp = Files.createDirectories(work.resolve("tmp"));
        Path hold = work.resolve("hold");
        ChildJvm twoLoaders = ChildJvm.start(work, WITH_HOST_COPY,
                List.of("-Djava.io.tmpdir=" + temp, "-Dprobe.loaders=2", "-Dprobe.hold=" + hold));
        String loaded = twoLoaders.nextLine();
        List<String> copies = List.of(loaded.substring("loaded ".length()).split(" "));
        assertEquals(2, copies.size(), loaded);

        String other = ChildJvm.run(work, WITH_HOST_COPY, "-Djava.io.tmpdir=" + temp);
        List<String> gone = copies.stream().filter(copy -> !Files.exists(Paths.get(copy))).collect(Collectors.toList());
        Files.createFile(hold);
        twoLoaders.finish();

        assertTrue(other.startsWith("loaded " + temp.toRealPath()), other);
        assertEquals(List.of(), gone, "copies in use, deleted by another JVM");
        assertEquals(List.of(), namesIn(temp), "left behind after a clean exit");
    }

    private static void checkCopy(byte[] library, Path copy) throws IOException {
        try (InputStream written = Files.newInputStream(copy)) {
            ExtractedLibrary.checkCopy(library, copy, written);
        }
    }

    private static void assertRefused(Path work, Path temp) throws Exception {
        String error = ChildJvm.run(work, WITH_HOST_COPY, "-Dkavo.emulator.scanner.tmpdir=" + temp);

        assertTrue(error.startsWith("error java.lang.UnsatisfiedLinkError: kavo_emulator_scanner: will not extract"
                + " the library into " + temp + " ("), error);
        assertTrue(error.contains("set kavo.emulator.scanner.tmpdir"), error);
        assertTrue(error.contains("or kavo.emulator.scanner.library.path"), error);
        assertEquals(List.of(), namesIn(temp), "written into a folder that was refused");
    }

    private static boolean isRoot() throws IOException {
        return ((Integer) Files.getAttribute(Paths.get("/proc/self"), "unix:uid")) == 0;
    }

    private static void awaitFile(Path file) throws InterruptedException {
        for (int waited = 0; !Files.exists(file); waited += 10) {
            assertTrue(waited < 60_000, "no " + file + " after 60 s");
            Thread.sleep(10);
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
