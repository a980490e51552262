#include "settings/AtomicFileWriter.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>

#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

TEST(AtomicFileWriter, TheFileIsTheOldOneOrTheNewOneWholeAndOnlyDeadWritersLeftoversGo) {
    TempRoot root;
    const std::string file = root / "c.env";
    ASSERT_TRUE(AtomicFileWriter::Write(file, "old"));
    fs::permissions(file, fs::perms(0600));
    ASSERT_TRUE(AtomicFileWriter::Write(file, "new"));
    EXPECT_EQ(testfiles::ReadFile(file), "new");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0600)) << "a replaced file keeps its mode";
    // A writer limited to 4 bytes fails midway (EFBIG), and so does one whose file would take a folder's place.
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4, 4};
        const bool failed = setrlimit(RLIMIT_FSIZE, &limit) == 0 && !AtomicFileWriter::Write(file, "longer");
        _exit(failed && errno == EFBIG ? 0 : 1);
    }
    int status = 1;
    EXPECT_TRUE(waitpid(child, &status, 0) == child && status == 0);
    fs::create_directory(root / "taken");
    EXPECT_FALSE(AtomicFileWriter::Write(root / "taken", "x"));
    EXPECT_EQ(testfiles::ReadFile(file), "new");
    // Only dead writers' leftovers go: no process number is above 4194304, and this test and its parent live.
    const std::set<std::string> kept = {"c.env", "taken", "c.env.new-" + std::to_string(getppid()) + "-3",
        "c.env.new-" + std::to_string(getpid()) + "-9", "c.env.new-1000000000-0", ".new-4194305-1", "x.new-4194305-",
        "x.new--1", "x.new-41943a5-1", "x.new-4194305-1b", "x.new-4194305"};
    for (const std::string& name : kept) testfiles::WriteFile(root / name, "x");
    for (const char* dead : {"c.env.new-999999999-0", "o.xml.new-4194305-12"}) testfiles::WriteFile(root / dead, "");
    ASSERT_TRUE(AtomicFileWriter::Write(file, "newest"));
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(root.Path())) names.insert(entry.path().filename());
    EXPECT_EQ(names, kept);
}
