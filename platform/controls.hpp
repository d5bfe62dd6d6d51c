#pragma once

#include <string>
#include <string_view>

// What window logic may do with a control. Backends implement these over real or simulated
// controls; a failed call raises the control-call run-time error.
namespace brindle::platform {

class TextBox {
public:
    [[nodiscard]] virtual std::string Text() const = 0;
    // A write that changes the text raises the box's change event and runs its handler to
    // completion before it returns; an error that handler raises comes out of this call.
    virtual void SetText(std::string_view text) = 0;

protected:
    ~TextBox() = default;
};

class OptionButton {
public:
    [[nodiscard]] virtual bool Value() const = 0;

protected:
    ~OptionButton() = default;
};

class Label {
public:
    virtual void SetCaption(std::string_view caption) = 0;

protected:
    ~Label() = default;
};

// The controls of one created window, found by their design names. Asking for a name the design
// does not have, or for the wrong kind, is a programming error and throws std::logic_error.
class ControlSet {
public:
    [[nodiscard]] virtual TextBox& TextBoxNamed(std::string_view name) = 0;
    [[nodiscard]] virtual OptionButton& OptionButtonNamed(std::string_view name) = 0;
    [[nodiscard]] virtual Label& LabelNamed(std::string_view name) = 0;

protected:
    ~ControlSet() = default;
};

} // namespace brindle::platform
