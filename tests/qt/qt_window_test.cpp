#include "form1_cases.hpp"
#include "qt_fixture.hpp"

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

// What only Qt's widgets can get wrong: the labels take no focus, the framed figure is centred.
TEST(QtForm1, LabelsTakeNoFocusAndTheFigureIsCentred) {
    const QtForm1 form;
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
        ASSERT_EQ(form.Captions(), (Captions{"34.15", "GB - (34974.63 MB)"}));
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

// While an error shows, what failed says why to assistive technology too; afterwards each marked
// control says again what it said before.
TEST(QtForm1, DescribesAnOverflowToAssistiveTechnology) {
    QtForm1 form;
    QtTextBox& cd = form.Box("txtCD");
    QRadioButton& stereo = form.Option("opt22KStereo");
    const QString group_description = stereo.accessibleDescription();
    cd.setFocus();
    QTest::keyClicks(&cd, "e289");
    QTest::mouseClick(&stereo, Qt::LeftButton);
    const QString why = "Overflow: the estimate is too large to compute";
    EXPECT_EQ(cd.accessibleDescription(), why);
    EXPECT_EQ(stereo.accessibleDescription(), why);

    QTest::keyClick(&cd, Qt::Key_Backspace);
    EXPECT_TRUE(cd.accessibleDescription().isEmpty());
    EXPECT_EQ(stereo.accessibleDescription(), group_description);
}

// Form1 on the Qt widgets, as the user works them.
class QtDriver {
public:
    static constexpr int kRandomEvents = 3000;

    void Type(std::string_view box, std::string_view keys) {
        QtTextBox& edited = form.Box(std::string(box).c_str());
        edited.setFocus();
        edited.end(false);
        for (const char key : keys) {
            if (key == '\b') {
                QTest::keyClick(&edited, Qt::Key_Backspace);
            } else {
                QTest::keyClicks(&edited, QString(QChar(key)));
            }
        }
    }
    void Paste(std::string_view box, std::string_view text) {
        QApplication::clipboard()->setText(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        QtTextBox& edited = form.Box(std::string(box).c_str());
        edited.setFocus();
        edited.selectAll();
        QTest::keyClick(&edited, Qt::Key_V, Qt::ControlModifier);
    }
    void Click(std::string_view option) {
        QTest::mouseClick(&form.Option(std::string(option).c_str()), Qt::LeftButton);
    }
    [[nodiscard]] std::string Text(std::string_view control) const {
        const QWidget* const widget = Widget(control);
        if (const auto* const box = qobject_cast<const QtTextBox*>(widget)) {
            return box->text().toStdString();
        }
        return qobject_cast<const QLabel*>(widget)->text().toStdString();
    }
    [[nodiscard]] bool Checked(std::string_view option) const {
        return form.Option(std::string(option).c_str()).isChecked();
    }
    [[nodiscard]] bool IsEnabled(std::string_view control) const {
        return Widget(control)->isEnabled();
    }
    [[nodiscard]] std::string MarkOf(std::string_view control) const {
        return Widget(control)->toolTip().toStdString();
    }
    platform::ControlSet& Controls() { return form.window; }

    void Up(std::string_view option) {
        QTest::keyClick(&form.Option(std::string(option).c_str()), Qt::Key_Up);
    }
    [[nodiscard]] std::string TabFrom(std::string_view control) {
        Widget(control)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget()->objectName().toStdString();
    }
    [[nodiscard]] bool CanUndo(std::string_view box) const {
        return form.Box(std::string(box).c_str()).isUndoAvailable();
    }
    void Undo(std::string_view box) {
        QTest::keyClick(&form.Box(std::string(box).c_str()), Qt::Key_Z, Qt::ControlModifier);
    }

private:
    [[nodiscard]] QWidget* Widget(std::string_view control) const {
        QWidget* const widget = form.window.Widget(control);
        EXPECT_NE(widget, nullptr) << control;
        return widget;
    }

    QtForm1 form;
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, Form1Behaviour, QtDriver);

} // namespace brindle::testing
