// The column names of the import files: the table of docs/books-formats.md is the program's, and month columns
// are read by calendar month or by position.

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"
#include "tools/mzn-books/ImportColumns.h"

namespace {

TEST(ImportColumnsTest, TheDocumentedNamesAreTheAcceptedOnes) {
    const std::string doc = testfiles::ReadFile(std::string(MZN_SOURCE_DIR) + "/docs/books-formats.md");
    for (const ImportColumns::Names& entry : ImportColumns::Table()) {
        std::string row = "\n| " + std::string(ImportColumns::EnglishName(entry.column)) + " | ";
        for (std::u8string_view name : entry.names) {
            row += "`" + testfiles::Utf8(name) + "`" + (name == entry.names.back() ? " |\n" : ", ");
            EXPECT_EQ(ImportColumns::Find(" " + testfiles::Utf8(name) + "\t"), entry.column) << row;
        }
        EXPECT_NE(doc.find(row), std::string::npos) << row;
    }
    EXPECT_EQ(ImportColumns::Find("CLASS_CODE"), ImportColumns::Column::ClassCode);
    EXPECT_EQ(ImportColumns::Find(testfiles::Utf8(u8"\u3000科目名\u3000")), ImportColumns::Column::Name);
    EXPECT_EQ(ImportColumns::Find(testfiles::Utf8(u8"合計")), std::nullopt);
}

TEST(ImportColumnsTest, MonthsAreCalendarMonthsOrPositions) {
    const std::tuple<std::u8string_view, bool, int, int> cases[] = {
        // header, a month column, calendar month, position
        {u8"4月", true, 4, 0}, {u8"１２月", true, 12, 0}, {u8" Apr ", true, 4, 0}, {u8"dec", true, 12, 0},
        {u8"1", true, 0, 1},   {u8"12", true, 0, 12},     {u8"13", false, 0, 0},   {u8"0", false, 0, 0},
        {u8"-1", false, 0, 0}, {u8"13月", false, 0, 0},   {u8"月", false, 0, 0},   {u8"April", false, 0, 0},
    };
    for (const auto& [header, month, calendar, position] : cases) {
        int calendarMonth = -1;
        int fiscalPosition = -1;
        EXPECT_EQ(ImportColumns::FindMonth(testfiles::Utf8(header), calendarMonth, fiscalPosition), month);
        if (month) {
            EXPECT_EQ(calendarMonth, calendar);
            EXPECT_EQ(fiscalPosition, position);
        }
    }
}

}  // namespace
