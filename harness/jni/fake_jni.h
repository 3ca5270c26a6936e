// A JNI environment without a JVM: the handful of JNI functions the
// library calls, over objects kept in this process, with failures that a
// real JVM cannot be made to produce on demand (no memory for an array or a
// string). Any other JNI function is absent and crashes if called.
#pragma once

#include <jni.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace fakejni {

class Environment {
public:
    Environment();
    ~Environment();
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    JNIEnv* env();

    jbyteArray byteArray(const std::vector<uint8_t>& bytes);
    // The strings of a String[] the library returned; a null element reads
    // as "<null>".
    std::vector<std::u16string> strings(jobjectArray array) const;
    std::u16string text(jstring string) const;
    int32_t arrayLength(jobject array) const;

    // NewObjectArray answers null with an OutOfMemoryError pending.
    void failArrayCreation(bool fail);
    // NewString succeeds this many more times, then answers null with an
    // OutOfMemoryError pending; negative: never fails.
    void failStringCreationAfter(int32_t successes);

    bool exceptionPending() const;
    void clearException();
    // Local references created and not deleted, the array returned to the
    // caller included.
    int32_t liveLocalReferences() const;
    // JNI calls made while an exception was pending: always a fault.
    int32_t callsWithExceptionPending() const;
    // The largest region GetByteArrayRegion was asked for.
    int32_t largestByteRegion() const;
    int32_t byteRegionReads() const;

    struct Object;

private:
    friend struct Functions;
    JNINativeInterface_ table_{};
    JNIEnv env_{};
    std::deque<Object>* objects_;
    bool failArrays_ = false;
    int32_t stringSuccessesLeft_ = -1;
    bool exception_ = false;
    int32_t callsWithException_ = 0;
    int32_t largestRegion_ = 0;
    int32_t regionReads_ = 0;
};

}  // namespace fakejni
