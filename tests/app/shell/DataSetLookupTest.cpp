#include "app/shell/DataSetLookup.h"

#include <gtest/gtest.h>

#include <cstring>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClSetData.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "app/shell/UserSelection.h"
#include "tests/support/BooksFixture.h"

namespace {

bool AllZero(const StDATAINFO& info) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
    for (std::size_t at = 0; at < sizeof info; ++at)
        if (bytes[at] != 0) return false;
    return true;
}

class DataSetLookupTest : public BooksFixture {
protected:
    void AddThreeDataSets() {
        AddDataSet(1, "D0001", u8"別会社", 20160101, 20161231);
        AddDataSet(5, "D0005", u8"株式会社水楢", 20170401, 20180331, 1, 3, 0);
        AddDataSet(9, "D0009", u8"翌期", 20180401, 20190331);
        SetCurrentUser(u8"tester");
    }
};

TEST_F(DataSetLookupTest, TheSelectedDataSetIsCopiedWhole) {
    AddThreeDataSets();
    SelectFor(u8"tester", 1, 5);
    ASSERT_EQ(Connect(), core_result::kOk);

    DataSetLookup lookup;
    StDATAINFO info;
    std::memset(&info, 0xAA, sizeof info);
    ASSERT_TRUE(lookup.FindSelectedDataSet(&info));
    EXPECT_EQ(TextAt(&info, 0), "D0005");
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 16), 5);
    EXPECT_EQ(TextAt(&info, 24), "株式会社水楢");
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 284), 20170401);
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 288), 20180331);
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 304), 1);
    EXPECT_EQ(FieldAt<std::int16_t>(&info, 326), 3);
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 876), 0);
    // Bytes outside the fields were zeroed, not left from before.
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 1504), 0);

    // The manager is the data manager's shared one, kept for the next lookup,
    // and the walk's cursor was given back.
    auto* shared = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, ClDataMgr::kShared));
    EXPECT_EQ(lookup.DataSetManager(), shared);
    EXPECT_EQ(shared->OpenCursors(), 0);

    SelectFor(u8"tester", 1, 9);
    ASSERT_TRUE(lookup.FindSelectedDataSet(&info));
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 16), 9);
    EXPECT_EQ(lookup.DataSetManager(), shared);
    EXPECT_EQ(shared->OpenCursors(), 0);
}

TEST_F(DataSetLookupTest, NoMatchLeavesAZeroedRecord) {
    AddThreeDataSets();
    SelectFor(u8"tester", 5, 7);  // the first number is not the data set's
    ASSERT_EQ(Connect(), core_result::kOk);
    const UserSelection selection = UserSelection::Read();
    EXPECT_STREQ(selection.UserId, "tester");
    EXPECT_EQ(selection.SelectedNo1, 5);
    EXPECT_EQ(selection.SelectedNo2, 7);

    DataSetLookup lookup;
    StDATAINFO info;
    std::memset(&info, 0xAA, sizeof info);
    EXPECT_FALSE(lookup.FindSelectedDataSet(&info));
    EXPECT_TRUE(AllZero(info));
    ASSERT_NE(lookup.DataSetManager(), nullptr);
    EXPECT_EQ(lookup.DataSetManager()->OpenCursors(), 0);
}

TEST_F(DataSetLookupTest, WithoutOpenBooksTheCursorIsStillReleased) {
    AddThreeDataSets();
    SelectFor(u8"tester", 1, 5);
    // No Initiate: the walk cannot start.
    DataSetLookup lookup;
    StDATAINFO info;
    std::memset(&info, 0xAA, sizeof info);
    EXPECT_FALSE(lookup.FindSelectedDataSet(&info));
    EXPECT_TRUE(AllZero(info));
    ASSERT_NE(lookup.DataSetManager(), nullptr);
    EXPECT_EQ(lookup.DataSetManager()->OpenCursors(), 0);
}

}  // namespace
