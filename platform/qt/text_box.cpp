#include "platform/qt/text_box.hpp"

#include "platform/qt/text_boundaries.hpp"
#include "platform/qt/toolkit_guard.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

namespace brindle::platform::qt {
namespace {

// The most characters laid out at once: more than any box shows, few enough to cost nothing.
constexpr qsizetype kShownLimit = 1024;
// Between the style's contents rectangle and the text, as the toolkit's line edit keeps it.
constexpr int kHorizontalMargin = 2;
// Characters of context an input method is given on either side of the cursor.
constexpr qsizetype kSurroundingReach = 512;

// Offsets handed to interfaces that count in int; a text longer than that is reported capped.
int ToInt(qsizetype value) {
    return static_cast<int>(std::clamp<qsizetype>(value, INT_MIN, INT_MAX));
}

// Control characters drawn as spaces, as a line edit draws them, so that a pasted line break
// neither breaks the line nor vanishes.
QString Displayed(QStringView text) {
    QString shown = text.toString();
    for (QChar& c : shown) {
        if ((c.unicode() < 0x20 && c != QChar::Tabulation) || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter) {
            c = QChar::Space;
        }
    }
    return shown;
}

void Announce(QAccessibleEvent&& event) {
    QAccessible::updateAccessibility(&event);
}

// What a key does in a text box. Each is found through the platform's key bindings, so the box
// answers to the keys the user's desktop uses in every other text field.
} // namespace

enum class EditingKey : unsigned char {
    Undo,
    Redo,
    SelectAll,
    Copy,
    Paste,
    Cut,
    DeleteWordBefore,
    DeleteWordAfter,
    DeleteToEnd,
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

using Action = EditingKey;

constexpr std::pair<QKeySequence::StandardKey, Action> kKeyBindings[] = {
    {QKeySequence::Undo, Action::Undo},
    {QKeySequence::Redo, Action::Redo},
    {QKeySequence::SelectAll, Action::SelectAll},
    {QKeySequence::Copy, Action::Copy},
    {QKeySequence::Paste, Action::Paste},
    {QKeySequence::Cut, Action::Cut},
    {QKeySequence::DeleteStartOfWord, Action::DeleteWordBefore},
    {QKeySequence::DeleteEndOfWord, Action::DeleteWordAfter},
    {QKeySequence::DeleteEndOfLine, Action::DeleteToEnd},
    {QKeySequence::Delete, Action::DeleteNext},
    {QKeySequence::MoveToStartOfLine, Action::ToStart},
    {QKeySequence::MoveToStartOfBlock, Action::ToStart},
    {QKeySequence::MoveToStartOfDocument, Action::ToStart},
    {QKeySequence::MoveToEndOfLine, Action::ToEnd},
    {QKeySequence::MoveToEndOfBlock, Action::ToEnd},
    {QKeySequence::MoveToEndOfDocument, Action::ToEnd},
    {QKeySequence::SelectStartOfLine, Action::SelectToStart},
    {QKeySequence::SelectStartOfBlock, Action::SelectToStart},
    {QKeySequence::SelectStartOfDocument, Action::SelectToStart},
    {QKeySequence::SelectEndOfLine, Action::SelectToEnd},
    {QKeySequence::SelectEndOfBlock, Action::SelectToEnd},
    {QKeySequence::SelectEndOfDocument, Action::SelectToEnd},
    {QKeySequence::MoveToNextChar, Action::NextCharacter},
    {QKeySequence::MoveToPreviousChar, Action::PreviousCharacter},
    {QKeySequence::SelectNextChar, Action::SelectNextCharacter},
    {QKeySequence::SelectPreviousChar, Action::SelectPreviousCharacter},
    {QKeySequence::MoveToNextWord, Action::NextWord},
    {QKeySequence::MoveToPreviousWord, Action::PreviousWord},
    {QKeySequence::SelectNextWord, Action::SelectNextWord},
    {QKeySequence::SelectPreviousWord, Action::SelectPreviousWord},
};

std::optional<Action> ActionFor(QKeyEvent& event) {
    for (const auto& [key, action] : kKeyBindings) {
        if (event.matches(key)) {
            return action;
        }
    }
    // Backspace erases with or without Shift, as it does in every text field.
    if (event.key() == Qt::Key_Backspace &&
        (event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier) {
        return Action::DeletePrevious;
    }
    return std::nullopt;
}

bool IsTyping(const QKeyEvent& event) {
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint() &&
           !event.modifiers().testAnyFlags(Qt::ControlModifier | Qt::MetaModifier);
}

} // namespace

TextBox::TextBox(const QString& text, QWidget* parent)
    : QWidget(parent), text_(text), cursor_(text.size()), anchor_(cursor_) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression);
    setAttribute(Qt::WA_MacShowFocusRect);
    setBackgroundRole(QPalette::Base);
    setCursor(Qt::IBeamCursor);
    setSizePolicy(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::LineEdit));
    ScrollToCursor();
}

void TextBox::setText(const QString& text) {
    if (text == text_ && cursor_ == text_.size() && anchor_ == cursor_) {
        return;
    }
    const QString removed = text_;
    const bool changed = text != text_;
    Apply(0, text_.size(), text);
    history_.Clear();
    cursor_ = anchor_ = text_.size();
    if (changed) {
        Changed(0, removed, text_);
    } else {
        MoveCursor(cursor_, Move::Keep);
    }
}

qsizetype TextBox::selectionStart() const noexcept {
    return std::min(cursor_, anchor_);
}

qsizetype TextBox::selectionEnd() const noexcept {
    return std::max(cursor_, anchor_);
}

QString TextBox::selectedText() const {
    return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void TextBox::setCursorPosition(qsizetype position) {
    MoveCursor(position, Move::Keep);
}

void TextBox::setSelection(qsizetype start, qsizetype end) {
    anchor_ = CharacterStart(text_, start);
    MoveCursor(end, Move::Select);
}

void TextBox::selectAll() {
    setSelection(0, text_.size());
}

void TextBox::deselect() {
    MoveCursor(cursor_, Move::Keep);
}

void TextBox::home(bool mark) {
    MoveCursor(0, mark ? Move::Select : Move::Keep);
}

void TextBox::end(bool mark) {
    MoveCursor(text_.size(), mark ? Move::Select : Move::Keep);
}

void TextBox::insert(const QString& text) {
    Edit(selectionStart(), selectionEnd(), text, EditHistory::Kind::Other);
}

void TextBox::replace(qsizetype start, qsizetype end, const QString& text) {
    Edit(start, end, text, EditHistory::Kind::Other);
}

void TextBox::undo() {
    if (!preedit_.isEmpty()) {
        return;
    }
    if (const std::optional<TextEdit> edit = history_.Undo()) {
        Apply(edit->position, edit->inserted.size(), edit->removed);
        cursor_ = edit->cursor_before;
        anchor_ = edit->anchor_before;
        Changed(edit->position, edit->inserted, edit->removed);
    }
}

void TextBox::redo() {
    if (!preedit_.isEmpty()) {
        return;
    }
    if (const std::optional<TextEdit> edit = history_.Redo()) {
        Apply(edit->position, edit->removed.size(), edit->inserted);
        cursor_ = anchor_ = edit->position + edit->inserted.size();
        Changed(edit->position, edit->removed, edit->inserted);
    }
}

void TextBox::cut() {
    if (hasSelectedText()) {
        copy();
        insert({});
    }
}

void TextBox::copy() const {
    if (hasSelectedText()) {
        QApplication::clipboard()->setText(selectedText());
    }
}

void TextBox::paste() {
    const QString pasted = QApplication::clipboard()->text();
    if (!pasted.isEmpty() || hasSelectedText()) {
        history_.Separate();
        insert(pasted);
    }
}

void TextBox::CopyToSelectionClipboard() const {
    QClipboard* const clipboard = QApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection()) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

// ---- Editing ----

void TextBox::Edit(qsizetype start, qsizetype end, const QString& inserted,
                   EditHistory::Kind kind) {
    start = CharacterStart(text_, start);
    end = std::max(start, CharacterStart(text_, end));
    if (start == end && inserted.isEmpty()) {
        return;
    }
    TextEdit edit{start, text_.mid(start, end - start), inserted, cursor_, anchor_};
    Apply(start, end - start, inserted);
    cursor_ = anchor_ = start + inserted.size();
    try {
        history_.Record(edit, kind);
    } catch (...) {
        // The text changed but its history could not hold the change: nothing before it can
        // be undone correctly any more.
        history_.Clear();
    }
    Changed(start, edit.removed, inserted);
}

void TextBox::Apply(qsizetype start, qsizetype length, const QString& inserted) {
    if (start == 0 && length == text_.size()) {
        text_ = inserted; // shares the pasted text rather than copying it
    } else {
        text_.replace(start, length, inserted);
        // A box emptied of a huge text gives the memory back.
        if (text_.capacity() > 4 * text_.size() + kShownLimit) {
            text_.squeeze();
        }
    }
    // Text before the laid-out run changed: measure from the edit instead, keeping the scroll as
    // the line edit keeps it when text before its view changes.
    layout_start_ = CharacterStart(text_, std::min(layout_start_, start));
}

void TextBox::Changed(qsizetype start, const QString& removed, const QString& inserted) {
    if (QAccessible::isActive()) {
        if (removed.isEmpty()) {
            Announce(QAccessibleTextInsertEvent(this, ToInt(start), inserted));
        } else if (inserted.isEmpty()) {
            Announce(QAccessibleTextRemoveEvent(this, ToInt(start), removed));
        } else {
            Announce(QAccessibleTextUpdateEvent(this, ToInt(start), removed, inserted));
        }
        Announce(QAccessibleTextCursorEvent(this, ToInt(cursor_)));
    }
    ScrollToCursor();
    RestartBlinking();
    update();
    emit textChanged(text_);
}

void TextBox::MoveCursor(qsizetype position, Move move) {
    const qsizetype old_start = selectionStart();
    const qsizetype old_end = selectionEnd();
    const qsizetype old_cursor = cursor_;
    cursor_ = CharacterStart(text_, position);
    if (move == Move::Keep) {
        anchor_ = cursor_;
    }
    history_.Separate();
    ScrollToCursor();
    RestartBlinking();
    update();
    if (QAccessible::isActive()) {
        if (old_start != selectionStart() || old_end != selectionEnd()) {
            Announce(QAccessibleTextSelectionEvent(this, ToInt(selectionStart()),
                                                   ToInt(selectionEnd())));
        }
        if (old_cursor != cursor_) {
            Announce(QAccessibleTextCursorEvent(this, ToInt(cursor_)));
        }
    }
}

void TextBox::Backspace() {
    if (hasSelectedText()) {
        insert({});
        return;
    }
    // One code point at a time, so that an accent typed after its letter can be taken back
    // without the letter.
    qsizetype from = cursor_ - 1;
    if (from > 0 && text_.at(from).isLowSurrogate() && text_.at(from - 1).isHighSurrogate()) {
        --from;
    }
    if (from >= 0) {
        Edit(from, cursor_, {}, EditHistory::Kind::Erased);
    }
}

void TextBox::Delete() {
    if (hasSelectedText()) {
        insert({});
    } else if (cursor_ < text_.size()) {
        Edit(cursor_, NextCharacter(text_, cursor_), {}, EditHistory::Kind::Other);
    }
}

// ---- Keys ----

void TextBox::Perform(EditingKey action) {
    const auto select_to = [this](qsizetype position) { MoveCursor(position, Move::Select); };
    const auto move_to = [this](qsizetype position) { MoveCursor(position, Move::Keep); };
    switch (action) {
    case Action::Undo:
        undo();
        break;
    case Action::Redo:
        redo();
        break;
    case Action::SelectAll:
        selectAll();
        CopyToSelectionClipboard();
        break;
    case Action::Copy:
        copy();
        break;
    case Action::Paste:
        paste();
        break;
    case Action::Cut:
        cut();
        break;
    case Action::DeleteWordBefore:
        // The selection grows by the word before the cursor, then goes. Forwards, when that
        // leaves nothing selected, the character after the cursor goes instead: both as in every
        // other text field of the toolkit.
        select_to(PreviousWordStart(text_, cursor_));
        if (hasSelectedText()) {
            Delete();
        }
        break;
    case Action::DeleteWordAfter:
        select_to(NextWordStart(text_, cursor_));
        Delete();
        break;
    case Action::DeleteToEnd:
        select_to(text_.size());
        cut();
        break;
    case Action::DeleteNext:
        Delete();
        break;
    case Action::DeletePrevious:
        Backspace();
        break;
    case Action::ToStart:
        move_to(0);
        break;
    case Action::ToEnd:
        move_to(text_.size());
        break;
    case Action::SelectToStart:
        select_to(0);
        break;
    case Action::SelectToEnd:
        select_to(text_.size());
        break;
    case Action::NextCharacter:
        move_to(NextCharacter(text_, cursor_));
        break;
    case Action::PreviousCharacter:
        move_to(PreviousCharacter(text_, cursor_));
        break;
    case Action::SelectNextCharacter:
        select_to(NextCharacter(text_, cursor_));
        break;
    case Action::SelectPreviousCharacter:
        select_to(PreviousCharacter(text_, cursor_));
        break;
    case Action::NextWord:
        move_to(NextWordStart(text_, cursor_));
        break;
    case Action::PreviousWord:
        move_to(PreviousWordStart(text_, cursor_));
        break;
    case Action::SelectNextWord:
        select_to(NextWordStart(text_, cursor_));
        break;
    case Action::SelectPreviousWord:
        select_to(PreviousWordStart(text_, cursor_));
        break;
    }
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    Guarded([&] {
        if (const std::optional<Action> action = ActionFor(*event)) {
            Perform(*action);
        } else if (IsTyping(*event)) {
            Edit(selectionStart(), selectionEnd(), event->text(),
                 hasSelectedText() ? EditHistory::Kind::Other : EditHistory::Kind::Typed);
        } else {
            // Tab, Return, Escape and the rest belong to the window.
            event->ignore();
            return;
        }
        event->accept();
    });
}

bool TextBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The box's own keys must reach it even if something in the window binds them.
        auto* const key = dynamic_cast<QKeyEvent*>(event);
        if (key != nullptr && (ActionFor(*key) || IsTyping(*key))) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

// ---- Input methods ----

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    Guarded([&] {
        qsizetype start = selectionStart();
        qsizetype end = selectionEnd();
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            start = std::clamp<qsizetype>(cursor_ + event->replacementStart(), 0, text_.size());
            end = std::clamp<qsizetype>(start + event->replacementLength(), start, text_.size());
        }
        if (!event->commitString().isEmpty() || start != end) {
            Edit(start, end, event->commitString(), EditHistory::Kind::Other);
        }
        preedit_ = event->preeditString();
        preedit_cursor_ = preedit_.size();
        for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
            if (attribute.type == QInputMethodEvent::Cursor) {
                preedit_cursor_ = std::clamp<qsizetype>(attribute.start, 0, preedit_.size());
            } else if (attribute.type == QInputMethodEvent::Selection) {
                const qsizetype base = cursor_ + event->replacementStart();
                setSelection(base + attribute.start, base + attribute.start + attribute.length);
            }
        }
        ScrollToCursor();
        update();
        event->accept();
    });
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    return GuardedOr(QVariant(), [&]() -> QVariant {
        // The surrounding text is a window around the cursor: an input method needs context,
        // not a mebibyte of it on every keystroke.
        const qsizetype window_start = CharacterStart(text_, cursor_ - kSurroundingReach);
        const qsizetype window_end = CharacterStart(text_, cursor_ + kSurroundingReach);
        switch (query) {
        case Qt::ImEnabled:
            return isEnabled();
        case Qt::ImCursorRectangle:
        case Qt::ImAnchorRectangle:
            return cursorRect();
        case Qt::ImFont:
            return font();
        case Qt::ImCursorPosition:
            return ToInt(cursor_ - window_start);
        case Qt::ImAnchorPosition:
            return ToInt(std::clamp(anchor_, window_start, window_end) - window_start);
        case Qt::ImSurroundingText:
            return text_.mid(window_start, window_end - window_start);
        case Qt::ImTextBeforeCursor:
            return text_.mid(window_start, cursor_ - window_start);
        case Qt::ImTextAfterCursor:
            return text_.mid(cursor_, window_end - cursor_);
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
            selecting_with_mouse_ = true;
            MoveCursor(positionAt(point),
                       event->modifiers().testFlag(Qt::ShiftModifier) ? Move::Select : Move::Keep);
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
        if (!selecting_with_mouse_ || !event->buttons().testFlag(Qt::LeftButton)) {
            return;
        }
        const QPoint point = event->position().toPoint();
        // Dragging past the left edge scrolls back a character at a time.
        MoveCursor(point.x() < TextArea().left() ? PreviousCharacter(text_, firstVisible())
                                                 : positionAt(point),
                   Move::Select);
    });
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    Guarded([&] {
        if (event->button() == Qt::LeftButton && selecting_with_mouse_) {
            selecting_with_mouse_ = false;
            CopyToSelectionClipboard();
        }
    });
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    Guarded([&] {
        if (event->button() == Qt::LeftButton) {
            const auto [start, end] = WordAt(text_, positionAt(event->position().toPoint()));
            setSelection(start, end);
            selecting_with_mouse_ = true;
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
        add(tr("Delete"), QKeySequence::UnknownKey, selected, [this] { Delete(); });
        menu->addSeparator();
        add(tr("Select All"), QKeySequence::SelectAll, !text_.isEmpty(), [this] { selectAll(); });
        menu->popup(event->globalPos());
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

// ---- Geometry and painting ----

void TextBox::InitFrameOption(QStyleOptionFrame& option) const {
    option.initFrom(this);
    option.rect = contentsRect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
}

QRect TextBox::ContentsArea() const {
    QStyleOptionFrame option;
    InitFrameOption(option);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
}

QRect TextBox::TextArea() const {
    const QRect contents = ContentsArea();
    const int line = fontMetrics().height();
    const int top = contents.y() + (contents.height() - line + 1) / 2;
    return {contents.x() + kHorizontalMargin, top, contents.width() - 2 * kHorizontalMargin, line};
}

QSize TextBox::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    const int height = std::max(metrics.height(), std::max(14, icon - 2)) + 2;
    const int width = metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * kHorizontalMargin;
    QStyleOptionFrame option;
    InitFrameOption(option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

QSize TextBox::minimumSizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int height = metrics.height() + 2;
    const int width = metrics.maxWidth() + 2 * kHorizontalMargin;
    QStyleOptionFrame option;
    InitFrameOption(option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

TextBox::Shown TextBox::LayOutFrom(qsizetype start) const {
    Shown shown;
    shown.start = start;
    shown.length = CharacterStart(text_, std::min(text_.size(), start + kShownLimit)) - start;
    shown.layout = std::make_unique<QTextLayout>(
        Displayed(QStringView(text_).mid(start, shown.length)), font());
    QTextOption option;
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setTextDirection(layoutDirection());
    shown.layout->setTextOption(option);
    if (!preedit_.isEmpty() && cursor_ >= start && cursor_ <= start + shown.length) {
        shown.layout->setPreeditArea(ToInt(cursor_ - start), preedit_);
        QTextLayout::FormatRange underline;
        underline.start = ToInt(cursor_ - start);
        underline.length = ToInt(preedit_.size());
        underline.format.setFontUnderline(true);
        shown.layout->setFormats({underline});
    }
    shown.layout->beginLayout();
    shown.layout->createLine();
    shown.layout->endLayout();
    return shown;
}

int TextBox::LayoutIndex(const Shown& shown, qsizetype position) const {
    qsizetype index = std::clamp<qsizetype>(position - shown.start, 0, shown.length);
    if (!preedit_.isEmpty() && position > cursor_) {
        index += preedit_.size();
    }
    return ToInt(index);
}

QPointF TextBox::TextOrigin(const Shown& shown) const {
    const QRect area = TextArea();
    const QTextLine line = shown.layout->lineAt(0);
    // A fallback font with a taller ascent still puts the baseline where the box's font has it.
    return {static_cast<qreal>(area.left() - hscroll_),
            static_cast<qreal>(area.top() - (qRound(line.ascent()) - fontMetrics().ascent()))};
}

int TextBox::CursorX(const Shown& shown) const {
    const int index = LayoutIndex(shown, cursor_) + ToInt(preedit_cursor_);
    return qRound(shown.layout->lineAt(0).cursorToX(index));
}

void TextBox::KeepCursorInLayout() {
    constexpr qsizetype kMargin = kShownLimit / 4;
    const bool near_start = layout_start_ > 0 && cursor_ < layout_start_ + kMargin;
    const bool near_end = layout_start_ + kShownLimit < text_.size() &&
                          cursor_ > layout_start_ + kShownLimit - kMargin;
    if (!near_start && !near_end) {
        return;
    }
    const qsizetype start = CharacterStart(text_, cursor_ - kShownLimit / 2);
    const qsizetype low = std::min(start, layout_start_);
    const qsizetype high = std::max(start, layout_start_);
    if (high - low < kShownLimit) {
        // The scroll carries over into the new start's coordinates.
        const int shift = qRound(LayOutFrom(low).layout->lineAt(0).cursorToX(ToInt(high - low)));
        hscroll_ += start > layout_start_ ? -shift : shift;
    } else {
        // The cursor went far: the view is left behind on the side it came from, and scrolling
        // brings the cursor in from that side.
        hscroll_ = start > layout_start_ ? INT_MIN / 8 : INT_MAX / 8;
    }
    layout_start_ = start;
}

// Scrolls exactly as the toolkit's line edit does, so that a box looks the same whatever it
// holds: the whole text from the left when it fits; otherwise just enough to bring the cursor
// into view, and never leaving room at the right that the text's end could fill. Positions count
// from the laid-out run's start rather than from the text's, so that only about a box's width of
// text is ever measured; for any text shorter than that run the two are the same.
void TextBox::ScrollToCursor() {
    KeepCursorInLayout();
    const int width = TextArea().width();
    const Shown shown = LayOutFrom(layout_start_);
    const int cursor_x = CursorX(shown);
    // The cursor's pixel after the text counts as part of it; a text whose end is not laid out
    // reaches beyond any box.
    const int width_used = shown.start + shown.length == text_.size()
                               ? qRound(shown.layout->lineAt(0).naturalTextWidth()) + 1
                               : INT_MAX / 4;
    if (layout_start_ == 0 && width_used <= width) {
        hscroll_ = 0;
    } else if (cursor_x - hscroll_ >= width) {
        hscroll_ = cursor_x - width + 1;
    } else if (cursor_x - hscroll_ < 0 && hscroll_ < width_used) {
        hscroll_ = cursor_x;
    } else if (width_used - hscroll_ < width) {
        hscroll_ = width_used - width + 1;
    } else if (layout_start_ == 0) {
        hscroll_ = std::max(0, hscroll_);
    }
}

qsizetype TextBox::firstVisible() const {
    const Shown shown = LayOutFrom(layout_start_);
    const int index =
        shown.layout->lineAt(0).xToCursor(std::max(0, hscroll_), QTextLine::CursorOnCharacter);
    return shown.start + std::clamp<qsizetype>(index, 0, shown.length);
}

void TextBox::paintEvent(QPaintEvent* /*event*/) {
    Guarded([&] {
        QPainter painter(this);
        QStyleOptionFrame panel;
        InitFrameOption(panel);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
        painter.setClipRect(contents);

        const Shown shown = LayOutFrom(layout_start_);
        QList<QTextLayout::FormatRange> selections;
        const qsizetype from = std::max(selectionStart(), shown.start);
        const qsizetype to = std::min(selectionEnd(), shown.start + shown.length);
        if (hasSelectedText() && from < to) {
            QTextLayout::FormatRange selection;
            selection.start = LayoutIndex(shown, from);
            selection.length = LayoutIndex(shown, to) - selection.start;
            selection.format.setBackground(palette().brush(QPalette::Highlight));
            selection.format.setForeground(palette().brush(QPalette::HighlightedText));
            selections.append(selection);
        }
        painter.setPen(palette().color(QPalette::Text));
        const QPointF origin = TextOrigin(shown);
        shown.layout->draw(&painter, origin, selections, contents);
        if (cursor_shown_ && cursor_ >= shown.start && cursor_ <= shown.start + shown.length) {
            shown.layout->drawCursor(
                &painter, origin, LayoutIndex(shown, cursor_) + ToInt(preedit_cursor_),
                style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
        }
    });
}

QRect TextBox::cursorRect() const {
    const Shown shown = LayOutFrom(layout_start_);
    if (cursor_ < shown.start || cursor_ > shown.start + shown.length) {
        return {};
    }
    const qreal x = TextOrigin(shown).x() + CursorX(shown);
    const QRect area = TextArea();
    // Wide enough for any style's cursor, as the cursor is painted again through this rectangle.
    return {static_cast<int>(x) - 4, area.top(), 9, area.height()};
}

QRect TextBox::characterRect(qsizetype position) const {
    const Shown shown = LayOutFrom(layout_start_);
    if (position < shown.start || position >= shown.start + shown.length) {
        return {};
    }
    const QTextLine line = shown.layout->lineAt(0);
    const qreal origin = TextOrigin(shown).x();
    const qreal left = origin + line.cursorToX(LayoutIndex(shown, position));
    const qreal right = origin + line.cursorToX(LayoutIndex(shown, NextCharacter(text_, position)));
    const QRect area = TextArea();
    const QRect rect(QPoint(static_cast<int>(std::min(left, right)), area.top()),
                     QPoint(static_cast<int>(std::max(left, right)) - 1, area.bottom()));
    return rect.intersects(ContentsArea()) ? rect : QRect();
}

qsizetype TextBox::positionAt(QPoint point) const {
    const Shown shown = LayOutFrom(layout_start_);
    const qreal x = point.x() - TextOrigin(shown).x();
    qsizetype index = shown.layout->lineAt(0).xToCursor(x, QTextLine::CursorBetweenCharacters);
    if (!preedit_.isEmpty() && shown.start + index > cursor_) {
        index = std::max(cursor_ - shown.start, index - preedit_.size());
    }
    return shown.start + std::clamp<qsizetype>(index, 0, shown.length);
}

} // namespace brindle::platform::qt
