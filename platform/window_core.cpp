#include "platform/window_core.hpp"

#include "platform/error_report.hpp"

namespace brindle::platform {

std::string WindowCore::Control::Text() const {
    return core_->backend_.ReadText(index_);
}

void WindowCore::Control::SetText(std::string_view text) {
    core_->delivery_.CallThrough([&] { core_->backend_.WriteText(index_, text); });
}

bool WindowCore::Control::Value() const {
    return core_->backend_.ReadValue(index_);
}

void WindowCore::Control::SetCaption(std::string_view caption) {
    core_->backend_.WriteCaption(index_, caption);
    core_->CaptionChanged(index_);
}

WindowCore::WindowCore(const WindowDesign& design, WindowBackend& backend)
    : design_(design), backend_(backend), delivery_(*this) {
    controls_.reserve(design.controls.size());
    for (std::size_t index = 0; index < design.controls.size(); ++index) {
        controls_.emplace_back(*this, index);
    }
}

WindowCore::~WindowCore() {
    delivery_.Detach();
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
    delivery_.Raise({design_.controls[box].name, EventKind::Change});
}

void WindowCore::Clicked(std::size_t option) noexcept {
    delivery_.Raise({design_.controls[option].name, EventKind::Click});
}

void WindowCore::EventFailed(const EventSource& event, const RuntimeError& error) noexcept {
    try {
        showing_failure_ = true;
        backend_.Beep();
        for (std::size_t i = 0; i < design_.controls.size(); ++i) {
            if (design_.controls[i].style.shows_result) {
                backend_.SetEnabled(i, false);
            }
        }
        // A failed load event has no control of its own; the window itself carries the message.
        const std::optional<std::size_t> source = design_.IndexOf(event.control);
        marked_.push_back(source);
        backend_.Mark(source, ErrorReportText(error));
    } catch (...) {
        // Nothing more can be shown; the window itself is unchanged and goes on working.
    }
    backend_.Ended(event, &error);
}

void WindowCore::EventCompleted(const EventSource& event) noexcept {
    if (showing_failure_) {
        try {
            showing_failure_ = false;
            for (std::size_t i = 0; i < design_.controls.size(); ++i) {
                if (design_.controls[i].style.shows_result) {
                    backend_.SetEnabled(i, true);
                }
            }
            // Newest first, so that a control marked twice ends as it was before the first mark.
            for (; !marked_.empty(); marked_.pop_back()) {
                backend_.Unmark(marked_.back());
            }
        } catch (...) {
            // What could not be cleared stays shown; the window goes on working.
        }
    }
    backend_.Ended(event, nullptr);
}

void WindowCore::LayOut() {
    layout_ = LayOutWindow(design_, backend_.Scale(), backend_);
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
        backend_.Place(i, layout_.controls[i]);
    }
    backend_.SetClientSize(layout_.client);
}

void WindowCore::CaptionChanged(std::size_t label) {
    if (!LayoutStillHolds(layout_, design_, label, backend_.Natural(label))) {
        LayOut();
    }
}

} // namespace brindle::platform
