#pragma once

#include "platform/controls.hpp"
#include "platform/design.hpp"
#include "platform/event_delivery.hpp"
#include "platform/events.hpp"
#include "platform/layout.hpp"
#include "platform/twips.hpp"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::platform {

enum class Announcement { Now, AfterPause };
// How long the user must pause before what waits to be said is said: a result is said once the
// typing stops, not at every keystroke.
inline constexpr std::chrono::milliseconds kAnnouncementPause{800};

// What truly differs between toolkits: the native side of a window built from a design. Controls
// are numbered in the design's order. Calls that fail raise the control-call run-time error.
class WindowBackend : public CaptionMeasure {
public:
    [[nodiscard]] virtual std::string ReadText(std::size_t box) const = 0;
    // Writes a box's text, forgetting what the user could undo in it. The box may report the
    // write as a change (to the window core's Changed, while this call runs) whether or not the
    // text changed: the core raises the change event only for a real change.
    virtual void WriteText(std::size_t box, std::string_view text) = 0;
    [[nodiscard]] virtual bool ReadValue(std::size_t option) const = 0;
    virtual void WriteCaption(std::size_t label, std::string_view caption) = 0;

    // The window's twips scale: its font's line height.
    [[nodiscard]] virtual TwipsScale Scale() const = 0;
    virtual void Place(std::size_t control, const PixelRect& rect) = 0;
    virtual void SetClientSize(PixelSize client) = 0;

    virtual void SetEnabled(std::size_t control, bool enabled) = 0;
    // What assistive technology reads beside a control's caption, such as that a greyed figure is
    // out of date; empty for nothing. Backends without the notion ignore it.
    virtual void Annotate(std::size_t /*control*/, std::string_view /*note*/) {}
    // Shows a control (or, with nullopt, the window itself) as the one whose event failed, saying
    // why; with nothing to say, as it was before it was marked. The window core keeps what is
    // marked (MarkOf), so a backend that paints marks reads them from there.
    virtual void ShowMark(std::optional<std::size_t> target, std::string_view why) = 0;
    virtual void Beep() = 0;

    // Says something to assistive technology (a screen reader speaks it) without moving the
    // focus: at once, or once the user pauses, replacing what is still waiting to be said.
    // Backends without such a channel say nothing.
    virtual void Announce(std::string_view /*text*/, Announcement /*when*/) {}

    // Told how each event ended, after the window has shown it; for backends that keep a record.
    virtual void Ended(const EventSource& /*event*/, const RuntimeError* /*error*/) noexcept {}

protected:
    ~WindowBackend() = default;
};

// What every backend's window does the same way, written once: the controls of the design found
// by name, their events delivered to the logic, the display of an error at the top of an event,
// and the layout cycle. A backend derives from it, implements WindowBackend over its native
// controls, hands itself over through Open once they are built, and reports their changes and
// clicks through Changed and Clicked.
//
// An error that ends an event greys the result captions, marks the control whose event it was
// with the error's text, beeps and says why; the next event that completes takes all of that away
// and says so. A result that the user's typing or choosing changed is said once the user pauses.
class WindowCore : public ControlSet, private EventReporter {
public:
    explicit WindowCore(const WindowDesign& design);
    WindowCore(const WindowCore&) = delete;
    WindowCore& operator=(const WindowCore&) = delete;

    void Attach(EventTarget& logic) noexcept { delivery_.Attach(logic); }
    // The logic may go first; nothing the native controls report after this reaches it.
    void Detach() noexcept { delivery_.Detach(); }
    void Load();

    [[nodiscard]] const WindowDesign& Design() const noexcept { return design_; }

    TextBox& TextBoxNamed(std::string_view name) override;
    OptionButton& OptionButtonNamed(std::string_view name) override;
    Label& LabelNamed(std::string_view name) override;

    // Why the event of a control (or, with nullopt, the window's load) failed, while it is marked;
    // otherwise empty. The one record of what is marked: backends that paint marks read it here.
    [[nodiscard]] std::string_view MarkOf(std::optional<std::size_t> target) const noexcept;
    // The same by the control's name, or the window's for the load.
    [[nodiscard]] std::string_view MarkOf(std::string_view name) const noexcept;
    // Where the window was last laid out to put each control.
    [[nodiscard]] const WindowLayout& CurrentLayout() const noexcept { return layout_; }

protected:
    ~WindowCore();

    // The backend's native part is built: from here on the core works through it, starting by
    // laying the window out. The core holds nothing of the backend before, so nothing it does can
    // reach a native control that does not exist yet.
    void Open(WindowBackend& backend);

    // The native controls' reports: a box's text changed, an option was clicked and is chosen.
    void Changed(std::size_t box) noexcept;
    void Clicked(std::size_t option) noexcept;

    // Places every control for its current caption, as at start-up or after a font change.
    void LayOut();

private:
    class Control final : public TextBox, public OptionButton, public Label {
    public:
        Control(WindowCore& core, std::size_t index) noexcept : core_(&core), index_(index) {}

        [[nodiscard]] std::string Text() const override;
        void SetText(std::string_view text) override;
        [[nodiscard]] bool Value() const override;
        void SetCaption(std::string_view caption) override;

    private:
        WindowCore* core_;
        std::size_t index_;
    };

    void EventFailed(const EventSource& event, const RuntimeError& error) noexcept override;
    void EventCompleted(const EventSource& event) noexcept override;
    // The backend, once Open has handed it over; before that, using it is a programming error
    // (std::logic_error), not a call through a null pointer.
    [[nodiscard]] WindowBackend& Backend() const;
    // The results shown as current, or greyed and described as out of date.
    void ShowResults(bool current);
    void CaptionChanged(std::size_t label, std::string_view caption);
    // The result row as one sentence: each result caption, with the label that captions it.
    [[nodiscard]] std::string ResultSentence() const;

    struct Mark {
        std::optional<std::size_t> target; // nullopt is the window
        std::string why;
    };

    const WindowDesign& design_;
    WindowBackend* backend_ = nullptr; // set by Open
    EventDelivery delivery_;
    std::vector<Control> controls_; // sized once; the logic keeps references to its elements
    WindowLayout layout_;           // the last one, so a caption change can tell if it still holds
    // One per marked target, with the newest failure's reason; empty while no failure is shown.
    std::vector<Mark> marks_;
    std::vector<std::string> captions_; // each label's caption as last written
    // A box being written with the text it already holds: what it reports is no change.
    std::optional<std::size_t> unchanged_box_;
    std::optional<std::size_t> chosen_; // the option last chosen
};

} // namespace brindle::platform
