// Two copies of the library in one process beside a host that uses Xlib
// itself, as a JVM with AWT does: both copies list and type from their own
// threads while the host's own X errors keep coming. Every host error must
// reach the host's own handler, and the process must neither spin nor end.
// Usage: two_copies <library>. Exit status 0 when all went to the host.
#include "fake_jni.h"

#include <X11/Xlib.h>
#include <jni.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <unistd.h>

namespace {

constexpr const char* TargetTitle = "Two copies target";

struct Copy {
    jobjectArray (*getWindows)(JNIEnv*, jclass);
    jboolean (*setWindow)(JNIEnv*, jclass, jint);
    jboolean (*sendText)(JNIEnv*, jclass, jbyteArray);
};

bool load(const char* path, Copy* copy) {
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "two_copies: %s\n", dlerror());
        return false;
    }
    copy->getWindows = reinterpret_cast<decltype(copy->getWindows)>(
        dlsym(library, "Java_kavo_emulator_scanner_jni_Wedge_getWindows"));
    copy->setWindow = reinterpret_cast<decltype(copy->setWindow)>(
        dlsym(library, "Java_kavo_emulator_scanner_jni_Wedge_setWindow"));
    copy->sendText = reinterpret_cast<decltype(copy->sendText)>(
        dlsym(library, "Java_kavo_emulator_scanner_jni_Wedge_sendText"));
    return copy->getWindows != nullptr && copy->setWindow != nullptr && copy->sendText != nullptr;
}

bool chooseTarget(fakejni::Environment& jni, const Copy& copy) {
    const jobjectArray titles = copy.getWindows(jni.env(), nullptr);
    if (titles == nullptr) {
        return false;
    }
    const std::u16string wanted(TargetTitle, TargetTitle + std::strlen(TargetTitle));
    const std::vector<std::u16string> listed = jni.strings(titles);
    for (size_t i = 0; i < listed.size(); ++i) {
        if (listed[i] == wanted) {
            return copy.setWindow(jni.env(), nullptr, static_cast<jint>(i)) == JNI_TRUE;
        }
    }
    return false;
}

std::atomic<int> hostErrors{0};

int countHostError(Display* /*display*/, XErrorEvent* /*error*/) {
    hostErrors.fetch_add(1);
    return 0;
}

bool copyFile(const char* from, const std::string& to) {
    FILE* in = std::fopen(from, "rb");
    FILE* out = std::fopen(to.c_str(), "wb");
    bool copied = in != nullptr && out != nullptr;
    char buffer[65536];
    size_t read = 0;
    while (copied && (read = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        copied = std::fwrite(buffer, 1, read, out) == read;
    }
    if (in != nullptr) {
        std::fclose(in);
    }
    if (out != nullptr) {
        std::fclose(out);
    }
    return copied;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: two_copies <library>\n");
        return 2;
    }
    Display* host = XOpenDisplay(nullptr);
    if (host == nullptr) {
        std::fprintf(stderr, "two_copies: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(countHostError);
    const Window target = XCreateSimpleWindow(host, DefaultRootWindow(host), 0, 0, 100, 100, 0, 0, 0);
    XStoreName(host, target, TargetTitle);
    XMapWindow(host, target);
    XSync(host, False);

    char folder[] = "/tmp/two-copies-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return 1;
    }
    const std::string paths[2] = {std::string(folder) + "/first.so", std::string(folder) + "/second.so"};
    Copy copies[2] = {};
    // One environment per copy: each is used by one thread only.
    fakejni::Environment environments[2];
    for (int i = 0; i < 2; ++i) {
        if (!copyFile(argv[1], paths[i]) || !load(paths[i].c_str(), &copies[i]) ||
            !chooseTarget(environments[i], copies[i])) {
            std::fprintf(stderr, "two_copies: copy %d cannot load or find its target\n", i + 1);
            return 1;
        }
    }
    // Gone: from now on each copy's attempts end in X errors on its own
    // connection.
    XDestroyWindow(host, target);
    XSync(host, False);

    std::atomic<bool> stop{false};
    auto typeOn = [&](int i) {
        fakejni::Environment& jni = environments[i];
        const jbyteArray scan = jni.byteArray({'x'});
        while (!stop.load()) {
            copies[i].getWindows(jni.env(), nullptr);
            copies[i].sendText(jni.env(), nullptr, scan);
        }
    };
    std::thread first(typeOn, 0);
    std::thread second(typeOn, 1);
    int provoked = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
        // A window that does not exist: BadWindow, for the host's handler.
        XWindowAttributes attributes = {};
        XGetWindowAttributes(host, 0x7FFFFFF0, &attributes);
        ++provoked;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    stop.store(true);
    first.join();
    second.join();
    XSync(host, False);
    for (const std::string& path : paths) {
        unlink(path.c_str());
    }
    rmdir(folder);
    std::printf("host errors: %d provoked, %d reached the host's handler\n", provoked, hostErrors.load());
    return provoked > 0 && hostErrors.load() == provoked ? 0 : 1;
}
