#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StSHOHIZEIINFO.h"
#include "tests/support/BooksFixture.h"

namespace {

namespace cr = core_result;

using ClSetShohizeiTest = BooksFixture;

// Byte 5 says whether the data set keeps its books with tax included; every other byte is zeroed.
TEST_F(ClSetShohizeiTest, Byte5SaysWhetherTheBooksAreKeptWithTaxIncluded) {
    AddDataSet(1, "EXCL", u8"税抜経理", 20170401, 20180331, 0, 1, 1, 0);
    AddDataSet(2, "INCL", u8"税込経理", 20170401, 20180331, 0, 1, 1, 1);
    SetCurrentUser(u8"tester");
    SelectFor(u8"tester", 0, 2);
    ASSERT_EQ(Connect(), cr::kOk);
    auto* tax = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kShohizei, 1));
    // data ID (null: the selected data set), result, byte 5
    for (auto [dataId, result, byte5] : {std::tuple{"INCL", cr::kOk, 1}, {"EXCL", cr::kOk, 0}, {nullptr, cr::kOk, 1},
                                         {"NONE", cr::kNoDataSet, 0}}) {
        tax->SetCurDataID(dataId);
        unsigned char record[sizeof(StSHOHIZEIINFO)];
        std::memset(record, 0xAA, sizeof record);
        EXPECT_EQ(tax->Get(reinterpret_cast<StSHOHIZEIINFO*>(record)), result);
        const unsigned char expected[sizeof record] = {0, 0, 0, 0, 0, static_cast<unsigned char>(byte5)};
        EXPECT_EQ(std::memcmp(record, expected, sizeof record), 0) << (dataId ? dataId : "selected");
    }
    EXPECT_EQ(tax->Get(nullptr), cr::kBadArgument);
}

}  // namespace
