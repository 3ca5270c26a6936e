package kavo.emulator.scanner.jni;

import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardCopyOption;
import java.util.Locale;

/**
 * Finds and loads the native library: from {@code java.library.path} when it
 * is there, otherwise from the copy inside the jar that matches this
 * platform, extracted into a private temporary folder.
 */
final class NativeLibrary {

    static final String NAME = "kavo_emulator_scanner";
    static final String FILE_NAME = NAME + ".dll";
    private static final String FOLDER_PREFIX = NAME + "-";

    private NativeLibrary() {
    }

    static void load() {
        if (onLibraryPath()) {
            System.loadLibrary(NAME);
            return;
        }
        String osName = System.getProperty("os.name", "");
        String osArch = System.getProperty("os.arch", "");
        String resource = resourceFor(osName, osArch);
        if (resource == null) {
            throw new UnsatisfiedLinkError(unsupportedMessage(osName, osArch));
        }
        System.load(extract(resource).toString());
    }

    /**
     * The jar resource that holds the library for a platform, or null when
     * there is none: a 32-bit or a 64-bit x86 JVM on Windows.
     */
    static String resourceFor(String osName, String osArch) {
        if (!osName.toLowerCase(Locale.ROOT).startsWith("windows")) {
            return null;
        }
        switch (osArch.toLowerCase(Locale.ROOT)) {
            case "x86":
            case "i386":
            case "i486":
            case "i586":
            case "i686":
                return "/native/windows-x86/" + FILE_NAME;
            case "amd64":
            case "x86_64":
            case "x64":
                return "/native/windows-x86_64/" + FILE_NAME;
            default:
                return null;
        }
    }

    static String unsupportedMessage(String osName, String osArch) {
        return NAME + " has no native library for " + osName + " on " + osArch
                + ": looked for " + System.mapLibraryName(NAME) + " in java.library.path ("
                + System.getProperty("java.library.path", "") + ") and for a Windows x86 or x86_64 JVM's"
                + " copy in the jar (native/windows-x86/" + FILE_NAME + ", native/windows-x86_64/" + FILE_NAME + ")";
    }

    private static boolean onLibraryPath() {
        String fileName = System.mapLibraryName(NAME);
        for (String folder : System.getProperty("java.library.path", "").split(File.pathSeparator)) {
            if (!folder.isEmpty() && new File(folder, fileName).isFile()) {
                return true;
            }
        }
        return false;
    }

    private static Path extract(String resource) {
        removeStaleCopies();
        try (InputStream in = NativeLibrary.class.getResourceAsStream(resource)) {
            if (in == null) {
                throw new UnsatisfiedLinkError(NAME + ": the jar has no " + resource);
            }
            Path folder = Files.createTempDirectory(FOLDER_PREFIX);
            Path library = folder.resolve(FILE_NAME);
            Files.copy(in, library, StandardCopyOption.REPLACE_EXISTING);
            // Windows keeps a loaded DLL locked, so this only succeeds where
            // the platform allows it; later runs remove what stays behind.
            library.toFile().deleteOnExit();
            folder.toFile().deleteOnExit();
            return library;
        } catch (IOException e) {
            UnsatisfiedLinkError error = new UnsatisfiedLinkError(NAME + ": cannot extract " + resource + ": " + e);
            error.initCause(e);
            throw error;
        }
    }

    /** Deletes copies that earlier runs could not delete while they had them loaded. */
    private static void removeStaleCopies() {
        Path temp = Paths.get(System.getProperty("java.io.tmpdir"));
        try (DirectoryStream<Path> folders = Files.newDirectoryStream(temp, FOLDER_PREFIX + "*")) {
            for (Path folder : folders) {
                try {
                    Files.deleteIfExists(folder.resolve(FILE_NAME));
                    Files.deleteIfExists(folder);
                } catch (IOException inUse) {
                    // Still loaded by another JVM: it stays until that one ends.
                }
            }
        } catch (IOException | SecurityException unreadable) {
            // Stale copies only cost disk space.
        }
    }
}
