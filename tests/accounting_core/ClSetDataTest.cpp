#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "tests/support/BooksFixture.h"

namespace {

namespace cr = core_result;

class ClSetDataTest : public BooksFixture {
protected:
    ClSetData* DataSets() {
        return static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
    }
};

// Bytes of the record outside the fields the system reads.
int NonZeroReservedBytes(const StDATAINFO& info) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
    auto inField = [](std::size_t at) {
        return at < 20 || (at >= 24 && at < 284) || (at >= 284 && at < 292) || (at >= 304 && at < 308) || at == 326 || at == 327 ||
               at == 876;
    };
    int count = 0;
    for (std::size_t at = 0; at < sizeof info; ++at) count += !inField(at) && bytes[at] != 0;
    return count;
}

int NonZeroBytes(const StDATAINFO& info) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
    int count = 0;
    for (std::size_t at = 0; at < sizeof info; ++at) count += bytes[at] != 0;
    return count;
}

TEST_F(ClSetDataTest, SelectedInfoFillsEveryFieldAtItsOffset) {
    AddDataSet(1, "OTHER", u8"別会社", 20160101, 20161231);
    AddDataSet(27, "D0027", u8"株式会社水楢", 20170401, 20180331, 1, 3, 0, 1);
    SetCurrentUser(u8"tester");
    SelectFor(u8"tester", 5, 27);
    ASSERT_EQ(Connect(), cr::kOk);

    StDATAINFO info;
    std::memset(&info, 0xAA, sizeof info);
    ASSERT_EQ(DataSets()->GetSelectedInfo(&info), cr::kOk);
    EXPECT_EQ(TextAt(&info, 0), "D0027");
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 16), 27);
    EXPECT_EQ(TextAt(&info, 24), "株式会社水楢");
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 284), 20170401);
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 288), 20180331);
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 304), 1);
    EXPECT_EQ(FieldAt<std::int16_t>(&info, 326), 3);
    EXPECT_EQ(FieldAt<std::uint8_t>(&info, 876), 0);
    EXPECT_EQ(NonZeroReservedBytes(info), 0);
}

TEST_F(ClSetDataTest, ALongNameIsCutOnACharacterBoundary) {
    std::u8string name;
    for (int i = 0; i < 200; ++i) name += u8"楢";
    AddDataSet(1, "D1", name.c_str(), 20170401, 20180331, 0, 99);
    SetCurrentUser(u8"tester");
    SelectFor(u8"tester", 0, 1);
    ASSERT_EQ(Connect(), cr::kOk);
    StDATAINFO info;
    ASSERT_EQ(DataSets()->GetSelectedInfo(&info), cr::kOk);
    std::string expected;
    for (int i = 0; i < 129; ++i) expected += "楢";  // 258 of the 259 bytes
    EXPECT_EQ(TextAt(&info, 24), expected);
    EXPECT_EQ(FieldAt<std::int16_t>(&info, 326), 99);
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 284), 20170401);
}

TEST_F(ClSetDataTest, NoSelectionGivesAZeroedRecord) {
    AddDataSet(1, "D1", u8"a", 20170401, 20180331);
    SetCurrentUser(u8"tester");
    StDATAINFO info;
    EXPECT_EQ(DataSets()->GetSelectedInfo(&info), cr::kNotConnected);
    ASSERT_EQ(Connect(), cr::kOk);

    std::memset(&info, 0xAA, sizeof info);
    EXPECT_EQ(DataSets()->GetSelectedInfo(&info), cr::kNoDataSet);  // no users row
    EXPECT_EQ(NonZeroBytes(info), 0);

    SelectFor(u8"tester", 0, 9);  // a data set that does not exist
    std::memset(&info, 0xAA, sizeof info);
    EXPECT_EQ(DataSets()->GetSelectedInfo(&info), cr::kNoDataSet);
    EXPECT_EQ(NonZeroBytes(info), 0);
    EXPECT_EQ(DataSets()->GetSelectedInfo(nullptr), cr::kBadArgument);
}

TEST_F(ClSetDataTest, WalkDeliversEveryDataSetInNumberOrder) {
    AddDataSet(30, "C", u8"三", 20190101, 20191231);
    AddDataSet(2, "A", u8"一", 20170401, 20180331);
    AddDataSet(11, "B", u8"二", 20180401, 20190331);
    ASSERT_EQ(Connect(), cr::kOk);

    ClSetData* sets = DataSets();
    SetCursor* cursor = sets->GetDatCursor();
    StDATAINFO info;
    EXPECT_EQ(sets->WalkDat(&info, cursor), cr::kNotReady);
    EXPECT_EQ(sets->ReadyDat(cursor, 1), cr::kBadArgument);
    ASSERT_EQ(sets->ReadyDat(cursor, 0), cr::kOk);
    std::vector<std::int32_t> numbers;
    std::vector<std::string> names;
    while (sets->WalkDat(&info, cursor) == cr::kOk) {
        numbers.push_back(FieldAt<std::int32_t>(&info, 16));
        names.push_back(TextAt(&info, 24));
    }
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{2, 11, 30}));
    EXPECT_EQ(names, (std::vector<std::string>{"一", "二", "三"}));
    // The end stays the end: SQLite would otherwise start the walk again.
    EXPECT_EQ(sets->WalkDat(&info, cursor), cr::kEndOfSet);
    EXPECT_EQ(sets->WalkDat(&info, cursor), cr::kEndOfSet);

    ASSERT_EQ(sets->ReadyDat(cursor, 0), cr::kOk);  // readied again, it starts over
    ASSERT_EQ(sets->WalkDat(&info, cursor), cr::kOk);
    EXPECT_EQ(FieldAt<std::int32_t>(&info, 16), 2);
    EXPECT_EQ(sets->ReleaseDatCursor(cursor), cr::kOk);
    EXPECT_EQ(sets->OpenCursors(), 0);
}

TEST_F(ClSetDataTest, CursorIsReleasedAfterAnEarlyStop) {
    AddDataSet(1, "A", u8"一", 20170401, 20180331);
    AddDataSet(2, "B", u8"二", 20180401, 20190331);
    ASSERT_EQ(Connect(), cr::kOk);
    ClSetData* sets = DataSets();
    SetCursor* first = sets->GetDatCursor();
    SetCursor* second = sets->GetDatCursor();
    EXPECT_EQ(sets->OpenCursors(), 2);
    StDATAINFO info;
    ASSERT_EQ(sets->ReadyDat(first, 0), cr::kOk);
    ASSERT_EQ(sets->WalkDat(&info, first), cr::kOk);  // stops after one record
    EXPECT_EQ(sets->ReleaseDatCursor(first), cr::kOk);
    EXPECT_EQ(sets->OpenCursors(), 1);
    EXPECT_EQ(sets->ReleaseDatCursor(first), cr::kBadArgument);  // already released
    EXPECT_EQ(sets->ReleaseDatCursor(nullptr), cr::kBadArgument);

    auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1));
    SetCursor* foreign = accounts->GetCursor();
    EXPECT_EQ(sets->ReadyDat(foreign, 0), cr::kBadArgument);
    EXPECT_EQ(sets->ReleaseDatCursor(foreign), cr::kBadArgument);
    EXPECT_EQ(accounts->ReleaseCursor(foreign), cr::kOk);
    EXPECT_EQ(sets->ReleaseDatCursor(second), cr::kOk);
    EXPECT_EQ(sets->OpenCursors(), 0);
}

TEST_F(ClSetDataTest, DataManagerHandsOutTheSharedSetObjects) {
    ClDataMgr* manager = ClDataMgr::Inst();
    EXPECT_NE(dynamic_cast<ClSetKamoku*>(manager->GetSetObject(1, 1)), nullptr);
    EXPECT_NE(dynamic_cast<ClSetShohizei*>(manager->GetSetObject(4, 1)), nullptr);
    EXPECT_NE(dynamic_cast<ClSetData*>(manager->GetSetObject(5, 1)), nullptr);
    EXPECT_EQ(manager->GetSetObject(5, 1), manager->GetSetObject(5, 1));
    EXPECT_EQ(manager->GetSetObject(2, 1), nullptr);
    EXPECT_EQ(manager->GetSetObject(5, 0), nullptr);
    EXPECT_NE(manager->GetSetMgr(), nullptr);
    EXPECT_NE(manager->GetSysUserObject(), nullptr);
    EXPECT_EQ(ClDataMgr::Inst(), manager);
}

}  // namespace
