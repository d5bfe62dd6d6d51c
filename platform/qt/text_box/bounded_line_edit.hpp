#pragma once

#include "platform/qt/text_box/text_model.hpp"

#include <QBasicTimer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QTextLayout>
#include <QWidget>
#include <memory>
#include <optional>

class QStyleOptionFrame;

namespace brindle::platform::qt {

enum class ClipboardKey : unsigned char;

// A one-line text box that costs the same whatever length of text it holds. A day box accepts
// any text, a pasted mebibyte included, yet the user only ever sees a box's width of it; so this
// box lays out and paints only the characters around what is visible, finds word and character
// boundaries in a window around the cursor, and keeps a bounded undo history. It looks and
// behaves as the toolkit's own line edit does: the style's frame, padding and selection colours,
// the standard editing keys, mouse selection, the clipboards, an input method and a context menu.
// Each such behaviour is pinned by a comparison with the line edit in tests/qt/text_box_test.cpp,
// named where the behaviour is written; where the line edit is wrong, the box differs, and the
// comparisons say where.
//
// The text, cursor, selection and history are a TextModel's, and so is what each editing key
// does; the widget finds the key, takes the user's keys, mouse and input method to the model, and
// shows each change it makes through one function, Show. Its files follow its jobs: keys.cpp,
// input_method.cpp, pointer.cpp, view.cpp (layout, scrolling, geometry) and painting.cpp.
class BoundedLineEdit final : public QWidget {
    Q_OBJECT

public:
    explicit BoundedLineEdit(const QString& text = {}, QWidget* parent = nullptr);

    [[nodiscard]] const QString& text() const noexcept { return model_.Text(); }
    // A program's write: the cursor goes to the end and what could be undone is forgotten.
    void setText(const QString& text);

    [[nodiscard]] qsizetype cursorPosition() const noexcept { return model_.Cursor(); }
    void setCursorPosition(qsizetype position);
    [[nodiscard]] bool hasSelectedText() const noexcept { return model_.HasSelection(); }
    [[nodiscard]] qsizetype selectionStart() const noexcept { return model_.SelectionStart(); }
    [[nodiscard]] qsizetype selectionEnd() const noexcept { return model_.SelectionEnd(); }
    [[nodiscard]] QString selectedText() const { return model_.SelectedText(); }
    // Selects from `start` to `end`, leaving the cursor at `end`.
    void setSelection(qsizetype start, qsizetype end);
    void selectAll();
    void deselect();
    void end(bool mark);

    // The user's edits: each can be undone.
    void insert(const QString& text);
    void replace(qsizetype start, qsizetype end, const QString& text);
    void undo();
    void redo();
    [[nodiscard]] bool isUndoAvailable() const noexcept { return model_.History().CanUndo(); }
    [[nodiscard]] bool isRedoAvailable() const noexcept { return model_.History().CanRedo(); }
    void cut();
    void copy() const;
    void paste(QClipboard::Mode mode = QClipboard::Clipboard);

    // Where a character is drawn, in the box's coordinates; empty when it is scrolled out of
    // sight. Assistive technology asks this of any character.
    [[nodiscard]] QRect characterRect(qsizetype position) const;
    [[nodiscard]] QRect cursorRect() const;
    [[nodiscard]] QRect anchorRect() const;
    // The position nearest to a point in the box.
    [[nodiscard]] qsizetype positionAt(QPoint point) const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;
    [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // Every change, typed or set, and only a change.
    void textChanged(const QString& text);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The text drawn in the box: a bounded run of it from `start`, laid out on one line.
    struct Shown {
        qsizetype start = 0;
        qsizetype length = 0;
        std::unique_ptr<QTextLayout> layout;
    };

    void InitFrameOption(QStyleOptionFrame& option) const;
    [[nodiscard]] QRect ContentsArea() const;
    [[nodiscard]] QRect TextArea() const;
    [[nodiscard]] qsizetype RunCut(qsizetype position) const;
    // The run from `layout_start_`, laid out once and kept until the text, what is being composed
    // in it, the font or the run's start changes.
    [[nodiscard]] const Shown& Layout() const;
    void Relayout() noexcept { shown_.reset(); }
    // Where a position of the text is in the shown layout, past any text being composed.
    [[nodiscard]] int LayoutIndex(const Shown& shown, qsizetype position) const;
    [[nodiscard]] QPointF TextOrigin(const Shown& shown) const;
    // The cursor's x in a shown layout, rounded as the line edit rounds it.
    [[nodiscard]] int CursorX(const Shown& shown) const;
    [[nodiscard]] QRect CaretBox(qreal x) const;
    // Moves where the laid-out run starts when the cursor nears either end of it.
    void KeepCursorInLayout();
    void ScrollToCursor();

    // Shows what the model did: the window's figures hear of a new text first, before anything
    // that could fail, so that they always match it; then assistive technology, the view and the
    // input method.
    void Show(const TextChange& change);
    [[nodiscard]] bool RightToLeft() const noexcept { return model_.RightToLeft(); }
    enum class Move { Keep, Select };
    void MoveCursor(qsizetype position, Move move);
    void Edit(qsizetype start, qsizetype end, const QString& inserted);
    void Delete();
    void Perform(EditingKey key);
    void Perform(ClipboardKey key);
    void CopyToSelectionClipboard() const;
    [[nodiscard]] bool InSelection(QPoint point) const;
    void DragSelectionOut();
    [[nodiscard]] qsizetype SurroundingStart() const;
    void RestartBlinking();
    void StopBlinking();
    void Blink();

    TextModel model_;
    qsizetype layout_start_ = 0;         // where the laid-out run of the text starts
    mutable std::optional<Shown> shown_; // that run laid out, once needed
    int hscroll_ = 0;                    // its pixels left of the text area
    // What an input method is composing, drawn at the cursor in the formats it asks for (from
    // the composition's start), with its own cursor, which it may hide.
    QString preedit_;
    qsizetype preedit_cursor_ = 0;
    QList<QTextLayout::FormatRange> preedit_formats_;
    bool cursor_hidden_ = false;
    QBasicTimer blink_;
    bool cursor_shown_ = false;
    bool selecting_with_mouse_ = false;
    // Where and when the last double click was: a click there soon after selects everything.
    QPoint double_click_at_;
    QElapsedTimer since_double_click_;
    // Running from a press in the selection until the pointer moves far or stays long enough
    // to drag the selection out.
    QBasicTimer drag_timer_;
    QPoint drag_from_;
};

} // namespace brindle::platform::qt
