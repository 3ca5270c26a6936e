// Moving data between the JVM and the library's plain operations.
#pragma once

#include <jni.h>

namespace wedge::bridge {

// Enumerates the desktop and answers the listed titles as a String[], in
// list order; the list stays current for setWindow. Null, with the JVM's
// exception pending, when the JVM cannot create the array or a string.
jobjectArray listWindowTitles(JNIEnv* env);

// Types the array's bytes into the target, reading them one at a time.
jboolean typeBytes(JNIEnv* env, jbyteArray text);

// The last error text as a String, or null when there is none.
jstring lastErrorMessage(JNIEnv* env);

}  // namespace wedge::bridge
