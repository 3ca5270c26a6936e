// The window list and the choice of target, on a desktop with windows of a
// separate application, through the DLL's exports.
#include "polling.h"
#include "target_app.h"
#include "wedge_natives.h"
#include "wide_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace wedge_test {
namespace {

constexpr size_t ListedTitleLimit = 99;

size_t countOf(const std::vector<std::u16string>& titles, const std::wstring& title) {
    return static_cast<size_t>(std::count(titles.begin(), titles.end(), toU16(title)));
}

std::optional<int32_t> indexOf(const std::vector<std::u16string>& titles, const std::wstring& title) {
    const auto found = std::find(titles.begin(), titles.end(), toU16(title));
    if (found == titles.end()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(found - titles.begin());
}

class WindowCatalogue : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(natives.ready()); }

    WedgeNatives natives;
};

TEST_F(WindowCatalogue, ListsVisibleTitledWindowsOnly) {
    const std::wstring shown = uniqueTitle(L"shown");
    const std::wstring hidden = uniqueTitle(L"hidden");
    const std::wstring twin = uniqueTitle(L"twin");
    std::wstring longTitle = uniqueTitle(L"long") + L" ";
    while (longTitle.size() < 150) {
        longTitle += static_cast<wchar_t>(L'a' + longTitle.size() % 26);
    }
    TargetApp app({L"frame=" + shown, L"hidden=" + hidden, L"untitled", L"frame=" + longTitle, L"frame=" + twin,
                   L"frame=" + twin});
    ASSERT_TRUE(app.started());
    ASSERT_NE(app.waitForFrame(shown), nullptr);
    ASSERT_NE(app.waitForFrame(longTitle), nullptr);
    // Each window the list must leave out really is on the desktop.
    ASSERT_TRUE(waitUntil([&] { return app.framesTitled(hidden).size() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return app.untitledVisibleFrames().size() == 1; }));
    ASSERT_TRUE(waitUntil([&] {
        const std::vector<HWND> twins = app.framesTitled(twin);
        return twins.size() == 2 && IsWindowVisible(twins[0]) && IsWindowVisible(twins[1]);
    }));

    const auto titles = natives.getWindows();
    ASSERT_TRUE(titles.has_value());
    EXPECT_EQ(countOf(*titles, shown), 1u);
    EXPECT_EQ(countOf(*titles, hidden), 0u);
    EXPECT_EQ(std::count(titles->begin(), titles->end(), u""), 0);
    EXPECT_EQ(countOf(*titles, twin), 2u);
    EXPECT_EQ(countOf(*titles, longTitle.substr(0, ListedTitleLimit)), 1u);
    EXPECT_EQ(countOf(*titles, longTitle), 0u);
    EXPECT_FALSE(natives.jni().exceptionPending());
}

TEST_F(WindowCatalogue, ListedWindowBecomesTheTarget) {
    const std::wstring title = uniqueTitle(L"choice");
    TargetApp app({L"frame=" + title});
    ASSERT_NE(app.waitForFrame(title), nullptr);

    const auto titles = natives.getWindows();
    ASSERT_TRUE(titles.has_value());
    const auto index = indexOf(*titles, title);
    ASSERT_TRUE(index.has_value());
    EXPECT_TRUE(natives.setWindow(*index));
    EXPECT_EQ(natives.getLastErrorMessage(), std::nullopt);
}

TEST_F(WindowCatalogue, EveryIndexOfTheListCanBeChosenAndNoneBeyond) {
    const std::wstring title = uniqueTitle(L"bounds");
    TargetApp app({L"frame=" + title});
    ASSERT_NE(app.waitForFrame(title), nullptr);

    const auto titles = natives.getWindows();
    ASSERT_TRUE(titles.has_value());
    const auto count = static_cast<int32_t>(titles->size());
    ASSERT_GE(count, 1);
    EXPECT_TRUE(natives.setWindow(count - 1));
    ASSERT_TRUE(natives.getWindows().has_value());
    EXPECT_FALSE(natives.setWindow(count));
    ASSERT_TRUE(natives.getWindows().has_value());
    EXPECT_FALSE(natives.setWindow(-1));
}

TEST_F(WindowCatalogue, ListIsConsumedBySetWindowAndReleasedByDestroy) {
    const std::wstring title = uniqueTitle(L"consumed");
    TargetApp app({L"frame=" + title});
    ASSERT_NE(app.waitForFrame(title), nullptr);

    auto titles = natives.getWindows();
    ASSERT_TRUE(titles.has_value());
    auto index = indexOf(*titles, title);
    ASSERT_TRUE(index.has_value());
    ASSERT_TRUE(natives.setWindow(*index));
    EXPECT_FALSE(natives.setWindow(*index));

    titles = natives.getWindows();
    ASSERT_TRUE(titles.has_value());
    index = indexOf(*titles, title);
    ASSERT_TRUE(index.has_value());
    natives.destroy();
    EXPECT_FALSE(natives.setWindow(*index));
}

TEST_F(WindowCatalogue, WindowOfAKilledProcessCannotBeChosen) {
    const std::wstring title = uniqueTitle(L"killed");
    TargetApp app({L"frame=" + title});
    ASSERT_NE(app.waitForFrame(title), nullptr);

    const auto titles = natives.getWindows();
    ASSERT_TRUE(titles.has_value());
    const auto index = indexOf(*titles, title);
    ASSERT_TRUE(index.has_value());
    app.terminate();
    EXPECT_FALSE(natives.setWindow(*index));
}

TEST_F(WindowCatalogue, TypingFindsTheTargetAgainAfterItsWindowIsReopened) {
    const std::wstring title = uniqueTitle(L"reopened");
    TargetApp app({L"frame=" + title});
    const HWND original = app.waitForFrame(title);
    ASSERT_NE(original, nullptr);
    ASSERT_TRUE(natives.chooseTarget(toU16(title)));

    const HWND reopened = reopenFrame(app, original, title);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(natives.sendText(bytesOf("re")));
    EXPECT_EQ(natives.getLastErrorMessage(), std::nullopt);
    EXPECT_EQ(waitForEditText(reopened, L"re"), L"re");
}

TEST_F(WindowCatalogue, TypingFailsWhenNoWindowHasTheTargetsTitle) {
    const std::wstring title = uniqueTitle(L"gone");
    TargetApp app({L"frame=" + title});
    ASSERT_NE(app.waitForFrame(title), nullptr);
    ASSERT_TRUE(natives.chooseTarget(toU16(title)));
    app.terminate();

    EXPECT_FALSE(natives.sendText(bytesOf("x")));
    EXPECT_EQ(natives.getLastErrorMessage(), std::u16string(u"Selected window is no longer available"));
}

}  // namespace
}  // namespace wedge_test
