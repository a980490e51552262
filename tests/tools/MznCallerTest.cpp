// Runs the real mzn-caller with a stand-in link program (FakeLinkProgram.cpp)
// and checks what it records, what it hands the program and how it exits.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "platform/CallerEndpoint.h"
#include "platform/TextCodec.h"
#include "tests/support/TempRoot.h"

extern char** environ;

namespace {

const std::string kCaller = MZN_CALLER_EXE;
const std::string kFake = FAKE_LINK_EXE;

struct Outcome {
    int exitCode = -1;  // -signal when killed
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The record without its times: "    12 ms  disable" gives "disable".
std::vector<std::string> RecordedEvents(const std::string& record) {
    static const std::regex timed(R"(^ *[0-9]+ ms  (.*)$)");
    std::vector<std::string> events;
    for (const std::string& line : Lines(record)) {
        std::smatch match;
        if (std::regex_match(line, match, timed))
            events.push_back(match[1]);
        else
            events.push_back("UNTIMED: " + line);
    }
    return events;
}

// The "arg=" lines of the fake program's file: every argument it was given.
std::vector<std::string> ArgsOf(const std::string& argsFile) {
    std::vector<std::string> args;
    for (const std::string& line : Lines(ReadFile(argsFile)))
        if (line.rfind("arg=", 0) == 0) args.push_back(line.substr(4));
    return args;
}

// A field the fake program read from the caller's text: "handle", "message", "function", "path".
std::string FieldOf(const std::string& argsFile, const std::string& key) {
    for (const std::string& line : Lines(ReadFile(argsFile)))
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return "(missing)";
}

class MznCallerTest : public ::testing::Test {
protected:
    MznCallerTest() {
        std::filesystem::create_directories(runtime_);
        chmod(runtime_.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        unsetenv("MZN_FAKE_RESULT");
    }
    ~MznCallerTest() override {
        if (previousRuntime_)
            setenv("XDG_RUNTIME_DIR", previousRuntime_->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    // Runs mzn-caller with arguments; its output goes to files of the
    // temporary root.
    Outcome RunCaller(const std::vector<std::string>& arguments) {
        std::vector<std::string> words{kCaller};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);

        const std::string outPath = root_ / "caller.out";
        const std::string errPath = root_ / "caller.err";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = -1;
        const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        if (error != 0) return outcome;
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        outcome.out = ReadFile(outPath);
        outcome.err = ReadFile(errPath);
        return outcome;
    }

    // The handle from the record's first line, "start handle=N text=...".
    static std::string HandleOf(const std::vector<std::string>& events) {
        static const std::regex start(R"(^start handle=([0-9]+) text=.*$)");
        std::smatch match;
        if (events.empty() || !std::regex_match(events.front(), match, start)) return "(none)";
        return match[1];
    }

    std::vector<std::string> SocketsLeft() const {
        std::vector<std::string> left;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(runtime_ + "/mizunara", ignored))
            left.push_back(entry.path().filename().string());
        return left;
    }

    TempRoot root_;
    std::string runtime_ = root_ / "xdg";
    std::string log_ = root_ / "record.log";
    std::string argsFile_ = root_ / "args.txt";

private:
    std::optional<std::string> previousRuntime_ =
        std::getenv("XDG_RUNTIME_DIR") ? std::optional<std::string>(std::getenv("XDG_RUNTIME_DIR"))
                                       : std::nullopt;
};

TEST_F(MznCallerTest, RecordsTheShutDownSequenceAndExitsWithThePostedResult) {
    for (const int result : {0, 1, 2}) {
        SCOPED_TRACE("result " + std::to_string(result));
        const Outcome outcome = RunCaller({"--log", log_, "--", kFake, "--result", std::to_string(result)});
        EXPECT_EQ(outcome.exitCode, result) << outcome.err;

        const std::vector<std::string> events = RecordedEvents(ReadFile(log_));
        const std::string handle = HandleOf(events);
        const std::string lParam = std::to_string(result);
        EXPECT_EQ(events, (std::vector<std::string>{
                              "start handle=" + handle + " text=" + handle + ",32769,2,",
                              "disable",
                              "foreground",
                              "enable",
                              "post message=32769 wParam=2 lParam=" + lParam,
                              "enable",
                              "exit status=" + lParam,
                          }));
        EXPECT_EQ(RecordedEvents(outcome.out), events);
        EXPECT_TRUE(SocketsLeft().empty());
    }

    // The stand-in may also take its result from the environment, which the
    // caller passes on.
    setenv("MZN_FAKE_RESULT", "1", 1);
    const Outcome fromEnvironment = RunCaller({kFake});
    EXPECT_EQ(fromEnvironment.exitCode, 1) << fromEnvironment.err;
    EXPECT_NE(fromEnvironment.out.find("post message=32769 wParam=2 lParam=1"), std::string::npos);
}

TEST_F(MznCallerTest, ProgramThatPostsNothingGetsItsOwnCode) {
    const Outcome quiet = RunCaller({"--log", log_, kFake, "--no-post", "--exit", "1"});
    EXPECT_EQ(quiet.exitCode, 100);
    const std::vector<std::string> events = RecordedEvents(ReadFile(log_));
    ASSERT_EQ(events.size(), 3u) << quiet.out;
    EXPECT_EQ(events[1], "disable");
    EXPECT_EQ(events[2], "exit status=1");
    EXPECT_NE(quiet.err.find("posted no message"), std::string::npos) << quiet.err;

    const Outcome crashed = RunCaller({"--log", log_, kFake, "--crash"});
    EXPECT_EQ(crashed.exitCode, 100);
    const std::vector<std::string> crashEvents = RecordedEvents(ReadFile(log_));
    ASSERT_EQ(crashEvents.size(), 3u) << crashed.out;
    EXPECT_EQ(crashEvents[1], "disable");
    EXPECT_EQ(crashEvents[2].rfind("exit signal=6", 0), 0u) << crashEvents[2];
    EXPECT_TRUE(SocketsLeft().empty());
}

TEST_F(MznCallerTest, ResultOutsideTheExitRangeIsReportedAsSuch) {
    const Outcome outcome = RunCaller({kFake, "--result", "300"});
    EXPECT_EQ(outcome.exitCode, 103);
    EXPECT_NE(outcome.out.find("post message=32769 wParam=2 lParam=300"), std::string::npos) << outcome.out;
}

TEST_F(MznCallerTest, ProgramThatCannotStart) {
    const Outcome outcome = RunCaller({root_ / "no-such-program"});
    EXPECT_EQ(outcome.exitCode, 101);
    EXPECT_NE(outcome.err.find("cannot start"), std::string::npos) << outcome.err;
    EXPECT_TRUE(SocketsLeft().empty());
}

TEST_F(MznCallerTest, OutputPathWithCommasArrivesWhole) {
    // Typed in UTF-8 and passed on in code page 932, where "表" is 0x95 0x5C:
    // its second byte is a backslash.
    const std::string output = "Z:\\tmp\\表,a,,b.xml";
    const Outcome outcome = RunCaller({"--message", "0x400", "--function", "7", "--output",
                                       TextCodec::Cp932ToUtf8(output).text, "--log",
                                       log_, kFake, "--args-file", argsFile_});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;

    const std::string handle = HandleOf(RecordedEvents(ReadFile(log_)));
    const std::vector<std::string> args = ArgsOf(argsFile_);
    ASSERT_FALSE(args.empty());
    EXPECT_EQ(args.back(), handle + ",1024,7," + output);
    EXPECT_EQ(FieldOf(argsFile_, "path"), output);
    EXPECT_EQ(FieldOf(argsFile_, "message"), "1024");
    EXPECT_EQ(FieldOf(argsFile_, "function"), "7");
    EXPECT_NE(ReadFile(log_).find("post message=1024 wParam=7 lParam=0"), std::string::npos);
}

TEST_F(MznCallerTest, ProgramOptionsComeBeforeTheCallerTextWhichEndsAtTheThirdComma) {
    // Words after PROGRAM belong to it, even where mzn-caller would reject
    // them ("--exit", "--sleep-ms").
    const Outcome outcome = RunCaller({"--handle", "4321", kFake, "--args-file", argsFile_, "--sleep-ms",
                                       "20", "--result", "2", "--exit", "0"});
    EXPECT_EQ(outcome.exitCode, 2) << outcome.err;
    EXPECT_EQ(ArgsOf(argsFile_), (std::vector<std::string>{"--args-file", argsFile_, "--sleep-ms", "20",
                                                           "--result", "2", "--exit", "0", "4321,32769,2,"}));
    EXPECT_EQ(FieldOf(argsFile_, "linked"), "1");
    EXPECT_EQ(FieldOf(argsFile_, "handle"), "4321");
    EXPECT_EQ(FieldOf(argsFile_, "path"), "");
    EXPECT_NE(outcome.out.find("start handle=4321 text=4321,32769,2,\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("exit status=0"), std::string::npos) << outcome.out;
}

TEST_F(MznCallerTest, HandleHeldByAnotherCallerIsRefused) {
    CallerEndpoint holder;
    ASSERT_TRUE(holder.Bind(999)) << holder.LastError();
    const Outcome outcome = RunCaller({"--handle", "999", kFake});
    EXPECT_EQ(outcome.exitCode, 105);
    EXPECT_NE(outcome.err.find("held by another caller"), std::string::npos) << outcome.err;
    EXPECT_FALSE(holder.Receive(0).has_value());
}

TEST_F(MznCallerTest, TimeoutStopsTheProgram) {
    const Outcome outcome = RunCaller({"--timeout", "1", "--log", log_, kFake, "--sleep-ms", "60000"});
    EXPECT_EQ(outcome.exitCode, 102);
    const std::vector<std::string> events = RecordedEvents(ReadFile(log_));
    ASSERT_EQ(events.size(), 4u) << outcome.out;
    EXPECT_EQ(events[1], "disable");
    EXPECT_EQ(events[2].rfind("timeout", 0), 0u) << events[2];
    EXPECT_EQ(events[3].rfind("exit signal=15", 0), 0u) << events[3];
}

TEST_F(MznCallerTest, HelpVersionAndCommandLineErrors) {
    const Outcome help = RunCaller({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: mzn-caller", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");

    const Outcome version = RunCaller({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("mzn-caller [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {},
             {"--frobnicate", kFake},
             {"--message", "abc", kFake},
             {"--message", "0x100000000", kFake},
             {"--function", " 2", kFake},
             {"--handle", "0", kFake},
             {"--timeout"},
             {"--log", log_},
         }) {
        const Outcome outcome = RunCaller(wrong);
        EXPECT_EQ(outcome.exitCode, 104) << (wrong.empty() ? "(no arguments)" : wrong.front());
        EXPECT_NE(outcome.err.find("--help"), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

}  // namespace
