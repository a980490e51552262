#include "tools/mzn-books/AccountsFile.h"

#include <algorithm>
#include <map>
#include <optional>

#include "platform/PlainText.h"
#include "platform/TextCodec.h"
#include "tools/mzn-books/CsvField.h"
#include "tools/mzn-books/CsvReader.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/ImportColumns.h"
#include "tools/mzn-books/MessageTemplate.h"
#include "tools/mzn-books/Utf8Text.h"

namespace {

using Column = ImportColumns::Column;

// The columns a chart must have; sub, flag110 and flag112 may be missing.
constexpr Column kRequired[] = {Column::Code, Column::Name, Column::ClassCode, Column::Side};

// A flag column: empty, 0 or 1.
bool ReadFlag(std::string_view text, int& flag) {
    flag = 0;
    text = PlainText::Trim(text, PlainText::kSpaceAndTab);
    if (text.empty()) return true;
    std::int64_t value = 0;
    if (!CsvField::ToInteger(text, 0, 1, value)) return false;
    flag = static_cast<int>(value);
    return true;
}

// The side in English or as Japanese books write it (借方, 貸方).
bool ReadSide(std::string_view text, int& side) {
    text = PlainText::Trim(text, PlainText::kSpaceAndTab);
    if (PlainText::EqualIgnoringCase(text, "debit") || text == Utf8Text::From(u8"借方")) {
        side = AccountsFile::kDebit;
        return true;
    }
    if (PlainText::EqualIgnoringCase(text, "credit") || text == Utf8Text::From(u8"貸方")) {
        side = AccountsFile::kCredit;
        return true;
    }
    return false;
}

// A class code in hexadecimal, or else the name of a section of the
// statements, which the importer looks up in the books.
bool ReadClass(std::string_view text, AccountsFile::Row& row, std::string& reason) {
    if (CsvField::ToHex32(text, row.classCode)) return true;
    const std::string_view name = PlainText::Trim(text, PlainText::kSpaceAndTab);
    const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; });
    if (name.empty() || ascii) {
        reason = MessageTemplate::Fill("the class code must be 1 to 8 hexadecimal digits (with or without 0x) or "
                                       "the name of a section, not %1",
                                       {AccountsFile::Quoted(text)});
        return false;
    }
    row.section.assign(name);
    return true;
}

// One data line into row; false (with the reason) when a field is wrong.
bool ReadRow(const CsvReader::Record& record, const ImportColumns::Positions& columns, AccountsFile::Row& row,
             std::string& reason) {
    const std::size_t needed = columns.FieldsNeeded(kRequired);
    if (record.fields.size() < needed) {
        reason = MessageTemplate::Fill("expected at least %1 fields, found %2",
                                       {std::to_string(needed), std::to_string(record.fields.size())});
        return false;
    }
    std::int64_t code = 0;
    std::int64_t sub = 0;
    if (!AccountsFile::ReadAccount(columns.Field(record.fields, Column::Code), columns.Field(record.fields, Column::Sub), code,
                                   sub, reason))
        return false;
    if (code * 10000 + sub > AccountsFile::kMaxStoredCode) {
        reason = "account " + AccountsFile::Label(code, sub) + " is beyond the largest account code (214748 sub 3647)";
        return false;
    }
    const std::string_view name = columns.Field(record.fields, Column::Name);
    reason = AccountsFile::NameProblem(name);
    if (!reason.empty()) return false;
    if (!ReadClass(columns.Field(record.fields, Column::ClassCode), row, reason)) return false;
    if (!ReadSide(columns.Field(record.fields, Column::Side), row.side)) {
        reason = MessageTemplate::Fill(Utf8Text::From(u8"the side must be debit or credit (借方 or 貸方), not %1"),
                                       {AccountsFile::Quoted(columns.Field(record.fields, Column::Side))});
        return false;
    }
    for (auto [column, flag] : {std::pair{Column::Flag110, &row.flag110}, {Column::Flag112, &row.flag112}}) {
        if (ReadFlag(columns.Field(record.fields, column), *flag)) continue;
        reason = MessageTemplate::Fill("%1 must be 0 or 1, not %2",
                                       {std::string(ImportColumns::EnglishName(column)),
                                        AccountsFile::Quoted(columns.Field(record.fields, column))});
        return false;
    }
    row.line = record.line;
    row.code = static_cast<std::int32_t>(code);
    row.sub = static_cast<std::int32_t>(sub);
    row.name = name;
    return true;
}

std::string Hex(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return text;
}

std::string ClassText(const AccountsFile::Row& row) {
    return row.section.empty() ? Hex(row.classCode) : row.section;
}

// Sub-accounts belong to a main account of the same file, whose class and
// side they share: their amounts are part of the main account's.
void CheckSubAccounts(const std::vector<AccountsFile::Row>& rows, const std::string& fileName,
                      Diagnostics& diagnostics) {
    std::map<std::int32_t, const AccountsFile::Row*> mains;
    for (const auto& row : rows)
        if (row.sub == 0) mains.emplace(row.code, &row);
    for (const auto& row : rows) {
        if (row.sub == 0) continue;
        const std::string label = AccountsFile::Label(row.code, row.sub);
        auto main = mains.find(row.code);
        if (main == mains.end()) {
            diagnostics.Report(
                fileName, row.line,
                "sub-account " + label + " has no main account " + std::to_string(row.code) + " in this file");
        } else if (main->second->classCode != row.classCode || main->second->section != row.section) {
            diagnostics.Report(fileName, row.line,
                               "sub-account " + label + " has class code " + ClassText(row) +
                                   ", its main account (line " + std::to_string(main->second->line) + ") " +
                                   ClassText(*main->second));
        } else if (main->second->side != row.side) {
            diagnostics.Report(fileName, row.line,
                               "sub-account " + label + " is kept on the other side than its main account (line " +
                                   std::to_string(main->second->line) + ")");
        }
    }
}

}  // namespace

std::vector<AccountsFile::Row> AccountsFile::Parse(std::string_view text, const std::string& fileName,
                                                   Diagnostics& diagnostics) {
    std::vector<Row> rows;
    CsvReader reader(text);
    CsvReader::Record record;
    CsvReader::Status status = reader.Next(record);
    ImportColumns::Positions columns({});
    if (status == CsvReader::Status::End) {
        diagnostics.Report(fileName, 1, "the file is empty; expected the header " + std::string(kHeader));
        return rows;
    }
    std::string reason;
    if (status == CsvReader::Status::Record &&
        !ImportColumns::Positions::Read(record.fields, kRequired, kHeader, columns, reason)) {
        diagnostics.Report(fileName, record.line, reason);
        return rows;
    }
    std::map<std::int64_t, std::size_t> firstLine;  // stored code -> line
    if (status == CsvReader::Status::Record) status = reader.Next(record);
    for (; status == CsvReader::Status::Record; status = reader.Next(record)) {
        Row row;
        std::string reason;
        if (!ReadRow(record, columns, row, reason)) {
            diagnostics.Report(fileName, record.line, reason);
            continue;
        }
        auto [seen, inserted] = firstLine.emplace(row.StoredCode(), row.line);
        if (!inserted) {
            diagnostics.Report(fileName, row.line,
                               "account " + Label(row.code, row.sub) + " is listed twice (first on line " +
                                   std::to_string(seen->second) + ")");
            continue;
        }
        rows.push_back(std::move(row));
    }
    if (status == CsvReader::Status::Error) diagnostics.Report(fileName, reader.ErrorLine(), reader.ErrorReason());
    CheckSubAccounts(rows, fileName, diagnostics);
    return rows;
}

bool AccountsFile::ReadAccount(std::string_view codeField, std::string_view subField, std::int64_t& code,
                               std::int64_t& sub, std::string& reason) {
    if (!CsvField::ToInteger(codeField, 1, kMaxCode, code)) {
        reason = "the account code must be a number from 1 to 214748, not " + Quoted(codeField);
        return false;
    }
    sub = 0;
    const bool subGiven = !PlainText::Trim(subField, PlainText::kSpaceAndTab).empty();
    if (subGiven && !CsvField::ToInteger(subField, 0, kMaxSub, sub)) {
        reason = "the sub-account number must be 0 (a main account) or 1 to 9999, not " + Quoted(subField);
        return false;
    }
    return true;
}

std::string AccountsFile::Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string AccountsFile::Label(std::int64_t code, std::int64_t sub) {
    return sub == 0 ? std::to_string(code) : std::to_string(code) + " (sub " + std::to_string(sub) + ")";
}

std::string AccountsFile::NameProblem(std::string_view utf8) {
    if (PlainText::Trim(utf8, PlainText::kSpaceAndTab).empty()) return "the account name is empty";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return "the account name contains a control character";
    }
    const auto cp932 = TextCodec::Utf8ToCp932(utf8, TextCodec::Invalid::Fail);
    if (!cp932.ok)
        return "the account name " + AccountsFile::Quoted(utf8) + " is not UTF-8 or has a character without a code page 932 form";
    if (cp932.text.size() > kMaxNameBytes)
        return "the account name " + AccountsFile::Quoted(utf8) + " is " + std::to_string(cp932.text.size()) +
               " bytes in code page 932; at most 50 fit";
    return std::string();
}
