// The import files of mzn-books come from other programs and from people:
// the CSV reader and the two file readers on top of it must take any bytes
// without reading or writing outside them, and what they accept must obey
// the formats' rules.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"
#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/BalancesFile.h"
#include "tools/mzn-books/CsvReader.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/YenAmount.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::size_t LineCount(std::string_view text) {
    std::size_t lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++lines;
    }
    return lines;
}

void FuzzReader(std::string_view text) {
    const std::size_t lines = LineCount(text);
    CsvReader reader(text);
    CsvReader::Record record;
    std::size_t previousLine = 0;
    std::size_t fieldBytes = 0;
    for (;;) {
        const CsvReader::Status status = reader.Next(record);
        if (status == CsvReader::Status::End) break;
        if (status == CsvReader::Status::Error) {
            Check(reader.ErrorLine() >= 1 && reader.ErrorLine() <= lines);
            Check(!reader.ErrorReason().empty());
            Check(reader.Next(record) == CsvReader::Status::End);
            break;
        }
        Check(record.line > previousLine && record.line <= lines);
        Check(!record.fields.empty());
        previousLine = record.line;
        for (const std::string& field : record.fields) fieldBytes += field.size();
        Check(fieldBytes <= text.size());
    }
}

void FuzzAccounts(std::string_view text) {
    Diagnostics diagnostics;
    for (const AccountsFile::Row& row : AccountsFile::Parse(text, "a.csv", diagnostics)) {
        Check(row.line >= 2);
        Check(row.code >= 1 && row.code <= AccountsFile::kMaxCode && row.sub >= 0 && row.sub <= AccountsFile::kMaxSub);
        Check(row.StoredCode() <= AccountsFile::kMaxStoredCode);
        Check(row.side == AccountsFile::kDebit || row.side == AccountsFile::kCredit);
        Check((row.flag110 == 0 || row.flag110 == 1) && (row.flag112 == 0 || row.flag112 == 1));
        const auto cp932 = TextCodec::Utf8ToCp932(row.name);
        Check(cp932.ok && !cp932.text.empty() && cp932.text.size() <= AccountsFile::kMaxNameBytes);
    }
}

void FuzzBalances(std::string_view text) {
    Diagnostics diagnostics;
    for (const BalancesFile::Row& row : BalancesFile::Parse(text, "b.csv", diagnostics)) {
        Check(row.line >= 2 && BalancesFile::IsPeriod(row.period));
        for (std::int64_t amount : {row.debit, row.credit, row.debitIncl, row.creditIncl})
            Check(amount > -YenAmount::kLimit && amount < YenAmount::kLimit);
    }
}

void FuzzAmount(std::string_view text) {
    const YenAmount::Parsed parsed = YenAmount::Parse(text.substr(0, 40));
    if (!parsed.ok) return;
    const YenAmount::Parsed again = YenAmount::Parse(YenAmount::Format(parsed.tenThousandths));
    Check(again.ok && again.tenThousandths == parsed.tenThousandths);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FuzzReader(text);
    FuzzAccounts(text);
    FuzzBalances(text);
    FuzzAmount(text);
    return 0;
}
