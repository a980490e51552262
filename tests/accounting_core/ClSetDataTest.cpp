#include "accounting_core/StDATAINFO.h"
#include "tests/support/BooksFixture.h"

namespace {

using namespace core_result;

using ClSetDataTest = BooksFixture;

// The whole record is compared, so every byte outside the fields must be zero.
TEST_F(ClSetDataTest, SelectedInfoFillsEveryFieldAndNothingElse) {
    AddDataSet(1, "OTHER", u8"別会社", 20160101, 20161231);
    AddDataSet(27, "D0027", u8"株式会社水楢", 20170401, 20180331, 1, 3, 1, 1);
    SetCurrentUser(u8"tester");
    StDATAINFO info;
    EXPECT_EQ(DataSets()->GetSelectedInfo(&info), kNotConnected);
    ASSERT_EQ(Connect(), kOk);
    StDATAINFO expected{};
    for (int selected : {0, 9, 27}) {  // no users row, a data set that does not exist, an existing one
        if (selected != 0) SelectFor(u8"tester", 5, selected);
        std::memset(&info, 0xAA, sizeof info);
        EXPECT_EQ(DataSets()->GetSelectedInfo(&info), selected == 27 ? kOk : kNoDataSet);
        EXPECT_EQ(std::memcmp(&info, &expected, sizeof info) == 0, selected != 27) << "zeroed";
    }
    expected = {"D0027", 27, {}, "株式会社水楢", 20170401, 20180331, {}, 1, {}, 3, {}, 1, {}};
    EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0);
    EXPECT_EQ(DataSets()->GetSelectedInfo(nullptr), kBadArgument);
}

TEST_F(ClSetDataTest, WalkDeliversEveryDataSetInNumberOrderWithItsOwnCursor) {
    AddDataSet(30, "C", u8"三", 20190101, 20191231);
    AddDataSet(2, "A", u8"一", 20170401, 20180331);
    AddDataSet(11, "B", u8"二", 20180401, 20190331);
    ClSetData* sets = DataSets();
    SetCursor* cursor = sets->GetDatCursor();
    EXPECT_EQ(sets->ReadyDat(cursor, 0), kNotConnected);
    ASSERT_EQ(Connect(), kOk);
    StDATAINFO info;
    EXPECT_EQ((std::vector{sets->WalkDat(&info, cursor), sets->ReadyDat(cursor, 1), sets->ReadyDat(cursor, 0)}),
              (std::vector{kNotReady, kBadArgument, kOk}));
    std::string walked;
    while (sets->WalkDat(&info, cursor) == kOk) walked += std::to_string(info.DataNo) + info.Name;
    EXPECT_EQ(walked, "2一11二30三");
    // The end stays the end; readied again, the walk starts over.
    EXPECT_EQ((std::vector{sets->WalkDat(&info, cursor), sets->ReadyDat(cursor, 0), sets->WalkDat(&info, cursor),
                           info.DataNo, sets->WalkDat(nullptr, cursor)}),
              (std::vector{kEndOfSet, kOk, kOk, 2, kBadArgument}));

    SetCursor* second = sets->GetDatCursor();
    SetCursor* foreign = Accounts()->GetCursor();
    EXPECT_EQ((std::vector{sets->OpenCursors(), sets->ReleaseDatCursor(cursor), sets->ReleaseDatCursor(cursor),
                           sets->ReleaseDatCursor(nullptr), sets->ReadyDat(foreign, 0), sets->ReleaseDatCursor(foreign),
                           sets->ReleaseDatCursor(second), sets->OpenCursors()}),
              (std::vector{2, kOk, kBadArgument, kBadArgument, kBadArgument, kBadArgument, kOk, 0}));
}

}  // namespace
