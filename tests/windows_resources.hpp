#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Reads compiled Windows resources (.res files) and icon files, independently of the code that
// writes them, so that tests can check every field and every pixel.
namespace brindle::testing {

using Bytes = std::vector<std::uint8_t>;

struct Resource {
    std::uint16_t type = 0; // numbered types only: 3 icon, 14 icon group, 16 version, 24 manifest
    std::uint16_t id = 0;
    std::uint16_t language = 0;
    Bytes data;
};

// Every numbered resource of a .res file; throws std::runtime_error on a malformed file.
[[nodiscard]] std::vector<Resource> ReadResFile(std::span<const std::uint8_t> file);

struct VersionRecord {
    std::uint32_t file_version_high = 0; // major << 16 | minor
    std::uint32_t file_version_low = 0;  // patch << 16 | build
    std::uint32_t product_version_high = 0;
    std::uint32_t product_version_low = 0;
    std::uint32_t file_os = 0;
    std::uint32_t file_type = 0;
    std::map<std::string, std::map<std::string, std::string>> string_tables; // block -> strings
    std::vector<std::uint16_t> translation;                                  // language, code page
};

[[nodiscard]] VersionRecord ReadVersionRecord(std::span<const std::uint8_t> data);

// One icon image as stored (a DIB with colour bits and AND mask), decoded.
struct IconImage {
    int width = 0;
    int height = 0;
    int bits_per_pixel = 0;
    std::vector<std::uint32_t> palette; // 0xRRGGBB
    std::vector<std::uint8_t> indices;  // top-down, one a pixel
    std::vector<bool> transparent;      // the AND mask, top-down
};

[[nodiscard]] IconImage DecodeIconImage(std::span<const std::uint8_t> dib);

struct IconGroupEntry {
    int width = 0;
    int height = 0;
    int colours = 0;
    int bits_per_pixel = 0;
    std::uint32_t bytes = 0;
    std::uint32_t id_or_offset = 0; // resource id in a group, file offset in an .ico
};

// An RT_GROUP_ICON resource (`in_file` false) or an .ico file's directory (`in_file` true).
[[nodiscard]] std::vector<IconGroupEntry> ReadIconDirectory(std::span<const std::uint8_t> data,
                                                            bool in_file);

[[nodiscard]] Bytes ReadWholeFile(const std::string& path);

} // namespace brindle::testing
