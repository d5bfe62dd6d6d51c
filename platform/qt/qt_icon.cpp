#include "platform/qt/qt_icon.hpp"

#include <QPixmap>

namespace brindle::platform::qt {

QImage ToQImage(const IndexedImage& image) {
    QImage result(image.size, image.size, QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    for (int y = 0; y < image.size; ++y) {
        const std::string_view row = image.rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < image.size && static_cast<std::size_t>(x) < row.size(); ++x) {
            if (const auto index = PaletteIndex(row[static_cast<std::size_t>(x)])) {
                const PaletteColour colour = kStandardPalette.at(*index);
                result.setPixel(x, y, qRgb(colour.red, colour.green, colour.blue));
            }
        }
    }
    return result;
}

QIcon ToQIcon(std::span<const IndexedImage> images) {
    QIcon icon;
    for (const IndexedImage& image : images) {
        icon.addPixmap(QPixmap::fromImage(ToQImage(image)));
    }
    return icon;
}

} // namespace brindle::platform::qt
