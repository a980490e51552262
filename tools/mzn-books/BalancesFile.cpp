#include "tools/mzn-books/BalancesFile.h"

#include "platform/PlainText.h"
#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/CsvField.h"
#include "tools/mzn-books/CsvReader.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/YenAmount.h"

namespace {

constexpr std::size_t kHeaderFields = 7;
// A line may stop after credit: the tax-included amounts are then those of
// the line.
constexpr std::size_t kRequiredFields = 5;

bool ReadHeader(const CsvReader::Record& header) {
    static constexpr std::string_view kNames[kHeaderFields] = {"code",   "sub",        "period",     "debit",
                                                               "credit", "debit_incl", "credit_incl"};
    return CsvField::StartsWithNames(header.fields, kNames);
}

// An amount field; empty gives fallback.
bool ReadAmount(const std::vector<std::string>& fields, std::size_t index, const char* column, std::int64_t fallback,
                std::int64_t& amount, std::string& reason) {
    if (index >= fields.size() || PlainText::Trim(fields[index], PlainText::kSpaceAndTab).empty()) {
        amount = fallback;
        return true;
    }
    YenAmount::Parsed parsed = YenAmount::Parse(fields[index]);
    if (!parsed.ok) {
        reason = std::string(column) + ": " + parsed.reason;
        return false;
    }
    amount = parsed.tenThousandths;
    return true;
}

bool ReadRow(const CsvReader::Record& record, BalancesFile::Row& row, std::string& reason) {
    const auto& f = record.fields;
    if (f.size() < kRequiredFields) {
        reason = "expected at least 5 fields (code,sub,period,debit,credit), found " + std::to_string(f.size());
        return false;
    }
    std::int64_t code = 0;
    std::int64_t sub = 0;
    if (!AccountsFile::ReadAccount(f, code, sub, reason)) return false;
    std::int64_t period = -1;
    if (!CsvField::ToInteger(f[2], 0, 18, period) || !BalancesFile::IsPeriod(period)) {
        reason =
            "the period must be 0 (opening), 1 to 12 (month of the fiscal year), 15 (interim closing) or "
            "18 (closing adjustments), not " +
            AccountsFile::Quoted(f[2]);
        return false;
    }
    if (!ReadAmount(f, 3, "debit", 0, row.debit, reason) || !ReadAmount(f, 4, "credit", 0, row.credit, reason) ||
        !ReadAmount(f, 5, "debit_incl", row.debit, row.debitIncl, reason) ||
        !ReadAmount(f, 6, "credit_incl", row.credit, row.creditIncl, reason))
        return false;
    row.line = record.line;
    row.code = static_cast<std::int32_t>(code);
    row.sub = static_cast<std::int32_t>(sub);
    row.period = static_cast<int>(period);
    return true;
}

}  // namespace

std::vector<BalancesFile::Row> BalancesFile::Parse(std::string_view text, const std::string& fileName,
                                                   Diagnostics& diagnostics) {
    std::vector<Row> rows;
    CsvReader reader(text);
    CsvReader::Record record;
    CsvReader::Status status = reader.Next(record);
    if (status == CsvReader::Status::End) {
        diagnostics.Report(fileName, 1, "the file is empty; expected the header " + std::string(kHeader));
        return rows;
    }
    if (status == CsvReader::Status::Record) {
        if (!ReadHeader(record)) {
            diagnostics.Report(fileName, record.line, "expected the header " + std::string(kHeader));
            return rows;
        }
        status = reader.Next(record);
    }
    for (; status == CsvReader::Status::Record; status = reader.Next(record)) {
        Row row;
        std::string reason;
        if (ReadRow(record, row, reason))
            rows.push_back(row);
        else
            diagnostics.Report(fileName, record.line, reason);
    }
    if (status == CsvReader::Status::Error) diagnostics.Report(fileName, reader.ErrorLine(), reader.ErrorReason());
    return rows;
}
