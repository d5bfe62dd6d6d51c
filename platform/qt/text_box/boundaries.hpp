#pragma once

#include <QString>
#include <utility>

// Character and word boundaries in a text of any length. Characters are found in a bounded window
// around a position, so that moving through a mebibyte of text costs what moving through a word
// does; words by a scan that costs little per character, so that a word step crosses a whole
// word, however long.
namespace brindle::platform::qt {

[[nodiscard]] qsizetype NextCharacter(const QString& text, qsizetype position);
[[nodiscard]] qsizetype PreviousCharacter(const QString& text, qsizetype position);
// Where the next word starts, or the end of the text.
[[nodiscard]] qsizetype NextWordStart(const QString& text, qsizetype position);
// Where the word before the position starts, or the start of the text.
[[nodiscard]] qsizetype PreviousWordStart(const QString& text, qsizetype position);
// The word a double click at the position selects: [first, second).
[[nodiscard]] std::pair<qsizetype, qsizetype> WordAt(const QString& text, qsizetype position);
// The position itself when no character is split there; otherwise the start of the character.
[[nodiscard]] qsizetype CharacterStart(const QString& text, qsizetype position);

// The first character at or after `from` with a strong direction (a letter of a left-to-right
// or a right-to-left script), which sets the direction of the whole text; the text's end and
// left-to-right when there is none, as in a text of digits.
struct StrongCharacter {
    qsizetype position = 0;
    bool right_to_left = false;
};
[[nodiscard]] StrongCharacter FirstStrongCharacter(const QString& text, qsizetype from);

// Where a text reading one way may be cut so that each part is laid out, and ordered for
// display, as it is within the whole: the last position at or before `position`, no further
// back than `reach`, that starts a letter of the text's own direction. A cut through a run
// written the other way (digits or Latin in Hebrew, Hebrew in Latin) would reorder it. Without
// such a letter in reach, `position` itself.
[[nodiscard]] qsizetype CleanCut(const QString& text, qsizetype position, bool right_to_left,
                                 qsizetype reach);

} // namespace brindle::platform::qt
