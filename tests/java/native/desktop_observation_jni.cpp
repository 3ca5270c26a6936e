// SimulatedDesktop's natives that read the desktop back: windows, keyboard,
// the clock, and the logs of injections, activations and restorations,
// packed into flat arrays that the Java side unpacks.
#include "kavo_emulator_scanner_jni_SimulatedDesktop.h"

#include "java_values.h"
#include "simulated/simulated_desktop.h"

#include <vector>

namespace simulated = wedge::simulated;
using wedge::javatests::toJava;
using wedge::javatests::toWindow;

extern "C" {

JNIEXPORT jboolean JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeIsMinimised(JNIEnv*, jclass,
                                                                                             jlong window) {
    return simulated::isMinimised(toWindow(window)) ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jlong JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeForegroundWindow(JNIEnv*, jclass) {
    return toJava(simulated::foregroundWindow());
}

JNIEXPORT jstring JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeReceivedText(JNIEnv* env, jclass,
                                                                                             jlong window) {
    return toJava(env, simulated::receivedText(toWindow(window)));
}

JNIEXPORT jboolean JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeCapsLockOn(JNIEnv*, jclass) {
    return simulated::capsLockOn() ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jintArray JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeKeysDown(JNIEnv* env, jclass) {
    std::vector<jint> keys;
    for (const uint16_t key : simulated::keysDown()) {
        keys.push_back(key);
    }
    return toJava(env, keys);
}

JNIEXPORT jlong JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeNowMs(JNIEnv*, jclass) {
    return static_cast<jlong>(simulated::nowMs());
}

JNIEXPORT jlong JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeInjectedEventTotal(JNIEnv*, jclass) {
    return static_cast<jlong>(simulated::injectedEventTotal());
}

// Six longs an event: virtual key, scan code, flags, time, injection, foreground.
JNIEXPORT jlongArray JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeInjectedEvents(JNIEnv* env,
                                                                                                  jclass) {
    std::vector<jlong> packed;
    for (const simulated::InjectedEvent& injected : simulated::injectedEvents()) {
        packed.push_back(injected.event.virtualKey);
        packed.push_back(injected.event.scanCode);
        packed.push_back(injected.event.flags);
        packed.push_back(static_cast<jlong>(injected.atMs));
        packed.push_back(injected.injection);
        packed.push_back(toJava(injected.foreground));
    }
    return toJava(env, packed);
}

// Three longs an activation: window, time, 1 when it succeeded.
JNIEXPORT jlongArray JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeActivations(JNIEnv* env,
                                                                                               jclass) {
    std::vector<jlong> packed;
    for (const simulated::Activation& activation : simulated::activations()) {
        packed.push_back(toJava(activation.window));
        packed.push_back(static_cast<jlong>(activation.atMs));
        packed.push_back(activation.succeeded ? 1 : 0);
    }
    return toJava(env, packed);
}

JNIEXPORT jlongArray JNICALL Java_kavo_emulator_scanner_jni_SimulatedDesktop_nativeRestorations(JNIEnv* env,
                                                                                                jclass) {
    std::vector<jlong> windows;
    for (const wedge::platform::WindowHandle window : simulated::restorations()) {
        windows.push_back(toJava(window));
    }
    return toJava(env, windows);
}

}  // extern "C"
