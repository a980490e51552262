// The whole batch run of the link program, in-process, on the demo books and
// on demo books whose main data set has 10,000 accounts, and the share of a
// run that its progress display takes.
//
// Each run is what `--batch` does: the batch front end initialises and
// executes the condition sheet, the application object aggregates and writes
// the report to the caller's path, the box that says so goes to standard
// error (here a file, so that the figures stay readable). Standard error is
// then no terminal, so the batch mode's own bar draws nothing: BM_BatchRun is
// the run as a log file or a pipe sees it.
//
// The progress display is measured apart from the run: one run records the
// exact calls that reach its progress sink, and they are replayed into the
// console bar (a stream taken for a terminal) and into the real progress
// window (offscreen unless QT_QPA_PLATFORM names another platform). The
// share of the display is its replay time over the run with a progress sink
// that does nothing plus that replay time; the program ends with the shares
// for both books and both displays. The window only counts the calls and
// paints at most every 15 ms and at the end of each range.
//
// The program lies beside the link programs: the run moves to its program's
// folder to read the definition and data files there.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BatchFrontEnd.h"
#include "app/ClLinkApp.h"
#include "app/shell/ConsoleProgress.h"
#include "app/shell/LaunchOptions.h"
#include "app/shell/view/ClProgressDialog.h"
#include "platform/DriveTable.h"
#include "report/ProgressSink.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

enum class BooksSize { Demo, Accounts10000 };

const char* BooksName(BooksSize size) { return size == BooksSize::Demo ? "demo" : "accounts10000"; }

// One call that reached the progress sink during a run.
struct ProgressCall {
    enum class Kind { Advance, Pulse, Pulses };
    Kind kind = Kind::Pulse;
    std::int64_t first = 0;   // Advance: from; Pulses: the count
    std::int64_t second = 0;  // Advance: to
};

// What a run tells its progress display, call by call.
struct ProgressCallCounts {
    std::int64_t advanceCalls = 0;
    std::int64_t advanceSteps = 0;  // the values the AdvanceProgress ranges cover
    std::int64_t pulseCalls = 0;
    std::int64_t pulsesCalls = 0;
    std::int64_t pulsesTotal = 0;  // the refills the PulseActivities calls stand for

    std::int64_t Calls() const { return advanceCalls + pulseCalls + pulsesCalls; }
};

ProgressCallCounts Count(const std::vector<ProgressCall>& calls) {
    ProgressCallCounts counts;
    for (const ProgressCall& call : calls) {
        switch (call.kind) {
            case ProgressCall::Kind::Advance:
                ++counts.advanceCalls;
                if (call.second >= call.first) counts.advanceSteps += call.second - call.first + 1;
                break;
            case ProgressCall::Kind::Pulse:
                ++counts.pulseCalls;
                break;
            case ProgressCall::Kind::Pulses:
                ++counts.pulsesCalls;
                counts.pulsesTotal += call.first;
                break;
        }
    }
    return counts;
}

// Keeps every call as it came: a run of pulses stays one call, as a window
// that takes runs at once receives it.
class RecordingProgress : public ProgressSink {
public:
    void AdvanceProgress(std::int16_t from, std::int16_t to) override {
        calls.push_back({ProgressCall::Kind::Advance, from, to});
    }
    void PulseActivity() override { calls.push_back({ProgressCall::Kind::Pulse, 0, 0}); }
    void PulseActivities(std::int64_t count) override { calls.push_back({ProgressCall::Kind::Pulses, count, 0}); }

    std::vector<ProgressCall> calls;
};

// The run without any display: what the run costs on its own.
class NoOpProgress : public ProgressSink {
public:
    void AdvanceProgress(std::int16_t, std::int16_t) override {}
    void PulseActivity() override {}
    void PulseActivities(std::int64_t) override {}
};

void Replay(const std::vector<ProgressCall>& calls, ProgressSink& sink) {
    for (const ProgressCall& call : calls) {
        switch (call.kind) {
            case ProgressCall::Kind::Advance:
                sink.AdvanceProgress(static_cast<std::int16_t>(call.first), static_cast<std::int16_t>(call.second));
                break;
            case ProgressCall::Kind::Pulse:
                sink.PulseActivity();
                break;
            case ProgressCall::Kind::Pulses:
                sink.PulseActivities(call.first);
                break;
        }
    }
}

// The batch mode's front end with another progress sink: the condition sheet
// and the boxes stay the batch mode's own.
class SinkFrontEnd : public BatchFrontEnd {
public:
    SinkFrontEnd(const LaunchOptions& options, ProgressSink& sink) : BatchFrontEnd(options), sink_(sink) {}

    ProgressSink& StartProgress() override { return sink_; }
    void EndProgress() override {}

private:
    ProgressSink& sink_;
};

// Standard error goes to a file for the life of the object, as the batch
// mode's boxes would go to a log file; the file is started afresh each time.
class StderrToFile {
public:
    explicit StderrToFile(const std::string& path) {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (file >= 0) {
            ::dup2(file, STDERR_FILENO);
            ::close(file);
        }
    }
    ~StderrToFile() { Restore(); }
    StderrToFile(const StderrToFile&) = delete;
    StderrToFile& operator=(const StderrToFile&) = delete;

    void Restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }

private:
    int saved_ = -1;
};

// Demo books made by the real tool under a temporary MZN_ROOT, the caller's
// text naming a report file there, and the progress calls of one run.
class BenchBooks {
public:
    explicit BenchBooks(BooksSize size) : size_(size) {
        std::vector<std::string> words{MZN_BOOKS_EXE, "demo"};
        if (size == BooksSize::Accounts10000) words.insert(words.end(), {"--accounts", "10000"});
        const ChildProcess::Result made = ChildProcess::Run(words, root_ / "io");
        if (made.exitCode != 0) {
            error_ = "mzn-books demo failed: " + made.err;
            return;
        }
        fs::create_directories(root_ / "out");
        report_ = root_ / "out/report.xml";
        const std::optional<std::string> windowsPath = DriveTable::ToWindowsPath(report_);
        if (!windowsPath) {
            error_ = "no Windows path for " + report_;
            return;
        }
        // Handle 0 is no window: the caller's notices go nowhere.
        options_ = LaunchOptions::Parse({"--batch", "0,0,2," + *windowsPath});
        Record();
    }

    BooksSize Size() const { return size_; }
    // Empty when the books are ready for runs.
    const std::string& Error() const { return error_; }
    const std::vector<ProgressCall>& Calls() const { return calls_; }

    // One whole run, with the batch mode's own progress display or with the
    // given sink; empty when the report was written, or what went wrong.
    std::string Run(ProgressSink* sink) {
        const std::string boxesPath = root_ / "boxes.txt";
        StderrToFile quiet(boxesPath);
        std::unique_ptr<BatchFrontEnd> frontEnd;
        if (sink != nullptr)
            frontEnd = std::make_unique<SinkFrontEnd>(options_, *sink);
        else
            frontEnd = std::make_unique<BatchFrontEnd>(options_);
        ClLinkApp app(*frontEnd, options_.callerText);
        const bool written = app.InitInstance();
        const int resultCode = app.ExitInstance();
        if (written && resultCode == ClLinkApp::kReportWritten) return {};
        quiet.Restore();
        return "the run ended with result code " + std::to_string(resultCode) + ": " +
               testfiles::ReadFile(boxesPath);
    }

private:
    void Record() {
        RecordingProgress recorder;
        error_ = Run(&recorder);
        if (!error_.empty()) return;
        if (!fs::exists(report_) || fs::file_size(report_) == 0) {
            error_ = "the run wrote no report to " + report_;
            return;
        }
        if (recorder.calls.empty()) {
            error_ = "the run made no progress calls";
            return;
        }
        calls_ = std::move(recorder.calls);
    }

    BooksSize size_;
    CurrentFolderGuard folder_;  // the run moves to the program's folder
    TempRoot root_;
    std::string report_;
    LaunchOptions options_;
    std::vector<ProgressCall> calls_;
    std::string error_;
};

// One set of books at a time: each makes its own MZN_ROOT, which must be
// given back before the next is made.
std::unique_ptr<BenchBooks>& CurrentBooks() {
    static std::unique_ptr<BenchBooks> books;
    return books;
}

// The progress calls of each set of books made so far, for the summary.
std::map<BooksSize, ProgressCallCounts>& RecordedCounts() {
    static std::map<BooksSize, ProgressCallCounts> counts;
    return counts;
}

BenchBooks& BooksOf(BooksSize size) {
    std::unique_ptr<BenchBooks>& books = CurrentBooks();
    if (!books || books->Size() != size) {
        books.reset();
        books = std::make_unique<BenchBooks>(size);
        if (books->Error().empty()) RecordedCounts()[size] = Count(books->Calls());
    }
    return *books;
}

// The books of the size, or nullptr with the benchmark skipped.
BenchBooks* ReadyBooks(benchmark::State& state, BooksSize size) {
    BenchBooks& books = BooksOf(size);
    if (books.Error().empty()) return &books;
    state.SkipWithError(books.Error().c_str());
    return nullptr;
}

void SetCallCounters(benchmark::State& state, const BenchBooks& books) {
    const ProgressCallCounts counts = Count(books.Calls());
    state.counters["calls"] = benchmark::Counter(static_cast<double>(counts.Calls()));
    state.counters["steps"] = benchmark::Counter(static_cast<double>(counts.advanceSteps));
    state.counters["pulses"] = benchmark::Counter(static_cast<double>(counts.pulseCalls + counts.pulsesTotal));
}

void RunWith(benchmark::State& state, BooksSize size, ProgressSink* sink) {
    BenchBooks* books = ReadyBooks(state, size);
    if (books == nullptr) return;
    for (auto _ : state) {
        const std::string failure = books->Run(sink);
        if (!failure.empty()) {
            state.SkipWithError(failure.c_str());
            break;
        }
    }
}

void BM_BatchRun(benchmark::State& state, BooksSize size) { RunWith(state, size, nullptr); }

void BM_RunWithNoOpProgress(benchmark::State& state, BooksSize size) {
    NoOpProgress progress;
    RunWith(state, size, &progress);
}

// The batch mode's bar on a terminal: as BatchFrontEnd starts and ends it,
// on an unbuffered stream as standard error is.
void BM_ProgressCallsConsole(benchmark::State& state, BooksSize size) {
    BenchBooks* books = ReadyBooks(state, size);
    if (books == nullptr) return;
    std::FILE* terminal = std::fopen("/dev/null", "w");
    if (terminal == nullptr) {
        state.SkipWithError("cannot open /dev/null");
        return;
    }
    std::setvbuf(terminal, nullptr, _IONBF, 0);
    for (auto _ : state) {
        ConsoleProgress progress(terminal, true);
        progress.ResetProgress();
        Replay(books->Calls(), progress);
        progress.EndProgress();
    }
    std::fclose(terminal);
    SetCallCounters(state, *books);
}

// The GUI's progress window, made and shown outside the measured time: the
// calls from the reset to the end are measured, as the run makes them.
void BM_ProgressCallsWindow(benchmark::State& state, BooksSize size) {
    BenchBooks* books = ReadyBooks(state, size);
    if (books == nullptr) return;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<ClProgressDialog>();
        window->ShowExposed();
        state.ResumeTiming();
        window->ResetProgress();
        Replay(books->Calls(), *window);
        window->EndProgress();
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    SetCallCounters(state, *books);
}

// The console output, keeping the mean real time per iteration of every
// benchmark (over its repetitions) for the shares at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            Mean& mean = means_[run.run_name.function_name];
            mean.sum += run.real_accumulated_time / static_cast<double>(run.iterations);
            ++mean.count;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Milliseconds per iteration, or a negative value when it did not run.
    double Milliseconds(const std::string& name) const {
        auto found = means_.find(name);
        return found == means_.end() ? -1 : found->second.sum / found->second.count * 1e3;
    }

private:
    struct Mean {
        double sum = 0;
        int count = 0;
    };
    std::map<std::string, Mean> means_;
};

std::string NameOf(const std::string& benchmark, BooksSize size) { return benchmark + "/" + BooksName(size); }

constexpr BooksSize kSizes[] = {BooksSize::Demo, BooksSize::Accounts10000};

// Grouped by books, so that each set of books is made once.
void RegisterBenchmarks() {
    for (BooksSize size : kSizes) {
        benchmark::RegisterBenchmark(NameOf("BM_BatchRun", size).c_str(), BM_BatchRun, size)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(NameOf("BM_RunWithNoOpProgress", size).c_str(), BM_RunWithNoOpProgress, size)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(NameOf("BM_ProgressCalls/console", size).c_str(), BM_ProgressCallsConsole, size)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(NameOf("BM_ProgressCalls/window", size).c_str(), BM_ProgressCallsWindow, size)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

void PrintShare(const RecordingReporter& reporter, BooksSize size, const char* display, double runMs) {
    const double progressMs = reporter.Milliseconds(NameOf(std::string("BM_ProgressCalls/") + display, size));
    if (progressMs < 0 || runMs < 0) return;
    std::printf("  %-7s: progress calls %.3f ms, share %.2f%% of %.3f ms\n", display, progressMs,
                100.0 * progressMs / (runMs + progressMs), runMs + progressMs);
}

void PrintSummary(const RecordingReporter& reporter) {
    for (BooksSize size : kSizes) {
        const double batchMs = reporter.Milliseconds(NameOf("BM_BatchRun", size));
        const double noOpMs = reporter.Milliseconds(NameOf("BM_RunWithNoOpProgress", size));
        if (batchMs < 0 && noOpMs < 0) continue;
        std::printf("%s books:\n", BooksName(size));
        if (batchMs >= 0) std::printf("  batch run %.1f ms per run\n", batchMs);
        const auto recorded = RecordedCounts().find(size);
        if (recorded != RecordedCounts().end()) {
            const ProgressCallCounts& counts = recorded->second;
            std::printf("  progress calls per run: %lld (AdvanceProgress %lld covering %lld steps,"
                        " PulseActivity %lld, PulseActivities %lld standing for %lld pulses)\n",
                        static_cast<long long>(counts.Calls()), static_cast<long long>(counts.advanceCalls),
                        static_cast<long long>(counts.advanceSteps), static_cast<long long>(counts.pulseCalls),
                        static_cast<long long>(counts.pulsesCalls), static_cast<long long>(counts.pulsesTotal));
        }
        if (noOpMs < 0) continue;
        std::printf("  run with a no-op progress sink %.1f ms\n", noOpMs);
        PrintShare(reporter, size, "console", noOpMs);
        PrintShare(reporter, size, "window", noOpMs);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The window is measured offscreen unless the user names a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt sees the program name only; the rest of the line is the benchmark's.
    static int qtArgc = 1;
    static char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RegisterBenchmarks();
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintSummary(reporter);
    CurrentBooks().reset();
    return 0;
}
