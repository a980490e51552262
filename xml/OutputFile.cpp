#include "xml/OutputFile.h"

#include "platform/WinFileSystem.h"

#include <cerrno>
#include <optional>
#include <string>
#include <fcntl.h>
#include <unistd.h>

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Open(const char* windowsPath) {
    Close();
    if (windowsPath == nullptr) return false;
    std::optional<std::string> host = WinFileSystem::HostPath(windowsPath);
    if (!host || !WinFileSystem::MayWriteFile(windowsPath)) return false;
    do {
        descriptor_ = ::open(host->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (descriptor_ < 0 && errno == EINTR);
    return descriptor_ >= 0;
}

bool OutputFile::Write(const char* bytes, std::size_t size) {
    if (descriptor_ < 0) return false;
    while (size > 0) {
        ssize_t written = ::write(descriptor_, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        // A short write is retried: the retry reports why the rest did not
        // fit (ENOSPC, EFBIG).
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool OutputFile::Close() {
    if (descriptor_ < 0) return true;
    int synced;
    do {
        synced = calls_.fsync(descriptor_);
    } while (synced != 0 && errno == EINTR);
    // The descriptor is gone after close, whatever it answers: no retry.
    const bool closed = calls_.close(descriptor_) == 0;
    descriptor_ = -1;
    return synced == 0 && closed;
}
