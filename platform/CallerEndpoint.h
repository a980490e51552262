#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <sys/types.h>

#include "platform/CallerEvent.h"

// The caller's side of a window handle: a Unix datagram socket bound at
// CallerWindow::EndpointPath(handle), from which the caller reads what the
// link program did to its window. The socket file is removed when the
// endpoint is unbound or destroyed.
class CallerEndpoint {
public:
    CallerEndpoint() = default;
    ~CallerEndpoint();
    CallerEndpoint(const CallerEndpoint&) = delete;
    CallerEndpoint& operator=(const CallerEndpoint&) = delete;

    // Binds the given nonzero handle. A socket file left behind by a caller
    // that has gone is removed first; a handle that a live caller holds, or a
    // path that is not a socket, is refused. False with LastError() set.
    bool Bind(std::uintptr_t handle);
    // Binds a handle nobody holds, made from the process id and a counter so
    // that it stays below 2^31: the link program reads it as a decimal number
    // and Windows handles carry 32 significant bits.
    bool BindFresh();
    void Unbind();

    bool IsBound() const { return fd_ >= 0; }
    std::uintptr_t Handle() const { return handle_; }
    const std::string& Path() const { return path_; }
    // Why the last Bind or BindFresh failed, in a sentence for the user.
    const std::string& LastError() const { return error_; }

    // The next event, waiting at most timeoutMs (0: only what has arrived,
    // negative: until one arrives). Datagrams that are not events are
    // dropped. nullopt on timeout, or when not bound.
    std::optional<CallerEvent> Receive(int timeoutMs);

private:
    enum class BindResult { Bound, InUse, Failed };

    BindResult TryBind(std::uintptr_t handle);
    bool MakeFolder(const std::string& folder);
    bool RemoveStaleSocket(const std::string& path);
    bool Fail(const std::string& message);

    int fd_ = -1;
    std::uintptr_t handle_ = 0;
    std::string path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::string error_;
};
