// The CSV reader under the import: fields as RFC 4180 writes them, and the
// line numbers that the import's messages name.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/mzn-books/CsvReader.h"

namespace {

struct Read {
    std::vector<CsvReader::Record> records;
    bool failed = false;
    std::size_t errorLine = 0;
    std::string reason;
};

Read ReadAll(std::string_view text) {
    Read read;
    CsvReader reader(text);
    CsvReader::Record record;
    for (;;) {
        CsvReader::Status status = reader.Next(record);
        if (status == CsvReader::Status::Record) {
            read.records.push_back(record);
            continue;
        }
        if (status == CsvReader::Status::Error) {
            read.failed = true;
            read.errorLine = reader.ErrorLine();
            read.reason = reader.ErrorReason();
        }
        EXPECT_EQ(reader.Next(record), CsvReader::Status::End) << "a finished reader stays finished";
        return read;
    }
}

using Fields = std::vector<std::string>;

TEST(CsvReaderTest, QuotedFieldsKeepCommasQuotesAndLineBreaks) {
    Read read = ReadAll("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",,\"\"\n");
    ASSERT_FALSE(read.failed) << read.reason;
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0].fields, (Fields{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(read.records[1].fields, (Fields{"two\r\nlines", "", ""}));
}

TEST(CsvReaderTest, RecordsCarryTheLineTheyStartOn) {
    // CR LF, LF and a lone CR each end a line; blank lines are skipped but
    // counted, and a quoted line break moves the count on.
    Read read = ReadAll("\xEF\xBB\xBFh1,h2\r\n\r\nx,\"multi\nline\"\ny\rz\n\n\nlast");
    ASSERT_FALSE(read.failed) << read.reason;
    ASSERT_EQ(read.records.size(), 5u);
    EXPECT_EQ(read.records[0].fields, (Fields{"h1", "h2"})) << "the byte-order mark is not part of the first field";
    EXPECT_EQ(read.records[0].line, 1u);
    EXPECT_EQ(read.records[1].line, 3u);
    EXPECT_EQ(read.records[2].line, 5u);
    EXPECT_EQ(read.records[3].line, 6u);
    EXPECT_EQ(read.records[4].line, 9u);
    EXPECT_EQ(read.records[4].fields, (Fields{"last"}));
}

TEST(CsvReaderTest, EmptyTextAndTrailingCommas) {
    EXPECT_TRUE(ReadAll("").records.empty());
    EXPECT_TRUE(ReadAll("\r\n\n").records.empty());
    Read read = ReadAll("a,\n,");
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0].fields, (Fields{"a", ""}));
    EXPECT_EQ(read.records[1].fields, (Fields{"", ""}));
}

TEST(CsvReaderTest, MalformedQuotingStopsWithTheLine) {
    Read unclosed = ReadAll("a,b\nc,\"open\n\nstill open");
    EXPECT_TRUE(unclosed.failed);
    EXPECT_EQ(unclosed.errorLine, 2u) << "the line where the quoted field starts";
    EXPECT_EQ(unclosed.records.size(), 1u);

    Read trailing = ReadAll("a\n\"x\"y,z\n");
    EXPECT_TRUE(trailing.failed);
    EXPECT_EQ(trailing.errorLine, 2u);
    EXPECT_NE(trailing.reason.find("closing quote"), std::string::npos) << trailing.reason;

    Read bare = ReadAll("a\nb\nab\"c\n");
    EXPECT_TRUE(bare.failed);
    EXPECT_EQ(bare.errorLine, 3u);
}

}  // namespace
