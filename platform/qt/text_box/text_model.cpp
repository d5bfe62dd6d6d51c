#include "platform/qt/text_box/text_model.hpp"

#include "platform/qt/text_box/limits.hpp"

#include <algorithm>
#include <optional>

namespace brindle::platform::qt {
namespace {

void ReplaceIn(QString& text, qsizetype start, qsizetype length, const QString& inserted) {
    if (start == 0 && length == text.size()) {
        text = inserted; // shares the pasted text rather than copying it
        return;
    }
    text.replace(start, length, inserted);
    // A box emptied of a huge text gives the memory back.
    if (text.capacity() > 4 * text.size() + text_box_limits::kSpareCapacity) {
        text.squeeze();
    }
}

} // namespace

TextModel::TextModel(const QString& text, EditHistory::Limits limits)
    : text_(text), cursor_(text.size()), anchor_(cursor_), history_(limits),
      strong_(FirstStrongCharacter(text, 0)) {}

QString TextModel::SelectedText() const {
    return text_.mid(SelectionStart(), SelectionEnd() - SelectionStart());
}

TextChange TextModel::Unchanged() const {
    TextChange change;
    change.old_cursor = cursor_;
    change.old_selection_start = SelectionStart();
    change.old_selection_end = SelectionEnd();
    return change;
}

TextChange TextModel::SetText(const QString& text) {
    history_.Clear();
    if (text == text_) {
        return MoveCursor(text_.size(), false);
    }
    TextChange change = Unchanged();
    change.text_changed = true;
    change.removed = text_;
    change.inserted = text;
    text_ = text;
    strong_ = FirstStrongCharacter(text_, 0);
    cursor_ = anchor_ = text_.size();
    return change;
}

TextChange TextModel::Select(qsizetype anchor, qsizetype position) {
    TextChange change = Unchanged();
    cursor_ = CharacterStart(text_, position);
    anchor_ = CharacterStart(text_, anchor);
    return change;
}

TextChange TextModel::MoveCursor(qsizetype position, bool extend) {
    if (position != cursor_) {
        history_.Separate();
    }
    return Select(extend ? anchor_ : position, position);
}

TextChange TextModel::SelectAll() {
    if (!text_.isEmpty()) {
        history_.Separate();
    }
    return Select(0, text_.size());
}

TextChange TextModel::Replace(qsizetype start, qsizetype end, const QString& inserted) {
    start = CharacterStart(text_, start);
    end = std::max(start, CharacterStart(text_, end));
    TextChange change = Unchanged();
    if (start == end && inserted.isEmpty()) {
        return change;
    }
    TextEdit edit{start, text_.mid(start, end - start), inserted, cursor_, anchor_};
    ReplaceIn(text_, start, end - start, inserted);
    FollowDirection(start);
    cursor_ = anchor_ = start + inserted.size();
    try {
        history_.Record(edit);
    } catch (...) {
        // The text changed but its history could not hold the change: nothing before it can
        // be undone correctly any more.
        history_.Clear();
    }
    change.text_changed = true;
    change.start = start;
    change.removed = std::move(edit.removed);
    change.inserted = inserted;
    return change;
}

TextChange TextModel::ReplaceSelection(const QString& inserted) {
    return Replace(SelectionStart(), SelectionEnd(), inserted);
}

TextChange TextModel::Backspace() {
    if (HasSelection()) {
        return ReplaceSelection({});
    }
    // One code point at a time, so that an accent typed after its letter can be taken back
    // without the letter.
    qsizetype from = cursor_ - 1;
    if (from > 0 && text_.at(from).isLowSurrogate() && text_.at(from - 1).isHighSurrogate()) {
        --from;
    }
    return from >= 0 ? Replace(from, cursor_, {}) : Unchanged();
}

TextChange TextModel::Delete() {
    if (HasSelection()) {
        return ReplaceSelection({});
    }
    return cursor_ < text_.size() ? Replace(cursor_, NextCharacter(text_, cursor_), {})
                                  : Unchanged();
}

TextChange TextModel::Undo() {
    const std::optional<HistoryStep> step = history_.UndoStep();
    return step ? Take(*step, Direction::Back) : Unchanged();
}

TextChange TextModel::Redo() {
    const std::optional<HistoryStep> step = history_.RedoStep();
    return step ? Take(*step, Direction::Forward) : Unchanged();
}

// Takes a step of the history back or forward. The new text is built aside, so that running out
// of memory part way leaves text and history as they were.
TextChange TextModel::Take(const HistoryStep& step, Direction direction) {
    QString text = text_;
    for (const TextEdit& edit : step.edits) {
        if (direction == Direction::Back) {
            ReplaceIn(text, edit.position, edit.inserted.size(), edit.removed);
        } else {
            ReplaceIn(text, edit.position, edit.removed.size(), edit.inserted);
        }
    }
    // What changed, as one span between the common start and the common end.
    TextChange change = Unchanged();
    change.text_changed = true;
    change.start = std::mismatch(text_.cbegin(), text_.cend(), text.cbegin(), text.cend()).first -
                   text_.cbegin();
    const qsizetype common_end = std::mismatch(text_.crbegin(), text_.crend() - change.start,
                                               text.crbegin(), text.crend() - change.start)
                                     .first -
                                 text_.crbegin();
    change.removed = text_.mid(change.start, text_.size() - common_end - change.start);
    change.inserted = text.mid(change.start, text.size() - common_end - change.start);

    text_.swap(text);
    FollowDirection(change.start);
    if (direction == Direction::Back) {
        history_.MarkUndone();
    } else {
        history_.MarkRedone();
    }
    cursor_ = CharacterStart(text_, step.cursor);
    anchor_ = CharacterStart(text_, step.anchor);
    return change;
}

TextChange TextModel::Perform(EditingKey key, ArrowOnSelection arrows) {
    const TextChange before = Unchanged();
    TextChange change = Apply(key, arrows);
    change.old_cursor = before.old_cursor;
    change.old_selection_start = before.old_selection_start;
    change.old_selection_end = before.old_selection_end;
    return change;
}

// A key's steps: those that only select, then at most one that edits, whose change is the key's.
TextChange TextModel::Apply(EditingKey key, ArrowOnSelection arrows) {
    const bool collapse = HasSelection() && arrows == ArrowOnSelection::Collapses;
    switch (key) {
    case EditingKey::Undo:
        return Undo();
    case EditingKey::Redo:
        return Redo();
    case EditingKey::SelectAll:
        return SelectAll();
    case EditingKey::DeleteWordBefore:
        // The selection grows by the word before the cursor, then goes (pinned by
        // BoundedLineEdit.AnswersEveryEditingKeyAsTheLineEditDoes). Unlike the line edit's
        // Ctrl+Shift+Backspace, nothing after the cursor ever goes.
        (void)MoveCursor(PreviousWordStart(text_, cursor_), true);
        return HasSelection() ? ReplaceSelection({}) : Unchanged();
    case EditingKey::DeleteWordAfter:
        (void)MoveCursor(NextWordStart(text_, cursor_), true);
        return Delete();
    case EditingKey::DeleteToEnd:
        (void)Select(cursor_, text_.size());
        return ReplaceSelection({});
    case EditingKey::DeleteLine:
        (void)SelectAll();
        return ReplaceSelection({});
    case EditingKey::DeleteNext:
        return Delete();
    case EditingKey::DeletePrevious:
        return Backspace();
    case EditingKey::ToStart:
        return MoveCursor(0, false);
    case EditingKey::ToEnd:
        return MoveCursor(text_.size(), false);
    case EditingKey::SelectToStart:
        return MoveCursor(0, true);
    case EditingKey::SelectToEnd:
        return MoveCursor(text_.size(), true);
    case EditingKey::CharacterRight:
        return MoveCursor(collapse ? SelectionEnd() : CharacterRightOf(cursor_), false);
    case EditingKey::CharacterLeft:
        return MoveCursor(collapse ? SelectionStart() : CharacterLeftOf(cursor_), false);
    case EditingKey::SelectCharacterRight:
        return MoveCursor(CharacterRightOf(cursor_), true);
    case EditingKey::SelectCharacterLeft:
        return MoveCursor(CharacterLeftOf(cursor_), true);
    case EditingKey::WordRight:
        return MoveCursor(WordRightOf(cursor_), false);
    case EditingKey::WordLeft:
        return MoveCursor(WordLeftOf(cursor_), false);
    case EditingKey::SelectWordRight:
        return MoveCursor(WordRightOf(cursor_), true);
    case EditingKey::SelectWordLeft:
        return MoveCursor(WordLeftOf(cursor_), true);
    }
    return Unchanged();
}

qsizetype TextModel::CharacterRightOf(qsizetype position) const {
    return RightToLeft() ? PreviousCharacter(text_, position) : NextCharacter(text_, position);
}

qsizetype TextModel::CharacterLeftOf(qsizetype position) const {
    return RightToLeft() ? NextCharacter(text_, position) : PreviousCharacter(text_, position);
}

qsizetype TextModel::WordRightOf(qsizetype position) const {
    return RightToLeft() ? PreviousWordStart(text_, position) : NextWordStart(text_, position);
}

qsizetype TextModel::WordLeftOf(qsizetype position) const {
    return RightToLeft() ? NextWordStart(text_, position) : PreviousWordStart(text_, position);
}

void TextModel::FollowDirection(qsizetype start) {
    if (start <= strong_.position) {
        strong_ = FirstStrongCharacter(text_, start);
    }
}

} // namespace brindle::platform::qt
