#include "platform/qt/qt_icon.hpp"
#include "qt_fixture.hpp"

#include <string>

namespace brindle::testing {
namespace {

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
