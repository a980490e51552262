#include "platform/CallerEndpoint.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CallerWindow.h"

namespace {

// Fresh handles are (pid << 8 | counter): unique between live processes as
// long as pids stay below 2^23 (Linux allows at most 2^22).
constexpr unsigned kFreshPerProcess = 256;
std::atomic<unsigned> freshCounter{0};

std::uintptr_t FreshCandidate() {
    const auto pid = static_cast<std::uintptr_t>(getpid()) & 0x7FFFFF;
    const auto serial = static_cast<std::uintptr_t>(freshCounter.fetch_add(1) % kFreshPerProcess);
    return (pid << 8) | serial;
}

std::string ErrnoText() {
    return std::strerror(errno);
}

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return 0;
    // Round up so that a wait never ends just short of the deadline and spins.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

}  // namespace

CallerEndpoint::~CallerEndpoint() {
    Unbind();
}

bool CallerEndpoint::Bind(std::uintptr_t handle) {
    Unbind();
    error_.clear();
    if (handle == 0) return Fail("handle 0 is no window");
    switch (TryBind(handle)) {
        case BindResult::Bound:
            return true;
        case BindResult::InUse:
            return Fail("handle " + std::to_string(handle) + " is held by another caller (" +
                        CallerWindow::EndpointPath(handle) + ")");
        case BindResult::Failed:
            break;
    }
    return false;
}

bool CallerEndpoint::BindFresh() {
    Unbind();
    error_.clear();
    for (unsigned attempt = 0; attempt < kFreshPerProcess; ++attempt) {
        const std::uintptr_t handle = FreshCandidate();
        if (handle == 0) continue;
        switch (TryBind(handle)) {
            case BindResult::Bound:
                return true;
            case BindResult::InUse:
                continue;
            case BindResult::Failed:
                return false;
        }
    }
    return Fail("no free handle left for this process in " + CallerWindow::EndpointFolder());
}

void CallerEndpoint::Unbind() {
    if (fd_ < 0) return;
    close(fd_);
    fd_ = -1;
    // Remove the file only while it is still ours: a later caller may have
    // taken the handle over after deciding that ours was stale.
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_)
        unlink(path_.c_str());
    handle_ = 0;
    path_.clear();
}

std::optional<CallerEvent> CallerEndpoint::Receive(int timeoutMs) {
    if (fd_ < 0) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd waitFor{fd_, POLLIN, 0};
        const int ready = poll(&waitFor, 1, timeoutMs < 0 ? -1 : RemainingMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        // One byte more than an event, and MSG_TRUNC for the true length, so
        // that a longer datagram is recognised and dropped, not cut to size.
        unsigned char buffer[sizeof(CallerEvent) + 1];
        const ssize_t size = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC);
        if (size < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            return std::nullopt;
        }
        if (auto event = CallerEvent::FromBytes(buffer, static_cast<std::size_t>(size))) return event;
    }
}

CallerEndpoint::BindResult CallerEndpoint::TryBind(std::uintptr_t handle) {
    const std::string path = CallerWindow::EndpointPath(handle);
    sockaddr_un address{};
    if (!CallerWindow::SocketAddress(path, address)) {
        Fail("the endpoint path is too long for a socket: " + path);
        return BindResult::Failed;
    }
    if (!MakeFolder(CallerWindow::EndpointFolder())) return BindResult::Failed;

    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        Fail("cannot create a socket: " + ErrnoText());
        return BindResult::Failed;
    }
    const auto* socketAddress = reinterpret_cast<const sockaddr*>(&address);
    int bound = bind(fd, socketAddress, sizeof address);
    if (bound != 0 && errno == EADDRINUSE) {
        if (CallerWindow::IsWindow(handle)) {
            close(fd);
            return BindResult::InUse;
        }
        if (!RemoveStaleSocket(path)) {
            close(fd);
            return BindResult::Failed;
        }
        bound = bind(fd, socketAddress, sizeof address);
        if (bound != 0 && errno == EADDRINUSE) {
            // Another caller took the handle between our look and our bind.
            close(fd);
            return BindResult::InUse;
        }
    }
    if (bound != 0) {
        Fail("cannot bind " + path + ": " + ErrnoText());
        close(fd);
        return BindResult::Failed;
    }
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        Fail("the socket " + path + " vanished after binding: " + ErrnoText());
        close(fd);
        return BindResult::Failed;
    }
    fd_ = fd;
    handle_ = handle;
    path_ = path;
    device_ = info.st_dev;
    inode_ = info.st_ino;
    return BindResult::Bound;
}

bool CallerEndpoint::MakeFolder(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path path(folder);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return Fail("cannot create " + folder + ": " + ErrnoText());
    // Only this user may reach the endpoints: whoever can send to them can
    // enable the caller's window and post its completion message.
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return Fail(folder + " is not a folder");
    if (info.st_uid != geteuid()) return Fail(folder + " belongs to another user");
    if ((info.st_mode & 0077) != 0 && chmod(folder.c_str(), 0700) != 0)
        return Fail("cannot restrict " + folder + " to its owner: " + ErrnoText());
    return true;
}

bool CallerEndpoint::RemoveStaleSocket(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return true;  // gone meanwhile
    if (!S_ISSOCK(info.st_mode)) return Fail(path + " exists and is not a socket");
    if (unlink(path.c_str()) != 0 && errno != ENOENT)
        return Fail("cannot remove the stale socket " + path + ": " + ErrnoText());
    return true;
}

bool CallerEndpoint::Fail(const std::string& message) {
    error_ = message;
    return false;
}
