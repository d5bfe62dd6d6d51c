#include "platform/qt/platform_choice.hpp"

#include <cstdlib>
#include <string_view>

namespace brindle::platform::qt {

namespace {

std::string_view Variable(const char* name) {
    const char* const value = std::getenv(name); // NOLINT(concurrency-mt-unsafe): before any thread
    return value != nullptr ? std::string_view(value) : std::string_view();
}

bool Names(std::string_view desktops, std::string_view desktop) {
    while (!desktops.empty()) {
        const std::size_t colon = desktops.find(':');
        if (desktops.substr(0, colon) == desktop) {
            return true;
        }
        desktops =
            colon == std::string_view::npos ? std::string_view() : desktops.substr(colon + 1);
    }
    return false;
}

} // namespace

Session CurrentSession() {
    return {
        .desktops = Variable("XDG_CURRENT_DESKTOP"),
        .x_display = !Variable("DISPLAY").empty(),
        .platform_chosen = !Variable("QT_QPA_PLATFORM").empty(),
    };
}

std::string_view PlatformFor(const Session& session) {
    if (!session.platform_chosen && session.x_display && Names(session.desktops, "GNOME")) {
        return "xcb;wayland";
    }
    return {};
}

} // namespace brindle::platform::qt
