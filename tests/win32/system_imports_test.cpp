// What the shipped programs need from the system: the DLL and wedge.exe
// import the system DLLs they are allowed to and nothing else, read from
// their files' import directories.
#include "test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace wedge_test {
namespace {

std::vector<BYTE> fileBytes(const std::wstring& path) {
    std::vector<BYTE> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        return bytes;
    }
    BYTE chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return bytes;
}

struct Imports {
    std::set<std::string> dlls;  // upper case
    bool delayLoads = false;
    bool readable = false;
};

// The PE image's import and delay-load directories, from the file: the
// same architecture as this test program, like everything it is built with.
Imports importsOf(const std::wstring& path) {
    Imports imports;
    const std::vector<BYTE> image = fileBytes(path);
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) {
        return imports;
    }
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto ntOffset = static_cast<size_t>(dos->e_lfanew);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || ntOffset + sizeof(IMAGE_NT_HEADERS) > image.size()) {
        return imports;
    }
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + ntOffset);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC) {
        return imports;
    }
    // The section table follows the optional header, whatever its size.
    const size_t sectionsAt =
        ntOffset + offsetof(IMAGE_NT_HEADERS, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader;
    if (sectionsAt + nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER) > image.size()) {
        return imports;
    }
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(image.data() + sectionsAt);
    const auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            const DWORD size = std::max(section.SizeOfRawData, section.Misc.VirtualSize);
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
                return rva - section.VirtualAddress + section.PointerToRawData;
            }
        }
        return image.size();
    };
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (size_t at = fileOffset(directory.VirtualAddress); at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (descriptor->Name == 0) {
            imports.readable = true;
            break;
        }
        const size_t name = fileOffset(descriptor->Name);
        std::string dll;
        for (size_t i = name; i < image.size() && image[i] != 0; ++i) {
            dll.push_back(static_cast<char>(std::toupper(image[i])));
        }
        imports.dlls.insert(dll);
    }
    imports.delayLoads = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress != 0;
    return imports;
}

TEST(SystemImports, TheDllAndWedgeExeImportOnlyTheAllowedSystemDlls) {
    const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "MSVCRT.DLL", "ADVAPI32.DLL"};
    for (const std::wstring& path : {libraryPath(), programDirectory() + L"wedge.exe"}) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        const Imports imports = importsOf(path);
        ASSERT_TRUE(imports.readable) << "no import directory could be read";
        EXPECT_EQ(imports.dlls.count("KERNEL32.DLL"), 1u);
        for (const std::string& dll : imports.dlls) {
            EXPECT_EQ(allowed.count(dll), 1u) << "imports " << dll;
        }
        EXPECT_FALSE(imports.delayLoads);
    }
}

}  // namespace
}  // namespace wedge_test
