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

// The simulated font: the design's own, whose line is 195 twips.
constexpr int kLineHeight = 13;

} // namespace

SimulatedWindow::SimulatedWindow(const WindowDesign& design) : WindowCore(design) {
    states_.reserve(design.controls.size());
    for (const ControlDesign& control : design.controls) {
        states_.push_back(
            {.text = std::string(control.caption), .selected = control.style.selected_at_start});
    }
    const auto selected = std::count_if(states_.begin(), states_.end(),
                                        [](const State& state) { return state.selected; });
    if (selected > 1) {
        throw std::logic_error("more than one option is selected at start");
    }
    Open(*this);
}

void SimulatedWindow::Type(std::string_view box, std::string_view characters) {
    const std::size_t index = Index(box, ControlKind::TextBox);
    while (!characters.empty()) {
        const std::size_t length = std::min(
            SequenceLength(static_cast<unsigned char>(characters.front())), characters.size());
        ChangeText(index, states_[index].text + std::string(characters.substr(0, length)));
        characters.remove_prefix(length);
    }
}

void SimulatedWindow::Backspace(std::string_view box) {
    const std::size_t index = Index(box, ControlKind::TextBox);
    std::string text = states_[index].text;
    while (!text.empty() && IsContinuation(text.back())) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
    ChangeText(index, std::move(text));
}

void SimulatedWindow::Replace(std::string_view box, std::string_view text) {
    ChangeText(Index(box, ControlKind::TextBox), std::string(text));
}

void SimulatedWindow::Click(std::string_view option) {
    const std::size_t clicked = Index(option, ControlKind::OptionButton);
    for (std::size_t i = 0; i < states_.size(); ++i) {
        if (Design().controls[i].kind == ControlKind::OptionButton) {
            states_[i].selected = i == clicked;
        }
    }
    Clicked(clicked);
}

const std::string& SimulatedWindow::TextOf(std::string_view box) const {
    return states_[Index(box, ControlKind::TextBox)].text;
}

bool SimulatedWindow::IsSelected(std::string_view option) const {
    return states_[Index(option, ControlKind::OptionButton)].selected;
}

const std::string& SimulatedWindow::CaptionOf(std::string_view label) const {
    return states_[Index(label, ControlKind::Label)].text;
}

bool SimulatedWindow::IsEnabled(std::string_view control) const {
    return states_.at(Design().IndexOf(control).value()).enabled;
}

void SimulatedWindow::FailCalls(std::string_view control, ControlCall call) {
    const std::optional<std::size_t> index = Design().IndexOf(control);
    if (!index) {
        throw std::logic_error("no control named " + std::string(control));
    }
    failing_.emplace_back(*index, call);
}

std::string SimulatedWindow::ReadText(std::size_t box) const {
    Check(box, ControlCall::ReadText);
    Log(box, "Text");
    return states_[box].text;
}

// As a native edit control does, the box reports every write as a change.
void SimulatedWindow::WriteText(std::size_t box, std::string_view text) {
    Check(box, ControlCall::WriteText);
    Log(box, "SetText", text);
    states_[box].text = std::string(text);
    Changed(box);
}

bool SimulatedWindow::ReadValue(std::size_t option) const {
    Check(option, ControlCall::ReadValue);
    Log(option, "Value");
    return states_[option].selected;
}

void SimulatedWindow::WriteCaption(std::size_t label, std::string_view caption) {
    Check(label, ControlCall::WriteCaption);
    Log(label, "SetCaption", caption);
    states_[label].text = caption;
}

TwipsScale SimulatedWindow::Scale() const {
    return TwipsScale(kLineHeight);
}

// Every caption fits its design rectangle, as with the design's own font, whatever it says.
PixelSize SimulatedWindow::Natural(std::size_t control) const {
    const PixelRect design = Scale().ToPixels(Design().controls[control].place);
    return {design.width, design.height};
}

int SimulatedWindow::WrappedHeight(std::size_t control, int /*width*/) const {
    return Natural(control).height;
}

std::string SimulatedWindow::NoteOf(std::string_view control) const {
    return states_[*Design().IndexOf(control)].note;
}

void SimulatedWindow::SetEnabled(std::size_t control, bool enabled) {
    states_[control].enabled = enabled;
}

void SimulatedWindow::Ended(const EventSource& event, const RuntimeError* error) noexcept {
    if (error == nullptr) {
        ++completed_;
        return;
    }
    try {
        failures_.push_back({event, error->Number(), error->Description()});
    } catch (...) {
        // A test double that cannot record has nothing better to do than drop the record.
    }
}

std::size_t SimulatedWindow::Index(std::string_view name, ControlKind kind) const {
    return Design().IndexOf(name, kind);
}

void SimulatedWindow::RaiseIfFailing(std::size_t control, ControlCall call) const {
    const bool fails = std::any_of(failing_.begin(), failing_.end(), [&](const auto& failing) {
        return failing.first == control && failing.second == call;
    });
    if (fails) {
        RaiseControlCallFailed(Design().controls[control].name, CallName(call));
    }
}

void SimulatedWindow::Record(std::size_t control, std::string_view call,
                             std::string_view argument) const {
    std::string entry(Design().controls[control].name);
    entry += '.';
    entry += call;
    if (call.starts_with("Set")) {
        entry += '(';
        entry += argument;
        entry += ')';
    }
    call_log_.push_back(std::move(entry));
}

void SimulatedWindow::ChangeText(std::size_t box, std::string text) {
    if (states_[box].text == text) {
        return;
    }
    states_[box].text = std::move(text);
    Changed(box);
}

} // namespace brindle::platform
