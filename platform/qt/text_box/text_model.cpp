#include "platform/qt/text_box/text_model.hpp"

#include "platform/qt/text_box/limits.hpp"

#include <algorithm>
#include <optional>
#include <utility>

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

// A pair of keys that only move the cursor, by a character, a word or the whole line, to the right
// or the left as the text is shown: one moving it, one extending the selection with it.
struct TextModel::Motion {
    enum class Unit : unsigned char { Character, Word, Line };
    enum class To : unsigned char { Left, Right };
    EditingKey moving;
    EditingKey selecting;
    Unit unit;
    To to;
};

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
    // The keys that only move the cursor, each without and with Shift. Home and End go to the
    // text's start and end whatever its direction, as in the line edit.
    static constexpr Motion kMotions[] = {
        {EditingKey::ToStart, EditingKey::SelectToStart, Motion::Unit::Line, Motion::To::Left},
        {EditingKey::ToEnd, EditingKey::SelectToEnd, Motion::Unit::Line, Motion::To::Right},
        {EditingKey::CharacterRight, EditingKey::SelectCharacterRight, Motion::Unit::Character,
         Motion::To::Right},
        {EditingKey::CharacterLeft, EditingKey::SelectCharacterLeft, Motion::Unit::Character,
         Motion::To::Left},
        {EditingKey::WordRight, EditingKey::SelectWordRight, Motion::Unit::Word, Motion::To::Right},
        {EditingKey::WordLeft, EditingKey::SelectWordLeft, Motion::Unit::Word, Motion::To::Left},
    };
    // The keys that are one operation of the model.
    static constexpr std::pair<EditingKey, TextChange (TextModel::*)()> kOperations[] = {
        {EditingKey::Undo, &TextModel::Undo},
        {EditingKey::Redo, &TextModel::Redo},
        {EditingKey::SelectAll, &TextModel::SelectAll},
        {EditingKey::DeleteNext, &TextModel::Delete},
        {EditingKey::DeletePrevious, &TextModel::Backspace},
    };
    for (const Motion& motion : kMotions) {
        if (key == motion.moving || key == motion.selecting) {
            const bool extends = key == motion.selecting;
            return MoveCursor(Destination(motion, extends, arrows), extends);
        }
    }
    for (const auto& [operation_key, operation] : kOperations) {
        if (key == operation_key) {
            return (this->*operation)();
        }
    }
    // The rest select what they delete, then delete it.
    switch (key) {
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
    default:
        return Unchanged();
    }
}

// Where a motion takes the cursor. A step right or left goes forward or back through the text by
// its reading direction; an arrow that collapses a selection stops at its end on that side.
qsizetype TextModel::Destination(const Motion& motion, bool extends,
                                 ArrowOnSelection arrows) const {
    const bool collapses = !extends && HasSelection() && arrows == ArrowOnSelection::Collapses;
    const bool forward = motion.to == Motion::To::Right ? !RightToLeft() : RightToLeft();
    switch (motion.unit) {
    case Motion::Unit::Line:
        return motion.to == Motion::To::Right ? text_.size() : 0;
    case Motion::Unit::Word:
        return forward ? NextWordStart(text_, cursor_) : PreviousWordStart(text_, cursor_);
    case Motion::Unit::Character:
        if (collapses) {
            return motion.to == Motion::To::Right ? SelectionEnd() : SelectionStart();
        }
        return forward ? NextCharacter(text_, cursor_) : PreviousCharacter(text_, cursor_);
    }
    return cursor_;
}

void TextModel::FollowDirection(qsizetype start) {
    if (start <= strong_.position) {
        strong_ = FirstStrongCharacter(text_, start);
    }
}

} // namespace brindle::platform::qt
