// The DLL's five natives, bound by the names the JVM looks up, and called
// with a JNI environment from the caller (the tests' fake one) and a null
// class, as the JVM would call them.
#pragma once

#include "wedge_library.h"

#include <jni.h>

namespace wedge_bench {

class DllNatives {
public:
    DllNatives();

    // True when the DLL is loaded and exports all five natives.
    bool ready() const;

    jobjectArray getWindows(JNIEnv* env) const { return getWindows_(env, nullptr); }
    bool setWindow(JNIEnv* env, jint index) const { return setWindow_(env, nullptr, index) == JNI_TRUE; }
    bool sendText(JNIEnv* env, jbyteArray text) const { return sendText_(env, nullptr, text) == JNI_TRUE; }
    jstring getLastErrorMessage(JNIEnv* env) const { return getLastErrorMessage_(env, nullptr); }
    void destroy(JNIEnv* env) const { destroy_(env, nullptr); }

private:
    using GetWindows = jobjectArray(JNICALL*)(JNIEnv*, jclass);
    using SetWindow = jboolean(JNICALL*)(JNIEnv*, jclass, jint);
    using SendText = jboolean(JNICALL*)(JNIEnv*, jclass, jbyteArray);
    using GetLastErrorMessage = jstring(JNICALL*)(JNIEnv*, jclass);
    using Destroy = void(JNICALL*)(JNIEnv*, jclass);

    wedge_test::WedgeLibrary library_;
    GetWindows getWindows_;
    SetWindow setWindow_;
    SendText sendText_;
    GetLastErrorMessage getLastErrorMessage_;
    Destroy destroy_;
};

}  // namespace wedge_bench
