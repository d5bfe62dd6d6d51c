// What a Windows screen reader hears from the window: the core's announcements, through UI
// Automation's notification where the system has it and through a live region where it does not,
// and the descriptions of greyed figures and failed loads.

#include "accessible_text.hpp"
#include "platform/win32/announcer.hpp"
#include "started_program.hpp"
#include "win32_fixture.hpp"

#include <string>
#include <uiautomationcore.h>
#include <vector>

namespace brindle::testing {
namespace {

const std::wstring kProgram = platform::win32::Widen(BRINDLE_TEST_PROGRAM);
constexpr DWORD kLiveRegionChanged = 0x8019;
constexpr LPARAM kUiaRootObjectId = -25;
constexpr auto kPause = static_cast<DWORD>(platform::kAnnouncementPause.count());

// What a screen reader would receive: an event, on which object, when it was raised, and what
// the object was called at that moment.
struct Heard {
    DWORD time;
    HWND object;
    LONG id_object;
    LONG id_child;
    std::wstring name;
    RECT bounds;    // on the screen, as accLocation gives them
    LONG state = 0; // accState
};

std::string Describe(const std::vector<Heard>& heard) {
    std::string text;
    for (const Heard& event : heard) {
        text += "\n  at " + std::to_string(event.time) + " ms: \"" +
                platform::win32::Narrow(event.name) + '"';
    }
    return text.empty() ? " nothing" : text;
}

// What a screen reader reads of the object an event names: its name, where it is and its state.
Heard ReadObject(DWORD time, HWND window, LONG id_object, LONG id_child) {
    Heard heard{time, window, id_object, id_child, L"(no accessible object)", {}, 0};
    IAccessible* accessible = nullptr;
    VARIANT child{};
    if (FAILED(AccessibleObjectFromEvent(window, static_cast<DWORD>(id_object),
                                         static_cast<DWORD>(id_child), &accessible, &child))) {
        return heard;
    }
    LONG width = 0;
    LONG height = 0;
    accessible->accLocation(&heard.bounds.left, &heard.bounds.top, &width, &height, child);
    heard.bounds.right = heard.bounds.left + width;
    heard.bounds.bottom = heard.bounds.top + height;
    VARIANT state{};
    if (SUCCEEDED(accessible->get_accState(child, &state)) && state.vt == VT_I4) {
        heard.state = state.lVal;
    }
    heard.name = TakeText(accessible, child, &IAccessible::get_accName);
    return heard;
}

// A reader passes over an object that has no area on the screen, lies outside its window or says
// it cannot be seen.
void ExpectReadable(const Heard& heard) {
    RECT frame{};
    GetWindowRect(GetAncestor(heard.object, GA_ROOT), &frame);
    RECT inside{};
    EXPECT_TRUE(IntersectRect(&inside, &heard.bounds, &frame) != FALSE &&
                EqualRect(&inside, &heard.bounds) != FALSE)
        << "the announcer has no area inside its window";
    EXPECT_EQ(heard.state & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN), 0);
}

// An out-of-context WinEvent hook on live region changes, as a screen reader sets one: its events
// arrive through this thread's message queue. Each must come from an object a reader can find.
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
        heard_.push_back(ReadObject(time, object, id_object, id_child));
        ExpectReadable(heard_.back());
    }

    // NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): the hook has no context
    static inline std::vector<Heard> heard_;
    HWINEVENTHOOK hook_;
};

// Libraries planted beside a copy of the program under the names of those that it, or COM for it,
// loads late. Each leaves a mark beside itself if it is loaded (Wine loads a native library from
// the program's folder before its own).
const wchar_t* const kPlanted[] = {L"uiautomationcore.dll", L"oleacc.dll"};

// The copy, in `folder` under the temporary folder, which becomes the folder's full path.
std::wstring PlantedCopy(std::wstring& folder) {
    std::wstring temporary(MAX_PATH, L'\0');
    temporary.resize(GetTempPathW(MAX_PATH, temporary.data()));
    folder = temporary + folder + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring planted = platform::win32::Widen(BRINDLE_TEST_PLANTED_LIBRARY);
    for (const wchar_t* name : kPlanted) {
        CopyFileW(planted.c_str(), (folder + name).c_str(), FALSE);
        DeleteFileW((folder + name + L".loaded").c_str());
    }
    CopyFileW(kProgram.c_str(), (folder + L"brindledsc.exe").c_str(), FALSE);
    return folder + L"brindledsc.exe";
}

// The real program, where Wine (like Windows before 10 version 1709) has no UI Automation
// notification, so its live region speaks; listened to from outside, as Narrator and NVDA listen.
// It runs from a folder of planted libraries, none of which it may load while it speaks.
TEST(Win32Speech, TheLiveRegionSaysTheResultAfterAPauseAndAnErrorAndItsClearingAtOnce) {
    ASSERT_FALSE(platform::win32::UiaNotifications::Find().Available())
        << "this Wine has UI Automation notifications: the live region is not what speaks";
    std::wstring folder = L"brindle-planted";
    const StartedProgram program(PlantedCopy(folder), L"");
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
    for (const wchar_t* name : kPlanted) {
        EXPECT_EQ(GetFileAttributesW((folder + name + L".loaded").c_str()), INVALID_FILE_ATTRIBUTES)
            << platform::win32::Narrow(name) << " was loaded from the program's folder";
    }
}

// JAWS as the window finds it while it runs: its window, and an automation object registered
// under its ProgID whose SayString keeps what it is handed. One static object serves as the class
// factory and as the object it makes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor" // COM interfaces have none
class JawsStandIn final : public IClassFactory, public IDispatch {
public:
    static constexpr CLSID kClass = {
        0x5d1c7f3e, 0x92a4, 0x4b8e, {0x9a, 0x11, 0x3c, 0x6e, 0x0d, 0x2b, 0x71, 0x48}};

    JawsStandIn() {
        RegSetValueW(HKEY_CLASSES_ROOT, L"FreedomSci.JawsApi\\CLSID", REG_SZ,
                     L"{5D1C7F3E-92A4-4B8E-9A11-3C6E0D2B7148}", 0);
        CoRegisterClassObject(kClass, static_cast<IClassFactory*>(this),
                              CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                              &cookie_);
        WNDCLASSW running{};
        running.lpfnWndProc = DefWindowProcW;
        running.hInstance = GetModuleHandleW(nullptr);
        running.lpszClassName = L"JFWUI2";
        RegisterClassW(&running);
        window_ = CreateWindowW(L"JFWUI2", L"JAWS", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    }
    JawsStandIn(const JawsStandIn&) = delete;
    JawsStandIn& operator=(const JawsStandIn&) = delete;
    ~JawsStandIn() {
        DestroyWindow(window_);
        CoRevokeClassObject(cookie_);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"FreedomSci.JawsApi");
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        *object = id == IID_IClassFactory ? static_cast<void*>(static_cast<IClassFactory*>(this))
                  : id == IID_IDispatch   ? static_cast<void*>(static_cast<IDispatch*>(this))
                                          : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* /*outer*/, REFIID id,
                                             void** object) override {
        return QueryInterface(id, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL /*lock*/) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* ids) override {
        *ids = std::wstring_view(names[0]) == L"SayString" ? 7 : DISPID_UNKNOWN;
        return *ids == 7 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                     VARIANT*, EXCEPINFO*, UINT*) override {
        if (id != 7 || parameters->cArgs != 2 || parameters->rgvarg[1].vt != VT_BSTR) {
            return DISP_E_BADPARAMCOUNT;
        }
        said.emplace_back(parameters->rgvarg[1].bstrVal,
                          parameters->rgvarg[0].boolVal == VARIANT_TRUE);
        return S_OK;
    }

    std::vector<std::pair<std::wstring, bool>> said; // each text, and whether it interrupted

private:
    DWORD cookie_ = 0;
    HWND window_ = nullptr;
};
#pragma GCC diagnostic pop

// Stand-ins for UI Automation's functions, which Wine lacks: what the window raises, what element
// it hands a client that asks for one, and which window that element says hosts it.
struct Raised {
    IRawElementProviderSimple* element;
    int kind;
    int processing;
    std::wstring text;
};
// NOLINTBEGIN(cppcoreguidelines-avoid-non-const-global-variables): the functions have no context
std::vector<Raised> raised;
IRawElementProviderSimple* handed_element = nullptr;
HWND hosting_window = nullptr;
// NOLINTEND(cppcoreguidelines-avoid-non-const-global-variables)

HRESULT WINAPI HostProvider(HWND window, IRawElementProviderSimple** host) {
    hosting_window = window;
    *host = nullptr;
    return S_OK;
}
LRESULT WINAPI ReturnProvider(HWND /*window*/, WPARAM /*wparam*/, LPARAM lparam,
                              IRawElementProviderSimple* element) {
    if (lparam != 0) {
        handed_element = element;
    }
    return 0;
}
HRESULT WINAPI RaiseNotification(IRawElementProviderSimple* element, int kind, int processing,
                                 wchar_t* text, wchar_t* /*activity*/) {
    raised.push_back({element, kind, processing, text});
    return S_OK;
}

// Each reader hears each message once, as urgently as it is: through UI Automation notifications
// raised on the element the announcer answers for itself, or through its live region, never both;
// and JAWS through its own interface either way.
TEST(Win32Speech, EachReaderHearsEachMessageOnceAndAsUrgentlyAsItIs) {
    constexpr int kActionCompleted = 2;
    constexpr int kImportantAll = 0;
    constexpr int kMostRecent = 3;
    // A result replaces one not yet said and silences JAWS; an error, or its clearing, is never
    // dropped or cut short, and a live region says it assertively.
    struct Step {
        std::wstring_view keys; // after Ctrl+A in the CD box
        std::wstring said;
        bool urgent;
    };
    const Step steps[] = {
        {L"10", L"You will need: 51.90 GB - (53143.27 MB)", false},
        {L"1e38",
         L"Overflow: the estimate is too large to compute. The figures shown are out of date.",
         true},
        {L"\b", L"Error cleared. You will need: 16.41 GB - (16805.99 MB)", true},
    };
    CoInitialize(nullptr);
    JawsStandIn jaws;
    for (const bool notifications : {true, false}) {
        SCOPED_TRACE(notifications ? "UI Automation notifications" : "live region");
        Win32Form1 form;
        platform::win32::Announcer& announcer = form.window.Announcements();
        announcer.UseNotifications(
            notifications ? platform::win32::UiaNotifications{&HostProvider, &ReturnProvider,
                                                              &RaiseNotification}
                          : platform::win32::UiaNotifications{});
        raised.clear();
        jaws.said.clear();
        handed_element = nullptr;
        SendMessageW(announcer.Handle(), WM_GETOBJECT, 0, kUiaRootObjectId);
        EXPECT_EQ(handed_element != nullptr, notifications) << "the element a client is handed";
        const LiveRegionListener listener(GetCurrentProcessId());
        form.Focus("txtCD");
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            SendMessageW(form.Control("txtCD"), EM_SETSEL, 0, -1);
            form.Type(steps[i].keys);
            for (DWORD waited = 0; jaws.said.size() <= i && waited < 3 * kPause; waited += 10) {
                Sleep(10);
                form.Pump();
            }
            const std::vector<Heard> heard = listener.Wait(1, notifications ? 0 : kPause);
            ASSERT_EQ(jaws.said.size(), i + 1) << "JAWS";
            EXPECT_EQ(jaws.said[i], std::pair(steps[i].said, !steps[i].urgent));
            if (notifications) {
                ASSERT_EQ(raised.size(), i + 1);
                EXPECT_EQ(raised[i].element, handed_element) << "raised on its own element";
                EXPECT_EQ(raised[i].text, steps[i].said);
                EXPECT_EQ(raised[i].processing, steps[i].urgent ? kImportantAll : kMostRecent);
                EXPECT_EQ(raised[i].kind, kActionCompleted);
                EXPECT_TRUE(heard.empty()) << "and no live region besides:" << Describe(heard);
            } else {
                EXPECT_EQ(heard.size(), 1U) << Describe(heard);
                EXPECT_EQ(form.handed.Of(announcer.Handle(),
                                         platform::win32::AccessibleProperty::LiveSetting),
                          steps[i].urgent ? L"assertive" : L"polite");
            }
        }
        if (notifications) {
            IRawElementProviderSimple* host = nullptr;
            handed_element->get_HostRawElementProvider(&host);
            EXPECT_EQ(hosting_window, announcer.Handle()) << "the element's host";
        }
    }
    CoUninitialize();
}

} // namespace
} // namespace brindle::testing
