#include "platform/qt/text_box/edit_history.hpp"

#include <algorithm>
#include <utility>

namespace brindle::platform::qt {
namespace {

qsizetype Size(const TextEdit& edit) noexcept {
    return edit.removed.size() + edit.inserted.size();
}

// A selection replaced or removed, or a range an input method replaced: such an edit always
// starts a step of its own.
bool ReplacesRange(const TextEdit& edit) noexcept {
    return edit.cursor_before != edit.anchor_before ||
           (!edit.removed.isEmpty() && !edit.inserted.isEmpty());
}

} // namespace

EditHistory::Run EditHistory::RunOf(const TextEdit& edit) noexcept {
    if (!edit.inserted.isEmpty()) {
        return Run::Typed;
    }
    if (ReplacesRange(edit)) {
        return Run::None;
    }
    return edit.position == edit.cursor_before ? Run::Deleted : Run::Erased;
}

void EditHistory::Record(TextEdit edit) {
    // Where an undo stopped at a separation, the separation still stands before the next edit.
    const bool separation_stands = done_ < entries_.size() && entries_[done_].separated;
    ForgetUndone();
    const bool separated = done_ > 0 && (separate_ || separation_stands || ReplacesRange(edit));
    separate_ = false;
    const Run run = RunOf(edit);
    const bool joined =
        done_ > 0 && !separated && (entries_.back().run == Run::None || entries_.back().run == run);
    const qsizetype size = Size(edit);
    if (size > limits_.characters) {
        Clear();
        return;
    }
    if (!joined || !Merge(edit)) {
        entries_.push_back({std::move(edit), run, separated, joined});
        ++done_;
    }
    stored_ += size;
    while (stored_ > limits_.characters || entries_.size() > limits_.edits) {
        DropOldestStep();
    }
}

// Folds an edit that joins the last one into it when the two touch, so that a run of typing
// costs one entry however long it is.
bool EditHistory::Merge(const TextEdit& edit) {
    Entry& last = entries_.back();
    if (Size(last.edit) + Size(edit) > limits_.characters) {
        return false;
    }
    TextEdit merged = last.edit;
    if (edit.position == last.edit.position + last.edit.inserted.size()) {
        merged.removed += edit.removed;
        merged.inserted += edit.inserted;
    } else if (edit.position + edit.removed.size() == last.edit.position) {
        merged.position = edit.position;
        merged.removed.prepend(edit.removed);
        merged.inserted.prepend(edit.inserted);
    } else {
        return false;
    }
    last.edit = std::move(merged);
    last.run = RunOf(edit);
    return true;
}

void EditHistory::ForgetUndone() noexcept {
    while (done_ < entries_.size()) {
        stored_ -= Size(entries_.back().edit);
        entries_.pop_back();
    }
}

void EditHistory::DropOldestStep() noexcept {
    do {
        stored_ -= Size(entries_.front().edit);
        entries_.pop_front();
        done_ = done_ > 0 ? done_ - 1 : 0;
    } while (!entries_.empty() && entries_.front().joined);
}

void EditHistory::Clear() noexcept {
    entries_.clear();
    done_ = 0;
    stored_ = 0;
    separate_ = false;
}

std::size_t EditHistory::UndoStart() const noexcept {
    std::size_t start = done_ - 1;
    while (start > 0 && entries_[start].joined) {
        --start;
    }
    return start;
}

std::size_t EditHistory::RedoEnd() const noexcept {
    std::size_t end = done_ + 1;
    while (end < entries_.size() && entries_[end].joined) {
        ++end;
    }
    return end;
}

std::optional<HistoryStep> EditHistory::UndoStep() const {
    if (!CanUndo()) {
        return std::nullopt;
    }
    const std::size_t start = UndoStart();
    HistoryStep step;
    for (std::size_t index = done_; index > start; --index) {
        step.edits.push_back(entries_[index - 1].edit);
    }
    step.cursor = entries_[start].edit.cursor_before;
    step.anchor = entries_[start].edit.anchor_before;
    return step;
}

std::optional<HistoryStep> EditHistory::RedoStep() const {
    if (!CanRedo()) {
        return std::nullopt;
    }
    const std::size_t end = RedoEnd();
    HistoryStep step;
    for (std::size_t index = done_; index < end; ++index) {
        step.edits.push_back(entries_[index].edit);
    }
    if (end < entries_.size() && entries_[end].separated) {
        // The cursor (and selection) the user had when making the next step, ready for it.
        step.cursor = entries_[end].edit.cursor_before;
        step.anchor = entries_[end].edit.anchor_before;
    } else {
        const TextEdit& last = step.edits.back();
        step.cursor = step.anchor = last.position + last.inserted.size();
    }
    return step;
}

void EditHistory::MarkUndone() noexcept {
    if (CanUndo()) {
        done_ = UndoStart();
    }
}

void EditHistory::MarkRedone() noexcept {
    if (CanRedo()) {
        done_ = RedoEnd();
    }
}

} // namespace brindle::platform::qt
