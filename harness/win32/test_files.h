// Files the tests load or start, found next to the running test program.
#pragma once

#include <string>

namespace wedge_test {

// The directory of the running executable, with a trailing separator.
std::wstring programDirectory();

inline std::wstring libraryPath() { return programDirectory() + L"kavo_emulator_scanner.dll"; }

inline std::wstring targetProgramPath() { return programDirectory() + L"wedge_target.exe"; }

}  // namespace wedge_test
