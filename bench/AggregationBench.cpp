// The aggregation of large books against the bare summation walk it is built
// on: the books of SummationWalkBench (10,000 accounts, each with sums for
// the opening, twelve months and the closing adjustments) and a mapping of
// 2,000 entries onto the UG30 items. Both run in the same process on the
// same books; the program ends with the ratio of the two times.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClLinkMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUSUMINFO.h"
#include "report/AccountKey.h"
#include "report/AggregationEngine.h"
#include "report/PeriodSettings.h"
#include "report/ProgressSink.h"
#include "report/TargetVersion.h"
#include "tests/support/CoreSession.h"
#include "bench/BenchBooks.h"
#include "tests/support/TempRoot.h"

namespace {

constexpr int kAccounts = BenchBooks::kAccounts;
constexpr int kMappingEntries = 2000;


// The books, the connection, the selected data set and its criteria for
// the whole year, made once for the run.
class LargeBooks {
public:
    static LargeBooks& Get() {
        static LargeBooks books;
        return books;
    }

    StDATAINFO dataSet{};
    StFINDINFO criteria[PeriodSettings::kCriteriaEntries]{};

private:
    LargeBooks() {
        BenchBooks::Make();
        BenchBooks::Require(ClAccConnect::Inst()->Initiate() == core_result::kOk, ClAccConnect::Inst()->LastError());
        auto* dataSets = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
        BenchBooks::Require(dataSets->GetSelectedInfo(&dataSet) == core_result::kOk, "no selected data set");
        PeriodSettings::BuildSumCriteria(criteria, dataSet, 4, 3);
    }
    ~LargeBooks() { CoreSession::End(); }

    TempRoot root_;
};

// A progress window that only counts its steps and pulses, taking runs of
// pulses at once.
class CountingProgress : public ProgressSink {
public:
    void AdvanceProgress(std::int16_t from, std::int16_t to) override { steps += to - from + 1; }
    void PulseActivity() override { ++pulses; }
    void PulseActivities(std::int64_t count) override { pulses += count; }
    std::int64_t steps = 0;
    std::int64_t pulses = 0;
};

// The same, taking every pulse one by one: what a window costs that does not
// take runs of pulses at once, at the least.
class PulseByPulseProgress : public ProgressSink {
public:
    void AdvanceProgress(std::int16_t from, std::int16_t to) override { steps += to - from + 1; }
    void PulseActivity() override { ++pulses; }
    std::int64_t steps = 0;
    std::int64_t pulses = 0;
};

// The UG30 items and 2,000 mapping entries: the twelve TotalKeys and every
// fifth account, spread over the main and the monthly items.
void MakeReport(ItemList& items, MappingList& mapping) {
    for (int itemNo = 1; itemNo <= TargetVersion::LastItemNo(true); ++itemNo) {
        auto item = std::make_unique<ReportItem>();
        item->ItemNo = static_cast<std::int16_t>(itemNo);
        item->BalanceSide = static_cast<std::int16_t>(itemNo % 2 + 1);
        items.push_back(std::move(item));
    }
    auto add = [&mapping](int itemNo, const char* key) {
        auto entry = std::make_unique<MappedAccount>();
        entry->ItemNo = static_cast<std::int16_t>(itemNo);
        std::memcpy(entry->AccountKey, key, std::strlen(key) + 1);
        mapping.push_back(std::move(entry));
    };
    for (int n = 0; n < 12; ++n) add(n + 1, AccountKey::kTotalKeys[n]);
    for (int n = 0; mapping.size() < static_cast<std::size_t>(kMappingEntries); n += 5) {
        const std::array<unsigned char, 16> id = BenchBooks::AccountId(n);
        char key[MappedAccount::kKeySize];
        AccountKey::Text(id.data(), key);
        add(n % TargetVersion::LastItemNo(true) + 1, key);
    }
}

// The summation walk the aggregation makes, doing nothing with the records.
std::int64_t BareWalk(const LargeBooks& books) {
    std::int64_t checksum = 0;
    const std::int64_t records = BenchBooks::WalkSums(books.criteria, checksum);
    benchmark::DoNotOptimize(checksum);
    return records;
}

// The items, the mapping and a progress window of one report.
template <typename Progress>
class Report {
public:
    Report() { MakeReport(items_, mapping_); }

    bool Aggregate(const LargeBooks& books) {
        for (auto& item : items_) std::memset(item->Amounts, 0, sizeof item->Amounts);
        AggregationEngine engine(&progress_, &mapping_, &items_, true);
        const bool ok = engine.Aggregate(false, books.criteria, &books.dataSet) == 1;
        benchmark::DoNotOptimize(items_.front()->Amounts[0]);
        return ok;
    }
    std::int64_t Pulses() const { return progress_.pulses; }

private:
    ItemList items_;
    MappingList mapping_;
    Progress progress_;
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_BareSummationWalk(benchmark::State& state) {
    LargeBooks& books = LargeBooks::Get();
    std::int64_t records = 0;
    for (auto _ : state) {
        const std::int64_t walked = BareWalk(books);
        if (walked < 0) state.SkipWithError("the summation is not ready");
        records += walked;
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_BareSummationWalk)->Unit(benchmark::kMillisecond);

template <typename Progress>
void AggregateWith(benchmark::State& state) {
    LargeBooks& books = LargeBooks::Get();
    Report<Progress> report;
    for (auto _ : state) {
        if (!report.Aggregate(books)) state.SkipWithError("the aggregation failed");
    }
    state.counters["pulses/run"] =
        benchmark::Counter(static_cast<double>(report.Pulses()) / static_cast<double>(state.iterations()));
}

void BM_Aggregate(benchmark::State& state) { AggregateWith<CountingProgress>(state); }
BENCHMARK(BM_Aggregate)->Unit(benchmark::kMillisecond);

void BM_AggregatePulseByPulse(benchmark::State& state) { AggregateWith<PulseByPulseProgress>(state); }
BENCHMARK(BM_AggregatePulseByPulse)->Unit(benchmark::kMillisecond);

// The walk and the aggregation in turn, so that other work on the machine
// slows both alike: the CPU time of each per iteration, and their ratio.
template <typename Progress>
void AggregationAgainstWalk(benchmark::State& state) {
    LargeBooks& books = LargeBooks::Get();
    Report<Progress> report;
    double walkSeconds = 0;
    double aggregateSeconds = 0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        if (BareWalk(books) < 0) state.SkipWithError("the summation is not ready");
        const double walked = ThreadCpuSeconds();
        if (!report.Aggregate(books)) state.SkipWithError("the aggregation failed");
        walkSeconds += walked - start;
        aggregateSeconds += ThreadCpuSeconds() - walked;
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["walk_ms"] = benchmark::Counter(walkSeconds * 1e3 / iterations);
    state.counters["aggregate_ms"] = benchmark::Counter(aggregateSeconds * 1e3 / iterations);
    state.counters["ratio"] = benchmark::Counter(walkSeconds > 0 ? aggregateSeconds / walkSeconds : 0);
}

void BM_AggregationAgainstWalk(benchmark::State& state) { AggregationAgainstWalk<CountingProgress>(state); }
BENCHMARK(BM_AggregationAgainstWalk)->Unit(benchmark::kMillisecond);

void BM_AggregationPulseByPulseAgainstWalk(benchmark::State& state) {
    AggregationAgainstWalk<PulseByPulseProgress>(state);
}
BENCHMARK(BM_AggregationPulseByPulseAgainstWalk)->Unit(benchmark::kMillisecond);

// The console output, keeping the counters of the paired benchmarks.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.counters.count("ratio") != 0)
                paired[run.benchmark_name()] = run.counters;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, benchmark::UserCounters> paired;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (auto& [name, counters] : reporter.paired) {
        std::printf("%s: aggregation %.1f ms, bare summation walk %.1f ms (CPU time, taken in turn):"
                    " %.2f times the walk; goal under 1.5\n",
                    name.c_str(), counters["aggregate_ms"].value, counters["walk_ms"].value, counters["ratio"].value);
    }
    return 0;
}
