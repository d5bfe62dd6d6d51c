#pragma once

#include "platform/indexed_image.hpp"

#include <cstdint>
#include <span>
#include <vector>

// The program icon in the file formats that installers and resource compilers take. Both writers
// are deterministic, so the files kept in the tree can be checked against a fresh export.
namespace brindle::app {

// An icon group: every image at 4 bits a pixel with the standard 16-colour palette and an AND
// mask in which transparent pixels are set.
[[nodiscard]] std::vector<std::uint8_t> IcoFile(std::span<const platform::IndexedImage> images);

// One image as an 8-bit RGBA PNG, transparent where the image is.
[[nodiscard]] std::vector<std::uint8_t> PngFile(const platform::IndexedImage& image);

} // namespace brindle::app
