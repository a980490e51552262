#include <gtest/gtest.h>

#include <cstring>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StSHOHIZEIINFO.h"
#include "tests/support/BooksFixture.h"

namespace {

namespace cr = core_result;

class ClSetShohizeiTest : public BooksFixture {
protected:
    void SetUp() override {
        BooksFixture::SetUp();
        AddDataSet(1, "EXCL", u8"税抜経理", 20170401, 20180331, 0, 1, 1, 0);
        AddDataSet(2, "INCL", u8"税込経理", 20170401, 20180331, 0, 1, 1, 1);
        SetCurrentUser(u8"tester");
        SelectFor(u8"tester", 0, 2);
    }
    ClSetShohizei* Tax() {
        return static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kShohizei, 1));
    }
    // Byte 5 of a record filled for a data ID; the result in result.
    int TaxIncludedOf(const char* dataId, int& result) {
        ClSetShohizei* tax = Tax();
        EXPECT_EQ(tax->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), cr::kOk);
        tax->SetCurDataID(dataId);
        unsigned char record[12];
        std::memset(record, 0xAA, sizeof record);
        result = tax->Get(reinterpret_cast<StSHOHIZEIINFO*>(record));
        int nonZeroElsewhere = 0;
        for (int i = 0; i < 12; ++i) nonZeroElsewhere += i != 5 && record[i] != 0;
        EXPECT_EQ(nonZeroElsewhere, 0);
        return record[5];
    }
};

TEST_F(ClSetShohizeiTest, Byte5SaysWhetherTheBooksAreKeptWithTaxIncluded) {
    ASSERT_EQ(Connect(), cr::kOk);
    int result = -1;
    EXPECT_EQ(TaxIncludedOf("INCL", result), 1);
    EXPECT_EQ(result, cr::kOk);
    EXPECT_EQ(TaxIncludedOf("EXCL", result), 0);
    EXPECT_EQ(result, cr::kOk);
    EXPECT_EQ(TaxIncludedOf(nullptr, result), 1);  // the selected data set
    EXPECT_EQ(result, cr::kOk);
    EXPECT_EQ(TaxIncludedOf("NONE", result), 0);
    EXPECT_EQ(result, cr::kNoDataSet);
    EXPECT_EQ(Tax()->Get(nullptr), cr::kBadArgument);
}

TEST_F(ClSetShohizeiTest, TheForcedResultLeavesTheRecordZeroed) {
    AddFault("ClSetShohizei::Get", 3);
    ASSERT_EQ(Connect(), cr::kOk);
    int result = -1;
    EXPECT_EQ(TaxIncludedOf("INCL", result), 0);
    EXPECT_EQ(result, 3);
}

}  // namespace
