#include "tools/mzn-books/MonthlyBalancesFile.h"

#include <array>
#include <optional>

#include "platform/PlainText.h"
#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/CsvReader.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/ImportColumns.h"
#include "tools/mzn-books/MessageTemplate.h"
#include "tools/mzn-books/Utf8Text.h"
#include "tools/mzn-books/YenAmount.h"

namespace {

using Column = ImportColumns::Column;

// The periods in the order of the year, as balances follow each other.
constexpr int kPeriodsInOrder[] = {0, 1, 2, 3, 4, 5, 6, 15, 7, 8, 9, 10, 11, 12, 18};

struct Layout {
    std::optional<std::size_t> code;
    std::optional<std::size_t> sub;
    std::array<std::optional<std::size_t>, 19> periods;  // by period code
    std::vector<std::string> header;
};

bool ReadHeader(const CsvReader::Record& record, MonthlyBalancesFile::Year year, Layout& layout,
                std::string& reason) {
    const ImportColumns::Positions columns(record.fields);
    layout.header = record.fields;
    layout.code = columns.Of(Column::Code);
    layout.sub = columns.Of(Column::Sub);
    layout.periods[0] = columns.Of(Column::Opening);
    layout.periods[15] = columns.Of(Column::Interim);
    layout.periods[18] = columns.Of(Column::Closing);
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        int calendarMonth = 0;
        int position = 0;
        if (!ImportColumns::FindMonth(record.fields[i], calendarMonth, position)) continue;
        if (calendarMonth != 0) position = (calendarMonth - year.firstMonth + 12) % 12 + 1;
        auto& column = layout.periods[static_cast<std::size_t>(position)];
        if (column) {
            reason = MessageTemplate::Fill("the columns %1 and %2 are both month %3 of the fiscal year",
                                           {AccountsFile::Quoted(record.fields[*column]),
                                            AccountsFile::Quoted(record.fields[i]), std::to_string(position)});
            return false;
        }
        column = i;
    }
    std::string missing;
    if (!layout.code) missing = "code";
    for (int position = 1; position <= year.months; ++position)
        if (!layout.periods[static_cast<std::size_t>(position)])
            missing += (missing.empty() ? "" : ",") + std::to_string(position);
    if (missing.empty()) return true;
    reason = MessageTemplate::Fill(
        Utf8Text::From(u8"the wide layout needs the columns code and the months of the year (4月 ... 3月, or 1 ... 12 "
                       u8"by position); missing: %1"),
        {missing});
    return false;
}

// Movement of a period on the account's side into the row's debit or credit.
void Book(std::int64_t movement, int side, BalancesFile::Row& row) {
    const bool debit = (movement > 0) == (side == AccountsFile::kDebit);
    const std::int64_t amount = movement < 0 ? -movement : movement;
    (debit ? row.debit : row.credit) = amount;
    row.debitIncl = row.debit;
    row.creditIncl = row.credit;
}

// The rows of one line; false (with the reason) when a cell is wrong.
bool ReadLine(const CsvReader::Record& record, const Layout& layout, int months, MonthlyBalancesFile::Amounts amounts,
              const MonthlyBalancesFile::SideOf& sideOf, std::vector<BalancesFile::Row>& rows, std::string& reason) {
    auto cell = [&record](std::optional<std::size_t> index) {
        return index && *index < record.fields.size() ? std::string_view(record.fields[*index]) : std::string_view();
    };
    std::int64_t code = 0;
    std::int64_t sub = 0;
    if (!AccountsFile::ReadAccount(cell(layout.code), cell(layout.sub), code, sub, reason)) return false;
    const int side = sideOf(code * 10000 + sub);
    std::int64_t before = 0;  // the balance before the period
    for (int period : kPeriodsInOrder) {
        const std::optional<std::size_t> index = layout.periods[static_cast<std::size_t>(period)];
        std::int64_t value = 0;
        const std::string_view text = cell(index);
        if (!PlainText::Trim(text, PlainText::kSpaceAndTab).empty()) {
            const YenAmount::Parsed parsed = YenAmount::Parse(text);
            if (!parsed.ok) {
                reason = MessageTemplate::Fill("%1: %2", {layout.header[*index], parsed.reason});
                return false;
            }
            value = parsed.tenThousandths;
        } else if (amounts == MonthlyBalancesFile::Amounts::Balance && (!index || (period > months && period <= 12))) {
            value = before;  // no column, or a blank month after the year: the balance stays
        }
        std::int64_t movement = value;
        if (amounts == MonthlyBalancesFile::Amounts::Balance && period != 0) movement = value - before;
        before = value;
        if (movement == 0) continue;
        BalancesFile::Row row;
        row.line = record.line;
        row.code = static_cast<std::int32_t>(code);
        row.sub = static_cast<std::int32_t>(sub);
        row.period = period;
        Book(movement, side, row);
        rows.push_back(row);
    }
    return true;
}

}  // namespace

std::vector<BalancesFile::Row> MonthlyBalancesFile::Parse(std::string_view text, const std::string& fileName,
                                                          Year year, Amounts amounts, const SideOf& sideOf,
                                                          Diagnostics& diagnostics) {
    std::vector<BalancesFile::Row> rows;
    CsvReader reader(text);
    CsvReader::Record record;
    CsvReader::Status status = reader.Next(record);
    Layout layout;
    std::string reason;
    if (status == CsvReader::Status::End) {
        diagnostics.Report(fileName, 1, "the file is empty; expected a header with the columns code and the months");
        return rows;
    }
    if (status == CsvReader::Status::Record) {
        if (!ReadHeader(record, year, layout, reason)) {
            diagnostics.Report(fileName, record.line, reason);
            return rows;
        }
        status = reader.Next(record);
    }
    for (; status == CsvReader::Status::Record; status = reader.Next(record)) {
        const bool noAccount = !layout.code || *layout.code >= record.fields.size() ||
                               PlainText::Trim(record.fields[*layout.code], PlainText::kSpaceAndTab).empty();
        if (noAccount) continue;
        if (!ReadLine(record, layout, year.months, amounts, sideOf, rows, reason))
            diagnostics.Report(fileName, record.line, reason);
    }
    if (status == CsvReader::Status::Error) diagnostics.Report(fileName, reader.ErrorLine(), reader.ErrorReason());
    return rows;
}
