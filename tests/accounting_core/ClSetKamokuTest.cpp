// Account walks over the small books of tests/data, imported by the real mzn-books into the real class hierarchy.

#include "accounting_core/StKAMOKUINFO.h"
#include "tests/support/BooksFixture.h"

namespace {

using namespace core_result;
using Codes = std::vector<std::int32_t>;

class ClSetKamokuTest : public BooksFixture {
protected:
    void SetUp() override {
        BooksFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(ConnectToSmallBooks());
    }
    // The codes of a whole walk (no criteria: Walk, else WalkFind), then how it ended: ReadyCursor's answer when
    // that fails.
    Codes Walk(const std::vector<StFINDINFO>& criteria = {}) {
        SetCursor* cursor = Accounts()->GetCursor();
        Codes codes;
        StKAMOKUINFO info;
        int result = Accounts()->ReadyCursor(cursor);
        while (result == kOk) {
            result = criteria.empty() ? Accounts()->Walk(&info, cursor)
                                      : Accounts()->WalkFind(criteria.data(), &info, cursor);
            if (result == kOk) codes.push_back(info.Code);
        }
        codes.push_back(result);
        EXPECT_EQ(Accounts()->ReleaseCursor(cursor), kOk);
        return codes;
    }
};

TEST_F(ClSetKamokuTest, WalkDeliversTheAccountsInCodeOrderWithTheirFields) {
    EXPECT_EQ(Walk(), (Codes{11100000, 11400000, 11400001, 12200000, 13100000, 15100000, 15900000, 21200000, 25100000,
                             31100000, 33300000, 41100000, 42100000, 52100000, 53500000, 61200000, 63900000, 65100000,
                             72100000, 73100000, 81100000, kEndOfSet}));
    Sql("UPDATE accounts SET flag110 = 1, flag112 = 1 WHERE code = 11400001");
    SetCursor* cursor = Accounts()->GetCursor();
    StKAMOKUINFO info;
    std::memset(&info, 0xAA, sizeof info);
    ASSERT_EQ(Accounts()->ReadyCursor(cursor), kOk);
    ASSERT_EQ(Accounts()->WalkFind(FindEntries({{2, 1, 3, 11400001, 0}}).data(), &info, cursor), kOk);
    // The identifier as mzn-books makes it ("MZNA", the code big-endian); every other byte zero.
    const StKAMOKUINFO expected{{'M', 'Z', 'N', 'A', 0x00, 0xAD, 0xF3, 0x41}, 11400001, {}, "みずなら銀行 本店", {}, 1, {},
                                1, {}, 0x80888000u, 1, {}};
    EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0);
    EXPECT_EQ(Accounts()->ReleaseCursor(cursor), kOk) << "stopped early, the cursor is released all the same";
    EXPECT_EQ(Accounts()->SetCurDataID("NOSUCH"), kNoDataSet);
    EXPECT_EQ(Walk(), (Codes{kNoDataSet}));
}

// Entries: (field, comparison, value type, value, link); fields 2 code, 16 class code; comparisons 1 =, 2 >, 3 <,
// 4 >=, 5 <>, 6 <=; value types 2 short, 3 long, 19 class; links 1 and, 2 or, 0 last.
TEST_F(ClSetKamokuTest, WalkFindKeepsTheAccountsThatMeetTheConditions) {
    std::vector<StFINDINFO> ten(10, FindEntries({{16, 1, 19, 0x12345, 2}}).front());
    ten[9] = FindEntries({{16, 1, 19, 0x40100000, 0}}).front();
    std::vector<StFINDINFO> linksOn = ten;
    linksOn[9].Link = 2;
    const auto currentAssets = static_cast<std::int32_t>(0x80880000u);
    const auto fixedAssets = static_cast<std::int32_t>(0x80848000u);
    const std::pair<std::vector<StFINDINFO>, Codes> cases[] = {
        {FindEntries({{2, 1, 3, 12200000, 0}}), {12200000, kEndOfSet}},
        {FindEntries({{2, 2, 3, 72100000, 0}}), {73100000, 81100000, kEndOfSet}},
        {FindEntries({{2, 3, 3, 11400001, 0}}), {11100000, 11400000, kEndOfSet}},
        {FindEntries({{2, 4, 3, 72100000, 1}, {2, 5, 3, 73100000, 0}}), {72100000, 81100000, kEndOfSet}},
        {FindEntries({{2, 6, 3, 11400000, 0}}), {11100000, 11400000, kEndOfSet}},
        {FindEntries({{2, 1, 3, 11100000, 2}, {2, 1, 3, 81100000, 0}}), {11100000, 81100000, kEndOfSet}},
        {FindEntries({{2, 3, 2, 0x7FFFFFFF, 0}}), {kEndOfSet}},  // short: -1
        {FindEntries({{16, 1, 19, currentAssets, 0}}), {11100000, 11400000, 11400001, 12200000, 13100000, kEndOfSet}},
        {FindEntries({{16, 1, 19, fixedAssets, 2}, {16, 1, 19, 0x40100000, 0}}),
         {15100000, 15900000, 81100000, kEndOfSet}},
        {ten, {81100000, kEndOfSet}},  // ten entries, the tenth the last
        // Refused: a tenth entry that links on, the month, comparison 7, link 3, value type 4, a class with
        // ">", a code asked as a class.
        {linksOn, {kBadCriteria}}, {FindEntries({{17, 1, 2, 1, 0}}), {kBadCriteria}},
        {FindEntries({{2, 7, 3, 1, 0}}), {kBadCriteria}},
        {FindEntries({{2, 1, 3, 1, 3}}), {kBadCriteria}}, {FindEntries({{2, 1, 4, 1, 0}}), {kBadCriteria}},
        {FindEntries({{16, 2, 19, 1, 0}}), {kBadCriteria}},
        {FindEntries({{2, 1, 19, currentAssets, 0}}), {kBadCriteria}},
    };
    for (const auto& [criteria, codes] : cases) EXPECT_EQ(Walk(criteria), codes);

    // The conditions stay those the walk started with.
    SetCursor* cursor = Accounts()->GetCursor();
    StKAMOKUINFO info;
    EXPECT_EQ((std::vector{Accounts()->ReadyCursor(cursor),
                           Accounts()->WalkFind(FindEntries({{2, 2, 3, 0, 0}}).data(), &info, cursor),
                           Accounts()->WalkFind(FindEntries({{2, 2, 3, 12000000, 0}}).data(), &info, cursor),
                           Accounts()->Walk(&info, cursor),
                           Accounts()->WalkFind(nullptr, &info, cursor), Accounts()->Walk(nullptr, cursor),
                           Accounts()->ReadyCursor(cursor, 1)}),
              (std::vector{kOk, kOk, kBadCriteria, kBadCriteria, kBadCriteria, kBadArgument, kBadArgument}));
}

}  // namespace
