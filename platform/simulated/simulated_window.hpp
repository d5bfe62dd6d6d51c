#pragma once

#include "platform/design.hpp"
#include "platform/events.hpp"
#include "platform/window_core.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brindle::platform {

// The control calls a test can make fail.
enum class ControlCall { ReadText, WriteText, ReadValue, WriteCaption };

// A window of in-memory controls built from a design, behaving as real controls do: a box reports
// a program's write of its text as a change, synchronously and inside the write, as a native edit
// control does, and the user's edits when they change the text; the options form one exclusive
// group. It shares the window core with the real backends, so the
// same error display and layout run here. It lets tests act as the user, see what the user would
// see, make chosen control calls fail, and read how each event ended.
class SimulatedWindow final : public WindowCore, private WindowBackend {
public:
    explicit SimulatedWindow(const WindowDesign& design);
    SimulatedWindow(const SimulatedWindow&) = delete;
    SimulatedWindow& operator=(const SimulatedWindow&) = delete;
    ~SimulatedWindow() = default;

    // The user's actions; each change of a text is one event.
    void Type(std::string_view box, std::string_view characters);
    void Backspace(std::string_view box);
    void Replace(std::string_view box, std::string_view text); // select all, then paste or delete
    void Click(std::string_view option);

    // What the user sees.
    [[nodiscard]] const std::string& TextOf(std::string_view box) const;
    [[nodiscard]] bool IsSelected(std::string_view option) const;
    [[nodiscard]] const std::string& CaptionOf(std::string_view label) const;
    [[nodiscard]] bool IsEnabled(std::string_view control) const;
    [[nodiscard]] int Beeps() const noexcept { return beeps_; }
    // What the window said to assistive technology, oldest first, and when it asked for it.
    struct Said {
        std::string text;
        Announcement when;
        friend bool operator==(const Said&, const Said&) = default;
    };
    [[nodiscard]] const std::vector<Said>& Announcements() const noexcept { return said_; }
    // What a screen reader reads beside a control's caption.
    [[nodiscard]] std::string NoteOf(std::string_view control) const;

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

private:
    struct State {
        std::string text; // a box's text or a label's caption
        bool selected = false;
        bool enabled = true;
        std::string note{};
    };

    [[nodiscard]] std::string ReadText(std::size_t box) const override;
    void WriteText(std::size_t box, std::string_view text) override;
    [[nodiscard]] bool ReadValue(std::size_t option) const override;
    void WriteCaption(std::size_t label, std::string_view caption) override;
    [[nodiscard]] TwipsScale Scale() const override;
    [[nodiscard]] PixelSize Natural(std::size_t control) const override;
    [[nodiscard]] int WrappedHeight(std::size_t control, int width) const override;
    // Where the core places each control is read from the core itself (CurrentLayout).
    void Place(std::size_t /*control*/, const PixelRect& /*rect*/) override {}
    void SetClientSize(PixelSize /*client*/) override {}
    void SetEnabled(std::size_t control, bool enabled) override;
    // What is marked is read from the core itself (MarkOf), as a backend that paints marks does.
    void ShowMark(std::optional<std::size_t> /*target*/, std::string_view /*why*/) override {}
    void Beep() override { ++beeps_; }
    void Announce(std::string_view text, Announcement when) override {
        said_.push_back({std::string(text), when});
    }
    void Annotate(std::size_t control, std::string_view note) override {
        states_[control].note = note;
    }
    void Ended(const EventSource& event, const RuntimeError* error) noexcept override;

    [[nodiscard]] std::size_t Index(std::string_view name, ControlKind kind) const;
    // Both are on every control call the logic makes, and nearly always have nothing to do.
    void Check(std::size_t control, ControlCall call) const {
        if (!failing_.empty()) {
            RaiseIfFailing(control, call);
        }
    }
    void Log(std::size_t control, std::string_view call, std::string_view argument = {}) const {
        if (recording_) {
            Record(control, call, argument);
        }
    }
    void RaiseIfFailing(std::size_t control, ControlCall call) const;
    void Record(std::size_t control, std::string_view call, std::string_view argument) const;
    void ChangeText(std::size_t box, std::string text);

    std::vector<State> states_; // in the design's order
    std::vector<std::pair<std::size_t, ControlCall>> failing_;
    std::vector<Failure> failures_;
    std::vector<Said> said_;
    std::size_t completed_ = 0;
    int beeps_ = 0;
    bool recording_ = false;
    // What the logic asked of the controls; reading a control is logged too, so the log is kept
    // apart from the window's state.
    mutable std::vector<std::string> call_log_;
};

} // namespace brindle::platform
