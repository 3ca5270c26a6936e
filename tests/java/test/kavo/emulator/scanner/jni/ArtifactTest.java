package kavo.emulator.scanner.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.IOException;
import java.io.PrintStream;
import java.lang.module.ModuleDescriptor;
import java.lang.module.ModuleFinder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.Set;
import java.util.jar.JarEntry;
import java.util.jar.JarFile;
import java.util.spi.ToolProvider;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/** The jar as Java 8 JVMs, the module system and jlink see it. */
class ArtifactTest {

    private static final Path JAR = Paths.get(ChildJvm.locationOf(Wedge.class));
    private static final String MODULE = "kavo.emulator.scanner";

    @Test
    void theClassesAreForJava8AndTheDescriptorForJava9() throws IOException {
        List<String> classes = new ArrayList<>();
        try (JarFile jar = new JarFile(JAR.toFile())) {
            assertEquals("true", jar.getManifest().getMainAttributes().getValue("Multi-Release"));
            for (JarEntry entry : Collections.list(jar.entries())) {
                if (entry.getName().endsWith(".class")) {
                    try (DataInputStream in = new DataInputStream(jar.getInputStream(entry))) {
                        assertEquals(0xCAFEBABE, in.readInt(), entry.getName());
                        in.readUnsignedShort();
                        classes.add(entry.getName() + " " + in.readUnsignedShort());
                    }
                }
            }
        }

        assertEquals(List.of(
                "META-INF/versions/9/module-info.class 53",
                "kavo/emulator/scanner/jni/ExtractedLibrary$Folder.class 52",
                "kavo/emulator/scanner/jni/ExtractedLibrary$Owners.class 52",
                "kavo/emulator/scanner/jni/ExtractedLibrary.class 52",
                "kavo/emulator/scanner/jni/NativeLibrary.class 52",
                "kavo/emulator/scanner/jni/Wedge.class 52"),
                classes.stream().sorted().collect(Collectors.toList()));
        ModuleDescriptor module = ModuleFinder.of(JAR).find(MODULE).orElseThrow().descriptor();
        assertEquals(Set.of("kavo.emulator.scanner.jni"),
                module.exports().stream().map(ModuleDescriptor.Exports::source).collect(Collectors.toSet()));
    }

    @Test
    void jlinkBuildsAnImageHoldingTheModule(@TempDir Path work) throws Exception {
        Path image = work.resolve("image");
        ByteArrayOutputStream messages = new ByteArrayOutputStream();
        PrintStream out = new PrintStream(messages, true, StandardCharsets.UTF_8);

        int status = ToolProvider.findFirst("jlink").orElseThrow().run(out, out,
                "--module-path", JAR.toString(), "--add-modules", MODULE, "--output", image.toString());

        assertEquals(0, status, messages.toString(StandardCharsets.UTF_8));
        Process java = new ProcessBuilder(image.resolve("bin/java").toString(), "--list-modules")
                .redirectErrorStream(true).start();
        String modules = new String(java.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, java.waitFor());
        assertTrue(modules.lines().anyMatch(line -> line.split("@")[0].equals(MODULE)), modules);
    }
}
