// Account walks over the small books of tests/data imported by the real mzn-books, whose class codes hang in the
// books' real hierarchy.

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/BooksTool.h"

namespace {

namespace cr = core_result;

using Codes = std::vector<std::int32_t>;

const Codes kAll = {11100000, 11400000, 11400001, 12200000, 13100000, 15100000, 15900000, 21200000, 25100000, 31100000,
                    33300000, 41100000, 42100000, 52100000, 53500000, 61200000, 63900000, 65100000, 72100000, 73100000,
                    81100000};

class ClSetKamokuTest : public BooksFixture {
protected:
    void SetUp() override {
        BooksFixture::SetUp();
        ASSERT_EQ(BooksTool::ImportSmallBooks(root_ / "io"), 1);
        ASSERT_EQ(Connect(), cr::kOk);
    }
    ClSetKamoku* Accounts() {
        return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1));
    }
    // The codes of a whole walk (no criteria: Walk, else WalkFind); how it ended in end_.
    Codes Walk(const std::vector<StFINDINFO>& criteria = {}) {
        SetCursor* cursor = Accounts()->GetCursor();
        EXPECT_EQ(Accounts()->ReadyCursor(cursor), cr::kOk);
        Codes codes;
        for (StKAMOKUINFO info; (end_ = criteria.empty() ? Accounts()->Walk(&info, cursor)
                                                         : Accounts()->WalkFind(criteria.data(), &info, cursor)) == 0;)
            codes.push_back(info.Code);
        EXPECT_EQ(Accounts()->ReleaseCursor(cursor), cr::kOk);
        return codes;
    }
    int end_ = -1;
};

TEST_F(ClSetKamokuTest, WalkDeliversTheAccountsInCodeOrderWithEveryField) {
    EXPECT_EQ(Walk(), kAll);
    EXPECT_EQ(end_, cr::kEndOfSet);
    Sql("UPDATE accounts SET flag110 = 1, flag112 = 1 WHERE code = 11400001");
    StKAMOKUINFO expected{};
    std::memcpy(expected.Id, "MZNA\x00\xAD\xF3\x41", 8);  // mzn-books: "MZNA", then the code big-endian
    expected.Code = 11400001;
    std::strcpy(expected.Name, "みずなら銀行 本店");
    expected.Flag110 = expected.Flag112 = expected.BalanceSide = 1;
    expected.ClassCode = 0x80888000u;
    SetCursor* cursor = Accounts()->GetCursor();
    ASSERT_EQ(Accounts()->ReadyCursor(cursor), cr::kOk);
    StKAMOKUINFO info;
    std::memset(&info, 0xAA, sizeof info);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(Accounts()->Walk(&info, cursor), cr::kOk);
    EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0) << "every other byte zero";
    EXPECT_EQ(Accounts()->OpenCursors(), 1) << "stopped early, the cursor is released all the same";
    EXPECT_EQ(Accounts()->ReleaseCursor(cursor), cr::kOk);
    EXPECT_EQ(Accounts()->OpenCursors(), 0);
}

// Entries: (field, comparison, value type, value, link); fields 2 code, 16 class code; comparisons 1 =, 2 >, 3 <,
// 4 >=, 5 <>, 6 <=; links 1 and, 2 or, 0 last.
TEST_F(ClSetKamokuTest, WalkFindKeepsTheAccountsThatMeetTheConditions) {
    std::vector<StFINDINFO> ten(10, FindEntries({{16, 1, 19, 0x12345, 2}}).front());
    ten[9] = FindEntries({{16, 1, 19, 0x40100000, 0}}).front();
    std::vector<StFINDINFO> linksOn = ten;
    linksOn[9].Link = 2;
    const std::tuple<const char*, std::vector<StFINDINFO>, Codes, int> cases[] = {
        {"code =", FindEntries({{2, 1, 3, 12200000, 0}}), {12200000}, cr::kEndOfSet},
        {"code >", FindEntries({{2, 2, 3, 72100000, 0}}), {73100000, 81100000}, cr::kEndOfSet},
        {"code <", FindEntries({{2, 3, 3, 11400001, 0}}), {11100000, 11400000}, cr::kEndOfSet},
        {"code >= and <>", FindEntries({{2, 4, 3, 72100000, 1}, {2, 5, 3, 73100000, 0}}), {72100000, 81100000},
         cr::kEndOfSet},
        {"code <=", FindEntries({{2, 6, 3, 11400000, 0}}), {11100000, 11400000}, cr::kEndOfSet},
        {"code = or =", FindEntries({{2, 1, 3, 11100000, 2}, {2, 1, 3, 81100000, 0}}), {11100000, 81100000},
         cr::kEndOfSet},
        {"the classes below current assets", FindEntries({{16, 1, 19, static_cast<std::int32_t>(0x80880000u), 0}}),
         {11100000, 11400000, 11400001, 12200000, 13100000}, cr::kEndOfSet},
        {"class or class",
         FindEntries({{16, 1, 19, static_cast<std::int32_t>(0x80848000u), 2}, {16, 1, 19, 0x40100000, 0}}),
         {15100000, 15900000, 81100000}, cr::kEndOfSet},
        {"ten entries, the tenth the last", ten, {81100000}, cr::kEndOfSet},
        {"a tenth entry that links on", linksOn, {}, cr::kBadCriteria},
        {"the month is no field of an account", FindEntries({{17, 1, 2, 1, 0}}), {}, cr::kBadCriteria},
        {"comparison 7", FindEntries({{2, 7, 3, 1, 0}}), {}, cr::kBadCriteria},
        {"link 3", FindEntries({{2, 1, 3, 1, 3}}), {}, cr::kBadCriteria},
        {"value type 4", FindEntries({{2, 1, 4, 1, 0}}), {}, cr::kBadCriteria},
        {"class membership with >", FindEntries({{16, 2, 19, 1, 0}}), {}, cr::kBadCriteria},
    };
    for (const auto& [name, criteria, codes, end] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Walk(criteria), codes);
        EXPECT_EQ(end_, end);
    }
    SetCursor* cursor = Accounts()->GetCursor();
    ASSERT_EQ(Accounts()->ReadyCursor(cursor), cr::kOk);
    StKAMOKUINFO info;
    const auto all = FindEntries({{2, 2, 3, 0, 0}});
    const auto other = FindEntries({{2, 2, 3, 12000000, 0}});
    ASSERT_EQ(Accounts()->WalkFind(all.data(), &info, cursor), cr::kOk);
    // The conditions stay those the walk started with.
    EXPECT_EQ(Accounts()->WalkFind(other.data(), &info, cursor), cr::kBadCriteria);
    EXPECT_EQ(Accounts()->Walk(&info, cursor), cr::kBadCriteria);
    EXPECT_EQ(Accounts()->WalkFind(nullptr, &info, cursor), cr::kBadCriteria);
    EXPECT_EQ(Accounts()->Walk(nullptr, cursor), cr::kBadArgument);
    EXPECT_EQ(Accounts()->ReadyCursor(cursor, 1), cr::kBadArgument) << "code order is the only order";
}

TEST_F(ClSetKamokuTest, TheDataSetOfSetCurDataIDOrOfTheSession) {
    AddDataSet(2, "EMPTY", u8"空", 20240101, 20241231);
    EXPECT_EQ(Accounts()->SetCurDataID("EMPTY"), cr::kOk);
    EXPECT_EQ(Walk(), Codes{});
    EXPECT_EQ(Accounts()->SetCurDataID("NOSUCH"), cr::kNoDataSet);
    SetCursor* cursor = Accounts()->GetCursor();
    EXPECT_EQ(Accounts()->ReadyCursor(cursor), cr::kNoDataSet);
    StKAMOKUINFO info;
    EXPECT_EQ(Accounts()->Walk(&info, cursor), cr::kNotReady);
    EXPECT_EQ(Accounts()->SetCurDataID(nullptr), cr::kOk) << "back to the selected data set";
    EXPECT_EQ(Walk(), kAll);
    ClAccConnect::Inst()->LogOut();  // no user: no selected data set
    EXPECT_EQ(Accounts()->ReadyCursor(cursor), cr::kNoDataSet);
    ClAccConnect::Inst()->Terminate();
    EXPECT_EQ(Accounts()->ReadyCursor(cursor), cr::kNotConnected);
}

}  // namespace
