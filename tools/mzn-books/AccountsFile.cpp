#include "tools/mzn-books/AccountsFile.h"

#include <map>
#include <optional>

#include "platform/PlainText.h"
#include "platform/TextCodec.h"
#include "tools/mzn-books/CsvField.h"
#include "tools/mzn-books/CsvReader.h"
#include "tools/mzn-books/Diagnostics.h"

namespace {

constexpr std::size_t kRequiredFields = 5;

struct Columns {
    std::optional<std::size_t> flag110;
    std::optional<std::size_t> flag112;
};

// The header: the five names in order, then whatever the exporting program
// adds.
bool ReadHeader(const CsvReader::Record& header, Columns& columns) {
    static constexpr std::string_view kNames[kRequiredFields] = {"code", "sub", "name", "class_code", "side"};
    if (!CsvField::StartsWithNames(header.fields, kNames)) return false;
    for (std::size_t i = kRequiredFields; i < header.fields.size(); ++i) {
        std::string_view name = PlainText::Trim(header.fields[i], PlainText::kSpaceAndTab);
        if (PlainText::EqualIgnoringCase(name, "flag110") && !columns.flag110) columns.flag110 = i;
        if (PlainText::EqualIgnoringCase(name, "flag112") && !columns.flag112) columns.flag112 = i;
    }
    return true;
}

// A flag column: empty, 0 or 1.
bool ReadFlag(const CsvReader::Record& record, std::optional<std::size_t> column, int& flag) {
    flag = 0;
    if (!column || *column >= record.fields.size()) return true;
    std::string_view text = PlainText::Trim(record.fields[*column], PlainText::kSpaceAndTab);
    if (text.empty()) return true;
    std::int64_t value = 0;
    if (!CsvField::ToInteger(text, 0, 1, value)) return false;
    flag = static_cast<int>(value);
    return true;
}

// One data line into row; false (with the reason) when a field is wrong.
bool ReadRow(const CsvReader::Record& record, const Columns& columns, AccountsFile::Row& row, std::string& reason) {
    if (record.fields.size() < kRequiredFields) {
        reason =
            "expected at least 5 fields (code,sub,name,class_code,side), found " + std::to_string(record.fields.size());
        return false;
    }
    const auto& f = record.fields;
    std::int64_t code = 0;
    std::int64_t sub = 0;
    if (!AccountsFile::ReadAccount(f, code, sub, reason)) return false;
    if (code * 10000 + sub > AccountsFile::kMaxStoredCode) {
        reason = "account " + AccountsFile::Label(code, sub) + " is beyond the largest account code (214748 sub 3647)";
        return false;
    }
    reason = AccountsFile::NameProblem(f[2]);
    if (!reason.empty()) return false;
    std::uint32_t classCode = 0;
    if (!CsvField::ToHex32(f[3], classCode)) {
        reason = "the class code must be 1 to 8 hexadecimal digits without a prefix, not " + AccountsFile::Quoted(f[3]);
        return false;
    }
    const std::string_view side = PlainText::Trim(f[4], PlainText::kSpaceAndTab);
    if (!PlainText::EqualIgnoringCase(side, "debit") && !PlainText::EqualIgnoringCase(side, "credit")) {
        reason = "the side must be debit or credit, not " + AccountsFile::Quoted(f[4]);
        return false;
    }
    if (!ReadFlag(record, columns.flag110, row.flag110)) {
        reason = "flag110 must be 0 or 1, not " + AccountsFile::Quoted(f[*columns.flag110]);
        return false;
    }
    if (!ReadFlag(record, columns.flag112, row.flag112)) {
        reason = "flag112 must be 0 or 1, not " + AccountsFile::Quoted(f[*columns.flag112]);
        return false;
    }
    row.line = record.line;
    row.code = static_cast<std::int32_t>(code);
    row.sub = static_cast<std::int32_t>(sub);
    row.name = f[2];
    row.classCode = classCode;
    row.side = PlainText::EqualIgnoringCase(side, "debit") ? AccountsFile::kDebit : AccountsFile::kCredit;
    return true;
}

std::string Hex(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return text;
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
        } else if (main->second->classCode != row.classCode) {
            diagnostics.Report(fileName, row.line,
                               "sub-account " + label + " has class code " + Hex(row.classCode) +
                                   ", its main account (line " + std::to_string(main->second->line) + ") " +
                                   Hex(main->second->classCode));
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
    Columns columns;
    if (status == CsvReader::Status::End) {
        diagnostics.Report(fileName, 1, "the file is empty; expected the header " + std::string(kHeader));
        return rows;
    }
    if (status == CsvReader::Status::Record && !ReadHeader(record, columns)) {
        diagnostics.Report(fileName, record.line, "expected the header " + std::string(kHeader));
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

bool AccountsFile::ReadAccount(const std::vector<std::string>& f, std::int64_t& code, std::int64_t& sub,
                               std::string& reason) {
    if (!CsvField::ToInteger(f[0], 1, kMaxCode, code)) {
        reason = "the account code must be a number from 1 to 214748, not " + Quoted(f[0]);
        return false;
    }
    sub = 0;
    if (!PlainText::Trim(f[1], PlainText::kSpaceAndTab).empty() && !CsvField::ToInteger(f[1], 0, kMaxSub, sub)) {
        reason = "the sub-account number must be 0 (a main account) or 1 to 9999, not " + Quoted(f[1]);
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
