#include "tools/mzn-books/CodeMap.h"

#include "platform/PlainText.h"
#include "tools/mzn-books/CsvField.h"
#include "tools/mzn-books/CsvReader.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/MessageTemplate.h"

namespace {

bool ReadCode(std::string_view field, std::int64_t& code) {
    return CsvField::ToInteger(field, 1, AccountsFile::kMaxCode, code);
}

}  // namespace

CodeMap CodeMap::Parse(std::string_view text, const std::string& fileName, Diagnostics& diagnostics) {
    CodeMap map;
    map.fileName_ = fileName;
    std::map<std::int32_t, std::size_t> standardLines;  // standard code -> line that names it
    CsvReader reader(text);
    CsvReader::Record record;
    CsvReader::Status status;
    while ((status = reader.Next(record)) == CsvReader::Status::Record) {
        std::int64_t own = 0;
        std::int64_t standard = 0;
        const bool twoCodes =
            record.fields.size() >= 2 && ReadCode(record.fields[0], own) && ReadCode(record.fields[1], standard);
        if (!twoCodes) {
            // A header names the columns: a first line whose first field is no number.
            std::int64_t number = 0;
            const bool header = record.line == 1 && !record.fields.empty() &&
                                !CsvField::ToInteger(record.fields[0], INT64_MIN / 2, INT64_MAX / 2, number);
            if (!header)
                diagnostics.Report(fileName, record.line,
                                   "expected two account codes from 1 to 214748: the own code and the standard code");
            continue;
        }
        const auto [ownEntry, newOwn] =
            map.codes_.emplace(static_cast<std::int32_t>(own), Entry{static_cast<std::int32_t>(standard), record.line});
        const auto [standardEntry, newStandard] =
            standardLines.emplace(static_cast<std::int32_t>(standard), record.line);
        if (!newOwn)
            diagnostics.Report(fileName, record.line,
                               MessageTemplate::Fill("the own code %1 is mapped twice (first on line %2)",
                                                     {std::to_string(own), std::to_string(ownEntry->second.line)}));
        else if (!newStandard)
            diagnostics.Report(
                fileName, record.line,
                MessageTemplate::Fill("the standard code %1 is given twice (first on line %2)",
                                      {std::to_string(standard), std::to_string(standardEntry->second)}));
    }
    if (status == CsvReader::Status::Error) diagnostics.Report(fileName, reader.ErrorLine(), reader.ErrorReason());
    return map;
}

std::int32_t CodeMap::Renumbered(std::int32_t code) const {
    const auto entry = codes_.find(code);
    return entry == codes_.end() ? code : entry->second.standard;
}

void CodeMap::Apply(std::vector<AccountsFile::Row>& accounts, const std::string& accountsFile,
                    std::vector<BalancesFile::Row>& balances, Diagnostics& diagnostics) const {
    struct Taker {
        std::int32_t own = 0;
        std::size_t line = 0;
    };
    std::map<std::int64_t, Taker> taken;  // renumbered stored code -> the account that has it
    for (AccountsFile::Row& account : accounts) {
        const std::int32_t own = account.code;
        account.code = Renumbered(own);
        const auto [other, fresh] = taken.emplace(account.StoredCode(), Taker{own, account.line});
        if (fresh || account.sub != 0) continue;
        diagnostics.Report(
            accountsFile, account.line,
            MessageTemplate::Fill("account %1 and account %2 (line %3) both become account %4 with %5",
                                  {std::to_string(own), std::to_string(other->second.own),
                                   std::to_string(other->second.line), std::to_string(account.code), fileName_}));
    }
    for (BalancesFile::Row& row : balances) row.code = Renumbered(row.code);
}
