// mzn-books' CSV reader and the two file readers on any bytes: what they accept obeys the formats.

#include "platform/TextCodec.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/BalancesFile.h"
#include "tools/mzn-books/CsvReader.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/YenAmount.h"

MZN_FUZZ_TARGET(input) {
    const std::string_view text = input.Text();
    const std::size_t size = input.Size();
    std::size_t lines = 1, previousLine = 0, fieldBytes = 0;
    for (std::size_t i = 0; i < size; ++i)  // the lines a reader counts: LF, CR LF or CR ends one
        lines += text[i] == '\n' || (text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n'));
    CsvReader reader(text);
    CsvReader::Record record;
    CsvReader::Status status;
    while ((status = reader.Next(record)) == CsvReader::Status::Record) {
        for (const std::string& field : record.fields) fieldBytes += field.size();
        Require(record.line > previousLine && record.line <= lines && !record.fields.empty() && fieldBytes <= size,
                "a record out of its lines, or more field bytes than input");
        previousLine = record.line;
    }
    const bool errorLine = reader.ErrorLine() >= 1 && reader.ErrorLine() <= lines && !reader.ErrorReason().empty();
    Require(status == CsvReader::Status::End || (errorLine && reader.Next(record) == CsvReader::Status::End),
            "an error without its line and reason, or records behind it");

    Diagnostics accountsDiagnostics, balancesDiagnostics;
    for (const AccountsFile::Row& row : AccountsFile::Parse(text, "a.csv", accountsDiagnostics)) {
        const auto name = TextCodec::Utf8ToCp932(row.name);
        Require(row.line >= 2 && row.code >= 1 && row.code <= AccountsFile::kMaxCode && row.sub >= 0 &&
                    row.sub <= AccountsFile::kMaxSub && row.StoredCode() <= AccountsFile::kMaxStoredCode &&
                    (row.side == AccountsFile::kDebit || row.side == AccountsFile::kCredit) &&
                    (row.flag110 == 0 || row.flag110 == 1) && (row.flag112 == 0 || row.flag112 == 1) && name.ok &&
                    !name.text.empty() && name.text.size() <= AccountsFile::kMaxNameBytes,
                "an account outside the format");
    }
    for (const BalancesFile::Row& row : BalancesFile::Parse(text, "b.csv", balancesDiagnostics)) {
        for (std::int64_t amount : {row.debit, row.credit, row.debitIncl, row.creditIncl})
            Require(row.line >= 2 && BalancesFile::IsPeriod(row.period) && amount > -YenAmount::kLimit &&
                        amount < YenAmount::kLimit, "a balance outside the format");
    }
    const YenAmount::Parsed amount = YenAmount::Parse(text.substr(0, 40));
    const YenAmount::Parsed again = amount.ok ? YenAmount::Parse(YenAmount::Format(amount.tenThousandths)) : amount;
    Require(again.ok == amount.ok && again.tenThousandths == amount.tenThousandths, "an amount changes when read back");
}
