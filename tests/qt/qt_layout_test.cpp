#include "app/program_record.hpp"
#include "expected_form1.hpp"
#include "platform/twips.hpp"
#include "qt_fixture.hpp"

#include <QFontMetrics>
#include <QPixmap>
#include <string>

namespace brindle::testing {
namespace {

using platform::ControlKind;

// Where the window layout puts a control, in pixels for a line of that height.
QRect ExpectedRect(const ExpectedControl& control, int line_height) {
    const platform::PixelRect rect =
        platform::TwipsScale(line_height)
            .ToPixels({control.left, control.top, control.width, control.height});
    return {rect.x, rect.y, rect.width, rect.height};
}

// What must hold with any font: every control inside the client area, no two overlapping, no
// caption cut off, and the compression note on two lines.
void ExpectTidy(QtForm1& form) {
    const QWidget& window = form.window.Window();
    const QRect client(QPoint(0, 0), window.size());
    const auto& controls = kExpectedControls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const QWidget& widget = *form.window.Widget(controls[i].name);
        const std::string name(controls[i].name);
        EXPECT_TRUE(client.contains(widget.geometry())) << name;
        if (controls[i].kind != ControlKind::TextBox && !controls[i].style.word_wrap) {
            EXPECT_GE(widget.width(), widget.sizeHint().width()) << name << " is cut off";
        }
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(
                widget.geometry().intersects(form.window.Widget(controls[j].name)->geometry()))
                << name << " overlaps " << controls[j].name;
        }
    }
    const QLabel& note = form.Caption("lblUsingcompression");
    EXPECT_EQ(note.height(), 2 * QFontMetrics(note.font()).lineSpacing());
}

// With a 13-pixel line, 15 twips make a pixel and every control sits on its design rectangle;
// self-sizing labels on its left and top.
TEST(QtLayout, PlacesEveryControlOnItsDesignRectangleAtTheReferenceFont) {
    QtForm1 form;
    ASSERT_EQ(QFontMetrics(form.window.Window().font()).height(), 13);
    EXPECT_EQ(form.window.Window().size(),
              QSize(kExpectedClientWidth / 15, kExpectedClientHeight / 15));
    for (const ExpectedControl& control : kExpectedControls) {
        const QRect expected = ExpectedRect(control, 13);
        EXPECT_EQ(expected, QRect(control.left / 15, control.top / 15, control.width / 15,
                                  control.height / 15));
        const QRect actual = form.window.Widget(control.name)->geometry();
        if (control.style.sizes_to_caption) {
            EXPECT_EQ(actual.topLeft(), expected.topLeft()) << control.name;
        } else {
            EXPECT_EQ(actual, expected) << control.name;
        }
    }
    ExpectTidy(form);
}

TEST(QtLayout, ScalesWithALargerWiderFont) {
    const ScopedApplicationFont larger(ReferenceFont(16, QStringLiteral("DejaVu Sans")));
    QtForm1 form;
    const int line = QFontMetrics(form.window.Window().font()).height();
    ASSERT_EQ(line, 19);
    const platform::TwipsScale scale(line);
    EXPECT_EQ(form.window.Window().size(),
              QSize(scale.ToPixels(kExpectedClientWidth), scale.ToPixels(kExpectedClientHeight)));
    for (const char* fixed : {"txtCD", "txtArchive", "opt11kmono", "opt22KStereo"}) {
        EXPECT_EQ(form.window.Widget(fixed)->geometry(), ExpectedRect(Expected(fixed), line))
            << fixed;
    }
    ExpectTidy(form);
}

// A font change while the program runs (the user picked another desktop font) scales the layout.
TEST(QtLayout, FollowsAFontChangeWhileRunning) {
    QtForm1 form;
    form.window.Window().setFont(ReferenceFont(16, QStringLiteral("DejaVu Sans")));
    const platform::TwipsScale scale(19);
    EXPECT_EQ(form.window.Window().size(),
              QSize(scale.ToPixels(kExpectedClientWidth), scale.ToPixels(kExpectedClientHeight)));
    EXPECT_EQ(form.window.Widget("txtArchive")->geometry(),
              ExpectedRect(Expected("txtArchive"), 19));
    ExpectTidy(form);
}

// The largest figures make the longest captions: the framed figure widens to show all of it and
// the megabyte caption moves along, widening the window rather than cutting anything off.
TEST(QtLayout, MakesRoomForTheLongestCaptions) {
    QtForm1 form;
    const QSize designed = form.window.Window().size();
    form.Box("txtArchive").setText("7.1e29");
    form.Box("txtCD").setText("-1");
    ASSERT_GT(form.Caption("lblextrares").text().size(), 40);
    ExpectTidy(form);
    EXPECT_GT(form.window.Window().width(), designed.width());
    EXPECT_EQ(form.window.Window().height(), designed.height());

    form.Box("txtArchive").setText("37");
    EXPECT_EQ(form.window.Window().size(), designed);
}

// The loaded window pixel for pixel as it was last seen to be right, in the pinned style and font
// and with a steady cursor: tests/qt/form1_expected.png. Anything moved, recoloured, clipped or
// drawn differently fails here. The window as drawn is written to form1.png in the build tree and
// the pixels that differ, in red, to form1_difference.png; when a change of looks is meant, the
// new form1.png becomes the expected picture.
TEST(QtLayout, LooksAsItWasLastSeenToBeRight) {
    const int flash_time = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    QtForm1 form;
    const QImage shot = form.window.Window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    QApplication::setCursorFlashTime(flash_time);
    const QString folder = QApplication::applicationDirPath();
    ASSERT_TRUE(shot.save(folder + QStringLiteral("/form1.png")));

    const QImage expected = QImage(QStringLiteral(QT_TESTCASE_SOURCEDIR "/qt/form1_expected.png"))
                                .convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull());
    ASSERT_EQ(shot.size(), expected.size());
    QImage difference(shot.size(), QImage::Format_RGB32);
    difference.fill(Qt::white);
    int differing = 0;
    QRect where;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) != expected.pixel(x, y)) {
                ++differing;
                where |= QRect(x, y, 1, 1);
                difference.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    if (differing > 0) {
        (void)difference.save(folder + QStringLiteral("/form1_difference.png"));
    }
    EXPECT_EQ(differing, 0) << "pixels differ between x " << where.left() << ".." << where.right()
                            << " and y " << where.top() << ".." << where.bottom()
                            << "; see form1.png and form1_difference.png in the test folder";
}

} // namespace
} // namespace brindle::testing
