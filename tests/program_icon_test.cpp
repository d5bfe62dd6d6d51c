#include "app/program_icon.hpp"

#include <cstddef>
#include <numeric>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace brindle::app {
namespace {

using platform::IndexedImage;

constexpr char kBlue = 'C';
constexpr char kRed = '9';
constexpr char kWhite = 'F';
constexpr char kLightGrey = '7';
constexpr char kDarkGrey = '8';

char At(const IndexedImage& image, int x, int y) {
    return image.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
}

TEST(ProgramIcon, HasSquareImagesAt16And32And48Pixels) {
    const auto images = ProgramIcon();
    ASSERT_EQ(images.size(), 3U);
    int expected = 16;
    for (const IndexedImage& image : images) {
        EXPECT_EQ(image.size, expected);
        ASSERT_EQ(image.rows.size(), static_cast<std::size_t>(image.size));
        for (const std::string_view row : image.rows) {
            EXPECT_EQ(row.size(), static_cast<std::size_t>(image.size));
        }
        expected += 16;
    }
}

TEST(ProgramIcon, UsesOnlyTheDiscColoursAndTransparency) {
    for (const IndexedImage& image : ProgramIcon()) {
        for (const std::string_view row : image.rows) {
            for (const char pixel : row) {
                EXPECT_NE(std::string(".C9F78").find(pixel), std::string::npos)
                    << image.size << " px: '" << pixel << "'";
                EXPECT_TRUE(pixel == '.' || platform::PaletteIndex(pixel).has_value());
            }
        }
        const int last = image.size - 1;
        for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
            EXPECT_EQ(At(image, x, y), '.') << image.size << " px corner";
        }
    }
}

// Down every column through the middle of the disc: grey edge, blue, a white line, red, grey edge.
TEST(ProgramIcon, IsBlueAboveRedPartedByWhiteInsideAGreyEdge) {
    for (const IndexedImage& image : ProgramIcon()) {
        for (int x = image.size / 4; x < image.size * 3 / 4; ++x) {
            std::string column;
            for (int y = 0; y < image.size; ++y) {
                const char pixel = At(image, x, y);
                if (pixel != '.' && (column.empty() || column.back() != pixel)) {
                    column.push_back(pixel);
                }
            }
            const std::string trace =
                std::to_string(image.size) + " px, column " + std::to_string(x) + ": " + column;
            ASSERT_GE(column.size(), 5U) << trace;
            EXPECT_EQ(column.front(), kLightGrey) << trace;
            EXPECT_EQ(column.back(), kDarkGrey) << trace;
            const std::string inside = column.substr(1, column.size() - 2);
            EXPECT_EQ(inside, std::string({kBlue, kWhite, kRed})) << trace;
        }
    }
}

// The white line is jagged (it goes up and down) and runs downhill overall.
TEST(ProgramIcon, PartsTheColoursWithAJaggedLineRunningDownhill) {
    for (const IndexedImage& image : ProgramIcon()) {
        std::vector<double> centre;
        for (int x = image.size / 8; x < image.size * 7 / 8; ++x) {
            int sum = 0;
            int count = 0;
            for (int y = 0; y < image.size; ++y) {
                if (At(image, x, y) == kWhite) {
                    sum += y;
                    ++count;
                }
            }
            if (count > 0) {
                centre.push_back(static_cast<double>(sum) / count);
            }
        }
        ASSERT_GT(centre.size(), 5U);
        const std::size_t third = centre.size() / 3;
        const auto mean = [](auto first, auto last) {
            return std::accumulate(first, last, 0.0) / static_cast<double>(last - first);
        };
        EXPECT_GT(mean(centre.end() - static_cast<std::ptrdiff_t>(third), centre.end()),
                  mean(centre.begin(), centre.begin() + static_cast<std::ptrdiff_t>(third)))
            << image.size << " px";
        int turns = 0;
        for (std::size_t i = 2; i < centre.size(); ++i) {
            const double before = centre[i - 1] - centre[i - 2];
            const double after = centre[i] - centre[i - 1];
            turns += (before < 0 && after > 0) || (before > 0 && after < 0) ? 1 : 0;
        }
        EXPECT_GE(turns, 2) << image.size << " px";
    }
}

// Sampled at the centre of each pixel of the smallest image, the larger ones show the same picture.
TEST(ProgramIcon, ShowsTheSamePictureAtEverySize) {
    const auto images = ProgramIcon();
    const IndexedImage& smallest = images.front();
    for (const IndexedImage& image : images.subspan(1)) {
        const int factor = image.size / smallest.size;
        int same = 0;
        for (int y = 0; y < smallest.size; ++y) {
            for (int x = 0; x < smallest.size; ++x) {
                same += At(smallest, x, y) ==
                                At(image, x * factor + factor / 2, y * factor + factor / 2)
                            ? 1
                            : 0;
            }
        }
        EXPECT_GE(same * 100, 80 * smallest.size * smallest.size) << image.size << " px";
    }
}

} // namespace
} // namespace brindle::app
