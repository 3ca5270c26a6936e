#include "java_values.h"

namespace wedge::javatests {

jlong toJava(platform::WindowHandle window) { return static_cast<jlong>(reinterpret_cast<uintptr_t>(window)); }

platform::WindowHandle toWindow(jlong handle) {
    return reinterpret_cast<platform::WindowHandle>(static_cast<uintptr_t>(handle));
}

std::u16string toText(JNIEnv* env, jstring string) {
    if (string == nullptr) {
        return {};
    }
    const jsize length = env->GetStringLength(string);
    std::u16string text(static_cast<size_t>(length), u'\0');
    env->GetStringRegion(string, 0, length, reinterpret_cast<jchar*>(text.data()));
    return text;
}

jstring toJava(JNIEnv* env, const std::u16string& text) {
    return env->NewString(reinterpret_cast<const jchar*>(text.data()), static_cast<jsize>(text.size()));
}

jlongArray toJava(JNIEnv* env, const std::vector<jlong>& values) {
    const auto length = static_cast<jsize>(values.size());
    const jlongArray array = env->NewLongArray(length);
    if (array != nullptr) {
        env->SetLongArrayRegion(array, 0, length, values.data());
    }
    return array;
}

jintArray toJava(JNIEnv* env, const std::vector<jint>& values) {
    const auto length = static_cast<jsize>(values.size());
    const jintArray array = env->NewIntArray(length);
    if (array != nullptr) {
        env->SetIntArrayRegion(array, 0, length, values.data());
    }
    return array;
}

}  // namespace wedge::javatests
