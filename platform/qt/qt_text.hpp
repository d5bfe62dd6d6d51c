#pragma once

#include <QString>
#include <string>
#include <string_view>

// The engine's texts are UTF-8; Qt's are UTF-16. Converted only at the boundary.
namespace brindle::platform::qt {

[[nodiscard]] inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

[[nodiscard]] inline std::string FromQString(const QString& text) {
    return text.toStdString();
}

} // namespace brindle::platform::qt
