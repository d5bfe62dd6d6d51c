// The large icon sizes are rendered from the scalable picture at build time; they must show the
// same disc as the hand-drawn 16-colour images that the window and the small sizes use.

#include "app/program_icon.hpp"

#include <QColor>
#include <QImage>
#include <QString>
#include <array>
#include <cstddef>
#include <limits>

#include <gtest/gtest.h>

namespace brindle::app {
namespace {

// The palette key of the disc colour nearest to a rendered pixel; '.' where it is transparent.
char NearestKey(const QColor& pixel) {
    if (pixel.alpha() < 128) {
        return '.';
    }
    char nearest = '?';
    int best = std::numeric_limits<int>::max();
    for (const char key : {'C', '9', 'F', '7', '8'}) {
        const auto colour = platform::kStandardPalette[*platform::PaletteIndex(key)];
        const int distance = (pixel.red() - colour.red) * (pixel.red() - colour.red) +
                             (pixel.green() - colour.green) * (pixel.green() - colour.green) +
                             (pixel.blue() - colour.blue) * (pixel.blue() - colour.blue);
        if (distance < best) {
            best = distance;
            nearest = key;
        }
    }
    return nearest;
}

// Where a hand-drawn pixel and its eight neighbours share one colour, the rendered picture has
// that colour at the same place. (Along edges the two may differ by a pixel.)
TEST(IconRendering, LargeSizesShowTheSameDiscAsTheDrawnImages) {
    const platform::IndexedImage& drawn = ProgramIcon().back();
    const auto at = [&](int x, int y) {
        return drawn.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    };
    for (const int size : {64, 128, 256}) {
        const QString file = QStringLiteral(BRINDLE_TEST_RENDERED_ICONS "/%1x%1.png").arg(size);
        const QImage rendered(file);
        ASSERT_FALSE(rendered.isNull()) << file.toStdString();
        EXPECT_EQ(rendered.size(), QSize(size, size));
        EXPECT_TRUE(rendered.hasAlphaChannel());
        int compared = 0;
        for (int y = 1; y + 1 < drawn.size; ++y) {
            for (int x = 1; x + 1 < drawn.size; ++x) {
                bool uniform = true;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        uniform = uniform && at(x + dx, y + dy) == at(x, y);
                    }
                }
                if (!uniform) {
                    continue;
                }
                ++compared;
                const double scale = static_cast<double>(size) / drawn.size;
                const QColor pixel = rendered.pixelColor(static_cast<int>((x + 0.5) * scale),
                                                         static_cast<int>((y + 0.5) * scale));
                EXPECT_EQ(NearestKey(pixel), at(x, y))
                    << size << " px, at the drawn pixel (" << x << ", " << y << ")";
            }
        }
        EXPECT_GT(compared, drawn.size * drawn.size / 2);
    }
}

} // namespace
} // namespace brindle::app
