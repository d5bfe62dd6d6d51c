// What a screen reader meets through Qt's accessibility bridge (AT-SPI on Linux): a named frame,
// boxes and the figure labelled by the captions beside them, and the options as one group.

#include "qt_fixture.hpp"

#include <QAccessible>
#include <QEvent>
#include <string>

namespace brindle::testing {
namespace {

QAccessibleInterface* Accessible(QWidget* widget) {
    QAccessibleInterface* const accessible = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(accessible, nullptr);
    return accessible;
}

// The objects `accessible` has the relation `relation` to.
std::vector<QObject*> Related(QAccessibleInterface* accessible, QAccessible::Relation relation) {
    std::vector<QObject*> objects;
    for (const auto& [other, kind] : accessible->relations(relation)) {
        if (kind & relation) {
            objects.push_back(other->object());
        }
    }
    return objects;
}

TEST(QtAccessibility, TheWindowIsAFrameNamedByItsTitle) {
    QtForm1 form;
    QAccessibleInterface* const window = Accessible(&form.window.Window());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), form.window.Window().windowTitle());
    EXPECT_EQ(window->childCount(), 13); // the twelve controls and the announcer
}

struct Captioned {
    const char* label;
    const char* control;
    const char* caption;
};

// A screen reader names a control by the label related to it before the control's own name, so
// "Days at:" labels nothing: the archive box is heard by its own, fuller name.
TEST(QtAccessibility, EachCaptionLabelsTheControlBesideIt) {
    QtForm1 form;
    for (const auto& [label, control, caption] :
         {Captioned{"Label1", "txtCD", "Days at CD Quality"},
          Captioned{"Label3", "lblResMB", "You will need:"}}) {
        QWidget* const label_widget = form.window.Widget(label);
        QWidget* const control_widget = form.window.Widget(control);
        EXPECT_EQ(Related(Accessible(control_widget), QAccessible::Label),
                  std::vector<QObject*>{label_widget})
            << control;
        EXPECT_EQ(Related(Accessible(label_widget), QAccessible::Labelled),
                  std::vector<QObject*>{control_widget})
            << label;
        // Labelling adds no keyboard shortcut and leaves the caption as it was.
        EXPECT_EQ(form.Caption(label).text(), caption);
    }
    EXPECT_TRUE(Related(Accessible(form.window.Widget("Label2")), QAccessible::Labelled).empty());
    EXPECT_EQ(Accessible(&form.Box("txtArchive"))->text(QAccessible::Name),
              "Days at archive quality");
    for (const char* unlabelled :
         {"txtArchive", "opt11kmono", "lblextrares", "lblUsingcompression"}) {
        EXPECT_TRUE(Related(Accessible(form.window.Widget(unlabelled)), QAccessible::Label).empty())
            << unlabelled;
    }
}

TEST(QtAccessibility, AnnouncesTheOptionsAsOneGroupOfQualities) {
    QtForm1 form;
    const char* const options[] = {"opt11kmono", "opt11KStereo", "opt22kMono", "opt22KStereo"};
    int position = 0;
    for (const char* option : options) {
        ++position;
        QAccessibleInterface* const accessible = Accessible(&form.Option(option));
        EXPECT_EQ(accessible->role(), QAccessible::RadioButton);
        EXPECT_EQ(accessible->text(QAccessible::Description).toStdString(),
                  "Archive quality, " + std::to_string(position) + " of 4")
            << option;
    }
    EXPECT_TRUE(Accessible(&form.Box("txtCD"))->text(QAccessible::Description).isEmpty());
}

// Counts the times a widget is shown, each of which Qt reports to assistive technology as the
// object appearing. (The offscreen platform has no accessibility bridge that Qt would send the
// event itself to; the screen-reader test hears it through Orca.)
class ShowCounter final : public QObject {
public:
    explicit ShowCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        shown += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
    int shown = 0;
};

// The result is said through a notification that appears afresh for each message (Orca speaks a
// notification as it appears): after a pause in typing, not on each keystroke; an error at once.
TEST(QtAccessibility, TheResultIsAnnouncedAfterAPauseAndAnErrorAtOnce) {
    QtForm1 form;
    form.window.SetBeep([] {});
    const platform::qt::Announcer& announcer = form.window.Announcements();
    QAccessibleInterface* const accessible =
        Accessible(const_cast<platform::qt::Announcer*>(&announcer));
    EXPECT_EQ(accessible->role(), QAccessible::Notification);
    EXPECT_TRUE(announcer.Message().isEmpty()) << "nothing is said at start-up";

    ShowCounter events(*qobject_cast<QWidget*>(accessible->object()));
    QtTextBox& cd = form.Box("txtCD");
    cd.setFocus();
    cd.selectAll();
    QTest::keyClicks(&cd, "10");
    EXPECT_TRUE(announcer.Waiting());
    EXPECT_EQ(events.shown, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !announcer.Waiting(); },
                                static_cast<int>(platform::kAnnouncementPause.count()) * 4));
    const std::string result =
        "You will need: " + form.Captions().first + " " + form.Captions().second;
    EXPECT_EQ(announcer.Message().toStdString(), result);
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), result);
    EXPECT_EQ(events.shown, 1);

    QTest::keyClicks(&cd, "e38");
    EXPECT_FALSE(announcer.Waiting());
    EXPECT_TRUE(announcer.Message().startsWith("Overflow")) << announcer.Message().toStdString();
    EXPECT_EQ(events.shown, 2);
    EXPECT_EQ(Accessible(&form.Caption("lblResMB"))->text(QAccessible::Description), "out of date");
}

} // namespace
} // namespace brindle::testing
