// What a screen reader meets through Qt's accessibility bridge (AT-SPI on Linux): a named frame,
// boxes and the figure labelled by the captions beside them, and the options as one group.

#include "qt_fixture.hpp"

#include <QAccessible>
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
    EXPECT_EQ(window->childCount(), 12);
}

struct Captioned {
    const char* label;
    const char* control;
    const char* caption;
};

TEST(QtAccessibility, EachCaptionLabelsTheControlBesideIt) {
    QtForm1 form;
    for (const auto& [label, control, caption] :
         {Captioned{"Label1", "txtCD", "Days at CD Quality"},
          Captioned{"Label2", "txtArchive", "Days at:"},
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
    for (const char* unlabelled : {"opt11kmono", "lblextrares", "lblUsingcompression"}) {
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

} // namespace
} // namespace brindle::testing
