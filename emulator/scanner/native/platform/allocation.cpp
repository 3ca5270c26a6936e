// The shipped libraries' own allocation functions. libstdc++'s nothrow
// operator new wraps the throwing one in a try block, and linking it
// statically brought in the whole exception, RTTI and demangling machinery
// and the threads library behind them, which this library (built without
// exceptions) never uses: two thirds of the DLL, three quarters of the
// Linux library. malloc and free come from msvcrt or libc, which the
// libraries import anyway; the Linux library keeps these functions to
// itself, so they replace nothing in the JVM.
#include <cstdlib>
#include <new>

// These are the allocation functions themselves, and the throwing new they
// would pair with is the one left out on purpose.
// NOLINTBEGIN(cppcoreguidelines-no-malloc,cert-dcl54-cpp,misc-new-delete-overloads)
void* operator new(std::size_t size, const std::nothrow_t& /*unused*/) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}
// NOLINTEND(cppcoreguidelines-no-malloc,cert-dcl54-cpp,misc-new-delete-overloads)
