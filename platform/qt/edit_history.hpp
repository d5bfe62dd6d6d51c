#pragma once

#include <QString>
#include <cstddef>
#include <deque>
#include <optional>

namespace brindle::platform::qt {

// One change to a text box's text: `removed` was at `position` and `inserted` took its place.
// The cursor and anchor are where they stood before it, so that undoing it puts them back.
struct TextEdit {
    qsizetype position = 0;
    QString removed;
    QString inserted;
    qsizetype cursor_before = 0;
    qsizetype anchor_before = 0;
};

// What a text box can undo and redo, held to a budget of characters and edits: a day box must
// accept a pasted mebibyte as often as the user pastes one, and a history that keeps every
// paste would keep every mebibyte. The oldest edits are forgotten first; an edit larger than the
// whole budget cannot be undone at all. Typing and erasing one character at a time run together
// into one edit until something else happens, as users expect an undo to take back a word.
class EditHistory {
public:
    struct Limits {
        qsizetype characters; // removed and inserted text, all edits together
        std::size_t edits;
    };
    // Enough to undo a mebibyte pasted over another, twice.
    static constexpr Limits kDefaultLimits{qsizetype{8} << 20, 1000};

    explicit EditHistory(Limits limits = kDefaultLimits) : limits_(limits) {}

    enum class Kind {
        Typed,  // one character typed at the cursor
        Erased, // one character erased before the cursor
        Other,
    };
    void Record(TextEdit edit, Kind kind);
    // Ends a run of typing, as moving the cursor does.
    void Separate() noexcept { run_ = Kind::Other; }
    void Clear() noexcept;

    // The edit to take back or to make again, or nothing when there is none.
    [[nodiscard]] std::optional<TextEdit> Undo();
    [[nodiscard]] std::optional<TextEdit> Redo();
    [[nodiscard]] bool CanUndo() const noexcept { return done_ > 0; }
    [[nodiscard]] bool CanRedo() const noexcept { return done_ < edits_.size(); }
    [[nodiscard]] qsizetype StoredCharacters() const noexcept { return stored_; }
    [[nodiscard]] std::size_t Count() const noexcept { return edits_.size(); }

private:
    [[nodiscard]] bool Extends(const TextEdit& edit, Kind kind) const;
    void DropFront();

    Limits limits_;
    std::deque<TextEdit> edits_;
    std::size_t done_ = 0; // edits_[0, done_) are applied; the rest can be redone
    qsizetype stored_ = 0;
    Kind run_ = Kind::Other;
};

} // namespace brindle::platform::qt
