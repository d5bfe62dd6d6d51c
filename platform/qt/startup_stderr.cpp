#include "platform/qt/startup_stderr.hpp"

#include <array>
#include <cstdio>
#include <unistd.h>

namespace brindle::platform::qt {
namespace {

void WriteAll(int fd, const char* data, std::size_t size) noexcept {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0) {
            return; // nothing is left to tell if standard error itself fails
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

// An unnamed scratch file, gone once closed, rather than a pipe: what the libraries print can be
// long, and a pipe would stall them once full.
int ScratchFile() noexcept {
    std::FILE* const file = std::tmpfile();
    if (file == nullptr) {
        return -1;
    }
    const int fd = ::dup(::fileno(file)); // keeps the file after the stream is closed
    (void)std::fclose(file);
    return fd;
}

} // namespace

StartupStderr::StartupStderr() noexcept : held_(ScratchFile()) {
    if (held_ < 0) {
        return; // start-up goes on with nothing held back
    }
    (void)std::fflush(stderr);
    saved_ = ::dup(STDERR_FILENO);
    if (saved_ < 0 || ::dup2(held_, STDERR_FILENO) < 0) {
        if (saved_ >= 0) {
            ::close(saved_);
        }
        ::close(held_);
        saved_ = held_ = -1;
    }
}

StartupStderr::~StartupStderr() {
    if (saved_ < 0) {
        return;
    }
    (void)std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    std::array<char, 4096> buffer{};
    for (off_t offset = 0;;) {
        const ssize_t read = ::pread(held_, buffer.data(), buffer.size(), offset);
        if (read <= 0) {
            break;
        }
        WriteAll(STDERR_FILENO, buffer.data(), static_cast<std::size_t>(read));
        offset += read;
    }
    ::close(held_);
}

void StartupStderr::WriteOnly(std::string_view line) const noexcept {
    (void)std::fflush(stderr);
    WriteAll(saved_ >= 0 ? saved_ : STDERR_FILENO, line.data(), line.size());
}

} // namespace brindle::platform::qt
