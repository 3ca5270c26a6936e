// The native methods of kavo.emulator.scanner.jni.Wedge. Each is a shell
// over the library's plain operations; the receiver is ignored.
#include "kavo_emulator_scanner_jni_Wedge.h"

#include "bridge/marshalling.h"
#include "wedge.h"

extern "C" {

JNIEXPORT jobjectArray JNICALL Java_kavo_emulator_scanner_jni_Wedge_getWindows(JNIEnv* env, jclass /*wedge*/) {
    return wedge::bridge::listWindowTitles(env);
}

JNIEXPORT jboolean JNICALL Java_kavo_emulator_scanner_jni_Wedge_setWindow(JNIEnv* /*env*/, jclass /*wedge*/,
                                                                          jint index) {
    return wedge::chooseWindow(index) ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jboolean JNICALL Java_kavo_emulator_scanner_jni_Wedge_sendText(JNIEnv* env, jclass /*wedge*/,
                                                                         jbyteArray text) {
    return wedge::bridge::typeBytes(env, text);
}

JNIEXPORT jstring JNICALL Java_kavo_emulator_scanner_jni_Wedge_getLastErrorMessage(JNIEnv* env,
                                                                                   jclass /*wedge*/) {
    return wedge::bridge::lastErrorMessage(env);
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_Wedge_destroy(JNIEnv* /*env*/, jclass /*wedge*/) {
    wedge::releaseWindowList();
}

}  // extern "C"
