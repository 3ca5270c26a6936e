#include "key_event_recorder.h"

#include "polling.h"

namespace wedge_test {
namespace {

KeyEventRecorder* activeRecorder = nullptr;

}  // namespace

KeyEventRecorder::KeyEventRecorder() {
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    activeRecorder = this;
    thread_ = std::thread([this, ready] { pump(ready); });
    WaitForSingleObject(ready, DefaultWaitMs);
    CloseHandle(ready);
}

KeyEventRecorder::~KeyEventRecorder() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    activeRecorder = nullptr;
}

std::vector<RecordedKey> KeyEventRecorder::events() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

void KeyEventRecorder::clear() {
    const std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
}

void KeyEventRecorder::pump(HANDLE ready) {
    MSG message;
    // Creates this thread's message queue before anyone posts to it.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    threadId_ = GetCurrentThreadId();
    const HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, hookProcedure, GetModuleHandleW(nullptr), 0);
    installed_ = hook != nullptr;
    SetEvent(ready);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
    }
}

LRESULT CALLBACK KeyEventRecorder::hookProcedure(int code, WPARAM message, LPARAM event) {
    if (code == HC_ACTION && activeRecorder != nullptr) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
        const std::lock_guard<std::mutex> lock(activeRecorder->mutex_);
        activeRecorder->events_.push_back({key->vkCode, key->scanCode, key->flags, key->time});
    }
    return CallNextHookEx(nullptr, code, message, event);
}

}  // namespace wedge_test
