#include "platform/CallerWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CallerEndpoint.h"
#include "platform/CallerEvent.h"
#include "tests/support/TempRoot.h"

namespace {

// Sets or unsets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (previous_)
            setenv(name_, previous_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};

std::string MakeFolder(const std::string& path) {
    std::filesystem::create_directories(path);
    chmod(path.c_str(), 0700);
    return path;
}

mode_t PermissionsOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return 0;
    return info.st_mode & 07777;
}

bool IsSocketFile(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// Sends raw bytes to an endpoint, as a program that is not the link
// program might.
bool SendRaw(const std::string& path, const void* data, std::size_t size) {
    sockaddr_un address{};
    if (!CallerWindow::SocketAddress(path, address)) return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const ssize_t sent =
        sendto(fd, data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    close(fd);
    return sent == static_cast<ssize_t>(size);
}

// Leaves a socket file behind at path with nobody bound to it, as a caller
// that was killed does.
void LeaveStaleSocket(const std::string& path) {
    sockaddr_un address{};
    ASSERT_TRUE(CallerWindow::SocketAddress(path, address));
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(fd);
    ASSERT_TRUE(IsSocketFile(path));
}

std::vector<std::string> ReceiveAll(CallerEndpoint& endpoint) {
    std::vector<std::string> seen;
    while (auto event = endpoint.Receive(0)) seen.push_back(event->Describe());
    return seen;
}

class CallerWindowTest : public ::testing::Test {
protected:
    TempRoot root_;
    std::string runtime_ = MakeFolder(root_ / "xdg");
    ScopedEnv xdg_{"XDG_RUNTIME_DIR", runtime_};
};

TEST_F(CallerWindowTest, EventsArriveInOrderWithTheirFields) {
    CallerEndpoint endpoint;
    ASSERT_TRUE(endpoint.BindFresh()) << endpoint.LastError();
    const std::uintptr_t handle = endpoint.Handle();
    EXPECT_NE(handle, 0u);
    EXPECT_LE(handle, 0x7FFFFFFFu);
    EXPECT_EQ(endpoint.Path(), runtime_ + "/mizunara/caller-" + std::to_string(handle) + ".sock");
    EXPECT_EQ(CallerWindow::EndpointPath(handle), endpoint.Path());
    EXPECT_EQ(PermissionsOf(runtime_ + "/mizunara"), 0700u);
    EXPECT_TRUE(IsSocketFile(endpoint.Path()));
    EXPECT_TRUE(CallerWindow::IsWindow(handle));

    EXPECT_TRUE(CallerWindow::EnableWindow(handle, false));
    EXPECT_TRUE(CallerWindow::SetForegroundWindow(handle));
    EXPECT_TRUE(CallerWindow::BringWindowToTop(handle));
    EXPECT_TRUE(CallerWindow::EnableWindow(handle, true));
    EXPECT_TRUE(CallerWindow::PostMessageA(handle, 0x8001, -3, 2));
    EXPECT_TRUE(CallerWindow::PostMessageA(handle, 0xFFFFFFFF, std::numeric_limits<std::int64_t>::min(),
                                           std::numeric_limits<std::int64_t>::max()));

    std::vector<CallerEvent> events;
    for (int i = 0; i < 6; ++i) {
        auto event = endpoint.Receive(5000);
        ASSERT_TRUE(event.has_value()) << "event " << i;
        events.push_back(*event);
    }
    EXPECT_EQ(events[0].Kind(), CallerEventKind::Disable);
    EXPECT_EQ(events[1].Kind(), CallerEventKind::Foreground);
    EXPECT_EQ(events[2].Kind(), CallerEventKind::Top);
    EXPECT_EQ(events[3].Kind(), CallerEventKind::Enable);
    EXPECT_EQ(events[4].Kind(), CallerEventKind::Post);
    EXPECT_EQ(events[4].message, 0x8001u);
    EXPECT_EQ(events[4].wParam, -3);
    EXPECT_EQ(events[4].lParam, 2);
    EXPECT_EQ(events[4].Describe(), "post message=32769 wParam=-3 lParam=2");
    EXPECT_EQ(events[5].message, 0xFFFFFFFFu);
    EXPECT_EQ(events[5].wParam, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(events[5].lParam, std::numeric_limits<std::int64_t>::max());
    EXPECT_FALSE(endpoint.Receive(0).has_value());
}

TEST_F(CallerWindowTest, ReceiveWaitsForAnEventSentLater) {
    CallerEndpoint endpoint;
    ASSERT_TRUE(endpoint.BindFresh()) << endpoint.LastError();
    EXPECT_FALSE(endpoint.Receive(30).has_value());
    std::thread linkProgram([handle = endpoint.Handle()] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        CallerWindow::PostMessageA(handle, 7, 8, 1);
    });
    const auto event = endpoint.Receive(-1);
    linkProgram.join();
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->Describe(), "post message=7 wParam=8 lParam=1");
}

TEST_F(CallerWindowTest, HandleNobodyBindsIsNoWindowAndFailsQuietly) {
    testing::internal::CaptureStderr();
    // Before any caller has made the endpoint folder, and after.
    for (int round = 0; round < 2; ++round) {
        for (const std::uintptr_t handle : {std::uintptr_t{0}, std::uintptr_t{12345}}) {
            EXPECT_FALSE(CallerWindow::IsWindow(handle));
            EXPECT_FALSE(CallerWindow::EnableWindow(handle, false));
            EXPECT_FALSE(CallerWindow::EnableWindow(handle, true));
            EXPECT_FALSE(CallerWindow::SetForegroundWindow(handle));
            EXPECT_FALSE(CallerWindow::BringWindowToTop(handle));
            EXPECT_FALSE(CallerWindow::PostMessageA(handle, 0x8001, 2, 0));
        }
        CallerEndpoint other;
        ASSERT_TRUE(other.Bind(54321)) << other.LastError();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    CallerEndpoint zero;
    EXPECT_FALSE(zero.Bind(0));
    EXPECT_FALSE(zero.IsBound());
}

TEST_F(CallerWindowTest, UnbindingRemovesTheSocketFile) {
    std::string path;
    {
        CallerEndpoint endpoint;
        ASSERT_TRUE(endpoint.Bind(600)) << endpoint.LastError();
        path = endpoint.Path();
        EXPECT_TRUE(IsSocketFile(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(CallerWindow::IsWindow(600));
    EXPECT_FALSE(CallerWindow::PostMessageA(600, 1, 2, 0));

    CallerEndpoint endpoint;
    ASSERT_TRUE(endpoint.Bind(601)) << endpoint.LastError();
    endpoint.Unbind();
    EXPECT_FALSE(endpoint.IsBound());
    EXPECT_FALSE(endpoint.Receive(0).has_value());
    EXPECT_FALSE(std::filesystem::exists(CallerWindow::EndpointPath(601)));
}

TEST_F(CallerWindowTest, StaleSocketIsReplacedButOtherFilesAreKept) {
    MakeFolder(runtime_ + "/mizunara");
    const std::string stale = CallerWindow::EndpointPath(4242);
    LeaveStaleSocket(stale);
    EXPECT_FALSE(CallerWindow::IsWindow(4242));
    EXPECT_FALSE(CallerWindow::PostMessageA(4242, 1, 2, 0));

    CallerEndpoint endpoint;
    ASSERT_TRUE(endpoint.Bind(4242)) << endpoint.LastError();
    EXPECT_TRUE(CallerWindow::PostMessageA(4242, 1, 2, 1));
    const auto event = endpoint.Receive(5000);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->lParam, 1);

    const std::string notASocket = CallerWindow::EndpointPath(4343);
    std::ofstream(notASocket) << "keep me";
    CallerEndpoint refused;
    EXPECT_FALSE(refused.Bind(4343));
    EXPECT_NE(refused.LastError().find("not a socket"), std::string::npos) << refused.LastError();
    EXPECT_TRUE(std::filesystem::is_regular_file(notASocket));
}

TEST_F(CallerWindowTest, LiveHandleIsNotTakenOver) {
    CallerEndpoint first;
    ASSERT_TRUE(first.Bind(777)) << first.LastError();
    CallerEndpoint second;
    EXPECT_FALSE(second.Bind(777));
    EXPECT_NE(second.LastError().find("held by another caller"), std::string::npos) << second.LastError();

    EXPECT_TRUE(CallerWindow::PostMessageA(777, 5, 6, 2));
    const auto event = first.Receive(5000);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->lParam, 2);

    ASSERT_TRUE(second.BindFresh()) << second.LastError();
    CallerEndpoint third;
    ASSERT_TRUE(third.BindFresh()) << third.LastError();
    EXPECT_NE(second.Handle(), 777u);
    EXPECT_NE(second.Handle(), third.Handle());
    EXPECT_TRUE(std::filesystem::exists(first.Path()));
}

TEST_F(CallerWindowTest, FreshHandleStepsOverLiveOnesAndReusesStaleOnes) {
    // Fresh handles of one process follow each other: pid << 8 | counter.
    const auto following = [](std::uintptr_t handle) {
        return (handle & ~std::uintptr_t{0xFF}) | ((handle + 1) & 0xFF);
    };
    CallerEndpoint probe;
    ASSERT_TRUE(probe.BindFresh()) << probe.LastError();
    const std::uintptr_t held = following(probe.Handle());
    const std::uintptr_t stale = following(held);
    probe.Unbind();

    CallerEndpoint holder;
    ASSERT_TRUE(holder.Bind(held)) << holder.LastError();
    LeaveStaleSocket(CallerWindow::EndpointPath(stale));
    CallerEndpoint fresh;
    ASSERT_TRUE(fresh.BindFresh()) << fresh.LastError();
    EXPECT_EQ(fresh.Handle(), stale);
    EXPECT_TRUE(CallerWindow::IsWindow(held));
    EXPECT_TRUE(CallerWindow::IsWindow(stale));
}

TEST_F(CallerWindowTest, DatagramsThatAreNotEventsAreDropped) {
    CallerEndpoint endpoint;
    ASSERT_TRUE(endpoint.BindFresh()) << endpoint.LastError();
    const CallerEvent valid = CallerEvent::Make(CallerEventKind::Post, 0x8001, 2, 1);

    unsigned char longer[sizeof(CallerEvent) + 8] = {};
    std::memcpy(longer, &valid, sizeof valid);
    CallerEvent wrongMagic = valid;
    wrongMagic.magic = 0x12345678;
    CallerEvent noKind = valid;
    noKind.kind = 0;
    CallerEvent unknownKind = valid;
    unknownKind.kind = 6;

    ASSERT_TRUE(SendRaw(endpoint.Path(), &valid, sizeof valid - 1));
    ASSERT_TRUE(SendRaw(endpoint.Path(), longer, sizeof longer));
    ASSERT_TRUE(SendRaw(endpoint.Path(), longer, 0));
    ASSERT_TRUE(SendRaw(endpoint.Path(), &wrongMagic, sizeof wrongMagic));
    ASSERT_TRUE(SendRaw(endpoint.Path(), &noKind, sizeof noKind));
    ASSERT_TRUE(SendRaw(endpoint.Path(), &unknownKind, sizeof unknownKind));
    ASSERT_TRUE(SendRaw(endpoint.Path(), &valid, sizeof valid));

    EXPECT_EQ(ReceiveAll(endpoint), std::vector<std::string>{"post message=32769 wParam=2 lParam=1"});
}

TEST_F(CallerWindowTest, FullQueueFailsTheSendInsteadOfBlocking) {
    CallerEndpoint endpoint;
    ASSERT_TRUE(endpoint.BindFresh()) << endpoint.LastError();
    std::int64_t delivered = 0;
    while (delivered < 100000 && CallerWindow::PostMessageA(endpoint.Handle(), 1, 0, delivered)) ++delivered;
    ASSERT_GT(delivered, 0);
    ASSERT_LT(delivered, 100000) << "the queue never filled";

    // What was accepted arrives whole and in order; then the window takes
    // messages again.
    for (std::int64_t expected = 0; expected < delivered; ++expected) {
        const auto event = endpoint.Receive(0);
        ASSERT_TRUE(event.has_value()) << expected;
        ASSERT_EQ(event->lParam, expected);
    }
    EXPECT_FALSE(endpoint.Receive(0).has_value());
    EXPECT_TRUE(CallerWindow::PostMessageA(endpoint.Handle(), 1, 0, 0));
}

TEST(CallerEndpointFolderTest, UnusableRuntimeFolderFallsBackToMznRoot) {
    TempRoot root;
    const std::string file = root / "plain-file";
    std::ofstream(file) << "x";
    const std::optional<std::string> unusable[] = {std::nullopt, std::string(), std::string("relative/xdg"),
                                                   root / "missing", file};
    for (const auto& value : unusable) {
        ScopedEnv xdg("XDG_RUNTIME_DIR", value);
        EXPECT_EQ(CallerWindow::EndpointFolder(), root / "run") << value.value_or("(unset)");
    }

    ScopedEnv xdg("XDG_RUNTIME_DIR", std::nullopt);
    CallerEndpoint endpoint;
    ASSERT_TRUE(endpoint.Bind(31)) << endpoint.LastError();
    EXPECT_EQ(endpoint.Path(), root / "run/caller-31.sock");
    EXPECT_EQ(PermissionsOf(root / "run"), 0700u);
    EXPECT_TRUE(CallerWindow::PostMessageA(31, 2, 3, 0));
    EXPECT_EQ(ReceiveAll(endpoint), std::vector<std::string>{"post message=2 wParam=3 lParam=0"});
}

}  // namespace
