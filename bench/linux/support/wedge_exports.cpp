#include "wedge_exports.h"

#include <dlfcn.h>

namespace wedge_bench {
namespace {

template <typename Function>
void lookUp(void* library, const char* method, Function*& function, std::string& problem) {
    const std::string name = std::string("Java_kavo_emulator_scanner_jni_Wedge_") + method;
    void* address = library != nullptr ? dlsym(library, name.c_str()) : nullptr;
    // POSIX guarantees that a data pointer from dlsym converts to a function pointer.
    function = reinterpret_cast<Function*>(address);
    if (library != nullptr && address == nullptr && problem.empty()) {
        problem = "the library does not export " + name;
    }
}

}  // namespace

WedgeExports::WedgeExports(const std::string& libraryPath)
    : library_(dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (library_ == nullptr) {
        const char* error = dlerror();
        problem_ = error != nullptr ? error : "cannot load " + libraryPath;
    }
    lookUp(library_, "getWindows", getWindows_, problem_);
    lookUp(library_, "setWindow", setWindow_, problem_);
    lookUp(library_, "sendText", sendText_, problem_);
    lookUp(library_, "getLastErrorMessage", getLastErrorMessage_, problem_);
    lookUp(library_, "destroy", destroy_, problem_);
}

WedgeExports::~WedgeExports() {
    if (library_ != nullptr) {
        dlclose(library_);
    }
}

jobjectArray WedgeExports::getWindowsArray() { return getWindows_(jni_->env(), nullptr); }

bool WedgeExports::setWindow(int32_t index) { return setWindow_(jni_->env(), nullptr, index) == JNI_TRUE; }

bool WedgeExports::sendText(jbyteArray text) { return sendText_(jni_->env(), nullptr, text) == JNI_TRUE; }

std::u16string WedgeExports::lastErrorMessage() {
    const jstring message = getLastErrorMessage_(jni_->env(), nullptr);
    return message != nullptr ? jni_->text(message) : u"";
}

void WedgeExports::destroy() { destroy_(jni_->env(), nullptr); }

bool WedgeExports::chooseTarget(const std::u16string& title) {
    const jobjectArray titles = getWindowsArray();
    if (titles != nullptr) {
        const std::vector<std::u16string> listed = jni_->strings(titles);
        for (size_t i = 0; i < listed.size(); ++i) {
            if (listed[i] == title) {
                return setWindow(static_cast<int32_t>(i));
            }
        }
    }
    destroy();
    return false;
}

}  // namespace wedge_bench
