#include "bridge/marshalling.h"

#include "catalogue/window_catalogue.h"
#include "keystrokes/error_text.h"
#include "keystrokes/text_typing.h"

namespace wedge::bridge {
namespace {

const jchar* asJavaChars(const char16_t* text) { return reinterpret_cast<const jchar*>(text); }

struct JavaBytes {
    JNIEnv* env;
    jbyteArray array;
};

int32_t javaLength(void* context) {
    const auto* bytes = static_cast<JavaBytes*>(context);
    return bytes->env->GetArrayLength(bytes->array);
}

bool readJavaByte(void* context, int32_t index, uint8_t* value) {
    const auto* bytes = static_cast<JavaBytes*>(context);
    jbyte element = 0;
    bytes->env->GetByteArrayRegion(bytes->array, index, 1, &element);
    if (bytes->env->ExceptionCheck() != JNI_FALSE) {
        return false;
    }
    *value = static_cast<uint8_t>(element);
    return true;
}

}  // namespace

jobjectArray listWindowTitles(JNIEnv* env) {
    catalogue::WindowList& list = catalogue::listWindows();
    const jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) {
        return nullptr;
    }
    const jint count = list.count();
    const jobjectArray titles = env->NewObjectArray(count, stringClass, nullptr);
    env->DeleteLocalRef(stringClass);
    if (titles == nullptr) {
        return nullptr;
    }
    list.rewind();
    for (jint i = 0; i < count; ++i) {
        const jstring title = env->NewString(asJavaChars(list.currentTitle()), list.currentTitleLength());
        if (title == nullptr) {
            env->DeleteLocalRef(titles);
            return nullptr;
        }
        env->SetObjectArrayElement(titles, i, title);
        env->DeleteLocalRef(title);
        list.advance();
    }
    return titles;
}

jboolean typeBytes(JNIEnv* env, jbyteArray text) {
    JavaBytes bytes{env, text};
    const keystrokes::TextSource source{&bytes, javaLength, readJavaByte};
    return keystrokes::sendText(text != nullptr ? &source : nullptr) ? JNI_TRUE : JNI_FALSE;
}

jstring lastErrorMessage(JNIEnv* env) {
    if (keystrokes::lastErrorText()[0] == 0) {
        return nullptr;
    }
    return env->NewString(asJavaChars(keystrokes::lastErrorText()), keystrokes::errorTextLength());
}

}  // namespace wedge::bridge
