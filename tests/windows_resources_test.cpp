#include "app/identity.hpp"
#include "app/program_icon.hpp"
#include "windows_resources.hpp"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

constexpr std::uint16_t kIcon = 3;
constexpr std::uint16_t kIconGroup = 14;
constexpr std::uint16_t kVersion = 16;

// The image must be the program icon's, pixel for pixel: 4 bits, the standard palette, and the
// AND mask set exactly where the icon is transparent (where the colour bits hold index 0).
void ExpectProgramIconImage(const IconImage& image, const platform::IndexedImage& expected) {
    ASSERT_EQ(image.width, expected.size);
    ASSERT_EQ(image.height, expected.size);
    EXPECT_EQ(image.bits_per_pixel, 4);
    std::vector<std::uint32_t> palette;
    for (const platform::PaletteColour& colour : platform::kStandardPalette) {
        palette.push_back(std::uint32_t{colour.red} << 16U | std::uint32_t{colour.green} << 8U |
                          colour.blue);
    }
    EXPECT_EQ(image.palette, palette);
    int wrong = 0;
    for (int y = 0; y < expected.size; ++y) {
        for (int x = 0; x < expected.size; ++x) {
            const auto at = static_cast<std::size_t>(y * expected.size + x);
            const auto key = platform::PaletteIndex(
                expected.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
            const bool matches = key ? !image.transparent[at] && image.indices[at] == *key
                                     : image.transparent[at] && image.indices[at] == 0;
            wrong += matches ? 0 : 1;
        }
    }
    EXPECT_EQ(wrong, 0) << expected.size << " px image";
}

class WindowsResources : public ::testing::Test {
protected:
    [[nodiscard]] const Resource& Find(std::uint16_t type, std::uint16_t id) const {
        const auto found = std::find_if(resources.begin(), resources.end(), [&](const Resource& r) {
            return r.type == type && r.id == id;
        });
        if (found == resources.end()) {
            throw std::runtime_error("resource missing");
        }
        return *found;
    }

    std::vector<Resource> resources = ReadResFile(ReadWholeFile(BRINDLE_TEST_RES_FILE));
};

TEST_F(WindowsResources, HoldExactlyTheVersionRecordFields) {
    const VersionRecord record = ReadVersionRecord(Find(kVersion, 1).data);
    EXPECT_EQ(record.file_version_high, 0x00010000U);
    EXPECT_EQ(record.file_version_low, 0U);
    EXPECT_EQ(record.product_version_high, 0x00010000U);
    EXPECT_EQ(record.product_version_low, 0U);
    EXPECT_EQ(record.file_os, 0x4U);   // 32-bit Windows
    EXPECT_EQ(record.file_type, 0x1U); // application
    const std::string executable(identity::kExecutable);
    const std::map<std::string, std::map<std::string, std::string>> expected{
        {"040904B0",
         {
             {"CompanyName", std::string(identity::kMaker)},
             {"FileVersion", "1.00"},
             {"InternalName", executable},
             {"OriginalFilename", executable + ".exe"},
             {"ProductName", "BrindleDSC"},
             {"ProductVersion", "1.00"},
         }},
    };
    EXPECT_EQ(record.string_tables, expected);
    EXPECT_EQ(record.translation, (std::vector<std::uint16_t>{0x0409, 1200}));
}

TEST_F(WindowsResources, HoldTheProgramIconGroup) {
    const auto entries = ReadIconDirectory(Find(kIconGroup, 1).data, false);
    const auto images = app::ProgramIcon();
    ASSERT_EQ(entries.size(), images.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].width, images[i].size);
        EXPECT_EQ(entries[i].height, images[i].size);
        EXPECT_EQ(entries[i].colours, 16);
        EXPECT_EQ(entries[i].bits_per_pixel, 4);
        const Resource& icon = Find(kIcon, static_cast<std::uint16_t>(entries[i].id_or_offset));
        EXPECT_EQ(icon.data.size(), entries[i].bytes);
        ExpectProgramIconImage(DecodeIconImage(icon.data), images[i]);
    }
}

TEST(IconFile, HoldsTheProgramIconAt4BitsWithAMask) {
    const Bytes file = ReadWholeFile(BRINDLE_TEST_ICON_FILE);
    const auto entries = ReadIconDirectory(file, true);
    const auto images = app::ProgramIcon();
    ASSERT_EQ(entries.size(), images.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].bits_per_pixel, 4);
        ASSERT_LE(entries[i].id_or_offset + entries[i].bytes, file.size());
        const std::span<const std::uint8_t> dib(file.data() + entries[i].id_or_offset,
                                                entries[i].bytes);
        ExpectProgramIconImage(DecodeIconImage(dib), images[i]);
    }
}

} // namespace
} // namespace brindle::testing
