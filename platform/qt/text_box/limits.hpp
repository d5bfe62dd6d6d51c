#pragma once

#include <QtGlobal>
#include <algorithm>
#include <climits>

// The sizes of the bounded windows through which the text box looks at its text, all in one
// place. Each is far more than a day box ever shows or a word ever needs, and small enough that
// working through it costs nothing, so that a pasted mebibyte costs what a short number does.
namespace brindle::platform::qt::text_box_limits {

// The most characters laid out at once: more than any box shows, few enough to cost nothing.
inline constexpr qsizetype kShownLimit = 1024;

// How near either end of the laid-out run the cursor may come before the run moves with it: a
// quarter of the run, so that a box's width of text stays laid out on either side.
inline constexpr qsizetype kShownMargin = kShownLimit / 4;

// How far back from where a run would end it may be cut instead, at a letter of the text's
// direction (see CleanCut): a run written the other way longer than this is cut through.
inline constexpr qsizetype kCleanCutReach = kShownLimit / 8;

// Context around a position for finding the next or previous character: enough for any grapheme
// cluster.
inline constexpr qsizetype kCharacterReach = 256;

// Context around an offset for a screen reader's query of a character, word or sentence: more
// than any word a day box holds.
inline constexpr qsizetype kQueryReach = 512;

// Characters of context an input method is given on either side of the cursor: it needs
// context, not a mebibyte of it on every keystroke.
inline constexpr qsizetype kSurroundingReach = 512;

// Unused capacity a text may keep after an edit before its memory is given back, as when a box
// is emptied of a huge text.
inline constexpr qsizetype kSpareCapacity = 1024;

// Offsets handed to interfaces that count in int; a text longer than that is reported capped.
[[nodiscard]] inline int ToInt(qsizetype value) {
    return static_cast<int>(std::clamp<qsizetype>(value, INT_MIN, INT_MAX));
}

} // namespace brindle::platform::qt::text_box_limits
