package kavo.emulator.scanner.jni;

import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.Locale;

/**
 * Chooses which copy of the native library to load, in this order: the one
 * that {@value #LIBRARY_PATH_PROPERTY} names; else the jar's own copy for this
 * platform, extracted by {@link ExtractedLibrary}; else, only when the jar
 * carries no copy for this platform, {@code java.library.path}.
 */
final class NativeLibrary {

    static final String NAME = "kavo_emulator_scanner";
    static final String LIBRARY_PATH_PROPERTY = "kavo.emulator.scanner.library.path";
    static final String TMPDIR_PROPERTY = "kavo.emulator.scanner.tmpdir";

    private static final String WINDOWS_FILE = NAME + ".dll";
    private static final String LINUX_FILE = "lib" + NAME + ".so";
    /** The names a copy from the jar can have. */
    static final List<String> FILE_NAMES = Collections.unmodifiableList(Arrays.asList(WINDOWS_FILE, LINUX_FILE));

    private NativeLibrary() {
    }

    static void load() {
        String named = System.getProperty(LIBRARY_PATH_PROPERTY);
        if (named != null) {
            loadNamed(named);
            return;
        }
        String osName = System.getProperty("os.name", "");
        String osArch = System.getProperty("os.arch", "");
        String resource = resourceFor(osName, osArch);
        if (resource != null && NativeLibrary.class.getResource(resource) != null) {
            ExtractedLibrary.load(resource);
            return;
        }
        // Searched only without a copy of our own: on Windows this path
        // ends with the working folder, where anyone may have put a DLL.
        try {
            System.loadLibrary(NAME);
        } catch (UnsatisfiedLinkError notFound) {
            throw linkError(notFoundMessage(osName, osArch, resource), notFound);
        }
    }

    /**
     * The jar resource that holds the library for a platform, or null when
     * the jar has none for it: 32-bit and 64-bit x86 JVMs on Windows, and
     * 64-bit x86 JVMs on Linux.
     */
    static String resourceFor(String osName, String osArch) {
        String os = osName.toLowerCase(Locale.ROOT);
        switch (osArch.toLowerCase(Locale.ROOT)) {
            case "x86":
            case "i386":
            case "i486":
            case "i586":
            case "i686":
                return os.startsWith("windows") ? "/native/windows-x86/" + WINDOWS_FILE : null;
            case "amd64":
            case "x86_64":
            case "x64":
                if (os.startsWith("windows")) {
                    return "/native/windows-x86_64/" + WINDOWS_FILE;
                }
                return os.equals("linux") ? "/native/linux-x86_64/" + LINUX_FILE : null;
            default:
                return null;
        }
    }

    static String notFoundMessage(String osName, String osArch, String resource) {
        String jar = resource == null
                ? "the jar carries none for " + osName + " on " + osArch
                        + " (only for Windows x86 and x86_64 and Linux x86_64)"
                : "the jar carries no " + resource.substring(1);
        return NAME + " has no native library for " + osName + " on " + osArch + ": " + jar
                + ", and java.library.path (" + System.getProperty("java.library.path", "") + ") holds no "
                + System.mapLibraryName(NAME) + "; " + LIBRARY_PATH_PROPERTY + " can name one";
    }

    static UnsatisfiedLinkError linkError(String message, Throwable cause) {
        UnsatisfiedLinkError error = new UnsatisfiedLinkError(message);
        error.initCause(cause);
        return error;
    }

    /** Loads the library that the property names, a file or a folder holding it; never anything else. */
    private static void loadNamed(String value) {
        String wrong = LIBRARY_PATH_PROPERTY + "=" + value + ": ";
        if (value.trim().isEmpty()) {
            throw new UnsatisfiedLinkError(wrong + "names no file");
        }
        Path named;
        try {
            named = Paths.get(value).toAbsolutePath();
        } catch (InvalidPathException e) {
            throw linkError(wrong + "not a path", e);
        }
        Path library = Files.isDirectory(named) ? named.resolve(System.mapLibraryName(NAME)) : named;
        if (!Files.isRegularFile(library)) {
            throw new UnsatisfiedLinkError(wrong + "there is no library at " + library);
        }
        try {
            System.load(library.toString());
        } catch (UnsatisfiedLinkError refused) {
            throw linkError(wrong + refused.getMessage(), refused);
        }
    }
}
