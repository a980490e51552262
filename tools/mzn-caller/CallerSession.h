#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

#include <sys/types.h>

#include "platform/CallerEndpoint.h"
#include "tools/mzn-caller/CallerOptions.h"

// One run of mzn-caller: bind a window handle, start the link program with
// the caller text, record what it does to the window until it has ended and
// every datagram has been read, and turn the last posted lParam into the
// exit status.
class CallerSession {
public:
    static constexpr int kNothingPosted = 100;
    static constexpr int kNotStarted = 101;
    static constexpr int kTimedOut = 102;
    static constexpr int kResultOutOfRange = 103;
    static constexpr int kUsage = 104;
    static constexpr int kSetupFailed = 105;

    explicit CallerSession(const CallerOptions& options);

    int Run();

private:
    // A message on standard error, in the catalogue's language.
    static void Say(const std::string& message);
    bool OpenLog();
    bool Start(const std::string& callerText);
    void Watch();
    void Drain();
    void StopOnTimeout();
    void RecordEvent(const CallerEvent& event);
    void RecordExit();
    void Record(const std::string& what);
    int ExitStatus() const;
    long long ElapsedMs() const;

    const CallerOptions& options_;
    CallerEndpoint endpoint_;
    std::ofstream log_;
    std::chrono::steady_clock::time_point started_;
    pid_t child_ = -1;
    int waitStatus_ = 0;
    bool exitKnown_ = false;
    bool timedOut_ = false;
    bool terminateSent_ = false;
    bool killSent_ = false;
    std::optional<std::int64_t> lastResult_;
};
