#pragma once

#include "platform/controls.hpp"
#include "platform/design.hpp"
#include "platform/event_delivery.hpp"
#include "platform/events.hpp"
#include "platform/layout.hpp"
#include "platform/twips.hpp"

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>
#include <windows.h>

namespace brindle::platform::win32 {

// A window of standard Windows controls built from a design: an EDIT per text box, an automatic
// radio BUTTON per option (one group), a STATIC per label, placed in twips scaled through the
// dialog font at the window's DPI. Being standard controls, they answer the standard window
// messages from any process, as UI automation and screen readers expect. Events go through the
// event delivery; an error that ends an event greys the result captions, marks the control that
// raised it with a red frame and a tool tip, and beeps, until the next event completes.
class Win32Window final : public ControlSet, private EventReporter {
public:
    static constexpr const wchar_t* kClassName = L"BrindleDSCWindow";

    Win32Window(const WindowDesign& design, HINSTANCE instance);
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;
    ~Win32Window();

    void Attach(EventTarget& logic) noexcept { delivery_.Attach(logic); }
    void Load();

    [[nodiscard]] HWND Handle() const noexcept { return window_; }
    // The control of that design name; nullptr when there is none.
    [[nodiscard]] HWND Control(std::string_view name) const noexcept;
    // The tool tip text shown for a control: what went wrong, or empty.
    [[nodiscard]] std::wstring ToolTipText(std::string_view name) const;
    [[nodiscard]] TwipsScale Scale() const;

    TextBox& TextBoxNamed(std::string_view name) override;
    OptionButton& OptionButtonNamed(std::string_view name) override;
    Label& LabelNamed(std::string_view name) override;

private:
    class Child final : public TextBox, public OptionButton, public Label {
    public:
        Child(Win32Window& window, const ControlDesign& design, HWND handle)
            : window_(&window), design_(&design), handle_(handle) {}

        [[nodiscard]] std::string Text() const override;
        void SetText(std::string_view text) override;
        [[nodiscard]] bool Value() const override;
        void SetCaption(std::string_view caption) override;

        [[nodiscard]] const ControlDesign& Design() const noexcept { return *design_; }
        [[nodiscard]] HWND Handle() const noexcept { return handle_; }

    private:
        Win32Window* window_;
        const ControlDesign* design_;
        HWND handle_;
    };

    struct FontDeleter {
        void operator()(HFONT font) const noexcept { DeleteObject(font); }
    };
    using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) noexcept;
    LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
    void OnCommand(HWND window, int id, HWND control, UINT code);
    void OnPaint(HWND window);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    void EventFailed(const EventSource& event, const RuntimeError& error) noexcept override;
    void EventCompleted(const EventSource& event) noexcept override;
    void ClearFailures();

    void CreateControls(HINSTANCE instance);
    void UseFontFor(UINT dpi);
    void LayOut();
    void CaptionChanged(const Child& child);
    [[nodiscard]] PixelSize NaturalSize(const Child& child) const;
    void SetToolTip(HWND control, const std::wstring& text) const;

    const WindowDesign& design_;
    EventDelivery delivery_;
    HWND window_ = nullptr;
    HWND tool_tip_ = nullptr;
    Font font_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::vector<Child> controls_; // sized once, in design order; the logic keeps references
    WindowLayout layout_; // the last one, so a caption change can tell whether it still holds
    std::vector<std::size_t> marked_;
    bool showing_failure_ = false;
};

} // namespace brindle::platform::win32
