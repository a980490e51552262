#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUSUMINFO.h"
#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"
#include "tests/support/CoreSession.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

// Fresh books under a temporary MZN_ROOT for every test, filled with SQL,
// and a clean accounting core: the connection, the data manager and the
// folder manager are released after each test.
class BooksFixture : public ::testing::Test {
public:
    // The data manager's shared set objects.
    static ClSetKamoku* Accounts();
    static ClSetData* DataSets();
    static ClSetShohizei* TaxSettings();

    // The summation walk the aggregation makes (MoveReady, GetSumCount, SetMovePos(0), MoveNext to the end,
    // MoveFinish) on the selected data set or that of dataId, every step checked; the records.
    static std::vector<StKAMOKUSUMINFO> SummaryWalk(const std::vector<StFINDINFO>& criteria,
                                                    const char* dataId = nullptr);
    // A record as one line of text, the form of the goldens under tests/data: "A" (an account) or "T" (a total line),
    // code, class code, side (D or C), then for each slot with sums "slot:debit/credit" in yen tax excluded,
    // followed by "(debit/credit)" tax included where that differs. A leading "?" marks flags or an identifier that
    // do not fit the kind of record (an account's identifier as mzn-books makes it: "MZNA", the code big-endian).
    static std::string SummaryLine(const StKAMOKUSUMINFO& record);
    static std::vector<std::string> SummaryLines(const std::vector<StKAMOKUSUMINFO>& records);
    // The lines of a golden file under tests/data, without its comment lines (those starting with "#").
    static std::vector<std::string> GoldenLines(const std::string& relative);

protected:
    void SetUp() override;
    void TearDown() override;

    BooksDatabase& Db() { return db_; }
    // Runs SQL on the fixture's own connection to the books; fails the test
    // when it fails.
    void Sql(const std::string& sql);

    void AddDataSet(int number, const std::string& dataId, const char8_t* name, int start, int end,
                    int interim = 0, int introMonth = 1, int netAssets = 1, int taxIncluded = 0);
    void SelectFor(const char8_t* userId, int selectedNo1, int selectedNo2);
    // Names the current user in the books' settings.
    void SetCurrentUser(const char8_t* userId);
    // parent 0: a top line.
    void AddClassLine(std::uint32_t code, std::uint32_t parent, const char8_t* name, int side, bool isTotal,
                      int ordinal);
    void AddAccount(int dataSet, int seed, int code, const char8_t* name, std::uint32_t classCode, int side,
                    int flag110 = 0, int flag112 = 0);
    void AddSums(int dataSet, int seed, int period, std::int64_t debit, std::int64_t credit, std::int64_t debitIncl,
                 std::int64_t creditIncl);
    void AddFault(const std::string& call, int result, int after = 0);

    // Data set 1 ("D0001", 2017-04-01 to 2018-03-31) selected by user
    // "tester", who is the books' current user.
    void AddSelectedDataSet();
    // Initiate of the connection; the result.
    int Connect();
    // The small books of tests/data imported by the real mzn-books as data set 1, selected, and connected.
    void ConnectToSmallBooks();
    // Application folder type 0 (reports) or 1 (conditions), a Windows path in UTF-8.
    void SetAppFolder(int type, const std::string& utf8Path);


    // The identifier of the account made with this seed.
    static std::array<std::uint8_t, 16> AccountId(int seed);

    TempRoot root_;
    BooksDatabase db_;
};

// A field of a record read at its byte offset, as the link program reads it.
template <typename T>
T FieldAt(const void* record, std::size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

inline std::string TextAt(const void* record, std::size_t offset) {
    return std::string(static_cast<const char*>(record) + offset);
}

inline std::string U8(const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); }

// Find or summation criteria as callers pass them: one entry per (field, comparison, value type, value, link).
inline std::vector<StFINDINFO> FindEntries(std::initializer_list<std::array<std::int32_t, 5>> entries) {
    std::vector<StFINDINFO> criteria;
    for (const auto& [field, comparison, valueType, value, link] : entries) {
        StFINDINFO entry{};
        entry.FieldCode = field;
        entry.Comparison = static_cast<std::int16_t>(comparison);
        entry.ValueType = static_cast<std::int16_t>(valueType);
        entry.Value = value;
        entry.Link = static_cast<std::int16_t>(link);
        criteria.push_back(entry);
    }
    return criteria;
}
