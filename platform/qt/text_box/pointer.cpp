#include "platform/qt/text_box/boundaries.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QInputMethod>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

// The pointer: selecting with the mouse, the middle click's paste, the context menu, and dragging
// text out of the box and dropping text into it.
namespace brindle::platform::qt {

void BoundedLineEdit::mousePressEvent(QMouseEvent* event) {
    Guarded([&] {
        const QPoint point = event->position().toPoint();
        if (event->button() == Qt::LeftButton) {
            if (!preedit_.isEmpty()) {
                QGuiApplication::inputMethod()->commit();
            }
            // The third click of a triple click selects everything (pinned by
            // BoundedLineEdit.SelectsWithTheMouseAsTheLineEditDoes).
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

void BoundedLineEdit::mouseMoveEvent(QMouseEvent* event) {
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

void BoundedLineEdit::mouseReleaseEvent(QMouseEvent* event) {
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

void BoundedLineEdit::mouseDoubleClickEvent(QMouseEvent* event) {
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

void BoundedLineEdit::contextMenuEvent(QContextMenuEvent* event) {
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

bool BoundedLineEdit::InSelection(QPoint point) const {
    if (!hasSelectedText()) {
        return false;
    }
    const Shown& shown = Layout();
    const qsizetype on =
        shown.start + shown.layout->lineAt(0).xToCursor(point.x() - TextOrigin(shown).x(),
                                                        QTextLine::CursorOnCharacter);
    return on >= selectionStart() && on < selectionEnd();
}

// The selection goes out as text to wherever it is dropped, and stays: it is copied, as from the
// line edit, so that a drop elsewhere never takes anything from a day box (pinned by
// BoundedLineEdit.DragsItsSelectionOutAsText).
void BoundedLineEdit::DragSelectionOut() {
    drag_timer_.stop();
    auto* const drag = new QDrag(this);
    auto* const text = new QMimeData;
    text->setText(selectedText());
    drag->setMimeData(text);
    drag->exec(Qt::CopyAction);
}

// Text dragged from elsewhere goes where it is dropped, as in any text field. While it is over
// the box the cursor shows where that will be.
void BoundedLineEdit::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void BoundedLineEdit::dragMoveEvent(QDragMoveEvent* event) {
    Guarded([&] {
        if (event->mimeData()->hasText()) {
            event->acceptProposedAction();
            MoveCursor(positionAt(event->position().toPoint()), Move::Keep);
            cursor_shown_ = true;
            update();
        }
    });
}

void BoundedLineEdit::dragLeaveEvent(QDragLeaveEvent* /*event*/) {
    cursor_shown_ = false;
    update();
}

void BoundedLineEdit::dropEvent(QDropEvent* event) {
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

} // namespace brindle::platform::qt
