#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

#include "tests/support/TestFiles.h"

extern char** environ;

ChildProcess::Result ChildProcess::Run(const std::vector<std::string>& words, const std::string& ioFolder) {
    Result result;
    if (words.empty()) return result;
    std::filesystem::create_directories(ioFolder);
    const std::string outPath = ioFolder + "/stdout";
    const std::string errPath = ioFolder + "/stderr";
    std::vector<std::string> copies(words);
    std::vector<char*> argv;
    for (std::string& word : copies) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.err = "cannot start " + words[0];
        return result;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid) {
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) result.exitCode = -WTERMSIG(status);
    }
    result.out = testfiles::ReadFile(outPath);
    result.err = testfiles::ReadFile(errPath);
    return result;
}
