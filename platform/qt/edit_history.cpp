#include "platform/qt/edit_history.hpp"

#include <utility>

namespace brindle::platform::qt {
namespace {

qsizetype Size(const TextEdit& edit) noexcept {
    return edit.removed.size() + edit.inserted.size();
}

} // namespace

bool EditHistory::Extends(const TextEdit& edit, Kind kind) const {
    if (kind == Kind::Other || kind != run_ || done_ == 0 || done_ != edits_.size()) {
        return false;
    }
    const TextEdit& last = edits_.back();
    if (kind == Kind::Typed) {
        return edit.removed.isEmpty() && last.removed.isEmpty() &&
               edit.position == last.position + last.inserted.size();
    }
    return edit.inserted.isEmpty() && last.inserted.isEmpty() &&
           edit.position + edit.removed.size() == last.position;
}

void EditHistory::Record(TextEdit edit, Kind kind) {
    // A new edit makes what was undone before it unreachable.
    while (done_ < edits_.size()) {
        stored_ -= Size(edits_.back());
        edits_.pop_back();
    }
    if (Size(edit) > limits_.characters) {
        Clear();
        return;
    }
    if (Extends(edit, kind)) {
        TextEdit& last = edits_.back();
        stored_ += Size(edit);
        if (kind == Kind::Typed) {
            last.inserted += edit.inserted;
        } else {
            last.removed.prepend(edit.removed);
            last.position = edit.position;
        }
    } else {
        stored_ += Size(edit);
        edits_.push_back(std::move(edit));
        ++done_;
    }
    run_ = kind;
    while (stored_ > limits_.characters || edits_.size() > limits_.edits) {
        DropFront();
    }
}

void EditHistory::DropFront() {
    stored_ -= Size(edits_.front());
    edits_.pop_front();
    --done_;
}

void EditHistory::Clear() noexcept {
    edits_.clear();
    done_ = 0;
    stored_ = 0;
    run_ = Kind::Other;
}

std::optional<TextEdit> EditHistory::Undo() {
    run_ = Kind::Other;
    if (!CanUndo()) {
        return std::nullopt;
    }
    return edits_[--done_];
}

std::optional<TextEdit> EditHistory::Redo() {
    run_ = Kind::Other;
    if (!CanRedo()) {
        return std::nullopt;
    }
    return edits_[done_++];
}

} // namespace brindle::platform::qt
