#include "platform/qt/qt_window.hpp"

#include "platform/error_colour.hpp"
#include "platform/error_report.hpp"
#include "platform/layout.hpp"
#include "platform/qt/qt_icon.hpp"
#include "platform/qt/qt_text.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>

namespace brindle::platform::qt {
namespace {

// The ring that marks a failed event's control lies just outside the control, painted by the
// window, so that the control keeps its own frame, padding and text exactly where they were.
constexpr int kMarkWidth = 2;
// Pixels between a framed label's frame and its text on either side, as a Windows static keeps.
constexpr int kFramedTextMargin = 2;

QRect MarkRing(const QWidget& control) {
    return control.geometry().adjusted(-kMarkWidth, -kMarkWidth, kMarkWidth, kMarkWidth);
}

Rgb FromQColor(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

// What the window itself does beyond its children: lays itself out again when its font changes
// (as when the user picks another desktop font while the program runs), and paints the rings of
// the marked controls.
class WindowEvents final : public QObject {
public:
    WindowEvents(QWidget& window, std::function<void()> relayout,
                 std::function<std::vector<QRect>()> rings)
        : QObject(&window), relayout_(std::move(relayout)), rings_(std::move(rings)) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        try {
            if (event->type() == QEvent::FontChange) {
                relayout_();
            } else if (event->type() == QEvent::Paint) {
                PaintRings(*static_cast<QWidget*>(watched));
            }
        } catch (...) {
            // The old layout or the unmarked look stays; nothing may unwind into Qt.
        }
        return false;
    }

private:
    void PaintRings(QWidget& window) const {
        const std::vector<QRect> rings = rings_();
        if (rings.empty()) {
            return;
        }
        const QPalette& palette = window.palette();
        const Rgb colour = ErrorColour(FromQColor(palette.color(QPalette::Window)),
                                       FromQColor(palette.color(QPalette::Base)));
        QPainter painter(&window);
        for (const QRect& ring : rings) {
            QRegion area(ring);
            area -= QRegion(ring.adjusted(kMarkWidth, kMarkWidth, -kMarkWidth, -kMarkWidth));
            painter.setClipRegion(area);
            painter.fillRect(ring, QColor(colour.red, colour.green, colour.blue));
        }
    }

    std::function<void()> relayout_;
    std::function<std::vector<QRect>()> rings_;
};

// Qt presents a plain widget as a client area ("filler" to a screen reader) even when it is a
// top-level window; ours is a window, named by its title.
QAccessibleInterface* WindowAccessible(const QString& class_name, QObject* object) {
    auto* const widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && widget->isWindow() && class_name == QLatin1String("QWidget")) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

// Each option is announced as one of the window's group of choices, as in "Archive quality, 2 of
// 4": Qt has no relation for group membership.
QString GroupDescription(const WindowDesign& design, const ControlDesign& option) {
    if (design.option_group.empty() || option.kind != ControlKind::OptionButton) {
        return {};
    }
    int position = 0;
    int count = 0;
    for (const ControlDesign& control : design.controls) {
        if (control.kind == ControlKind::OptionButton) {
            ++count;
            if (&control == &option) {
                position = count;
            }
        }
    }
    return QStringLiteral("%1, %2 of %3")
        .arg(ToQString(design.option_group))
        .arg(position)
        .arg(count);
}

} // namespace

QtWindow::Control::Control(QtWindow& window, const ControlDesign& design, QWidget& parent)
    : window_(&window), design_(&design) {
    const QString caption = ToQString(design.caption);
    switch (design.kind) {
    case ControlKind::TextBox:
        edit_ = new QLineEdit(caption, &parent);
        // Any length of text, as a day box must accept whatever is typed or pasted.
        edit_->setMaxLength(std::numeric_limits<int>::max());
        break;
    case ControlKind::OptionButton:
        option_ = new QRadioButton(caption, &parent);
        option_->setChecked(design.style.selected_at_start);
        break;
    case ControlKind::Label:
        label_ = new QLabel(caption, &parent);
        label_->setTextFormat(Qt::PlainText);
        label_->setWordWrap(design.style.word_wrap);
        if (design.style.single_border) {
            label_->setFrameStyle(QFrame::Box | QFrame::Plain);
            label_->setLineWidth(1);
            // Room between the frame and the text, kept when a long figure widens the label.
            label_->setMargin(kFramedTextMargin);
        }
        label_->setAlignment(design.style.centred ? Qt::AlignCenter
                                                  : Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    Widget()->setObjectName(ToQString(design.name));
    if (!design.accessible_name.empty()) {
        Widget()->setAccessibleName(ToQString(design.accessible_name));
    }
}

QWidget* QtWindow::Control::Widget() const noexcept {
    if (edit_ != nullptr) {
        return edit_;
    }
    if (option_ != nullptr) {
        return option_;
    }
    return label_;
}

std::string QtWindow::Control::Text() const {
    return FromQString(edit_->text());
}

void QtWindow::Control::SetText(std::string_view text) {
    const QString qtext = ToQString(text);
    window_->delivery_.CallThrough([&] { edit_->setText(qtext); });
}

bool QtWindow::Control::Value() const {
    return option_->isChecked();
}

void QtWindow::Control::SetCaption(std::string_view caption) {
    label_->setText(ToQString(caption));
    window_->CaptionChanged(*this);
}

QtWindow::QtWindow(const WindowDesign& design, std::span<const IndexedImage> icon)
    : design_(design), delivery_(*this), window_(std::make_unique<QWidget>()),
      beep_(&QApplication::beep) {
    QAccessible::installFactory(&WindowAccessible);
    window_->setObjectName(ToQString(design.name));
    window_->setWindowTitle(ToQString(design.caption));
    window_->setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint |
                            Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
    if (!icon.empty()) {
        window_->setWindowIcon(ToQIcon(icon));
    }

    // All options of the window form one exclusive group, as they share it as their container.
    auto* const options = new QButtonGroup(window_.get());
    controls_.reserve(design.controls.size());
    for (const ControlDesign& control : design.controls) {
        Control& created = controls_.emplace_back(*this, control, *window_);
        if (control.kind == ControlKind::OptionButton) {
            options->addButton(qobject_cast<QAbstractButton*>(created.Widget()));
        }
        ConnectEvents(created);
    }
    for (const Control& control : controls_) {
        Describe(control);
    }
    SetTabOrder();
    LayOut();
    new WindowEvents(
        *window_, [this] { LayOut(); },
        [this] {
            std::vector<QRect> rings;
            for (const Mark& mark : marked_) {
                if (!mark.widget.isNull() && mark.widget != window_.get()) {
                    rings.push_back(MarkRing(*mark.widget));
                }
            }
            return rings;
        });
}

QtWindow::~QtWindow() {
    // The logic may already be gone; nothing the widgets do while they are destroyed reaches it.
    delivery_.Detach();
}

void QtWindow::Load() {
    delivery_.Raise({design_.name, EventKind::Load});
}

QWidget* QtWindow::Widget(std::string_view name) const noexcept {
    const std::optional<std::size_t> index = design_.IndexOf(name);
    return index ? controls_[*index].Widget() : nullptr;
}

TwipsScale QtWindow::Scale() const {
    return TwipsScale(QFontMetrics(window_->font()).height());
}

TextBox& QtWindow::TextBoxNamed(std::string_view name) {
    return Find(name, ControlKind::TextBox);
}

OptionButton& QtWindow::OptionButtonNamed(std::string_view name) {
    return Find(name, ControlKind::OptionButton);
}

Label& QtWindow::LabelNamed(std::string_view name) {
    return Find(name, ControlKind::Label);
}

void QtWindow::EventFailed(const EventSource& event, const RuntimeError& error) noexcept {
    try {
        ShowFailure(event.control, ToQString(ErrorReportText(error)));
    } catch (...) {
        // Nothing more can be shown; the window itself is unchanged and goes on working.
    }
}

void QtWindow::EventCompleted(const EventSource& /*event*/) noexcept {
    if (showing_failure_) {
        ClearFailures();
    }
}

void QtWindow::Describe(const Control& control) {
    const ControlDesign& design = control.Design();
    if (!design.caption_for.empty()) {
        // The buddy is what assistive technology reads as the captioned control's label; with no
        // '&' in the caption it adds no keyboard shortcut.
        qobject_cast<QLabel*>(control.Widget())->setBuddy(Widget(design.caption_for));
    }
    control.Widget()->setAccessibleDescription(GroupDescription(design_, design));
}

void QtWindow::ShowFailure(std::string_view control, const QString& text) {
    showing_failure_ = true;
    beep_();
    for (const Control& each : controls_) {
        if (each.Design().style.shows_result) {
            each.Widget()->setEnabled(false);
        }
    }
    // A failed load event has no control of its own; the window itself carries the message.
    const std::optional<std::size_t> source = design_.IndexOf(control);
    QWidget* const marked = source ? controls_[*source].Widget() : window_.get();
    if (source) {
        window_->update(MarkRing(*marked));
    }
    marked->setToolTip(text);
    marked_.push_back({marked, marked->accessibleDescription()});
    marked->setAccessibleDescription(text);
}

void QtWindow::ClearFailures() {
    showing_failure_ = false;
    for (const Control& each : controls_) {
        if (each.Design().style.shows_result) {
            each.Widget()->setEnabled(true);
        }
    }
    // Newest first, so that a control marked twice ends with what it said before the first mark.
    for (; !marked_.empty(); marked_.pop_back()) {
        const auto& [marked, description] = marked_.back();
        if (!marked.isNull()) {
            if (marked != window_.get()) {
                window_->update(MarkRing(*marked));
            }
            marked->setToolTip({});
            marked->setAccessibleDescription(description);
        }
    }
}

// A widget's size hint is what its caption needs in its font, frame and indicator included.
PixelSize QtWindow::Control::NaturalSize() const {
    const QSize hint = Widget()->sizeHint();
    return {hint.width(), hint.height()};
}

void QtWindow::LayOut() {
    class WidgetMeasure final : public CaptionMeasure {
    public:
        explicit WidgetMeasure(const std::vector<Control>& controls) : controls_(controls) {}
        [[nodiscard]] PixelSize Natural(std::size_t control) const override {
            return controls_[control].NaturalSize();
        }
        [[nodiscard]] int WrappedHeight(std::size_t control, int width) const override {
            return controls_[control].Widget()->heightForWidth(width);
        }

    private:
        const std::vector<Control>& controls_;
    };

    layout_ = LayOutWindow(design_, Scale(), WidgetMeasure(controls_));
    if (const QSize client(layout_.client.width, layout_.client.height);
        window_->size() != client) {
        window_->setFixedSize(client);
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const PixelRect& rect = layout_.controls[i];
        controls_[i].Widget()->setGeometry(rect.x, rect.y, rect.width, rect.height);
    }
}

void QtWindow::CaptionChanged(const Control& control) {
    const auto index = static_cast<std::size_t>(&control - controls_.data());
    if (!LayoutStillHolds(layout_, design_, index, control.NaturalSize())) {
        LayOut();
    }
}

void QtWindow::ConnectEvents(Control& control) {
    const EventSource change{control.Design().name, EventKind::Change};
    const EventSource click{control.Design().name, EventKind::Click};
    QWidget* const widget = control.Widget();
    if (auto* const edit = qobject_cast<QLineEdit*>(widget)) {
        // textChanged comes with every change, typed or set, and only with a change.
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [this, change] { delivery_.Raise(change); });
    } else if (auto* const option = qobject_cast<QRadioButton*>(widget)) {
        // Selecting an option by mouse, keyboard or assistive technology all check it; the
        // option that is unchecked in turn raises nothing.
        QObject::connect(option, &QRadioButton::toggled, option, [this, click](bool checked) {
            if (checked) {
                delivery_.Raise(click);
            }
        });
    } else {
        widget->setFocusPolicy(Qt::NoFocus);
    }
}

void QtWindow::SetTabOrder() {
    std::vector<const Control*> focusable;
    for (const Control& control : controls_) {
        if (control.Design().kind != ControlKind::Label) {
            focusable.push_back(&control);
        }
    }
    std::sort(focusable.begin(), focusable.end(), [](const Control* a, const Control* b) {
        return a->Design().tab_index < b->Design().tab_index;
    });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(focusable[i - 1]->Widget(), focusable[i]->Widget());
    }
}

QtWindow::Control& QtWindow::Find(std::string_view name, ControlKind kind) {
    return controls_[design_.IndexOf(name, kind)];
}

} // namespace brindle::platform::qt
