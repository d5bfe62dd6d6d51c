#pragma once

#include <string_view>

namespace brindle::platform::qt {

// What of the user's session decides which of Qt's platform plugins the window runs on.
struct Session {
    std::string_view desktops;    // XDG_CURRENT_DESKTOP: names separated by colons
    bool x_display = false;       // DISPLAY names an X server (on Wayland, the desktop's XWayland)
    bool platform_chosen = false; // QT_QPA_PLATFORM is set: the user's choice stands
};

// The session the program was started in, from its environment.
Session CurrentSession();

// The platform plugins to try, in order, as Qt's -platform option takes them; empty where Qt's
// own choice stands.
//
// GNOME draws no title bar for a Wayland client, so on Wayland the window would wear Qt's own:
// a title centred and cut at both ends, and a maximise button for a window of fixed size. Through
// XWayland GNOME frames it as every other window: its own title bar, the title ellipsised at the
// end, and only a close button. Orca can also place an X11 window on the screen, and input
// methods reach the window through IBus either way. Only fractional scaling is better on Wayland,
// where XWayland windows are scaled up, not drawn at the scale. Should XWayland not start, Qt
// goes on to Wayland.
std::string_view PlatformFor(const Session& session);

} // namespace brindle::platform::qt
