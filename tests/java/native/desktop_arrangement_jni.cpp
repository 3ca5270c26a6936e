// SimulatedDesktop's natives that lay out the desktop: windows, keyboard
// and faults, over the simulated desktop's control API.
#include "kavo_emulator_scanner_jni_SimulatedDesktop.h"

#include "java_values.h"
#include "simulated/simulated_desktop.h"

namespace simulated = wedge::simulated;
using wedge::javatests::toText;
using wedge::javatests::toWindow;

extern "C" {

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeReset(JNIEnv*, jclass) {
    simulated::reset();
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeLimitEventLog(JNIEnv*, jclass,
                                                                                            jint events) {
    simulated::limitEventLog(static_cast<uint32_t>(events < 0 ? 0 : events));
}

JNIEXPORT jlong JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeOpenWindow(
    JNIEnv* env, jclass, jstring title, jboolean visible, jboolean minimised, jboolean acceptsActivation) {
    simulated::WindowSetup setup;
    setup.title = toText(env, title);
    setup.visible = visible != JNI_FALSE;
    setup.minimised = minimised != JNI_FALSE;
    setup.acceptsActivation = acceptsActivation != JNI_FALSE;
    return wedge::javatests::toJava(simulated::openWindow(setup));
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeCloseWindow(JNIEnv*, jclass,
                                                                                          jlong window) {
    simulated::closeWindow(toWindow(window));
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeSetTitle(JNIEnv* env, jclass,
                                                                                       jlong window,
                                                                                       jstring title) {
    simulated::setTitle(toWindow(window), toText(env, title));
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeSetVisible(JNIEnv*, jclass,
                                                                                         jlong window,
                                                                                         jboolean visible) {
    simulated::setVisible(toWindow(window), visible != JNI_FALSE);
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeSetMinimised(JNIEnv*, jclass,
                                                                                           jlong window,
                                                                                           jboolean minimised) {
    simulated::setMinimised(toWindow(window), minimised != JNI_FALSE);
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeSetAcceptsActivation(
    JNIEnv*, jclass, jlong window, jboolean accepts) {
    simulated::setAcceptsActivation(toWindow(window), accepts != JNI_FALSE);
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeRefuseActivationAfter(
    JNIEnv*, jclass, jlong window, jint activations) {
    simulated::refuseActivationAfter(toWindow(window), static_cast<uint32_t>(activations < 0 ? 0 : activations));
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeSetForeground(JNIEnv*, jclass,
                                                                                            jlong window) {
    simulated::setForeground(toWindow(window));
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeUseLayout(JNIEnv*, jclass,
                                                                                        jint layout) {
    // The order of SimulatedDesktop.Layout's constants.
    simulated::useLayout(layout == 1 ? simulated::Layout::AltGraph : simulated::Layout::UnitedStates);
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeSetCapsLock(JNIEnv*, jclass,
                                                                                          jboolean on) {
    simulated::setCapsLock(on != JNI_FALSE);
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeHoldKey(JNIEnv*, jclass,
                                                                                      jint virtualKey,
                                                                                      jboolean down) {
    simulated::holdKey(static_cast<uint16_t>(virtualKey & 0xFF), down != JNI_FALSE);
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeFailSendInput(JNIEnv*, jclass,
                                                                                            jint errorCode,
                                                                                            jint times,
                                                                                            jint after) {
    simulated::failSendInput(static_cast<uint32_t>(errorCode), times,
                             static_cast<uint32_t>(after < 0 ? 0 : after));
}

JNIEXPORT void JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeSetSystemMessage(JNIEnv* env,
                                                                                               jclass, jint code,
                                                                                               jstring text) {
    simulated::setSystemMessage(static_cast<uint32_t>(code), toText(env, text));
}

}  // extern "C"
