// What a Windows screen reader hears from the window: the core's announcements, through UI
// Automation's notification where the system has it and through a live region where it does not,
// and the descriptions of greyed figures and failed loads.

#include "accessible_text.hpp"
#include "platform/win32/announcer.hpp"
#include "started_program.hpp"
#include "win32_fixture.hpp"

#include <string>
#include <vector>

namespace brindle::testing {
namespace {

const std::wstring kProgram = platform::win32::Widen(BRINDLE_TEST_PROGRAM);
constexpr DWORD kLiveRegionChanged = 0x8019;
constexpr auto kPause = static_cast<DWORD>(platform::kAnnouncementPause.count());

// What a screen reader would receive: an event, on which object, when it was raised, and what
// the object was called at that moment.
struct Heard {
    DWORD time;
    HWND object;
    LONG id_object;
    LONG id_child;
    std::wstring name;
};

std::string Describe(const std::vector<Heard>& heard) {
    std::string text;
    for (const Heard& event : heard) {
        text += "\n  at " + std::to_string(event.time) + " ms: \"" +
                platform::win32::Narrow(event.name) + '"';
    }
    return text.empty() ? " nothing" : text;
}

// The name an accessibility client reads for the object an event names.
std::wstring AccessibleName(HWND window, LONG id_object, LONG id_child) {
    IAccessible* accessible = nullptr;
    VARIANT child{};
    if (FAILED(AccessibleObjectFromEvent(window, static_cast<DWORD>(id_object),
                                         static_cast<DWORD>(id_child), &accessible, &child))) {
        return L"(no accessible object)";
    }
    return TakeText(accessible, child, &IAccessible::get_accName);
}

// An out-of-context WinEvent hook on live region changes, as a screen reader sets one: its events
// arrive through this thread's message queue.
class LiveRegionListener {
public:
    explicit LiveRegionListener(DWORD process)
        : hook_(SetWinEventHook(kLiveRegionChanged, kLiveRegionChanged, nullptr, &Record, process,
                                0, WINEVENT_OUTOFCONTEXT)) {
        CoInitialize(nullptr);
        heard_.clear();
    }
    LiveRegionListener(const LiveRegionListener&) = delete;
    LiveRegionListener& operator=(const LiveRegionListener&) = delete;
    ~LiveRegionListener() {
        UnhookWinEvent(hook_);
        CoUninitialize();
    }

    [[nodiscard]] bool Hooked() const noexcept { return hook_ != nullptr; }
    // What was heard once `count` events came or `milliseconds` passed.
    [[nodiscard]] std::vector<Heard> Wait(std::size_t count, DWORD milliseconds) const {
        const DWORD start = GetTickCount();
        while (heard_.size() < count && GetTickCount() - start < milliseconds) {
            MSG message{};
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
                DispatchMessageW(&message);
            }
            Sleep(10);
        }
        std::vector<Heard> heard;
        heard.swap(heard_);
        return heard;
    }

private:
    static void CALLBACK Record(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND object,
                                LONG id_object, LONG id_child, DWORD /*thread*/, DWORD time) {
        heard_.push_back(
            {time, object, id_object, id_child, AccessibleName(object, id_object, id_child)});
    }

    // NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): the hook has no context
    static inline std::vector<Heard> heard_;
    HWINEVENTHOOK hook_;
};

// The real program, where Wine (like Windows before 10 version 1709) has no UI Automation
// notification, so its live region speaks; listened to from outside, as Narrator and NVDA listen.
TEST(Win32Speech, TheLiveRegionSaysTheResultAfterAPauseAndAnErrorAndItsClearingAtOnce) {
    ASSERT_FALSE(platform::win32::UiaNotifications::Find().Available())
        << "this Wine has UI Automation notifications: the live region is not what speaks";
    const StartedProgram program(kProgram, L"");
    ASSERT_NE(program.Window(), nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(program.Window(), &process);
    const LiveRegionListener listener(process);
    ASSERT_TRUE(listener.Hooked());
    HWND const box = GetDlgItem(program.Window(), 100);
    // Ctrl+A, then keys: each is handled, and whatever it says raised, when SendMessage returns.
    const auto retype = [&](std::wstring_view keys) {
        SendMessageW(box, EM_SETSEL, 0, -1);
        DWORD typed = 0;
        for (const wchar_t key : keys) {
            typed = GetTickCount();
            SendMessageW(box, WM_CHAR, key, 1);
        }
        return typed;
    };
    const auto result = [&] {
        return L"You will need: " + program.Text(109) + L" " + program.Text(110);
    };

    DWORD typed = retype(L"10");
    std::vector<Heard> heard = listener.Wait(1, 10 * kPause);
    ASSERT_EQ(heard.size(), 1U) << "typing 10:" << Describe(heard);
    EXPECT_EQ(heard[0].name, result());
    EXPECT_EQ(result(), L"You will need: 51.90 GB - (53143.27 MB)");
    EXPECT_GE(heard[0].time - typed, kPause - 20) << "the result waits for the typing to pause";
    EXPECT_EQ(GetParent(heard[0].object), program.Window());
    EXPECT_EQ(heard[0].id_object, OBJID_CLIENT);
    EXPECT_EQ(heard[0].id_child, CHILDID_SELF);
    const HWND announcer = heard[0].object;

    typed = retype(L"1e38");
    heard = listener.Wait(2, 3 * kPause);
    ASSERT_EQ(heard.size(), 1U) << "Ctrl+A, 1e38: the error alone, not the result it cut short"
                                << Describe(heard);
    EXPECT_EQ(heard[0].name, L"Overflow: the estimate is too large to compute. The figures shown "
                             L"are out of date.");
    EXPECT_LT(heard[0].time - typed, kPause) << "an error is said at once";
    EXPECT_EQ(heard[0].object, announcer);

    typed = retype(L"\b");
    heard = listener.Wait(2, 3 * kPause);
    ASSERT_EQ(heard.size(), 1U) << "Ctrl+A, Backspace:" << Describe(heard);
    EXPECT_EQ(heard[0].name, L"Error cleared. " + result());
    EXPECT_LT(heard[0].time - typed, kPause) << "the error's clearing is said at once";
    EXPECT_EQ(program.Close(), 0);
}

// Where UI Automation's notification exists, the window raises one on its announcer for each
// message, and no live region event besides. Wine has none, so a double stands in for it.
struct Raised {
    HWND object;
    int kind;
    int processing;
    std::wstring text;
    std::wstring activity;
};
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): the functions have no context
std::vector<Raised> raised;
HWND provider_for = nullptr; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables): same

HRESULT WINAPI HostProvider(HWND window, IRawElementProviderSimple** provider) {
    provider_for = window;
    return platform::win32::UiaNotifications::Find().host_provider(window, provider);
}

HRESULT WINAPI RaiseNotification(IRawElementProviderSimple* provider, int kind, int processing,
                                 wchar_t* text, wchar_t* activity) {
    raised.push_back(
        {provider != nullptr ? provider_for : nullptr, kind, processing, text, activity});
    return S_OK;
}

TEST(Win32Speech, RaisesAUiAutomationNotificationWhereWindowsHasIt) {
    ASSERT_NE(platform::win32::UiaNotifications::Find().host_provider, nullptr);
    Win32Form1 form;
    form.window.Announcements().UseNotifications({&HostProvider, &RaiseNotification});
    DWORD process = GetCurrentProcessId();
    const LiveRegionListener listener(process);
    raised.clear();
    HWND const box = form.Control("txtCD");
    form.Focus("txtCD");
    SendMessageW(box, EM_SETSEL, 0, -1);
    form.Type(L"10");
    EXPECT_TRUE(raised.empty()) << "nothing before the pause";
    for (int waited = 0; raised.empty() && waited < 10 * static_cast<int>(kPause); waited += 10) {
        Sleep(10);
        form.Pump();
    }
    SendMessageW(box, EM_SETSEL, 0, -1);
    form.Type(L"1e38");
    SendMessageW(box, EM_SETSEL, 0, -1);
    form.Type(L"\b");
    Sleep(2 * kPause);
    form.Pump();

    constexpr int kActionCompleted = 2;
    constexpr int kImportantMostRecent = 1;
    constexpr int kMostRecent = 3;
    const std::vector<std::pair<std::wstring, int>> expected{
        {L"You will need: 51.90 GB - (53143.27 MB)", kMostRecent},
        {L"Overflow: the estimate is too large to compute. The figures shown are out of date.",
         kImportantMostRecent},
        {L"Error cleared. You will need: 16.41 GB - (16805.99 MB)", kImportantMostRecent},
    };
    ASSERT_EQ(raised.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(raised[i].text, expected[i].first) << i;
        EXPECT_EQ(raised[i].processing, expected[i].second) << i;
        EXPECT_EQ(raised[i].kind, kActionCompleted) << i;
        EXPECT_EQ(raised[i].object, form.window.Announcements().Handle()) << i;
    }
    EXPECT_EQ(listener.Wait(1, 0).size(), 0U) << "a notification, and no live region besides";
}

} // namespace
} // namespace brindle::testing
