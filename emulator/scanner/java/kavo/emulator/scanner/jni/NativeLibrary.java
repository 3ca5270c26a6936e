package kavo.emulator.scanner.jni;

import java.io.ByteArrayOutputStream;
import java.io.FileNotFoundException;
import java.io.IOException;
import java.io.InputStream;
import java.net.MalformedURLException;
import java.net.URL;
import java.net.URLConnection;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.security.CodeSource;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.Locale;

/**
 * Chooses which copy of the native library to load, in this order: the one
 * that {@value #LIBRARY_PATH_PROPERTY} names; else the copy for this platform
 * in the jar (or class folder) that holds Wedge itself, extracted by
 * {@link ExtractedLibrary}; else, only when that jar carries no copy for this
 * platform, {@code java.library.path}. A copy anywhere else on the class
 * path is never read: whoever can put a folder or jar before ours there must
 * not choose the code we run.
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
        byte[] library = resource == null ? null : readOwn(resource);
        if (library != null) {
            ExtractedLibrary.load(resource.substring(resource.lastIndexOf('/') + 1), library);
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

    /**
     * The resource as Wedge's own code source holds it, or null when it holds
     * none. Not through the class loader, which would answer the first class
     * path entry that has the name.
     */
    private static byte[] readOwn(String resource) {
        URL url;
        try {
            CodeSource source = Wedge.class.getProtectionDomain().getCodeSource();
            URL location = source == null ? null : source.getLocation();
            if (location == null) {
                return null;
            }
            String base = location.toString();
            String entry = resource.substring(1);
            if (base.endsWith("/")) {
                url = new URL(location, entry);
            } else if (location.getProtocol().equals("jrt")) {
                url = new URL(base + "/" + entry);
            } else {
                url = new URL("jar:" + base + "!/" + entry);
            }
        } catch (MalformedURLException | SecurityException e) {
            throw linkError(NAME + ": cannot find the jar that holds Wedge (" + e + ")", e);
        }
        try {
            URLConnection connection = url.openConnection();
            // A cached jar would stay open, and could be one opened before
            // the file was replaced.
            connection.setUseCaches(false);
            try (InputStream in = connection.getInputStream()) {
                ByteArrayOutputStream bytes = new ByteArrayOutputStream();
                byte[] buffer = new byte[8192];
                for (int count = in.read(buffer); count >= 0; count = in.read(buffer)) {
                    bytes.write(buffer, 0, count);
                }
                return bytes.toByteArray();
            }
        } catch (FileNotFoundException | NoSuchFileException absent) {
            return null;
        } catch (IOException e) {
            throw linkError(NAME + ": cannot read " + url + ": " + e, e);
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
