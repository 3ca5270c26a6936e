package kavo.emulator.scanner.jni;

import java.io.IOException;
import java.nio.channels.FileChannel;
import java.nio.channels.FileLock;
import java.nio.channels.OverlappingFileLockException;
import java.nio.file.DirectoryIteratorException;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.BasicFileAttributes;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.Arrays;

/**
 * The jar's copy of the library, extracted for one load into a folder of its
 * own under {@value NativeLibrary#TMPDIR_PROPERTY} or {@code java.io.tmpdir}.
 * A lock on a file in that folder, held for the JVM's life, marks the copy
 * as in use; the copy is compared with the jar's resource before it is
 * loaded, and deleted on a clean exit where the platform allows it. Windows
 * keeps a loaded DLL, so a later load removes such folders once their lock
 * is free.
 */
final class ExtractedLibrary {

    private static final String FOLDER_PREFIX = NativeLibrary.NAME + "-";
    private static final String LOCK_FILE = NativeLibrary.NAME + ".lock";
    private static final String ADVICE = "; set " + NativeLibrary.TMPDIR_PROPERTY
            + " to a folder where this user may write and load libraries, or "
            + NativeLibrary.LIBRARY_PATH_PROPERTY + " to a copy of the library";

    private ExtractedLibrary() {
    }

    static void load(String fileName, byte[] library) {
        Path base = baseFolder();
        removeAbandonedCopies(base);
        Path folder = createFolder(base);
        Path copy = folder.resolve(fileName);
        FileChannel lock = null;
        try {
            lock = lockFolder(folder);
            Files.write(copy, library, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
        } catch (IOException e) {
            remove(folder, copy, lock);
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot write the library into " + folder
                    + " (" + e + ")" + ADVICE, e);
        }
        try {
            checkCopy(library, copy);
            System.load(copy.toString());
        } catch (UnsatisfiedLinkError refused) {
            remove(folder, copy, lock);
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot load the copy in " + folder
                    + " (" + refused.getMessage() + ")" + ADVICE, refused);
        }
        FileChannel held = lock;
        // The registered hook keeps the channel, and so the lock, reachable
        // until the JVM ends.
        Runtime.getRuntime().addShutdownHook(
                new Thread(() -> remove(folder, copy, held), NativeLibrary.NAME + " cleanup"));
    }

    /** Refuses a copy that differs from the library read from the jar. */
    static void checkCopy(byte[] library, Path copy) {
        byte[] written;
        try {
            written = Files.readAllBytes(copy);
        } catch (IOException e) {
            throw NativeLibrary.linkError("cannot read back " + copy + ": " + e, e);
        }
        if (!Arrays.equals(library, written)) {
            throw new UnsatisfiedLinkError(copy + " does not match the library in the jar (" + written.length
                    + " bytes written, " + library.length + " in the jar)");
        }
    }

    private static Path baseFolder() {
        String configured = System.getProperty(NativeLibrary.TMPDIR_PROPERTY);
        String folder = configured != null ? configured : System.getProperty("java.io.tmpdir", "");
        String source = configured != null ? NativeLibrary.TMPDIR_PROPERTY : "java.io.tmpdir";
        if (folder.trim().isEmpty()) {
            throw new UnsatisfiedLinkError(NativeLibrary.NAME + ": " + source + " names no folder" + ADVICE);
        }
        try {
            return Paths.get(folder);
        } catch (InvalidPathException e) {
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": " + source + "=" + folder + " is not a path" + ADVICE, e);
        }
    }

    private static Path createFolder(Path base) {
        try {
            if (base.getFileSystem().supportedFileAttributeViews().contains("posix")) {
                return Files.createTempDirectory(base, FOLDER_PREFIX,
                        PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------")));
            }
            return Files.createTempDirectory(base, FOLDER_PREFIX);
        } catch (IOException | SecurityException e) {
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot create a folder for the library in " + base
                    + " (" + e + ")" + ADVICE, e);
        }
    }

    private static FileChannel lockFolder(Path folder) throws IOException {
        FileChannel channel = FileChannel.open(folder.resolve(LOCK_FILE),
                StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
        try {
            channel.lock();
            return channel;
        } catch (IOException | RuntimeException e) {
            channel.close();
            throw e;
        }
    }

    /** Removes the folders of loads whose JVM has ended; touches nothing else. */
    private static void removeAbandonedCopies(Path base) {
        try (DirectoryStream<Path> folders = Files.newDirectoryStream(base, FOLDER_PREFIX + "*")) {
            for (Path folder : folders) {
                removeIfAbandoned(folder);
            }
        } catch (IOException | DirectoryIteratorException | SecurityException unreadable) {
            // Abandoned copies only cost disk space.
        }
    }

    private static void removeIfAbandoned(Path folder) {
        try {
            BasicFileAttributes attributes =
                    Files.readAttributes(folder, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
            if (!attributes.isDirectory() || attributes.isSymbolicLink() || attributes.isOther()) {
                return;
            }
            Path lockFile = folder.resolve(LOCK_FILE);
            try (FileChannel channel = FileChannel.open(lockFile, StandardOpenOption.WRITE, LinkOption.NOFOLLOW_LINKS)) {
                FileLock lock = channel.tryLock();
                if (lock == null) {
                    return;
                }
                // A copy is written only after its JVM has taken the lock, so
                // a free lock beside a copy means that JVM has ended. Without
                // a copy, the folder may be one that is still being set up.
                if (!deleteCopy(folder)) {
                    return;
                }
                Files.delete(lockFile);
            }
            Files.delete(folder);
        } catch (IOException | OverlappingFileLockException | SecurityException | UnsupportedOperationException
                inUseOrNotOurs) {
            // Another JVM's, another user's, or gone meanwhile.
        }
    }

    private static boolean deleteCopy(Path folder) throws IOException {
        boolean deleted = false;
        for (String name : NativeLibrary.FILE_NAMES) {
            deleted |= Files.deleteIfExists(folder.resolve(name));
        }
        return deleted;
    }

    /** What a clean exit can delete: all of it where the platform lets a loaded library go. */
    private static void remove(Path folder, Path copy, FileChannel lock) {
        try {
            Files.deleteIfExists(copy);
            Files.deleteIfExists(folder.resolve(LOCK_FILE));
            if (lock != null) {
                lock.close();
            }
            Files.deleteIfExists(folder);
        } catch (IOException stillLoaded) {
            // Windows keeps the DLL until the process ends: the lock goes
            // with the process, and a later load removes the folder.
        }
    }
}
