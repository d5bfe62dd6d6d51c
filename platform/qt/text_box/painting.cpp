#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "platform/qt/text_box/limits.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

// How a text box paints itself and blinks its cursor.
namespace brindle::platform::qt {

using text_box_limits::ToInt;

void BoundedLineEdit::paintEvent(QPaintEvent* /*event*/) {
    Guarded([&] {
        QPainter painter(this);
        QStyleOptionFrame panel;
        InitFrameOption(panel);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
        painter.setClipRect(contents);

        const Shown& shown = Layout();
        QList<QTextLayout::FormatRange> selections;
        const qsizetype from = std::max(selectionStart(), shown.start);
        const qsizetype to = std::min(selectionEnd(), shown.start + shown.length);
        if (hasSelectedText() && from < to) {
            QTextLayout::FormatRange selection;
            selection.start = LayoutIndex(shown, from);
            selection.length = LayoutIndex(shown, to) - selection.start;
            selection.format.setBackground(palette().brush(QPalette::Highlight));
            selection.format.setForeground(palette().brush(QPalette::HighlightedText));
            selections.append(selection);
        }
        painter.setPen(palette().color(QPalette::Text));
        const QPointF origin = TextOrigin(shown);
        shown.layout->draw(&painter, origin, selections, contents);
        if (cursor_shown_ && !cursor_hidden_ && cursorPosition() >= shown.start &&
            cursorPosition() <= shown.start + shown.length) {
            shown.layout->drawCursor(
                &painter, origin, LayoutIndex(shown, cursorPosition()) + ToInt(preedit_cursor_),
                style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
        }
    });
}

void BoundedLineEdit::RestartBlinking() {
    cursor_shown_ = hasFocus();
    const int flash = QApplication::cursorFlashTime();
    if (cursor_shown_ && flash >= 2) {
        blink_.start(flash / 2, this);
    } else {
        blink_.stop();
    }
}

void BoundedLineEdit::StopBlinking() {
    cursor_shown_ = false;
    blink_.stop();
}

// Only the cursor's few pixels are painted again, from the text as it is already laid out.
void BoundedLineEdit::Blink() {
    cursor_shown_ = !cursor_shown_;
    update(cursorRect());
}

} // namespace brindle::platform::qt
