package kavo.emulator.scanner.jni;

import java.io.ByteArrayOutputStream;
import java.io.Closeable;
import java.io.FileInputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.ByteBuffer;
import java.nio.channels.Channels;
import java.nio.channels.FileChannel;
import java.nio.channels.FileLock;
import java.nio.channels.OverlappingFileLockException;
import java.nio.channels.SeekableByteChannel;
import java.nio.charset.StandardCharsets;
import java.nio.file.DirectoryIteratorException;
import java.nio.file.DirectoryStream;
import java.nio.file.FileSystem;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.LinkOption;
import java.nio.file.NoSuchFileException;
import java.nio.file.OpenOption;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.SecureDirectoryStream;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.AclEntry;
import java.nio.file.attribute.AclEntryFlag;
import java.nio.file.attribute.AclEntryPermission;
import java.nio.file.attribute.AclEntryType;
import java.nio.file.attribute.AclFileAttributeView;
import java.nio.file.attribute.BasicFileAttributeView;
import java.nio.file.attribute.BasicFileAttributes;
import java.nio.file.attribute.GroupPrincipal;
import java.nio.file.attribute.PosixFileAttributeView;
import java.nio.file.attribute.PosixFileAttributes;
import java.nio.file.attribute.PosixFilePermission;
import java.nio.file.attribute.PosixFilePermissions;
import java.nio.file.attribute.UserPrincipal;
import java.nio.file.attribute.UserPrincipalLookupService;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.EnumSet;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import java.util.concurrent.ThreadLocalRandom;

/**
 * The jar's copy of the library, extracted for one load into a folder of its
 * own under {@value NativeLibrary#TMPDIR_PROPERTY} or {@code java.io.tmpdir},
 * so that no other user can choose what is loaded or what is deleted:
 * <ul>
 * <li>That base folder is refused when another user could rename what is in
 * it: on POSIX systems, when it or a folder above it is owned by a user other
 * than this one or root, or can be written by others without being sticky;
 * on Windows, when its owner is another user.</li>
 * <li>The load's folder is created readable and writable by this user only,
 * and is then used through a handle on it where the platform has one (the
 * lock, the copy, the read-back check and the cleanup), never again looked up
 * by path. {@code System.load} takes a path, so just before and just after
 * it, that path must still lead to the very folder and file written.</li>
 * <li>A lock on a file in the folder, held for the JVM's life, marks the copy
 * as in use. A clean exit deletes the folder where the platform allows it;
 * Windows keeps a loaded DLL, so a later load removes such folders once their
 * lock is free. That cleanup looks at a few folders per load, only at
 * owner-only folders of this user named as this class names them, opens
 * nothing but regular files of this user, and never a lock file of a folder
 * that this JVM uses, since closing it would drop the JVM's lock.</li>
 * </ul>
 * Test hook: with the system property {@value #PAUSE_PROPERTY} naming a file
 * that does not exist, the load writes the folder's path into that file just
 * before its last checks and waits, at most 30 s, for the file to go.
 */
final class ExtractedLibrary {

    static final String PAUSE_PROPERTY = "kavo.emulator.scanner.test.pause";

    private static final String FOLDER_PREFIX = NativeLibrary.NAME + "-";
    private static final String LOCK_FILE = NativeLibrary.NAME + ".lock";
    private static final String ADVICE = "; set " + NativeLibrary.TMPDIR_PROPERTY
            + " to a folder that only this user can write and where libraries may be loaded, or "
            + NativeLibrary.LIBRARY_PATH_PROPERTY + " to a copy of the library";
    /**
     * The folders that this JVM's loads use, as a system property, and the
     * monitor that guards it: both are the same for every class loader that
     * loads this class (string literals are interned JVM-wide), where a
     * static field would not be.
     */
    private static final String LIVE_FOLDERS = "kavo.emulator.scanner.extracted";
    private static final char SEPARATOR = '\0';
    /** What one load spends at most on other loads' leftovers. */
    private static final int ENTRIES_READ = 10_000;
    private static final int FOLDERS_EXAMINED = 8;
    private static final Set<PosixFilePermission> OWNER_ONLY = PosixFilePermissions.fromString("rwx------");

    private ExtractedLibrary() {
    }

    static void load(String fileName, byte[] library) {
        Owners owners = Owners.ofThisProcess();
        Folder base = openBase(owners);
        removeAbandonedCopies(base, owners);
        Folder folder;
        try {
            folder = createFolder(base, owners);
        } catch (IOException | RuntimeException e) {
            remove(base, null, fileName, null);
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot create a folder for the library in "
                    + base.path + " (" + e + ")" + ADVICE, e);
        }
        FileChannel lock = null;
        try {
            lock = lockFolder(folder);
            write(folder, fileName, library);
        } catch (IOException | RuntimeException e) {
            remove(base, folder, fileName, lock);
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot write the library into " + folder.path
                    + " (" + e + ")" + ADVICE, e);
        }
        Path copy = folder.path.resolve(fileName);
        // Held open until the library is loaded: Windows then refuses to
        // rename or delete the copy.
        try (InputStream held = folder.openForReading(fileName)) {
            checkCopy(library, copy, held);
            pauseForTest(folder.path);
            checkStillOurs(base, folder, fileName, owners);
            System.load(copy.toString());
            checkStillOurs(base, folder, fileName, owners);
        } catch (IOException | UnsatisfiedLinkError | SecurityException refused) {
            remove(base, folder, fileName, lock);
            String reason = refused instanceof UnsatisfiedLinkError ? refused.getMessage() : refused.toString();
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot load the copy in " + folder.path
                    + " (" + reason + ")" + ADVICE, refused);
        }
        Folder ours = folder;
        FileChannel held = lock;
        // The registered hook keeps the handles, and so the lock, reachable
        // until the JVM ends.
        Runtime.getRuntime().addShutdownHook(
                new Thread(() -> remove(base, ours, fileName, held), NativeLibrary.NAME + " cleanup"));
    }

    /** Refuses a copy that differs from the library read from the jar. */
    static void checkCopy(byte[] library, Path copy, InputStream in) {
        byte[] written;
        try {
            ByteArrayOutputStream bytes = new ByteArrayOutputStream();
            byte[] buffer = new byte[8192];
            for (int count = in.read(buffer); count >= 0; count = in.read(buffer)) {
                bytes.write(buffer, 0, count);
            }
            written = bytes.toByteArray();
        } catch (IOException e) {
            throw NativeLibrary.linkError("cannot read back " + copy + ": " + e, e);
        }
        if (!Arrays.equals(library, written)) {
            throw new UnsatisfiedLinkError(copy + " does not match the library in the jar (" + written.length
                    + " bytes written, " + library.length + " in the jar)");
        }
    }

    /** The base folder, checked and opened; refused when another user could swap what is in it. */
    private static Folder openBase(Owners owners) {
        String configured = System.getProperty(NativeLibrary.TMPDIR_PROPERTY);
        String value = configured != null ? configured : System.getProperty("java.io.tmpdir", "");
        String source = configured != null ? NativeLibrary.TMPDIR_PROPERTY : "java.io.tmpdir";
        if (value.trim().isEmpty()) {
            throw new UnsatisfiedLinkError(NativeLibrary.NAME + ": " + source + " names no folder" + ADVICE);
        }
        Path named;
        try {
            named = Paths.get(value);
        } catch (InvalidPathException e) {
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": " + source + "=" + value + " is not a path" + ADVICE, e);
        }
        Path real;
        BasicFileAttributes attributes;
        try {
            real = named.toRealPath();
            attributes = Files.readAttributes(real, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
        } catch (IOException | SecurityException e) {
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot create a folder for the library in " + named
                    + " (" + e + ")" + ADVICE, e);
        }
        if (!attributes.isDirectory()) {
            throw new UnsatisfiedLinkError(NativeLibrary.NAME + ": cannot create a folder for the library in " + named
                    + " (not a folder)" + ADVICE);
        }
        String unsafe;
        try {
            unsafe = owners.unsafeBase(real);
        } catch (IOException | SecurityException | UnsupportedOperationException e) {
            unsafe = "its owner and permissions cannot be read: " + e;
        }
        if (unsafe != null) {
            throw new UnsatisfiedLinkError(NativeLibrary.NAME + ": will not extract the library into " + named
                    + " (" + unsafe + ")" + ADVICE);
        }
        try {
            Folder base = Folder.open(real);
            if (!sameFile(attributes, base.attributes())) {
                base.close();
                throw new IOException(real + " changed while it was checked");
            }
            return base;
        } catch (IOException | SecurityException e) {
            throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot create a folder for the library in " + named
                    + " (" + e + ")" + ADVICE, e);
        }
    }

    private static Folder createFolder(Folder base, Owners owners) throws IOException {
        Path created = owners.posix
                ? Files.createTempDirectory(base.path, FOLDER_PREFIX, PosixFilePermissions.asFileAttribute(OWNER_ONLY))
                : Files.createTempDirectory(base.path, FOLDER_PREFIX);
        String name = created.getFileName().toString();
        synchronized (LIVE_FOLDERS) {
            setLive(base.path.resolve(name), true);
        }
        try {
            if (!owners.posix) {
                restrictToOwner(created);
            }
            Folder folder = base.openChild(name, owners.self);
            if (folder == null) {
                throw new IOException(created + " is not the folder just created");
            }
            String wrong = owners.wrongFolder(folder);
            if (wrong != null) {
                folder.close();
                throw new IOException(created + " is not the folder just created: " + wrong);
            }
            return folder;
        } catch (IOException | RuntimeException e) {
            synchronized (LIVE_FOLDERS) {
                setLive(base.path.resolve(name), false);
            }
            throw e;
        }
    }

    /** Windows: the folder inherits its parent's access list; this one lets only its owner in. */
    private static void restrictToOwner(Path folder) throws IOException {
        AclFileAttributeView acl = Files.getFileAttributeView(folder, AclFileAttributeView.class,
                LinkOption.NOFOLLOW_LINKS);
        if (acl == null) {
            return;
        }
        UserPrincipal owner = acl.getOwner();
        acl.setAcl(Collections.singletonList(AclEntry.newBuilder()
                .setType(AclEntryType.ALLOW)
                .setPrincipal(owner)
                .setPermissions(EnumSet.allOf(AclEntryPermission.class))
                .setFlags(AclEntryFlag.FILE_INHERIT, AclEntryFlag.DIRECTORY_INHERIT)
                .build()));
    }

    private static FileChannel lockFolder(Folder folder) throws IOException {
        FileChannel channel = folder.channel(LOCK_FILE, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
        try {
            if (channel.tryLock() == null) {
                throw new IOException(folder.path.resolve(LOCK_FILE) + " is locked by another process");
            }
            return channel;
        } catch (IOException | RuntimeException e) {
            channel.close();
            throw e;
        }
    }

    private static void write(Folder folder, String fileName, byte[] library) throws IOException {
        try (FileChannel channel = folder.channel(fileName, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE)) {
            ByteBuffer bytes = ByteBuffer.wrap(library);
            while (bytes.hasRemaining()) {
                channel.write(bytes);
            }
        }
    }

    /**
     * {@code System.load} finds the copy by path: refuses it unless that path
     * leads to the folder and the file that were written and checked, and
     * nobody but this user (and root) can change that.
     */
    private static void checkStillOurs(Folder base, Folder folder, String fileName, Owners owners) throws IOException {
        String wrong = owners.unsafeBase(base.path);
        if (wrong == null && !sameFile(base.attributes(),
                Files.readAttributes(base.path, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS))) {
            wrong = base.path + " is no longer the folder that was checked";
        }
        if (wrong == null && !sameFile(folder.attributes(),
                Files.readAttributes(folder.path, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS))) {
            wrong = folder.path + " is no longer the folder the library was written into";
        }
        if (wrong == null) {
            wrong = owners.wrongFolder(folder);
        }
        Path copy = folder.path.resolve(fileName);
        if (wrong == null) {
            BasicFileAttributes written = folder.attributes(fileName);
            if (written == null || !written.isRegularFile() || !sameFile(written,
                    Files.readAttributes(copy, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS))) {
                wrong = copy + " is no longer the file that was written and checked";
            }
        }
        if (wrong != null) {
            throw new UnsatisfiedLinkError(wrong);
        }
    }

    /** Same file when the platform tells identities; same type and times where it does not. */
    private static boolean sameFile(BasicFileAttributes a, BasicFileAttributes b) {
        if (a.fileKey() != null || b.fileKey() != null) {
            return a.fileKey() != null && a.fileKey().equals(b.fileKey());
        }
        return a.isDirectory() == b.isDirectory() && a.isRegularFile() == b.isRegularFile()
                && a.creationTime().equals(b.creationTime());
    }

    private static void pauseForTest(Path folder) {
        String signal = System.getProperty(PAUSE_PROPERTY);
        if (signal == null) {
            return;
        }
        try {
            Path file = Paths.get(signal);
            Files.write(file, folder.toString().getBytes(StandardCharsets.UTF_8), StandardOpenOption.CREATE_NEW,
                    StandardOpenOption.WRITE);
            long end = System.nanoTime() + 30_000_000_000L;
            while (Files.exists(file, LinkOption.NOFOLLOW_LINKS) && System.nanoTime() < end) {
                Thread.sleep(10);
            }
        } catch (IOException | InvalidPathException e) {
            // A test hook: without its file, there is nothing to wait for.
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
    }

    /**
     * Removes the folders of loads whose JVM has ended, a few per load: the
     * folders are picked at random among the first {@value #ENTRIES_READ}
     * entries, so that however many decoys there are, the work is bounded
     * and real leftovers still go in time.
     */
    private static void removeAbandonedCopies(Folder base, Owners owners) {
        List<String> picked = new ArrayList<>();
        int seen = 0;
        int read = 0;
        try (DirectoryStream<Path> entries = base.list()) {
            for (Path entry : entries) {
                if (++read > ENTRIES_READ) {
                    break;
                }
                String name = entry.getFileName().toString();
                if (!isFolderName(name)) {
                    continue;
                }
                seen++;
                if (picked.size() < FOLDERS_EXAMINED) {
                    picked.add(name);
                } else {
                    int slot = ThreadLocalRandom.current().nextInt(seen);
                    if (slot < FOLDERS_EXAMINED) {
                        picked.set(slot, name);
                    }
                }
            }
        } catch (IOException | DirectoryIteratorException | SecurityException unreadable) {
            // Abandoned copies only cost disk space.
        }
        // Held throughout, so that no class loader of this JVM sets up a
        // folder between the look at the live ones and the lock file's close.
        synchronized (LIVE_FOLDERS) {
            for (String name : picked) {
                if (!isLive(base.path.resolve(name))) {
                    removeIfAbandoned(base, name, owners);
                }
            }
        }
    }

    /** The names {@link Files#createTempDirectory} gives: the prefix, then a number. */
    private static boolean isFolderName(String name) {
        if (!name.startsWith(FOLDER_PREFIX) || name.length() == FOLDER_PREFIX.length()) {
            return false;
        }
        for (int i = FOLDER_PREFIX.length(); i < name.length(); i++) {
            if (name.charAt(i) < '0' || name.charAt(i) > '9') {
                return false;
            }
        }
        return true;
    }

    private static void removeIfAbandoned(Folder base, String name, Owners owners) {
        try (Folder folder = base.openChild(name, owners.self)) {
            if (folder == null || owners.wrongFolder(folder) != null || !owners.isOwnRegularFile(folder, LOCK_FILE)) {
                return;
            }
            List<String> copies = new ArrayList<>();
            for (String fileName : NativeLibrary.FILE_NAMES) {
                if (owners.isOwnRegularFile(folder, fileName)) {
                    copies.add(fileName);
                }
            }
            // A copy is written only after its JVM has taken the lock, so a
            // free lock beside a copy means that JVM has ended. Without a
            // copy, the folder may be one that is still being set up.
            if (copies.isEmpty()) {
                return;
            }
            try (FileChannel channel = folder.channel(LOCK_FILE, StandardOpenOption.WRITE)) {
                FileLock lock = channel.tryLock();
                if (lock == null) {
                    return;
                }
                for (String fileName : copies) {
                    folder.delete(fileName);
                }
                folder.delete(LOCK_FILE);
            }
            base.deleteChild(name, folder);
        } catch (IOException | OverlappingFileLockException | SecurityException | UnsupportedOperationException
                inUseOrNotOurs) {
            // Another JVM's, another user's, or gone meanwhile.
        }
    }

    /** What a clean exit can delete: all of it where the platform lets a loaded library go. */
    private static void remove(Folder base, Folder folder, String fileName, FileChannel lock) {
        try {
            if (folder != null) {
                try {
                    folder.delete(fileName);
                    folder.delete(LOCK_FILE);
                    if (lock != null) {
                        lock.close();
                    }
                    base.deleteChild(folder.path.getFileName().toString(), folder);
                } finally {
                    synchronized (LIVE_FOLDERS) {
                        setLive(folder.path, false);
                    }
                    folder.close();
                }
            }
        } catch (IOException | SecurityException stillLoaded) {
            // Windows keeps the DLL until the process ends: the lock goes
            // with the process, and a later load removes the folder.
        } finally {
            try {
                base.close();
            } catch (IOException ignored) {
                // Only a handle.
            }
        }
    }

    private static boolean isLive(Path folder) {
        String live = System.getProperty(LIVE_FOLDERS, "");
        return Arrays.asList(live.split(String.valueOf(SEPARATOR))).contains(folder.toString());
    }

    private static void setLive(Path folder, boolean live) {
        String value = System.getProperty(LIVE_FOLDERS, "");
        List<String> folders = new ArrayList<>(Arrays.asList(value.split(String.valueOf(SEPARATOR))));
        folders.remove("");
        folders.remove(folder.toString());
        if (live) {
            folders.add(folder.toString());
        }
        StringBuilder joined = new StringBuilder();
        for (String each : folders) {
            joined.append(joined.length() == 0 ? "" : String.valueOf(SEPARATOR)).append(each);
        }
        System.setProperty(LIVE_FOLDERS, joined.toString());
    }

    /** Who may own what the loader uses: this user, and those who can do anything anyway. */
    private static final class Owners {

        final boolean posix;
        final UserPrincipal self;
        private final UserPrincipal root;

        private Owners(boolean posix, UserPrincipal self, UserPrincipal root) {
            this.posix = posix;
            this.self = self;
            this.root = root;
        }

        static Owners ofThisProcess() {
            FileSystem files = Paths.get("").getFileSystem();
            boolean posix = files.supportedFileAttributeViews().contains("posix");
            UserPrincipalLookupService users = files.getUserPrincipalLookupService();
            try {
                if (posix) {
                    // By number where the system tells it: user.name is a
                    // property anyone can set; a number that names no user
                    // is looked up as the number itself.
                    String uid = effectiveUid();
                    return new Owners(true,
                            users.lookupPrincipalByName(uid != null ? uid : System.getProperty("user.name", "")),
                            users.lookupPrincipalByName("0"));
                }
                return new Owners(false, users.lookupPrincipalByName(System.getProperty("user.name", "")), null);
            } catch (IOException | SecurityException | UnsupportedOperationException e) {
                throw NativeLibrary.linkError(NativeLibrary.NAME + ": cannot tell which user this JVM runs as (" + e
                        + ")" + ADVICE, e);
            }
        }

        /** Linux's record of the effective user id; null elsewhere. */
        private static String effectiveUid() throws IOException {
            Path status = Paths.get("/proc/self/status");
            if (!Files.isReadable(status)) {
                return null;
            }
            for (String line : Files.readAllLines(status, StandardCharsets.US_ASCII)) {
                String[] fields = line.trim().split("\\s+");
                if (fields[0].equals("Uid:") && fields.length > 2) {
                    return fields[2];
                }
            }
            return null;
        }

        /**
         * Why another user could rename or replace what is in the folder, or
         * null when nobody but this user and root can.
         */
        String unsafeBase(Path real) throws IOException {
            if (!posix) {
                // Windows: the owner only. Another user's folder is theirs
                // to rearrange; ours or a group's (Administrators, SYSTEM)
                // is not, and each load's folder shuts others out itself.
                UserPrincipal owner = Files.getOwner(real, LinkOption.NOFOLLOW_LINKS);
                return isTrusted(owner) ? null : real + " belongs to " + owner.getName();
            }
            // Every folder on the way: whoever can rename one of them can put
            // another tree in its place.
            for (Path folder = real; folder != null; folder = folder.getParent()) {
                PosixFileAttributes attributes =
                        Files.readAttributes(folder, PosixFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
                if (!isTrusted(attributes.owner())) {
                    return folder + " belongs to " + attributes.owner().getName();
                }
                Set<PosixFilePermission> permissions = attributes.permissions();
                boolean othersWrite = permissions.contains(PosixFilePermission.GROUP_WRITE)
                        || permissions.contains(PosixFilePermission.OTHERS_WRITE);
                if (othersWrite && !isSticky(folder)) {
                    return folder + " can be written by other users and is not sticky";
                }
            }
            return null;
        }

        /** Why the folder is not one this loader made for this user, or null. */
        String wrongFolder(Folder folder) throws IOException {
            BasicFileAttributes attributes = folder.attributes();
            if (!attributes.isDirectory() || attributes.isSymbolicLink() || attributes.isOther()) {
                return "not a plain folder";
            }
            UserPrincipal owner = folder.owner();
            if (posix ? !owner.equals(self) : !isTrusted(owner)) {
                return "it belongs to " + owner.getName();
            }
            if (posix && !OWNER_ONLY.containsAll(((PosixFileAttributes) attributes).permissions())) {
                return "others may use it";
            }
            return null;
        }

        boolean isOwnRegularFile(Folder folder, String name) throws IOException {
            BasicFileAttributes attributes = folder.attributes(name);
            return attributes != null && attributes.isRegularFile() && isTrusted(folder.owner(name));
        }

        private boolean isTrusted(UserPrincipal owner) {
            if (posix) {
                return owner.equals(self) || owner.equals(root);
            }
            // Only an administrator can give a file to a group.
            return owner.equals(self) || owner instanceof GroupPrincipal;
        }

        private static boolean isSticky(Path folder) {
            try {
                return (((Integer) Files.getAttribute(folder, "unix:mode", LinkOption.NOFOLLOW_LINKS)) & 01000) != 0;
            } catch (IOException | UnsupportedOperationException | IllegalArgumentException | ClassCastException e) {
                return false;
            }
        }
    }

    /**
     * A folder reached through a handle on it where the platform has one
     * ({@link SecureDirectoryStream}), so that what is done in it stays in
     * it whatever happens to its path; by path where it has none (Windows).
     */
    private static final class Folder implements Closeable {

        final Path path;
        private final SecureDirectoryStream<Path> handle;

        private Folder(Path path, SecureDirectoryStream<Path> handle) {
            this.path = path;
            this.handle = handle;
        }

        static Folder open(Path path) throws IOException {
            DirectoryStream<Path> stream = Files.newDirectoryStream(path);
            if (stream instanceof SecureDirectoryStream) {
                return new Folder(path, (SecureDirectoryStream<Path>) stream);
            }
            stream.close();
            return new Folder(path, null);
        }

        /**
         * The child folder, or null when it is not a folder of {@code owner}.
         * Opened only once type and owner are known: another user's entry
         * could become a FIFO before the open, which would then block.
         */
        Folder openChild(String name, UserPrincipal owner) throws IOException {
            BasicFileAttributes seen = attributes(name);
            if (seen == null || !seen.isDirectory() || seen.isSymbolicLink() || seen.isOther()
                    || (seen instanceof PosixFileAttributes && !((PosixFileAttributes) seen).owner().equals(owner))) {
                return null;
            }
            Folder child = handle == null ? new Folder(path.resolve(name), null)
                    : new Folder(path.resolve(name), handle.newDirectoryStream(relative(name), LinkOption.NOFOLLOW_LINKS));
            if (!sameFile(seen, child.attributes())) {
                child.close();
                return null;
            }
            return child;
        }

        DirectoryStream<Path> list() throws IOException {
            // The stream's own entries; the handle itself stays for later use.
            return Files.newDirectoryStream(path);
        }

        BasicFileAttributes attributes() throws IOException {
            if (handle != null) {
                return handle.getFileAttributeView(PosixFileAttributeView.class).readAttributes();
            }
            return readByPath(path);
        }

        /** The entry's attributes, links not followed; null when there is none. */
        BasicFileAttributes attributes(String name) throws IOException {
            try {
                if (handle != null) {
                    return handle.getFileAttributeView(relative(name), PosixFileAttributeView.class,
                            LinkOption.NOFOLLOW_LINKS).readAttributes();
                }
                return readByPath(path.resolve(name));
            } catch (NoSuchFileException absent) {
                return null;
            }
        }

        UserPrincipal owner() throws IOException {
            BasicFileAttributes attributes = attributes();
            return attributes instanceof PosixFileAttributes ? ((PosixFileAttributes) attributes).owner()
                    : Files.getOwner(path, LinkOption.NOFOLLOW_LINKS);
        }

        UserPrincipal owner(String name) throws IOException {
            BasicFileAttributes attributes = attributes(name);
            return attributes instanceof PosixFileAttributes ? ((PosixFileAttributes) attributes).owner()
                    : Files.getOwner(path.resolve(name), LinkOption.NOFOLLOW_LINKS);
        }

        FileChannel channel(String name, OpenOption... options) throws IOException {
            Set<OpenOption> all = new HashSet<>(Arrays.asList(options));
            all.add(LinkOption.NOFOLLOW_LINKS);
            if (handle == null) {
                return FileChannel.open(path.resolve(name), all);
            }
            SeekableByteChannel channel = handle.newByteChannel(relative(name), all);
            if (!(channel instanceof FileChannel)) {
                channel.close();
                throw new IOException("no lockable channel for " + path.resolve(name));
            }
            return (FileChannel) channel;
        }

        InputStream openForReading(String name) throws IOException {
            if (handle == null) {
                // java.io's files are open without sharing deletion on
                // Windows: nobody can rename or replace this one meanwhile.
                return new FileInputStream(path.resolve(name).toFile());
            }
            return Channels.newInputStream(channel(name, StandardOpenOption.READ));
        }

        void delete(String name) throws IOException {
            try {
                if (handle != null) {
                    handle.deleteFile(relative(name));
                } else {
                    Files.deleteIfExists(path.resolve(name));
                }
            } catch (NoSuchFileException absent) {
                // Never written.
            }
        }

        /** Deletes the child folder when the name still leads to it. */
        void deleteChild(String name, Folder child) throws IOException {
            BasicFileAttributes now = attributes(name);
            if (now == null || !sameFile(now, child.attributes())) {
                return;
            }
            if (handle != null) {
                handle.deleteDirectory(relative(name));
            } else {
                Files.delete(path.resolve(name));
            }
        }

        private Path relative(String name) {
            return path.getFileSystem().getPath(name);
        }

        private static BasicFileAttributes readByPath(Path file) throws IOException {
            if (file.getFileSystem().supportedFileAttributeViews().contains("posix")) {
                return Files.readAttributes(file, PosixFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
            }
            return Files.readAttributes(file, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
        }

        @Override
        public void close() throws IOException {
            if (handle != null) {
                handle.close();
            }
        }
    }
}
