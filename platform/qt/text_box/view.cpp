#include "platform/qt/text_box/boundaries.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "platform/qt/text_box/limits.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <algorithm>
#include <climits>

// How a text box lays out its text, measures and scrolls it, and finds where things are in it.
namespace brindle::platform::qt {

using text_box_limits::kCleanCutReach;
using text_box_limits::kShownLimit;
using text_box_limits::kShownMargin;
using text_box_limits::ToInt;

namespace {

// Between the style's contents rectangle and the text, as the toolkit's line edit keeps it
// (pinned, with all of the box's looks, by BoundedLineEdit.LooksAndMeasuresAsTheLineEditDoes).
constexpr int kHorizontalMargin = 2;

// Control characters drawn as spaces, as a line edit draws them, so that a pasted line break
// neither breaks the line nor vanishes.
QString Displayed(QStringView text) {
    QString shown = text.toString();
    for (QChar& c : shown) {
        if ((c.unicode() < 0x20 && c != QChar::Tabulation) || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter) {
            c = QChar::Space;
        }
    }
    return shown;
}

} // namespace

void BoundedLineEdit::InitFrameOption(QStyleOptionFrame& option) const {
    option.initFrom(this);
    option.rect = contentsRect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
}

QRect BoundedLineEdit::ContentsArea() const {
    QStyleOptionFrame option;
    InitFrameOption(option);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
}

QRect BoundedLineEdit::TextArea() const {
    const QRect contents = ContentsArea();
    const int line = fontMetrics().height();
    const int top = contents.y() + (contents.height() - line + 1) / 2;
    return {contents.x() + kHorizontalMargin, top, contents.width() - 2 * kHorizontalMargin, line};
}

QSize BoundedLineEdit::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    const int height = std::max(metrics.height(), std::max(14, icon - 2)) + 2;
    const int width = metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * kHorizontalMargin;
    QStyleOptionFrame option;
    InitFrameOption(option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

QSize BoundedLineEdit::minimumSizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int height = metrics.height() + 2;
    const int width = metrics.maxWidth() + 2 * kHorizontalMargin;
    QStyleOptionFrame option;
    InitFrameOption(option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

// The laid-out run starts and ends where cutting the text changes nothing in how the run is laid
// out: with a letter of the text's direction. Mixed text looks the same in a long text as in a
// short one, and the cursor does not jump as the run moves (pinned by
// BoundedLineEdit.ReadsRightToLeftAsTheLineEditDoes).
qsizetype BoundedLineEdit::RunCut(qsizetype position) const {
    return CleanCut(text(), position, RightToLeft(), kCleanCutReach);
}

const BoundedLineEdit::Shown& BoundedLineEdit::Layout() const {
    if (shown_ && shown_->start == layout_start_) {
        return *shown_;
    }
    shown_.reset();
    Shown shown;
    const qsizetype start = layout_start_;
    shown.start = start;
    shown.length = RunCut(start + kShownLimit) - start;
    shown.layout = std::make_unique<QTextLayout>(
        Displayed(QStringView(text()).mid(start, shown.length)), font());
    QTextOption option;
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setTextDirection(RightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    shown.layout->setTextOption(option);
    if (!preedit_.isEmpty() && cursorPosition() >= start &&
        cursorPosition() <= start + shown.length) {
        shown.layout->setPreeditArea(ToInt(cursorPosition() - start), preedit_);
        QList<QTextLayout::FormatRange> formats = preedit_formats_;
        for (QTextLayout::FormatRange& format : formats) {
            format.start += ToInt(cursorPosition() - start);
        }
        shown.layout->setFormats(formats);
    }
    shown.layout->beginLayout();
    shown.layout->createLine();
    shown.layout->endLayout();
    return shown_.emplace(std::move(shown));
}

int BoundedLineEdit::LayoutIndex(const Shown& shown, qsizetype position) const {
    qsizetype index = std::clamp<qsizetype>(position - shown.start, 0, shown.length);
    if (!preedit_.isEmpty() && position > cursorPosition()) {
        index += preedit_.size();
    }
    return ToInt(index);
}

QPointF BoundedLineEdit::TextOrigin(const Shown& shown) const {
    const QRect area = TextArea();
    const QTextLine line = shown.layout->lineAt(0);
    // A fallback font with a taller ascent still puts the baseline where the box's font has it.
    return {static_cast<qreal>(area.left() - hscroll_),
            static_cast<qreal>(area.top() - (qRound(line.ascent()) - fontMetrics().ascent()))};
}

int BoundedLineEdit::CursorX(const Shown& shown) const {
    const int index = LayoutIndex(shown, cursorPosition()) + ToInt(preedit_cursor_);
    return qRound(shown.layout->lineAt(0).cursorToX(index));
}

void BoundedLineEdit::KeepCursorInLayout() {
    const bool near_start = layout_start_ > 0 && cursorPosition() < layout_start_ + kShownMargin;
    const bool near_end = layout_start_ + kShownLimit < text().size() &&
                          cursorPosition() > layout_start_ + kShownLimit - kShownMargin;
    if (!near_start && !near_end) {
        return;
    }
    const qsizetype start = RunCut(cursorPosition() - kShownLimit / 2);
    const qsizetype low = std::min(start, layout_start_);
    const qsizetype high = std::max(start, layout_start_);
    // The scroll carries over into the new run's coordinates, through a character both runs lay
    // out: the later run's first, wherever the text's direction puts it.
    const auto x_of_high = [&] {
        const Shown& run = Layout();
        return qRound(run.layout->lineAt(0).cursorToX(ToInt(high - run.start)));
    };
    if (high - low < kShownLimit) {
        const int before = x_of_high();
        layout_start_ = start;
        hscroll_ += x_of_high() - before;
    } else {
        // The cursor went far: the view is left behind on the side it came from, and scrolling
        // brings the cursor in from that side.
        hscroll_ = (start > layout_start_) != RightToLeft() ? INT_MIN / 8 : INT_MAX / 8;
        layout_start_ = start;
    }
}

// Scrolls exactly as the toolkit's line edit does, so that a box looks the same whatever it
// holds: the whole text from the left when it fits (from the right when it reads right to left);
// otherwise just enough to bring the cursor into view, and never leaving room at the right that
// the text's end could fill (pinned by BoundedLineEdit.ScrollsAsTheLineEditDoes and by every
// comparison, which checks where the cursor is drawn). Positions count from the laid-out run's
// start rather than from the text's, so that only about a box's width of text is ever measured; for
// any text shorter than that run the two are the same.
void BoundedLineEdit::ScrollToCursor() {
    KeepCursorInLayout();
    const int width = TextArea().width();
    const Shown& shown = Layout();
    const int cursor_x = CursorX(shown);
    // The cursor's pixel after the text counts as part of it; a text whose end is not laid out
    // reaches beyond any box.
    const int width_used = shown.start + shown.length == text().size()
                               ? qRound(shown.layout->lineAt(0).naturalTextWidth()) + 1
                               : INT_MAX / 4;
    // The line edit applies one of these rules each time it paints, so that after some edits its
    // view moves again at the next paint (a scroll back to the cursor, then a scroll that takes up
    // the room left at the right). The box applies them until they agree, going straight to
    // where the line edit settles (pinned by
    // BoundedLineEdit.AnswersEveryEditingKeyAsTheLineEditDoes).
    for (int pass = 0; pass < 4; ++pass) {
        const int before = hscroll_;
        if (layout_start_ == 0 && width_used <= width) {
            hscroll_ = RightToLeft() ? width_used - width + 1 : 0;
        } else if (cursor_x - hscroll_ >= width) {
            hscroll_ = cursor_x - width + 1;
        } else if (cursor_x - hscroll_ < 0 && hscroll_ < width_used) {
            hscroll_ = cursor_x;
        } else if (width_used - hscroll_ < width) {
            hscroll_ = width_used - width + 1;
        } else if (layout_start_ == 0) {
            hscroll_ = std::max(0, hscroll_);
        }
        if (hscroll_ == before) {
            break;
        }
    }
}

// A cursor's rectangle at `x`, as the line edit reports it to input methods and assistive
// technology: a few pixels either side of the cursor and one below the line, which also covers
// any style's cursor when it is painted again through this rectangle (pinned by
// BoundedLineEdit.ComposesAsTheLineEditDoes).
QRect BoundedLineEdit::CaretBox(qreal x) const {
    const QRect area = TextArea();
    const int width = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    return {static_cast<int>(x) - 5, area.top(), width + 9, area.height() + 1};
}

QRect BoundedLineEdit::cursorRect() const {
    const Shown& shown = Layout();
    if (cursorPosition() < shown.start || cursorPosition() > shown.start + shown.length) {
        return {};
    }
    return CaretBox(TextOrigin(shown).x() + CursorX(shown));
}

// Where the other end of the selection is, for an input method that places its window by both.
QRect BoundedLineEdit::anchorRect() const {
    if (model_.Anchor() == cursorPosition()) {
        return cursorRect();
    }
    const Shown& shown = Layout();
    if (model_.Anchor() < shown.start || model_.Anchor() > shown.start + shown.length) {
        return {};
    }
    return CaretBox(TextOrigin(shown).x() +
                    shown.layout->lineAt(0).cursorToX(LayoutIndex(shown, model_.Anchor())));
}

QRect BoundedLineEdit::characterRect(qsizetype position) const {
    // A screen reader asks this of every offset in turn: those far from the laid-out run are
    // answered without laying anything out.
    if (position < layout_start_ || position >= layout_start_ + kShownLimit) {
        return {};
    }
    const Shown& shown = Layout();
    if (position < shown.start || position >= shown.start + shown.length) {
        return {};
    }
    const QTextLine line = shown.layout->lineAt(0);
    const qreal origin = TextOrigin(shown).x();
    const qreal left = origin + line.cursorToX(LayoutIndex(shown, position));
    const qreal right =
        origin + line.cursorToX(LayoutIndex(shown, NextCharacter(text(), position)));
    const QRect area = TextArea();
    const QRect rect(QPoint(static_cast<int>(std::min(left, right)), area.top()),
                     QPoint(static_cast<int>(std::max(left, right)) - 1, area.bottom()));
    return rect.intersects(ContentsArea()) ? rect : QRect();
}

qsizetype BoundedLineEdit::positionAt(QPoint point) const {
    const Shown& shown = Layout();
    const qreal x = point.x() - TextOrigin(shown).x();
    qsizetype index = shown.layout->lineAt(0).xToCursor(x, QTextLine::CursorBetweenCharacters);
    if (!preedit_.isEmpty() && shown.start + index > cursorPosition()) {
        index = std::max(cursorPosition() - shown.start, index - preedit_.size());
    }
    return shown.start + std::clamp<qsizetype>(index, 0, shown.length);
}

void BoundedLineEdit::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange:
        // The text is laid out in the font: again, and scrolled again to the cursor.
        Relayout();
        Guarded([&] { ScrollToCursor(); });
        [[fallthrough]];
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::ActivationChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void BoundedLineEdit::resizeEvent(QResizeEvent* event) {
    Guarded([&] { ScrollToCursor(); });
    QWidget::resizeEvent(event);
}

} // namespace brindle::platform::qt
