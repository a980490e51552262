// Every call the books' fault table can force, through the real classes: what each call of one script answers.

#include <algorithm>
#include <memory>

#include "accounting_core/ClAccPeriod.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/StSHOHIZEIINFO.h"
#include "tests/support/BooksFixture.h"

namespace {

using namespace core_result;
using Answers = std::vector<int>;

// Initiate, ExpSysLink; for a data set kept with tax included and one without, ClSetShohizei::Get, byte 5 of its
// record and the zero bytes there; whether ClRuleKamoku::Create gives nothing, else MoveReady, GetSumCount,
// SetMovePos(0), MoveNext four times (three records), SetMovePos(0), MoveNext; whether ClAccPeriod::Create gives
// nothing; after the session has ended, whether either Create does.
Answers Script() {
    Answers answers{ClAccConnect::Inst()->Initiate(), ClAccConnect::Inst()->ExpSysLink()};
    for (const char* dataId : {"D0001", "EXCL"}) {
        unsigned char tax[sizeof(StSHOHIZEIINFO)];
        std::memset(tax, 0xAA, sizeof tax);
        BooksFixture::TaxSettings()->SetCurDataID(dataId);
        answers.push_back(BooksFixture::TaxSettings()->Get(reinterpret_cast<StSHOHIZEIINFO*>(tax)));
        answers.insert(answers.end(), {tax[5], static_cast<int>(std::count(tax, tax + sizeof tax, 0))});
    }
    std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
    answers.push_back(rule == nullptr);
    if (rule) {
        rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
        StKAMOKUSUMINFO record;
        std::int32_t count = -1;
        for (int answer : {rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), rule->GetSumCount(&count),
                           rule->SetMovePos(0), rule->MoveNext(&record), rule->MoveNext(&record),
                           rule->MoveNext(&record), rule->MoveNext(&record), rule->SetMovePos(0),
                           rule->MoveNext(&record)})
            answers.push_back(answer);
    }
    answers.push_back(std::unique_ptr<ClAccPeriod>(ClAccPeriod::Create()) == nullptr);
    CoreSession::End();
    answers.push_back(std::unique_ptr<ClRuleKamoku>(ClRuleKamoku::Create()) == nullptr);
    answers.push_back(std::unique_ptr<ClAccPeriod>(ClAccPeriod::Create()) == nullptr);
    return answers;
}

using FaultTableTest = BooksFixture;

TEST_F(FaultTableTest, EveryForcedCallAnswersItsResult) {
    AddSelectedDataSet();
    Sql("UPDATE data_sets SET tax_included = 1");
    AddDataSet(2, "EXCL", u8"税抜経理", 20170401, 20180331);
    for (int seed = 1; seed <= 3; ++seed) AddAccount(1, seed, seed * 10000, u8"勘定", 0x80800000u, 1);
    constexpr int N = kNotReady;
    constexpr int E = kEndOfSums;
    const std::tuple<const char*, int, int, Answers> cases[] = {
        // call, result, after (MoveNext: records a walk delivers first), the script's answers
        {"", 0, 0, {0, 0, 0, 1, 11, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, E, 0, 0, 0, 0, 0}},  // nothing forced
        {"Initiate", 42, 0, {42, kNotConnected, kNotConnected, 0, 12, kNotConnected, 0, 12, 0, kNotConnected, N, N, N,
                             N, N, N, N, N, 0, 0, 0}},
        {"ExpSysLink", 1, 0, {0, 1, 0, 1, 11, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, E, 0, 0, 0, 0, 0}},
        {"ExpSysLink", 0, 0, {0, 0, 0, 1, 11, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, E, 0, 0, 0, 0, 0}},  // 0 forces nothing
        {"ClSetShohizei::Get", 3, 0, {0, 0, 3, 0, 12, 3, 0, 12, 0, 0, 0, 0, 0, 0, 0, E, 0, 0, 0, 0, 0}},
        {"MoveReady", 21, 0, {0, 0, 0, 1, 11, 0, 0, 12, 0, 21, N, N, N, N, N, N, N, N, 0, 0, 0}},
        {"GetSumCount", 11, 0, {0, 0, 0, 1, 11, 0, 0, 12, 0, 0, 11, 0, 0, 0, 0, E, 0, 0, 0, 0, 0}},
        {"SetMovePos", 12, 0, {0, 0, 0, 1, 11, 0, 0, 12, 0, 0, 0, 12, 0, 0, 0, E, 12, E, 0, 0, 0}},
        {"MoveNext", 13, 2, {0, 0, 0, 1, 11, 0, 0, 12, 0, 0, 0, 0, 0, 0, 13, 13, 0, 0, 0, 0, 0}},
        {"MoveNext", 22, 0, {0, 0, 0, 1, 11, 0, 0, 12, 0, 0, 0, 0, 22, 22, 22, 22, 0, 22, 0, 0, 0}},
        {"ClRuleKamoku::Create", 1, 0, {0, 0, 0, 1, 11, 0, 0, 12, 1, 0, 0, 0}},
        {"ClAccPeriod::Create", 1, 0, {0, 0, 0, 1, 11, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, E, 0, 0, 1, 0, 0}},
    };
    for (const auto& [call, result, after, answers] : cases) {
        Sql("DELETE FROM faults");
        if (*call != '\0') AddFault(call, result, after);
        EXPECT_EQ(Script(), answers) << call << " " << result;
    }
}

}  // namespace
