#include "platform/qt/text_box/text_items.hpp"

#include "platform/qt/text_box/boundaries.hpp"
#include "platform/qt/text_box/limits.hpp"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace brindle::platform::qt {
namespace {

constexpr QTextBoundaryFinder::BoundaryReasons kItemEdges =
    QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;

// Boundaries of one kind in text[first, last), walked from a position, in text offsets. Where
// the window cuts the text, its ends count as edges of items, so every walk ends.
class Boundaries {
public:
    Boundaries(QTextBoundaryFinder::BoundaryType type, const QString& text, qsizetype position)
        : first_(CharacterStart(text, position - text_box_limits::kQueryReach)),
          last_(CharacterStart(text, position + text_box_limits::kQueryReach)),
          cut_end_(last_ < text.size()), finder_(type, text.constData() + first_, last_ - first_) {
        finder_.setPosition(position - first_);
    }

    [[nodiscard]] qsizetype Position() const {
        return first_ + std::max<qsizetype>(0, finder_.position());
    }
    [[nodiscard]] bool AtItemEdge() const {
        return (finder_.boundaryReasons() & kItemEdges) != 0 ||
               (first_ > 0 && finder_.position() <= 0) ||
               (cut_end_ && first_ + finder_.position() >= last_);
    }
    // The previous edge of an item, or the window's start.
    qsizetype PreviousEdge() {
        while (finder_.toPreviousBoundary() > 0 && !AtItemEdge()) {
        }
        return Position();
    }
    // The next edge of an item, or the window's end.
    qsizetype NextEdge() {
        while (true) {
            const qsizetype next = finder_.toNextBoundary();
            if (next < 0) {
                finder_.toEnd();
                return last_;
            }
            if (AtItemEdge()) {
                return Position();
            }
        }
    }

private:
    qsizetype first_;
    qsizetype last_;
    bool cut_end_;
    QTextBoundaryFinder finder_;
};

TextItem Item(const QString& text, qsizetype start, qsizetype end) {
    if (end <= start) {
        return {};
    }
    return {text.mid(start, end - start), static_cast<int>(start), static_cast<int>(end)};
}

// Lines end at line breaks; a day box holds one unless one was pasted.
TextItem Line(const QString& text, qsizetype offset, TextItemPlace place) {
    const auto start_of = [&](qsizetype at) {
        return at <= 0 ? 0 : text.lastIndexOf(QLatin1Char('\n'), at - 1) + 1;
    };
    const auto end_of = [&](qsizetype at) {
        const qsizetype to = text.indexOf(QLatin1Char('\n'), at);
        return to < 0 ? text.size() : to + 1;
    };
    const qsizetype start = start_of(offset);
    switch (place) {
    case TextItemPlace::At:
        return Item(text, start, end_of(offset));
    case TextItemPlace::Before:
        return start == 0 ? TextItem{} : Item(text, start_of(start - 1), start);
    case TextItemPlace::After: {
        const qsizetype next = end_of(offset);
        return Item(text, next, end_of(next));
    }
    }
    return {};
}

} // namespace

TextItem FindTextItem(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
                      TextItemPlace place) {
    const qsizetype size = text.size();
    const qsizetype at = offset == -1 ? size : offset;
    if (size == 0 || at < 0 || at > size) {
        return {};
    }
    QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
    switch (boundary) {
    case QAccessible::CharBoundary:
        break;
    case QAccessible::WordBoundary:
        type = QTextBoundaryFinder::Word;
        break;
    case QAccessible::SentenceBoundary:
        type = QTextBoundaryFinder::Sentence;
        break;
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
        return Line(text, at, place);
    case QAccessible::NoBoundary:
        return place == TextItemPlace::At ? Item(text, 0, size) : TextItem{};
    }
    switch (place) {
    case TextItemPlace::At: {
        if (at == size) {
            return {};
        }
        Boundaries walk(type, text, at);
        const qsizetype start = walk.AtItemEdge() ? walk.Position() : walk.PreviousEdge();
        Boundaries ahead(type, text, at);
        return Item(text, start, ahead.NextEdge());
    }
    case TextItemPlace::Before: {
        if (at == 0) {
            return {};
        }
        Boundaries walk(type, text, at);
        const qsizetype end = walk.AtItemEdge() ? walk.Position() : walk.PreviousEdge();
        Boundaries back(type, text, end);
        return Item(text, end == 0 ? 0 : back.PreviousEdge(), end);
    }
    case TextItemPlace::After: {
        if (at == size) {
            return {};
        }
        Boundaries walk(type, text, at);
        const qsizetype start = walk.NextEdge();
        Boundaries ahead(type, text, start);
        return Item(text, start, start == size ? size : ahead.NextEdge());
    }
    }
    return {};
}

} // namespace brindle::platform::qt
