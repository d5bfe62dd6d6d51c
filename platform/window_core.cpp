#include "platform/window_core.hpp"

#include "platform/error_report.hpp"

#include <algorithm>
#include <stdexcept>

namespace brindle::platform {

std::string WindowCore::Control::Text() const {
    return core_->Backend().ReadText(index_);
}

void WindowCore::Control::SetText(std::string_view text) {
    // A program's write raises the change event when it changes the text, and only then, however
    // the native box reports the write.
    const bool changes = core_->Backend().ReadText(index_) != text;
    core_->delivery_.CallThrough([&] {
        core_->unchanged_box_ = changes ? std::nullopt : std::optional(index_);
        try {
            core_->Backend().WriteText(index_, text);
        } catch (...) {
            core_->unchanged_box_.reset();
            throw;
        }
        core_->unchanged_box_.reset();
    });
}

bool WindowCore::Control::Value() const {
    return core_->Backend().ReadValue(index_);
}

void WindowCore::Control::SetCaption(std::string_view caption) {
    core_->Backend().WriteCaption(index_, caption);
    core_->CaptionChanged(index_, caption);
}

WindowCore::WindowCore(const WindowDesign& design) : design_(design), delivery_(*this) {
    controls_.reserve(design.controls.size());
    captions_.reserve(design.controls.size());
    for (std::size_t index = 0; index < design.controls.size(); ++index) {
        controls_.emplace_back(*this, index);
        captions_.emplace_back(design.controls[index].caption);
        if (design.controls[index].style.selected_at_start) {
            chosen_ = index;
        }
    }
}

WindowCore::~WindowCore() {
    delivery_.Detach();
}

WindowBackend& WindowCore::Backend() const {
    if (backend_ == nullptr) {
        throw std::logic_error("the window is used before its native controls are built");
    }
    return *backend_;
}

void WindowCore::Open(WindowBackend& backend) {
    backend_ = &backend;
    LayOut();
}

void WindowCore::Load() {
    delivery_.Raise({design_.name, EventKind::Load});
}

TextBox& WindowCore::TextBoxNamed(std::string_view name) {
    return controls_[design_.IndexOf(name, ControlKind::TextBox)];
}

OptionButton& WindowCore::OptionButtonNamed(std::string_view name) {
    return controls_[design_.IndexOf(name, ControlKind::OptionButton)];
}

Label& WindowCore::LabelNamed(std::string_view name) {
    return controls_[design_.IndexOf(name, ControlKind::Label)];
}

void WindowCore::Changed(std::size_t box) noexcept {
    if (unchanged_box_ == box) {
        return;
    }
    delivery_.Raise({design_.controls[box].name, EventKind::Change});
}

void WindowCore::Clicked(std::size_t option) noexcept {
    // Some toolkits report a click on the option already chosen, others do not. It changes
    // nothing, so on every backend it is no event: nothing is recomputed, said or cleared.
    if (chosen_ == option) {
        return;
    }
    chosen_ = option;
    delivery_.Raise({design_.controls[option].name, EventKind::Click});
}

void WindowCore::EventFailed(const EventSource& event, const RuntimeError& error) noexcept {
    try {
        // A failed load event has no control of its own; the window itself carries the message.
        // The mark is recorded before anything is shown, so that the next event that completes
        // clears whatever was.
        const std::optional<std::size_t> source = design_.IndexOf(event.control);
        const std::string why = ErrorReportText(error);
        // A control that fails again says its newest reason.
        std::erase_if(marks_, [&](const Mark& mark) { return mark.target == source; });
        marks_.push_back({source, why});
        WindowBackend& backend = Backend();
        backend.Beep();
        ShowResults(false);
        backend.ShowMark(source, why);
        backend.Announce(why + (why.ends_with('.') ? " " : ". ") +
                             std::string(design_.error_words.figures_stale),
                         Announcement::Now);
    } catch (...) {
        // Nothing more can be shown; the window itself is unchanged and goes on working.
    }
    if (backend_ != nullptr) {
        backend_->Ended(event, &error);
    }
}

void WindowCore::ShowResults(bool current) {
    for (std::size_t i = 0; i < design_.controls.size(); ++i) {
        if (design_.controls[i].style.shows_result) {
            Backend().SetEnabled(i, current);
            Backend().Annotate(i, current ? std::string_view() : design_.error_words.stale_note);
        }
    }
}

void WindowCore::EventCompleted(const EventSource& event) noexcept {
    const bool cleared = !marks_.empty();
    if (cleared) {
        try {
            ShowResults(true);
            // A mark stays recorded until it is no longer shown: what could not be cleared now
            // is cleared by the next event that completes.
            for (; !marks_.empty(); marks_.pop_back()) {
                Backend().ShowMark(marks_.back().target, {});
            }
        } catch (...) {
            // What could not be cleared stays shown; the window goes on working.
        }
    }
    try {
        // The start-up estimate is what the window shows on opening; nobody asked for it yet.
        if (cleared) {
            Backend().Announce(std::string(design_.error_words.error_cleared) + " " +
                                   ResultSentence(),
                               Announcement::Now);
        } else if (event.kind != EventKind::Load) {
            Backend().Announce(ResultSentence(), Announcement::AfterPause);
        }
    } catch (...) {
        // Nothing is said; what the window shows is unchanged.
    }
    if (backend_ != nullptr) {
        backend_->Ended(event, nullptr);
    }
}

void WindowCore::LayOut() {
    WindowBackend& backend = Backend();
    layout_ = LayOutWindow(design_, backend.Scale(), backend);
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
        backend.Place(i, layout_.controls[i]);
    }
    backend.SetClientSize(layout_.client);
}

std::string_view WindowCore::MarkOf(std::optional<std::size_t> target) const noexcept {
    const auto marked = std::find_if(marks_.begin(), marks_.end(),
                                     [&](const Mark& mark) { return mark.target == target; });
    return marked == marks_.end() ? std::string_view() : std::string_view(marked->why);
}

std::string_view WindowCore::MarkOf(std::string_view name) const noexcept {
    if (name == design_.name) {
        return MarkOf(std::nullopt);
    }
    const std::optional<std::size_t> control = design_.IndexOf(name);
    return control ? MarkOf(control) : std::string_view();
}

void WindowCore::CaptionChanged(std::size_t label, std::string_view caption) {
    captions_[label] = caption;
    if (!LayoutStillHolds(layout_, design_, label, Backend().Natural(label))) {
        LayOut();
    }
}

std::string WindowCore::ResultSentence() const {
    const auto shows_result = [&](std::string_view name) {
        const std::optional<std::size_t> index = design_.IndexOf(name);
        return index && design_.controls[*index].style.shows_result;
    };
    std::string sentence;
    for (std::size_t i = 0; i < design_.controls.size(); ++i) {
        const ControlDesign& control = design_.controls[i];
        if ((control.style.shows_result || shows_result(control.caption_for)) &&
            !captions_[i].empty()) {
            sentence += sentence.empty() ? "" : " ";
            sentence += captions_[i];
        }
    }
    return sentence;
}

} // namespace brindle::platform
