#include "catalogue_state.h"
#include "wedge_cli.h"

#include "desktop_fixture.h"
#include "command_line_text.h"
#include "platform/windows1252.h"

#include <map>
#include <string>
#include <vector>

namespace wedge::testing {
namespace {

using cli::ExitFailure;
using cli::ExitSuccess;
using cli::ExitUsage;

class CliTest : public DesktopTest {
protected:
    int run(const std::vector<std::u16string>& args) {
        out.clear();
        error.clear();
        const cli::Console console{
            [this](const std::string& text) { out += text; },
            [this](const std::string& text) { error += text; },
            [this](const std::u16string& path, size_t maxBytes, std::vector<uint8_t>* bytes, std::string* reason) {
                const auto found = files.find(path);
                if (found == files.end()) {
                    *reason = "No such file or directory";
                    return cli::FileRead::Unreadable;
                }
                if (found->second.size() > maxBytes) {
                    return cli::FileRead::TooLarge;
                }
                *bytes = found->second;
                return cli::FileRead::Done;
            },
        };
        return cli::runWedge(args, console);
    }

    std::string out;
    std::string error;
    std::map<std::u16string, std::vector<uint8_t>> files;
};

TEST_F(CliTest, ListPrintsIndexAndTitleOfEachListedWindowWithControlsEscaped) {
    simulated::openWindow({u"Till"});
    simulated::openWindow({u"Hidden", false});
    simulated::openWindow({u"Caf\u00e9 \U0001F600"});
    simulated::openWindow({u"a\tb\r\nc\x1b[2J\x7f\x85 C:\\scans"});
    EXPECT_EQ(run({u"list"}), ExitSuccess);
    EXPECT_EQ(out, "0\tTill\n1\tCaf\xc3\xa9 \xf0\x9f\x98\x80\n2\ta\\tb\\r\\nc\\u001B[2J\\u007F\\u0085 C:\\scans\n");
    EXPECT_EQ(catalogue::currentWindowList(), nullptr) << "the list is released";
}

TEST_F(CliTest, TypesTextIntoTheWindowChosenByTitleWithASuffix) {
    simulated::openWindow({u"Mail"});
    const WindowHandle till = simulated::openWindow({u"Till"});
    EXPECT_EQ(run({u"type", u"--window", u"Till", u"--suffix", u"enter", u"4006381333931", u"\u20acuro"}),
              ExitSuccess)
        << error;
    EXPECT_EQ(simulated::receivedText(till), u"4006381333931 \u20acuro\r");
}

TEST_F(CliTest, ChoosesByIndexAndTypesATabSuffix) {
    simulated::openWindow({u"Mail"});
    const WindowHandle till = simulated::openWindow({u"Till"});
    EXPECT_EQ(run({u"type", u"--window", u"1", u"--suffix", u"tab", u"--", u"--not-an-option"}), ExitSuccess);
    EXPECT_EQ(simulated::receivedText(till), u"--not-an-option\t");
}

TEST_F(CliTest, TypesAFilesBytesAsTheyAre) {
    const WindowHandle till = simulated::openWindow({u"Till"});
    files[u"scan.bin"] = {'A', '\n', 0xE9, '\r'};
    EXPECT_EQ(run({u"type", u"--window", u"Till", u"--file", u"scan.bin"}), ExitSuccess);
    EXPECT_EQ(simulated::receivedText(till), u"A\u00e9\r");
}

TEST_F(CliTest, RefusesACharacterOutsideTheCodePageBeforeTyping) {
    const WindowHandle till = simulated::openWindow({u"Till"});
    EXPECT_EQ(run({u"type", u"--window", u"Till", u"ab\u03a9"}), ExitUsage);
    EXPECT_NE(error.find("U+03A9 at position 3 has no byte in this system's code page 1252"), std::string::npos)
        << error;
    EXPECT_TRUE(simulated::activations().empty());
    EXPECT_EQ(simulated::receivedText(till), u"");
}

TEST_F(CliTest, RefusesAFileLargerThanTheMostAScanMayHold) {
    const WindowHandle till = simulated::openWindow({u"Till"});
    files[u"big.bin"] = std::vector<uint8_t>(cli::MaxFileBytes + 1, 'x');
    EXPECT_EQ(run({u"type", u"--window", u"Till", u"--file", u"big.bin"}), ExitFailure);
    EXPECT_EQ(error, "wedge type: big.bin holds more than 1048576 bytes, the most a scan may have; nothing was typed\n");
    EXPECT_TRUE(simulated::activations().empty());
    EXPECT_EQ(simulated::receivedText(till), u"");
}

TEST_F(CliTest, ReportsWindowsItCannotFindOrReach) {
    simulated::openWindow({u"Till"});
    EXPECT_EQ(run({u"type", u"--window", u"Tills", u"x"}), ExitFailure);
    EXPECT_NE(error.find("no window is titled \"Tills\""), std::string::npos) << error;
    EXPECT_EQ(run({u"type", u"--window", u"1", u"x"}), ExitFailure);
    EXPECT_NE(error.find("no window at index 1; 1 listed"), std::string::npos) << error;
    EXPECT_EQ(run({u"type", u"--window", u"Till", u"--file", u"missing.bin"}), ExitFailure);
    EXPECT_NE(error.find("cannot read missing.bin: No such file or directory\n"), std::string::npos) << error;
}

TEST_F(CliTest, PrintsTheLibrarysReasonWhenTypingFails) {
    const WindowHandle till = simulated::openWindow({u"Till"});
    simulated::refuseActivationAfter(till, 1);
    EXPECT_EQ(run({u"type", u"--window", u"Till", u"ab"}), ExitFailure);
    EXPECT_EQ(error, "wedge type: Selected window is no longer available\n");
}

TEST_F(CliTest, RejectsMalformedCommandLines) {
    for (const auto& args : std::vector<std::vector<std::u16string>>{
             {},
             {u"jump"},
             {u"list", u"extra"},
             {u"type", u"text"},
             {u"type", u"--window"},
             {u"type", u"--window", u"Till"},
             {u"type", u"--window", u"Till", u"--suffix", u"space", u"x"},
             {u"type", u"--window", u"Till", u"--file", u"f", u"x"},
             {u"type", u"--window", u"Till", u"--speed", u"x"},
         }) {
        EXPECT_EQ(run(args), ExitUsage) << cli::toUtf8(args.empty() ? u"" : args.back());
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(simulated::activations().empty());
    EXPECT_EQ(run({u"--help"}), ExitSuccess);
    EXPECT_NE(out.find("wedge type --window INDEX|TITLE"), std::string::npos);
}

TEST(AnsiBytes, EncodesEveryByteBackFromItsCharacter) {
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t character = platform::fromWindows1252(static_cast<uint8_t>(byte));
        std::vector<uint8_t> encoded;
        size_t failedAt = 0;
        ASSERT_TRUE(cli::toAnsiBytes(std::u16string(1, character), &encoded, &failedAt)) << byte;
        EXPECT_EQ(encoded, std::vector<uint8_t>{static_cast<uint8_t>(byte)});
    }
}

TEST(Utf8, EncodesPairsAndReplacesLoneSurrogates) {
    EXPECT_EQ(cli::toUtf8(u"a\u00e9\u20ac\U0001F600"), "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
    EXPECT_EQ(cli::toUtf8(std::u16string(u"x\xD800y")), "x\xef\xbf\xbdy");
}

}  // namespace
}  // namespace wedge::testing
