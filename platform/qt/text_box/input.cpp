#include "platform/qt/text_box/boundaries.hpp"
#include "platform/qt/text_box/limits.hpp"
#include "platform/qt/text_box/text_box.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextCharFormat>
#include <algorithm>
#include <optional>
#include <utility>

// What the user does to a text box: keys, an input method, the mouse, the context menu, focus.
namespace brindle::platform::qt {

using text_box_limits::ToInt;

namespace {

// Characters of context an input method is given on either side of the cursor.
constexpr qsizetype kSurroundingReach = 512;

} // namespace

// What a key does in a text box. Each is found through the platform's key bindings, so the box
// answers to the keys the user's desktop uses in every other text field.
enum class EditingKey : unsigned char {
    Undo,
    Redo,
    SelectAll,
    Copy,
    Paste,
    PasteSelection,
    Cut,
    DeleteWordBefore,
    DeleteWordAfter,
    DeleteToEnd,
    DeleteLine,
    DeleteNext,
    DeletePrevious,
    ToStart,
    ToEnd,
    SelectToStart,
    SelectToEnd,
    NextCharacter,
    PreviousCharacter,
    SelectNextCharacter,
    SelectPreviousCharacter,
    NextWord,
    PreviousWord,
    SelectNextWord,
    SelectPreviousWord,
};

namespace {

constexpr std::pair<QKeySequence::StandardKey, EditingKey> kKeyBindings[] = {
    {QKeySequence::Undo, EditingKey::Undo},
    {QKeySequence::Redo, EditingKey::Redo},
    {QKeySequence::SelectAll, EditingKey::SelectAll},
    {QKeySequence::Copy, EditingKey::Copy},
    {QKeySequence::Paste, EditingKey::Paste},
    {QKeySequence::Cut, EditingKey::Cut},
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
    {QKeySequence::MoveToNextChar, EditingKey::NextCharacter},
    {QKeySequence::MoveToPreviousChar, EditingKey::PreviousCharacter},
    {QKeySequence::SelectNextChar, EditingKey::SelectNextCharacter},
    {QKeySequence::SelectPreviousChar, EditingKey::SelectPreviousCharacter},
    {QKeySequence::MoveToNextWord, EditingKey::NextWord},
    {QKeySequence::MoveToPreviousWord, EditingKey::PreviousWord},
    {QKeySequence::SelectNextWord, EditingKey::SelectNextWord},
    {QKeySequence::SelectPreviousWord, EditingKey::SelectPreviousWord},
};

// The platform's key scheme is not public; the Windows scheme alone binds nothing to "delete to
// the end of the line" (Ctrl+K elsewhere).
bool WindowsKeyScheme() {
    static const bool windows = QKeySequence::keyBindings(QKeySequence::DeleteEndOfLine).isEmpty();
    return windows;
}

std::optional<EditingKey> KeyFor(QKeyEvent& event) {
    for (const auto& [sequence, key] : kKeyBindings) {
        if (event.matches(sequence)) {
            // Outside Windows, Ctrl+Shift+Insert pastes what is selected anywhere on the screen.
            if (key == EditingKey::Paste && !WindowsKeyScheme() && event.key() == Qt::Key_Insert &&
                event.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
                return EditingKey::PasteSelection;
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

void TextBox::Perform(EditingKey key) {
    const auto select_to = [this](qsizetype position) { MoveCursor(position, Move::Select); };
    const auto move_to = [this](qsizetype position) { MoveCursor(position, Move::Keep); };
    const auto character_right = [this] {
        return RightToLeft() ? PreviousCharacter(text(), cursorPosition())
                             : NextCharacter(text(), cursorPosition());
    };
    const auto character_left = [this] {
        return RightToLeft() ? NextCharacter(text(), cursorPosition())
                             : PreviousCharacter(text(), cursorPosition());
    };
    const auto word_right = [this] {
        return RightToLeft() ? PreviousWordStart(text(), cursorPosition())
                             : NextWordStart(text(), cursorPosition());
    };
    const auto word_left = [this] {
        return RightToLeft() ? NextWordStart(text(), cursorPosition())
                             : PreviousWordStart(text(), cursorPosition());
    };
    switch (key) {
    case EditingKey::Undo:
        undo();
        break;
    case EditingKey::Redo:
        redo();
        break;
    case EditingKey::SelectAll:
        selectAll();
        break;
    case EditingKey::Copy:
        copy();
        break;
    case EditingKey::Paste:
        paste();
        break;
    case EditingKey::PasteSelection:
        paste(QClipboard::Selection);
        break;
    case EditingKey::Cut:
        cut();
        break;
    case EditingKey::DeleteWordBefore:
        // The selection grows by the word before the cursor, then goes (pinned by
        // TextBox.AnswersEveryEditingKeyAsTheLineEditDoes). Unlike the line edit's
        // Ctrl+Shift+Backspace, nothing after the cursor ever goes.
        select_to(PreviousWordStart(text(), cursorPosition()));
        if (hasSelectedText()) {
            Delete();
        }
        break;
    case EditingKey::DeleteWordAfter:
        select_to(NextWordStart(text(), cursorPosition()));
        Delete();
        break;
    case EditingKey::DeleteToEnd: // from the cursor, whatever was selected (Ctrl+K on X11)
        setSelection(cursorPosition(), text().size());
        cut();
        break;
    case EditingKey::DeleteLine: // all of it, to the clipboard (Ctrl+U on X11)
        selectAll();
        cut();
        break;
    case EditingKey::DeleteNext:
        Delete();
        break;
    case EditingKey::DeletePrevious:
        Backspace();
        break;
    case EditingKey::ToStart:
        move_to(0);
        break;
    case EditingKey::ToEnd:
        move_to(text().size());
        break;
    case EditingKey::SelectToStart:
        select_to(0);
        break;
    case EditingKey::SelectToEnd:
        select_to(text().size());
        break;
    // Outside the Windows key scheme an arrow collapses a selection to its end on that side, as
    // the line edit does (pinned by TextBoxOnX11's random editing against it). The arrows and the
    // word steps go through the text in its reading direction: Right steps back through a text
    // that reads right to left (pinned by TextBox.ReadsRightToLeftAsTheLineEditDoes).
    case EditingKey::NextCharacter:
        move_to(hasSelectedText() && !WindowsKeyScheme() ? selectionEnd() : character_right());
        break;
    case EditingKey::PreviousCharacter:
        move_to(hasSelectedText() && !WindowsKeyScheme() ? selectionStart() : character_left());
        break;
    case EditingKey::SelectNextCharacter:
        select_to(character_right());
        break;
    case EditingKey::SelectPreviousCharacter:
        select_to(character_left());
        break;
    case EditingKey::NextWord:
        move_to(word_right());
        break;
    case EditingKey::PreviousWord:
        move_to(word_left());
        break;
    case EditingKey::SelectNextWord:
        select_to(word_right());
        break;
    case EditingKey::SelectPreviousWord:
        select_to(word_left());
        break;
    }
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    Guarded([&] {
        if (const std::optional<EditingKey> key = KeyFor(*event)) {
            Perform(*key);
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

bool TextBox::event(QEvent* event) {
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

// ---- Input methods ----

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    Guarded([&] {
        // Selections count from the start of the surrounding text the method was last given;
        // the text before it is not what the method replaces.
        const qsizetype surrounding = SurroundingStart();
        const QRect cursor_before = cursorRect();
        qsizetype start = selectionStart();
        qsizetype end = selectionEnd();
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            start = std::clamp<qsizetype>(cursorPosition() + event->replacementStart(), 0,
                                          text().size());
            end = std::clamp<qsizetype>(start + event->replacementLength(), start, text().size());
        }
        // An event that commits, replaces or changes the composition takes the selection's
        // place; one that only sets attributes (or nothing) leaves the text alone.
        const bool input = !event->commitString().isEmpty() || event->replacementLength() > 0 ||
                           event->preeditString() != preedit_;
        if (input && (!event->commitString().isEmpty() || start != end)) {
            Edit(start, end, event->commitString());
        }
        preedit_ = event->preeditString();
        preedit_cursor_ = preedit_.size();
        preedit_formats_.clear();
        cursor_hidden_ = false;
        for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
            if (attribute.type == QInputMethodEvent::Cursor) {
                preedit_cursor_ = std::clamp<qsizetype>(attribute.start, 0, preedit_.size());
                cursor_hidden_ = attribute.length == 0;
            } else if (attribute.type == QInputMethodEvent::TextFormat) {
                const QTextCharFormat format =
                    qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
                if (format.isValid()) {
                    preedit_formats_.append({attribute.start, attribute.length, format});
                }
            } else if (attribute.type == QInputMethodEvent::Selection) {
                setSelection(surrounding + attribute.start,
                             surrounding + attribute.start + attribute.length);
            }
        }
        ScrollToCursor();
        update();
        // The method hears of a moved cursor, and only of that (its edits and selections tell it
        // themselves), as from the line edit (pinned by TextBox.ComposesAsTheLineEditDoes).
        if (cursorRect() != cursor_before) {
            updateMicroFocus();
        }
        event->accept();
    });
}

// The surrounding text is a window around the cursor: an input method needs context, not a
// mebibyte of it on every keystroke.
qsizetype TextBox::SurroundingStart() const {
    return CharacterStart(text(), cursorPosition() - kSurroundingReach);
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    return GuardedOr(QVariant(), [&]() -> QVariant {
        const qsizetype window_start = SurroundingStart();
        const qsizetype window_end = CharacterStart(text(), cursorPosition() + kSurroundingReach);
        switch (query) {
        case Qt::ImEnabled:
            return isEnabled();
        case Qt::ImCursorRectangle:
            return cursorRect();
        case Qt::ImAnchorRectangle:
            return anchorRect();
        case Qt::ImFont:
            return font();
        case Qt::ImCursorPosition:
            return ToInt(cursorPosition() - window_start);
        case Qt::ImAnchorPosition:
            return ToInt(std::clamp(model_.Anchor(), window_start, window_end) - window_start);
        case Qt::ImSurroundingText:
            return text().mid(window_start, window_end - window_start);
        case Qt::ImTextBeforeCursor:
            return text().mid(window_start, cursorPosition() - window_start);
        case Qt::ImTextAfterCursor:
            return text().mid(cursorPosition(), window_end - cursorPosition());
        case Qt::ImCurrentSelection:
            return selectedText();
        case Qt::ImHints:
            return static_cast<int>(inputMethodHints());
        case Qt::ImReadOnly:
            return false;
        default:
            return QWidget::inputMethodQuery(query);
        }
    });
}

// ---- Mouse ----

void TextBox::mousePressEvent(QMouseEvent* event) {
    Guarded([&] {
        const QPoint point = event->position().toPoint();
        if (event->button() == Qt::LeftButton) {
            if (!preedit_.isEmpty()) {
                QGuiApplication::inputMethod()->commit();
            }
            // The third click of a triple click selects everything (pinned by
            // TextBox.SelectsWithTheMouseAsTheLineEditDoes).
            if (since_double_click_.isValid() &&
                since_double_click_.elapsed() < QApplication::doubleClickInterval() &&
                (point - double_click_at_).manhattanLength() < QApplication::startDragDistance()) {
                since_double_click_.invalidate();
                selectAll();
                CopyToSelectionClipboard();
                return;
            }
            const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
            if (!extend && InSelection(point)) {
                // Perhaps the start of dragging the selection out: that is decided by how far
                // or how long the pointer moves with the button down.
                drag_from_ = point;
                drag_timer_.start(QApplication::startDragTime(), this);
                return;
            }
            selecting_with_mouse_ = true;
            MoveCursor(positionAt(point), extend ? Move::Select : Move::Keep);
        } else if (event->button() == Qt::MiddleButton &&
                   QApplication::clipboard()->supportsSelection()) {
            MoveCursor(positionAt(point), Move::Keep);
            insert(QApplication::clipboard()->text(QClipboard::Selection));
        } else {
            event->ignore();
        }
    });
}

void TextBox::mouseMoveEvent(QMouseEvent* event) {
    Guarded([&] {
        if (drag_timer_.isActive()) {
            if ((event->position().toPoint() - drag_from_).manhattanLength() >
                QApplication::startDragDistance()) {
                DragSelectionOut();
            }
            return;
        }
        if (!selecting_with_mouse_ || !event->buttons().testFlag(Qt::LeftButton)) {
            return;
        }
        const QPoint point = event->position().toPoint();
        // Past either edge the selection reaches the character as far out as the pointer, and
        // the view follows it: the further out, the faster it scrolls, as in the line edit.
        MoveCursor(positionAt(point), Move::Select);
    });
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    Guarded([&] {
        if (event->button() == Qt::LeftButton && drag_timer_.isActive()) {
            // A click in the selection after all: it puts the cursor there, as any click does.
            drag_timer_.stop();
            MoveCursor(positionAt(drag_from_), Move::Keep);
            return;
        }
        if (event->button() == Qt::LeftButton && selecting_with_mouse_) {
            selecting_with_mouse_ = false;
            CopyToSelectionClipboard();
        }
    });
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    Guarded([&] {
        if (event->button() == Qt::LeftButton) {
            const auto [start, end] = WordAt(text(), positionAt(event->position().toPoint()));
            if (start != end || end != cursorPosition()) {
                model_.Separate();
            }
            setSelection(start, end);
            selecting_with_mouse_ = true;
            double_click_at_ = event->position().toPoint();
            since_double_click_.start();
        }
    });
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    Guarded([&] {
        auto* const menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        const auto add = [&](const QString& text, QKeySequence::StandardKey key, bool enabled,
                             auto command) {
            QString label = text;
            if (const QKeySequence shortcut(key); !shortcut.isEmpty()) {
                label += QLatin1Char('\t') + shortcut.toString(QKeySequence::NativeText);
            }
            QAction* const action = menu->addAction(label);
            action->setEnabled(enabled);
            connect(action, &QAction::triggered, this, [command] { Guarded(command); });
        };
        const bool selected = hasSelectedText();
        add(tr("&Undo"), QKeySequence::Undo, isUndoAvailable(), [this] { undo(); });
        add(tr("&Redo"), QKeySequence::Redo, isRedoAvailable(), [this] { redo(); });
        menu->addSeparator();
        add(tr("Cu&t"), QKeySequence::Cut, selected, [this] { cut(); });
        add(tr("&Copy"), QKeySequence::Copy, selected, [this] { copy(); });
        add(tr("&Paste"), QKeySequence::Paste, !QApplication::clipboard()->text().isEmpty(),
            [this] { paste(); });
        add(tr("Delete"), QKeySequence::UnknownKey, selected, [this] {
            Delete();
            model_.Separate();
        });
        menu->addSeparator();
        const bool all_selected = selectionStart() == 0 && selectionEnd() == text().size();
        add(tr("Select All"), QKeySequence::SelectAll, !text().isEmpty() && !all_selected,
            [this] { selectAll(); });
        menu->popup(event->globalPos());
    });
}

bool TextBox::InSelection(QPoint point) const {
    if (!hasSelectedText()) {
        return false;
    }
    const Shown shown = LayOutFrom(layout_start_);
    const qsizetype on =
        shown.start + shown.layout->lineAt(0).xToCursor(point.x() - TextOrigin(shown).x(),
                                                        QTextLine::CursorOnCharacter);
    return on >= selectionStart() && on < selectionEnd();
}

// The selection goes out as text to wherever it is dropped, and stays: it is copied, as from the
// line edit, so that a drop elsewhere never takes anything from a day box (pinned by
// TextBox.DragsItsSelectionOutAsText).
void TextBox::DragSelectionOut() {
    drag_timer_.stop();
    auto* const drag = new QDrag(this);
    auto* const text = new QMimeData;
    text->setText(selectedText());
    drag->setMimeData(text);
    drag->exec(Qt::CopyAction);
}

// Text dragged from elsewhere goes where it is dropped, as in any text field. While it is over
// the box the cursor shows where that will be.
void TextBox::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void TextBox::dragMoveEvent(QDragMoveEvent* event) {
    Guarded([&] {
        if (event->mimeData()->hasText()) {
            event->acceptProposedAction();
            MoveCursor(positionAt(event->position().toPoint()), Move::Keep);
            cursor_shown_ = true;
            update();
        }
    });
}

void TextBox::dragLeaveEvent(QDragLeaveEvent* /*event*/) {
    cursor_shown_ = false;
    update();
}

void TextBox::dropEvent(QDropEvent* event) {
    Guarded([&] {
        if (!event->mimeData()->hasText()) {
            return;
        }
        // Dropped on itself, the text is copied to the drop and selected there.
        const bool own = event->source() == this;
        if (own) {
            deselect();
        }
        const qsizetype at = positionAt(event->position().toPoint());
        MoveCursor(at, Move::Keep);
        const QString dropped = event->mimeData()->text();
        insert(dropped);
        event->acceptProposedAction();
        cursor_shown_ = hasFocus();
        if (own) {
            setSelection(at, at + dropped.size());
        }
    });
}

// ---- Focus and the blinking cursor ----

void TextBox::focusInEvent(QFocusEvent* event) {
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

void TextBox::focusOutEvent(QFocusEvent* event) {
    Guarded([&] {
        const Qt::FocusReason reason = event->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            deselect();
        }
        StopBlinking();
        update();
    });
}

void TextBox::RestartBlinking() {
    cursor_shown_ = hasFocus();
    const int flash = QApplication::cursorFlashTime();
    if (cursor_shown_ && flash >= 2) {
        blink_.start(flash / 2, this);
    } else {
        blink_.stop();
    }
}

void TextBox::StopBlinking() {
    cursor_shown_ = false;
    blink_.stop();
}

void TextBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() == drag_timer_.timerId()) {
        // Held down in the selection long enough: the user means to drag it.
        Guarded([&] { DragSelectionOut(); });
        return;
    }
    if (event->timerId() != blink_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    cursor_shown_ = !cursor_shown_;
    // Only the cursor's few pixels are painted again, and only the visible characters laid out.
    Guarded([&] { update(cursorRect()); });
}

void TextBox::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange:
        Guarded([&] { ScrollToCursor(); });
        update();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::ActivationChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TextBox::resizeEvent(QResizeEvent* event) {
    Guarded([&] { ScrollToCursor(); });
    QWidget::resizeEvent(event);
}

} // namespace brindle::platform::qt
