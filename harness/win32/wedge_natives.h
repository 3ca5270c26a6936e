// The five natives of kavo.emulator.scanner.jni.Wedge, called as the JVM
// would call them: through the DLL's exports, with a JNI environment (the
// fake one) and a null class.
#pragma once

#include "fake_jni.h"
#include "wedge_library.h"

#include <jni.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wedge_test {

class WedgeNatives {
public:
    WedgeNatives();

    // True when the DLL is loaded and exports all five natives.
    bool ready() const;

    // Null from the library reads as an empty optional.
    std::optional<std::vector<std::u16string>> getWindows();
    bool setWindow(int32_t index);
    bool sendText(const std::vector<uint8_t>& bytes);

    // The export's calls alone, for callers that time them: the String[]
    // as the library made it, and an array made beforehand with
    // jni().byteArray.
    jobjectArray getWindowsArray();
    bool sendText(jbyteArray text);

    bool sendNullText();
    std::optional<std::u16string> getLastErrorMessage();
    void destroy();

    // getWindows, then setWindow with the index of the first entry with
    // this title; false when it is not listed or setWindow refuses.
    bool chooseTarget(const std::u16string& title);

    fakejni::Environment& jni() { return *jni_; }
    // A fresh fake environment for the calls from now on. The fake keeps
    // every object it made until it goes, which a JVM's garbage collector
    // would not; a caller that counts memory over many calls renews it.
    void renewJni() { jni_.emplace(); }

private:
    using GetWindows = jobjectArray(JNICALL*)(JNIEnv*, jclass);
    using SetWindow = jboolean(JNICALL*)(JNIEnv*, jclass, jint);
    using SendText = jboolean(JNICALL*)(JNIEnv*, jclass, jbyteArray);
    using GetLastErrorMessage = jstring(JNICALL*)(JNIEnv*, jclass);
    using Destroy = void(JNICALL*)(JNIEnv*, jclass);

    std::optional<fakejni::Environment> jni_{std::in_place};
    WedgeLibrary library_;
    GetWindows getWindows_;
    SetWindow setWindow_;
    SendText sendText_;
    GetLastErrorMessage getLastErrorMessage_;
    Destroy destroy_;
};

// Text as the scanner's bytes.
std::vector<uint8_t> bytesOf(const std::string& text);

}  // namespace wedge_test
