#include "platform/win32/win32_window.hpp"

#include "platform/error_report.hpp"
#include "platform/win32/dpi.hpp"
#include "platform/win32/win32_text.hpp"

#include <algorithm>
#include <array>
#include <commctrl.h>
#include <numeric>
#include <windowsx.h>

namespace brindle::platform::win32 {
namespace {

constexpr int kFirstControlId = 100;
// A fixed dialog frame: caption and close box, no sizing border, no minimise or maximise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr COLORREF kErrorColour = RGB(0xC0, 0x00, 0x00);

// The window is of a dialog class, so that the dialog manager gives it the keyboard handling
// users know: Tab through the boxes and the option group, arrows within the group.
void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.cbWndExtra = DLGWINDOWEXTRA;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = Win32Window::kClassName;
    // The program's icon group is resource 1; a test program without it gets the default icon.
    window_class.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    window_class.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    RegisterClassExW(&window_class); // fails harmlessly once the class exists
}

struct ChildClass {
    const wchar_t* name;
    DWORD style;
    DWORD ex_style;
};

ChildClass ClassFor(const ControlDesign& control, bool first_option) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
    case ControlKind::TextBox:
        return {WC_EDITW, kChild | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::OptionButton:
        // The group starts at its first option, which alone is a tab stop: Tab enters the
        // group once, the arrows move within it.
        return {WC_BUTTONW,
                kChild | BS_AUTORADIOBUTTON | (first_option ? WS_GROUP | WS_TABSTOP : 0), 0};
    case ControlKind::Label:
        break;
    }
    DWORD style = kChild | WS_GROUP | SS_NOPREFIX;
    if (control.style.centred) {
        style |= SS_CENTER | SS_CENTERIMAGE;
    } else {
        style |= control.style.word_wrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
    }
    if (control.style.single_border) {
        style |= WS_BORDER;
    }
    return {WC_STATICW, style, 0};
}

// The window's DC with a font selected, for measuring captions.
class MeasuringContext {
public:
    MeasuringContext(HWND window, HFONT font)
        : window_(window), dc_(GetDC(window)), previous_(SelectObject(dc_, font)) {}
    MeasuringContext(const MeasuringContext&) = delete;
    MeasuringContext& operator=(const MeasuringContext&) = delete;
    ~MeasuringContext() {
        SelectObject(dc_, previous_);
        ReleaseDC(window_, dc_);
    }
    [[nodiscard]] HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace

std::string Win32Window::Child::Text() const {
    return Narrow(WindowText(handle_));
}

void Win32Window::Child::SetText(std::string_view text) {
    const std::wstring wide = Widen(text);
    // The change event is for real changes: an edit control reports every WM_SETTEXT.
    if (WindowText(handle_) == wide) {
        return;
    }
    window_->delivery_.CallThrough([&] {
        if (SetWindowTextW(handle_, wide.c_str()) == FALSE) {
            RaiseControlCallFailed(design_->name, "setting the text");
        }
    });
}

bool Win32Window::Child::Value() const {
    return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::Child::SetCaption(std::string_view caption) {
    if (SetWindowTextW(handle_, Widen(caption).c_str()) == FALSE) {
        RaiseControlCallFailed(design_->name, "setting the caption");
    }
    window_->CaptionChanged(*this);
}

Win32Window::Win32Window(const WindowDesign& design, HINSTANCE instance)
    : design_(design), delivery_(*this) {
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);
    RegisterWindowClass(instance, &Win32Window::WindowProcedure);
    window_ = CreateWindowExW(kWindowExStyle, kClassName, Widen(design.caption).c_str(),
                              kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("cannot create the window");
    }
    dpi_ = dpi::ForWindow(window_);
    CreateControls(instance);
    UseFontFor(dpi_);
    LayOut();
}

Win32Window::~Win32Window() {
    // The logic may already be gone; nothing the controls do while they go reaches it.
    delivery_.Detach();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void Win32Window::Load() {
    delivery_.Raise({design_.name, EventKind::Load});
}

HWND Win32Window::Control(std::string_view name) const noexcept {
    const std::optional<std::size_t> index = design_.IndexOf(name);
    return index ? controls_[*index].Handle() : nullptr;
}

std::wstring Win32Window::ToolTipText(std::string_view name) const {
    std::array<wchar_t, 256> text{};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(name));
    tool.lpszText = text.data();
    SendMessageW(tool_tip_, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    return text.data();
}

TwipsScale Win32Window::Scale() const {
    const MeasuringContext context(window_, font_.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(context.Get(), &metrics);
    return TwipsScale(metrics.tmHeight);
}

TextBox& Win32Window::TextBoxNamed(std::string_view name) {
    return controls_[design_.IndexOf(name, ControlKind::TextBox)];
}

OptionButton& Win32Window::OptionButtonNamed(std::string_view name) {
    return controls_[design_.IndexOf(name, ControlKind::OptionButton)];
}

Label& Win32Window::LabelNamed(std::string_view name) {
    return controls_[design_.IndexOf(name, ControlKind::Label)];
}

LRESULT CALLBACK Win32Window::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* const create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        auto* const created = static_cast<Win32Window*>(create->lpCreateParams);
        created->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* const self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefDlgProcW(window, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefDlgProcW(window, message, wparam, lparam);
    }
    // Nothing may unwind into the system's code; the event delivery has already reported every
    // error a handler raised, so what is left here is a failure to lay out or paint.
    try {
        return self->Dispatch(message, wparam, lparam);
    } catch (...) {
        return 0;
    }
}

// The message crackers of <windowsx.h> expect the parameters under these names.
LRESULT Win32Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND const window = window_;
    switch (message) {
        HANDLE_MSG(window, WM_COMMAND, OnCommand);
        HANDLE_MSG(window, WM_PAINT, OnPaint);
    case WM_CLOSE:
        DestroyWindow(window);
        PostQuitMessage(0);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETTINGCHANGE:
        // The user picked another message font: the layout follows it, as at start-up.
        if (wParam == SPI_SETNONCLIENTMETRICS) {
            UseFontFor(dpi_);
            LayOut();
        }
        return DefDlgProcW(window, message, wParam, lParam);
    default:
        return DefDlgProcW(window, message, wParam, lParam);
    }
}

void Win32Window::OnCommand(HWND /*window*/, int id, HWND /*control*/, UINT code) {
    const int index = id - kFirstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= controls_.size()) {
        return; // the dialog manager's Enter and Esc: this window has no buttons for them
    }
    const Child& child = controls_[static_cast<std::size_t>(index)];
    const std::string_view name = child.Design().name;
    if (child.Design().kind == ControlKind::TextBox && code == EN_CHANGE) {
        delivery_.Raise({name, EventKind::Change});
    } else if (child.Design().kind == ControlKind::OptionButton && code == BN_CLICKED &&
               child.Value()) {
        delivery_.Raise({name, EventKind::Click});
    }
}

// A failed event's control is framed in red, just outside its own rectangle.
void Win32Window::OnPaint(HWND window) {
    PAINTSTRUCT paint{};
    HDC const dc = BeginPaint(window, &paint);
    HBRUSH const brush = CreateSolidBrush(kErrorColour);
    for (const std::size_t index : marked_) {
        RECT rect{};
        GetWindowRect(controls_[index].Handle(), &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        for (int ring = 1; ring <= 2; ++ring) {
            InflateRect(&rect, 1, 1);
            FrameRect(dc, &rect, brush);
        }
    }
    DeleteObject(brush);
    EndPaint(window, &paint);
}

void Win32Window::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UseFontFor(dpi);
    LayOut();
}

void Win32Window::EventFailed(const EventSource& event, const RuntimeError& error) noexcept {
    try {
        showing_failure_ = true;
        MessageBeep(MB_ICONWARNING);
        for (const Child& child : controls_) {
            if (child.Design().style.shows_result) {
                EnableWindow(child.Handle(), FALSE);
            }
        }
        if (const std::optional<std::size_t> source = design_.IndexOf(event.control)) {
            marked_.push_back(*source);
            SetToolTip(controls_[*source].Handle(), Widen(ErrorReportText(error)));
        }
        InvalidateRect(window_, nullptr, TRUE);
    } catch (...) {
        // Nothing more can be shown; the window goes on working.
    }
}

void Win32Window::EventCompleted(const EventSource& /*event*/) noexcept {
    if (showing_failure_) {
        ClearFailures();
    }
}

void Win32Window::ClearFailures() {
    showing_failure_ = false;
    for (const Child& child : controls_) {
        if (child.Design().style.shows_result) {
            EnableWindow(child.Handle(), TRUE);
        }
    }
    for (const std::size_t index : marked_) {
        SetToolTip(controls_[index].Handle(), {});
    }
    marked_.clear();
    InvalidateRect(window_, nullptr, TRUE);
}

namespace {

// The order in which the children are created. The dialog manager moves through them in this
// order, so it is the tab order; and Windows names an edit control for screen readers after the
// static just before it, so a label that captions a control comes immediately before it.
std::vector<std::size_t> CreationOrder(const WindowDesign& design) {
    const std::span<const ControlDesign> designs = design.controls;
    std::vector<std::size_t> tab_order(designs.size());
    std::iota(tab_order.begin(), tab_order.end(), std::size_t{0});
    std::stable_sort(tab_order.begin(), tab_order.end(), [&](std::size_t a, std::size_t b) {
        return designs[a].tab_index < designs[b].tab_index;
    });
    const auto captions_another = [&](std::size_t index) {
        return design.IndexOf(designs[index].caption_for).has_value();
    };
    std::vector<std::size_t> order;
    for (const std::size_t index : tab_order) {
        if (captions_another(index)) {
            continue; // placed with the control it captions
        }
        for (const std::size_t label : tab_order) {
            if (designs[label].caption_for == designs[index].name && captions_another(label)) {
                order.push_back(label);
            }
        }
        order.push_back(index);
    }
    return order;
}

} // namespace

void Win32Window::CreateControls(HINSTANCE instance) {
    const std::span<const ControlDesign> designs = design_.controls;
    std::vector<HWND> handles(designs.size());
    bool first_option = true;
    for (const std::size_t index : CreationOrder(design_)) {
        const ControlDesign& control = designs[index];
        const ChildClass child_class = ClassFor(control, first_option);
        first_option = first_option && control.kind != ControlKind::OptionButton;
        handles[index] =
            CreateWindowExW(child_class.ex_style, child_class.name, Widen(control.caption).c_str(),
                            child_class.style, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(
                                static_cast<INT_PTR>(kFirstControlId + static_cast<int>(index))),
                            instance, nullptr);
        if (handles[index] == nullptr) {
            throw std::runtime_error("cannot create a control");
        }
        if (control.kind == ControlKind::TextBox) {
            // Any length of text: lift the edit control's default limit.
            SendMessageW(handles[index], EM_SETLIMITTEXT, 0, 0);
        } else if (control.kind == ControlKind::OptionButton && control.style.selected_at_start) {
            SendMessageW(handles[index], BM_SETCHECK, BST_CHECKED, 0);
        }
    }
    controls_.reserve(designs.size());
    for (std::size_t index = 0; index < designs.size(); ++index) {
        controls_.emplace_back(*this, designs[index], handles[index]);
    }

    tool_tip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    for (const Child& child : controls_) {
        if (child.Design().kind != ControlKind::Label) {
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window_;
            tool.uId = reinterpret_cast<UINT_PTR>(child.Handle());
            tool.lpszText = const_cast<wchar_t*>(L"");
            SendMessageW(tool_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

// The dialog font is the system's message font at the window's DPI.
void Win32Window::UseFontFor(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    dpi::SystemParameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, dpi);
    font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    for (const Child& child : controls_) {
        SendMessageW(child.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
}

PixelSize Win32Window::NaturalSize(const Child& child) const {
    const MeasuringContext context(window_, font_.get());
    const std::wstring text = WindowText(child.Handle());
    SIZE extent{};
    GetTextExtentPoint32W(context.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(context.Get(), &metrics);
    PixelSize size{static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight)};
    if (child.Design().kind == ControlKind::OptionButton) {
        // The radio mark, and the gap the button leaves between it and the text.
        const int mark = dpi::SystemMetric(SM_CXMENUCHECK, dpi_);
        size.width += mark + MulDiv(6, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
        size.height = std::max(size.height, mark);
    }
    if (child.Design().style.single_border) {
        const int border = dpi::SystemMetric(SM_CXBORDER, dpi_);
        size.width += 2 * border + MulDiv(4, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
        size.height += 2 * border;
    }
    return size;
}

void Win32Window::LayOut() {
    class ControlMeasure final : public CaptionMeasure {
    public:
        explicit ControlMeasure(const Win32Window& window) : window_(window) {}
        [[nodiscard]] PixelSize Natural(std::size_t control) const override {
            return window_.NaturalSize(window_.controls_[control]);
        }
        [[nodiscard]] int WrappedHeight(std::size_t control, int width) const override {
            const MeasuringContext context(window_.window_, window_.font_.get());
            const std::wstring text = WindowText(window_.controls_[control].Handle());
            RECT rect{0, 0, width, 0};
            DrawTextW(context.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            return static_cast<int>(rect.bottom);
        }

    private:
        const Win32Window& window_;
    };

    layout_ = LayOutWindow(design_, Scale(), ControlMeasure(*this));
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const PixelRect& rect = layout_.controls[i];
        SetWindowPos(controls_[i].Handle(), nullptr, rect.x, rect.y, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame{0, 0, layout_.client.width, layout_.client.height};
    dpi::AdjustWindowRect(frame, kWindowStyle, kWindowExStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::CaptionChanged(const Child& child) {
    const auto index = static_cast<std::size_t>(&child - controls_.data());
    if (!LayoutStillHolds(layout_, design_, index, NaturalSize(child))) {
        LayOut();
    }
}

void Win32Window::SetToolTip(HWND control, const std::wstring& text) const {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tool_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace brindle::platform::win32
