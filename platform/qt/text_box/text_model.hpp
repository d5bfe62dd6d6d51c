#pragma once

#include "platform/qt/text_box/boundaries.hpp"
#include "platform/qt/text_box/edit_history.hpp"

#include <QString>
#include <algorithm>

namespace brindle::platform::qt {

// What one operation on a text model did, so that whatever shows the text hears of all of it in
// one go: the text's change, if any, and where the cursor and the selection were before.
struct TextChange {
    bool text_changed = false;
    qsizetype start = 0; // where `removed` was and `inserted` now is
    QString removed;
    QString inserted;
    qsizetype old_cursor = 0;
    qsizetype old_selection_start = 0;
    qsizetype old_selection_end = 0;
};

// A one-line text with its cursor, its selection (from the anchor to the cursor), its undo history
// and its reading direction, and the edits users make to it: all of a text box but showing it.
// Positions never split a character outside the basic plane.
class TextModel {
public:
    explicit TextModel(const QString& text = {});

    [[nodiscard]] const QString& Text() const noexcept { return text_; }
    [[nodiscard]] qsizetype Cursor() const noexcept { return cursor_; }
    [[nodiscard]] qsizetype Anchor() const noexcept { return anchor_; }
    [[nodiscard]] qsizetype SelectionStart() const noexcept { return std::min(cursor_, anchor_); }
    [[nodiscard]] qsizetype SelectionEnd() const noexcept { return std::max(cursor_, anchor_); }
    [[nodiscard]] bool HasSelection() const noexcept { return cursor_ != anchor_; }
    [[nodiscard]] QString SelectedText() const;
    // Whether the text reads right to left, by its first letter, as the line edit decides it
    // (pinned by TextBox.ReadsRightToLeftAsTheLineEditDoes).
    [[nodiscard]] bool RightToLeft() const noexcept { return strong_.right_to_left; }
    [[nodiscard]] const EditHistory& History() const noexcept { return history_; }

    // A program's write: the cursor goes to the end and what could be undone is forgotten.
    TextChange SetText(const QString& text);
    // Sets both ends of the selection (the same for none), as a program does.
    TextChange Select(qsizetype anchor, qsizetype position);
    // Moves the cursor as the user does, extending the selection or not; a move ends a run of
    // typing or erasing.
    TextChange MoveCursor(qsizetype position, bool extend);
    TextChange SelectAll();

    // The user's edits, each recorded for undoing.
    TextChange Replace(qsizetype start, qsizetype end, const QString& inserted);
    TextChange ReplaceSelection(const QString& inserted);
    TextChange Backspace();
    TextChange Delete();
    TextChange Undo();
    TextChange Redo();
    // Makes the next edit a step of its own, as a paste is.
    void Separate() noexcept { history_.Separate(); }

private:
    [[nodiscard]] TextChange Unchanged() const;
    enum class Direction { Back, Forward };
    TextChange Take(const HistoryStep& step, Direction direction);
    void FollowDirection(qsizetype start);

    QString text_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    EditHistory history_;
    // The text's first letter, kept up to date from each edit on, so that a keystroke at the end
    // of a mebibyte of digits need not look at all of them.
    StrongCharacter strong_;
};

} // namespace brindle::platform::qt
