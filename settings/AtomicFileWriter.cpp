#include "settings/AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Creates a new, empty file beside target under a name no one else uses;
// -1 when none can be made.
int CreateBeside(const std::string& target, std::string& tempPath) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
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

// Makes the rename itself durable. The new file is in place whatever this
// gives, so its result is not the writer's.
void SyncFolderOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool AtomicFileWriter::Write(const std::string& hostPath, std::string_view bytes) {
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
