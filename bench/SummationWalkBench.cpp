// The summation walk of the aggregation and the account lookups of the
// mapping dialog over large books: 10,000 accounts, each with sums for the
// opening, twelve months and the closing adjustments, made under a temporary
// MZN_ROOT for the run.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
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
