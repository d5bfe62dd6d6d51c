#pragma once

#include "platform/design.hpp"
#include "platform/layout.hpp"
#include "platform/twips.hpp"
#include "platform/win32/accessible_properties.hpp"
#include "platform/win32/announcer.hpp"
#include "platform/window_core.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>
#include <windows.h>

namespace brindle::platform::win32 {

// A window of standard Windows controls built from a design: an EDIT per text box, an automatic
// radio BUTTON per option (one group), a STATIC per label, placed in twips scaled through the
// dialog font at the window's DPI. Being standard controls, they answer the standard window
// messages from any process, as UI automation and screen readers expect. What every backend does
// alike (events, error display, layout) is the window core's; this is the Win32 side of it. A
// failed event's control is framed in red by the window and given a tool tip saying why; a failed
// load gives the window itself that tool tip.
class Win32Window final : public WindowCore, private WindowBackend {
public:
    static constexpr const wchar_t* kClassName = L"BrindleDSCWindow";

    // `watcher` sees what the window tells assistive technology beyond its controls' own words.
    Win32Window(const WindowDesign& design, HINSTANCE instance,
                AccessibleProperties::Watcher watcher = {});
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;
    ~Win32Window();

    [[nodiscard]] HWND Handle() const noexcept { return window_; }
    // The control of that design name; nullptr when there is none.
    [[nodiscard]] HWND Control(std::string_view name) const noexcept;
    // The tool tip text shown for a control, or with the window's name for the window itself:
    // what went wrong, or empty.
    [[nodiscard]] std::wstring ToolTipText(std::string_view name) const;
    [[nodiscard]] TwipsScale Scale() const override;
    // What sounds when an event fails; Windows' warning sound unless replaced.
    void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }
    // What the window speaks to screen readers through.
    [[nodiscard]] Announcer& Announcements() noexcept { return *announcer_; }

private:
    struct FontDeleter {
        void operator()(HFONT font) const noexcept { DeleteObject(font); }
    };
    using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) noexcept;
    LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
    void OnCommand(HWND window, int id, HWND control, UINT code);
    void OnPaint(HWND window);
    void PaintMarks(HDC dc) const;
    [[nodiscard]] RECT PlacedRect(std::size_t control) const;
    [[nodiscard]] RECT RingBounds(std::size_t control) const;
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    // The controls: standard children of the window, created in the order the dialog manager
    // and screen readers go through them.
    void CreateControls(HINSTANCE instance);
    [[nodiscard]] std::string ReadText(std::size_t box) const override;
    void WriteText(std::size_t box, std::string_view text) override;
    [[nodiscard]] bool ReadValue(std::size_t option) const override;
    void WriteCaption(std::size_t label, std::string_view caption) override;

    // Layout, in the system's message font at the window's DPI.
    void UseFontFor(UINT dpi);
    [[nodiscard]] PixelSize Natural(std::size_t control) const override;
    [[nodiscard]] int WrappedHeight(std::size_t control, int width) const override;
    void Place(std::size_t control, const PixelRect& rect) override;
    void SetClientSize(PixelSize client) override;

    // A failed event: the red frame is painted by OnPaint, the reason is in a tool tip of the
    // control, or of the window for a failed load.
    void SetToolTip(HWND tool, const std::wstring& text) const;
    void ShowMark(std::optional<std::size_t> target, std::string_view why) override;
    void SetEnabled(std::size_t control, bool enabled) override;
    void Beep() override;
    void Annotate(std::size_t control, std::string_view note) override;
    void Announce(std::string_view text, Announcement when) override;

    HWND window_ = nullptr;
    HWND tool_tip_ = nullptr;
    Font font_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::vector<HWND> controls_; // in the design's order
    std::function<void()> beep_ = [] { MessageBeep(MB_ICONWARNING); };
    AccessibleProperties accessible_;
    std::optional<Announcer> announcer_; // made with the controls
};

} // namespace brindle::platform::win32
