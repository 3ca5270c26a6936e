// The DLL as the JVM meets it: loadable, exporting exactly the five natives
// under the names the JVM looks up, and naming itself for the loader.
#include "fake_jni.h"
#include "wedge_library.h"
#include "wedge_natives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace wedge_test {
namespace {

struct ExportDirectory {
    std::string libraryName;
    std::vector<std::string> names;
    DWORD functionCount = 0;
};

// Reads the loaded module's export directory straight from its PE image.
ExportDirectory readExportDirectory(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ExportDirectory result;
    if (entry.VirtualAddress == 0) {
        return result;
    }
    const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    result.libraryName = reinterpret_cast<const char*>(base + directory->Name);
    result.functionCount = directory->NumberOfFunctions;
    const auto* nameAddresses = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
    for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
        result.names.emplace_back(reinterpret_cast<const char*>(base + nameAddresses[i]));
    }
    return result;
}

std::vector<std::string> expectedExportNames() {
    std::vector<std::string> names;
    for (const Export method : AllExports) {
        names.push_back(exportedName(method));
    }
    return names;
}

TEST(LibraryBoundary, LoadsAndResolvesEveryNativeByTheJvmName) {
    WedgeLibrary library;
    ASSERT_NE(library.module(), nullptr) << "LoadLibraryW failed with error " << GetLastError();
    std::vector<FARPROC> addresses;
    for (const Export method : AllExports) {
        const FARPROC address = library.address(method);
        EXPECT_NE(address, nullptr) << exportedName(method);
        addresses.push_back(address);
    }
    // Five distinct functions, not one entry point under five names.
    std::sort(addresses.begin(), addresses.end());
    EXPECT_EQ(std::unique(addresses.begin(), addresses.end()), addresses.end());
}

TEST(LibraryBoundary, ExportDirectoryListsExactlyTheFiveNatives) {
    WedgeLibrary library;
    ASSERT_NE(library.module(), nullptr);
    const ExportDirectory directory = readExportDirectory(library.module());
    EXPECT_EQ(directory.libraryName, "kavo_emulator_scanner.dll");
    std::vector<std::string> listed = directory.names;
    std::vector<std::string> expected = expectedExportNames();
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(directory.functionCount, 5u);
}

#if !defined(_WIN64)
// A JVM on x86 tries the decorated name; the plain one must not also be
// there, or two names would lead to the same native.
TEST(LibraryBoundary, DoesNotExportUndecoratedNamesOnX86) {
    WedgeLibrary library;
    ASSERT_NE(library.module(), nullptr);
    EXPECT_EQ(GetProcAddress(library.module(), "Java_kavo_emulator_scanner_jni_Wedge_sendText"), nullptr);
    EXPECT_EQ(GetProcAddress(library.module(), "Java_kavo_emulator_scanner_jni_Wedge_sendText@12"), nullptr);
}
#endif

TEST(LibraryBoundary, FreshLibraryHasNoErrorMessage) {
    WedgeNatives natives;
    ASSERT_TRUE(natives.ready());
    EXPECT_EQ(natives.getLastErrorMessage(), std::nullopt);
    EXPECT_FALSE(natives.jni().exceptionPending());
}

TEST(LibraryBoundary, SetWindowWithoutAListIsRefusedAndLeavesNoErrorMessage) {
    WedgeNatives natives;
    ASSERT_TRUE(natives.ready());
    EXPECT_FALSE(natives.setWindow(0));
    EXPECT_EQ(natives.getLastErrorMessage(), std::nullopt);
}

TEST(LibraryBoundary, SendTextWithoutTargetReportsIt) {
    WedgeNatives natives;
    ASSERT_TRUE(natives.ready());
    EXPECT_FALSE(natives.sendText(bytesOf("x")));
    EXPECT_EQ(natives.getLastErrorMessage(), std::u16string(u"Target application is not set"));
    // A null array is not looked at before the target is.
    EXPECT_FALSE(natives.sendNullText());
    EXPECT_EQ(natives.getLastErrorMessage(), std::u16string(u"Target application is not set"));
}

TEST(LibraryBoundary, EachLoadStartsWithFreshState) {
    {
        WedgeNatives natives;
        ASSERT_TRUE(natives.ready());
        EXPECT_FALSE(natives.sendText(bytesOf("x")));
        ASSERT_TRUE(natives.getLastErrorMessage().has_value());
    }
    WedgeNatives reloaded;
    ASSERT_TRUE(reloaded.ready());
    EXPECT_EQ(reloaded.getLastErrorMessage(), std::nullopt);
}

}  // namespace
}  // namespace wedge_test
