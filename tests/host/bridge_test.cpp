#include "bridge/marshalling.h"

#include "desktop_fixture.h"
#include "fake_jni.h"

#include <string>
#include <vector>

namespace wedge::testing {
namespace {

using bridge::lastErrorMessage;
using bridge::listWindowTitles;
using bridge::typeBytes;

class BridgeTest : public DesktopTest {
protected:
    fakejni::Environment jni;
};

TEST_F(BridgeTest, HandsOverTitlesWithTheirListedLengths) {
    simulated::openWindow({u"Till"});
    const WindowHandle padded = simulated::openWindow({u"ab"});
    simulated::reportTitleLength(padded, 4);
    simulated::openWindow({std::u16string(120, u'w')});

    const jobjectArray titles = listWindowTitles(jni.env());
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(jni.strings(titles), (std::vector<std::u16string>{u"Till", std::u16string(u"ab\0\0", 4),
                                                                 std::u16string(99, u'w')}));
    EXPECT_EQ(jni.liveLocalReferences(), 1) << "only the returned array stays referenced";
    EXPECT_FALSE(jni.exceptionPending());
}

TEST_F(BridgeTest, AnEmptyDesktopGivesAnEmptyArray) {
    const jobjectArray titles = listWindowTitles(jni.env());
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(jni.arrayLength(titles), 0);
}

TEST_F(BridgeTest, AnArrayTheJvmCannotCreateGivesNullWithTheExceptionPending) {
    simulated::openWindow({u"A"});
    jni.failArrayCreation(true);
    EXPECT_EQ(listWindowTitles(jni.env()), nullptr);
    EXPECT_TRUE(jni.exceptionPending());
    EXPECT_EQ(jni.callsWithExceptionPending(), 0);
    EXPECT_EQ(jni.liveLocalReferences(), 0);
    EXPECT_TRUE(catalogue::setWindow(0)) << "the list stays current";
}

TEST_F(BridgeTest, AStringTheJvmCannotCreateGivesNullWithTheExceptionPending) {
    simulated::openWindow({u"A"});
    simulated::openWindow({u"B"});
    simulated::openWindow({u"C"});
    jni.failStringCreationAfter(1);
    EXPECT_EQ(listWindowTitles(jni.env()), nullptr);
    EXPECT_TRUE(jni.exceptionPending());
    EXPECT_EQ(jni.callsWithExceptionPending(), 0);
    EXPECT_EQ(jni.liveLocalReferences(), 0);
    EXPECT_TRUE(catalogue::setWindow(2)) << "the list stays current";
}

TEST_F(BridgeTest, TheLastErrorMessageIsNullUntilSomethingIsRecorded) {
    EXPECT_EQ(lastErrorMessage(jni.env()), nullptr);
    keystrokes::recordMessage(keystrokes::WindowUnavailableMessage);
    const jstring message = lastErrorMessage(jni.env());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(jni.text(message), u"Selected window is no longer available");
}

TEST_F(BridgeTest, AFullErrorTextIsHandedOverWhole) {
    simulated::setSystemMessage(42, std::u16string(400, u'e'));
    platform::setLastError(42);
    keystrokes::recordSystemError();
    const jstring message = lastErrorMessage(jni.env());
    ASSERT_NE(message, nullptr);
    const std::u16string head = u"Wedge error: 42 with message: ";
    EXPECT_EQ(jni.text(message), head + std::u16string(299 - head.size(), u'e'));
}

TEST_F(BridgeTest, TypesTheArrayReadingOneByteAtATime) {
    const WindowHandle target = simulated::openWindow({u"Till"});
    chooseTarget(target);
    const jbyteArray scan = jni.byteArray({'4', '0', '0', '6', 0xE9, '\r'});
    EXPECT_EQ(typeBytes(jni.env(), scan), JNI_TRUE);
    EXPECT_EQ(simulated::receivedText(target), u"4006\u00e9\r");
    EXPECT_EQ(jni.largestByteRegion(), 1);
    EXPECT_EQ(jni.byteRegionReads(), 6);
    EXPECT_EQ(lastErrorMessage(jni.env()), nullptr);
}

TEST_F(BridgeTest, ANullArrayIsRefusedBeforeAnythingIsRead) {
    chooseTarget(simulated::openWindow({u"Till"}));
    EXPECT_EQ(typeBytes(jni.env(), nullptr), JNI_FALSE);
    EXPECT_EQ(jni.byteRegionReads(), 0);
    const jstring message = lastErrorMessage(jni.env());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(jni.text(message), u"Wedge error: 87 with message: The parameter is incorrect.\r\n");
}

}  // namespace
}  // namespace wedge::testing
