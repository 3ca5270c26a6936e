// Conversions between the JVM's values and the simulated desktop's: window
// handles travel to Java as longs, titles and texts as UTF-16 strings.
#pragma once

#include "platform/desktop.h"

#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wedge::javatests {

jlong toJava(platform::WindowHandle window);
platform::WindowHandle toWindow(jlong handle);

// A null string reads as empty.
std::u16string toText(JNIEnv* env, jstring string);
jstring toJava(JNIEnv* env, const std::u16string& text);

// Null, with the JVM's exception pending, when the array cannot be made.
jlongArray toJava(JNIEnv* env, const std::vector<jlong>& values);
jintArray toJava(JNIEnv* env, const std::vector<jint>& values);

}  // namespace wedge::javatests
