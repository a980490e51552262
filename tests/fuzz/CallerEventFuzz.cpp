// Datagrams from any local process at a caller's endpoint: only whole, well-formed events are received, and
// as they were sent. What the program posts (message, wParam and lParam from the input) arrives whole.

#include <sys/socket.h>

#include "platform/CallerEndpoint.h"
#include "platform/CallerWindow.h"
#include "tests/fuzz/FuzzSupport.h"

MZN_FUZZ_TARGET(input) {
    static CallerEndpoint endpoint;
    static const int sender = [] {
        FuzzRoot::Path();
        sockaddr_un address{};
        const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        Require(endpoint.BindFresh() && CallerWindow::SocketAddress(endpoint.Path(), address) &&
                    connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0,
                "no endpoint to send to");
        return fd;
    }();
    const std::size_t size = std::min<std::size_t>(input.Size(), 65536);
    const std::optional<CallerEvent> expected = CallerEvent::FromBytes(input.bytes.data(), size);
    Require(send(sender, input.bytes.data(), size, 0) == static_cast<ssize_t>(size), "a datagram not sent");
    const std::optional<CallerEvent> received = endpoint.Receive(0);
    Require(received.has_value() == expected.has_value() &&
                (!received || std::memcmp(&*received, &*expected, sizeof(CallerEvent)) == 0),
            "a datagram received otherwise than sent");

    CallerEvent fields;
    std::copy_n(input.bytes.begin(), std::min(input.Size(), sizeof fields), reinterpret_cast<char*>(&fields));
    const CallerEvent posted = CallerEvent::Make(CallerEventKind::Post, fields.message, fields.wParam, fields.lParam);
    Require(CallerWindow::PostMessageA(endpoint.Handle(), fields.message, fields.wParam, fields.lParam), "not posted");
    const std::optional<CallerEvent> arrived = endpoint.Receive(0);
    Require(arrived && std::memcmp(&*arrived, &posted, sizeof posted) == 0 &&
                arrived->Describe() == "post message=" + std::to_string(posted.message) + " wParam=" +
                                           std::to_string(posted.wParam) + " lParam=" + std::to_string(posted.lParam) &&
                !endpoint.Receive(0), "a posted message did not arrive whole, or arrived twice");
}
