#include "tools/mzn-books/BalancesFile.h"

#include "platform/PlainText.h"
#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/CsvField.h"
#include "tools/mzn-books/CsvReader.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/ImportColumns.h"
#include "tools/mzn-books/MessageTemplate.h"
#include "tools/mzn-books/YenAmount.h"

namespace {

using Column = ImportColumns::Column;

// The columns every line needs; sub and the tax-included amounts may be
// missing.
constexpr Column kRequired[] = {Column::Code, Column::Period, Column::Debit, Column::Credit};

// The columns the header names; the reason when a required one is missing,
// with a hint when the header is that of the wide layout.
bool ReadHeader(const CsvReader::Record& header, ImportColumns::Positions& columns, std::string& reason) {
    if (ImportColumns::Positions::Read(header.fields, kRequired, BalancesFile::kHeader, columns, reason)) return true;
    int calendarMonth = 0;
    int position = 0;
    for (const std::string& field : header.fields)
        if (ImportColumns::FindMonth(field, calendarMonth, position) && calendarMonth != 0) {
            reason += "; a trial balance with a column per month needs --layout monthly";
            break;
        }
    return false;
}

// An amount field; empty gives fallback.
bool ReadAmount(std::string_view field, Column column, std::int64_t fallback, std::int64_t& amount,
                std::string& reason) {
    if (PlainText::Trim(field, PlainText::kSpaceAndTab).empty()) {
        amount = fallback;
        return true;
    }
    YenAmount::Parsed parsed = YenAmount::Parse(field);
    if (!parsed.ok) {
        reason = std::string(ImportColumns::EnglishName(column)) + ": " + parsed.reason;
        return false;
    }
    amount = parsed.tenThousandths;
    return true;
}

bool ReadRow(const CsvReader::Record& record, const ImportColumns::Positions& columns, BalancesFile::Row& row,
             std::string& reason) {
    const auto& f = record.fields;
    const std::size_t needed = columns.FieldsNeeded(kRequired);
    if (f.size() < needed) {
        reason = MessageTemplate::Fill("expected at least %1 fields, found %2",
                                       {std::to_string(needed), std::to_string(f.size())});
        return false;
    }
    std::int64_t code = 0;
    std::int64_t sub = 0;
    if (!AccountsFile::ReadAccount(columns.Field(f, Column::Code), columns.Field(f, Column::Sub), code, sub,
                                   reason))
        return false;
    std::int64_t period = -1;
    const std::string_view periodField = columns.Field(f, Column::Period);
    if (!CsvField::ToInteger(periodField, 0, 18, period) || !BalancesFile::IsPeriod(period)) {
        reason =
            "the period must be 0 (opening), 1 to 12 (month of the fiscal year), 15 (interim closing) or "
            "18 (closing adjustments), not " +
            AccountsFile::Quoted(periodField);
        return false;
    }
    if (!ReadAmount(columns.Field(f, Column::Debit), Column::Debit, 0, row.debit, reason) ||
        !ReadAmount(columns.Field(f, Column::Credit), Column::Credit, 0, row.credit, reason) ||
        !ReadAmount(columns.Field(f, Column::DebitIncl), Column::DebitIncl, row.debit, row.debitIncl, reason) ||
        !ReadAmount(columns.Field(f, Column::CreditIncl), Column::CreditIncl, row.credit, row.creditIncl, reason))
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
    ImportColumns::Positions columns({});
    std::string reason;
    if (status == CsvReader::Status::Record) {
        if (!ReadHeader(record, columns, reason)) {
            diagnostics.Report(fileName, record.line, reason);
            return rows;
        }
        status = reader.Next(record);
    }
    for (; status == CsvReader::Status::Record; status = reader.Next(record)) {
        Row row;
        if (ReadRow(record, columns, row, reason))
            rows.push_back(row);
        else
            diagnostics.Report(fileName, record.line, reason);
    }
    if (status == CsvReader::Status::Error) diagnostics.Report(fileName, reader.ErrorLine(), reader.ErrorReason());
    return rows;
}
