#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Records of a CSV text in memory, as RFC 4180 writes them and as
// spreadsheets and accounting packages export them: fields separated by
// commas, a field in double quotes may hold commas, line breaks and doubled
// quotes. Lines end in CR LF, LF or a lone CR. A UTF-8 byte-order mark at the
// start is skipped, and empty lines are no records. Bytes are passed on as
// they are; what they mean is the caller's business.
class CsvReader {
public:
    struct Record {
        std::size_t line = 0;  // line on which the record starts, from 1
        std::vector<std::string> fields;
    };

    enum class Status { Record, End, Error };

    explicit CsvReader(std::string_view text);

    // The next record; after End or Error every further call gives End.
    Status Next(Record& record);

    // Where and why the text stopped being CSV, after Next gave Error.
    std::size_t ErrorLine() const { return errorLine_; }
    const std::string& ErrorReason() const { return errorReason_; }

private:
    bool AtLineBreak() const;
    void SkipLineBreak();
    bool ReadQuoted(std::string& field);
    bool ReadPlain(std::string& field);
    Status Fail(std::size_t line, std::string reason);

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    bool finished_ = false;
    std::size_t errorLine_ = 0;
    std::string errorReason_;
};
