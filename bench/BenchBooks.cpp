#include "bench/BenchBooks.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClLinkMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/CoreResult.h"

namespace {

// A hierarchy with the ten statement totals and a few classes below them.
struct ClassLine {
    std::uint32_t code;
    std::uint32_t parent;
    int side;
    bool total;
};
constexpr ClassLine kClassLines[] = {
    {0x80800000u, 0, 1, true},           {0x80810000u, 0x80800000u, 1, false}, {0x80820000u, 0x80800000u, 1, false},
    {0x80400000u, 0, 2, true},           {0x80410000u, 0x80400000u, 2, false}, {0x80200000u, 0, 2, true},
    {0x40200080u, 0, 2, true},           {0x40880000u, 0x40200080u, 2, true},  {0x40880008u, 0x40880000u, 2, true},
    {0x40888000u, 0x40880008u, 2, true}, {0x40884000u, 0x40880008u, 1, true},  {0x40882000u, 0x40880000u, 1, false},
    {0x40480000u, 0x40200080u, 2, true}, {0x40440000u, 0x40200080u, 1, true},
};
// The classes accounts are spread over (no account carries a total's own
// code where the aggregation would take it for the total).
constexpr std::uint32_t kAccountClasses[] = {0x80810000u, 0x80820000u, 0x80410000u, 0x80200000u, 0x40888000u,
                                             0x40884000u, 0x40882000u, 0x40480000u, 0x40440000u};

}  // namespace

void BenchBooks::Require(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}

std::array<unsigned char, 16> BenchBooks::AccountId(int n) {
    std::array<unsigned char, 16> id{};
    std::memcpy(id.data(), &n, sizeof n);
    return id;
}

void BenchBooks::Make() {
    BooksDatabase books;
    Require(books.Open(BooksDatabase::Mode::Create), books.Error());
    Require(books.Exec("BEGIN;"
                       "INSERT INTO data_sets (number, data_id, name, period_start, period_end)"
                       " VALUES (1, 'BENCH', 'bench', 20180401, 20190331);"
                       "INSERT INTO settings VALUES ('current_user', 'bench');"
                       "INSERT INTO users VALUES ('bench', 0, 1);"),
            books.Error());
    int ordinal = 0;
    for (const ClassLine& line : kClassLines) {
        BooksStatement insert(books.Handle(), "INSERT INTO class_lines VALUES (?1, ?2, 'line', ?3, ?4, ?5)");
        insert.Bind(1, line.code);
        if (line.parent != 0)
            insert.Bind(2, line.parent);
        else
            insert.BindNull(2);
        insert.Bind(3, line.side).Bind(4, line.total ? 1 : 0).Bind(5, ++ordinal);
        Require(insert.Run(), insert.Error());
    }
    BooksStatement account(books.Handle(), "INSERT INTO accounts VALUES (1, ?1, ?2, ?3, ?4, ?5, 0, 0)");
    BooksStatement sums(books.Handle(), "INSERT INTO period_sums VALUES (1, ?1, ?2, ?3, ?4, ?5, ?6)");
    for (int n = 0; n < kAccounts; ++n) {
        const std::array<unsigned char, 16> id = AccountId(n);
        const std::uint32_t classCode = kAccountClasses[n % std::size(kAccountClasses)];
        account.BindBlob(1, id.data(), id.size()).Bind(2, (n + 1) * 100 + (n % 7 == 0 ? 0 : 1));
        account.BindText(3, "account " + std::to_string(n)).Bind(4, classCode).Bind(5, n % 2 + 1);
        Require(account.Run(), account.Error());
        for (int period : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18}) {
            const std::int64_t amount = (n % 97 + 1) * 10000LL * (period + 1);
            sums.BindBlob(1, id.data(), id.size()).Bind(2, period).Bind(3, amount).Bind(4, amount / 3);
            sums.Bind(5, amount * 11 / 10).Bind(6, amount / 3 * 11 / 10);
            Require(sums.Run(), sums.Error());
        }
    }
    Require(books.Commit(), books.Error());
}

std::int64_t BenchBooks::WalkSums(const StFINDINFO* criteria, std::int64_t& checksum) {
    std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
    rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
    rule->SetCurDataID("BENCH");
    rule->AttachOptLink(ClLinkMgr::Inst()->GetOptLink());
    rule->MoveReady(1, 0, 0, criteria, nullptr, 0);
    std::int32_t count = 0;
    if (rule->GetSumCount(&count) != core_result::kOk || rule->SetMovePos(0) != core_result::kOk) return -1;
    StKAMOKUSUMINFO record;
    std::int64_t records = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        std::memset(&record, 0, sizeof record);
        if (rule->MoveNext(&record) != core_result::kOk) break;
        checksum += record.DebitExcl[1];
        ++records;
    }
    rule->MoveFinish();
    return records;
}
