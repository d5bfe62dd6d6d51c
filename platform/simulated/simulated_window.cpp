#include "platform/simulated/simulated_window.hpp"

#include <algorithm>
#include <stdexcept>

namespace brindle::platform {
namespace {

std::string_view CallName(ControlCall call) {
    switch (call) {
    case ControlCall::ReadText:
        return "reading the text";
    case ControlCall::WriteText:
        return "setting the text";
    case ControlCall::ReadValue:
        return "reading the value";
    case ControlCall::WriteCaption:
        return "setting the caption";
    }
    return "a call";
}

// Length of the UTF-8 sequence that starts with `lead`, so that typing and erasing go by
// characters rather than bytes.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

SimulatedWindow::Control& SimulatedWindow::Find(std::string_view name, ControlKind kind) {
    return controls_[design_.IndexOf(name, kind)];
}

const SimulatedWindow::Control& SimulatedWindow::Find(std::string_view name,
                                                      ControlKind kind) const {
    return controls_[design_.IndexOf(name, kind)];
}

SimulatedWindow::Control::Control(SimulatedWindow& window, const ControlDesign& control_design)
    : design(&control_design), text(control_design.caption),
      selected(control_design.style.selected_at_start), window_(&window) {}

std::string SimulatedWindow::Control::Text() const {
    window_->Check(*this, ControlCall::ReadText);
    window_->Log(*this, "Text");
    return text;
}

void SimulatedWindow::Control::SetText(std::string_view new_text) {
    window_->Check(*this, ControlCall::WriteText);
    window_->Log(*this, "SetText", new_text);
    std::string owned(new_text);
    window_->delivery_.CallThrough([&] { window_->ChangeText(*this, std::move(owned)); });
}

bool SimulatedWindow::Control::Value() const {
    window_->Check(*this, ControlCall::ReadValue);
    window_->Log(*this, "Value");
    return selected;
}

void SimulatedWindow::Control::SetCaption(std::string_view caption) {
    window_->Check(*this, ControlCall::WriteCaption);
    window_->Log(*this, "SetCaption", caption);
    text = caption;
}

SimulatedWindow::SimulatedWindow(const WindowDesign& design) : design_(design), delivery_(*this) {
    controls_.reserve(design.controls.size());
    for (const ControlDesign& control : design.controls) {
        controls_.emplace_back(*this, control);
    }
    const auto selected = std::count_if(controls_.begin(), controls_.end(),
                                        [](const Control& c) { return c.selected; });
    if (selected > 1) {
        throw std::logic_error("more than one option is selected at start");
    }
}

void SimulatedWindow::Load() {
    delivery_.Raise({design_.name, EventKind::Load});
}

void SimulatedWindow::Type(std::string_view box, std::string_view characters) {
    Control& control = Find(box, ControlKind::TextBox);
    while (!characters.empty()) {
        const std::size_t length = std::min(
            SequenceLength(static_cast<unsigned char>(characters.front())), characters.size());
        ChangeText(control, control.text + std::string(characters.substr(0, length)));
        characters.remove_prefix(length);
    }
}

void SimulatedWindow::Backspace(std::string_view box) {
    Control& control = Find(box, ControlKind::TextBox);
    std::string text = control.text;
    while (!text.empty() && IsContinuation(text.back())) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
    ChangeText(control, std::move(text));
}

void SimulatedWindow::Replace(std::string_view box, std::string_view text) {
    ChangeText(Find(box, ControlKind::TextBox), std::string(text));
}

void SimulatedWindow::Click(std::string_view option) {
    Control& clicked = Find(option, ControlKind::OptionButton);
    for (Control& control : controls_) {
        if (control.design->kind == ControlKind::OptionButton) {
            control.selected = &control == &clicked;
        }
    }
    delivery_.Raise({clicked.design->name, EventKind::Click});
}

const std::string& SimulatedWindow::TextOf(std::string_view box) const {
    return Find(box, ControlKind::TextBox).text;
}

bool SimulatedWindow::IsSelected(std::string_view option) const {
    return Find(option, ControlKind::OptionButton).selected;
}

const std::string& SimulatedWindow::CaptionOf(std::string_view label) const {
    return Find(label, ControlKind::Label).text;
}

void SimulatedWindow::FailCalls(std::string_view control, ControlCall call) {
    const std::optional<std::size_t> index = design_.IndexOf(control);
    if (!index) {
        throw std::logic_error("no control named " + std::string(control));
    }
    failing_.emplace_back(&controls_[*index], call);
}

TextBox& SimulatedWindow::TextBoxNamed(std::string_view name) {
    return Find(name, ControlKind::TextBox);
}

OptionButton& SimulatedWindow::OptionButtonNamed(std::string_view name) {
    return Find(name, ControlKind::OptionButton);
}

Label& SimulatedWindow::LabelNamed(std::string_view name) {
    return Find(name, ControlKind::Label);
}

void SimulatedWindow::EventFailed(const EventSource& event, const RuntimeError& error) noexcept {
    try {
        failures_.push_back({event, error.Number(), error.Description()});
    } catch (...) {
        // A test double that cannot record has nothing better to do than drop the record.
    }
}

void SimulatedWindow::EventCompleted(const EventSource& /*event*/) noexcept {
    ++completed_;
}

void SimulatedWindow::Check(const Control& control, ControlCall call) const {
    const bool fails = std::any_of(failing_.begin(), failing_.end(), [&](const auto& failing) {
        return failing.first == &control && failing.second == call;
    });
    if (fails) {
        RaiseControlCallFailed(control.design->name, CallName(call));
    }
}

void SimulatedWindow::Log(const Control& control, std::string_view call,
                          std::string_view argument) {
    if (!recording_) {
        return;
    }
    std::string entry(control.design->name);
    entry += '.';
    entry += call;
    if (call.starts_with("Set")) {
        entry += '(';
        entry += argument;
        entry += ')';
    }
    call_log_.push_back(std::move(entry));
}

void SimulatedWindow::ChangeText(Control& box, std::string text) {
    if (box.text == text) {
        return;
    }
    box.text = std::move(text);
    delivery_.Raise({box.design->name, EventKind::Change});
}

} // namespace brindle::platform
