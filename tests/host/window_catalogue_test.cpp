#include "catalogue_state.h"
#include "desktop_fixture.h"
#include "failing_allocation.h"

#include <string>
#include <vector>

namespace wedge::testing {
namespace {

using catalogue::currentWindowList;
using catalogue::listWindows;
using catalogue::relocateTarget;
using catalogue::setWindow;

struct Listed {
    WindowHandle window;
    std::u16string title;  // titleLength units, as handed to Java
};

std::vector<Listed> listed() {
    std::vector<Listed> result;
    catalogue::WindowList& list = listWindows();
    list.rewind();
    for (int32_t i = 0; i < list.count(); ++i) {
        result.push_back({list.currentWindow(),
                          std::u16string(list.currentTitle(), static_cast<size_t>(list.currentTitleLength()))});
        list.advance();
    }
    return result;
}

std::vector<std::u16string> listedTitles() {
    std::vector<std::u16string> titles;
    for (const Listed& entry : listed()) {
        titles.push_back(entry.title);
    }
    return titles;
}

using WindowCatalogueTest = DesktopTest;

TEST_F(WindowCatalogueTest, ListsVisibleTitledWindowsInEnumerationOrder) {
    simulated::openWindow({u"Editor"});
    simulated::openWindow({u"Hidden", false});
    simulated::openWindow({u""});
    simulated::openWindow({u"Minimised", true, true});
    simulated::openWindow({u"Editor"});
    const WindowHandle closed = simulated::openWindow({u"Closed"});
    simulated::closeWindow(closed);

    EXPECT_EQ(listedTitles(), (std::vector<std::u16string>{u"Editor", u"Minimised", u"Editor"}));
}

TEST_F(WindowCatalogueTest, EmptyDesktopListsNothing) {
    EXPECT_TRUE(listedTitles().empty());
    EXPECT_NE(currentWindowList(), nullptr) << "an empty list is still current";
}

TEST_F(WindowCatalogueTest, CutsLongTitlesTo99Units) {
    const std::u16string title(150, u'x');
    simulated::openWindow({title});
    EXPECT_EQ(listedTitles(), std::vector<std::u16string>{title.substr(0, 99)});
}

TEST_F(WindowCatalogueTest, KeepsSurrogatesAndNonAsciiUnitsAsTheyAre) {
    const std::u16string title = u"Caf\u00e9 \U0001F600 \xD800 end";
    simulated::openWindow({title});
    EXPECT_EQ(listedTitles(), std::vector<std::u16string>{title});
}

TEST_F(WindowCatalogueTest, PadsWithZerosUpToAnOverstatedLength) {
    const WindowHandle window = simulated::openWindow({u"abc"});
    simulated::reportTitleLength(window, 6);
    EXPECT_EQ(listedTitles(), std::vector<std::u16string>{std::u16string(u"abc\0\0\0", 6)});
}

TEST_F(WindowCatalogueTest, ListsATitleThatVanishesBetweenTheLengthQueriesAsEmpty) {
    const WindowHandle window = simulated::openWindow({u"Going"});
    simulated::changeTitleAfterFirstLengthQuery(window, u"");
    EXPECT_EQ(listedTitles(), std::vector<std::u16string>{u""});
}

TEST_F(WindowCatalogueTest, UsesTheSecondLengthQueryWhenTheTitleGrows) {
    const WindowHandle window = simulated::openWindow({u"ab"});
    simulated::changeTitleAfterFirstLengthQuery(window, u"abcdef");
    EXPECT_EQ(listedTitles(), std::vector<std::u16string>{u"abcdef"});
}

TEST_F(WindowCatalogueTest, TreatsAWindowWhoseInformationCannotBeReadAsHidden) {
    const WindowHandle window = simulated::openWindow({u"Unreadable"});
    simulated::openWindow({u"Fine"});
    simulated::failWindowInfo(window, true);
    EXPECT_EQ(listedTitles(), std::vector<std::u16string>{u"Fine"});
}

TEST_F(WindowCatalogueTest, LeavesOutAWindowWhoseEntryCannotBeAllocated) {
    simulated::openWindow({u"One"});
    {
        const FailingAllocation noMemory;
        EXPECT_EQ(listWindows().count(), 0);
    }
    EXPECT_EQ(listedTitles(), std::vector<std::u16string>{u"One"});
}

TEST_F(WindowCatalogueTest, SetWindowChoosesByIndexAndConsumesTheList) {
    simulated::openWindow({u"First"});
    const WindowHandle second = simulated::openWindow({u"Second"});
    listWindows();
    ASSERT_TRUE(setWindow(1));
    EXPECT_EQ(catalogue::targetWindow(), second);
    EXPECT_EQ(targetTitle(), u"Second");
    EXPECT_EQ(currentWindowList(), nullptr);
    EXPECT_FALSE(setWindow(0)) << "a second choice needs a new list";
    EXPECT_EQ(catalogue::targetWindow(), second);
}

TEST_F(WindowCatalogueTest, SetWindowRejectsIndexesOutsideTheList) {
    const WindowHandle only = simulated::openWindow({u"Only"});
    for (const int32_t index : {-1, 1, INT32_MIN, INT32_MAX}) {
        listWindows();
        EXPECT_FALSE(setWindow(index)) << index;
        EXPECT_EQ(currentWindowList(), nullptr) << "the list is consumed for index " << index;
    }
    EXPECT_EQ(catalogue::targetWindow(), nullptr);
    listWindows();
    EXPECT_TRUE(setWindow(0));
    EXPECT_EQ(catalogue::targetWindow(), only);
}

TEST_F(WindowCatalogueTest, SetWindowKeepsThePreviousTargetWhenTheChosenWindowClosed) {
    const WindowHandle first = simulated::openWindow({u"First"});
    const WindowHandle second = simulated::openWindow({u"Second"});
    chooseTarget(first);
    listWindows();
    simulated::closeWindow(second);
    EXPECT_FALSE(setWindow(1));
    EXPECT_EQ(catalogue::targetWindow(), first);
    EXPECT_EQ(targetTitle(), u"First");
}

TEST_F(WindowCatalogueTest, SetWindowNeedsACurrentList) {
    simulated::openWindow({u"Any"});
    EXPECT_FALSE(setWindow(0)) << "before any list";
    listWindows();
    catalogue::destroy();
    EXPECT_FALSE(setWindow(0)) << "after destroy";
    EXPECT_EQ(catalogue::targetWindow(), nullptr);
}

TEST_F(WindowCatalogueTest, DestroyKeepsTheTarget) {
    const WindowHandle window = simulated::openWindow({u"Kept"});
    chooseTarget(window);
    listWindows();
    catalogue::destroy();
    catalogue::destroy();
    EXPECT_EQ(currentWindowList(), nullptr);
    EXPECT_EQ(catalogue::targetWindow(), window);
    EXPECT_EQ(targetTitle(), u"Kept");
}

TEST_F(WindowCatalogueTest, StoresTheTargetTitleCut) {
    const std::u16string title(150, u'y');
    const WindowHandle window = simulated::openWindow({title});
    chooseTarget(window);
    EXPECT_EQ(targetTitle(), title.substr(0, 99));
}

TEST_F(WindowCatalogueTest, NothingHereWritesTheErrorText) {
    simulated::openWindow({u"A"});
    listWindows();
    setWindow(5);
    setWindow(0);
    catalogue::destroy();
    relocateTarget();
    EXPECT_EQ(errorText(), u"");
}

TEST_F(WindowCatalogueTest, RelocationFindsTheFirstWindowWithTheTargetTitle) {
    const WindowHandle original = simulated::openWindow({u"Till"});
    simulated::openWindow({u"Other"});
    chooseTarget(original);
    simulated::closeWindow(original);
    const WindowHandle reopened = simulated::openWindow({u"Till"});
    simulated::openWindow({u"Till"});

    ASSERT_TRUE(relocateTarget());
    EXPECT_EQ(catalogue::targetWindow(), reopened);
    ASSERT_NE(currentWindowList(), nullptr) << "the list stays current after a match";
    EXPECT_EQ(currentWindowList()->currentWindow(), reopened) << "positioned on the match";
}

TEST_F(WindowCatalogueTest, RelocationComparesExactly) {
    const WindowHandle original = simulated::openWindow({u"Till"});
    chooseTarget(original);
    simulated::closeWindow(original);
    simulated::openWindow({u"till"});
    simulated::openWindow({u"Till 2"});
    simulated::openWindow({u"Til"});

    EXPECT_FALSE(relocateTarget());
    EXPECT_EQ(catalogue::targetWindow(), original) << "the target keeps its value";
    EXPECT_EQ(currentWindowList(), nullptr) << "a failed relocation releases its list";
}

TEST_F(WindowCatalogueTest, RelocationMatchesALongTitleByItsCutForm) {
    const std::u16string title = std::u16string(99, u'z') + u" and more";
    const WindowHandle original = simulated::openWindow({title});
    chooseTarget(original);
    simulated::closeWindow(original);
    const WindowHandle reopened = simulated::openWindow({title});

    ASSERT_TRUE(relocateTarget());
    EXPECT_EQ(catalogue::targetWindow(), reopened);
}

TEST_F(WindowCatalogueTest, ARelocationListServesTheNextSetWindow) {
    const WindowHandle original = simulated::openWindow({u"Scan"});
    chooseTarget(original);
    simulated::closeWindow(original);
    simulated::openWindow({u"Other"});
    const WindowHandle reopened = simulated::openWindow({u"Scan"});
    ASSERT_TRUE(relocateTarget());

    EXPECT_TRUE(setWindow(1));
    EXPECT_EQ(catalogue::targetWindow(), reopened);
}

}  // namespace
}  // namespace wedge::testing
