#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "tests/support/BooksFixture.h"

namespace {

namespace cr = core_result;

// A find condition written byte by byte at the offsets callers use.
void PutCondition(void* entries, int index, std::int32_t field, std::int16_t comparison, std::int16_t valueType,
                  std::int32_t value, std::int16_t link) {
    auto* entry = static_cast<unsigned char*>(entries) + 34 * index;
    std::memcpy(entry + 0, &field, 4);
    std::memcpy(entry + 6, &comparison, 2);
    std::memcpy(entry + 10, &valueType, 2);
    std::memcpy(entry + 18, &value, 4);
    std::memcpy(entry + 30, &link, 2);
}

class ClSetKamokuTest : public BooksFixture {
protected:
    // Two data sets; the selected one (1) has a small chart whose class codes
    // form a hierarchy: assets > current assets > cash and deposits.
    void SetUp() override {
        BooksFixture::SetUp();
        AddSelectedDataSet();
        AddDataSet(2, "D0002", u8"別の年度", 20180401, 20190331);
        AddClassLine(0x80800000u, 0, u8"資産の部合計", 1, true, 10);
        AddClassLine(0x80810000u, 0x80800000u, u8"流動資産", 1, false, 11);
        AddClassLine(0x80811000u, 0x80810000u, u8"現金及び預金", 1, false, 12);
        AddClassLine(0x80400000u, 0, u8"負債の部合計", 2, true, 20);
        AddClassLine(0x40888000u, 0, u8"売上高", 2, true, 30);
        AddAccount(1, 5, 1350000, u8"売掛金", 0x80810000u, 1);
        AddAccount(1, 1, 1110000, u8"現金", 0x80811000u, 1);
        AddAccount(1, 2, 1110001, u8"現金（本店）", 0x80811000u, 1, 0, 0);
        AddAccount(1, 3, 1120000, u8"普通預金", 0x80811000u, 1, 1, 0);
        AddAccount(1, 4, 3110000, u8"買掛金", 0x80400000u, 2, 0, 1);
        AddAccount(1, 6, 5110000, u8"売上高", 0x40888000u, 2);
        AddAccount(2, 7, 1110000, u8"現金", 0x80811000u, 1);
        ASSERT_EQ(Connect(), cr::kOk);
    }

    ClSetKamoku* Accounts() {
        return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1));
    }

    // Codes of a whole walk; criteria null walks with Walk.
    std::vector<std::int32_t> Codes(const void* criteria) {
        ClSetKamoku* accounts = Accounts();
        SetCursor* cursor = accounts->GetCursor();
        std::vector<std::int32_t> codes;
        EXPECT_EQ(accounts->ReadyCursor(cursor), cr::kOk);
        StKAMOKUINFO info;
        auto next = [&] {
            return criteria == nullptr
                       ? accounts->Walk(&info, cursor)
                       : accounts->WalkFind(static_cast<const StFINDINFO*>(criteria), &info, cursor);
        };
        int result;
        while ((result = next()) == cr::kOk) codes.push_back(FieldAt<std::int32_t>(&info, 16));
        lastResult_ = result;
        EXPECT_EQ(accounts->ReleaseCursor(cursor), cr::kOk);
        return codes;
    }

    int lastResult_ = 0;
};

TEST_F(ClSetKamokuTest, WalkDeliversTheAccountsOfTheDataSetInCodeOrder) {
    EXPECT_EQ(Codes(nullptr), (std::vector<std::int32_t>{1110000, 1110001, 1120000, 1350000, 3110000, 5110000}));
    EXPECT_EQ(lastResult_, cr::kEndOfSet);

    ClSetKamoku* accounts = Accounts();
    SetCursor* cursor = accounts->GetCursor();
    ASSERT_EQ(accounts->ReadyCursor(cursor), cr::kOk);
    StKAMOKUINFO info;
    std::memset(&info, 0xAA, sizeof info);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(accounts->Walk(&info, cursor), cr::kOk);
    // The third account: 1120000, flag 110 set.
    std::array<std::uint8_t, 16> id = AccountId(3);
    EXPECT_EQ(std::memcmp(&info, id.data(), 16), 0);
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 16), 1120000);
    EXPECT_EQ(TextAt(&info, 22), "普通預金");
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 110), 1);
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 112), 0);
    EXPECT_EQ(FieldAt<std::uint32_t>(&info, 116), 0x80811000u);
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 120), 1);
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 73), 0);  // reserved bytes are zeroed
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 212), 0);
    ASSERT_EQ(accounts->Walk(&info, cursor), cr::kOk);
    ASSERT_EQ(accounts->Walk(&info, cursor), cr::kOk);
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 16), 3110000);
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 112), 1);
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 120), 2);
    // Stopped early: the cursor is released all the same.
    EXPECT_EQ(accounts->OpenCursors(), 1);
    EXPECT_EQ(accounts->ReleaseCursor(cursor), cr::kOk);
    EXPECT_EQ(accounts->OpenCursors(), 0);
}

TEST_F(ClSetKamokuTest, SetCurDataIDChoosesTheDataSet) {
    ClSetKamoku* accounts = Accounts();
    EXPECT_EQ(accounts->SetCurDataID("D0002"), cr::kOk);
    EXPECT_EQ(Codes(nullptr), (std::vector<std::int32_t>{1110000}));

    EXPECT_EQ(accounts->SetCurDataID("NOSUCH"), cr::kNoDataSet);
    SetCursor* cursor = accounts->GetCursor();
    EXPECT_EQ(accounts->ReadyCursor(cursor), cr::kNoDataSet);
    StKAMOKUINFO info;
    EXPECT_EQ(accounts->Walk(&info, cursor), cr::kNotReady);
    EXPECT_EQ(accounts->ReleaseCursor(cursor), cr::kOk);

    EXPECT_EQ(accounts->SetCurDataID(nullptr), cr::kOk);  // back to the selected data set
    EXPECT_EQ(Codes(nullptr).size(), 6u);
}

TEST_F(ClSetKamokuTest, WalkFindByCodeFindsOneAccountOrNone) {
    unsigned char criteria[34] = {};
    PutCondition(criteria, 0, 2, 1, 3, 1350000, 0);
    EXPECT_EQ(Codes(criteria), (std::vector<std::int32_t>{1350000}));
    PutCondition(criteria, 0, 2, 1, 3, 1350001, 0);
    EXPECT_EQ(Codes(criteria), (std::vector<std::int32_t>{}));
    EXPECT_EQ(lastResult_, cr::kEndOfSet);
}

TEST_F(ClSetKamokuTest, WalkFindAllAccountsAndOtherComparisons) {
    unsigned char criteria[34] = {};
    PutCondition(criteria, 0, 2, 2, 3, 0, 0);  // code > 0
    EXPECT_EQ(Codes(criteria), Codes(nullptr));
    PutCondition(criteria, 0, 2, 3, 3, 1350000, 0);  // code < 1350000
    EXPECT_EQ(Codes(criteria), (std::vector<std::int32_t>{1110000, 1110001, 1120000}));

    unsigned char range[68] = {};
    PutCondition(range, 0, 2, 4, 3, 1120000, 1);  // >= 1120000 and <= 3110000
    PutCondition(range, 1, 2, 6, 3, 3110000, 0);
    EXPECT_EQ(Codes(range), (std::vector<std::int32_t>{1120000, 1350000, 3110000}));
}

TEST_F(ClSetKamokuTest, WalkFindByClassCodesJoinedWithOrTakesTheClassesBelow) {
    StFINDINFO* criteria = new StFINDINFO[10];  // exactly the caller's room
    std::memset(criteria, 0, sizeof(StFINDINFO) * 10);
    PutCondition(criteria, 0, 16, 1, 19, 0x80810000, 0);
    EXPECT_EQ(Codes(criteria), (std::vector<std::int32_t>{1110000, 1110001, 1120000, 1350000}));

    PutCondition(criteria, 0, 16, 1, 19, static_cast<std::int32_t>(0x80811000u), 2);
    PutCondition(criteria, 1, 16, 1, 19, static_cast<std::int32_t>(0x40888000u), 2);
    PutCondition(criteria, 2, 16, 1, 19, static_cast<std::int32_t>(0x80400000u), 0);
    EXPECT_EQ(Codes(criteria), (std::vector<std::int32_t>{1110000, 1110001, 1120000, 3110000, 5110000}));

    // Ten entries, all of them used.
    for (int i = 0; i < 10; ++i) PutCondition(criteria, i, 16, 1, 19, 0x12345 + i, i < 9 ? 2 : 0);
    PutCondition(criteria, 9, 16, 1, 19, static_cast<std::int32_t>(0x40888000u), 0);
    EXPECT_EQ(Codes(criteria), (std::vector<std::int32_t>{5110000}));

    // A tenth entry that still links on is refused without reading past it.
    PutCondition(criteria, 9, 16, 1, 19, static_cast<std::int32_t>(0x40888000u), 2);
    EXPECT_EQ(Codes(criteria), (std::vector<std::int32_t>{}));
    EXPECT_EQ(lastResult_, cr::kBadCriteria);
    delete[] criteria;
}

TEST_F(ClSetKamokuTest, UnknownOrChangingConditionsAreRefused) {
    unsigned char criteria[68] = {};
    PutCondition(criteria, 0, 17, 1, 2, 1, 0);  // the month: no field of an account
    EXPECT_EQ(Codes(criteria), (std::vector<std::int32_t>{}));
    EXPECT_EQ(lastResult_, cr::kBadCriteria);
    PutCondition(criteria, 0, 2, 9, 3, 1, 0);  // comparison 9
    Codes(criteria);
    EXPECT_EQ(lastResult_, cr::kBadCriteria);
    PutCondition(criteria, 0, 2, 1, 3, 1, 3);  // link 3
    Codes(criteria);
    EXPECT_EQ(lastResult_, cr::kBadCriteria);
    PutCondition(criteria, 0, 16, 2, 19, 1, 0);  // membership with ">"
    Codes(criteria);
    EXPECT_EQ(lastResult_, cr::kBadCriteria);

    ClSetKamoku* accounts = Accounts();
    SetCursor* cursor = accounts->GetCursor();
    ASSERT_EQ(accounts->ReadyCursor(cursor), cr::kOk);
    StKAMOKUINFO info;
    PutCondition(criteria, 0, 2, 2, 3, 0, 0);
    ASSERT_EQ(accounts->WalkFind(reinterpret_cast<StFINDINFO*>(criteria), &info, cursor), cr::kOk);
    PutCondition(criteria, 0, 2, 2, 3, 1200000, 0);
    EXPECT_EQ(accounts->WalkFind(reinterpret_cast<StFINDINFO*>(criteria), &info, cursor), cr::kBadCriteria);
    EXPECT_EQ(accounts->Walk(&info, cursor), cr::kBadCriteria);
    EXPECT_EQ(accounts->WalkFind(nullptr, &info, cursor), cr::kBadCriteria);
    EXPECT_EQ(accounts->Walk(nullptr, cursor), cr::kBadArgument);
    EXPECT_EQ(accounts->ReleaseCursor(cursor), cr::kOk);
}

TEST_F(ClSetKamokuTest, WalksNeedAnOpenConnection) {
    ClSetKamoku* accounts = Accounts();
    SetCursor* cursor = accounts->GetCursor();
    ClAccConnect::Inst()->LogOut();  // no user: no selected data set
    EXPECT_EQ(accounts->ReadyCursor(cursor), cr::kNoDataSet);
    EXPECT_EQ(accounts->ReleaseCursor(cursor), cr::kOk);
    ClAccConnect::Inst()->Terminate();
    accounts = Accounts();  // the data manager went with the session
    cursor = accounts->GetCursor();
    EXPECT_EQ(accounts->ReadyCursor(cursor), cr::kNotConnected);
    EXPECT_EQ(accounts->ReleaseCursor(cursor), cr::kOk);
}

}  // namespace
