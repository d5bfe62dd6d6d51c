#include "platform/qt/text_box/boundaries.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "platform/qt/text_box/limits.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QInputMethodEvent>
#include <QTextCharFormat>
#include <algorithm>

// An input method composing text into the box, and what it is told of the box.
namespace brindle::platform::qt {

using text_box_limits::kSurroundingReach;
using text_box_limits::ToInt;

void BoundedLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    Guarded([&] {
        // Selections count from the start of the surrounding text the method was last given;
        // the text before it is not what the method replaces.
        const qsizetype surrounding = SurroundingStart();
        const QRect cursor_before = cursorRect();
        qsizetype start = selectionStart();
        qsizetype end = selectionEnd();
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            start = std::clamp<qsizetype>(cursorPosition() + event->replacementStart(), 0,
                                          text().size());
            end = std::clamp<qsizetype>(start + event->replacementLength(), start, text().size());
        }
        // An event that commits, replaces or changes the composition takes the selection's
        // place; one that only sets attributes (or nothing) leaves the text alone.
        const bool input = !event->commitString().isEmpty() || event->replacementLength() > 0 ||
                           event->preeditString() != preedit_;
        if (input && (!event->commitString().isEmpty() || start != end)) {
            Edit(start, end, event->commitString());
        }
        preedit_ = event->preeditString();
        preedit_cursor_ = preedit_.size();
        preedit_formats_.clear();
        cursor_hidden_ = false;
        for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
            if (attribute.type == QInputMethodEvent::Cursor) {
                preedit_cursor_ = std::clamp<qsizetype>(attribute.start, 0, preedit_.size());
                cursor_hidden_ = attribute.length == 0;
            } else if (attribute.type == QInputMethodEvent::TextFormat) {
                const QTextCharFormat format =
                    qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
                if (format.isValid()) {
                    preedit_formats_.append({attribute.start, attribute.length, format});
                }
            } else if (attribute.type == QInputMethodEvent::Selection) {
                setSelection(surrounding + attribute.start,
                             surrounding + attribute.start + attribute.length);
            }
        }
        // The composition is laid out with the text, at the cursor.
        Relayout();
        ScrollToCursor();
        update();
        // The method hears of a moved cursor, and only of that (its edits and selections tell it
        // themselves), as from the line edit (pinned by BoundedLineEdit.ComposesAsTheLineEditDoes).
        if (cursorRect() != cursor_before) {
            updateMicroFocus();
        }
        event->accept();
    });
}

// The surrounding text is a window around the cursor.
qsizetype BoundedLineEdit::SurroundingStart() const {
    return CharacterStart(text(), cursorPosition() - kSurroundingReach);
}

QVariant BoundedLineEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    return GuardedOr(QVariant(), [&]() -> QVariant {
        const qsizetype window_start = SurroundingStart();
        const qsizetype window_end = CharacterStart(text(), cursorPosition() + kSurroundingReach);
        switch (query) {
        case Qt::ImEnabled:
            return isEnabled();
        case Qt::ImCursorRectangle:
            return cursorRect();
        case Qt::ImAnchorRectangle:
            return anchorRect();
        case Qt::ImFont:
            return font();
        case Qt::ImCursorPosition:
            return ToInt(cursorPosition() - window_start);
        case Qt::ImAnchorPosition:
            return ToInt(std::clamp(model_.Anchor(), window_start, window_end) - window_start);
        case Qt::ImSurroundingText:
            return text().mid(window_start, window_end - window_start);
        case Qt::ImTextBeforeCursor:
            return text().mid(window_start, cursorPosition() - window_start);
        case Qt::ImTextAfterCursor:
            return text().mid(cursorPosition(), window_end - cursorPosition());
        case Qt::ImCurrentSelection:
            return selectedText();
        case Qt::ImHints:
            return static_cast<int>(inputMethodHints());
        case Qt::ImReadOnly:
            return false;
        default:
            return QWidget::inputMethodQuery(query);
        }
    });
}

} // namespace brindle::platform::qt
