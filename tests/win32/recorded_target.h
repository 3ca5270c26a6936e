// A fixture for tests that type into a window of a separate process while
// a low-level hook records the keys: the DLL loaded, the hook in place,
// Caps Lock off, and the target's one frame chosen.
#pragma once

#include "key_event_recorder.h"
#include "keyboard_state.h"
#include "target_app.h"
#include "wedge_natives.h"
#include "wide_text.h"

#include <gtest/gtest.h>

#include <string>

namespace wedge_test {

class RecordedTarget : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(natives.ready());
        ASSERT_TRUE(recorder.installed());
        ASSERT_TRUE(setCapsLock(false));
        ASSERT_TRUE(app.started());
        frame = app.waitForFrame(title);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(natives.chooseTarget(toU16(title)));
    }

    WedgeNatives natives;
    KeyEventRecorder recorder;
    std::wstring title = uniqueTitle(L"keys");
    TargetApp app{{L"frame=" + title}};
    HWND frame = nullptr;
};

}  // namespace wedge_test
