#include "fake_jni.h"

#include <algorithm>

namespace fakejni {

struct Environment::Object {
    enum class Kind { Class, String, ObjectArray, ByteArray } kind;
    std::u16string text;
    std::vector<jobject> elements;
    std::vector<uint8_t> bytes;
    bool live = true;
};

namespace {

Environment* current = nullptr;

using Object = Environment::Object;

Object* objectOf(jobject handle) { return reinterpret_cast<Object*>(handle); }

}  // namespace

struct Functions {
    static Environment& self() { return *current; }

    static void noteCall() {
        if (self().exception_) {
            ++self().callsWithException_;
        }
    }

    static jobject make(Object object) {
        self().objects_->push_back(std::move(object));
        return reinterpret_cast<jobject>(&self().objects_->back());
    }

    static jclass JNICALL findClass(JNIEnv*, const char* name) {
        noteCall();
        Object object{Object::Kind::Class, {}, {}, {}};
        object.text.assign(name, name + std::char_traits<char>::length(name));
        return static_cast<jclass>(make(std::move(object)));
    }

    static jobjectArray JNICALL newObjectArray(JNIEnv*, jsize length, jclass, jobject initial) {
        noteCall();
        if (self().failArrays_ || length < 0) {
            self().exception_ = true;
            return nullptr;
        }
        Object object{Object::Kind::ObjectArray, {}, std::vector<jobject>(static_cast<size_t>(length), initial), {}};
        return static_cast<jobjectArray>(make(std::move(object)));
    }

    static jstring JNICALL newString(JNIEnv*, const jchar* units, jsize length) {
        noteCall();
        if (self().stringSuccessesLeft_ == 0) {
            self().exception_ = true;
            return nullptr;
        }
        if (self().stringSuccessesLeft_ > 0) {
            --self().stringSuccessesLeft_;
        }
        Object object{Object::Kind::String, {}, {}, {}};
        object.text.assign(reinterpret_cast<const char16_t*>(units), static_cast<size_t>(length));
        return static_cast<jstring>(make(std::move(object)));
    }

    static void JNICALL setObjectArrayElement(JNIEnv*, jobjectArray array, jsize index, jobject value) {
        noteCall();
        Object* target = objectOf(array);
        if (target == nullptr || index < 0 || static_cast<size_t>(index) >= target->elements.size()) {
            self().exception_ = true;
            return;
        }
        target->elements[static_cast<size_t>(index)] = value;
    }

    static void JNICALL deleteLocalRef(JNIEnv*, jobject handle) {
        if (Object* object = objectOf(handle)) {
            object->live = false;
        }
    }

    static jsize JNICALL getArrayLength(JNIEnv*, jarray array) {
        noteCall();
        const Object* object = objectOf(array);
        return static_cast<jsize>(object->kind == Object::Kind::ByteArray ? object->bytes.size()
                                                                           : object->elements.size());
    }

    static void JNICALL getByteArrayRegion(JNIEnv*, jbyteArray array, jsize start, jsize length, jbyte* out) {
        noteCall();
        ++self().regionReads_;
        self().largestRegion_ = std::max(self().largestRegion_, static_cast<int32_t>(length));
        const Object* object = objectOf(array);
        if (start < 0 || length < 0 || static_cast<size_t>(start) + static_cast<size_t>(length) > object->bytes.size()) {
            self().exception_ = true;
            return;
        }
        for (jsize i = 0; i < length; ++i) {
            out[i] = static_cast<jbyte>(object->bytes[static_cast<size_t>(start + i)]);
        }
    }

    static jboolean JNICALL exceptionCheck(JNIEnv*) { return self().exception_ ? JNI_TRUE : JNI_FALSE; }
};

Environment::Environment() : objects_(new std::deque<Object>()) {
    table_.FindClass = Functions::findClass;
    table_.NewObjectArray = Functions::newObjectArray;
    table_.NewString = Functions::newString;
    table_.SetObjectArrayElement = Functions::setObjectArrayElement;
    table_.DeleteLocalRef = Functions::deleteLocalRef;
    table_.GetArrayLength = Functions::getArrayLength;
    table_.GetByteArrayRegion = Functions::getByteArrayRegion;
    table_.ExceptionCheck = Functions::exceptionCheck;
    env_.functions = &table_;
    current = this;
}

Environment::~Environment() {
    delete objects_;
    if (current == this) {
        current = nullptr;
    }
}

JNIEnv* Environment::env() { return &env_; }

jbyteArray Environment::byteArray(const std::vector<uint8_t>& bytes) {
    return static_cast<jbyteArray>(Functions::make(Object{Object::Kind::ByteArray, {}, {}, bytes}));
}

std::vector<std::u16string> Environment::strings(jobjectArray array) const {
    std::vector<std::u16string> result;
    for (jobject element : objectOf(array)->elements) {
        result.push_back(element != nullptr ? objectOf(element)->text : u"<null>");
    }
    return result;
}

std::u16string Environment::text(jstring string) const { return objectOf(string)->text; }

int32_t Environment::arrayLength(jobject array) const {
    return static_cast<int32_t>(objectOf(array)->elements.size());
}

void Environment::failArrayCreation(bool fail) { failArrays_ = fail; }
void Environment::failStringCreationAfter(int32_t successes) { stringSuccessesLeft_ = successes; }
bool Environment::exceptionPending() const { return exception_; }
void Environment::clearException() { exception_ = false; }

int32_t Environment::liveLocalReferences() const {
    return static_cast<int32_t>(std::count_if(objects_->begin(), objects_->end(), [](const Object& object) {
        return object.live && object.kind != Object::Kind::ByteArray;
    }));
}

int32_t Environment::callsWithExceptionPending() const { return callsWithException_; }
int32_t Environment::largestByteRegion() const { return largestRegion_; }
int32_t Environment::byteRegionReads() const { return regionReads_; }

}  // namespace fakejni
