#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <optional>
#include <utility>
#include <variant>

// The keyboard: which key means what, typing, and arriving at and leaving the box. What an editing
// key does to the text is the model's; the box only finds the key and shows what changed.
namespace brindle::platform::qt {

// The keys the box answers itself, through the clipboards.
enum class ClipboardKey : unsigned char { Copy, Paste, PasteSelection, Cut };

namespace {

using Key = std::variant<EditingKey, ClipboardKey>;

// Each key is found through the platform's key bindings, so the box answers to the keys the
// user's desktop uses in every other text field.
constexpr std::pair<QKeySequence::StandardKey, Key> kKeyBindings[] = {
    {QKeySequence::Undo, EditingKey::Undo},
    {QKeySequence::Redo, EditingKey::Redo},
    {QKeySequence::SelectAll, EditingKey::SelectAll},
    {QKeySequence::Copy, ClipboardKey::Copy},
    {QKeySequence::Paste, ClipboardKey::Paste},
    {QKeySequence::Cut, ClipboardKey::Cut},
    {QKeySequence::DeleteStartOfWord, EditingKey::DeleteWordBefore},
    {QKeySequence::DeleteEndOfWord, EditingKey::DeleteWordAfter},
    {QKeySequence::DeleteEndOfLine, EditingKey::DeleteToEnd},
    {QKeySequence::DeleteCompleteLine, EditingKey::DeleteLine},
    {QKeySequence::Delete, EditingKey::DeleteNext},
    {QKeySequence::MoveToStartOfLine, EditingKey::ToStart},
    {QKeySequence::MoveToStartOfBlock, EditingKey::ToStart},
    {QKeySequence::MoveToStartOfDocument, EditingKey::ToStart},
    {QKeySequence::MoveToEndOfLine, EditingKey::ToEnd},
    {QKeySequence::MoveToEndOfBlock, EditingKey::ToEnd},
    {QKeySequence::MoveToEndOfDocument, EditingKey::ToEnd},
    {QKeySequence::SelectStartOfLine, EditingKey::SelectToStart},
    {QKeySequence::SelectStartOfBlock, EditingKey::SelectToStart},
    {QKeySequence::SelectStartOfDocument, EditingKey::SelectToStart},
    {QKeySequence::SelectEndOfLine, EditingKey::SelectToEnd},
    {QKeySequence::SelectEndOfBlock, EditingKey::SelectToEnd},
    {QKeySequence::SelectEndOfDocument, EditingKey::SelectToEnd},
    {QKeySequence::MoveToNextChar, EditingKey::CharacterRight},
    {QKeySequence::MoveToPreviousChar, EditingKey::CharacterLeft},
    {QKeySequence::SelectNextChar, EditingKey::SelectCharacterRight},
    {QKeySequence::SelectPreviousChar, EditingKey::SelectCharacterLeft},
    {QKeySequence::MoveToNextWord, EditingKey::WordRight},
    {QKeySequence::MoveToPreviousWord, EditingKey::WordLeft},
    {QKeySequence::SelectNextWord, EditingKey::SelectWordRight},
    {QKeySequence::SelectPreviousWord, EditingKey::SelectWordLeft},
};

// The platform's key scheme is not public; the Windows scheme alone binds nothing to "delete to
// the end of the line" (Ctrl+K elsewhere).
bool WindowsKeyScheme() {
    static const bool windows = QKeySequence::keyBindings(QKeySequence::DeleteEndOfLine).isEmpty();
    return windows;
}

std::optional<Key> KeyFor(QKeyEvent& event) {
    for (const auto& [sequence, key] : kKeyBindings) {
        if (event.matches(sequence)) {
            // Outside Windows, Ctrl+Shift+Insert pastes what is selected anywhere on the screen.
            if (key == Key(ClipboardKey::Paste) && !WindowsKeyScheme() &&
                event.key() == Qt::Key_Insert &&
                event.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
                return ClipboardKey::PasteSelection;
            }
            return key;
        }
    }
    // Backspace that no binding claims erases: a word with Ctrl among its modifiers (as
    // Ctrl+Shift+Backspace), otherwise a character (as Shift, Alt or Super with it).
    if (event.key() == Qt::Key_Backspace) {
        return event.modifiers().testFlag(Qt::ControlModifier) ? EditingKey::DeleteWordBefore
                                                               : EditingKey::DeletePrevious;
    }
    return std::nullopt;
}

// Whether a key event types its text, by the line edit's rule (pinned by the test
// TypesWhatEveryKeyEventCarriesAsTheLineEditDoes): format characters always (a Persian layout
// types ZWNJ with Shift+Space, and some layouts Ctrl+Shift for marks); nothing else with Ctrl or
// Ctrl+Shift alone, which are commands (Ctrl+Alt is AltGr on some layouts, and Super+1 types
// 1); then anything printable, private use, or a character outside the basic plane.
bool IsTyping(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) {
        return false;
    }
    const QChar first = text.at(0);
    if (first.category() == QChar::Other_Format) {
        return true;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier ||
        modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return false;
    }
    return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
           (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

} // namespace

// Outside the Windows key scheme an arrow collapses a selection to its end on that side, as the
// line edit does (pinned by TextBoxOnX11's random editing against it).
void BoundedLineEdit::Perform(EditingKey key) {
    // Nothing is undone while an input method is composing: its text is not the box's yet.
    if ((key == EditingKey::Undo || key == EditingKey::Redo) && !preedit_.isEmpty()) {
        return;
    }
    const TextChange change = model_.Perform(key, WindowsKeyScheme() ? ArrowOnSelection::Steps
                                                                     : ArrowOnSelection::Collapses);
    // Ctrl+K and Ctrl+U cut: what they delete goes to the clipboard.
    if ((key == EditingKey::DeleteToEnd || key == EditingKey::DeleteLine) &&
        !change.removed.isEmpty()) {
        QApplication::clipboard()->setText(change.removed);
    }
    Show(change);
}

void BoundedLineEdit::Perform(ClipboardKey key) {
    switch (key) {
    case ClipboardKey::Copy:
        copy();
        break;
    case ClipboardKey::Paste:
        paste();
        break;
    case ClipboardKey::PasteSelection:
        paste(QClipboard::Selection);
        break;
    case ClipboardKey::Cut:
        cut();
        break;
    }
}

void BoundedLineEdit::keyPressEvent(QKeyEvent* event) {
    Guarded([&] {
        if (const std::optional<Key> key = KeyFor(*event)) {
            std::visit([this](auto known) { Perform(known); }, *key);
        } else if (IsTyping(*event)) {
            insert(event->text());
        } else {
            // Tab, Return, Escape and the rest belong to the window.
            event->ignore();
            return;
        }
        event->accept();
        // Whatever the keys selected is the X11 selection, ready for a middle click elsewhere.
        CopyToSelectionClipboard();
    });
}

bool BoundedLineEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The box's own keys must reach it even if something in the window binds them.
        auto* const key = dynamic_cast<QKeyEvent*>(event);
        if (key != nullptr && (KeyFor(*key) || IsTyping(*key))) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void BoundedLineEdit::focusInEvent(QFocusEvent* event) {
    Guarded([&] {
        const Qt::FocusReason reason = event->reason();
        // Arriving by the keyboard selects the text, so that typing replaces it.
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
             reason == Qt::ShortcutFocusReason) &&
            !hasSelectedText()) {
            selectAll();
        }
        RestartBlinking();
        update();
    });
}

void BoundedLineEdit::focusOutEvent(QFocusEvent* event) {
    Guarded([&] {
        const Qt::FocusReason reason = event->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            deselect();
        }
        StopBlinking();
        update();
    });
}

} // namespace brindle::platform::qt
