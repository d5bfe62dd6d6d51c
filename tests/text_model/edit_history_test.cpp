// The text box's undo history, through the model that keeps it: what one undo takes back, where
// it leaves the cursor, and what a budget forgets.

#include "platform/qt/text_box/text_model.hpp"

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

using platform::qt::EditHistory;
using platform::qt::TextChange;
using platform::qt::TextModel;

// A text model whose cursor and selection are set as a test needs them, and what its undo and
// redo leave, as "text|cursor,anchor" ("nothing" when there is nothing to take).
class Session : public TextModel {
public:
    Session(const char* text, qsizetype cursor, qsizetype anchor,
            EditHistory::Limits limits = EditHistory::kDefaultLimits)
        : TextModel(QString::fromUtf8(text), limits) {
        (void)Select(anchor, cursor);
    }

    void Type(const char* typed) { (void)ReplaceSelection(QString::fromUtf8(typed)); }
    // Moves the cursor as the user does, a move of the cursor ending a run of typing.
    void Move(qsizetype cursor, qsizetype anchor) {
        (void)MoveCursor(cursor, false);
        (void)Select(anchor, cursor);
    }
    std::string TakeUndo() { return Took(History().CanUndo() ? Undo() : Nothing()); }
    std::string TakeRedo() { return Took(History().CanRedo() ? Redo() : Nothing()); }

private:
    static std::optional<TextChange> Nothing() { return std::nullopt; }
    [[nodiscard]] std::string Took(const std::optional<TextChange>& change) const {
        if (!change) {
            return "nothing";
        }
        return Text().toStdString() + '|' + std::to_string(Cursor()) + ',' +
               std::to_string(Anchor());
    }
};

struct Case {
    const char* what;
    const char* text; // with the cursor at `cursor` and the selection reaching back to `anchor`
    qsizetype cursor;
    qsizetype anchor;
    void (*edit)(Session&);
    std::vector<std::string> undos; // the state after each undo, until there is nothing to undo
    std::vector<std::string> redos; // the state after each redo from there
};

TEST(EditHistory, UndoesWhatAUserThinksOfAsOneEdit) {
    const Case cases[] = {
        {"typing on",
         "",
         0,
         0,
         [](Session& s) {
             s.Type("1");
             s.Type("2");
         },
         {"|0,0"},
         {"12|2,2"}},
        {"typing after a cursor move",
         "",
         0,
         0,
         [](Session& s) {
             s.Type("1");
             s.Move(0, 0);
             s.Type("2");
         },
         {"1|0,0", "|0,0"},
         // A redo leaves the cursor where the next step began.
         {"1|0,0", "21|1,1"}},
        {"erasing backwards, then deleting forwards",
         "abcd",
         2,
         2,
         [](Session& s) {
             s.Backspace();
             s.Backspace();
             s.Delete();
             s.Delete();
         },
         {"cd|0,0", "abcd|2,2"},
         {"cd|0,0", "|0,0"}},
        {"typing over a selection and on: one step, back to the selection",
         "abc",
         2,
         0,
         [](Session& s) {
             s.Type("x");
             s.Type("y");
         },
         {"abc|2,0"},
         {"xyc|2,2"}},
        {"erasing a selection, then typing",
         "abc",
         2,
         0,
         [](Session& s) {
             s.Backspace();
             s.Type("1");
             s.Type("2");
         },
         {"abc|2,0"},
         {"12c|2,2"}},
        {"typing, then erasing it",
         "abc",
         2,
         0,
         [](Session& s) {
             s.Type("x");
             s.Type("y");
             s.Backspace();
         },
         {"xyc|2,2", "abc|2,0"},
         {"xyc|2,2", "xc|1,1"}},
        {"pastes between typing",
         "abc",
         2,
         0,
         [](Session& s) {
             s.Type("1");
             s.Separate();
             s.Type("23");
             s.Separate();
             s.Type("4");
         },
         {"123c|3,3", "1c|1,1", "abc|2,0"},
         {"1c|1,1", "123c|3,3", "1234c|4,4"}},
    };
    for (const Case& test : cases) {
        Session session(test.text, test.cursor, test.anchor);
        test.edit(session);
        for (const std::string& expected : test.undos) {
            EXPECT_EQ(session.TakeUndo(), expected) << test.what;
        }
        EXPECT_EQ(session.TakeUndo(), "nothing") << test.what;
        for (const std::string& expected : test.redos) {
            EXPECT_EQ(session.TakeRedo(), expected) << test.what;
        }
        EXPECT_EQ(session.TakeRedo(), "nothing") << test.what;
    }
}

TEST(EditHistory, ANewEditForgetsWhatWasUndone) {
    Session session("", 0, 0);
    session.Type("1");
    session.Separate();
    session.Type("2");
    EXPECT_EQ(session.TakeUndo(), "1|1,1");
    EXPECT_TRUE(session.History().CanRedo());
    session.Type("3");
    EXPECT_FALSE(session.History().CanRedo());
    EXPECT_EQ(session.History().StoredCharacters(), 2);
    // The separation the undo stopped at still stands: "3" is a step of its own.
    EXPECT_EQ(session.TakeUndo(), "1|1,1");
    EXPECT_EQ(session.TakeRedo(), "13|2,2");
}

// Ten pastes of a large text keep only what fits the budget, newest first; one larger than the
// whole budget cannot be undone and leaves nothing older to undo out of order.
TEST(EditHistory, KeepsToItsBudgetByForgettingTheOldestSteps) {
    const EditHistory::Limits limits{100, 1000};
    const std::string forty(40, '4');
    Session pastes(forty.c_str(), 40, 0, limits);
    for (int paste = 0; paste < 10; ++paste) {
        pastes.Separate();
        pastes.Type(forty.c_str());
        pastes.Move(40, 0);
        EXPECT_LE(pastes.History().StoredCharacters(), limits.characters);
    }
    EXPECT_EQ(pastes.History().Count(), 1U); // two edits would be 160 characters
    EXPECT_EQ(pastes.TakeUndo(), forty + "|40,0");
    EXPECT_EQ(pastes.TakeUndo(), "nothing");

    const std::string huge(101, '1');
    pastes.Type(huge.c_str());
    EXPECT_FALSE(pastes.History().CanUndo());
    EXPECT_FALSE(pastes.History().CanRedo());
    EXPECT_EQ(pastes.History().StoredCharacters(), 0);

    // A run of typing and erasing right after a selection went is one step: forgetting its
    // first edit forgets all of it.
    Session few("abc", 3, 0, {1000, 3});
    few.Backspace();
    few.Type("1");
    few.Type("2");
    few.Backspace();
    few.Backspace();
    few.Move(0, 0);
    few.Type("3");
    few.Separate();
    few.Type("4");
    few.Separate();
    few.Type("5");
    EXPECT_EQ(few.History().Count(), 3U);
    EXPECT_EQ(few.TakeUndo(), "34|2,2");
    EXPECT_EQ(few.TakeUndo(), "3|1,1");
    EXPECT_EQ(few.TakeUndo(), "|0,0");
    EXPECT_EQ(few.TakeUndo(), "nothing");
}

} // namespace
} // namespace brindle::testing
