#include "platform/win32/run_program.hpp"

#include "platform/number_locale.hpp"
#include "platform/run_program.hpp"
#include "platform/win32/system_function.hpp"
#include "platform/win32/win32_text.hpp"
#include "platform/win32/win32_window.hpp"

#include <array>
#include <cstdlib>
#include <windows.h>

namespace brindle::platform::win32 {

int RunWindow(Win32Window& window, EventTarget& logic) {
    window.Attach(logic);
    window.Load();
    ShowWindow(window.Handle(), SW_SHOWDEFAULT);
    UpdateWindow(window.Handle());
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window.Handle(), &message) == FALSE) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

} // namespace brindle::platform::win32

namespace brindle::platform {

void RunProgram(const ProgramRecord& program) {
    win32::LimitLibrarySearch();
    int exit_code = 0;
    {
        // Figures are written with the user's decimal separator; day boxes are read the same way
        // in every locale.
        std::array<wchar_t, LOCALE_NAME_MAX_LENGTH> separator{};
        if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator.data(),
                            static_cast<int>(separator.size())) > 0) {
            SetDecimalSeparator(win32::Narrow(separator.data()));
        }
        win32::Win32Window window(program.startup_window, GetModuleHandleW(nullptr));
        const std::unique_ptr<EventTarget> logic = program.create_logic(window);
        exit_code = win32::RunWindow(window, *logic);
    }
    std::exit(exit_code); // NOLINT(concurrency-mt-unsafe): one thread
}

} // namespace brindle::platform
