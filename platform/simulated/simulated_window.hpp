#pragma once

#include "platform/controls.hpp"
#include "platform/design.hpp"
#include "platform/event_delivery.hpp"
#include "platform/events.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brindle::platform {

// The control calls a test can make fail.
enum class ControlCall { ReadText, WriteText, ReadValue, WriteCaption };

// A window of in-memory controls built from a design, behaving as real controls do: a text write
// raises the change event only when the text really changes, synchronously and inside the write;
// the options form one exclusive group. It lets tests act as the user, see what the user would
// see, make chosen control calls fail, and read how each event ended.
class SimulatedWindow final : public ControlSet, private EventReporter {
public:
    explicit SimulatedWindow(const WindowDesign& design);
    SimulatedWindow(const SimulatedWindow&) = delete;
    SimulatedWindow& operator=(const SimulatedWindow&) = delete;
    ~SimulatedWindow() = default;

    void Attach(EventTarget& logic) noexcept { delivery_.Attach(logic); }
    void Load();

    // The user's actions; each change of a text is one event.
    void Type(std::string_view box, std::string_view characters);
    void Backspace(std::string_view box);
    void Replace(std::string_view box, std::string_view text); // select all, then paste or delete
    void Click(std::string_view option);

    // What the user sees.
    [[nodiscard]] const std::string& TextOf(std::string_view box) const;
    [[nodiscard]] bool IsSelected(std::string_view option) const;
    [[nodiscard]] const std::string& CaptionOf(std::string_view label) const;

    // Every such call on that control fails until HealCalls.
    void FailCalls(std::string_view control, ControlCall call);
    void HealCalls() noexcept { failing_.clear(); }

    struct Failure {
        EventSource event;
        ErrorNumber number;
        std::string description;
    };
    [[nodiscard]] const std::vector<Failure>& Failures() const noexcept { return failures_; }
    [[nodiscard]] std::size_t CompletedEvents() const noexcept { return completed_; }

    // While recording, the control calls the logic makes are logged in order, such as
    // "txtCD.SetText(5)" or "opt22kMono.Value". Off by default, to keep benchmarks honest.
    void RecordCalls(bool on) noexcept { recording_ = on; }
    [[nodiscard]] const std::vector<std::string>& CallLog() const noexcept { return call_log_; }
    void ClearCallLog() noexcept { call_log_.clear(); }

    TextBox& TextBoxNamed(std::string_view name) override;
    OptionButton& OptionButtonNamed(std::string_view name) override;
    Label& LabelNamed(std::string_view name) override;

private:
    class Control final : public TextBox, public OptionButton, public Label {
    public:
        Control(SimulatedWindow& window, const ControlDesign& design);

        [[nodiscard]] std::string Text() const override;
        void SetText(std::string_view text) override;
        [[nodiscard]] bool Value() const override;
        void SetCaption(std::string_view caption) override;

        const ControlDesign* design;
        std::string text; // a box's text or a label's caption
        bool selected;

    private:
        SimulatedWindow* window_;
    };

    void EventFailed(const EventSource& event, const RuntimeError& error) noexcept override;
    void EventCompleted(const EventSource& event) noexcept override;

    Control& Find(std::string_view name, ControlKind kind);
    [[nodiscard]] const Control& Find(std::string_view name, ControlKind kind) const;
    void Check(const Control& control, ControlCall call) const;
    void Log(const Control& control, std::string_view call, std::string_view argument = {});
    void ChangeText(Control& box, std::string text);

    const WindowDesign& design_;
    EventDelivery delivery_;
    std::vector<Control> controls_; // sized once; the logic keeps references to its elements
    std::vector<std::pair<const Control*, ControlCall>> failing_;
    std::vector<Failure> failures_;
    std::size_t completed_ = 0;
    bool recording_ = false;
    std::vector<std::string> call_log_;
};

} // namespace brindle::platform
