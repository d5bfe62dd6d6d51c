// The text box's model on its own: what each edit and each editing key reports having changed,
// which is all its widget shows, and the reading direction it keeps as the text changes.

#include "platform/qt/text_box/text_model.hpp"

#include <QString>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

using platform::qt::ArrowOnSelection;
using platform::qt::EditingKey;
using platform::qt::TextChange;
using platform::qt::TextModel;

// A change as "start:removed>inserted" (or "none"), then the text and cursor after it.
std::string Describe(const TextChange& change, const TextModel& model) {
    std::string text = change.text_changed
                           ? std::to_string(change.start) + ':' + change.removed.toStdString() +
                                 '>' + change.inserted.toStdString()
                           : "none";
    return text + " | " + model.Text().toStdString() + '|' + std::to_string(model.Cursor());
}

// A text written with its cursor as '|' and, when something is selected, the selection's other
// end as '[': "a[bc|d" has "bc" selected with the cursor after it.
TextModel Marked(const char* marked) {
    QString text = QString::fromUtf8(marked);
    const qsizetype cursor = text.indexOf(QLatin1Char('|'));
    text.remove(cursor, 1);
    qsizetype anchor = text.indexOf(QLatin1Char('['));
    if (anchor >= 0) {
        text.remove(anchor, 1);
    }
    anchor = anchor < 0 ? cursor : anchor;
    TextModel model(text);
    (void)model.Select(anchor, anchor < cursor ? cursor - 1 : cursor);
    return model;
}

std::string Marks(const TextModel& model) {
    QString text = model.Text();
    const bool selected = model.HasSelection();
    if (selected && model.Anchor() > model.Cursor()) {
        text.insert(model.Anchor(), QLatin1Char('['));
    }
    text.insert(model.Cursor(), QLatin1Char('|'));
    if (selected && model.Anchor() < model.Cursor()) {
        text.insert(model.Anchor(), QLatin1Char('['));
    }
    return text.toStdString();
}

TEST(TextModel, ReportsExactlyWhatEachEditChanged) {
    const struct {
        const char* before; // marked as for the keys below
        std::function<TextChange(TextModel&)> edit;
        const char* expected;
    } cases[] = {
        {"12345|", [](TextModel& m) { return m.Replace(1, 3, "x"); }, "1:23>x | 1x45|2"},
        // An emoji is erased whole.
        {"5\xF0\x9F\x98\x80|", [](TextModel& m) { return m.Backspace(); },
         "1:\xF0\x9F\x98\x80> | 5|1"},
        {"37|", [](TextModel& m) { return m.Delete(); }, "none | 37|2"},
        // Setting the same text changes nothing but the cursor.
        {"|37", [](TextModel& m) { return m.SetText("37"); }, "none | 37|2"},
        // A run of typing is undone as one span, and redone so.
        {"5|",
         [](TextModel& m) {
             (void)m.ReplaceSelection("1");
             (void)m.ReplaceSelection("2");
             return m.Undo();
         },
         "1:12> | 5|1"},
        {"5|",
         [](TextModel& m) {
             (void)m.ReplaceSelection("12");
             (void)m.Undo();
             return m.Redo();
         },
         "1:>12 | 512|3"},
        // A selection over the middle of an emoji goes to its start.
        {"a\xF0\x9F\x98\x80|", [](TextModel& m) { return m.Select(0, 2); },
         "none | a\xF0\x9F\x98\x80|1"},
    };
    for (const auto& [before, edit, expected] : cases) {
        TextModel model = Marked(before);
        const TextChange change = edit(model);
        EXPECT_EQ(Describe(change, model), expected) << before;
    }
}

// Each key is one change: the text it removed, and the cursor and selection as they were before
// the key, whatever the key selected on its way (a screen reader hears of no selection that
// lasted an instant).
TEST(TextModel, DoesWhatEachEditingKeyMeansInOneChange) {
    constexpr auto kCollapse = ArrowOnSelection::Collapses;
    constexpr auto kStep = ArrowOnSelection::Steps;
    const struct {
        const char* before;
        EditingKey key;
        ArrowOnSelection arrows;
        const char* after;
        const char* removed;
    } cases[] = {
        {"12 da|ys", EditingKey::DeleteWordBefore, kCollapse, "12 |ys", "da"},
        {"12 |days", EditingKey::DeleteWordBefore, kCollapse, "|days", "12 "},
        {"|12", EditingKey::DeleteWordBefore, kCollapse, "|12", ""},
        // The selection grows by the word before the cursor; nothing after the cursor goes.
        {"1[2 da|ys", EditingKey::DeleteWordBefore, kCollapse, "1|days", "2 "},
        {"12 |days", EditingKey::DeleteWordAfter, kCollapse, "12 |", "days"},
        {"12 d|ays", EditingKey::DeleteToEnd, kCollapse, "12 d|", "ays"},
        {"1[2 d|ays", EditingKey::DeleteToEnd, kCollapse, "12 d|", "ays"},
        {"1[2 days|", EditingKey::DeleteToEnd, kCollapse, "12 days|", ""},
        {"12 d|ays", EditingKey::DeleteLine, kCollapse, "|", "12 days"},
        {"5\xF0\x9F\x98\x80|", EditingKey::DeletePrevious, kCollapse, "5|", "\xF0\x9F\x98\x80"},
        {"a[bc|d", EditingKey::CharacterRight, kCollapse, "abc|d", ""},
        {"a[bc|d", EditingKey::CharacterRight, kStep, "abcd|", ""},
        {"a|bc[d", EditingKey::CharacterLeft, kCollapse, "a|bcd", ""},
        {"a|bc[d", EditingKey::CharacterLeft, kStep, "|abcd", ""},
        {"ab|c", EditingKey::SelectCharacterLeft, kCollapse, "a|b[c", ""},
        {"12 days|", EditingKey::WordLeft, kCollapse, "12 |days", ""},
        {"|12 days", EditingKey::SelectWordRight, kCollapse, "[12 |days", ""},
        {"1[2|", EditingKey::SelectToStart, kCollapse, "|1[2", ""},
        // Right steps back through a text that reads right to left.
        {"\xD7\xA9\xD7\x9C|", EditingKey::CharacterRight, kCollapse, "\xD7\xA9|\xD7\x9C", ""},
        {"|\xD7\xA9 \xD7\x9C", EditingKey::WordLeft, kCollapse, "\xD7\xA9 |\xD7\x9C", ""},
    };
    for (const auto& [before, key, arrows, after, removed] : cases) {
        TextModel model = Marked(before);
        const qsizetype cursor = model.Cursor();
        const qsizetype start = model.SelectionStart();
        const qsizetype end = model.SelectionEnd();
        const TextChange change = model.Perform(key, arrows);
        EXPECT_EQ(Marks(model), after) << before;
        EXPECT_EQ(change.removed.toStdString(), removed) << before;
        EXPECT_EQ(change.old_cursor, cursor) << before;
        EXPECT_EQ(change.old_selection_start, start) << before;
        EXPECT_EQ(change.old_selection_end, end) << before;
    }
}

TEST(TextModel, ReadsInTheDirectionOfItsFirstLetter) {
    TextModel model(QStringLiteral("12 days"));
    EXPECT_FALSE(model.RightToLeft());
    (void)model.Replace(0, 0, QString::fromUtf8("\xD7\xA9 ")); // a Hebrew letter before it all
    EXPECT_TRUE(model.RightToLeft());
    (void)model.Replace(0, 2, {});
    EXPECT_FALSE(model.RightToLeft());
    (void)model.Replace(0, model.Text().size(), QStringLiteral("37"));
    EXPECT_FALSE(model.RightToLeft()) << "digits alone read left to right";
    (void)model.Undo();
    EXPECT_EQ(model.Text(), "12 days");
}

} // namespace
} // namespace brindle::testing
