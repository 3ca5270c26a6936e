// The DLL's own allocation functions. libstdc++'s nothrow operator new
// wraps the throwing one in a try block, and linking it statically brought
// in the whole exception, RTTI and demangling machinery and the threads
// library behind them, which this library (built without exceptions) never
// uses: two thirds of the DLL. malloc and free come from msvcrt, which the
// DLL imports anyway.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t& /*unused*/) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}
