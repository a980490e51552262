// The CSV reader under the import: fields as RFC 4180 writes them, and the line numbers the import's messages name.

#include <gtest/gtest.h>

#include <string>

#include "tools/mzn-books/CsvReader.h"

namespace {

// Every record as "line:field|field", records joined by " / "; then "!line reason" when the text stops being CSV.
std::string ReadAll(std::string_view text) {
    CsvReader reader(text);
    CsvReader::Record record;
    std::string read;
    CsvReader::Status status;
    while ((status = reader.Next(record)) == CsvReader::Status::Record) {
        read += (read.empty() ? "" : " / ") + std::to_string(record.line) + ":";
        for (std::size_t i = 0; i < record.fields.size(); ++i) read += (i == 0 ? "" : "|") + record.fields[i];
    }
    if (status == CsvReader::Status::Error)
        read += " !" + std::to_string(reader.ErrorLine()) + " " + reader.ErrorReason();
    EXPECT_EQ(reader.Next(record), CsvReader::Status::End) << "a finished reader stays finished";
    return read;
}

TEST(CsvReaderTest, RecordsFieldsAndLines) {
    const std::pair<std::string_view, std::string> cases[] = {
        {"a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",,\"\"\n", "1:a|b,c|say \"hi\" / 2:two\r\nlines||"},
        // CR LF, LF and a lone CR end a line; blank lines are skipped but counted; the byte-order mark is no text.
        {"\xEF\xBB\xBFh1,h2\r\n\r\nx,\"multi\nline\"\ny\rz\n\n\nlast",
         "1:h1|h2 / 3:x|multi\nline / 5:y / 6:z / 9:last"},
        {"", ""},
        {"\r\n\n", ""},
        {"a,\n,", "1:a| / 2:|"},
        {"\"\"", "1:"},
        {"a,b\nc,\"open\n\nstill open", "1:a|b !2 the quoted field that starts on line 2 is not closed"},
        {"a\n\"x\"y,z\n", "1:a !2 text follows the closing quote of a field"},
        {"a\nb\nab\"c\n", "1:a / 2:b !3 a quote inside a field that does not start with one"},
        {"\"a\"\r\n\"b\"\r", "1:a / 2:b"},
    };
    for (const auto& [text, read] : cases) EXPECT_EQ(ReadAll(text), read) << text;
}

}  // namespace
