// The text box's undo history: what runs together into one undo, and what a budget forgets.

#include "platform/qt/edit_history.hpp"

#include <cstring>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

using platform::qt::EditHistory;
using platform::qt::TextEdit;
using Kind = EditHistory::Kind;

TextEdit Typed(qsizetype position, const char* text) {
    return {position, {}, QString::fromUtf8(text), position, position};
}
TextEdit Erased(qsizetype position, const char* text) {
    const qsizetype after = position + static_cast<qsizetype>(std::strlen(text));
    return {position, QString::fromUtf8(text), {}, after, after};
}

struct Step {
    TextEdit edit;
    Kind kind;
    bool separate_before = false;
};

struct RunCase {
    const char* what;
    std::vector<Step> steps;
    std::size_t edits; // how many undos it takes
    TextEdit last;     // what the first undo takes back
};

TEST(EditHistory, RunsTogetherOnlyWhatAUserTypesOrErasesInOneGo) {
    const RunCase cases[] = {
        {"typing on",
         {{Typed(0, "1"), Kind::Typed}, {Typed(1, "2"), Kind::Typed}},
         1,
         Typed(0, "12")},
        {"typing after a cursor move",
         {{Typed(0, "1"), Kind::Typed}, {Typed(1, "2"), Kind::Typed, true}},
         2,
         Typed(1, "2")},
        {"typing elsewhere",
         {{Typed(0, "1"), Kind::Typed}, {Typed(0, "2"), Kind::Typed}},
         2,
         Typed(0, "2")},
        {"erasing backwards",
         {{Erased(2, "3"), Kind::Erased}, {Erased(1, "2"), Kind::Erased}},
         1,
         {1, "23", {}, 3, 3}},
        {"erasing after typing",
         {{Typed(0, "1"), Kind::Typed}, {Erased(0, "1"), Kind::Erased}},
         2,
         Erased(0, "1")},
        {"pastes",
         {{Typed(0, "12"), Kind::Other}, {Typed(2, "34"), Kind::Other}},
         2,
         Typed(2, "34")},
    };
    for (const RunCase& run : cases) {
        EditHistory history;
        for (const Step& step : run.steps) {
            if (step.separate_before) {
                history.Separate();
            }
            history.Record(step.edit, step.kind);
        }
        EXPECT_EQ(history.Count(), run.edits) << run.what;
        const std::optional<TextEdit> undone = history.Undo();
        ASSERT_TRUE(undone) << run.what;
        EXPECT_EQ(undone->position, run.last.position) << run.what;
        EXPECT_EQ(undone->removed, run.last.removed) << run.what;
        EXPECT_EQ(undone->inserted, run.last.inserted) << run.what;
        EXPECT_EQ(undone->cursor_before, run.last.cursor_before) << run.what;
    }
}

TEST(EditHistory, ANewEditForgetsWhatWasUndone) {
    EditHistory history;
    history.Record(Typed(0, "1"), Kind::Other);
    history.Record(Typed(1, "2"), Kind::Other);
    ASSERT_TRUE(history.Undo());
    EXPECT_TRUE(history.CanRedo());
    history.Record(Typed(1, "3"), Kind::Other);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Count(), 2U);
    EXPECT_EQ(history.StoredCharacters(), 2);
    EXPECT_EQ(history.Undo()->inserted, "3");
    EXPECT_EQ(history.Redo()->inserted, "3");
}

// Ten pastes of a large text keep only what fits the budget, newest first; one larger than the
// whole budget cannot be undone and leaves nothing older to undo out of order.
TEST(EditHistory, KeepsToItsBudgetByForgettingTheOldestEdits) {
    const EditHistory::Limits limits{100, 1000};
    EditHistory history(limits);
    const QString forty(40, QLatin1Char('4'));
    for (int paste = 0; paste < 10; ++paste) {
        history.Record({0, forty, forty, 0, 0}, Kind::Other);
        EXPECT_LE(history.StoredCharacters(), limits.characters);
    }
    EXPECT_EQ(history.Count(), 1U); // two edits would be 160 characters
    EXPECT_TRUE(history.Undo());
    EXPECT_FALSE(history.CanUndo());

    history.Record({0, {}, QString(101, QLatin1Char('1')), 0, 0}, Kind::Other);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.StoredCharacters(), 0);

    EditHistory few({1000, 3});
    for (int edit = 0; edit < 5; ++edit) {
        few.Record(Typed(edit, "1"), Kind::Other);
    }
    EXPECT_EQ(few.Count(), 3U);
    EXPECT_EQ(few.Undo()->position, 4);
}

} // namespace
} // namespace brindle::testing
