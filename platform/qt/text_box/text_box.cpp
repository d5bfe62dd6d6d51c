#include "platform/qt/text_box/text_box.hpp"

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

TextBox::TextBox(const QString& text, QWidget* parent) : QWidget(parent), model_(text) {
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

void TextBox::setText(const QString& text) {
    Show(model_.SetText(text));
}

void TextBox::setCursorPosition(qsizetype position) {
    MoveCursor(position, Move::Keep);
}

void TextBox::setSelection(qsizetype start, qsizetype end) {
    Show(model_.Select(start, end));
}

void TextBox::selectAll() {
    Show(model_.SelectAll());
}

void TextBox::deselect() {
    MoveCursor(cursorPosition(), Move::Keep);
}

void TextBox::home(bool mark) {
    MoveCursor(0, mark ? Move::Select : Move::Keep);
}

void TextBox::end(bool mark) {
    MoveCursor(text().size(), mark ? Move::Select : Move::Keep);
}

void TextBox::insert(const QString& text) {
    Show(model_.ReplaceSelection(text));
}

void TextBox::replace(qsizetype start, qsizetype end, const QString& text) {
    Edit(start, end, text);
}

void TextBox::undo() {
    Perform(EditingKey::Undo);
}

void TextBox::redo() {
    Perform(EditingKey::Redo);
}

void TextBox::cut() {
    if (hasSelectedText()) {
        copy();
        insert({});
    }
}

void TextBox::copy() const {
    if (hasSelectedText()) {
        QApplication::clipboard()->setText(selectedText());
    }
}

void TextBox::paste(QClipboard::Mode mode) {
    const QString pasted = QApplication::clipboard()->text(mode);
    if (!pasted.isEmpty() || hasSelectedText()) {
        // A paste is a step of its own, apart from any typing around it.
        model_.Separate();
        insert(pasted);
        model_.Separate();
    }
}

void TextBox::CopyToSelectionClipboard() const {
    QClipboard* const clipboard = QApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection()) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

void TextBox::MoveCursor(qsizetype position, Move move) {
    Show(model_.MoveCursor(position, move == Move::Select));
}

void TextBox::Edit(qsizetype start, qsizetype end, const QString& inserted) {
    Show(model_.Replace(start, end, inserted));
}

void TextBox::Delete() {
    Show(model_.Delete());
}

void TextBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() == drag_timer_.timerId()) {
        // Held down in the selection long enough: the user means to drag it.
        Guarded([&] { DragSelectionOut(); });
    } else if (event->timerId() == blink_.timerId()) {
        Guarded([&] { Blink(); });
    } else {
        QWidget::timerEvent(event);
    }
}

void TextBox::Show(const TextChange& change) {
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
