#include "platform/qt/text_box/accessible.hpp"

#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "platform/qt/text_box/limits.hpp"
#include "platform/qt/text_box/text_items.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"

#include <QAccessibleWidget>
#include <algorithm>

namespace brindle::platform::qt {

using text_box_limits::ToInt;

namespace {

class Accessible final : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface {
public:
    explicit Accessible(BoundedLineEdit& box)
        : QAccessibleWidget(&box, QAccessible::EditableText) {}

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return GuardedOr(QString(), [&] { return Box().text(); });
        }
        return QAccessibleWidget::text(kind);
    }

    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value) {
            Guarded([&] { Box().replace(0, Box().text().size(), text); });
        } else {
            QAccessibleWidget::setText(kind, text);
        }
    }

    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.selectableText = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    // ---- Text ----

    void selection(int index, int* start, int* end) const override {
        *start = 0;
        *end = 0;
        if (index == 0 && Box().hasSelectedText()) {
            *start = ToInt(Box().selectionStart());
            *end = ToInt(Box().selectionEnd());
        }
    }
    [[nodiscard]] int selectionCount() const override { return Box().hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) {
            Guarded([&] { Box().deselect(); });
        }
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) {
            Guarded([&] { Box().setSelection(start, end); });
        }
    }
    [[nodiscard]] int cursorPosition() const override { return ToInt(Box().cursorPosition()); }
    void setCursorPosition(int position) override {
        Guarded([&] { Box().setCursorPosition(position); });
    }
    // Either end may lie outside the text, as far as an int reaches; the part inside is given.
    [[nodiscard]] QString text(int start, int end) const override {
        return GuardedOr(QString(), [&] {
            const QString& text = Box().text();
            const qsizetype first = std::clamp<qsizetype>(start, 0, text.size());
            const qsizetype last = std::clamp<qsizetype>(end, first, text.size());
            return text.mid(first, last - first);
        });
    }
    [[nodiscard]] int characterCount() const override { return ToInt(Box().text().size()); }
    [[nodiscard]] QRect characterRect(int offset) const override {
        return GuardedOr(QRect(), [&] {
            const QRect rect = Box().characterRect(offset);
            return rect.isNull() ? rect : QRect(Box().mapToGlobal(rect.topLeft()), rect.size());
        });
    }
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override {
        return GuardedOr(-1, [&] {
            const QPoint local = Box().mapFromGlobal(point);
            return Box().rect().contains(local) ? ToInt(Box().positionAt(local)) : -1;
        });
    }
    void scrollToSubstring(int start, int end) override {
        Guarded([&] {
            Box().setCursorPosition(end);
            Box().setCursorPosition(start);
        });
    }
    [[nodiscard]] QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                       int* start, int* end) const override {
        return Find(offset, boundary, TextItemPlace::At, start, end);
    }
    [[nodiscard]] QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                           int* start, int* end) const override {
        return Find(offset, boundary, TextItemPlace::Before, start, end);
    }
    [[nodiscard]] QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                          int* start, int* end) const override {
        return Find(offset, boundary, TextItemPlace::After, start, end);
    }

    // The text has no attributes, so the one run of none spans all of it. A run that ended where
    // it started left Orca with nothing to speak of the box's value on focus.
    [[nodiscard]] QString attributes(int /*offset*/, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // ---- Editing ----

    void deleteText(int start, int end) override {
        Guarded([&] { Box().replace(start, end, {}); });
    }
    void insertText(int offset, const QString& text) override {
        Guarded([&] { Box().replace(offset, offset, text); });
    }
    void replaceText(int start, int end, const QString& text) override {
        Guarded([&] { Box().replace(start, end, text); });
    }

private:
    QString Find(int offset, QAccessible::TextBoundaryType boundary, TextItemPlace place,
                 int* start, int* end) const {
        const TextItem item = GuardedOr(
            TextItem{}, [&] { return FindTextItem(Box().text(), offset, boundary, place); });
        *start = item.start;
        *end = item.end;
        return item.text;
    }

    [[nodiscard]] BoundedLineEdit& Box() const { return *qobject_cast<BoundedLineEdit*>(object()); }
};

} // namespace

QAccessibleInterface* BoundedLineEditAccessible(const QString& /*class_name*/, QObject* object) {
    if (auto* const box = qobject_cast<BoundedLineEdit*>(object)) {
        return new Accessible(*box);
    }
    return nullptr;
}

} // namespace brindle::platform::qt
