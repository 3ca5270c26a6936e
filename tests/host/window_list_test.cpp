#include "catalogue/window_list.h"
#include "failing_allocation.h"

#include <gtest/gtest.h>

#include <string>

namespace wedge::catalogue {
namespace {

WindowHandle handle(uintptr_t value) { return reinterpret_cast<WindowHandle>(value); }

class WindowListTest : public ::testing::Test {
protected:
    void SetUp() override { list.clear(); }
    void TearDown() override { list.clear(); }
    WindowList list;
};

TEST_F(WindowListTest, EmptyListHasNoCurrentEntry) {
    list.rewind();
    EXPECT_EQ(list.currentTitle(), nullptr);
    EXPECT_EQ(list.currentTitleLength(), -1);
    EXPECT_EQ(list.currentWindow(), nullptr);
    EXPECT_FALSE(list.advance());
    EXPECT_EQ(list.count(), 0);
}

TEST_F(WindowListTest, WalksEntriesInAppendOrderAndStopsOnTheLast) {
    list.addWindow(3, u"one", handle(1));
    list.addWindow(3, u"two", handle(2));
    list.addWindow(5, u"three", handle(3));
    EXPECT_EQ(list.count(), 3);

    list.rewind();
    EXPECT_EQ(std::u16string(list.currentTitle()), u"one");
    ASSERT_TRUE(list.advance());
    EXPECT_EQ(list.currentWindow(), handle(2));
    ASSERT_TRUE(list.advance());
    EXPECT_EQ(list.currentTitleLength(), 5);
    EXPECT_FALSE(list.advance());
    EXPECT_EQ(list.currentWindow(), handle(3)) << "the last entry stays current";
}

TEST_F(WindowListTest, SingleEntryStaysCurrent) {
    list.addWindow(1, u"x", handle(7));
    list.rewind();
    EXPECT_FALSE(list.advance());
    EXPECT_EQ(list.currentWindow(), handle(7));
}

TEST_F(WindowListTest, EveryInstanceSharesOneList) {
    list.addWindow(1, u"a", handle(1));
    const WindowList other;
    EXPECT_EQ(other.count(), 1);
    EXPECT_EQ(other.currentWindow(), handle(1));
}

TEST_F(WindowListTest, ClearStartsAFreshList) {
    list.addWindow(1, u"a", handle(1));
    list.addWindow(1, u"b", handle(2));
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.currentWindow(), nullptr);

    list.addWindow(1, u"c", handle(3));
    EXPECT_EQ(list.count(), 1);
    list.rewind();
    EXPECT_EQ(list.currentWindow(), handle(3));
    EXPECT_FALSE(list.advance()) << "nothing of the cleared list is linked on";
}

TEST_F(WindowListTest, HoldsA99UnitTitleWhole) {
    const std::u16string title(99, u'T');
    list.addWindow(99, title.c_str(), handle(1));
    list.rewind();
    EXPECT_EQ(std::u16string(list.currentTitle()), title);
    EXPECT_EQ(list.currentTitleLength(), 99);
}

TEST_F(WindowListTest, KeepsTheReportedLengthWhenTheTitleIsShorter) {
    // The units past the terminator read as 0 up to the reported length.
    list.addWindow(6, u"ab\0zzzz", handle(1));
    list.rewind();
    EXPECT_EQ(list.currentTitleLength(), 6);
    const char16_t* title = list.currentTitle();
    EXPECT_EQ(std::u16string(title, 6), std::u16string(u"ab\0\0\0\0", 6));
}

TEST_F(WindowListTest, NeverCopiesPastItsTitleField) {
    const std::u16string longTitle(150, u'L');
    list.addWindow(150, longTitle.c_str(), handle(1));
    list.rewind();
    EXPECT_EQ(list.currentTitleLength(), 99);
    EXPECT_EQ(std::u16string(list.currentTitle()), longTitle.substr(0, 99));
}

TEST_F(WindowListTest, LeavesOutAnEntryThatCannotBeAllocated) {
    list.addWindow(1, u"a", handle(1));
    {
        const testing::FailingAllocation noMemory;
        list.addWindow(1, u"b", handle(2));
    }
    list.addWindow(1, u"c", handle(3));
    EXPECT_EQ(list.count(), 2);
    list.rewind();
    EXPECT_EQ(list.currentWindow(), handle(1));
    ASSERT_TRUE(list.advance());
    EXPECT_EQ(list.currentWindow(), handle(3));
}

}  // namespace
}  // namespace wedge::catalogue
