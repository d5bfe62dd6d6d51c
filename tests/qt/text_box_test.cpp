// The day boxes' text box against the toolkit's own line edit: the same keys must do the same
// things and the same text must look the same, whatever the box holds; and a huge text must stay
// whole, in sight where the cursor is, and undoable without the history growing with it.

#include "platform/qt/text_box/limits.hpp"
#include "platform/qt/text_box/toolkit_guard.hpp"
#include "qt_fixture.hpp"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleTextInterface>
#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextBoundaryFinder>
#include <QTextCharFormat>
#include <QTimer>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <new>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace brindle::testing {
namespace {

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

// Keys whose meaning the box takes from the platform's bindings, as the line edit does.
const Key kEditingKeys[] = {
    {Qt::Key_Left},
    {Qt::Key_Right},
    {Qt::Key_Left, kShift},
    {Qt::Key_Right, kShift},
    {Qt::Key_Left, kCtrl},
    {Qt::Key_Right, kCtrl},
    {Qt::Key_Right, kCtrl | kShift},
    {Qt::Key_Left, kCtrl | kShift},
    {Qt::Key_Home},
    {Qt::Key_End},
    {Qt::Key_Home, kShift},
    {Qt::Key_End, kShift},
    {Qt::Key_Backspace},
    {Qt::Key_Delete},
    {Qt::Key_Backspace, kCtrl},
    {Qt::Key_Delete, kCtrl},
    {Qt::Key_Backspace, kCtrl | kShift},
    {Qt::Key_Backspace, Qt::AltModifier},
    {Qt::Key_Backspace, Qt::MetaModifier},
    {Qt::Key_A, kCtrl},
    {Qt::Key_K, kCtrl}, // X11: delete to the end
    {Qt::Key_U, kCtrl}, // X11: delete the line
    {Qt::Key_Z, kCtrl},
    {Qt::Key_Z, kCtrl | kShift},
    {Qt::Key_5},
    {Qt::Key_Period},
    {Qt::Key_E},
    {Qt::Key_Space},
    {Qt::Key_Minus},
};

// Texts with what trips up a cursor: words and numbers, an accent that follows its letter, a
// character outside the basic plane, and a pasted line break.
const QString kTexts[] = {
    QStringLiteral("12.5 days at 44.1"),
    QString::fromUtf8("e\xCC\x81te 1e30"),
    QString::fromUtf8("5 \xF0\x9F\x98\x80 7"),
    QStringLiteral("1\n2\t3"),
    QStringLiteral("2222 4444 12.5 days at 44.1 and 8565786000.00 more"), // wider than the box
};

// The line edit, with where it draws its cursor in view.
class LineEdit final : public QLineEdit {
public:
    using QLineEdit::cursorRect;
};

struct Pair {
    Pair() {
        for (QWidget* const widget :
             {static_cast<QWidget*>(&reference), static_cast<QWidget*>(&box)}) {
            widget->resize(160, 24);
            widget->show();
        }
        reference.setMaxLength(std::numeric_limits<int>::max());
        // Neither has the focus, so neither draws a cursor that the other does not.
        elsewhere.show();
        QApplication::setActiveWindow(&elsewhere);
    }
    // The line edit scrolls only when it paints, and scrolls from where it last painted; a box
    // on a screen paints after every key, so the line edit is made to as well. Some edits (a
    // word erased before the cursor in a scrolled text) take it two paints to settle, the first
    // scrolled differently from the second, which is what it then keeps: the box goes straight
    // to where the line edit settles, and is compared with that.
    void Settle() {
        (void)reference.grab();
        (void)reference.grab();
    }
    void Set(const QString& text, int cursor) {
        reference.setText(text);
        Settle();
        box.setText(text);
        reference.setCursorPosition(cursor);
        Settle();
        box.setCursorPosition(cursor);
    }
    void Press(const Key& key) {
        QTest::keyClick(&reference, key.key, key.modifiers);
        Settle();
        QTest::keyClick(&box, key.key, key.modifiers);
    }
    // Gives one of the two, in its own window, the keyboard focus.
    static void Focus(QWidget& widget) {
        widget.activateWindow();
        widget.setFocus();
        QApplication::setActiveWindow(&widget);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
    }
    // Presses a key in both and tells whether the line edit went wrong where it is known to,
    // after which both carry on from the box's state, which is where the line edit should be.
    bool PressChecked(const Key& key) {
        Press(key);
        if (box.hasSelectedText() || !LineEditWentWrong(key)) {
            return false;
        }
        Set(box.text(), static_cast<int>(box.cursorPosition()));
        return true;
    }
    // The line edit's known faults, where the box does what is right:
    // - Redoing a step that the user followed by moving and then typing or erasing, it leaves the
    //   cursor one character off where the next step began, because it notes where the cursor
    //   stood half way through that step; at the end of the text the cursor is then past the end.
    //   The box leaves it where the next step began.
    // - Redoing the deletion of a selection that the cursor started, it sets a selection from -1
    //   to 1, and shows the first character of the text as selected (or, when the text is empty,
    //   the first character typed next). The box selects nothing.
    // - Ctrl+Shift+Backspace (X11) selects back to the start of the word and deletes forwards:
    //   where that selects nothing, at the start of the text or of the word, it deletes the
    //   character after the cursor. The box erases only backwards.
    [[nodiscard]] bool LineEditWentWrong(const Key& key) const {
        QKeyEvent event(QEvent::KeyPress, key.key, key.modifiers);
        const qsizetype cursor_off = std::abs(reference.cursorPosition() - box.cursorPosition());
        if (event.matches(QKeySequence::Redo) && reference.text() == box.text()) {
            const bool selection_before_the_start =
                (reference.hasSelectedText() && reference.selectionStart() < 0) ||
                reference.text().isEmpty();
            return (selection_before_the_start && cursor_off == 0) ||
                   (!reference.hasSelectedText() && cursor_off == 1);
        }
        if (key.key == Qt::Key_Backspace && key.modifiers == (kCtrl | kShift) && cursor_off == 0 &&
            !reference.hasSelectedText()) {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, box.text());
            graphemes.setPosition(box.cursorPosition());
            const qsizetype next = graphemes.toNextBoundary();
            QString erased_forwards = box.text();
            erased_forwards.remove(box.cursorPosition(), next - box.cursorPosition());
            return reference.text() == erased_forwards && erased_forwards != box.text();
        }
        return false;
    }
    [[nodiscard]] std::string Difference() const {
        std::string why;
        if (reference.text() != box.text()) {
            why += " text \"" + box.text().toStdString() + "\", the line edit has \"" +
                   reference.text().toStdString() + '"';
        }
        if (reference.cursorPosition() != box.cursorPosition()) {
            why += " cursor " + std::to_string(box.cursorPosition()) + ", the line edit's " +
                   std::to_string(reference.cursorPosition());
        }
        if (reference.selectedText() != box.selectedText()) {
            why += " selection \"" + box.selectedText().toStdString() + "\", the line edit's \"" +
                   reference.selectedText().toStdString() + '"';
        }
        // Where the text fits or starts the laid-out run, the cursor is drawn at the same pixel.
        if (const auto [box_x, line_edit_x] = CursorX();
            box_x != line_edit_x &&
            reference.text().size() < platform::qt::text_box_limits::kShownLimit &&
            !box.text().isRightToLeft()) {
            why += " cursor drawn at x " + std::to_string(box_x) + ", the line edit's at " +
                   std::to_string(line_edit_x);
        }
        return why;
    }

    // Where each draws its cursor, 5 pixels into the rectangle each reports around it. When
    // the laid-out run does not start where the text does, or a text reading right to left does
    // not end where the run does, the two may differ by a pixel, as the box measures from the run
    // and rounds there.
    [[nodiscard]] std::pair<int, int> CursorX() const {
        return {box.cursorRect().x() + 5, reference.cursorRect().x() + 5};
    }

    LineEdit reference;
    QtTextBox box;
    QWidget elsewhere;
};

// Whatever text a key event carries is typed as the line edit types it: emoji and other
// characters outside the basic plane, format characters (ZWNJ from a Persian layout's
// Shift+Space, ZWJ, LRM), private use, Super+digit and AltGr (Ctrl+Alt); not Ctrl or Ctrl+Shift
// alone, which are commands, nor control characters.
TEST(BoundedLineEdit, TypesWhatEveryKeyEventCarriesAsTheLineEditDoes) {
    struct Typed {
        const char* utf8;
        Qt::KeyboardModifiers modifiers;
    };
    constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
    constexpr Qt::KeyboardModifiers kMeta = Qt::MetaModifier;
    const Typed cases[] = {
        {"7", Qt::NoModifier},
        {"\xF0\x9F\x98\x80", Qt::NoModifier}, // an emoji, outside the basic plane
        {"\xE2\x80\x8C", kShift},             // ZWNJ, Shift+Space on a Persian layout
        {"\xE2\x80\x8D", Qt::NoModifier},     // ZWJ
        {"\xE2\x80\x8E", kCtrl | kShift},     // LRM
        {"\xEE\x80\x80", Qt::NoModifier},     // private use
        {"\xD9\xA3", Qt::NoModifier},         // an Arabic-Indic digit
        {"1", kMeta},
        {"1", kCtrl | kAlt},
        {"@", kCtrl | kAlt}, // AltGr+Q on a German layout
        {"1", kAlt},
        {"a", kCtrl},
        {"A", kCtrl | kShift},
        {"\t", Qt::NoModifier},
        {"\x01", Qt::NoModifier},
    };
    Pair pair;
    for (const auto& [utf8, modifiers] : cases) {
        pair.Set(QStringLiteral("5"), 1);
        const QString text = QString::fromUtf8(utf8);
        for (QWidget* const widget :
             {static_cast<QWidget*>(&pair.reference), static_cast<QWidget*>(&pair.box)}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers, text);
            QApplication::sendEvent(widget, &press);
        }
        EXPECT_EQ(pair.Difference(), "") << utf8 << " with modifiers " << modifiers.toInt();
    }
    // That the comparison means something: an emoji and a ZWNJ are in the box.
    pair.Set(QString(), 0);
    for (const char* utf8 : {"\xF0\x9F\x98\x80", "\xE2\x80\x8C"}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(utf8));
        QApplication::sendEvent(&pair.box, &press);
    }
    EXPECT_EQ(pair.box.text(), QString::fromUtf8("\xF0\x9F\x98\x80\xE2\x80\x8C"));
}

std::string Describe(const Key& key) {
    std::string name = QKeySequence(key.key | key.modifiers).toString().toStdString();
    return name.empty() ? std::to_string(key.key) : name;
}

// Every editing key from every place a cursor can be in each text, compared with the line edit
// after each; then `at_each_place(text, cursor)`.
template <class AtEachPlace>
void CompareEveryKeyEverywhere(Pair& pair, std::span<const QString> texts,
                               AtEachPlace at_each_place) {
    for (const QString& text : texts) {
        for (int cursor = 0; cursor <= text.size(); ++cursor) {
            if (cursor < text.size() && text.at(cursor).isLowSurrogate()) {
                continue; // not a place for a cursor
            }
            for (const Key& key : kEditingKeys) {
                pair.Set(text, cursor);
                if (pair.PressChecked(key)) {
                    continue;
                }
                ASSERT_EQ(pair.Difference(), "")
                    << '"' << text.toStdString() << "\" at " << cursor << ", " << Describe(key);
            }
            at_each_place(text, cursor);
        }
    }
}

TEST(BoundedLineEdit, AnswersEveryEditingKeyAsTheLineEditDoes) {
    Pair pair;
    CompareEveryKeyEverywhere(pair, kTexts, [](const QString&, int) {});
}

// Long random runs of the same keys, undo and redo among them, checked after every key; a
// failure shows the keys that led to it.
TEST(BoundedLineEdit, StaysInStepWithTheLineEditThroughRandomEditing) {
    Pair pair;
    std::mt19937 random(20261208);
    const std::vector<Key> keys(std::begin(kEditingKeys), std::end(kEditingKeys));
    for (const QString& text : kTexts) {
        pair.Set(text, 0);
        std::deque<std::string> recent;
        for (int press = 0; press < 1000; ++press) {
            const Key key =
                keys[std::uniform_int_distribution<std::size_t>(0, keys.size() - 1)(random)];
            const bool line_edit_wrong = pair.PressChecked(key);
            recent.push_back(Describe(key) + " -> \"" + pair.box.text().toStdString() + "\" " +
                             std::to_string(pair.box.selectionStart()) + ".." +
                             std::to_string(pair.box.selectionEnd()) + " cursor " +
                             std::to_string(pair.box.cursorPosition()));
            if (recent.size() > 16) {
                recent.pop_front();
            }
            const std::string difference = pair.Difference();
            if (!line_edit_wrong && !difference.empty()) {
                std::string keys_before;
                for (const std::string& line : recent) {
                    keys_before += "\n  " + line;
                }
                FAIL() << '"' << text.toStdString() << "\" press " << press << ":" << difference
                       << "\nthe box after the last keys:" << keys_before;
            }
        }
    }
}

// What users do around an undo, each compared with the line edit after every key, and the box's
// text and cursor at the end. A step is a key ("Ctrl+Z") or, quoted, text typed a key at a time.
TEST(BoundedLineEdit, UndoesAndRedoesInTheLineEditsSteps) {
    struct Scenario {
        const char* text;
        int cursor;
        std::vector<const char*> steps;
        const char* after;
    };
    const Scenario scenarios[] = {
        {"5", 1, {"Ctrl+A", "'abc'", "Ctrl+Z"}, "5|1"},
        {"5", 1, {"Ctrl+A", "Backspace", "'12.5-3'", "Ctrl+Z", "Ctrl+Shift+Z"}, "12.5-3|6"},
        {"abcdef", 6, {"Home", "Del", "Del", "Del", "Ctrl+Z"}, "abcdef|0"},
        {"12",
         2,
         {"'34'", "Backspace", "Backspace", "Backspace", "'5'", "Ctrl+Z", "Ctrl+Z", "Ctrl+Z",
          "Ctrl+Shift+Z", "Ctrl+Shift+Z"},
         "1|1"},
        {"37 days 5", 7, {"Ctrl+Shift+Left", "Del", "Del", "Ctrl+Z", "Ctrl+Shift+Z"}, "37 5|3"},
        // The redo leaves the cursor where "2" was typed next; the line edit's is past the end.
        {"37", 2, {"Left", "'1'", "End", "'2'", "Ctrl+Z", "Ctrl+Z", "Ctrl+Shift+Z"}, "317|3"},
    };
    Pair pair;
    for (const Scenario& scenario : scenarios) {
        pair.Set(QString::fromUtf8(scenario.text), scenario.cursor);
        std::string done = scenario.text;
        for (const char* step : scenario.steps) {
            done += std::string(", ") + step;
            if (step[0] == '\'') {
                const QString typed =
                    QString::fromUtf8(step + 1, static_cast<qsizetype>(std::strlen(step)) - 2);
                QTest::keyClicks(&pair.reference, typed);
                QTest::keyClicks(&pair.box, typed);
            } else {
                const QKeyCombination key = QKeySequence::fromString(QString::fromUtf8(step))[0];
                if (pair.PressChecked({key.key(), key.keyboardModifiers()})) {
                    continue;
                }
            }
            ASSERT_EQ(pair.Difference(), "") << done;
        }
        EXPECT_EQ(pair.box.text().toStdString() + '|' + std::to_string(pair.box.cursorPosition()),
                  scenario.after)
            << done;
    }
}

// Shift+Insert pastes the clipboard; on X11, Ctrl+Shift+Insert pastes what is selected anywhere
// on the screen, and a middle click does too.
TEST(BoundedLineEdit, PastesFromTheClipboardsAsTheLineEditDoes) {
    Pair pair;
    QClipboard* const clipboard = QApplication::clipboard();
    for (const Key& key : {Key{Qt::Key_Insert, kShift}, Key{Qt::Key_Insert, kCtrl | kShift}}) {
        clipboard->setText(QStringLiteral("7"));
        if (clipboard->supportsSelection()) {
            clipboard->setText(QStringLiteral("42"), QClipboard::Selection);
        }
        pair.Set(QStringLiteral("1"), 1);
        pair.Press(key);
        EXPECT_EQ(pair.Difference(), "") << Describe(key);
    }
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        EXPECT_EQ(pair.box.text(), "142");
        pair.Set(QStringLiteral("1"), 0);
        QTest::mouseClick(&pair.reference, Qt::MiddleButton, {}, QPoint(150, 12));
        QTest::mouseClick(&pair.box, Qt::MiddleButton, {}, QPoint(150, 12));
        EXPECT_EQ(pair.Difference(), "") << "middle click";
        EXPECT_EQ(pair.box.text(), "142");
    }
}

// A word step crosses the whole word, however long, from either end or inside it.
TEST(BoundedLineEdit, StepsOverWordsOfAnyLength) {
    const Key word_keys[] = {{Qt::Key_Left, kCtrl},          {Qt::Key_Right, kCtrl},
                             {Qt::Key_Left, kCtrl | kShift}, {Qt::Key_Right, kCtrl | kShift},
                             {Qt::Key_Backspace, kCtrl},     {Qt::Key_Delete, kCtrl}};
    Pair pair;
    for (const qsizetype length : {300, 5000}) {
        const QString digits(length, QLatin1Char('7'));
        for (const QString& text :
             {digits, QStringLiteral("1 ") + digits + QStringLiteral(" 2"),
              QStringLiteral("1") + QString(length, QLatin1Char(' ')) + QStringLiteral("2")}) {
            for (const qsizetype cursor : {qsizetype{0}, qsizetype{2}, length / 2, text.size()}) {
                for (const Key& key : word_keys) {
                    pair.Set(text, static_cast<int>(cursor));
                    pair.Press(key);
                    ASSERT_EQ(pair.Difference().substr(0, 200), "")
                        << length << " characters, cursor at " << cursor << ", " << Describe(key);
                }
            }
        }
    }
}

// Hebrew, Arabic and Persian, alone and mixed with digits and Latin letters.
const QString kRightToLeftTexts[] = {
    QString::fromUtf8("\xD7\xA9\xD7\x9C"),                             // של
    QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D 12.5 days"),   // שלום 12.5 days
    QString::fromUtf8("12 \xD9\x8A\xD9\x88\xD9\x85 \xD9\xA3\xD9\xA4"), // 12 يوم ٣٤
    QString::fromUtf8(
        "37 \xD8\xB1\xD9\x88\xD8\xB2\xE2\x80\x8C\xD9\x87\xD8\xA7"),  // 37 روز‌ها
    QString::fromUtf8("days \xD7\x99\xD7\x9E\xD7\x99\xD7\x9D 44.1"), // days ימים 44.1
    QString::fromUtf8("\xF0\x9F\x98\x80 \xD7\xA9\xD7\x9C 5"),        // an emoji, then Hebrew
};

// A text that reads right to left is aligned right, drawn, stepped through by the arrows and
// the word keys, and scrolled as in the line edit, whose direction follows the text's first
// letter.
TEST(BoundedLineEdit, ReadsRightToLeftAsTheLineEditDoes) {
    Pair pair;
    CompareEveryKeyEverywhere(pair, kRightToLeftTexts, [&](const QString& text, int cursor) {
        pair.Set(text, cursor);
        EXPECT_EQ(pair.box.grab().toImage(), pair.reference.grab().toImage())
            << '"' << text.toStdString() << "\" at " << cursor;
    });
    ASSERT_FALSE(HasFatalFailure());
    // Stepping through a long text a character and a word at a time, the cursor stays where the
    // line edit's is, without jumps as the laid-out run moves.
    QString long_text;
    for (std::size_t word = 0; long_text.size() < 3000; ++word) {
        long_text += kRightToLeftTexts[word % std::size(kRightToLeftTexts)] + QLatin1Char(' ');
    }
    const auto near = [](std::pair<int, int> x) { return std::abs(x.first - x.second) <= 1; };
    const struct {
        Key key;
        int from;
        int presses;
    } walks[] = {{{Qt::Key_Left}, 1000, 300},
                 {{Qt::Key_Right, kCtrl}, static_cast<int>(long_text.size()), 200},
                 {{Qt::Key_Left, kCtrl}, 0, 200}};
    for (const auto& [key, from, presses] : walks) {
        pair.Set(long_text, from);
        ASSERT_PRED1(near, pair.CursorX()) << Describe(key) << " at the start";
        for (int press = 0; press < presses; ++press) {
            pair.Press(key);
            ASSERT_EQ(pair.Difference(), "") << Describe(key) << " pressed " << press + 1;
            ASSERT_PRED1(near, pair.CursorX()) << Describe(key) << " pressed " << press + 1
                                               << ", cursor at " << pair.box.cursorPosition();
        }
    }
}

TEST(BoundedLineEdit, LooksAndMeasuresAsTheLineEditDoes) {
    Pair pair;
    EXPECT_EQ(pair.box.sizeHint(), pair.reference.sizeHint());
    EXPECT_EQ(pair.box.minimumSizeHint(), pair.reference.minimumSizeHint());
    const QString fitting[] = {{}, "37", "5e289", "8565786000.00", "-1.5e-7 days"};
    for (const QString& text : fitting) {
        for (const bool at_start : {false, true}) {
            pair.Set(text, at_start ? 0 : static_cast<int>(text.size()));
            EXPECT_EQ(pair.box.grab().toImage(), pair.reference.grab().toImage())
                << '"' << text.toStdString() << (at_start ? "\" from its start" : "\" to its end");
        }
    }
    pair.reference.setSelection(3, 5);
    pair.box.setSelection(3, 8);
    EXPECT_EQ(pair.box.grab().toImage(), pair.reference.grab().toImage()) << "with a selection";

    // In a font without Hebrew, Arabic or emoji, drawn from another font, with another ascent.
    for (const char* family : {"DejaVu Serif", "DejaVu Sans Mono"}) {
        pair.reference.setFont(ReferenceFont(11, QString::fromUtf8(family)));
        pair.box.setFont(ReferenceFont(11, QString::fromUtf8(family)));
        EXPECT_EQ(pair.box.grab().toImage(), pair.reference.grab().toImage())
            << "the text it had, now in " << family;
        for (const char* text : {"12 \xD7\xA9\xD7\x9C", "\xD9\xA3\xD9\xA4 \xD9\x8A\xD9\x88\xD9\x85",
                                 "5 \xF0\x9F\x98\x80 7", "e\xCC\x81te"}) {
            pair.Set(QString::fromUtf8(text), 0);
            EXPECT_EQ(pair.box.grab().toImage(), pair.reference.grab().toImage())
                << text << " in " << family;
        }
    }
}

// A text wider than the box scrolls as in the line edit: to the cursor, wherever it goes, and
// back to fill the box when the end is erased.
TEST(BoundedLineEdit, ScrollsAsTheLineEditDoes) {
    Pair pair;
    const QString long_text =
        QStringLiteral("8565786000.00 days at CD quality, and then some more");
    pair.Set(long_text, static_cast<int>(long_text.size()));
    const auto near = [](std::pair<int, int> x) { return std::abs(x.first - x.second) <= 1; };
    EXPECT_PRED1(near, pair.CursorX()) << "at the end";
    const Key moves[] = {{Qt::Key_Home},         {Qt::Key_Right, kCtrl}, {Qt::Key_Right, kCtrl},
                         {Qt::Key_Right, kCtrl}, {Qt::Key_Right, kCtrl}, {Qt::Key_Right, kCtrl},
                         {Qt::Key_Right, kCtrl}, {Qt::Key_End},          {Qt::Key_Left, kCtrl},
                         {Qt::Key_Left, kCtrl},  {Qt::Key_Left, kCtrl},  {Qt::Key_Left, kCtrl},
                         {Qt::Key_Left, kCtrl},  {Qt::Key_Left, kCtrl},  {Qt::Key_Left, kCtrl}};
    for (const Key& key : moves) {
        pair.Press(key);
        EXPECT_PRED1(near, pair.CursorX()) << "cursor at " << pair.box.cursorPosition();
    }
    pair.Press({Qt::Key_End});
    for (int erased = 0; erased < 30; ++erased) {
        pair.Press({Qt::Key_Backspace});
        EXPECT_PRED1(near, pair.CursorX()) << erased + 1 << " erased";
    }
}

QString Days(char whole, qsizetype length) {
    QString text(length, QLatin1Char('0'));
    text[0] = QLatin1Char(whole);
    text[1] = QLatin1Char('.');
    return text;
}

// Ten mebibyte pastes: each kept whole and estimated, the last undoable, and the cursor in sight at
// either end of the text.
TEST(BoundedLineEdit, KeepsAHugeTextWholeWithTheCursorInSight) {
    QtForm1 form;
    QtTextBox& box = form.Box("txtArchive");
    box.setFocus();
    constexpr qsizetype kMebibyte = 1 << 20;
    for (int paste = 0; paste < 10; ++paste) {
        QApplication::clipboard()->setText(Days(paste % 2 == 0 ? '1' : '2', kMebibyte));
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_V, kCtrl);
        ASSERT_EQ(box.text().size(), kMebibyte);
        EXPECT_EQ(form.Captions(), form.FreshFor()) << paste;
    }
    const auto cursor_in_sight = [&] {
        return box.contentsRect().contains(box.cursorRect().center());
    };
    // A character is drawn where it is in sight, and nowhere when it is not.
    const auto in_sight = [&](qsizetype position) {
        return !box.characterRect(position).isEmpty();
    };
    EXPECT_TRUE(cursor_in_sight());
    EXPECT_TRUE(in_sight(kMebibyte - 1));
    EXPECT_FALSE(in_sight(kMebibyte - 100));
    QTest::keyClick(&box, Qt::Key_Home);
    EXPECT_TRUE(in_sight(0));
    EXPECT_TRUE(cursor_in_sight());

    QTest::keyClick(&box, Qt::Key_Z, kCtrl);
    EXPECT_EQ(box.text(), Days('1', kMebibyte));
    EXPECT_EQ(form.Captions(), form.FreshFor());
    QTest::keyClick(&box, Qt::Key_Z, kCtrl | kShift);
    EXPECT_EQ(box.text(), Days('2', kMebibyte));

    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, "37");
    EXPECT_EQ(form.Captions(),
              (std::pair<std::string, std::string>{"34.15", "GB - (34974.63 MB)"}));
}

TEST(BoundedLineEdit, SelectsWithTheMouseAsTheLineEditDoes) {
    Pair pair;
    pair.Set(QStringLiteral("12.5 days at 44.1"), 0);
    const QPoint inside_days(45, 12);
    QTest::mouseClick(&pair.reference, Qt::LeftButton, {}, inside_days);
    QTest::mouseClick(&pair.box, Qt::LeftButton, {}, inside_days);
    EXPECT_EQ(pair.Difference(), "") << "click";
    QTest::mouseClick(&pair.reference, Qt::LeftButton, kShift, QPoint(120, 12));
    QTest::mouseClick(&pair.box, Qt::LeftButton, kShift, QPoint(120, 12));
    EXPECT_EQ(pair.Difference(), "") << "shift-click";
    QTest::mouseDClick(&pair.reference, Qt::LeftButton, {}, inside_days);
    QTest::mouseDClick(&pair.box, Qt::LeftButton, {}, inside_days);
    EXPECT_EQ(pair.Difference(), "") << "double click";
    QTest::mouseClick(&pair.reference, Qt::LeftButton, {}, inside_days);
    QTest::mouseClick(&pair.box, Qt::LeftButton, {}, inside_days);
    EXPECT_EQ(pair.Difference(), "") << "triple click";
    EXPECT_EQ(pair.box.selectedText(), pair.box.text()) << "triple click";

    // A drag from inside past either edge of a long text: the further out, the further the
    // selection reaches.
    QString long_text;
    for (int number = 0; long_text.size() < 300; ++number) {
        long_text += QString::number(number * 37) + QLatin1Char(' ');
    }
    for (const int start : {0, static_cast<int>(long_text.size())}) {
        pair.Set(long_text, start);
        const int inside = start == 0 ? 20 : 140;
        for (QWidget* const widget :
             {static_cast<QWidget*>(&pair.reference), static_cast<QWidget*>(&pair.box)}) {
            QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(inside, 12));
        }
        for (const int x : {start == 0 ? 170 : -10, start == 0 ? 200 : -40, start == 0 ? 260 : -100,
                            start == 0 ? 400 : -250}) {
            for (QWidget* const widget :
                 {static_cast<QWidget*>(&pair.reference), static_cast<QWidget*>(&pair.box)}) {
                QMouseEvent move(QEvent::MouseMove, QPointF(x, 12),
                                 widget->mapToGlobal(QPointF(x, 12)), Qt::NoButton, Qt::LeftButton,
                                 {});
                QApplication::sendEvent(widget, &move);
                (void)pair.reference.grab();
            }
            EXPECT_EQ(pair.Difference(), "") << "dragged to " << x;
        }
        for (QWidget* const widget :
             {static_cast<QWidget*>(&pair.reference), static_cast<QWidget*>(&pair.box)}) {
            QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(inside, 12));
        }
    }
}

TEST(BoundedLineEdit, TakesTextFromAnInputMethod) {
    QtForm1 form;
    QtTextBox& box = form.Box("txtCD");
    box.setFocus();
    box.end(false);
    QInputMethodEvent composing(QStringLiteral("٣"), {});
    QApplication::sendEvent(&box, &composing);
    EXPECT_EQ(box.text(), "5") << "text being composed is not yet the box's";
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("0"));
    QApplication::sendEvent(&box, &committed);
    EXPECT_EQ(box.text(), "50");
    EXPECT_EQ(form.Captions(), form.FreshFor());
    EXPECT_EQ(box.inputMethodQuery(Qt::ImSurroundingText).toString(), "50");
    EXPECT_EQ(box.inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);

    // In a long text the method sees a window around the cursor, and its positions count from
    // the window's start.
    box.setText(QString(5000, QLatin1Char('1')) + QStringLiteral("234"));
    const QString surrounding = box.inputMethodQuery(Qt::ImSurroundingText).toString();
    const int cursor = box.inputMethodQuery(Qt::ImCursorPosition).toInt();
    EXPECT_LT(surrounding.size(), 5003);
    EXPECT_TRUE(surrounding.endsWith(QStringLiteral("234")));
    EXPECT_EQ(cursor, surrounding.size());
    const QList<QInputMethodEvent::Attribute> select_last_two{
        {QInputMethodEvent::Selection, cursor - 2, 2, {}}};
    QInputMethodEvent selecting({}, select_last_two);
    QApplication::sendEvent(&box, &selecting);
    EXPECT_EQ(box.selectedText(), "34");
}

// The input method is kept up to date as a line edit keeps it: each edit and cursor move tells it
// the cursor rectangle again, so its candidate window follows the cursor; it hears the other end
// of a selection; and an event that carries nothing to type leaves the text and selection alone.
TEST(BoundedLineEdit, KeepsTheInputMethodCurrentAsTheLineEditDoes) {
    Pair pair;
    const auto updates = [](QWidget& widget, const std::function<void()>& keys) {
        Pair::Focus(widget);
        const QSignalSpy moved(QGuiApplication::inputMethod(),
                               &QInputMethod::cursorRectangleChanged);
        keys();
        return moved.count();
    };
    for (QWidget* const widget :
         {static_cast<QWidget*>(&pair.reference), static_cast<QWidget*>(&pair.box)}) {
        pair.Set(QStringLiteral("5"), 1);
        const qsizetype moves = updates(*widget, [&] {
            QTest::keyClicks(widget, "123");
            QTest::keyClick(widget, Qt::Key_Home);
        });
        EXPECT_GE(moves, 4) << widget->metaObject()->className();
    }

    pair.box.setText(QStringLiteral("12345"));
    pair.box.setSelection(1, 3); // "23", the cursor at 3
    const QRect cursor = pair.box.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QRect anchor = pair.box.inputMethodQuery(Qt::ImAnchorRectangle).toRect();
    EXPECT_LT(anchor.x(), cursor.x());
    EXPECT_EQ(anchor.x() + 5, pair.box.characterRect(1).left());
    QInputMethodEvent nothing;
    QApplication::sendEvent(&pair.box, &nothing);
    EXPECT_EQ(pair.box.text(), "12345");
    EXPECT_EQ(pair.box.selectedText(), "23");
}

// An input method's events, one after another, to the focused line edit and then to the focused
// box: after each, both must look the same (the composition's formats, its cursor or none), give
// the same answers to the method's queries, and tell it of a moved cursor alike.
TEST(BoundedLineEdit, ComposesAsTheLineEditDoes) {
    using Attribute = QInputMethodEvent::Attribute;
    QTextCharFormat underlined;
    underlined.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    QTextCharFormat marked;
    marked.setBackground(Qt::yellow);
    marked.setFontWeight(QFont::Bold);
    struct Step {
        const char* what;
        QString preedit;
        QList<Attribute> attributes;
        QString commit{};
        int replace_from = 0;
        int replace_length = 0;
    };
    const Step steps[] = {
        {"composing",
         "ab",
         {{QInputMethodEvent::TextFormat, 0, 2, underlined},
          {QInputMethodEvent::Cursor, 2, 1, {}}}},
        {"two formats, the cursor hidden",
         "abc",
         {{QInputMethodEvent::TextFormat, 0, 1, marked},
          {QInputMethodEvent::TextFormat, 1, 2, underlined},
          {QInputMethodEvent::Cursor, 1, 0, {}}}},
        {"committed", {}, {}, "x"},
        {"replacing the character before the cursor", {}, {}, "yz", -1, 1},
        {"selecting", {}, {{QInputMethodEvent::Selection, 0, 2, {}}}},
        {"nothing", {}, {}},
        {"composing over the selection", "q", {}},
    };
    const Qt::InputMethodQuery queries[] = {Qt::ImCursorRectangle,  Qt::ImAnchorRectangle,
                                            Qt::ImCursorPosition,   Qt::ImAnchorPosition,
                                            Qt::ImSurroundingText,  Qt::ImCurrentSelection,
                                            Qt::ImTextBeforeCursor, Qt::ImTextAfterCursor};
    struct Seen {
        QImage image;
        QString text;
        std::vector<QVariant> answers;
        bool told;
    };
    Pair pair;
    const auto run = [&](QWidget& widget) {
        pair.Set(QStringLiteral("12"), 2);
        Pair::Focus(widget);
        std::vector<Seen> seen;
        for (const Step& step : steps) {
            const QSignalSpy moved(QGuiApplication::inputMethod(),
                                   &QInputMethod::cursorRectangleChanged);
            QInputMethodEvent event(step.preedit, step.attributes);
            event.setCommitString(step.commit, step.replace_from, step.replace_length);
            QApplication::sendEvent(&widget, &event);
            Seen now{widget.grab().toImage(), {}, {}, moved.count() > 0};
            now.text = widget.inputMethodQuery(Qt::ImSurroundingText).toString();
            for (const Qt::InputMethodQuery query : queries) {
                now.answers.push_back(widget.inputMethodQuery(query));
            }
            seen.push_back(now);
        }
        return seen;
    };
    const std::vector<Seen> reference = run(pair.reference);
    const std::vector<Seen> box = run(pair.box);
    for (std::size_t step = 0; step < std::size(steps); ++step) {
        EXPECT_EQ(box[step].text, reference[step].text) << steps[step].what;
        EXPECT_EQ(box[step].image, reference[step].image) << steps[step].what;
        for (std::size_t query = 0; query < std::size(queries); ++query) {
            EXPECT_EQ(box[step].answers[query], reference[step].answers[query])
                << steps[step].what << ", query " << queries[query];
        }
        EXPECT_EQ(box[step].told, reference[step].told) << steps[step].what;
    }
}

TEST(BoundedLineEdit, TakesTextDroppedOnIt) {
    QtForm1 form;
    QtTextBox& box = form.Box("txtArchive");
    QMimeData dragged;
    dragged.setText(QStringLiteral("1"));
    const QPoint after_the_text(box.width() - 4, box.height() / 2);
    QDragEnterEvent enter(after_the_text, Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QApplication::sendEvent(&box, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(after_the_text, Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QApplication::sendEvent(&box, &drop);
    EXPECT_EQ(box.text(), "371");
    EXPECT_EQ(form.Captions(), form.FreshFor());
}

// While text is dragged over it, the box shows where it would go with its cursor, as the line
// edit does (each compared while focused, as the line edit shows no cursor before it has ever
// had the focus), and stops showing it when the drag leaves.
TEST(BoundedLineEdit, ShowsWhereDraggedTextWouldGoAsTheLineEditDoes) {
    Pair pair;
    QMimeData dragged;
    dragged.setText(QStringLiteral("7"));
    const QPoint points[] = {QPoint(45, 12), QPoint(100, 12), QPoint(150, 12)};
    const auto run = [&](QWidget& widget) {
        pair.Set(QStringLiteral("12.5 days at 44.1"), 0);
        Pair::Focus(widget);
        std::vector<QImage> seen;
        for (const QPoint at : points) {
            QDragEnterEvent enter(at, Qt::CopyAction, &dragged, Qt::LeftButton, {});
            QApplication::sendEvent(&widget, &enter);
            EXPECT_TRUE(enter.isAccepted());
            QDragMoveEvent move(at, Qt::CopyAction, &dragged, Qt::LeftButton, {});
            QApplication::sendEvent(&widget, &move);
            seen.push_back(widget.grab().toImage());
        }
        QDragLeaveEvent leave;
        QApplication::sendEvent(&widget, &leave);
        seen.push_back(widget.grab().toImage());
        return seen;
    };
    const std::vector<QImage> reference = run(pair.reference);
    const std::vector<QImage> box = run(pair.box);
    for (std::size_t point = 0; point < std::size(points); ++point) {
        EXPECT_EQ(box[point], reference[point]) << "over " << points[point].x();
    }
    EXPECT_EQ(box.back(), reference.back()) << "left";
    EXPECT_NE(box[0], box[1]) << "the cursor follows the pointer";
}

// Pressed in the selection and moved, the selection is dragged out as text and stays; pressed
// and released there, the cursor goes where the click was.
TEST(BoundedLineEdit, DragsItsSelectionOutAsText) {
    Pair pair;
    pair.Set(QStringLiteral("12.5 days at 44.1"), 0);
    pair.box.setSelection(5, 9); // "days"
    const QPoint in_days(45, 12);
    QString dragged;
    QTimer::singleShot(0, &pair.box, [&] {
        if (auto* const drag = pair.box.findChild<QDrag*>()) {
            dragged = drag->mimeData()->text();
        }
        QDrag::cancel();
    });
    QTest::mousePress(&pair.box, Qt::LeftButton, {}, in_days);
    QMouseEvent move(QEvent::MouseMove, QPointF(in_days + QPoint(40, 0)),
                     pair.box.mapToGlobal(QPointF(in_days + QPoint(40, 0))), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(&pair.box, &move);
    QCoreApplication::processEvents();
    EXPECT_EQ(dragged, "days");
    EXPECT_EQ(pair.box.text(), "12.5 days at 44.1");
    EXPECT_EQ(pair.box.selectedText(), "days");

    pair.reference.setSelection(5, 4);
    for (QWidget* const widget :
         {static_cast<QWidget*>(&pair.reference), static_cast<QWidget*>(&pair.box)}) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, in_days);
    }
    EXPECT_EQ(pair.Difference(), "") << "a click in the selection";
}

// The commands of a menu, without their shortcuts, and whether each is enabled.
std::vector<std::pair<std::string, bool>> Offered(const QMenu& menu) {
    std::vector<std::pair<std::string, bool>> offered;
    for (QAction* const action : menu.actions()) {
        if (!action->isSeparator()) {
            offered.emplace_back(action->text().section(QLatin1Char('\t'), 0, 0).toStdString(),
                                 action->isEnabled());
        }
    }
    return offered;
}

// The context menu offers the line edit's commands, enabled when the line edit's are, and they
// do what they say.
TEST(BoundedLineEdit, OffersTheEditingCommandsInItsContextMenu) {
    Pair pair;
    const auto box_menu = [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                pair.box.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&pair.box, &event);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    };
    const struct {
        const char* what;
        const char* text;
        std::function<void(QWidget&)> state;
        const char* clipboard;
    } states[] = {
        {"empty", "", [](QWidget&) {}, ""},
        {"all selected", "37", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_A, kCtrl); }, "12"},
        {"part selected", "37", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Left, kShift); }, ""},
        {"typed into", "37", [](QWidget& w) { QTest::keyClicks(&w, "5"); }, "12"},
        {"typed and undone", "37",
         [](QWidget& w) {
             QTest::keyClicks(&w, "5");
             QTest::keyClick(&w, Qt::Key_Z, kCtrl);
         },
         "12"},
    };
    for (const auto& [what, text, state, clipboard] : states) {
        QApplication::clipboard()->setText(QString::fromUtf8(clipboard));
        pair.Set(QString::fromUtf8(text), static_cast<int>(std::strlen(text)));
        state(pair.reference);
        state(pair.box);
        const std::unique_ptr<QMenu> reference(pair.reference.createStandardContextMenu());
        QMenu* const menu = box_menu();
        ASSERT_NE(menu, nullptr) << what;
        EXPECT_EQ(Offered(*menu), Offered(*reference)) << what;
        menu->close();
    }

    pair.Set(QStringLiteral("5"), 1);
    pair.box.selectAll();
    QApplication::clipboard()->setText(QStringLiteral("12"));
    QMenu* const menu = box_menu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    const auto paste = std::find_if(actions.begin(), actions.end(), [](QAction* action) {
        return action->text().startsWith(QLatin1String("&Paste"));
    });
    ASSERT_NE(paste, actions.end());
    (*paste)->trigger();
    menu->close();
    EXPECT_EQ(pair.box.text(), "12");
    EXPECT_TRUE(pair.box.isUndoAvailable());
}

// What a screen reader reads and does through the box.
TEST(BoundedLineEdit, IsAnEditableTextToAScreenReader) {
    QtForm1 form;
    QtTextBox& box = form.Box("txtArchive");
    QAccessibleInterface* const accessible = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_TRUE(accessible->state().editable);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Days at archive quality");
    EXPECT_EQ(accessible->text(QAccessible::Value), "37");
    QAccessibleTextInterface* const text = accessible->textInterface();
    QAccessibleEditableTextInterface* const editable = accessible->editableTextInterface();
    ASSERT_NE(text, nullptr);
    ASSERT_NE(editable, nullptr);

    editable->insertText(2, QStringLiteral(".5"));
    editable->deleteText(0, 1);
    EXPECT_EQ(box.text(), "7.5");
    EXPECT_EQ(form.Captions(), form.FreshFor());
    EXPECT_EQ(text->characterCount(), 3);
    EXPECT_EQ(text->text(1, 3), ".5");
    text->setSelection(0, 1, 3);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(1, 3));
    EXPECT_EQ(text->cursorPosition(), 3);

    const QRect second = text->characterRect(1);
    ASSERT_FALSE(second.isEmpty());
    EXPECT_TRUE(QRect(box.mapToGlobal(QPoint(0, 0)), box.size()).contains(second));
    EXPECT_EQ(text->offsetAtPoint(second.center()), 1);
    EXPECT_TRUE(text->characterRect(50).isEmpty());
}

// A screen reader may ask for any range; the part inside the text is given, as a line edit gives
// it, and ranges at the ends of an int do not overflow. The text has no attributes, so its one
// run of none spans all of it from any offset (a run that ended where it began left Orca with no
// value to speak on focus).
TEST(BoundedLineEdit, AnswersAScreenReadersRangesAsALineEditDoes) {
    QtForm1 form;
    QtTextBox& box = form.Box("txtCD");
    box.setText("12345");
    QAccessibleTextInterface* const text =
        QAccessible::queryAccessibleInterface(&box)->textInterface();
    QLineEdit line_edit("12345");
    QAccessibleTextInterface* const reference =
        QAccessible::queryAccessibleInterface(&line_edit)->textInterface();
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    const std::tuple<int, int, const char*> ranges[] = {
        {-2, 3, "123"}, {1, 3, "23"}, {3, 1, ""},     {0, 99, "12345"}, {5, 5, ""},
        {6, 9, ""},     {0, 0, ""},   {kMin, 1, "1"}, {4, kMax, "5"},   {kMin, kMax, "12345"},
    };
    for (const auto& [start, end, expected] : ranges) {
        EXPECT_EQ(text->text(start, end), QString::fromLatin1(expected)) << start << ".." << end;
        // The line edit's own arithmetic overflows at the ends of an int.
        if (start != kMin && end != kMax) {
            EXPECT_EQ(text->text(start, end), reference->text(start, end)) << start << ".." << end;
        }
    }
    for (const int offset : {-1, 0, 2, 5, 9}) {
        int run_start = -1;
        int run_end = -1;
        EXPECT_TRUE(text->attributes(offset, &run_start, &run_end).isEmpty());
        EXPECT_EQ(std::pair(run_start, run_end), std::pair(0, 5)) << offset;
    }
}

// A screen reader's word, sentence, character and line queries at, before and after every offset
// answer as the line edit's do (Qt's own answers, which scan the whole text), except that no item
// is the empty range -1..-1 (the line edit says -1..0), and at the very
// end (the offset of the length, or -1), where the line edit's word and sentence scans never
// return: there the box answers with nothing. On a mebibyte the box answers from a window around
// the offset.
TEST(BoundedLineEdit, FindsTheItemsAScreenReaderAsksForAsTheLineEditDoes) {
    const QString texts[] = {
        QStringLiteral("12.5 days at 44.1"),
        QString::fromUtf8("e\xCC\x81te 1e30. Next one"),
        QString::fromUtf8("5 \xF0\x9F\x98\x80 7"),
        QStringLiteral("37  "),
    };
    const QAccessible::TextBoundaryType boundaries[] = {
        QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
        QAccessible::LineBoundary, QAccessible::NoBoundary};
    QtForm1 form;
    QtTextBox& box = form.Box("txtCD");
    QAccessibleTextInterface* const ours =
        QAccessible::queryAccessibleInterface(&box)->textInterface();
    QLineEdit line_edit;
    QAccessibleTextInterface* const reference =
        QAccessible::queryAccessibleInterface(&line_edit)->textInterface();
    using Query =
        QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
    const std::pair<const char*, Query> queries[] = {
        {"at", &QAccessibleTextInterface::textAtOffset},
        {"before", &QAccessibleTextInterface::textBeforeOffset},
        {"after", &QAccessibleTextInterface::textAfterOffset}};
    for (const QString& text : texts) {
        box.setText(text);
        line_edit.setText(text);
        for (int offset = -1; offset <= text.size() + 1; ++offset) {
            for (const QAccessible::TextBoundaryType boundary : boundaries) {
                for (const auto& [name, query] : queries) {
                    const bool spins = query == queries[0].second &&
                                       (offset == text.size() || offset == -1) &&
                                       (boundary == QAccessible::WordBoundary ||
                                        boundary == QAccessible::SentenceBoundary);
                    if (spins) {
                        continue;
                    }
                    int start = 0;
                    int end = 0;
                    int expected_start = 0;
                    int expected_end = 0;
                    const QString got = (ours->*query)(offset, boundary, &start, &end);
                    const QString expected =
                        (reference->*query)(offset, boundary, &expected_start, &expected_end);
                    // Where there is no such item the line edit gives no text and the range
                    // -1..0; the box gives no range either.
                    if (expected.isEmpty() && expected_start == -1) {
                        expected_end = -1;
                    }
                    EXPECT_EQ(got.toStdString() + " " + std::to_string(start) + ".." +
                                  std::to_string(end),
                              expected.toStdString() + " " + std::to_string(expected_start) + ".." +
                                  std::to_string(expected_end))
                        << '"' << text.toStdString() << "\" " << name << ' ' << offset
                        << " boundary " << boundary;
                }
            }
        }
    }
    // Where the line edit's scan also never returns: the word at the start of a text that starts
    // with spaces is those spaces.
    box.setText(QStringLiteral("  37"));
    int space_start = 0;
    int space_end = 0;
    EXPECT_EQ(ours->textAtOffset(0, QAccessible::WordBoundary, &space_start, &space_end),
              QStringLiteral("  "));
    EXPECT_EQ(std::pair(space_start, space_end), std::pair(0, 2));

    // The very end of a mebibyte answers, and from a window: the last word.
    box.setText(QString(1 << 20, QLatin1Char('7')) + QStringLiteral(" 12"));
    const int length = (1 << 20) + 3;
    int start = 0;
    int end = 0;
    EXPECT_EQ(ours->textAtOffset(length, QAccessible::WordBoundary, &start, &end), QString());
    EXPECT_EQ(ours->textBeforeOffset(length, QAccessible::WordBoundary, &start, &end),
              QStringLiteral("12"));
    EXPECT_EQ(std::pair(start, end), std::pair((1 << 20) + 1, (1 << 20) + 3));
}

// The criticals logged while one lives, in place of the handler that fails a test on them.
class CriticalsLogged {
public:
    CriticalsLogged() : previous_(qInstallMessageHandler(&Record)) { Logged().clear(); }
    CriticalsLogged(const CriticalsLogged&) = delete;
    CriticalsLogged& operator=(const CriticalsLogged&) = delete;
    ~CriticalsLogged() { qInstallMessageHandler(previous_); }
    static QStringList& Logged() {
        static QStringList logged;
        return logged;
    }

private:
    static void Record(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
        if (type == QtCriticalMsg) {
            Logged().append(text);
        }
    }
    QtMessageHandler previous_;
};

// At the toolkit's boundary a failure the user can cause (memory for a huge paste) only beeps; any
// other is a fault and is logged as critical, which fails the tests.
TEST(BoundedLineEdit, ReportsAFaultInAToolkitCallButNotRunningOutOfMemory) {
    const CriticalsLogged criticals;
    platform::qt::Guarded([] { throw std::bad_alloc(); });
    EXPECT_EQ(platform::qt::GuardedOr(7, []() -> int { throw std::bad_alloc(); }), 7);
    EXPECT_TRUE(CriticalsLogged::Logged().isEmpty());
    platform::qt::Guarded([] { throw std::logic_error("a cursor past the end"); });
    EXPECT_EQ(platform::qt::GuardedOr(7, []() -> int { throw std::out_of_range("index"); }), 7);
    ASSERT_EQ(CriticalsLogged::Logged().size(), 2);
    EXPECT_TRUE(CriticalsLogged::Logged().front().contains("a cursor past the end"));
}

} // namespace
} // namespace brindle::testing
