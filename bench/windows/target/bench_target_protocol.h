// What the benchmarks and their target application agree on.
#pragma once

#include <windows.h>

namespace wedge_bench_target {

inline constexpr wchar_t WindowClass[] = L"WedgeBenchWindow";
inline constexpr wchar_t EditorClass[] = L"WedgeBenchEditor";
inline constexpr int EditId = 1;

}  // namespace wedge_bench_target
