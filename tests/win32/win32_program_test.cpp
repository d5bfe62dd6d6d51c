// The built program, as Windows sees it: its resources read back through the system's own
// resource functions, and the program itself started, driven and closed from another process with
// standard window messages, as UI automation would.

#include "app/identity.hpp"
#include "app/program_icon.hpp"
#include "platform/win32/win32_text.hpp"
#include "platform/win32/win32_window.hpp"
#include "simulated_form1.hpp"
#include "started_program.hpp"
#include "windows_resources.hpp"

#include <cstdlib>
#include <string>
#include <windows.h>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

const std::wstring kProgram = platform::win32::Widen(BRINDLE_TEST_PROGRAM);

// The program loaded as a data file: its resources, not its code.
class ProgramResources : public ::testing::Test {
protected:
    ProgramResources()
        : module_(LoadLibraryExW(kProgram.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;
    ~ProgramResources() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    [[nodiscard]] Bytes Resource(LPCWSTR type, WORD id) const {
        HRSRC const found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (found == nullptr) {
            return {};
        }
        const auto* const data =
            static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, found)));
        return {data, data + SizeofResource(module_, found)};
    }

    HMODULE module_;
};

TEST_F(ProgramResources, HoldTheVersionRecord) {
    ASSERT_NE(module_, nullptr);
    const VersionRecord record = ReadVersionRecord(Resource(RT_VERSION, 1));
    EXPECT_EQ(record.file_version_high, 0x00010000U);
    EXPECT_EQ(record.file_os, 0x4U);
    EXPECT_EQ(record.file_type, 0x1U);
    const std::map<std::string, std::string> strings{
        {"CompanyName", std::string(identity::kMaker)},
        {"FileVersion", "1.00"},
        {"InternalName", "brindledsc"},
        {"OriginalFilename", "brindledsc.exe"},
        {"ProductName", "BrindleDSC"},
        {"ProductVersion", "1.00"},
    };
    EXPECT_EQ(record.string_tables.at("040904B0"), strings);
    EXPECT_EQ(record.translation, (std::vector<std::uint16_t>{0x0409, 1200}));
}

TEST_F(ProgramResources, HoldTheIconGroupAt4Bits) {
    ASSERT_NE(module_, nullptr);
    const auto entries = ReadIconDirectory(Resource(RT_GROUP_ICON, 1), false);
    const auto images = app::ProgramIcon();
    ASSERT_EQ(entries.size(), images.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconImage image =
            DecodeIconImage(Resource(RT_ICON, static_cast<WORD>(entries[i].id_or_offset)));
        EXPECT_EQ(image.width, images[i].size);
        EXPECT_EQ(image.bits_per_pixel, 4);
        EXPECT_EQ(image.palette.size(), 16U);
    }
}

TEST_F(ProgramResources, HoldTheManifest) {
    ASSERT_NE(module_, nullptr);
    const Bytes manifest = Resource(RT_MANIFEST, 1);
    const std::string text(manifest.begin(), manifest.end());
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);
}

// Started as a user starts it, the program shows the start-up estimate; another process can read
// and type into its controls with standard messages, and closing the window ends the program.
TEST(Program, StartsShowsTheEstimateAnswersMessagesAndEndsWhenClosed) {
    const StartedProgram program(kProgram, L"stray arguments");
    HWND const window = program.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(program.Text(100), L"5");
    EXPECT_EQ(program.Text(101), L"37");
    EXPECT_EQ(program.Text(109), L"34.15");
    EXPECT_EQ(program.Text(110), L"GB - (34974.63 MB)");
    SendMessageW(GetDlgItem(window, 100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
    SendMessageW(GetDlgItem(window, 105), BM_CLICK, 0, 0); // 22 KHz Stereo
    EXPECT_EQ(program.Text(109), L"69.20");
    EXPECT_EQ(program.Text(110), L"GB - (70857.70 MB)");
    EXPECT_EQ(program.Close(), 0);
}

// Run by ctest with Wine's user locale set to German (through LANG) and the separator that locale
// writes in BRINDLE_EXPECTED_SEPARATOR: the real start-up hands the figures that separator, and
// a day box still reads "1.5" as one and a half days.
TEST(ProgramInTheUsersLocale, ShowsTheUsersDecimalSeparator) {
    const char* const separator = std::getenv("BRINDLE_EXPECTED_SEPARATOR");
    ASSERT_NE(separator, nullptr) << "run through ctest, which sets the locale";
    const auto with_separator = [&](const std::string& text) {
        return platform::win32::Widen(WithSeparator(text, separator[0]));
    };
    const StartedProgram program(kProgram, L"");
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_EQ(program.Text(109), with_separator("34.15"));
    EXPECT_EQ(program.Text(110), with_separator("GB - (34974.63 MB)"));
    SendMessageW(GetDlgItem(program.Window(), 100), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"1.5"));
    const auto [gigabytes, megabytes] =
        FreshCaptions("1.5", "37", [](std::string_view option) { return option == "opt11kmono"; });
    EXPECT_EQ(program.Text(109), with_separator(gigabytes));
    EXPECT_EQ(program.Text(110), with_separator(megabytes));
    EXPECT_EQ(program.Close(), 0);
}

} // namespace
} // namespace brindle::testing
