#pragma once

#include "platform/win32/win32_window.hpp"

#include <string>
#include <windows.h>

namespace brindle::testing {

// The real program started in a process of its own, as a user starts it, and driven from outside
// with standard window messages, as UI automation drives it.
class StartedProgram {
public:
    // Starts `program` with `arguments` and waits (up to ten seconds) for its window.
    StartedProgram(const std::wstring& program, const std::wstring& arguments) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + program + L"\" " + arguments;
        if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &process_) == FALSE) {
            return;
        }
        WaitForInputIdle(process_.hProcess, 10'000);
        for (int tries = 0; tries < 200 && window_ == nullptr; ++tries) {
            window_ = FindWindowW(platform::win32::Win32Window::kClassName, nullptr);
            Sleep(50);
        }
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram() {
        if (process_.hProcess != nullptr) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 1);
            }
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }

    // The program's window, or nullptr if it did not start or show one.
    [[nodiscard]] HWND Window() const noexcept { return window_; }

    // A control's text by its id; the ids follow the design's order from 100 (txtCD is 100,
    // lblResMB 109, lblextrares 110).
    [[nodiscard]] std::wstring Text(int id) const {
        std::wstring text(256, L'\0');
        text.resize(
            static_cast<std::size_t>(SendMessageW(GetDlgItem(window_, id), WM_GETTEXT, text.size(),
                                                  reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }

    // Closes the window as its close box does: the program's exit code, or -1 when it did not end
    // within ten seconds.
    [[nodiscard]] long Close() const {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 10'000) != WAIT_OBJECT_0) {
            return -1;
        }
        DWORD exit_code = 0;
        GetExitCodeProcess(process_.hProcess, &exit_code);
        return static_cast<long>(exit_code);
    }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

} // namespace brindle::testing
