#include "settings/AtomicFileWriter.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kNewMarker = ".new-";

// Creates a new, empty file beside target under a name no one else uses;
// -1 when none can be made.
int CreateBeside(const std::string& target, std::string& tempPath) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + std::string(kNewMarker) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The previous file's permission bits carry over to its replacement.
bool KeepMode(int fd, const std::string& target) {
    struct stat info;
    if (::stat(target.c_str(), &info) != 0) return errno == ENOENT;
    return ::fchmod(fd, info.st_mode & 07777) == 0;
}

// The writer's process of a new file's name "<name>.new-<pid>-<n>"; 0
// for any other name.
pid_t WriterOf(std::string_view name) {
    const std::size_t marker = name.rfind(kNewMarker);
    if (marker == std::string_view::npos || marker == 0) return 0;
    std::string_view rest = name.substr(marker + kNewMarker.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size()) return 0;
    const auto digits = [](std::string_view text) {
        return text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1)) || dash > 9) return 0;
    return static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
}

// New files of saves that were killed before their rename stay behind for
// good: those whose process no longer exists are removed. A live writer's
// file is left to it.
void RemoveLeftovers(const std::string& folder) {
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr) return;
    while (const dirent* entry = ::readdir(entries)) {
        const pid_t writer = WriterOf(entry->d_name);
        if (writer <= 0 || writer == ::getpid()) continue;
        if (::kill(writer, 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}

std::string FolderOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
}

// Makes the rename itself durable. The new file is in place whatever this
// gives, so its result is not the writer's.
void SyncFolderOf(const std::string& target) {
    const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool AtomicFileWriter::Write(const std::string& hostPath, std::string_view bytes) {
    RemoveLeftovers(FolderOf(hostPath));
    std::string tempPath;
    const int fd = CreateBeside(hostPath, tempPath);
    if (fd < 0) return false;
    bool complete = KeepMode(fd, hostPath) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = complete ? 0 : errno;
    if (::close(fd) != 0 && complete) {
        complete = false;
        error = errno;
    }
    if (complete) {
        if (::rename(tempPath.c_str(), hostPath.c_str()) == 0) {
            SyncFolderOf(hostPath);
            return true;
        }
        error = errno;
    }
    ::unlink(tempPath.c_str());
    errno = error;
    return false;
}
