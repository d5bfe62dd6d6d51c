#include "app/icon_files.hpp"

#include <array>
#include <cstddef>
#include <string_view>

namespace brindle::app {
namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::IndexedImage;

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFU));
    out.push_back(static_cast<std::uint8_t>((value >> 8U) & 0xFFU));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFFU);
    Put16(out, value >> 16U);
}

void Put32BigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((value >> static_cast<unsigned>(shift)) & 0xFFU));
    }
}

char Key(const IndexedImage& image, int x, int y) {
    return image.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
}

// Bitmap rows are padded to whole 32-bit words.
std::uint32_t RowBytes(int width, int bits_per_pixel) {
    return static_cast<std::uint32_t>((width * bits_per_pixel + 31) / 32 * 4);
}

// BITMAPINFOHEADER, palette, colour bits and mask of one icon image. Rows run bottom-up, and the
// header's height counts the colour bits and the mask together.
Bytes IconImage(const IndexedImage& image) {
    const int size = image.size;
    const std::uint32_t colour_row = RowBytes(size, 4);
    const std::uint32_t mask_row = RowBytes(size, 1);
    const auto rows = static_cast<std::uint32_t>(size);
    Bytes out;
    Put32(out, 40);
    Put32(out, rows);
    Put32(out, 2 * rows);
    Put16(out, 1); // planes
    Put16(out, 4); // bits per pixel
    Put32(out, 0); // no compression
    Put32(out, (colour_row + mask_row) * rows);
    Put32(out, 0);  // horizontal resolution
    Put32(out, 0);  // vertical resolution
    Put32(out, 16); // colours used
    Put32(out, 0);  // important colours
    for (const platform::PaletteColour& colour : platform::kStandardPalette) {
        out.insert(out.end(), {colour.blue, colour.green, colour.red, 0});
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(colour_row, 0);
        for (int x = 0; x < size; ++x) {
            const std::uint8_t index = platform::PaletteIndex(Key(image, x, y)).value_or(0);
            const auto at = static_cast<std::size_t>(x / 2);
            row[at] = static_cast<std::uint8_t>(row[at] | (x % 2 == 0 ? index << 4U : index));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(mask_row, 0);
        for (int x = 0; x < size; ++x) {
            if (!platform::PaletteIndex(Key(image, x, y))) {
                const auto at = static_cast<std::size_t>(x / 8);
                row[at] =
                    static_cast<std::uint8_t>(row[at] | (0x80U >> static_cast<unsigned>(x % 8)));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1U) != 0 ? (crc >> 1U) ^ 0xEDB88320U : crc >> 1U;
        }
    }
    return ~crc;
}

void PutChunk(Bytes& out, std::string_view type, std::span<const std::uint8_t> data) {
    Put32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    Bytes typed(type.begin(), type.end());
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    Put32BigEndian(out, Crc32(typed));
}

// A zlib stream of stored (uncompressed) deflate blocks: no compressor, so no version of one can
// change the bytes.
Bytes StoredZlib(std::span<const std::uint8_t> data) {
    constexpr std::size_t kBlock = 65535;
    Bytes out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kBlock, data.size() - at);
        const bool last = at + length == data.size();
        out.push_back(last ? 1 : 0);
        Put16(out, static_cast<std::uint32_t>(length));
        Put16(out, static_cast<std::uint32_t>(~length & 0xFFFFU));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < data.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521U;
        b = (b + a) % 65521U;
    }
    Put32BigEndian(out, (b << 16U) | a);
    return out;
}

} // namespace

Bytes IcoFile(std::span<const IndexedImage> images) {
    Bytes out;
    Put16(out, 0); // reserved
    Put16(out, 1); // icon
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::vector<Bytes> bodies;
    bodies.reserve(images.size());
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IndexedImage& image : images) {
        const Bytes& body = bodies.emplace_back(IconImage(image));
        out.push_back(static_cast<std::uint8_t>(image.size));
        out.push_back(static_cast<std::uint8_t>(image.size));
        out.push_back(16); // colours
        out.push_back(0);
        Put16(out, 1); // planes
        Put16(out, 4); // bits per pixel
        Put32(out, static_cast<std::uint32_t>(body.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(body.size());
    }
    for (const Bytes& body : bodies) {
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

Bytes PngFile(const IndexedImage& image) {
    const auto size = static_cast<std::uint32_t>(image.size);
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Put32BigEndian(header, size);
    Put32BigEndian(header, size);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, no interlace
    PutChunk(out, "IHDR", header);

    Bytes pixels;
    for (int y = 0; y < image.size; ++y) {
        pixels.push_back(0); // no filter
        for (int x = 0; x < image.size; ++x) {
            if (const auto index = platform::PaletteIndex(Key(image, x, y))) {
                const platform::PaletteColour colour = platform::kStandardPalette.at(*index);
                pixels.insert(pixels.end(), {colour.red, colour.green, colour.blue, 255});
            } else {
                pixels.insert(pixels.end(), {0, 0, 0, 0});
            }
        }
    }
    PutChunk(out, "IDAT", StoredZlib(pixels));
    PutChunk(out, "IEND", {});
    return out;
}

} // namespace brindle::app
