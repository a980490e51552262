#include "platform/CallerWindow.h"

#include "platform/CallerEndpoint.h"
#include "tests/platform/EnvGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include <sys/socket.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Seen = std::vector<std::string>;

namespace {

Seen ReceiveAll(CallerEndpoint& endpoint) {
    Seen seen;
    while (auto event = endpoint.Receive(0)) seen.push_back(event->Describe());
    return seen;
}

// Without bytes: binds and closes a socket at the path, the file a killed
// caller leaves. With bytes: sends them there, as any local program may.
bool Socket(const std::string& path, const void* bytes = nullptr, std::size_t size = 0) {
    sockaddr_un address{};
    const auto* to = reinterpret_cast<const sockaddr*>(&address);
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool done = CallerWindow::SocketAddress(path, address) &&
                      (bytes == nullptr ? bind(fd, to, sizeof address) == 0
                                        : sendto(fd, bytes, size, 0, to, sizeof address) == ssize_t(size));
    close(fd);
    return done;
}

class CallerWindowTest : public ::testing::Test {
protected:
    TempRoot root_;
    const std::string runtime_ = root_ / "xdg";
    EnvGuard xdg_{"XDG_RUNTIME_DIR", (fs::create_directory(runtime_), runtime_.c_str())};  // made, then named
};

// Two callers: each sees what is done to its own window, in order, and a live
// handle is not taken over.
TEST_F(CallerWindowTest, EachEndpointReceivesWhatIsDoneToItsWindowInOrder) {
    fs::create_directories(runtime_ + "/mizunara");
    fs::permissions(runtime_ + "/mizunara", fs::perms::all);  // restricted to its owner on binding
    CallerEndpoint caller, other, second;
    ASSERT_TRUE(caller.BindFresh() && other.Bind(777)) << caller.LastError() << other.LastError();
    const std::uintptr_t handle = caller.Handle();
    EXPECT_TRUE(handle != 0 && handle <= 0x7FFFFFFF) << handle;  // the link program reads 31 bits
    EXPECT_EQ(caller.Path(), runtime_ + "/mizunara/caller-" + std::to_string(handle) + ".sock");
    EXPECT_EQ(fs::status(runtime_ + "/mizunara").permissions(), fs::perms::owner_all);
    EXPECT_TRUE(fs::is_socket(caller.Path()) && CallerWindow::IsWindow(handle) && CallerWindow::IsWindow(777));
    EXPECT_TRUE(CallerWindow::EnableWindow(handle, false) && CallerWindow::SetForegroundWindow(handle) &&
                CallerWindow::BringWindowToTop(handle) && CallerWindow::PostMessageA(777, 5, 6, 2) &&
                CallerWindow::EnableWindow(handle, true) && CallerWindow::PostMessageA(handle, 0x8001, -3, 2) &&
                CallerWindow::PostMessageA(handle, 0xFFFFFFFF, INT64_MIN, INT64_MAX));
    EXPECT_EQ(ReceiveAll(caller), (Seen{"disable", "foreground", "top", "enable",
                                        "post message=32769 wParam=-3 lParam=2",
                                        "post message=4294967295 wParam=-9223372036854775808 "
                                        "lParam=9223372036854775807"}));
    EXPECT_EQ(ReceiveAll(other), Seen{"post message=5 wParam=6 lParam=2"});
    EXPECT_FALSE(second.Bind(777));
    EXPECT_NE(second.LastError().find("held by another caller"), std::string::npos) << second.LastError();
    EXPECT_TRUE(CallerWindow::PostMessageA(777, 1, 0, 0) && ReceiveAll(other).size() == 1);
}

TEST_F(CallerWindowTest, HandleNobodyBindsIsNoWindowAndFailsQuietly) {
    testing::internal::CaptureStderr();
    for (int round = 0; round < 3; ++round) {  // before any caller made the endpoint folder, after, and stale
        for (const std::uintptr_t handle : {std::uintptr_t{0}, std::uintptr_t{4242}}) {
            EXPECT_FALSE(CallerWindow::IsWindow(handle) || CallerWindow::EnableWindow(handle, false) ||
                         CallerWindow::EnableWindow(handle, true) || CallerWindow::SetForegroundWindow(handle) ||
                         CallerWindow::BringWindowToTop(handle) || CallerWindow::PostMessageA(handle, 1, 2, 0));
        }
        if (round == 0) { ASSERT_TRUE(CallerEndpoint().Bind(54321)); }  // which unbinds at once
        if (round == 1) { ASSERT_TRUE(Socket(CallerWindow::EndpointPath(4242))); }
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    CallerEndpoint endpoint;
    EXPECT_FALSE(endpoint.Bind(0) || endpoint.IsBound());
    ASSERT_TRUE(endpoint.Bind(4242)) << endpoint.LastError();  // the stale file is replaced
    EXPECT_TRUE(CallerWindow::PostMessageA(4242, 1, 2, 1));
    EXPECT_EQ(ReceiveAll(endpoint), Seen{"post message=1 wParam=2 lParam=1"});
    endpoint.Unbind();
    EXPECT_FALSE(endpoint.IsBound() || endpoint.Receive(0) || fs::exists(CallerWindow::EndpointPath(4242)) ||
                 fs::exists(CallerWindow::EndpointPath(54321)));
    const std::string file = CallerWindow::EndpointPath(4343);
    testfiles::WriteFile(file, "keep me");
    EXPECT_FALSE(endpoint.Bind(4343));
    EXPECT_TRUE(endpoint.LastError().find("not a socket") != std::string::npos && fs::is_regular_file(file));
    // A runtime folder that is unset, not absolute, missing or no folder is not used.
    for (const char* value : {"", "relative/xdg", "/missing/xdg", file.c_str(), static_cast<const char*>(nullptr)}) {
        EnvGuard xdg("XDG_RUNTIME_DIR", value);
        EXPECT_EQ(CallerWindow::EndpointFolder(), root_ / "run") << (value ? value : "unset");
    }
    EnvGuard xdg("XDG_RUNTIME_DIR", nullptr);
    ASSERT_TRUE(endpoint.Bind(31)) << endpoint.LastError();
    EXPECT_EQ(endpoint.Path(), root_ / "run/caller-31.sock");
    EXPECT_EQ(fs::status(root_ / "run").permissions(), fs::perms::owner_all);
}

// Any local program may send to an endpoint: only whole datagrams with the
// magic and a known kind are events. A caller that stops reading loses
// messages: a full queue fails the send at once.
TEST_F(CallerWindowTest, OnlyEventsArriveAndSendingNeverWaits) {
    const CallerEvent valid = CallerEvent::Make(CallerEventKind::Post, 0x8001, 2, 1);
    const auto with = [&](std::uint32_t kind, std::uint32_t magic = CallerEvent::kMagic) {
        CallerEvent event = valid;
        event.kind = kind, event.magic = magic;
        const auto accepted = CallerEvent::FromBytes(&event, sizeof event);
        return accepted ? accepted->Describe() : std::string("refused");
    };
    EXPECT_EQ(with(1) + "|" + with(5) + "|" + with(0) + "|" + with(6) + "|" + with(5, 0x12345678),
              "enable|post message=32769 wParam=2 lParam=1|refused|refused|refused");
    EXPECT_FALSE(CallerEvent::FromBytes(&valid, sizeof valid - 1) || CallerEvent::FromBytes(nullptr, sizeof valid));
    CallerEndpoint endpoint;
    ASSERT_TRUE(endpoint.BindFresh()) << endpoint.LastError();
    unsigned char longer[sizeof(CallerEvent) + 8] = {};
    std::memcpy(longer, &valid, sizeof valid);  // a longer datagram is never cut to size
    EXPECT_TRUE(Socket(endpoint.Path(), longer, sizeof longer) && Socket(endpoint.Path(), longer, 0) &&
                Socket(endpoint.Path(), &valid, sizeof valid));
    EXPECT_EQ(ReceiveAll(endpoint), Seen{"post message=32769 wParam=2 lParam=1"});
    EXPECT_FALSE(endpoint.Receive(30).has_value());
    std::int64_t sent = 0, received = 0;
    while (sent < 100000 && CallerWindow::PostMessageA(endpoint.Handle(), 1, 0, sent)) ++sent;
    while (auto event = endpoint.Receive(0)) received += event->lParam == received;  // whole and in order
    EXPECT_TRUE(sent > 0 && sent < 100000 && received == sent) << sent << " " << received;
    EXPECT_TRUE(CallerWindow::PostMessageA(endpoint.Handle(), 1, 0, 0));
}

}  // namespace
