#include "platform/qt/qt_window.hpp"

#include "platform/error_colour.hpp"
#include "platform/mark_ring.hpp"
#include "platform/qt/qt_icon.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/text_box/accessible.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "platform/qt/title_bar.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace brindle::platform::qt {
namespace {

// A framed label's frame, and the pixels between it and its text on either side, as a Windows
// static keeps them.
constexpr int kFrameWidth = 1;
constexpr int kFramedTextMargin = 2;

// The outer edge of the ring that marks a control.
QRect MarkRing(const QWidget& control) {
    const QRect inner = control.geometry();
    const PixelRect outer = MarkRingAround({inner.x(), inner.y(), inner.width(), inner.height()});
    return {outer.x, outer.y, outer.width, outer.height};
}

Rgb FromQColor(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

// A Wayland compositor may configure a maximised or full-screen size whatever size the window
// asks for (weston does, from its own shortcuts), and it ends the connection of a client that does
// not take that size.
// There the window takes whatever size such a state brings, its controls staying at their places
// from the top left, and goes back to its own size in the normal state.
bool TakesConfiguredSizes() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool SizedByCompositor(const QWidget& window) {
    return (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
}

// What the window itself does beyond its children: lays itself out again when its font changes
// (as when the user picks another desktop font while the program runs), keeps its size where the
// compositor may change it, and paints around its controls.
class WindowEvents final : public QObject {
public:
    WindowEvents(QWidget& window, std::function<void()> relayout, std::function<QSize()> own_size,
                 std::function<void(QPainter&)> paint)
        : QObject(&window), window_(window), relayout_(std::move(relayout)),
          own_size_(std::move(own_size)), paint_(std::move(paint)) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        try {
            if (event->type() == QEvent::FontChange) {
                relayout_();
            } else if (event->type() == QEvent::Paint) {
                QPainter painter(&window_);
                paint_(painter);
            } else if (event->type() == QEvent::Resize ||
                       event->type() == QEvent::WindowStateChange) {
                KeepOwnSize();
            }
        } catch (...) {
            // The old layout or the plain look stays; nothing may unwind into Qt.
        }
        return false;
    }

private:
    // Only where the compositor may size the window; elsewhere its size is fixed outright. Queued,
    // so that the state the compositor configured has been taken before the window answers.
    void KeepOwnSize() {
        if (!TakesConfiguredSizes() || SizedByCompositor(window_) ||
            window_.size() == own_size_()) {
            return;
        }
        QTimer::singleShot(0, &window_, [this] {
            if (!SizedByCompositor(window_)) {
                window_.resize(own_size_());
            }
        });
    }

    QWidget& window_;
    std::function<void()> relayout_;
    std::function<QSize()> own_size_;
    std::function<void(QPainter&)> paint_;
};

QColor ToQColor(Rgb colour) {
    return {colour.red, colour.green, colour.blue};
}

// Where an option's round indicator is drawn, in its window's coordinates.
QRect IndicatorRect(const QRadioButton& option) {
    QStyleOptionButton style_option;
    style_option.initFrom(&option);
    style_option.text = option.text();
    const QRect indicator =
        option.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style_option, &option);
    return indicator.translated(option.pos());
}

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

// A native widget for a control of the design, owned by `parent`.
QWidget* CreateWidget(const ControlDesign& design, QWidget& parent) {
    const QString caption = ToQString(design.caption);
    QWidget* widget = nullptr;
    switch (design.kind) {
    case ControlKind::TextBox: {
        widget = new BoundedLineEdit(caption, &parent);
        break;
    }
    case ControlKind::OptionButton: {
        auto* const option = new QRadioButton(caption, &parent);
        option->setChecked(design.style.selected_at_start);
        widget = option;
        break;
    }
    case ControlKind::Label: {
        auto* const label = new QLabel(caption, &parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(design.style.word_wrap);
        if (design.style.single_border) {
            // The window draws the frame (see PaintAroundControls); the label keeps room for it
            // and, between frame and text, room that stays when a long figure widens the label.
            label->setMargin(kFrameWidth + kFramedTextMargin);
        }
        label->setAlignment(design.style.centred ? Qt::AlignCenter
                                                 : Qt::AlignLeft | Qt::AlignVCenter);
        label->setFocusPolicy(Qt::NoFocus);
        widget = label;
        break;
    }
    }
    widget->setObjectName(ToQString(design.name));
    if (!design.accessible_name.empty()) {
        widget->setAccessibleName(ToQString(design.accessible_name));
    }
    return widget;
}

} // namespace

QtWindow::QtWindow(const WindowDesign& design, std::span<const IndexedImage> icon)
    : WindowCore(design), window_(std::make_unique<QWidget>()), beep_(&QApplication::beep) {
    QAccessible::installFactory(&WindowAccessible);
    QAccessible::installFactory(&BoundedLineEditAccessible);
    QAccessible::installFactory(&AnnouncerAccessible);
    window_->setObjectName(ToQString(design.name));
    window_->setWindowTitle(ToQString(design.caption));
    // A title bar's buttons ask for one drawn by the compositor or the toolkit, so a window with a
    // title bar of its own asks for none.
    const bool own_title_bar = NeedsOwnTitleBar();
    window_->setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint |
                            (own_title_bar ? Qt::FramelessWindowHint
                                           : Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                 Qt::WindowCloseButtonHint));
    if (own_title_bar) {
        title_bar_ = new TitleBar(*window_);
    }
    if (!icon.empty()) {
        window_->setWindowIcon(ToQIcon(icon));
    }

    // All options of the window form one exclusive group, as they share it as their container.
    auto* const options = new QButtonGroup(window_.get());
    widgets_.reserve(design.controls.size());
    for (std::size_t index = 0; index < design.controls.size(); ++index) {
        QWidget* const widget = CreateWidget(design.controls[index], *window_);
        widgets_.push_back(widget);
        if (auto* const box = qobject_cast<BoundedLineEdit*>(widget)) {
            QObject::connect(box, &BoundedLineEdit::textChanged, box,
                             [this, index] { Changed(index); });
        } else if (auto* const option = qobject_cast<QRadioButton*>(widget)) {
            options->addButton(option);
            // Selecting an option by mouse, keyboard or assistive technology all check it; the
            // option that is unchecked in turn raises nothing.
            QObject::connect(option, &QRadioButton::toggled, option, [this, index](bool checked) {
                if (checked) {
                    Clicked(index);
                }
            });
        }
    }
    for (std::size_t index = 0; index < design.controls.size(); ++index) {
        Describe(index);
    }
    SetTabOrder();
    announcer_ = new Announcer(*window_);
    Open(*this);
    new WindowEvents(
        *window_, [this] { LayOut(); }, [this] { return own_size_; },
        [this](QPainter& painter) { PaintAroundControls(painter); });
}

QtWindow::~QtWindow() {
    // The logic may already be gone; nothing the widgets do while they are destroyed reaches it.
    Detach();
}

QWidget* QtWindow::Widget(std::string_view name) const noexcept {
    const std::optional<std::size_t> index = Design().IndexOf(name);
    return index ? widgets_[*index] : nullptr;
}

TwipsScale QtWindow::Scale() const {
    return TwipsScale(QFontMetrics(window_->font()).height());
}

void QtWindow::Describe(std::size_t index) {
    const ControlDesign& design = Design().controls[index];
    if (!design.caption_for.empty()) {
        // The buddy is what assistive technology reads as the captioned control's label; with no
        // '&' in the caption it adds no keyboard shortcut. A screen reader prefers that label to
        // the control's own name, so a caption that says less than the name ("Days at:" beside
        // "Days at archive quality") is left unrelated.
        const ControlDesign& captioned = Design().controls[*Design().IndexOf(design.caption_for)];
        if (captioned.accessible_name.empty() || captioned.accessible_name == design.caption) {
            qobject_cast<QLabel*>(widgets_[index])->setBuddy(Widget(design.caption_for));
        }
    }
    widgets_[index]->setAccessibleDescription(OwnDescription(index));
}

QString QtWindow::OwnDescription(std::optional<std::size_t> target) const {
    return target ? GroupDescription(Design(), Design().controls[*target]) : QString();
}

void QtWindow::SetTabOrder() {
    std::vector<std::size_t> focusable = Design().TabOrder();
    std::erase_if(focusable, [&](std::size_t index) {
        return Design().controls[index].kind == ControlKind::Label;
    });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(widgets_[focusable[i - 1]], widgets_[focusable[i]]);
    }
}

std::string QtWindow::ReadText(std::size_t box) const {
    return FromQString(qobject_cast<BoundedLineEdit*>(widgets_[box])->text());
}

void QtWindow::WriteText(std::size_t box, std::string_view text) {
    qobject_cast<BoundedLineEdit*>(widgets_[box])->setText(ToQString(text));
}

bool QtWindow::ReadValue(std::size_t option) const {
    return qobject_cast<QRadioButton*>(widgets_[option])->isChecked();
}

void QtWindow::WriteCaption(std::size_t label, std::string_view caption) {
    qobject_cast<QLabel*>(widgets_[label])->setText(ToQString(caption));
}

// A widget's size hint is what its caption needs in its font, frame and indicator included.
PixelSize QtWindow::Natural(std::size_t control) const {
    const QSize hint = widgets_[control]->sizeHint();
    return {hint.width(), hint.height()};
}

int QtWindow::WrappedHeight(std::size_t control, int width) const {
    return widgets_[control]->heightForWidth(width);
}

int QtWindow::ClientTop() const {
    return title_bar_ != nullptr ? title_bar_->Height() : 0;
}

void QtWindow::Place(std::size_t control, const PixelRect& rect) {
    widgets_[control]->setGeometry(rect.x, rect.y + ClientTop(), rect.width, rect.height);
}

void QtWindow::SetClientSize(PixelSize client) {
    own_size_ = QSize(client.width, client.height + ClientTop());
    if (!TakesConfiguredSizes()) {
        if (window_->size() != own_size_) {
            window_->setFixedSize(own_size_);
        }
        return;
    }
    window_->setMinimumSize(own_size_);
    window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (!SizedByCompositor(*window_)) {
        window_->resize(own_size_);
    }
}

// A greyed figure must still be read: the theme's disabled text where it stands out enough
// against the window, and otherwise the quietest grey that does (many themes grey text out to
// 1.6:1, and a black high-contrast one to nothing at all). A framed figure's frame takes the same
// colour.
void QtWindow::SetEnabled(std::size_t control, bool enabled) {
    QWidget& widget = *widgets_[control];
    if (!enabled && qobject_cast<QLabel*>(&widget) != nullptr) {
        QPalette palette = widget.palette();
        const Rgb window = FromQColor(palette.color(QPalette::Window));
        const Rgb greyed = FromQColor(palette.color(QPalette::Disabled, QPalette::WindowText));
        if (ContrastRatio(greyed, window) < kGreyedTextContrast) {
            palette.setColor(
                QPalette::Disabled, QPalette::WindowText,
                ToQColor(Subdued(FromQColor(palette.color(QPalette::Active, QPalette::WindowText)),
                                 window, {window}, kGreyedTextContrast)));
            widget.setPalette(palette);
        }
    }
    widget.setEnabled(enabled);
}

void QtWindow::Annotate(std::size_t control, std::string_view note) {
    widgets_[control]->setAccessibleDescription(note.empty() ? OwnDescription(control)
                                                             : ToQString(note));
}

void QtWindow::Announce(std::string_view text, Announcement when) {
    if (when == Announcement::Now) {
        announcer_->SayNow(ToQString(text));
    } else {
        announcer_->SayAfterPause(ToQString(text));
    }
}

void QtWindow::ShowMark(std::optional<std::size_t> target, std::string_view why) {
    QWidget& marked = target ? *widgets_[*target] : *window_;
    const QString text = ToQString(why);
    marked.setToolTip(text);
    marked.setAccessibleDescription(why.empty() ? OwnDescription(target) : text);
    if (target) {
        window_->update(MarkRing(marked));
    }
}

namespace {

// The device pixels a widget's logical rectangle covers at a fractional scale, as the backing
// store rounds them.
QRect DevicePixels(const QRect& logical, qreal scale) {
    const auto at = [&](int value) { return qRound(value * scale); };
    return {QPoint(at(logical.left()), at(logical.top())),
            QPoint(at(logical.right() + 1) - 1, at(logical.bottom() + 1) - 1)};
}

// A band `width` device pixels deep along the inside of `area`'s edges.
void FillBand(QPainter& painter, const QRect& area, int width, const QColor& colour) {
    painter.fillRect(QRect(area.left(), area.top(), area.width(), width), colour);
    painter.fillRect(QRect(area.left(), area.bottom() - width + 1, area.width(), width), colour);
    painter.fillRect(QRect(area.left(), area.top(), width, area.height()), colour);
    painter.fillRect(QRect(area.right() - width + 1, area.top(), width, area.height()), colour);
}

} // namespace

// Frames and outlines are drawn by the window, in whole device pixels:
// - A one-pixel line drawn by a widget at a fractional scale (1.25, 1.75) can fall where the
//   backing store rounds the widget's edge away; a framed figure lost its bottom line that way.
// - A style's own outlines of text fields and option indicators are often too faint to find:
//   Fusion draws them a shade darker than the window, which in a black high-contrast theme is
//   black. The window draws a line just outside each of them, in a grey that stands out at 3:1
//   against the window and the fields.
// - The rings of marked controls go over those.
void QtWindow::PaintAroundControls(QPainter& painter) const {
    const QPalette& palette = window_->palette();
    const Rgb window = FromQColor(palette.color(QPalette::Window));
    const Rgb base = FromQColor(palette.color(QPalette::Base));
    const QColor outline =
        ToQColor(Subdued(FromQColor(palette.color(QPalette::WindowText)), window, {window, base}));

    const qreal scale = window_->devicePixelRatioF();
    const int line = std::max(1, qRound(scale));
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / scale, 1 / scale));
    for (std::size_t index = 0; index < widgets_.size(); ++index) {
        const QWidget& widget = *widgets_[index];
        const QRect device = DevicePixels(widget.geometry(), scale);
        if (Design().controls[index].style.single_border) {
            FillBand(
                painter, device, line * kFrameWidth,
                widget.palette().color(widget.isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        } else if (qobject_cast<const BoundedLineEdit*>(&widget) != nullptr) {
            FillBand(painter, device.adjusted(-line, -line, line, line), line, outline);
        }
    }
    painter.restore();

    painter.save();
    painter.setPen(QPen(outline, 1));
    painter.setBrush(Qt::NoBrush);
    for (const QWidget* const widget : widgets_) {
        if (const auto* const option = qobject_cast<const QRadioButton*>(widget)) {
            painter.drawEllipse(IndicatorRect(*option).adjusted(-1, -1, 0, 0));
        }
    }
    painter.restore();

    const QColor ring = ToQColor(ErrorColour(window, base));
    for (std::size_t index = 0; index < widgets_.size(); ++index) {
        if (MarkOf(index).empty()) {
            continue;
        }
        const QWidget& widget = *widgets_[index];
        const QRect outer = MarkRing(widget);
        QRegion area(outer);
        area -= QRegion(widget.geometry());
        painter.setClipRegion(area);
        painter.fillRect(outer, ring);
    }
}

void QtWindow::Beep() {
    beep_();
}

} // namespace brindle::platform::qt
