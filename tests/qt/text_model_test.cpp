// The text box's model on its own: what each edit reports having changed, which is all its
// widget shows, and the reading direction it keeps as the text changes.

#include "platform/qt/text_box/text_model.hpp"

#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

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

TEST(TextModel, ReportsExactlyWhatEachEditChanged) {
    const struct {
        const char* what;
        const char* text;
        std::function<TextChange(TextModel&)> edit;
        const char* expected;
    } cases[] = {
        {"a replacement", "12345", [](TextModel& m) { return m.Replace(1, 3, "x"); },
         "1:23>x | 1x45|2"},
        {"erasing an emoji whole", "5\xF0\x9F\x98\x80", [](TextModel& m) { return m.Backspace(); },
         "1:\xF0\x9F\x98\x80> | 5|1"},
        {"deleting at the end", "37", [](TextModel& m) { return m.Delete(); }, "none | 37|2"},
        {"setting the same text", "37",
         [](TextModel& m) {
             (void)m.MoveCursor(0, false);
             return m.SetText("37");
         },
         "none | 37|2"},
        {"undoing a run of typing as one span", "5",
         [](TextModel& m) {
             (void)m.ReplaceSelection("1");
             (void)m.ReplaceSelection("2");
             return m.Undo();
         },
         "1:12> | 5|1"},
        {"redoing it", "5",
         [](TextModel& m) {
             (void)m.ReplaceSelection("12");
             (void)m.Undo();
             return m.Redo();
         },
         "1:>12 | 512|3"},
        {"a selection over the middle of an emoji", "a\xF0\x9F\x98\x80",
         [](TextModel& m) { return m.Select(0, 2); }, "none | a\xF0\x9F\x98\x80|1"},
    };
    for (const auto& [what, text, edit, expected] : cases) {
        TextModel model(QString::fromUtf8(text));
        const TextChange change = edit(model);
        EXPECT_EQ(Describe(change, model), expected) << what;
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
