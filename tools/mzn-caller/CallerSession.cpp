#include "tools/mzn-caller/CallerSession.h"

#include "platform/MessageCatalogue.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// How often the session looks whether the program has ended while no
// datagram arrives, and how long a program stopped with SIGTERM gets before
// SIGKILL.
constexpr int kPollMs = 20;
constexpr auto kKillGrace = std::chrono::seconds(3);

// The longest text a link program takes: a caller's command line holds at
// most 259 characters, and a longer one is refused rather than cut.
constexpr std::size_t kCommandLineLimit = 259;

}  // namespace

CallerSession::CallerSession(const CallerOptions& options) : options_(options) {}

void CallerSession::Say(const std::string& message) {
    std::cerr << MessageCatalogue::Current().Text("mzn-caller: " + message) << "\n";
}

int CallerSession::Run() {
    if (!OpenLog()) return kSetupFailed;
    const bool bound = options_.handle != 0 ? endpoint_.Bind(options_.handle) : endpoint_.BindFresh();
    if (!bound) {
        Say(endpoint_.LastError());
        return kSetupFailed;
    }
    const std::string callerText = options_.CallerText(endpoint_.Handle());
    if (callerText.size() > kCommandLineLimit)
        Say("note: the caller text is " + std::to_string(callerText.size()) +
            " characters; the link program reads at most " + std::to_string(kCommandLineLimit));

    started_ = std::chrono::steady_clock::now();
    Record("start handle=" + std::to_string(endpoint_.Handle()) + " text=" + callerText);
    if (!Start(callerText)) return kNotStarted;
    Watch();
    Drain();
    RecordExit();
    const int status = ExitStatus();
    if (status == kNothingPosted) Say("the program posted no message");
    return status;
}

bool CallerSession::OpenLog() {
    if (options_.logPath.empty()) return true;
    log_.open(options_.logPath, std::ios::out | std::ios::trunc);
    if (log_) return true;
    Say("cannot write the log " + options_.logPath + ": " + std::strerror(errno));
    return false;
}

bool CallerSession::Start(const std::string& callerText) {
    std::vector<std::string> words = options_.program;
    words.push_back(callerText);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // Like a shell running a command, the caller outlives a Ctrl-C meant for
    // the program, so that it can still record how the program ended; the
    // program itself gets the default handling back.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGQUIT, SIG_IGN);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGQUIT);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    // What the program writes must not be mixed into a record line that is
    // still in our buffer.
    std::cout.flush();
    const int error = posix_spawnp(&child_, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        child_ = -1;
        Say("cannot start " + options_.program.front() + ": " + std::strerror(error));
        return false;
    }
    return true;
}

void CallerSession::Watch() {
    for (;;) {
        if (auto event = endpoint_.Receive(kPollMs)) {
            RecordEvent(*event);
            continue;
        }
        pid_t ended;
        do {
            ended = waitpid(child_, &waitStatus_, WNOHANG);
        } while (ended < 0 && errno == EINTR);
        if (ended == child_) {
            exitKnown_ = true;
            return;
        }
        if (ended < 0) return;
        StopOnTimeout();
    }
}

void CallerSession::Drain() {
    // Whatever the program sent before it ended is already queued.
    while (auto event = endpoint_.Receive(0)) RecordEvent(*event);
}

void CallerSession::StopOnTimeout() {
    if (options_.timeoutSeconds <= 0) return;
    const auto elapsed = std::chrono::steady_clock::now() - started_;
    const auto limit = std::chrono::seconds(options_.timeoutSeconds);
    if (!terminateSent_ && elapsed >= limit) {
        Record("timeout after " + std::to_string(options_.timeoutSeconds) + " s, stopping the program");
        kill(child_, SIGTERM);
        terminateSent_ = true;
        timedOut_ = true;
    } else if (terminateSent_ && !killSent_ && elapsed >= limit + kKillGrace) {
        Record("the program is still running, killing it");
        kill(child_, SIGKILL);
        killSent_ = true;
    }
}

void CallerSession::RecordEvent(const CallerEvent& event) {
    if (event.Kind() == CallerEventKind::Post) lastResult_ = event.lParam;
    Record(event.Describe());
}

void CallerSession::RecordExit() {
    if (!exitKnown_) {
        Record("exit unknown");
    } else if (WIFEXITED(waitStatus_)) {
        Record("exit status=" + std::to_string(WEXITSTATUS(waitStatus_)));
    } else if (WIFSIGNALED(waitStatus_)) {
        const int number = WTERMSIG(waitStatus_);
        const char* name = strsignal(number);
        Record("exit signal=" + std::to_string(number) +
               (name != nullptr ? std::string(" (") + name + ")" : ""));
    }
}

void CallerSession::Record(const std::string& what) {
    char time[32];
    std::snprintf(time, sizeof time, "%6lld ms  ", ElapsedMs());
    const std::string line = time + what + "\n";
    std::cout << line << std::flush;
    if (log_.is_open()) log_ << line << std::flush;
}

int CallerSession::ExitStatus() const {
    if (timedOut_) return kTimedOut;
    if (!lastResult_) return kNothingPosted;
    if (*lastResult_ < 0 || *lastResult_ > 99) return kResultOutOfRange;
    return static_cast<int>(*lastResult_);
}

long long CallerSession::ElapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_)
        .count();
}
