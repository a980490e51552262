#pragma once

#include <cstdint>
#include <string>

#include <sys/un.h>

#include "platform/CallerEvent.h"

// The caller's window as the link program sees it. A window handle names a
// local endpoint, a Unix datagram socket that the caller binds (see
// CallerEndpoint); each call here is one datagram to it. A handle that nobody
// binds is a window that does not exist: the calls then fail quietly, as they
// do on Windows for a window that has gone. No call ever blocks: a caller that
// stops reading loses messages rather than hanging the link program.
class CallerWindow {
public:
    // Handle 0 is no window.
    static bool IsWindow(std::uintptr_t handle);

    // Each returns true when the datagram was delivered to a bound endpoint.
    // Unlike Windows, EnableWindow reports delivery, not the previous state;
    // nothing in the system reads that state.
    static bool EnableWindow(std::uintptr_t handle, bool enable);
    static bool PostMessageA(std::uintptr_t handle, std::uint32_t message, std::int64_t wParam,
                             std::int64_t lParam);
    static bool SetForegroundWindow(std::uintptr_t handle);
    static bool BringWindowToTop(std::uintptr_t handle);

    // Folder of the endpoints: $XDG_RUNTIME_DIR/mizunara when XDG_RUNTIME_DIR
    // is an absolute path to a folder of this user that can be written,
    // otherwise MznRoot::Path()/run. Nothing is created here; the caller
    // makes the folder when it binds.
    static std::string EndpointFolder();
    // EndpointFolder()/caller-<handle>.sock
    static std::string EndpointPath(std::uintptr_t handle);

    // The socket address of path; false when the path does not fit.
    static bool SocketAddress(const std::string& path, sockaddr_un& address);

private:
    static bool Send(std::uintptr_t handle, const CallerEvent& event);
};
