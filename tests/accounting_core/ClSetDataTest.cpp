#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "tests/support/BooksFixture.h"

namespace {

namespace cr = core_result;

class ClSetDataTest : public BooksFixture {
protected:
    ClSetData* DataSets() { return static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1)); }
};

// The whole record is compared, so every byte outside the fields must be zero.
TEST_F(ClSetDataTest, SelectedInfoFillsEveryFieldAndNothingElse) {
    AddDataSet(1, "OTHER", u8"別会社", 20160101, 20161231);
    AddDataSet(27, "D0027", u8"株式会社水楢", 20170401, 20180331, 1, 3, 1, 1);
    SetCurrentUser(u8"tester");
    StDATAINFO info;
    EXPECT_EQ(DataSets()->GetSelectedInfo(&info), cr::kNotConnected);
    ASSERT_EQ(Connect(), cr::kOk);
    StDATAINFO expected{};
    for (int selected : {0, 9, 27}) {  // no users row, a data set that does not exist, an existing one
        if (selected != 0) SelectFor(u8"tester", 5, selected);
        std::memset(&info, 0xAA, sizeof info);
        EXPECT_EQ(DataSets()->GetSelectedInfo(&info), selected == 27 ? cr::kOk : cr::kNoDataSet);
        if (selected != 27) {
            EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0) << "zeroed";
        }
    }
    std::strcpy(expected.DataId, "D0027");
    std::strcpy(expected.Name, "株式会社水楢");
    expected.DataNo = 27;
    expected.PeriodStart = 20170401;
    expected.PeriodEnd = 20180331;
    expected.InterimClosing = expected.NetAssets = 1;
    expected.IntroMonthPos = 3;
    EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0);
    EXPECT_EQ(DataSets()->GetSelectedInfo(nullptr), cr::kBadArgument);

    // A long name is cut on a character boundary: "a" and 129 characters of two bytes fill the 259 bytes.
    std::u8string name = u8"a";
    for (int i = 0; i < 200; ++i) name += u8"楢";
    Sql("UPDATE data_sets SET name = '" + U8(name.c_str()) + "', intro_month = 99, net_assets = 0 WHERE number = 27");
    ASSERT_EQ(DataSets()->GetSelectedInfo(&info), cr::kOk);
    std::string cut = "a";
    for (int i = 0; i < 129; ++i) cut += "楢";
    EXPECT_EQ(std::string(info.Name), cut);
    EXPECT_EQ(info.IntroMonthPos, 99);
    EXPECT_EQ(info.NetAssets, 0);
}

TEST_F(ClSetDataTest, WalkDeliversEveryDataSetInNumberOrderWithItsOwnCursor) {
    AddDataSet(30, "C", u8"三", 20190101, 20191231);
    AddDataSet(2, "A", u8"一", 20170401, 20180331);
    AddDataSet(11, "B", u8"二", 20180401, 20190331);
    ClSetData* sets = DataSets();
    SetCursor* cursor = sets->GetDatCursor();
    EXPECT_EQ(sets->ReadyDat(cursor, 0), cr::kNotConnected);
    ASSERT_EQ(Connect(), cr::kOk);
    StDATAINFO info;
    EXPECT_EQ(sets->WalkDat(&info, cursor), cr::kNotReady);
    EXPECT_EQ(sets->ReadyDat(cursor, 1), cr::kBadArgument);
    ASSERT_EQ(sets->ReadyDat(cursor, 0), cr::kOk);
    std::string walked;
    while (sets->WalkDat(&info, cursor) == cr::kOk) walked += std::to_string(info.DataNo) + info.Name;
    EXPECT_EQ(walked, "2一11二30三");
    EXPECT_EQ(sets->WalkDat(&info, cursor), cr::kEndOfSet) << "the end stays the end";
    ASSERT_EQ(sets->ReadyDat(cursor, 0), cr::kOk);
    ASSERT_EQ(sets->WalkDat(&info, cursor), cr::kOk) << "readied again, it starts over";
    EXPECT_EQ(info.DataNo, 2);
    EXPECT_EQ(sets->WalkDat(nullptr, cursor), cr::kBadArgument);

    SetCursor* second = sets->GetDatCursor();
    EXPECT_EQ(sets->OpenCursors(), 2);
    EXPECT_EQ(sets->ReleaseDatCursor(cursor), cr::kOk);
    EXPECT_EQ(sets->ReleaseDatCursor(cursor), cr::kBadArgument) << "already released";
    EXPECT_EQ(sets->ReleaseDatCursor(nullptr), cr::kBadArgument);
    auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1));
    SetCursor* foreign = accounts->GetCursor();
    EXPECT_EQ(sets->ReadyDat(foreign, 0), cr::kBadArgument);
    EXPECT_EQ(sets->ReleaseDatCursor(foreign), cr::kBadArgument);
    EXPECT_EQ(sets->ReleaseDatCursor(second), cr::kOk);
    EXPECT_EQ(sets->OpenCursors(), 0);
    EXPECT_EQ(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 0), nullptr) << "only shared set objects";
}

}  // namespace
