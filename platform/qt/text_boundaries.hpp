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

} // namespace brindle::platform::qt
