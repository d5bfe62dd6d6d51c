#pragma once

#include <QAccessible>
#include <QString>

// The items a screen reader asks a text for (the character, word or line at, before or after an
// offset), found in a bounded window of the text around the offset: a query on a mebibyte costs
// what it costs on a word, and ends. (Qt's default answers scan the whole text, and the word at
// the very end of a text is never found: the scan spins for ever.) Offsets outside the text, and
// items longer than the window, give what lies inside.
namespace brindle::platform::qt {

enum class TextItemPlace { At, Before, After };

struct TextItem {
    QString text;
    int start = -1; // -1 when there is no such item
    int end = -1;
};

[[nodiscard]] TextItem FindTextItem(const QString& text, int offset,
                                    QAccessible::TextBoundaryType boundary, TextItemPlace place);

} // namespace brindle::platform::qt
