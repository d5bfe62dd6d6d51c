#include "platform/qt/text_box/boundaries.hpp"

#include "platform/qt/text_box/limits.hpp"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <array>
#include <string_view>

namespace brindle::platform::qt {
qsizetype CharacterStart(const QString& text, qsizetype position) {
    position = std::clamp<qsizetype>(position, 0, text.size());
    if (position > 0 && position < text.size() && text.at(position).isLowSurrogate() &&
        text.at(position - 1).isHighSurrogate()) {
        return position - 1;
    }
    return position;
}

namespace {

// Punctuation that makes a word of its own, so that "12.5" is crossed in three steps, as in
// every other text field of the desktop. All of it is ASCII, looked up in a table, since a word
// step may scan a mebibyte.
constexpr std::u16string_view kSeparators = u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\";
constexpr auto kIsSeparator = [] {
    std::array<bool, 128> table{};
    for (const char16_t c : kSeparators) {
        table[c] = true;
    }
    return table;
}();

bool IsWordSeparator(QChar c) {
    return c.unicode() < kIsSeparator.size() && kIsSeparator[c.unicode()];
}

// Character boundaries in text[first, last), from `position`.
class Characters {
public:
    Characters(const QString& text, qsizetype position)
        : first_(CharacterStart(text, position - text_box_limits::kCharacterReach)),
          last_(CharacterStart(text, position + text_box_limits::kCharacterReach)),
          finder_(QTextBoundaryFinder::Grapheme, text.constData() + first_, last_ - first_) {
        finder_.setPosition(position - first_);
    }

    // The next boundary, or the window's end.
    qsizetype Next() {
        const qsizetype found = finder_.toNextBoundary();
        return found < 0 ? last_ : first_ + found;
    }
    // The previous boundary, or the window's start.
    qsizetype Previous() {
        const qsizetype found = finder_.toPreviousBoundary();
        return found < 0 ? first_ : first_ + found;
    }

private:
    qsizetype first_;
    qsizetype last_;
    QTextBoundaryFinder finder_;
};

} // namespace

qsizetype NextCharacter(const QString& text, qsizetype position) {
    if (position >= text.size()) {
        return text.size();
    }
    return Characters(text, position).Next();
}

qsizetype PreviousCharacter(const QString& text, qsizetype position) {
    if (position <= 0) {
        return 0;
    }
    return Characters(text, position).Previous();
}

// Words are found by scanning characters one at a time, which costs a few nanoseconds each: a
// word step crosses a whole word however long, a mebibyte of digits included, as in the line
// edit (pinned by BoundedLineEdit.StepsOverWordsOfAnyLength).
qsizetype NextWordStart(const QString& text, qsizetype position) {
    const qsizetype limit = text.size();
    qsizetype next = std::clamp<qsizetype>(position, 0, limit);
    if (next < limit && IsWordSeparator(text.at(next))) {
        while (next < limit && IsWordSeparator(text.at(next))) {
            ++next;
        }
    } else {
        while (next < limit && !text.at(next).isSpace() && !IsWordSeparator(text.at(next))) {
            ++next;
        }
    }
    while (next < limit && text.at(next).isSpace()) {
        ++next;
    }
    return CharacterStart(text, next);
}

qsizetype PreviousWordStart(const QString& text, qsizetype position) {
    qsizetype previous = std::clamp<qsizetype>(position, 0, text.size());
    while (previous > 0 && text.at(previous - 1).isSpace()) {
        --previous;
    }
    if (previous > 0 && IsWordSeparator(text.at(previous - 1))) {
        while (previous > 0 && IsWordSeparator(text.at(previous - 1))) {
            --previous;
        }
    } else {
        while (previous > 0 && !text.at(previous - 1).isSpace() &&
               !IsWordSeparator(text.at(previous - 1))) {
            --previous;
        }
    }
    return CharacterStart(text, previous);
}

namespace {

// The direction class of the character starting at `at`, a surrogate pair taken whole. The
// second half of a pair starts no character and has no direction of its own (alone, either half
// reports left to right).
QChar::Direction DirectionAt(const QString& text, qsizetype at) {
    if (CharacterStart(text, at) != at) {
        return QChar::DirNSM;
    }
    const QChar c = text.at(at);
    if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
        return QChar::direction(QChar::surrogateToUcs4(c, text.at(at + 1)));
    }
    return c.direction();
}

} // namespace

StrongCharacter FirstStrongCharacter(const QString& text, qsizetype from) {
    for (qsizetype at = CharacterStart(text, from); at < text.size(); ++at) {
        switch (DirectionAt(text, at)) {
        case QChar::DirL:
            return {at, false};
        case QChar::DirR:
        case QChar::DirAL:
            return {at, true};
        default:
            break;
        }
    }
    return {text.size(), false};
}

qsizetype CleanCut(const QString& text, qsizetype position, bool right_to_left, qsizetype reach) {
    position = CharacterStart(text, position);
    if (position <= 0 || position >= text.size()) {
        return position;
    }
    for (qsizetype at = position; at >= 0 && at >= position - reach; --at) {
        const QChar::Direction direction = DirectionAt(text, at);
        if (right_to_left ? direction == QChar::DirR || direction == QChar::DirAL
                          : direction == QChar::DirL) {
            return at;
        }
    }
    return position;
}

std::pair<qsizetype, qsizetype> WordAt(const QString& text, qsizetype position) {
    const qsizetype start = PreviousWordStart(text, std::min(position + 1, text.size()));
    qsizetype end = NextWordStart(text, start);
    while (end > position && end > start && text.at(end - 1).isSpace()) {
        --end;
    }
    return {start, end};
}

} // namespace brindle::platform::qt
