#pragma once

#include <QString>
#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

namespace brindle::platform::qt {

// One change to a text box's text: `removed` was at `position` and `inserted` took its place.
// The cursor and anchor are where they stood before it, so that undoing it puts them back; they
// differ when the change replaced a selection.
struct TextEdit {
    qsizetype position = 0;
    QString removed;
    QString inserted;
    qsizetype cursor_before = 0;
    qsizetype anchor_before = 0;
};

// What one undo or redo does: the edits to take back (newest first) or to make again (oldest
// first), and where the cursor and the anchor stand afterwards.
struct HistoryStep {
    std::vector<TextEdit> edits;
    qsizetype cursor = 0;
    qsizetype anchor = 0;
};

// What a text box can undo and redo, held to a budget of characters and edits: a day box must
// accept a pasted mebibyte as often as the user pastes one, and a history that keeps every
// paste would keep every mebibyte. The oldest steps are forgotten first; an edit larger than the
// whole budget cannot be undone at all.
//
// One undo takes back what users think of as one edit, by the rules of the toolkit's line edit
// (pinned by the text box's random editing against it, undo and redo included):
// - typing, erasing backwards and deleting forwards each run together until the cursor moves,
//   something is pasted, or the user switches from one of them to another;
// - replacing or removing a selection starts a step, and what is typed, erased or deleted right
//   after it belongs to that step;
// - undoing a step restores the text, the cursor and any selection as they were before it;
//   redoing it leaves the cursor where the next step began (or after the step, when it was the
//   last or ran straight into the next).
class EditHistory {
public:
    struct Limits {
        qsizetype characters; // removed and inserted text, all edits together
        std::size_t edits;
    };
    // Enough to undo a mebibyte pasted over another, twice.
    static constexpr Limits kDefaultLimits{qsizetype{8} << 20, 1000};

    explicit EditHistory(Limits limits = kDefaultLimits) : limits_(limits) {}

    void Record(TextEdit edit);
    // Ends a run, as moving the cursor or pasting does: the next edit starts a step of its own.
    void Separate() noexcept { separate_ = true; }
    void Clear() noexcept;

    // The step an undo or a redo would take, or nothing. Only once it has been applied is it
    // marked as taken, so that a failure to apply it leaves the history as it was.
    [[nodiscard]] std::optional<HistoryStep> UndoStep() const;
    [[nodiscard]] std::optional<HistoryStep> RedoStep() const;
    void MarkUndone() noexcept;
    void MarkRedone() noexcept;

    [[nodiscard]] bool CanUndo() const noexcept { return done_ > 0; }
    [[nodiscard]] bool CanRedo() const noexcept { return done_ < entries_.size(); }
    [[nodiscard]] qsizetype StoredCharacters() const noexcept { return stored_; }
    [[nodiscard]] std::size_t Count() const noexcept { return entries_.size(); }

private:
    // What an edit did besides replacing a selection.
    enum class Run : unsigned char { None, Typed, Erased, Deleted };
    struct Entry {
        TextEdit edit;
        Run run = Run::None;
        bool separated = false; // a separation came between it and the entry before
        bool joined = false;    // undone and redone together with the entry before
    };

    [[nodiscard]] static Run RunOf(const TextEdit& edit) noexcept;
    [[nodiscard]] bool Merge(const TextEdit& edit);
    [[nodiscard]] std::size_t UndoStart() const noexcept;
    [[nodiscard]] std::size_t RedoEnd() const noexcept;
    void ForgetUndone() noexcept;
    void DropOldestStep() noexcept;

    Limits limits_;
    std::deque<Entry> entries_;
    std::size_t done_ = 0; // entries_[0, done_) are applied; the rest can be redone
    qsizetype stored_ = 0;
    bool separate_ = false;
};

} // namespace brindle::platform::qt
