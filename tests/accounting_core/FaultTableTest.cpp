// Every call the books' fault table can force, through the real classes: what the call and those after it answer.

#include <algorithm>
#include <functional>
#include <memory>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClAccPeriod.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StSHOHIZEIINFO.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

namespace {

namespace cr = core_result;

using Answers = std::vector<int>;

// A summation rule of the selected data set, readied; the answer of MoveReady first.
std::unique_ptr<ClRuleKamoku> Ready(Answers& answers) {
    std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
    rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
    answers.push_back(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0));
    return rule;
}

// Whether Create gives nothing while connected, then after the session ended (the faults are the books').
template <typename Made>
Answers CreateRefused() {
    Answers refused{std::unique_ptr<Made>(Made::Create()) == nullptr};
    CoreSession::End();
    return {refused[0], std::unique_ptr<Made>(Made::Create()) == nullptr};
}

using FaultTableTest = BooksFixture;

TEST_F(FaultTableTest, EveryForcedCallAnswersItsResult) {
    AddSelectedDataSet();
    Sql("UPDATE data_sets SET tax_included = 1");
    for (int seed = 1; seed <= 3; ++seed) AddAccount(1, seed, seed * 10000, u8"勘定", 0x80800000u, 1);
    StKAMOKUSUMINFO record;
    std::int32_t count = 0;
    const auto linkAnswer = [] { return Answers{ClAccConnect::Inst()->ExpSysLink()}; };
    const std::tuple<const char*, int, int, std::function<Answers()>, Answers> cases[] = {
        // call, result, after, the calls after a successful Initiate, the answers (Initiate's first)
        {"Initiate", 42, 0, [] { return Answers{ClAccConnect::Connection() == nullptr}; }, {42, 1}},
        {"ExpSysLink", 1, 0, linkAnswer, {0, 1}},
        {"ExpSysLink", 7, 0, linkAnswer, {0, 7}},
        {"ExpSysLink", 0, 0, linkAnswer, {0, 0}},  // 0 forces nothing
        {"ClSetShohizei::Get", 3, 0,
         [] {
             unsigned char bytes[sizeof(StSHOHIZEIINFO)];
             std::memset(bytes, 0xAA, sizeof bytes);
             auto* tax = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kShohizei, 1));
             const int result = tax->Get(reinterpret_cast<StSHOHIZEIINFO*>(bytes));
             return Answers{result, static_cast<int>(std::count(bytes, bytes + sizeof bytes, 0))};
         },
         {0, 3, 12}},  // the record stays zeroed
        {"MoveReady", 21, 0, [&] { Answers a; a.push_back(Ready(a)->GetSumCount(&count)); return a; },
         {0, 21, cr::kNotReady}},
        {"GetSumCount", 11, 0, [&] { Answers a; a.push_back(Ready(a)->GetSumCount(&count)); return a; }, {0, 0, 11}},
        {"SetMovePos", 12, 0, [] { Answers a; a.push_back(Ready(a)->SetMovePos(0)); return a; }, {0, 0, 12}},
        {"MoveNext", 13, 2,  // two records a walk, then the result
         [&] {
             Answers a;
             auto rule = Ready(a);
             for (int i = 0; i < 4; ++i) a.push_back(rule->MoveNext(&record));
             a.push_back(rule->SetMovePos(0));
             a.push_back(rule->MoveNext(&record));
             return a;
         },
         {0, 0, 0, 0, 13, 13, 0, 0}},
        {"MoveNext", 22, 0, [&] { Answers a; a.push_back(Ready(a)->MoveNext(&record)); return a; }, {0, 0, 22}},
        {"ClRuleKamoku::Create", 1, 0, CreateRefused<ClRuleKamoku>, {0, 1, 0}},
        {"ClAccPeriod::Create", 1, 0, CreateRefused<ClAccPeriod>, {0, 1, 0}},
    };
    for (const auto& [call, result, after, calls, expected] : cases) {
        SCOPED_TRACE(std::string(call) + " " + std::to_string(result));
        Sql("DELETE FROM faults");
        AddFault(call, result, after);
        CoreSession::End();
        Answers answers{Connect()};
        for (int answer : calls()) answers.push_back(answer);
        EXPECT_EQ(answers, expected);
    }
}

}  // namespace
