// mzn-caller's own exit statuses, with programs that post nothing (true, false, sleep) or cannot start. What it
// records from a real link program is proven end to end.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/CallerEndpoint.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace {

TEST(MznCallerTest, ExitStatuses) {
    TempRoot root;
    // Endpoints under the temporary MZN_ROOT rather than the session's runtime folder.
    const std::string saved = std::getenv("XDG_RUNTIME_DIR") != nullptr ? std::getenv("XDG_RUNTIME_DIR") : "";
    unsetenv("XDG_RUNTIME_DIR");
    CallerEndpoint holder;
    ASSERT_TRUE(holder.Bind(999)) << holder.LastError();
    const std::string t = "/bin/true";
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* out;  // a part of what it says there
        const char* err;
    };
    const Case cases[] = {
        {{"--", t}, 100, "exit status=0", "the program posted no message"},
        {{"/bin/false"}, 100, "exit status=1", "posted no message"},
        {{"--message", "0xFFFFFFFF", "--function", "-2147483648", "--handle", "2147483647", "--timeout", "86400", t},
         100, "start handle=2147483647 text=2147483647,4294967295,-2147483648,\n", ""},
        {{"--output", "Z:\\a,b.xml", "--handle", "4321", "--log", root / "log", t}, 100,
         "start handle=4321 text=4321,32769,2,Z:\\a,b.xml\n", ""},
        {{"--timeout", "30", "/bin/sh", "-c", "sleep 0.2"}, 100, "exit status=0", ""},  // ended before its time
        {{root / "no-such-program"}, 101, "", "cannot start"},
        {{"--timeout", "1", "/bin/sh", "-c", "exec sleep 30"}, 102, "timeout after 1 s", ""},
        {{}, 104, "", "no program to start"}, {{"--log", root / "log"}, 104, "", "no program to start"},
        {{"--frobnicate", t}, 104, "", "unknown option"}, {{"--help=x", t}, 104, "", "--help"},
        {{"--message", "abc", t}, 104, "", "--message takes"},
        {{"--message", "0x100000000", t}, 104, "", "--message takes"},
        {{"--function", " 2", t}, 104, "", "--function takes"},
        {{"--function", "2147483648", t}, 104, "", "--function takes"},
        {{"--handle", "0", t}, 104, "", "--handle takes"}, {{"--handle", "2147483648", t}, 104, "", "--handle takes"},
        {{"--timeout", "86401", t}, 104, "", "--timeout takes"}, {{"--timeout", "-1", t}, 104, "", "--timeout takes"},
        {{"--timeout", "0x10", t}, 104, "", "--timeout takes"},
        {{"--function", "0x10", t}, 104, "", "--function takes"}, {{"--handle", "0x10", t}, 104, "", "--handle takes"},
        {{"--timeout"}, 104, "", "mzn-caller --help"}, {{"--log", "", t}, 104, "", "--log needs a file name"},
        {{"--log", root / "no-such-folder/log", t}, 105, "", "cannot write the log"},
        {{"--handle", "999", t}, 105, "", "held by another caller"}, {{"--help"}, 0, "Usage: mzn-caller", ""},
        {{"-h"}, 0, "Usage: mzn-caller", ""}, {{"--version"}, 0, "mzn-caller ", ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words{MZN_CALLER_EXE};
        words.insert(words.end(), c.arguments.begin(), c.arguments.end());
        const ChildProcess::Result result = ChildProcess::Run(words, root / "io");
        SCOPED_TRACE(testing::PrintToString(c.arguments) + "\n" + result.out + result.err);
        EXPECT_EQ(result.exitCode, c.status);
        EXPECT_NE(result.out.find(c.out), std::string::npos);
        EXPECT_NE(result.err.find(c.err), std::string::npos);
    }
    EXPECT_NE(testfiles::ReadFile(root / "log").find("exit status=0"), std::string::npos) << "--log keeps the record";
    EXPECT_FALSE(holder.Receive(0).has_value()) << "a refused caller sends nothing";
    if (!saved.empty()) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
