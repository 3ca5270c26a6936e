#include "wedge_library.h"

#include "test_files.h"

namespace wedge_test {
namespace {

struct Native {
    const char* method;
    int argumentBytes;  // JNIEnv*, jclass and the Java arguments
};

Native nativeOf(Export method) {
    const int pointer = static_cast<int>(sizeof(void*));
    switch (method) {
    case Export::GetWindows:
        return {"getWindows", 2 * pointer};
    case Export::SetWindow:
        return {"setWindow", 2 * pointer + 4};
    case Export::SendText:
        return {"sendText", 3 * pointer};
    case Export::GetLastErrorMessage:
        return {"getLastErrorMessage", 2 * pointer};
    case Export::Destroy:
        return {"destroy", 2 * pointer};
    }
    return {"", 0};
}

}  // namespace

std::string exportedName(Export method) {
    const Native native = nativeOf(method);
    const std::string plain = std::string("Java_kavo_emulator_scanner_jni_Wedge_") + native.method;
#if defined(_WIN64)
    return plain;
#else
    return "_" + plain + "@" + std::to_string(native.argumentBytes);
#endif
}

WedgeLibrary::WedgeLibrary() : module_(LoadLibraryW(libraryPath().c_str())) {}

WedgeLibrary::~WedgeLibrary() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

FARPROC WedgeLibrary::address(Export method) const {
    if (module_ == nullptr) {
        return nullptr;
    }
    return GetProcAddress(module_, exportedName(method).c_str());
}

}  // namespace wedge_test
