#include "platform/win32/win32_window.hpp"

#include "platform/error_colour.hpp"
#include "platform/mark_ring.hpp"
#include "platform/win32/dpi.hpp"
#include "platform/win32/drawing_surface.hpp"
#include "platform/win32/win32_text.hpp"

#include <algorithm>
#include <array>
#include <commctrl.h>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <windowsx.h>

namespace brindle::platform::win32 {
namespace {

constexpr int kFirstControlId = 100;
// A fixed dialog frame: caption and close box, no sizing border, no minimise or maximise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The window is of a dialog class, so that the dialog manager gives it the keyboard handling
// users know: Tab through the boxes and the option group, arrows within the group.
void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    // Registered once for the process, with its icons: a second window loads neither again.
    if (GetClassInfoExW(instance, Win32Window::kClassName, &window_class) != FALSE) {
        return;
    }
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
    RegisterClassExW(&window_class);
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

// How far a text's ink reaches right of its advance as the system draws it. The last glyph of an
// italic overhangs its advance, and some rasterisers place glyphs at positions the advances they
// report round differently (Wine's does so with Liberation Sans, Windows' usual stand-in for
// Tahoma there: a column or two). A static clips its text to its rectangle, so a label sized to
// the advance alone would lose those columns: the text is drawn once, in the font selected into
// `measuring`, and its ink is measured. (Ink left of the first glyph's origin is clipped whatever
// the label's width.)
int InkBeyondAdvance(HDC measuring, const std::wstring& text, int advance, int height) {
    if (text.empty() || advance <= 0 || height <= 0) {
        return 0;
    }
    const int width = advance + height; // room for any overhang
    const DrawingSurface surface(measuring, width, height, RGB(255, 255, 255));
    HGDIOBJ const previous = SelectObject(surface.Get(), GetCurrentObject(measuring, OBJ_FONT));
    SetBkMode(surface.Get(), TRANSPARENT);
    SetTextColor(surface.Get(), RGB(0, 0, 0));
    RECT drawn{0, 0, width, height};
    DrawTextW(surface.Get(), text.c_str(), static_cast<int>(text.size()), &drawn,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    const std::span<const std::uint32_t> pixels = surface.Pixels();
    SelectObject(surface.Get(), previous);
    for (int x = width - 1; x >= advance && !pixels.empty(); --x) {
        for (int y = 0; y < height; ++y) {
            if (pixels[static_cast<std::size_t>(y * width + x)] != 0xFFFFFFU) {
                return x + 1 - advance;
            }
        }
    }
    return 0;
}

// A tool of the window's tool tip control, named by the window that owns it and, with
// TTF_IDISHWND, the window it covers.
TTTOOLINFOW ToolInfo(HWND owner, HWND tool_window, wchar_t* text) noexcept {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(tool_window);
    tool.lpszText = text;
    return tool;
}

// The order in which the children are created. The dialog manager moves through them in this
// order, so it is the tab order; and Windows names an edit control for screen readers after the
// static just before it, so a label that captions a control comes immediately before it.
std::vector<std::size_t> CreationOrder(const WindowDesign& design) {
    const std::span<const ControlDesign> designs = design.controls;
    const std::vector<std::size_t> tab_order = design.TabOrder();
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

Win32Window::Win32Window(const WindowDesign& design, HINSTANCE instance,
                         AccessibleProperties::Watcher watcher)
    : WindowCore(design), accessible_(std::move(watcher)) {
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
    Open(*this);
}

Win32Window::~Win32Window() {
    // The logic may already be gone; nothing the controls do while they go reaches it.
    Detach();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

HWND Win32Window::Control(std::string_view name) const noexcept {
    const std::optional<std::size_t> index = Design().IndexOf(name);
    return index ? controls_[*index] : nullptr;
}

std::wstring Win32Window::ToolTipText(std::string_view name) const {
    std::array<wchar_t, 256> text{};
    TTTOOLINFOW tool =
        ToolInfo(window_, name == Design().name ? window_ : Control(name), text.data());
    SendMessageW(tool_tip_, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    return text.data();
}

TwipsScale Win32Window::Scale() const {
    const MeasuringContext context(window_, font_.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(context.Get(), &metrics);
    return TwipsScale(metrics.tmHeight);
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
    case WM_PRINTCLIENT:
        // PrintWindow and magnifiers draw the window into a context of their own: the marks too.
        DefDlgProcW(window, message, wParam, lParam);
        PaintMarks(reinterpret_cast<HDC>(wParam));
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
    const auto control = static_cast<std::size_t>(index);
    const ControlKind kind = Design().controls[control].kind;
    if (kind == ControlKind::TextBox && code == EN_CHANGE) {
        Changed(control);
    } else if (kind == ControlKind::OptionButton && code == BN_CLICKED && ReadValue(control)) {
        Clicked(control);
    }
}

void Win32Window::OnPaint(HWND window) {
    PAINTSTRUCT paint{};
    HDC const dc = BeginPaint(window, &paint);
    PaintMarks(dc);
    EndPaint(window, &paint);
}

// A failed event's control is framed in red, just outside its own rectangle, in a red that
// stands out against the dialog and field colours in use.
void Win32Window::PaintMarks(HDC dc) const {
    const auto rgb = [](int index) {
        const COLORREF colour = GetSysColor(index);
        return Rgb{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    };
    const Rgb red = ErrorColour(rgb(COLOR_BTNFACE), rgb(COLOR_WINDOW));
    HBRUSH const brush = CreateSolidBrush(RGB(red.red, red.green, red.blue));
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        if (MarkOf(index).empty()) {
            continue;
        }
        const RECT rect = PlacedRect(index);
        const RECT outer = RingBounds(index);
        HRGN const ring = CreateRectRgn(outer.left, outer.top, outer.right, outer.bottom);
        HRGN const inside = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
        CombineRgn(ring, ring, inside, RGN_DIFF);
        FillRgn(dc, ring, brush);
        DeleteObject(inside);
        DeleteObject(ring);
    }
    DeleteObject(brush);
}

// Where a control is, in the window's client coordinates.
RECT Win32Window::PlacedRect(std::size_t control) const {
    RECT rect{};
    GetWindowRect(controls_[control], &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The outer edge of the ring that marks a control.
RECT Win32Window::RingBounds(std::size_t control) const {
    const RECT rect = PlacedRect(control);
    const PixelRect outer =
        MarkRingAround({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
    return {outer.x, outer.y, outer.Right(), outer.Bottom()};
}

void Win32Window::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UseFontFor(dpi);
    LayOut();
}

void Win32Window::CreateControls(HINSTANCE instance) {
    const std::span<const ControlDesign> designs = Design().controls;
    controls_.assign(designs.size(), nullptr);
    bool first_option = true;
    for (const std::size_t index : CreationOrder(Design())) {
        const ControlDesign& control = designs[index];
        const ChildClass child_class = ClassFor(control, first_option);
        first_option = first_option && control.kind != ControlKind::OptionButton;
        controls_[index] =
            CreateWindowExW(child_class.ex_style, child_class.name, Widen(control.caption).c_str(),
                            child_class.style, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(
                                static_cast<INT_PTR>(kFirstControlId + static_cast<int>(index))),
                            instance, nullptr);
        if (controls_[index] == nullptr) {
            throw std::runtime_error("cannot create a control");
        }
        // Named as on every desktop, where the caption beside a box says less than its name.
        if (!control.accessible_name.empty()) {
            accessible_.SetText(controls_[index], AccessibleProperty::Name,
                                Widen(control.accessible_name));
        }
        if (control.kind == ControlKind::TextBox) {
            // Any length of text: lift the edit control's default limit.
            SendMessageW(controls_[index], EM_SETLIMITTEXT, 0, 0);
        } else if (control.kind == ControlKind::OptionButton && control.style.selected_at_start) {
            SendMessageW(controls_[index], BM_SETCHECK, BST_CHECKED, 0);
        }
    }

    tool_tip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    // A tool for each control whose event can fail, and one for the window, whose load can.
    const auto add_tool = [&](HWND tool_window) {
        TTTOOLINFOW tool = ToolInfo(window_, tool_window, const_cast<wchar_t*>(L""));
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        SendMessageW(tool_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    };
    for (std::size_t index = 0; index < designs.size(); ++index) {
        if (designs[index].kind != ControlKind::Label) {
            add_tool(controls_[index]);
        }
    }
    add_tool(window_);
    announcer_.emplace(window_, instance, accessible_);
}

// The dialog font is the system's message font at the window's DPI.
void Win32Window::UseFontFor(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    dpi::SystemParameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, dpi);
    font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    for (HWND const control : controls_) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
}

std::string Win32Window::ReadText(std::size_t box) const {
    return Narrow(WindowText(controls_[box]));
}

void Win32Window::WriteText(std::size_t box, std::string_view text) {
    // WM_SETTEXT also empties the edit control's undo buffer.
    if (SetWindowTextW(controls_[box], Widen(text).c_str()) == FALSE) {
        RaiseControlCallFailed(Design().controls[box].name, "setting the text");
    }
}

bool Win32Window::ReadValue(std::size_t option) const {
    return SendMessageW(controls_[option], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::WriteCaption(std::size_t label, std::string_view caption) {
    if (SetWindowTextW(controls_[label], Widen(caption).c_str()) == FALSE) {
        RaiseControlCallFailed(Design().controls[label].name, "setting the caption");
    }
}

PixelSize Win32Window::Natural(std::size_t control) const {
    const MeasuringContext context(window_, font_.get());
    const std::wstring text = WindowText(controls_[control]);
    SIZE extent{};
    GetTextExtentPoint32W(context.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(context.Get(), &metrics);
    PixelSize size{static_cast<int>(extent.cx) +
                       InkBeyondAdvance(context.Get(), text, static_cast<int>(extent.cx),
                                        static_cast<int>(metrics.tmHeight)),
                   static_cast<int>(metrics.tmHeight)};
    const ControlDesign& design = Design().controls[control];
    if (design.kind == ControlKind::OptionButton) {
        // The radio mark, and the gap the button leaves between it and the text.
        const int mark = dpi::SystemMetric(SM_CXMENUCHECK, dpi_);
        size.width += mark + MulDiv(6, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
        size.height = std::max(size.height, mark);
    }
    if (design.style.single_border) {
        const int border = dpi::SystemMetric(SM_CXBORDER, dpi_);
        size.width += 2 * border + MulDiv(4, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
        size.height += 2 * border;
    }
    return size;
}

int Win32Window::WrappedHeight(std::size_t control, int width) const {
    const MeasuringContext context(window_, font_.get());
    const std::wstring text = WindowText(controls_[control]);
    RECT rect{0, 0, width, 0};
    DrawTextW(context.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return static_cast<int>(rect.bottom);
}

void Win32Window::Place(std::size_t control, const PixelRect& rect) {
    SetWindowPos(controls_[control], nullptr, rect.x, rect.y, rect.width, rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::SetClientSize(PixelSize client) {
    RECT frame{0, 0, client.width, client.height};
    dpi::AdjustWindowRect(frame, kWindowStyle, kWindowExStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::SetEnabled(std::size_t control, bool enabled) {
    EnableWindow(controls_[control], enabled ? TRUE : FALSE);
}

void Win32Window::ShowMark(std::optional<std::size_t> target, std::string_view why) {
    HWND const marked = target ? controls_[*target] : window_;
    const std::wstring text = Widen(why);
    SetToolTip(marked, text);
    accessible_.SetText(marked, AccessibleProperty::Description, text);
    if (target) {
        // Only the ring needs painting again, not the whole window and every control in it.
        const RECT ring = RingBounds(*target);
        InvalidateRect(window_, &ring, TRUE);
    }
}

void Win32Window::Beep() {
    beep_();
}

void Win32Window::Annotate(std::size_t control, std::string_view note) {
    accessible_.SetText(controls_[control], AccessibleProperty::Description, Widen(note));
}

void Win32Window::Announce(std::string_view text, Announcement when) {
    announcer_->Say(Widen(text), when);
}

void Win32Window::SetToolTip(HWND tool_window, const std::wstring& text) const {
    TTTOOLINFOW tool = ToolInfo(window_, tool_window, const_cast<wchar_t*>(text.c_str()));
    SendMessageW(tool_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace brindle::platform::win32
