#include "platform/qt/text_box/bounded_line_edit.hpp"

#include "platform/qt/text_box/boundaries.hpp"
#include "platform/qt/text_box/limits.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QTimerEvent>
#include <algorithm>

// The text box's public operations, each a change of its model, and the one place every change
// is shown.
namespace brindle::platform::qt {

using text_box_limits::ToInt;

namespace {

void Announce(QAccessibleEvent&& event) {
    QAccessible::updateAccessibility(&event);
}

} // namespace

BoundedLineEdit::BoundedLineEdit(const QString& text, QWidget* parent)
    : QWidget(parent), model_(text) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression);
    setAttribute(Qt::WA_MacShowFocusRect);
    setBackgroundRole(QPalette::Base);
    setCursor(Qt::IBeamCursor);
    setAcceptDrops(true);
    setSizePolicy(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::LineEdit));
    ScrollToCursor();
}

void BoundedLineEdit::setText(const QString& text) {
    Show(model_.SetText(text));
}

void BoundedLineEdit::setCursorPosition(qsizetype position) {
    MoveCursor(position, Move::Keep);
}

void BoundedLineEdit::setSelection(qsizetype start, qsizetype end) {
    Show(model_.Select(start, end));
}

void BoundedLineEdit::selectAll() {
    Show(model_.SelectAll());
}

void BoundedLineEdit::deselect() {
    MoveCursor(cursorPosition(), Move::Keep);
}

void BoundedLineEdit::end(bool mark) {
    MoveCursor(text().size(), mark ? Move::Select : Move::Keep);
}

void BoundedLineEdit::insert(const QString& text) {
    Show(model_.ReplaceSelection(text));
}

void BoundedLineEdit::replace(qsizetype start, qsizetype end, const QString& text) {
    Edit(start, end, text);
}

void BoundedLineEdit::undo() {
    Perform(EditingKey::Undo);
}

void BoundedLineEdit::redo() {
    Perform(EditingKey::Redo);
}

void BoundedLineEdit::cut() {
    if (hasSelectedText()) {
        copy();
        insert({});
    }
}

void BoundedLineEdit::copy() const {
    if (hasSelectedText()) {
        QApplication::clipboard()->setText(selectedText());
    }
}

void BoundedLineEdit::paste(QClipboard::Mode mode) {
    const QString pasted = QApplication::clipboard()->text(mode);
    if (!pasted.isEmpty() || hasSelectedText()) {
        // A paste is a step of its own, apart from any typing around it.
        model_.Separate();
        insert(pasted);
        model_.Separate();
    }
}

void BoundedLineEdit::CopyToSelectionClipboard() const {
    QClipboard* const clipboard = QApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection()) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

void BoundedLineEdit::MoveCursor(qsizetype position, Move move) {
    Show(model_.MoveCursor(position, move == Move::Select));
}

void BoundedLineEdit::Edit(qsizetype start, qsizetype end, const QString& inserted) {
    Show(model_.Replace(start, end, inserted));
}

void BoundedLineEdit::Delete() {
    Show(model_.Delete());
}

void BoundedLineEdit::timerEvent(QTimerEvent* event) {
    if (event->timerId() == drag_timer_.timerId()) {
        // Held down in the selection long enough: the user means to drag it.
        Guarded([&] { DragSelectionOut(); });
    } else if (event->timerId() == blink_.timerId()) {
        Guarded([&] { Blink(); });
    } else {
        QWidget::timerEvent(event);
    }
}

void BoundedLineEdit::Show(const TextChange& change) {
    if (change.text_changed || !preedit_.isEmpty()) {
        // What is being composed is laid out at the cursor, wherever it is.
        Relayout();
    }
    if (change.text_changed) {
        emit textChanged(text());
        // Text before the laid-out run changed: measure from the edit instead, keeping the scroll
        // as the line edit keeps it when text before its view changes.
        layout_start_ = CharacterStart(text(), std::min(layout_start_, change.start));
    }
    if (QAccessible::isActive()) {
        if (change.text_changed) {
            const int start = ToInt(change.start);
            if (change.removed.isEmpty()) {
                Announce(QAccessibleTextInsertEvent(this, start, change.inserted));
            } else if (change.inserted.isEmpty()) {
                Announce(QAccessibleTextRemoveEvent(this, start, change.removed));
            } else {
                Announce(QAccessibleTextUpdateEvent(this, start, change.removed, change.inserted));
            }
        } else if (change.old_selection_start != selectionStart() ||
                   change.old_selection_end != selectionEnd()) {
            // A caret move without a selection before or after changes no selection.
            if (change.old_selection_start != change.old_selection_end || hasSelectedText()) {
                Announce(QAccessibleTextSelectionEvent(this, ToInt(selectionStart()),
                                                       ToInt(selectionEnd())));
            }
        }
        if (change.text_changed || change.old_cursor != cursorPosition()) {
            Announce(QAccessibleTextCursorEvent(this, ToInt(cursorPosition())));
        }
    }
    ScrollToCursor();
    RestartBlinking();
    update();
    updateMicroFocus();
}

} // namespace brindle::platform::qt
