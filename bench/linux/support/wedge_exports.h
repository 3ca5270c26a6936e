// Our library as the JVM sees it: loaded from a path with dlopen, its five
// natives looked up by their JNI names and called with a JNI environment
// (the tests' fake one, without a JVM) and a null class.
#pragma once

#include "fake_jni.h"

#include <jni.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wedge_bench {

class WedgeExports {
public:
    explicit WedgeExports(const std::string& libraryPath);
    ~WedgeExports();
    WedgeExports(const WedgeExports&) = delete;
    WedgeExports& operator=(const WedgeExports&) = delete;

    // Empty when loaded with all five natives; otherwise what went wrong.
    const std::string& problem() const { return problem_; }

    // The calls alone, for callers that time them.
    jobjectArray getWindowsArray();
    bool setWindow(int32_t index);
    bool sendText(jbyteArray text);
    std::u16string lastErrorMessage();
    void destroy();

    // getWindows, then setWindow with the first entry that has this title.
    bool chooseTarget(const std::u16string& title);

    fakejni::Environment& jni() { return *jni_; }
    // The fake keeps every object it made until it goes, which a JVM's
    // collector would not; a caller that counts memory renews it.
    void renewJni() { jni_.emplace(); }

private:
    void* library_ = nullptr;
    std::string problem_;
    std::optional<fakejni::Environment> jni_{std::in_place};
    jobjectArray (*getWindows_)(JNIEnv*, jclass) = nullptr;
    jboolean (*setWindow_)(JNIEnv*, jclass, jint) = nullptr;
    jboolean (*sendText_)(JNIEnv*, jclass, jbyteArray) = nullptr;
    jstring (*getLastErrorMessage_)(JNIEnv*, jclass) = nullptr;
    void (*destroy_)(JNIEnv*, jclass) = nullptr;
};

}  // namespace wedge_bench
