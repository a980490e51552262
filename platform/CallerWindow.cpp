#include "platform/CallerWindow.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/MznRoot.h"

namespace {

// XDG_RUNTIME_DIR is only trusted when it is what the base-directory rules
// promise: absolute, a folder, ours, and writable. Both ends run this same
// test on the same environment, so they agree on the folder.
bool IsUsableRuntimeFolder(const char* folder) {
    if (folder == nullptr || folder[0] != '/') return false;
    struct stat info {};
    if (stat(folder, &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    if (info.st_uid != geteuid()) return false;
    return access(folder, W_OK | X_OK) == 0;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

class SocketFd {
public:
    SocketFd() : fd_(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~SocketFd() {
        if (fd_ >= 0) close(fd_);
    }
    SocketFd(const SocketFd&) = delete;
    SocketFd& operator=(const SocketFd&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

bool CallerWindow::IsWindow(std::uintptr_t handle) {
    if (handle == 0) return false;
    sockaddr_un address{};
    if (!SocketAddress(EndpointPath(handle), address)) return false;
    SocketFd probe;
    if (probe.Get() < 0) return false;
    // Connecting a datagram socket only checks that someone is bound there;
    // nothing is sent.
    return connect(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool CallerWindow::EnableWindow(std::uintptr_t handle, bool enable) {
    return Send(handle, CallerEvent::Make(enable ? CallerEventKind::Enable : CallerEventKind::Disable));
}

bool CallerWindow::PostMessageA(std::uintptr_t handle, std::uint32_t message, std::int64_t wParam,
                                std::int64_t lParam) {
    return Send(handle, CallerEvent::Make(CallerEventKind::Post, message, wParam, lParam));
}

bool CallerWindow::SetForegroundWindow(std::uintptr_t handle) {
    return Send(handle, CallerEvent::Make(CallerEventKind::Foreground));
}

bool CallerWindow::BringWindowToTop(std::uintptr_t handle) {
    return Send(handle, CallerEvent::Make(CallerEventKind::Top));
}

std::string CallerWindow::EndpointFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (IsUsableRuntimeFolder(runtime)) return WithoutTrailingSlash(runtime) + "/mizunara";
    return MznRoot::Path() + "/run";
}

std::string CallerWindow::EndpointPath(std::uintptr_t handle) {
    return EndpointFolder() + "/caller-" + std::to_string(handle) + ".sock";
}

bool CallerWindow::SocketAddress(const std::string& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

bool CallerWindow::Send(std::uintptr_t handle, const CallerEvent& event) {
    if (handle == 0) return false;
    sockaddr_un address{};
    if (!SocketAddress(EndpointPath(handle), address)) return false;
    SocketFd sender;
    if (sender.Get() < 0) return false;
    ssize_t sent;
    do {
        // A full queue at the caller gives EAGAIN at once: the link program
        // must never wait for its caller.
        sent = sendto(sender.Get(), &event, sizeof event, MSG_DONTWAIT | MSG_NOSIGNAL,
                      reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(sizeof event);
}
