#include "bridge/marshalling.h"

#include "wedge.h"

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

struct JavaTitles {
    JNIEnv* env;
    jobjectArray array;
    jint filled;
};

// Stops at the first string the JVM cannot make, with its exception pending.
bool storeTitle(const char16_t* units, int32_t length, intptr_t context) {
    auto* titles = reinterpret_cast<JavaTitles*>(context);
    const jstring title = titles->env->NewString(asJavaChars(units), length);
    if (title == nullptr) {
        return false;
    }
    titles->env->SetObjectArrayElement(titles->array, titles->filled++, title);
    titles->env->DeleteLocalRef(title);
    return true;
}

}  // namespace

jobjectArray listWindowTitles(JNIEnv* env) {
    const jint count = listWindows();
    const jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) {
        return nullptr;
    }
    const jobjectArray array = env->NewObjectArray(count, stringClass, nullptr);
    env->DeleteLocalRef(stringClass);
    if (array == nullptr) {
        return nullptr;
    }
    JavaTitles titles{env, array, 0};
    forEachListedTitle(storeTitle, reinterpret_cast<intptr_t>(&titles));
    if (titles.filled < count) {
        env->DeleteLocalRef(array);
        return nullptr;
    }
    return array;
}

jboolean typeBytes(JNIEnv* env, jbyteArray text) {
    JavaBytes bytes{env, text};
    const TextSource source{&bytes, javaLength, readJavaByte};
    return wedge::sendText(text != nullptr ? &source : nullptr) ? JNI_TRUE : JNI_FALSE;
}

jstring lastErrorMessage(JNIEnv* env) {
    if (lastErrorLength() == 0) {
        return nullptr;
    }
    return env->NewString(asJavaChars(lastErrorText()), lastErrorLength());
}

}  // namespace wedge::bridge
