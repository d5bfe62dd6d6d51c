#include "platform/qt/text_box/text_box.hpp"

#include "platform/qt/text_box/boundaries.hpp"
#include "platform/qt/text_box/limits.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <algorithm>
#include <optional>

// The text box's text, cursor and selection, and the edits that change them.
namespace brindle::platform::qt {

using text_box_limits::kShownLimit;
using text_box_limits::ToInt;

namespace {

void Announce(QAccessibleEvent&& event) {
    QAccessible::updateAccessibility(&event);
}

void ReplaceIn(QString& text, qsizetype start, qsizetype length, const QString& inserted) {
    if (start == 0 && length == text.size()) {
        text = inserted; // shares the pasted text rather than copying it
        return;
    }
    text.replace(start, length, inserted);
    // A box emptied of a huge text gives the memory back.
    if (text.capacity() > 4 * text.size() + kShownLimit) {
        text.squeeze();
    }
}

} // namespace

TextBox::TextBox(const QString& text, QWidget* parent)
    : QWidget(parent), text_(text), cursor_(text.size()), anchor_(cursor_),
      strong_(FirstStrongCharacter(text_, 0)) {
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
    history_.Clear();
    if (text == text_) {
        MoveCursor(text_.size(), Move::Keep);
        return;
    }
    const QString removed = text_;
    Apply(0, text_.size(), text);
    cursor_ = anchor_ = text_.size();
    Changed(0, removed, text_);
}

qsizetype TextBox::selectionStart() const noexcept {
    return std::min(cursor_, anchor_);
}

qsizetype TextBox::selectionEnd() const noexcept {
    return std::max(cursor_, anchor_);
}

QString TextBox::selectedText() const {
    return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void TextBox::setCursorPosition(qsizetype position) {
    MoveCursor(position, Move::Keep);
}

void TextBox::setSelection(qsizetype start, qsizetype end) {
    Select(start, end);
}

void TextBox::selectAll() {
    if (!text_.isEmpty()) {
        history_.Separate();
    }
    setSelection(0, text_.size());
}

void TextBox::deselect() {
    MoveCursor(cursor_, Move::Keep);
}

void TextBox::home(bool mark) {
    MoveCursor(0, mark ? Move::Select : Move::Keep);
}

void TextBox::end(bool mark) {
    MoveCursor(text_.size(), mark ? Move::Select : Move::Keep);
}

void TextBox::insert(const QString& text) {
    Edit(selectionStart(), selectionEnd(), text);
}

void TextBox::replace(qsizetype start, qsizetype end, const QString& text) {
    Edit(start, end, text);
}

void TextBox::undo() {
    if (preedit_.isEmpty()) {
        if (std::optional<HistoryStep> step = history_.UndoStep()) {
            Restore(*step, Direction::Back);
        }
    }
}

void TextBox::redo() {
    if (preedit_.isEmpty()) {
        if (std::optional<HistoryStep> step = history_.RedoStep()) {
            Restore(*step, Direction::Forward);
        }
    }
}

// Takes a step of the history back or forward. The new text is built aside, so that running out
// of memory part way leaves text and history as they were.
void TextBox::Restore(const HistoryStep& step, Direction direction) {
    QString text = text_;
    for (const TextEdit& edit : step.edits) {
        if (direction == Direction::Back) {
            ReplaceIn(text, edit.position, edit.inserted.size(), edit.removed);
        } else {
            ReplaceIn(text, edit.position, edit.removed.size(), edit.inserted);
        }
    }
    // What changed, for assistive technology: the span between the common start and end.
    const auto before = std::mismatch(text_.cbegin(), text_.cend(), text.cbegin(), text.cend());
    const qsizetype start = before.first - text_.cbegin();
    const qsizetype common_end =
        std::mismatch(text_.crbegin(), text_.crend() - start, text.crbegin(), text.crend() - start)
            .first -
        text_.crbegin();
    QString removed = text_.mid(start, text_.size() - common_end - start);
    QString inserted = text.mid(start, text.size() - common_end - start);

    text_.swap(text);
    FollowDirection(start);
    if (direction == Direction::Back) {
        history_.MarkUndone();
    } else {
        history_.MarkRedone();
    }
    cursor_ = CharacterStart(text_, step.cursor);
    anchor_ = CharacterStart(text_, step.anchor);
    layout_start_ = CharacterStart(text_, std::min(layout_start_, start));
    Changed(start, removed, inserted);
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
        history_.Separate();
        insert(pasted);
        history_.Separate();
    }
}

void TextBox::CopyToSelectionClipboard() const {
    QClipboard* const clipboard = QApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection()) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

// ---- Editing ----

void TextBox::Edit(qsizetype start, qsizetype end, const QString& inserted) {
    start = CharacterStart(text_, start);
    end = std::max(start, CharacterStart(text_, end));
    if (start == end && inserted.isEmpty()) {
        return;
    }
    TextEdit edit{start, text_.mid(start, end - start), inserted, cursor_, anchor_};
    Apply(start, end - start, inserted);
    cursor_ = anchor_ = start + inserted.size();
    try {
        history_.Record(edit);
    } catch (...) {
        // The text changed but its history could not hold the change: nothing before it can
        // be undone correctly any more.
        history_.Clear();
    }
    Changed(start, edit.removed, inserted);
}

void TextBox::Apply(qsizetype start, qsizetype length, const QString& inserted) {
    ReplaceIn(text_, start, length, inserted);
    FollowDirection(start);
    // Text before the laid-out run changed: measure from the edit instead, keeping the scroll as
    // the line edit keeps it when text before its view changes.
    layout_start_ = CharacterStart(text_, std::min(layout_start_, start));
}

// Everything that follows a change of the text. The window's figures come first, before
// anything that could fail, so that they always match the text; then assistive technology, the
// input method and the view.
void TextBox::Changed(qsizetype start, const QString& removed, const QString& inserted) {
    emit textChanged(text_);
    if (QAccessible::isActive()) {
        if (removed.isEmpty()) {
            Announce(QAccessibleTextInsertEvent(this, ToInt(start), inserted));
        } else if (inserted.isEmpty()) {
            Announce(QAccessibleTextRemoveEvent(this, ToInt(start), removed));
        } else {
            Announce(QAccessibleTextUpdateEvent(this, ToInt(start), removed, inserted));
        }
        Announce(QAccessibleTextCursorEvent(this, ToInt(cursor_)));
    }
    ScrollToCursor();
    RestartBlinking();
    update();
    updateMicroFocus();
}

void TextBox::MoveCursor(qsizetype position, Move move) {
    if (position != cursor_) {
        // A moved cursor ends a run of typing or erasing.
        history_.Separate();
    }
    Select(move == Move::Keep ? position : anchor_, position);
}

void TextBox::Select(qsizetype anchor, qsizetype position) {
    const qsizetype old_start = selectionStart();
    const qsizetype old_end = selectionEnd();
    const qsizetype old_cursor = cursor_;
    cursor_ = CharacterStart(text_, position);
    anchor_ = CharacterStart(text_, anchor);
    ScrollToCursor();
    RestartBlinking();
    update();
    updateMicroFocus();
    if (QAccessible::isActive()) {
        // A caret move without a selection before or after changes no selection.
        const bool had_selection = old_start != old_end;
        if ((had_selection || hasSelectedText()) &&
            (old_start != selectionStart() || old_end != selectionEnd())) {
            Announce(QAccessibleTextSelectionEvent(this, ToInt(selectionStart()),
                                                   ToInt(selectionEnd())));
        }
        if (old_cursor != cursor_) {
            Announce(QAccessibleTextCursorEvent(this, ToInt(cursor_)));
        }
    }
}

void TextBox::FollowDirection(qsizetype start) {
    if (start <= strong_.position) {
        strong_ = FirstStrongCharacter(text_, start);
    }
}

void TextBox::Backspace() {
    if (hasSelectedText()) {
        insert({});
        return;
    }
    // One code point at a time, so that an accent typed after its letter can be taken back
    // without the letter.
    qsizetype from = cursor_ - 1;
    if (from > 0 && text_.at(from).isLowSurrogate() && text_.at(from - 1).isHighSurrogate()) {
        --from;
    }
    if (from >= 0) {
        Edit(from, cursor_, {});
    }
}

void TextBox::Delete() {
    if (hasSelectedText()) {
        insert({});
    } else if (cursor_ < text_.size()) {
        Edit(cursor_, NextCharacter(text_, cursor_), {});
    }
}

} // namespace brindle::platform::qt
