#include "platform/qt/qt_icon.hpp"
#include "qt_fixture.hpp"
#include "simulated_form1.hpp"

#include <random>
#include <string>

namespace brindle::testing {
namespace {

// Random keystrokes and clicks on the real widgets: after each, the captions must be those a
// freshly loaded window shows for the same texts and option.
TEST(QtForm1Property, CaptionsMatchAFreshWindowAfterRandomKeystrokesAndClicks) {
    constexpr int kEvents = 3000;
    const Qt::Key keys[] = {Qt::Key_0,      Qt::Key_1,     Qt::Key_5,         Qt::Key_9,
                            Qt::Key_Period, Qt::Key_Minus, Qt::Key_Plus,      Qt::Key_Space,
                            Qt::Key_A,      Qt::Key_E,     Qt::Key_Backspace, Qt::Key_Delete,
                            Qt::Key_Home,   Qt::Key_End,   Qt::Key_Left};
    QtForm1 form;
    std::mt19937 random(20261208);
    const auto pick = [&](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    for (int event = 0; event < kEvents; ++event) {
        if (pick(5) == 0) {
            QTest::mouseClick(&form.Option(kOptions[pick(std::size(kOptions))]), Qt::LeftButton);
        } else {
            QtTextBox& box = form.Box(pick(2) == 0 ? "txtCD" : "txtArchive");
            // Short texts: long enough for exponents, too short to overflow.
            const bool full = box.text().size() >= 3;
            const Qt::Key key = keys[pick(std::size(keys))];
            if (!full || key == Qt::Key_Backspace || key == Qt::Key_Delete) {
                QTest::keyClick(&box, key);
            }
        }
        ASSERT_EQ(form.Captions(), form.FreshFor())
            << "event " << event << ": txtCD \"" << form.Box("txtCD").text().toStdString()
            << "\", txtArchive \"" << form.Box("txtArchive").text().toStdString() << '"';
    }
}

TEST(QtIcon, KeepsThePaletteColoursAndMakesTheRestTransparent) {
    const platform::IndexedImage image = app::ProgramIcon().front();
    const QImage converted = platform::qt::ToQImage(image);
    ASSERT_EQ(converted.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const char key = image.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            const QRgb pixel = converted.pixel(x, y);
            if (const auto index = platform::PaletteIndex(key)) {
                const platform::PaletteColour colour = platform::kStandardPalette.at(*index);
                EXPECT_EQ(pixel, qRgb(colour.red, colour.green, colour.blue));
            } else {
                EXPECT_EQ(qAlpha(pixel), 0);
            }
        }
    }
}

} // namespace
} // namespace brindle::testing
