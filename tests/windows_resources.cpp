#include "windows_resources.hpp"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace brindle::testing {
namespace {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes, std::size_t at = 0)
        : bytes_(bytes), at_(at) {}

    std::uint16_t U16() {
        Need(2);
        const auto value = static_cast<std::uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8U));
        at_ += 2;
        return value;
    }
    std::uint32_t U32() {
        const std::uint32_t low = U16();
        return low | (static_cast<std::uint32_t>(U16()) << 16U);
    }
    std::uint8_t U8() {
        Need(1);
        return bytes_[at_++];
    }
    // A UTF-16 string ending in a zero unit, kept to ASCII as every text here is.
    std::string Utf16() {
        std::string text;
        for (std::uint16_t unit = U16(); unit != 0; unit = U16()) {
            text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        }
        return text;
    }
    void AlignTo4() { at_ = (at_ + 3) & ~std::size_t{3}; }
    void Skip(std::size_t count) {
        Need(count);
        at_ += count;
    }
    [[nodiscard]] std::span<const std::uint8_t> Take(std::size_t count) {
        Need(count);
        const auto taken = bytes_.subspan(at_, count);
        at_ += count;
        return taken;
    }
    [[nodiscard]] std::size_t At() const { return at_; }
    [[nodiscard]] bool AtEnd() const { return at_ >= bytes_.size(); }

private:
    void Need(std::size_t count) const {
        if (at_ + count > bytes_.size()) {
            throw std::runtime_error("resource data ends early");
        }
    }
    std::span<const std::uint8_t> bytes_;
    std::size_t at_;
};

// A numbered type or name: 0xFFFF and the number. Named ones are not used by the program.
std::uint16_t Ordinal(Reader& reader) {
    if (reader.U16() != 0xFFFF) {
        throw std::runtime_error("named resources are not expected");
    }
    return reader.U16();
}

// One node of the version record: length, value length, type, key, value, children.
struct VersionNode {
    std::string key;
    std::span<const std::uint8_t> value;
    bool text = false;
    std::vector<VersionNode> children;
};

VersionNode ReadNode(std::span<const std::uint8_t> bytes, std::size_t at) {
    Reader reader(bytes, at);
    const std::uint16_t length = reader.U16();
    const std::uint16_t value_length = reader.U16();
    VersionNode node;
    node.text = reader.U16() == 1;
    node.key = reader.Utf16();
    reader.AlignTo4();
    const std::size_t value_bytes = node.text ? value_length * 2U : value_length;
    node.value = reader.Take(std::min<std::size_t>(value_bytes, at + length - reader.At()));
    reader.AlignTo4();
    while (reader.At() < at + length) {
        const VersionNode child = ReadNode(bytes, reader.At());
        Reader size_reader(bytes, reader.At());
        reader.Skip(size_reader.U16());
        reader.AlignTo4();
        node.children.push_back(child);
    }
    return node;
}

std::string TextValue(std::span<const std::uint8_t> value) {
    Reader reader(value);
    std::string text;
    while (!reader.AtEnd()) {
        const std::uint16_t unit = reader.U16();
        if (unit == 0) {
            break;
        }
        text.push_back(static_cast<char>(unit));
    }
    return text;
}

} // namespace

std::vector<Resource> ReadResFile(std::span<const std::uint8_t> file) {
    std::vector<Resource> resources;
    Reader reader(file);
    while (!reader.AtEnd()) {
        const std::size_t start = reader.At();
        const std::uint32_t data_size = reader.U32();
        const std::uint32_t header_size = reader.U32();
        Resource resource;
        resource.type = Ordinal(reader);
        resource.id = Ordinal(reader);
        reader.AlignTo4();
        reader.Skip(4 + 2); // data version, memory flags
        resource.language = reader.U16();
        reader.Skip(start + header_size - reader.At());
        const auto data = reader.Take(data_size);
        resource.data.assign(data.begin(), data.end());
        reader.AlignTo4();
        // The file starts with an empty entry of type 0 that only marks it as 32-bit.
        if (resource.type != 0) {
            resources.push_back(std::move(resource));
        }
    }
    return resources;
}

VersionRecord ReadVersionRecord(std::span<const std::uint8_t> data) {
    const VersionNode root = ReadNode(data, 0);
    if (root.key != "VS_VERSION_INFO" || root.value.size() != 52) {
        throw std::runtime_error("not a version record");
    }
    Reader fixed(root.value);
    if (fixed.U32() != 0xFEEF04BDU) {
        throw std::runtime_error("bad fixed file info signature");
    }
    fixed.Skip(4); // structure version
    VersionRecord record;
    record.file_version_high = fixed.U32();
    record.file_version_low = fixed.U32();
    record.product_version_high = fixed.U32();
    record.product_version_low = fixed.U32();
    fixed.Skip(8); // flags mask, flags
    record.file_os = fixed.U32();
    record.file_type = fixed.U32();
    for (const VersionNode& child : root.children) {
        if (child.key == "StringFileInfo") {
            for (const VersionNode& table : child.children) {
                auto& strings = record.string_tables[table.key];
                for (const VersionNode& string : table.children) {
                    strings[string.key] = TextValue(string.value);
                }
            }
        } else if (child.key == "VarFileInfo") {
            for (const VersionNode& var : child.children) {
                Reader words(var.value);
                while (!words.AtEnd()) {
                    record.translation.push_back(words.U16());
                }
            }
        }
    }
    return record;
}

IconImage DecodeIconImage(std::span<const std::uint8_t> dib) {
    Reader reader(dib);
    const std::uint32_t header_size = reader.U32();
    IconImage image;
    image.width = static_cast<int>(reader.U32());
    image.height = static_cast<int>(reader.U32()) / 2; // colour bits and mask
    reader.Skip(2);
    image.bits_per_pixel = reader.U16();
    if (image.bits_per_pixel > 8) {
        throw std::runtime_error("only palette images are expected");
    }
    reader.Skip(16);
    std::uint32_t colours = reader.U32();
    if (colours == 0) {
        colours = 1U << static_cast<unsigned>(image.bits_per_pixel);
    }
    reader.Skip(header_size - 36);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::uint32_t blue = reader.U8();
        const std::uint32_t green = reader.U8();
        const std::uint32_t red = reader.U8();
        reader.Skip(1);
        image.palette.push_back(red << 16U | green << 8U | blue);
    }
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    const std::size_t colour_row =
        (width * static_cast<std::size_t>(image.bits_per_pixel) + 31) / 32 * 4;
    const std::size_t mask_row = (width + 31) / 32 * 4;
    const auto colour_bits = reader.Take(colour_row * height);
    const auto mask_bits = reader.Take(mask_row * height);
    image.indices.resize(width * height);
    image.transparent.resize(width * height);
    const auto bits = static_cast<std::size_t>(image.bits_per_pixel);
    for (std::size_t y = 0; y < height; ++y) {
        const std::size_t stored = height - 1 - y; // bottom-up
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t bit = x * bits;
            const std::uint8_t byte = colour_bits[stored * colour_row + bit / 8];
            const unsigned shift = 8U - static_cast<unsigned>(bit % 8 + bits);
            image.indices[y * width + x] =
                static_cast<std::uint8_t>((byte >> shift) & ((1U << bits) - 1U));
            const std::uint8_t mask = mask_bits[stored * mask_row + x / 8];
            image.transparent[y * width + x] = ((mask >> (7U - x % 8)) & 1U) != 0;
        }
    }
    return image;
}

std::vector<IconGroupEntry> ReadIconDirectory(std::span<const std::uint8_t> data, bool in_file) {
    Reader reader(data);
    reader.Skip(2);
    if (reader.U16() != 1) {
        throw std::runtime_error("not an icon directory");
    }
    std::vector<IconGroupEntry> entries(reader.U16());
    for (IconGroupEntry& entry : entries) {
        entry.width = reader.U8();
        entry.height = reader.U8();
        entry.colours = reader.U8();
        reader.Skip(1 + 2);
        entry.bits_per_pixel = reader.U16();
        entry.bytes = reader.U32();
        entry.id_or_offset = in_file ? reader.U32() : reader.U16();
    }
    return entries;
}

Bytes ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace brindle::testing
