#include "bridge/marshalling.h"
#include "fake_jni.h"
#include "keystrokes/error_text.h"
#include "platform/simulated/simulated_desktop.h"

#include <gtest/gtest.h>

TEST(Smoke, ListsWindows) {
    wedge::simulated::reset();
    wedge::simulated::openWindow({u"Notepad"});
    fakejni::Environment jni;
    jobjectArray titles = wedge::bridge::listWindowTitles(jni.env());
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(jni.strings(titles), std::vector<std::u16string>{u"Notepad"});
}
