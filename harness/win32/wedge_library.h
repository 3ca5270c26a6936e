// The DLL under test, loaded from beside the test program, and its exports
// under the names the JVM looks them up by.
#pragma once

#include <windows.h>

#include <string>

namespace wedge_test {

enum class Export { GetWindows, SetWindow, SendText, GetLastErrorMessage, Destroy };

inline constexpr Export AllExports[] = {Export::GetWindows, Export::SetWindow, Export::SendText,
                                        Export::GetLastErrorMessage, Export::Destroy};

// Decorated stdcall names on x86 (leading underscore, @ and the argument
// bytes), plain names on x64.
std::string exportedName(Export method);

// Loading gives the library fresh state as long as no other instance of
// it is loaded: the last FreeLibrary unloads it and its data with it.
class WedgeLibrary {
public:
    WedgeLibrary();
    ~WedgeLibrary();
    WedgeLibrary(const WedgeLibrary&) = delete;
    WedgeLibrary& operator=(const WedgeLibrary&) = delete;

    HMODULE module() const { return module_; }
    // Null when the module is not loaded or does not export the method.
    FARPROC address(Export method) const;

    // The export's address as the function type it is called through.
    template <typename Function>
    Function function(Export method) const {
        // Through void (*)() because casts between unrelated function
        // types are flagged; that one is the sanctioned intermediate.
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address(method)));
    }

private:
    HMODULE module_;
};

}  // namespace wedge_test
