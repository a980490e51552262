// The summation walk of the aggregation and the account lookups of the
// mapping dialog over large books: 10,000 accounts, each with sums for the
// opening, twelve months and the closing adjustments, made under a temporary
// MZN_ROOT for the run.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>

#include "accounting_core/AccountSumStream.h"
#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClLinkMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "accounting_core/StKAMOKUSUMINFO.h"
#include "tests/support/CoreSession.h"
#include "bench/BenchBooks.h"
#include "tests/support/TempRoot.h"

namespace {

constexpr int kAccounts = BenchBooks::kAccounts;


// The books and the connection, made once for the whole run.
class LargeBooks {
public:
    static LargeBooks& Get() {
        static LargeBooks books;
        return books;
    }

private:
    LargeBooks() {
        BenchBooks::Make();
        BenchBooks::Require(ClAccConnect::Inst()->Initiate() == core_result::kOk, ClAccConnect::Inst()->LastError());
    }
    ~LargeBooks() { CoreSession::End(); }

    TempRoot root_;
};

// Month criteria of the whole year with the closing adjustments, as the
// aggregation builds them.
void FullYearCriteria(StFINDINFO (&criteria)[4]) {
    std::memset(criteria, 0, sizeof criteria);
    const std::int16_t entries[3][3] = {{4, 1, 1}, {6, 12, 2}, {1, 18, 0}};
    for (int i = 0; i < 3; ++i) {
        criteria[i].FieldCode = 17;
        criteria[i].Comparison = entries[i][0];
        criteria[i].ValueType = 2;
        criteria[i].Value = entries[i][1];
        criteria[i].Link = entries[i][2];
    }
}

void BM_SummationWalk(benchmark::State& state) {
    LargeBooks::Get();
    StFINDINFO criteria[4];
    FullYearCriteria(criteria);
    std::int64_t records = 0;
    for (auto _ : state) {
        std::int64_t checksum = 0;
        const std::int64_t walked = BenchBooks::WalkSums(criteria, checksum);
        if (walked < 0) state.SkipWithError("the summation is not ready");
        benchmark::DoNotOptimize(checksum);
        records += walked;
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_SummationWalk)->Unit(benchmark::kMillisecond);

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The walk's own query stepped to its end with every column read and no
// record built: what SQLite alone costs the walk. The books are opened once
// outside the timing, as the connection of the walk is.
std::int64_t PlainScan(const BooksDatabase& books, std::int64_t& checksum) {
    BooksStatement scan(books.Handle(), AccountSumStream::kQuery);
    scan.Bind(1, 1);
    std::int64_t rows = 0;
    std::uint8_t id[16];
    while (scan.Step() == BooksStatement::StepResult::Row) {
        scan.Blob(0, id, sizeof id);
        checksum += static_cast<std::int64_t>(scan.Text(2).size()) + id[0];
        for (int column : {1, 3, 4, 5, 6, 7, 8, 9}) checksum += scan.Int(column);
        ++rows;
    }
    return rows;
}

// The walk and the plain scan in turn, so that other work on the machine
// slows both alike: the CPU time of each per iteration, and their ratio.
void BM_WalkAgainstPlainScan(benchmark::State& state) {
    LargeBooks::Get();
    StFINDINFO criteria[4];
    FullYearCriteria(criteria);
    BooksDatabase books;
    BenchBooks::Require(books.Open(BooksDatabase::Mode::Existing), books.Error());
    double walkSeconds = 0;
    double scanSeconds = 0;
    std::int64_t checksum = 0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        if (BenchBooks::WalkSums(criteria, checksum) < 0) state.SkipWithError("the summation is not ready");
        const double walked = ThreadCpuSeconds();
        PlainScan(books, checksum);
        walkSeconds += walked - start;
        scanSeconds += ThreadCpuSeconds() - walked;
    }
    benchmark::DoNotOptimize(checksum);
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["walk_ms"] = benchmark::Counter(walkSeconds * 1e3 / iterations);
    state.counters["scan_ms"] = benchmark::Counter(scanSeconds * 1e3 / iterations);
    state.counters["ratio"] = benchmark::Counter(scanSeconds > 0 ? walkSeconds / scanSeconds : 0);
}
BENCHMARK(BM_WalkAgainstPlainScan)->Unit(benchmark::kMillisecond);

void BM_AccountLookupByCode(benchmark::State& state) {
    LargeBooks::Get();
    auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1));
    StFINDINFO criteria{};
    criteria.FieldCode = 2;
    criteria.Comparison = 1;
    criteria.ValueType = 3;
    int n = 0;
    for (auto _ : state) {
        criteria.Value = (n++ % kAccounts + 1) * 100 + 1;
        SetCursor* cursor = accounts->GetCursor();
        accounts->ReadyCursor(cursor);
        StKAMOKUINFO info;
        benchmark::DoNotOptimize(accounts->WalkFind(&criteria, &info, cursor));
        accounts->ReleaseCursor(cursor);
    }
}
BENCHMARK(BM_AccountLookupByCode)->Unit(benchmark::kMicrosecond);

void BM_AccountWalkByClasses(benchmark::State& state) {
    LargeBooks::Get();
    auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1));
    StFINDINFO criteria[10] = {};
    const std::uint32_t classes[] = {0x80800000u, 0x40880008u};
    for (int i = 0; i < 2; ++i) {
        criteria[i].FieldCode = 16;
        criteria[i].Comparison = 1;
        criteria[i].ValueType = 19;
        criteria[i].Value = static_cast<std::int32_t>(classes[i]);
        criteria[i].Link = i == 0 ? 2 : 0;
    }
    std::int64_t found = 0;
    for (auto _ : state) {
        SetCursor* cursor = accounts->GetCursor();
        accounts->ReadyCursor(cursor);
        StKAMOKUINFO info;
        while (accounts->WalkFind(criteria, &info, cursor) == core_result::kOk) ++found;
        accounts->ReleaseCursor(cursor);
    }
    state.SetItemsProcessed(found);
}
BENCHMARK(BM_AccountWalkByClasses)->Unit(benchmark::kMillisecond);

}  // namespace
