#include "qt_fixture.hpp"
#include "shared_cases.hpp"
#include "simulated_form1.hpp"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QClipboard>
#include <QIcon>
#include <QSignalSpy>
#include <string>
#include <vector>

namespace brindle::testing {
namespace {

using Captions = std::pair<std::string, std::string>;
const Captions kStartUp{"34.15", "GB - (34974.63 MB)"};

TEST(QtForm1, StartsWithTheDefaultEstimate) {
    const QtForm1 form;
    EXPECT_EQ(form.Box("txtCD").text(), "5");
    EXPECT_EQ(form.Box("txtArchive").text(), "37");
    EXPECT_TRUE(form.Option("opt11kmono").isChecked());
    EXPECT_EQ(form.Captions(), kStartUp);
    EXPECT_EQ(form.Caption("lblUsingcompression").text(), "Using Intel/DMA 4:1 Compression");
    EXPECT_EQ(form.Caption("lblResMB").alignment(), Qt::AlignCenter);
    for (const char* label : {"Label1", "Label3", "lblResMB"}) {
        EXPECT_EQ(form.window.Widget(label)->focusPolicy(), Qt::NoFocus) << label;
    }
}

// The control contract: a program write raises the change event only when the text changes.
TEST(QtForm1, RaisesAChangeOnlyWhenTheTextChanges) {
    QtForm1 form;
    const QSignalSpy changes(&form.Box("txtCD"), &QtTextBox::textChanged);
    form.window.TextBoxNamed("txtCD").SetText("5");
    EXPECT_EQ(changes.count(), 0);
    form.window.TextBoxNamed("txtCD").SetText("6");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(form.Captions(), (Captions{"37.70", "GB - (38608.36 MB)"}));
}

// The control contract: a program's write forgets what the user could undo, even when it writes
// the text the box already holds; Ctrl+Z then brings back nothing from before it.
TEST(QtForm1, AProgramsWriteForgetsWhatCouldBeUndone) {
    QtForm1 form;
    QtTextBox& box = form.Box("txtCD");
    box.setFocus();
    for (const char* written : {"7", "71"}) {
        box.end(false);
        QTest::keyClicks(&box, "1");
        ASSERT_TRUE(box.isUndoAvailable());
        form.window.TextBoxNamed("txtCD").SetText(written);
        EXPECT_FALSE(box.isUndoAvailable()) << written;
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box.text().toStdString(), written);
        EXPECT_EQ(form.Captions(), form.FreshFor());
    }
}

// The same texts and option give the same captions as on Windows, byte for byte.
TEST(QtForm1, ShowsTheSharedCaptions) {
    QtForm1 form;
    for (const SharedCase& shared : kSharedCases) {
        form.Box("txtCD").setText(QString::fromUtf8(shared.cd_days));
        form.Box("txtArchive").setText(QString::fromUtf8(shared.archive_days));
        QTest::mouseClick(&form.Option(shared.option), Qt::LeftButton);
        EXPECT_EQ(form.Captions(), (Captions{shared.gigabytes, shared.megabytes}))
            << shared.cd_days << " / " << shared.archive_days << " / " << shared.option;
    }
}

TEST(QtForm1, IsAFixedDialogWithACloseBoxAndTheProgramIcon) {
    QtForm1 form;
    const QWidget& window = form.window.Window();
    EXPECT_TRUE(window.windowTitle().startsWith("Brindle DSC - by "));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
}

struct Keystroke {
    Qt::Key key;
    const char* text_after;
    Captions shown;
};

TEST(QtForm1, RecomputesOnEveryKeystroke) {
    QtForm1 form;
    QtTextBox& archive = form.Box("txtArchive");
    archive.setFocus();
    const Keystroke keys[] = {
        {Qt::Key_End, "37", kStartUp},
        {Qt::Key_Backspace, "3", {"19.07", "GB - (19531.29 MB)"}},
        {Qt::Key_Backspace, "", {"17.74", "GB - (18168.64 MB)"}},
        {Qt::Key_1, "1", {"18.19", "GB - (18622.86 MB)"}},
        {Qt::Key_Period, "1.", {"18.19", "GB - (18622.86 MB)"}},
        {Qt::Key_5, "1.5", {"18.41", "GB - (18849.97 MB)"}},
        {Qt::Key_X, "1.5x", {"18.41", "GB - (18849.97 MB)"}},
        {Qt::Key_Home, "1.5x", {"18.41", "GB - (18849.97 MB)"}},
        {Qt::Key_Minus, "-1.5x", {"17.08", "GB - (17487.32 MB)"}},
    };
    for (const auto& [key, text_after, shown] : keys) {
        QTest::keyClick(&archive, key);
        EXPECT_EQ(archive.text().toStdString(), text_after);
        EXPECT_EQ(form.Captions(), shown) << "after \"" << text_after << '"';
    }
}

TEST(QtForm1, OptionsRecomputeWhenClickedOrMovedToWithArrows) {
    QtForm1 form;
    QTest::mouseClick(&form.Option("opt22KStereo"), Qt::LeftButton);
    EXPECT_TRUE(form.Option("opt22KStereo").isChecked());
    EXPECT_FALSE(form.Option("opt11kmono").isChecked());
    EXPECT_EQ(form.Captions(), (Captions{"83.39", "GB - (85392.61 MB)"}));

    QTest::keyClick(&form.Option("opt22KStereo"), Qt::Key_Up);
    EXPECT_TRUE(form.Option("opt22kMono").isChecked());
    EXPECT_EQ(form.Captions(), (Captions{"50.57", "GB - (51780.63 MB)"}));
    QTest::keyClick(&form.Option("opt22kMono"), Qt::Key_Up);
    EXPECT_TRUE(form.Option("opt11KStereo").isChecked());
    EXPECT_EQ(form.Captions(), (Captions{"50.57", "GB - (51780.63 MB)"}));
    QTest::keyClick(&form.Option("opt11KStereo"), Qt::Key_Up);
    EXPECT_EQ(form.Captions(), kStartUp);

    form.Option("opt22KStereo").setFocus();
    QTest::keyClick(&form.Option("opt22KStereo"), Qt::Key_Space);
    EXPECT_TRUE(form.Option("opt22KStereo").isChecked());
    EXPECT_EQ(form.Captions(), (Captions{"83.39", "GB - (85392.61 MB)"}));
}

// A screen reader selects an option through the actions its accessible interface offers (a
// toggle for an option); each must recompute just as a click does.
TEST(QtForm1, AssistiveTechnologyActionsRecompute) {
    QtForm1 form;
    QAccessibleInterface* const stereo =
        QAccessible::queryAccessibleInterface(&form.Option("opt22KStereo"));
    ASSERT_NE(stereo, nullptr);
    ASSERT_NE(stereo->actionInterface(), nullptr);
    QStringList actions = stereo->actionInterface()->actionNames();
    actions.removeAll(QAccessibleActionInterface::setFocusAction());
    ASSERT_TRUE(actions.contains(QAccessibleActionInterface::toggleAction()));
    for (const QString& action : actions) {
        QTest::mouseClick(&form.Option("opt11kmono"), Qt::LeftButton);
        ASSERT_EQ(form.Captions(), kStartUp);
        stereo->actionInterface()->doAction(action);
        EXPECT_TRUE(form.Option("opt22KStereo").isChecked()) << action.toStdString();
        EXPECT_EQ(form.Captions(), (Captions{"83.39", "GB - (85392.61 MB)"}))
            << action.toStdString();
    }
}

TEST(QtForm1, NamesEveryControlForAssistiveTechnology) {
    QtForm1 form;
    const auto name = [&](const char* control) {
        QAccessibleInterface* const accessible =
            QAccessible::queryAccessibleInterface(form.window.Widget(control));
        return accessible == nullptr ? std::string("(none)")
                                     : accessible->text(QAccessible::Name).toStdString();
    };
    EXPECT_EQ(name("txtCD"), "Days at CD Quality");
    EXPECT_EQ(name("txtArchive"), "Days at archive quality");
    EXPECT_EQ(name("opt22KStereo"), "22 KHz Stereo");
    EXPECT_EQ(name("lblResMB"), "34.15");
    EXPECT_EQ(name("lblextrares"), "GB - (34974.63 MB)");
}

// Tab visits the boxes, then the option group once, at its selected option.
TEST(QtForm1, TabsThroughBothBoxesThenTheOptionGroup) {
    QtForm1 form;
    form.Box("txtCD").setFocus();
    const std::vector<std::string> expected{"txtArchive", "opt11kmono", "txtCD"};
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(visited, expected);

    QTest::mouseClick(&form.Option("opt22kMono"), Qt::LeftButton);
    form.Box("txtArchive").setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "opt22kMono");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "txtArchive");
}

TEST(QtForm1, AcceptsAPastedTextOfAnyLength) {
    QtForm1 form;
    const QString days = "1" + QString(40'500, '0').replace(0, 1, ".");
    QApplication::clipboard()->setText(days);
    QtTextBox& box = form.Box("txtArchive");
    box.setFocus();
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.text().size(), days.size());
    EXPECT_EQ(form.Captions(), (Captions{"18.19", "GB - (18622.86 MB)"}));
}

// An overflow is shown without a dialog: the previous figures stay but are greyed, and the box
// that caused it is marked and says why. The next event that completes clears it all.
TEST(QtForm1, ShowsAnOverflowUntilTheNextGoodKeystroke) {
    QtForm1 form;
    int beeps = 0;
    form.window.SetBeep([&] { ++beeps; });
    QtTextBox& cd = form.Box("txtCD");
    const QString group_description = form.Option("opt22KStereo").accessibleDescription();
    cd.setFocus();
    QTest::keyClicks(&cd, "e28");
    const Captions before = form.Captions();
    QTest::keyClick(&cd, Qt::Key_9); // 5e289 days

    EXPECT_EQ(form.Captions(), before);
    EXPECT_FALSE(form.Caption("lblResMB").isEnabled());
    EXPECT_FALSE(form.Caption("lblextrares").isEnabled());
    const QString why = "Overflow: the estimate is too large to compute";
    EXPECT_EQ(cd.toolTip(), why);
    EXPECT_EQ(cd.accessibleDescription(), why);
    EXPECT_TRUE(form.Box("txtArchive").toolTip().isEmpty());
    EXPECT_EQ(beeps, 1);

    // Still faulting: the stored CD figure stays infinite until its box is corrected.
    QTest::mouseClick(&form.Option("opt22KStereo"), Qt::LeftButton);
    EXPECT_EQ(form.Captions(), before);
    EXPECT_EQ(form.Option("opt22KStereo").toolTip(), why);
    EXPECT_EQ(form.Option("opt22KStereo").accessibleDescription(), why);
    EXPECT_EQ(beeps, 2);
    // And again from the same box, marked a second time.
    QTest::keyClick(&cd, Qt::Key_9);
    EXPECT_EQ(beeps, 3);
    QTest::keyClick(&cd, Qt::Key_Backspace);
    EXPECT_EQ(beeps, 4);

    QTest::keyClick(&cd, Qt::Key_Backspace);
    EXPECT_EQ(form.Captions(), FreshCaptions("5e28", "37", [](std::string_view option) {
                  return option == "opt22KStereo";
              }));
    EXPECT_TRUE(form.Caption("lblResMB").isEnabled());
    EXPECT_TRUE(form.Caption("lblextrares").isEnabled());
    EXPECT_EQ(beeps, 4);
    // Each marked control says again what it said before.
    const std::pair<QWidget*, QString> marked_controls[] = {
        {&cd, {}}, {&form.Option("opt22KStereo"), group_description}};
    for (const auto& [marked, description] : marked_controls) {
        EXPECT_TRUE(marked->toolTip().isEmpty());
        EXPECT_EQ(marked->accessibleDescription(), description);
    }
}

} // namespace
} // namespace brindle::testing
