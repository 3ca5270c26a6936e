// Drives random sequences of the five Java operations through the bridge
// against a randomly arranged simulated desktop with random faults, and
// checks after every step what must hold whatever happened: a terminated
// error text that is empty exactly after a successful sendText, keys
// released and Caps Lock as the person left it, a target that was listed
// or found by its title, no typed character outside the target, and no
// window list entry alive once the list is released.
//
// A model of the desktop and of the library's list and target is kept
// beside them so that what Java receives can be checked exactly.
#include "catalogue_state.h"
#include "bridge/marshalling.h"
#include "catalogue/target.h"
#include "catalogue/window_catalogue.h"
#include "entry_ledger.h"
#include "fake_jni.h"
#include "fresh_library.h"
#include "keystrokes/error_text.h"
#include "platform/desktop.h"
#include "simulated/keyboard_layouts.h"
#include "simulated/simulated_desktop.h"
#include "platform/windows1252.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using wedge::catalogue::TitleCapacity;
using wedge::catalogue::TitleLimit;
using wedge::platform::WindowHandle;
namespace catalogue = wedge::catalogue;
namespace keystrokes = wedge::keystrokes;
namespace platform = wedge::platform;
namespace simulated = wedge::simulated;

[[noreturn]] void violated(const char* format, ...) __attribute__((format(printf, 1, 2)));

void violated(const char* format, ...) {
    std::fputs("invariant violated: ", stderr);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
    std::abort();
}

// WEDGE_FUZZ_TRACE=1 prints each step, to follow a failing input.
const bool tracing = std::getenv("WEDGE_FUZZ_TRACE") != nullptr;

void trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

void trace(const char* format, ...) {
    if (!tracing) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
}

#define REQUIRE(condition, ...)      \
    do {                             \
        if (!(condition)) {          \
            violated(__VA_ARGS__);   \
        }                            \
    } while (false)

// The input read front to back, so that seeds can be written by hand.
// Past its end every read answers 0.
class Script {
public:
    Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool done() const { return next_ >= size_; }
    uint8_t byte() { return next_ < size_ ? data_[next_++] : 0; }
    bool flag() { return (byte() & 1U) != 0; }
    uint32_t below(uint32_t bound) { return byte() % bound; }
    uint32_t word() {
        const uint32_t high = byte();
        return high << 8U | byte();
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t next_ = 0;
};

std::u16string shown(const std::u16string& text) {
    std::u16string out;
    for (const char16_t unit : text) {
        out.push_back(unit >= 0x20 && unit < 0x7F ? unit : u'?');
    }
    return out;
}

std::string narrow(const std::u16string& text) {
    std::string out;
    for (const char16_t unit : shown(text)) {
        out.push_back(static_cast<char>(unit));
    }
    return out;
}

// Codes the scenario makes SendInput fail with: none is a code the library
// sets itself or a window query leaves behind, so finding one as the last
// error after sendText proves an injection failed. Two have no decimal
// form without a sign, one has no system text.
constexpr uint32_t InjectionErrors[] = {5, 2, simulated::CodeWithoutText, 0x80000000U, 0xFFFFFFFFU};
constexpr uint32_t OwnErrors[] = {platform::ErrorInvalidData, platform::ErrorInvalidParameter, 1400};

constexpr uint16_t ScenarioKeys[] = {platform::VkShift,   platform::VkControl, platform::VkMenu,
                                     platform::VkCapital, platform::VkTab,     'A',
                                     platform::VkNumpad0 + 3, 0x0D,           platform::VkRightMenu,
                                     platform::VkLeftWindows};

struct ModelWindow {
    WindowHandle handle;
    std::u16string title;
    bool alive = true;
    bool visible = true;
    bool infoFails = false;
    int32_t reportedLength = -1;
    bool elevated = false;
};

// One listed window as the library holds it.
struct Listed {
    WindowHandle window;
    std::u16string javaTitle;  // the listed length's units, as Java receives them
    std::u16string name;       // up to the first terminator: what relocation compares
};

class Session {
public:
    explicit Session(Script& script) : in_(script) {}

    void run() {
        arrangeKeyboard();
        int32_t steps = 0;
        while (!in_.done() && steps++ < 256) {
            step();
            checkSteadyState();
        }
        catalogue::destroy();
        modelListCurrent_ = false;
        checkSteadyState();
        REQUIRE(fuzz::liveEntries() == 0, "%d window list entries alive after destroy", fuzz::liveEntries());
    }

private:
    enum Operation : uint8_t {
        OpenWindow,
        CloseWindow,
        Retitle,
        ShowOrHide,
        Minimise,
        Activatable,
        RefuseActivationLater,
        Foreground,
        FailInjection,
        LimitInjection,
        FailWindowInfo,
        ReportTitleLength,
        CapsLock,
        KeyboardLayout,
        HoldKey,
        JavaFaults,
        AllocationFaults,
        SystemMessage,
        GetWindows,
        SetWindow,
        SendText,
        GetLastErrorMessage,
        Destroy,
        OperationCount
    };

    static constexpr const char* OperationNames[] = {
        "OpenWindow",      "CloseWindow",     "Retitle",          "ShowOrHide",          "Minimise",
        "Activatable",     "RefuseActivationLater", "Foreground",  "FailInjection",       "LimitInjection",
        "FailWindowInfo",  "ReportTitleLength", "CapsLock",       "KeyboardLayout",      "HoldKey",
        "JavaFaults",      "AllocationFaults", "SystemMessage",   "GetWindows",          "SetWindow",
        "SendText",        "GetLastErrorMessage", "Destroy"};
    static_assert(std::size(OperationNames) == OperationCount);

    void arrangeKeyboard() {
        layout_ = in_.flag() ? simulated::Layout::AltGraph : simulated::Layout::UnitedStates;
        simulated::useLayout(layout_);
        simulated::setCapsLock(in_.flag());
    }

    void step() {
        const auto operation = static_cast<Operation>(in_.below(OperationCount));
        trace("step %s", OperationNames[operation]);
        switch (operation) {
        case OpenWindow: {
            simulated::WindowSetup setup;
            setup.title = makeTitle();
            setup.visible = in_.below(4) != 0;
            setup.minimised = in_.flag();
            setup.acceptsActivation = in_.below(4) != 0;
            setup.elevated = in_.below(8) == 0;
            const uint32_t layout = in_.below(3);
            if (layout != 0) {
                setup.layout = layout == 1 ? simulated::Layout::UnitedStates : simulated::Layout::AltGraph;
            }
            const WindowHandle handle = simulated::openWindow(setup);
            windows_.push_back({handle, setup.title, true, setup.visible, false, -1, setup.elevated});
            break;
        }
        case CloseWindow:
            if (ModelWindow* window = pickWindow()) {
                simulated::closeWindow(window->handle);
                window->alive = false;
            }
            break;
        case Retitle:
            if (ModelWindow* window = pickWindow()) {
                window->title = makeTitle();
                simulated::setTitle(window->handle, window->title);
            }
            break;
        case ShowOrHide:
            if (ModelWindow* window = pickWindow()) {
                window->visible = in_.flag();
                simulated::setVisible(window->handle, window->visible);
            }
            break;
        case Minimise:
            if (ModelWindow* window = pickWindow()) {
                simulated::setMinimised(window->handle, in_.flag());
            }
            break;
        case Activatable:
            if (ModelWindow* window = pickWindow()) {
                simulated::setAcceptsActivation(window->handle, in_.flag());
            }
            break;
        case RefuseActivationLater:
            if (ModelWindow* window = pickWindow()) {
                simulated::refuseActivationAfter(window->handle, in_.below(8));
            }
            break;
        case Foreground: {
            ModelWindow* window = pickWindow();
            simulated::setForeground(window != nullptr && in_.flag() ? window->handle : nullptr);
            break;
        }
        case FailInjection: {
            const uint32_t choice = in_.below(static_cast<uint32_t>(std::size(InjectionErrors)) + 1);
            injectionError_ = choice < std::size(InjectionErrors) ? InjectionErrors[choice] : 0;
            const auto times = static_cast<int32_t>(in_.below(6)) - 1;
            const uint32_t after = in_.below(24);
            trace("  code %u, %d times after %u", injectionError_, times, after);
            simulated::failSendInput(injectionError_, times, after);
            break;
        }
        case LimitInjection:
            injectionLimit_ = in_.below(4) == 0 ? in_.below(10) : 0;
            simulated::limitSendInput(injectionLimit_);
            break;
        case FailWindowInfo:
            if (ModelWindow* window = pickWindow()) {
                window->infoFails = in_.flag();
                simulated::failWindowInfo(window->handle, window->infoFails);
            }
            break;
        case ReportTitleLength:
            if (ModelWindow* window = pickWindow()) {
                window->reportedLength = static_cast<int32_t>(in_.below(170)) - 4;
                simulated::reportTitleLength(window->handle, window->reportedLength);
            }
            break;
        case CapsLock: {
            const bool on = in_.flag();
            trace("  %s", on ? "on" : "off");
            simulated::setCapsLock(on);
            break;
        }
        case KeyboardLayout:
            layout_ = in_.flag() ? simulated::Layout::AltGraph : simulated::Layout::UnitedStates;
            simulated::useLayout(layout_);
            break;
        case HoldKey: {
            const uint16_t key = ScenarioKeys[in_.below(static_cast<uint32_t>(std::size(ScenarioKeys)))];
            const bool down = in_.flag();
            trace("  key 0x%02X %s", key, down ? "down" : "up");
            simulated::holdKey(key, down);
            break;
        }
        case JavaFaults:
            jni_.failArrayCreation(in_.below(4) == 0);
            jni_.failStringCreationAfter(in_.below(3) == 0 ? static_cast<int32_t>(in_.below(6)) : -1);
            break;
        case AllocationFaults: {
            const uint32_t pattern = in_.word();
            fuzz::refuseAllocations(pattern, in_.below(17));
            break;
        }
        case SystemMessage: {
            constexpr uint32_t Codes[] = {5, 13, 87, 1400, 2, simulated::CodeWithoutText, 0x80000000U};
            const uint32_t code = Codes[in_.below(static_cast<uint32_t>(std::size(Codes)))];
            std::u16string text(in_.below(4) == 0 ? 300 + in_.below(120) : in_.below(40), u'm');
            for (char16_t& unit : text) {
                unit = static_cast<char16_t>(u'a' + in_.below(26));
            }
            simulated::setSystemMessage(code, text);
            break;
        }
        case GetWindows:
            getWindows();
            break;
        case SetWindow:
            setWindow();
            break;
        case SendText:
            sendText();
            break;
        case GetLastErrorMessage:
            getLastErrorMessage();
            break;
        case Destroy:
            catalogue::destroy();
            modelListCurrent_ = false;
            REQUIRE(fuzz::liveEntries() == 0, "%d entries alive after destroy", fuzz::liveEntries());
            break;
        case OperationCount:
            break;
        }
    }

    ModelWindow* pickWindow() {
        if (windows_.empty()) {
            return nullptr;
        }
        return &windows_[in_.below(static_cast<uint32_t>(std::min<size_t>(windows_.size(), 256)))];
    }

    char16_t makeUnit() {
        const uint8_t kind = in_.byte();
        if (kind < 0x80) {
            return static_cast<char16_t>(u'a' + kind % 3);  // few letters, so titles repeat
        }
        if (kind < 0xC0) {
            return static_cast<char16_t>(0x20 + (kind - 0x80));  // space to '_'
        }
        if (kind < 0xD0) {
            return static_cast<char16_t>(0xD800 + (kind & 0xFU));  // a high surrogate alone
        }
        if (kind < 0xE0) {
            return static_cast<char16_t>(0xDC00 + (kind & 0xFU));  // a low surrogate alone
        }
        if (kind == 0xE0) {
            return 0;
        }
        return static_cast<char16_t>(in_.word());
    }

    // 0 to 150 units; often another window's title, whole or with more
    // after it, so that titles collide and relocation has choices.
    std::u16string makeTitle() {
        std::u16string title;
        if (!windows_.empty() && in_.below(3) == 0) {
            title = pickWindow()->title;
        }
        const uint32_t length = in_.below(151);
        while (title.size() < length) {
            title.push_back(makeUnit());
        }
        title.resize(std::min<size_t>(title.size(), 150));
        return title;
    }

    // What the library's enumeration lists on the desktop as it is now,
    // with the entries that cannot be allocated left out.
    std::vector<Listed> expectedListing(fuzz::RefusalPlan& refusals, size_t* allocations = nullptr) const {
        std::vector<Listed> listed;
        for (const ModelWindow& window : windows_) {
            if (!window.alive || window.infoFails || !window.visible) {
                continue;
            }
            const int32_t reported =
                window.reportedLength >= 0 ? window.reportedLength : static_cast<int32_t>(window.title.size());
            if (reported <= 0) {
                continue;
            }
            const auto length = static_cast<size_t>(std::min(reported, TitleLimit));
            std::u16string name = window.title.substr(0, std::min(length, window.title.size()));
            name = name.substr(0, name.find(u'\0'));
            std::u16string javaTitle = name;
            javaTitle.resize(length, u'\0');
            if (allocations != nullptr) {
                ++*allocations;
            }
            if (refusals.takeNext()) {
                continue;
            }
            listed.push_back({window.handle, javaTitle, name});
        }
        return listed;
    }

    std::vector<Listed> enumerateIntoModel(fuzz::RefusalPlan* refusalsAfter, size_t* allocations) {
        *refusalsAfter = fuzz::refusalPlan();
        std::vector<Listed> listed = expectedListing(*refusalsAfter, allocations);
        modelList_ = listed;
        modelListCurrent_ = true;
        return listed;
    }

    // The library allocated exactly one entry per window it meant to list.
    static void requireAllocationsAsListed(const fuzz::RefusalPlan& expected) {
        const fuzz::RefusalPlan actual = fuzz::refusalPlan();
        REQUIRE(actual.pattern == expected.pattern && actual.allocations == expected.allocations,
                "the enumeration allocated other than one entry per listed window");
    }

    const ModelWindow* modelWindow(WindowHandle handle) const {
        for (const ModelWindow& window : windows_) {
            if (window.handle == handle) {
                return &window;
            }
        }
        return nullptr;
    }

    static size_t liveReferencesDelta(int32_t before, int32_t after) {
        REQUIRE(after >= before, "local references went from %d to %d", before, after);
        return static_cast<size_t>(after - before);
    }

    void getWindows() {
        const int32_t referencesBefore = jni_.liveLocalReferences();
        fuzz::RefusalPlan refusalsAfter;
        size_t allocations = 0;
        const std::vector<Listed> expected = enumerateIntoModel(&refusalsAfter, &allocations);
        const uint64_t attemptsBefore = fuzz::allocationAttempts();
        const jobjectArray titles = wedge::bridge::listWindowTitles(jni_.env());
        requireAllocationsAsListed(refusalsAfter);
        REQUIRE(fuzz::allocationAttempts() - attemptsBefore == allocations,
                "the enumeration made %llu allocations for %zu windows to list",
                static_cast<unsigned long long>(fuzz::allocationAttempts() - attemptsBefore), allocations);
        const size_t created = liveReferencesDelta(referencesBefore, jni_.liveLocalReferences());
        REQUIRE(jni_.callsWithExceptionPending() == 0, "a JNI call was made with an exception pending");
        if (titles == nullptr) {
            REQUIRE(jni_.exceptionPending(), "getWindows answered null without an exception");
            REQUIRE(created == 0, "getWindows failed and left %zu local references", created);
            jni_.clearException();
        } else {
            REQUIRE(!jni_.exceptionPending(), "getWindows answered titles with an exception pending");
            REQUIRE(created == 1, "getWindows left %zu local references, not just the array", created);
            const std::vector<std::u16string> received = jni_.strings(titles);
            REQUIRE(received.size() == expected.size(), "getWindows listed %zu windows, expected %zu",
                    received.size(), expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                REQUIRE(received[i] == expected[i].javaTitle, "title %zu is \"%s\", expected \"%s\"", i,
                        narrow(received[i]).c_str(), narrow(expected[i].javaTitle).c_str());
            }
            jni_.env()->DeleteLocalRef(titles);
        }
    }

    void setWindow() {
        const uint32_t form = in_.below(4);
        int32_t index = static_cast<int32_t>(in_.below(40)) - 2;
        if (form == 0) {
            index = static_cast<int32_t>(in_.word() << 16U | in_.word());
        }
        bool expectSelected = false;
        if (modelListCurrent_ && index >= 0 && static_cast<size_t>(index) < modelList_.size()) {
            const Listed& chosen = modelList_[static_cast<size_t>(index)];
            const ModelWindow* window = modelWindow(chosen.window);
            if (window != nullptr && window->alive) {
                expectSelected = true;
                modelTarget_ = chosen.window;
                modelTargetName_ = chosen.name;
            }
        }
        const bool selected = catalogue::setWindow(index);
        trace("  index %d: %d", index, selected);
        REQUIRE(selected == expectSelected, "setWindow(%d) answered %d, expected %d", index, selected,
                expectSelected);
        modelListCurrent_ = false;
        REQUIRE(fuzz::liveEntries() == 0, "%d entries alive after setWindow", fuzz::liveEntries());
    }

    void getLastErrorMessage() {
        if (in_.below(4) == 0) {
            jni_.failStringCreationAfter(0);
        }
        const int32_t referencesBefore = jni_.liveLocalReferences();
        const jstring message = wedge::bridge::lastErrorMessage(jni_.env());
        const size_t created = liveReferencesDelta(referencesBefore, jni_.liveLocalReferences());
        const std::u16string text(keystrokes::lastErrorText(),
                                  static_cast<size_t>(keystrokes::errorTextLength()));
        if (message == nullptr) {
            REQUIRE(created == 0, "a null message left a local reference");
            REQUIRE(text.empty() || jni_.exceptionPending(), "a null message while the text is \"%s\"",
                    narrow(text).c_str());
            jni_.clearException();
        } else {
            REQUIRE(created == 1, "the message left %zu local references", created);
            REQUIRE(!text.empty(), "a message while the error text is empty");
            REQUIRE(jni_.text(message) == text, "the message is \"%s\", the text \"%s\"",
                    narrow(jni_.text(message)).c_str(), narrow(text).c_str());
            jni_.env()->DeleteLocalRef(message);
        }
        jni_.failStringCreationAfter(-1);
    }

    // The characters the bytes type into the target on this layout, up to
    // the first byte no key produces.
    std::u16string expectedCharacters(const std::vector<uint8_t>& bytes, bool* typeable) const {
        std::u16string characters;
        *typeable = true;
        for (const uint8_t value : bytes) {
            if (value == 127 || (value < 32 && value != 9 && value != 13)) {
                continue;
            }
            if (value >= 128) {
                characters.push_back(platform::fromWindows1252(value));
                continue;
            }
            if (platform::vkKeyScan(value, platform::keyboardLayoutOf(modelTarget_)) == -1) {
                *typeable = false;
                break;
            }
            characters.push_back(value);
        }
        return characters;
    }

    void sendText() {
        const bool nullArray = in_.below(16) == 0;
        std::vector<uint8_t> bytes(in_.below(4) == 0 ? in_.byte() : in_.below(12));
        for (uint8_t& value : bytes) {
            value = in_.byte();
        }

        const WindowHandle targetBefore = catalogue::targetWindow();
        const bool capsBefore = simulated::capsLockOn();
        const std::vector<uint16_t> keysBefore = simulated::keysDown();
        const uint32_t menusBefore = simulated::menuOpenings();
        std::vector<std::u16string> receivedBefore;
        for (const ModelWindow& window : windows_) {
            receivedBefore.push_back(simulated::receivedText(window.handle));
        }
        const size_t activationsBefore = simulated::activations().size();
        const size_t restorationsBefore = simulated::restorations().size();
        const size_t injectionsBefore = simulated::injectedEvents().size();
        fuzz::RefusalPlan refusalsBefore = fuzz::refusalPlan();
        platform::setLastError(0);

        const jbyteArray array = nullArray ? nullptr : jni_.byteArray(bytes);
        const bool sent = wedge::bridge::typeBytes(jni_.env(), array) == JNI_TRUE;
        for (const uint8_t byte : bytes) {
            trace("  byte 0x%02X", byte);
        }
        trace("  %zu bytes%s to %p: %s, \"%s\"", bytes.size(), nullArray ? " (null array)" : "", targetBefore,
              sent ? "sent" : "failed", narrow({keystrokes::lastErrorText(),
                                                static_cast<size_t>(keystrokes::errorTextLength())}).c_str());
        lastSendSucceeded_ = sent;

        REQUIRE(jni_.callsWithExceptionPending() == 0, "a JNI call was made with an exception pending");
        REQUIRE(!jni_.exceptionPending(), "sendText left an exception pending");
        REQUIRE(jni_.largestByteRegion() <= 1, "the text was read more than a byte at a time");

        const auto& activations = simulated::activations();
        const std::u16string text(keystrokes::lastErrorText(),
                                  static_cast<size_t>(keystrokes::errorTextLength()));

        if (targetBefore == nullptr) {
            REQUIRE(!sent && text == keystrokes::TargetNotSetMessage, "no target, yet \"%s\"", narrow(text).c_str());
        } else if (nullArray) {
            REQUIRE(!sent && text.rfind(u"Wedge error: 87 with message: ", 0) == 0, "a null array gave \"%s\"",
                    narrow(text).c_str());
        }
        if (targetBefore == nullptr || nullArray) {
            REQUIRE(activations.size() == activationsBefore, "activated a window without a target or text");
            REQUIRE(simulated::injectedEvents().size() == injectionsBefore, "typed without a target or text");
            REQUIRE(catalogue::targetWindow() == targetBefore, "the target changed without typing");
            return;
        }

        // The target is activated first; when that fails it is looked up
        // again by its title.
        REQUIRE(activations.size() > activationsBefore, "sendText did not activate the target");
        REQUIRE(activations[activationsBefore].window == targetBefore, "sendText activated another window first");
        if (activations[activationsBefore].succeeded) {
            requireAllocationsAsListed(refusalsBefore);
        } else {
            const std::vector<Listed> listed = expectedListing(refusalsBefore);
            requireAllocationsAsListed(refusalsBefore);
            modelList_ = listed;
            const auto found = std::find_if(listed.begin(), listed.end(),
                                            [this](const Listed& entry) { return entry.name == modelTargetName_; });
            modelListCurrent_ = found != listed.end();
            if (found != listed.end()) {
                modelTarget_ = found->window;
            } else {
                REQUIRE(!sent && text == keystrokes::WindowUnavailableMessage,
                        "the target was not found again, yet \"%s\"", narrow(text).c_str());
            }
        }
        REQUIRE(catalogue::targetWindow() == modelTarget_, "the target is %p, expected %p", catalogue::targetWindow(),
                modelTarget_);
        for (size_t i = activationsBefore; i < activations.size(); ++i) {
            REQUIRE(activations[i].window == targetBefore || activations[i].window == modelTarget_,
                    "sendText activated %p, which is not the target", activations[i].window);
        }
        const auto& restorations = simulated::restorations();
        for (size_t i = restorationsBefore; i < restorations.size(); ++i) {
            REQUIRE(restorations[i] == modelTarget_, "sendText restored %p, which is not the target",
                    restorations[i]);
        }

        // An injection failure leaves its code as the last error: nothing
        // after it in sendText touches the last error.
        const uint32_t lastError = platform::getLastError();
        const bool injectionFailed =
            injectionError_ != 0 && lastError == injectionError_ &&
            std::find(std::begin(OwnErrors), std::end(OwnErrors), lastError) == std::end(OwnErrors);
        const ModelWindow* target = modelWindow(modelTarget_);
        const bool elevated = target != nullptr && target->elevated;
        if (injectionFailed) {
            REQUIRE(!sent, "an injection failed, yet sendText succeeded");
        } else if (!sent) {
            REQUIRE(text == keystrokes::WindowUnavailableMessage ||
                        text.rfind(u"Wedge error: 13 with message: ", 0) == 0 ||
                        (elevated && text.rfind(u"Wedge error: 5 with message: ", 0) == 0) ||
                        (injectionLimit_ != 0 && text.rfind(u"Wedge error: 29 with message: ", 0) == 0),
                    "sendText failed without an injection failure: \"%s\"", narrow(text).c_str());
        }
        if (elevated && text != keystrokes::WindowUnavailableMessage) {
            REQUIRE(!sent && simulated::injectedEvents().size() == injectionsBefore,
                    "typed into an elevated target");
        }

        // No window but the target receives anything.
        std::u16string typed;
        for (size_t i = 0; i < windows_.size(); ++i) {
            const std::u16string received = simulated::receivedText(windows_[i].handle);
            REQUIRE(received.size() >= receivedBefore[i].size() &&
                        received.compare(0, receivedBefore[i].size(), receivedBefore[i]) == 0,
                    "a window's received text changed other than by typing");
            if (windows_[i].handle == modelTarget_) {
                typed = received.substr(receivedBefore[i].size());
            } else {
                REQUIRE(received.size() == receivedBefore[i].size(), "\"%s\" reached %p, which is not the target",
                        narrow(received.substr(receivedBefore[i].size())).c_str(), windows_[i].handle);
            }
        }

        trace("  the target received \"%s\"", narrow(typed).c_str());
        for (const uint16_t key : keysBefore) {
            trace("  key 0x%02X was down", key);
        }
        bool typeable = true;
        const std::u16string expected = expectedCharacters(bytes, &typeable);
        if (sent) {
            REQUIRE(typeable && typed == expected, "sendText succeeded having typed \"%s\" of \"%s\"",
                    narrow(typed).c_str(), narrow(expected).c_str());
        }
        // An injection cut short fails the call, and its keys are let up in
        // one more injection, which may be cut short too; an Alt code cut
        // short types what its digits spell when Alt goes up. The checks
        // below hold whenever every call inserts all or nothing.
        if (injectionLimit_ != 0) {
            return;
        }
        REQUIRE(expected.compare(0, typed.size(), typed) == 0 && typed.size() <= expected.size(),
                "typed \"%s\" for the text \"%s\"", narrow(typed).c_str(), narrow(expected).c_str());
        REQUIRE(simulated::menuOpenings() == menusBefore, "sendText opened a menu");
        const std::vector<uint16_t> keysAfter = simulated::keysDown();
        for (const uint16_t key : keysAfter) {
            const bool heldBefore = std::find(keysBefore.begin(), keysBefore.end(), key) != keysBefore.end();
            // A Tab whose release could not be injected stays down.
            const bool tabLeftByFailure = injectionFailed && key == platform::VkTab;
            REQUIRE(heldBefore || tabLeftByFailure, "key 0x%02X left down by sendText", key);
        }
        if (!injectionFailed) {
            REQUIRE(simulated::capsLockOn() == capsBefore, "sendText left Caps Lock %s",
                    capsBefore ? "off" : "on");
        }
    }

    void checkSteadyState() {
        const char16_t* const text = keystrokes::lastErrorText();
        REQUIRE(std::find(text, text + keystrokes::ErrorTextCapacity, u'\0') != text + keystrokes::ErrorTextCapacity,
                "the error text is not terminated within its %d units", keystrokes::ErrorTextCapacity);
        REQUIRE((text[0] == 0) == lastSendSucceeded_, "the error text is %s after a %s sendText",
                text[0] == 0 ? "empty" : "set", lastSendSucceeded_ ? "successful" : "failed");
        const std::u16string message(text, static_cast<size_t>(keystrokes::errorTextLength()));
        REQUIRE(message.empty() || message == keystrokes::TargetNotSetMessage ||
                    message == keystrokes::WindowUnavailableMessage || message.rfind(u"Wedge error: ", 0) == 0,
                "the error text is \"%s\"", narrow(message).c_str());

        REQUIRE(catalogue::targetWindow() == modelTarget_, "the target is %p, expected %p", catalogue::targetWindow(),
                modelTarget_);
        for (int32_t i = 0; i < TitleCapacity; ++i) {
            const auto position = static_cast<size_t>(i);
            const char16_t expected = position < modelTargetName_.size() ? modelTargetName_[position] : u'\0';
            REQUIRE(catalogue::targetTitle()[i] == expected, "the target's title differs at unit %d", i);
        }

        const bool listCurrent = catalogue::currentWindowList() != nullptr;
        REQUIRE(listCurrent == modelListCurrent_, "a list is %scurrent", listCurrent ? "" : "not ");
        const int32_t listed = catalogue::WindowList{}.count();
        REQUIRE(fuzz::liveEntries() == listed, "%d entries alive for a list of %d", fuzz::liveEntries(), listed);
        REQUIRE(listCurrent ? static_cast<size_t>(listed) == modelList_.size() : listed == 0,
                "the list holds %d entries, expected %zu", listed, listCurrent ? modelList_.size() : size_t{0});
        REQUIRE(jni_.callsWithExceptionPending() == 0, "a JNI call was made with an exception pending");
    }

    Script& in_;
    fakejni::Environment jni_;
    std::vector<ModelWindow> windows_;
    simulated::Layout layout_ = simulated::Layout::UnitedStates;
    uint32_t injectionError_ = 0;
    uint32_t injectionLimit_ = 0;
    std::vector<Listed> modelList_;
    bool modelListCurrent_ = false;
    WindowHandle modelTarget_ = nullptr;
    std::u16string modelTargetName_;
    bool lastSendSucceeded_ = true;
};

void resetLibrary() {
    wedge::testing::startFresh();
    fuzz::refuseAllocations(0, 0);
    REQUIRE(fuzz::liveEntries() == 0, "%d entries alive between inputs", fuzz::liveEntries());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    fuzz::startLedger();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    resetLibrary();
    Script script(data, size);
    Session session(script);
    session.run();
    return 0;
}
