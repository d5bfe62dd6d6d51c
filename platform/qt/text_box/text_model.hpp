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

// What an editing key does to a text, whichever key the desktop binds to it. Steps to the left
// and right go through the text in its reading direction: Right steps back through a text that
// reads right to left.
enum class EditingKey : unsigned char {
    Undo,
    Redo,
    SelectAll,
    DeleteWordBefore,
    DeleteWordAfter,
    DeleteToEnd, // from the cursor, whatever was selected (Ctrl+K on X11)
    DeleteLine,  // all of it (Ctrl+U on X11)
    DeleteNext,
    DeletePrevious,
    ToStart,
    ToEnd,
    SelectToStart,
    SelectToEnd,
    CharacterRight,
    CharacterLeft,
    SelectCharacterRight,
    SelectCharacterLeft,
    WordRight,
    WordLeft,
    SelectWordRight,
    SelectWordLeft,
};

// What a left or right arrow does to a selection: collapse it to its end on that side (as on
// most desktops), or step from the cursor (as on Windows).
enum class ArrowOnSelection : unsigned char { Collapses, Steps };

// A one-line text with its cursor, its selection (from the anchor to the cursor), its undo history
// and its reading direction, and the edits users make to it: all of a text box but showing it.
// Positions never split a character outside the basic plane.
class TextModel {
public:
    explicit TextModel(const QString& text = {},
                       EditHistory::Limits limits = EditHistory::kDefaultLimits);

    [[nodiscard]] const QString& Text() const noexcept { return text_; }
    [[nodiscard]] qsizetype Cursor() const noexcept { return cursor_; }
    [[nodiscard]] qsizetype Anchor() const noexcept { return anchor_; }
    [[nodiscard]] qsizetype SelectionStart() const noexcept { return std::min(cursor_, anchor_); }
    [[nodiscard]] qsizetype SelectionEnd() const noexcept { return std::max(cursor_, anchor_); }
    [[nodiscard]] bool HasSelection() const noexcept { return cursor_ != anchor_; }
    [[nodiscard]] QString SelectedText() const;
    // Whether the text reads right to left, by its first letter, as the line edit decides it
    // (pinned by BoundedLineEdit.ReadsRightToLeftAsTheLineEditDoes).
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

    // What a key does, as one change: a key that selects and then deletes reports only the
    // deletion, from the selection as it was before the key.
    TextChange Perform(EditingKey key, ArrowOnSelection arrows);

private:
    [[nodiscard]] TextChange Unchanged() const;
    TextChange Apply(EditingKey key, ArrowOnSelection arrows);
    // A key that only moves the cursor.
    struct Motion;
    [[nodiscard]] qsizetype Destination(const Motion& motion, bool extends,
                                        ArrowOnSelection arrows) const;
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
