// The peak memory of a batch run at three book sizes: the demo books and
// demo books of 10,000 and of 40,000 accounts, each made afresh under a
// temporary MZN_ROOT. Every run is the link program started by mzn-caller
// as the tax-form application would start it (--batch --yes); the peak
// resident set of the run (mzn-caller and the program it waited for) comes
// from the rusage of the finished child, its wall time from the clock. The
// program ends with the growth from the demo books to the largest books.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/TempRoot.h"

namespace {

// Runs a program to its end with its output thrown away: true when it ends
// with exit code 0. usage: its resources, those of the children it waited
// for included (the peak resident set is the largest of them).
bool Run(const std::vector<std::string>& words, rusage& usage) {
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);  // the child must not print the parent's buffered lines again
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr || std::freopen("/dev/null", "w", stderr) == nullptr)
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    return wait4(child, &status, 0, &usage) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Measure {
    double peakMb = 0;
    double milliseconds = 0;
};

// Fresh demo books of the size under a temporary MZN_ROOT, then the run.
bool MeasureOneSize(const char* accounts, Measure& measure) {
    TempRoot root;
    std::vector<std::string> demo = {MZN_BOOKS_EXE, "demo"};
    if (*accounts != '\0') demo.insert(demo.end(), {"--accounts", accounts});
    rusage usage{};
    if (!Run(demo, usage)) return false;
    // The drive table maps Z: to the host's root folder.
    std::string report = "Z:" + root.Path() + "/report.xml";
    std::ranges::replace(report, '/', '\\');
    const auto start = std::chrono::steady_clock::now();
    const bool ran = Run({MZN_CALLER_EXE, "--output", report, "--", MZN_PROGRAM_EXE, "--batch", "--yes"}, usage);
    measure.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    measure.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return ran;
}

}  // namespace

int main() {
    const std::pair<const char*, const char*> sizes[] = {{"demo books", ""}, {"10,000 accounts", "10000"},
                                                         {"40,000 accounts", "40000"}};
    std::vector<double> peaks;
    for (const auto& [name, accounts] : sizes) {
        Measure measure;
        if (!MeasureOneSize(accounts, measure)) {
            std::printf("%-16s : the books or the batch run failed\n", name);
            return 1;
        }
        std::printf("%-16s : peak %6.1f MB, batch run %7.1f ms\n", name, measure.peakMb, measure.milliseconds);
        peaks.push_back(measure.peakMb);
    }
    std::printf("memory : grows %.1f MB from the demo books to 40,000 accounts\n", peaks.back() - peaks.front());
    return 0;
}
