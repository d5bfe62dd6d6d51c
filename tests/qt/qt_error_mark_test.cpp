// How a failed event is marked on the Linux window: a ring around the control, in a red that
// stands out against the theme in use, that leaves the control's own frame, padding and text
// exactly as they were.

#include "app/program_record.hpp"
#include "error_display_cases.hpp"
#include "platform/error_colour.hpp"
#include "qt_fixture.hpp"

#include <QImage>
#include <QPalette>
#include <QStyle>

namespace brindle::testing {
namespace {

using platform::ContrastRatio;
using platform::Rgb;

// The window's pixel just outside the middle of a control's left edge, where its ring goes.
QColor BesideLeftEdge(QtForm1& form, const char* name) {
    const QRect control = form.window.Widget(name)->geometry();
    const QImage window = form.window.Window().grab().toImage();
    return window.pixelColor(control.left() - 1, control.center().y());
}

// Makes the CD figure overflow, which marks the CD box, then clicks an option, which fails the
// same way and marks the option.
void FailFromTheBoxAndAnOption(QtForm1& form) {
    QtTextBox& cd = form.Box("txtCD");
    cd.setFocus();
    cd.selectAll();
    QTest::keyClicks(&cd, "5e289");
    QTest::mouseClick(&form.Option("opt22KStereo"), Qt::LeftButton);
    cd.clearFocus();
    form.Option("opt22KStereo").clearFocus();
}

TEST(QtErrorMark, LeavesTheControlsOwnFramePaddingAndTextAsTheyWere) {
    QtForm1 failed;
    failed.window.SetBeep([] {});
    const QColor before = BesideLeftEdge(failed, "txtCD");
    FailFromTheBoxAndAnOption(failed);
    ASSERT_FALSE(failed.Caption("lblResMB").isEnabled());

    // The same texts and choice on a window without logic, so nothing fails there.
    platform::qt::QtWindow unmarked(app::BrindleWindowDesign(), {});
    unmarked.Window().show();
    qobject_cast<QtTextBox*>(unmarked.Widget("txtCD"))->setText("5e289");
    qobject_cast<QRadioButton*>(unmarked.Widget("opt22KStereo"))->setChecked(true);
    for (const char* name : {"txtCD", "opt22KStereo"}) {
        QWidget* const marked_widget = failed.window.Widget(name);
        QWidget* const unmarked_widget = unmarked.Widget(name);
        EXPECT_EQ(marked_widget->contentsRect(), unmarked_widget->contentsRect()) << name;
        EXPECT_EQ(marked_widget->grab().toImage(), unmarked_widget->grab().toImage()) << name;
        EXPECT_NE(BesideLeftEdge(failed, name), before) << name << " has no ring";
    }

    // The next event that completes takes the rings away.
    QtTextBox& cd = failed.Box("txtCD");
    cd.selectAll();
    QTest::keyClicks(&cd, "5");
    for (const char* name : {"txtCD", "opt22KStereo"}) {
        EXPECT_EQ(BesideLeftEdge(failed, name), before) << name;
    }
}

// The Qt window as the shared error-display checks drive it, with real keys and clicks.
class ScriptedQtWindow {
public:
    ScriptedQtWindow() {
        window.Attach(logic);
        window.SetBeep([this] { ++beeps_; });
        window.Window().show();
    }

    void Load() { window.Load(); }
    void Change(std::string_view box) {
        QWidget& widget = Widget(box);
        widget.setFocus();
        QTest::keyClick(&widget, Qt::Key_1);
    }
    void Click(std::string_view option) { QTest::mouseClick(&Widget(option), Qt::LeftButton); }
    // The tool tip, which a screen reader must be told as well.
    [[nodiscard]] std::string MarkOf(std::string_view name) {
        const QWidget& widget = name == kWindow ? window.Window() : Widget(name);
        const QString why = widget.toolTip();
        if (!why.isEmpty() && widget.accessibleDescription() != why) {
            return (why + " (described as \"" + widget.accessibleDescription() + "\")")
                .toStdString();
        }
        return why.toStdString();
    }
    [[nodiscard]] bool IsEnabled(std::string_view name) { return Widget(name).isEnabled(); }
    [[nodiscard]] int Beeps() const { return beeps_; }
    [[nodiscard]] bool Ringed(std::string_view control) {
        const QPalette& palette = window.Window().palette();
        const QRect rect = Widget(control).geometry();
        const QColor beside =
            window.Window().grab().toImage().pixelColor(rect.left() - 1, rect.center().y());
        return ToRgb(beside) == platform::ErrorColour(ToRgb(palette.color(QPalette::Window)),
                                                      ToRgb(palette.color(QPalette::Base)));
    }

    platform::qt::QtWindow window{app::BrindleWindowDesign(), {}};
    ScriptedLogic logic;

private:
    QWidget& Widget(std::string_view name) {
        QWidget* const widget = window.Widget(name);
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }

    int beeps_ = 0;
};

TEST(QtErrorMark, MarksWhatFailedUntilAnEventCompletes) {
    CheckErrorDisplay<ScriptedQtWindow>();
}

QPalette DarkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::ButtonText, Qt::white);
    return palette;
}

// The ring stands out at 3:1 or more against the window and the text fields, in Fusion's light
// palette and in a dark one.
TEST(QtErrorMark, StandsOutAgainstTheWindowAndTheBoxesInLightAndDarkThemes) {
    for (const auto& [theme, palette] :
         {std::pair{"light", QApplication::style()->standardPalette()},
          std::pair{"dark", DarkPalette()}}) {
        QtForm1 form;
        form.window.SetBeep([] {});
        form.window.Window().setPalette(palette);
        FailFromTheBoxAndAnOption(form);
        const Rgb ring = ToRgb(BesideLeftEdge(form, "txtCD"));
        EXPECT_GE(ContrastRatio(ring, ToRgb(palette.color(QPalette::Window))), 3.0) << theme;
        EXPECT_GE(ContrastRatio(ring, ToRgb(palette.color(QPalette::Base))), 3.0) << theme;
        EXPECT_EQ(ToRgb(BesideLeftEdge(form, "opt22KStereo")), ring) << theme;
    }
}

// The leftmost and rightmost columns of a label's image that hold text, inside its frame.
std::pair<int, int> TextColumns(QLabel& label) {
    const QImage image = label.grab().toImage();
    const QColor background = image.pixelColor(image.width() / 2, 1);
    int first = image.width();
    int last = -1;
    for (int x = 1; x + 1 < image.width(); ++x) {
        for (int y = 1; y + 1 < image.height(); ++y) {
            if (image.pixelColor(x, y) != background) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

// A figure wider than the framed box widens it, and keeps room between its digits and the frame.
TEST(QtFramedFigure, KeepsAMarginOnBothSidesWhenItGrows) {
    QtForm1 form;
    QLabel& figure = form.Caption("lblResMB");
    const int design_width = figure.width();
    form.Box("txtCD").setText("2400000000");
    ASSERT_GE(figure.text().size(), 13) << figure.text().toStdString(); // "8516566000.00"
    EXPECT_GT(figure.width(), design_width);
    const auto [first, last] = TextColumns(figure);
    constexpr int kFrame = 1;
    EXPECT_GE(first - kFrame, 2) << "left margin";
    EXPECT_GE(figure.width() - kFrame - 1 - last, 2) << "right margin";
}

} // namespace
} // namespace brindle::testing
