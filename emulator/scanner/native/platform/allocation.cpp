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

// The throwing operator new stays the runtime's: nothing calls it.
// NOLINTBEGIN(cppcoreguidelines-no-malloc,cert-dcl54-cpp,misc-new-delete-overloads): these are the allocator
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
