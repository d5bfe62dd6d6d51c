#pragma once

#include "platform/controls.hpp"
#include "platform/design.hpp"
#include "platform/event_delivery.hpp"
#include "platform/events.hpp"
#include "platform/indexed_image.hpp"
#include "platform/layout.hpp"
#include "platform/twips.hpp"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace brindle::platform::qt {

// A window of real Qt widgets built from a design: a line edit per text box, a radio button per
// option (one exclusive group), a label per label, placed in twips scaled through the window's
// font. Events go through the event delivery; an error that ends an event is shown on the window
// (result captions greyed, the control that raised it marked) until the next event completes.
class QtWindow final : public ControlSet, private EventReporter {
public:
    QtWindow(const WindowDesign& design, std::span<const IndexedImage> icon);
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;
    ~QtWindow();

    void Attach(EventTarget& logic) noexcept { delivery_.Attach(logic); }
    void Load();

    [[nodiscard]] QWidget& Window() noexcept { return *window_; }
    // The widget of a control, by its design name; nullptr when there is none.
    [[nodiscard]] QWidget* Widget(std::string_view name) const noexcept;
    [[nodiscard]] TwipsScale Scale() const;
    // What sounds when an event fails; the desktop's beep unless replaced.
    void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }

    TextBox& TextBoxNamed(std::string_view name) override;
    OptionButton& OptionButtonNamed(std::string_view name) override;
    Label& LabelNamed(std::string_view name) override;

private:
    class Control final : public TextBox, public OptionButton, public Label {
    public:
        Control(QtWindow& window, const ControlDesign& design, QWidget& parent);

        [[nodiscard]] std::string Text() const override;
        void SetText(std::string_view text) override;
        [[nodiscard]] bool Value() const override;
        void SetCaption(std::string_view caption) override;

        [[nodiscard]] const ControlDesign& Design() const noexcept { return *design_; }
        [[nodiscard]] QWidget* Widget() const noexcept;
        [[nodiscard]] PixelSize NaturalSize() const;

    private:
        QtWindow* window_;
        const ControlDesign* design_;
        // Exactly one is set; each is owned by the window widget.
        QLineEdit* edit_ = nullptr;
        QRadioButton* option_ = nullptr;
        QLabel* label_ = nullptr;
    };

    void EventFailed(const EventSource& event, const RuntimeError& error) noexcept override;
    void EventCompleted(const EventSource& event) noexcept override;
    // Gives a control what assistive technology needs beyond its caption: its label and, for an
    // option, the group it belongs to.
    void Describe(const Control& control);
    void ShowFailure(std::string_view control, const QString& text);
    void ClearFailures();

    // Places every control for its current caption.
    void LayOut();
    void CaptionChanged(const Control& control);
    void ConnectEvents(Control& control);
    void SetTabOrder();
    Control& Find(std::string_view name, ControlKind kind);

    const WindowDesign& design_;
    EventDelivery delivery_;
    std::unique_ptr<QWidget> window_;
    std::vector<Control> controls_; // sized once; the logic keeps references to its elements
    WindowLayout layout_; // the last one, so a caption change can tell whether it still holds
    struct Mark {
        QPointer<QWidget> widget;
        QString description; // what it said before it was marked
    };
    std::vector<Mark> marked_;
    std::function<void()> beep_;
    bool showing_failure_ = false;
};

} // namespace brindle::platform::qt
