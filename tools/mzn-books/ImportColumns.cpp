#include "tools/mzn-books/ImportColumns.h"

#include <algorithm>

#include "platform/PlainText.h"
#include "tools/mzn-books/CsvField.h"
#include "tools/mzn-books/MessageTemplate.h"
#include "tools/mzn-books/Utf8Text.h"

namespace {

using Column = ImportColumns::Column;
using N = std::u8string_view;

constexpr N kCode[] = {u8"code", u8"コード", u8"科目コード", u8"勘定科目コード"};
constexpr N kSub[] = {u8"sub", u8"補助", u8"補助コード", u8"補助科目コード"};
constexpr N kName[] = {u8"name", u8"科目名", u8"勘定科目名", u8"科目名称", u8"名称"};
constexpr N kClassCode[] = {u8"class_code", u8"区分", u8"決算書区分", u8"表示区分", u8"分類コード"};
constexpr N kSide[] = {u8"side", u8"貸借", u8"貸借区分", u8"正残区分"};
constexpr N kFlag110[] = {u8"flag110", u8"不使用"};
constexpr N kFlag112[] = {u8"flag112", u8"見出し"};
constexpr N kPeriod[] = {u8"period", u8"期間", u8"月"};
constexpr N kDebit[] = {u8"debit", u8"借方", u8"借方金額"};
constexpr N kCredit[] = {u8"credit", u8"貸方", u8"貸方金額"};
constexpr N kDebitIncl[] = {u8"debit_incl", u8"借方税込", u8"借方(税込)", u8"借方（税込）"};
constexpr N kCreditIncl[] = {u8"credit_incl", u8"貸方税込", u8"貸方(税込)", u8"貸方（税込）"};
constexpr N kOpening[] = {u8"opening", u8"前期繰越", u8"期首残高", u8"開始残高"};
constexpr N kInterim[] = {u8"interim", u8"中間決算整理"};
constexpr N kClosing[] = {u8"closing", u8"決算整理"};

constexpr ImportColumns::Names kTable[] = {
    {Column::Code, kCode},           {Column::Sub, kSub},
    {Column::Name, kName},           {Column::ClassCode, kClassCode},
    {Column::Side, kSide},           {Column::Flag110, kFlag110},
    {Column::Flag112, kFlag112},     {Column::Period, kPeriod},
    {Column::Debit, kDebit},         {Column::Credit, kCredit},
    {Column::DebitIncl, kDebitIncl}, {Column::CreditIncl, kCreditIncl},
    {Column::Opening, kOpening},     {Column::Interim, kInterim},
    {Column::Closing, kClosing},
};
// EnglishName looks a column up by its place.
static_assert(std::size(kTable) == static_cast<std::size_t>(Column::Closing) + 1);

constexpr std::string_view kEnglishMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                               "jul", "aug", "sep", "oct", "nov", "dec"};

// The field without the blanks around it, ideographic spaces included.
std::string_view Bare(std::string_view field) {
    static const std::string kIdeographicSpace = "\xE3\x80\x80";
    for (;;) {
        field = PlainText::Trim(field, PlainText::kSpaceAndTab);
        if (field.starts_with(kIdeographicSpace))
            field.remove_prefix(kIdeographicSpace.size());
        else if (field.ends_with(kIdeographicSpace))
            field.remove_suffix(kIdeographicSpace.size());
        else
            return field;
    }
}

// Full-width digits (U+FF10 to U+FF19, EF BC 90 to EF BC 99) as ASCII ones.
std::string AsciiDigits(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "\xEF\xBC" && i + 2 < text.size() && static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(text[i + 2]) <= 0x99) {
            result += static_cast<char>('0' + (static_cast<unsigned char>(text[i + 2]) - 0x90));
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

std::span<const ImportColumns::Names> ImportColumns::Table() {
    return kTable;
}

std::string_view ImportColumns::EnglishName(Column column) {
    const N name = kTable[static_cast<int>(column)].names.front();
    return std::string_view(reinterpret_cast<const char*>(name.data()), name.size());
}

std::optional<ImportColumns::Column> ImportColumns::Find(std::string_view field) {
    field = Bare(field);
    for (const Names& entry : kTable)
        for (N name : entry.names)
            if (PlainText::EqualIgnoringCase(field, Utf8Text::From(name))) return entry.column;
    return std::nullopt;
}

bool ImportColumns::FindMonth(std::string_view field, int& calendarMonth, int& position) {
    calendarMonth = 0;
    position = 0;
    const std::string text = AsciiDigits(Bare(field));
    const std::string monthMark = Utf8Text::From(u8"月");
    std::int64_t number = 0;
    if (text.ends_with(monthMark) &&
        CsvField::ToInteger(std::string_view(text).substr(0, text.size() - monthMark.size()), 1, 12, number)) {
        calendarMonth = static_cast<int>(number);
        return true;
    }
    for (std::size_t i = 0; i < std::size(kEnglishMonths); ++i) {
        if (PlainText::EqualIgnoringCase(text, kEnglishMonths[i])) {
            calendarMonth = static_cast<int>(i) + 1;
            return true;
        }
    }
    if (!text.empty() && text.front() != '-' && CsvField::ToInteger(text, 1, 12, number)) {
        position = static_cast<int>(number);
        return true;
    }
    return false;
}

ImportColumns::Positions::Positions(const std::vector<std::string>& header) {
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::optional<Column> column = Find(header[i]);
        if (!column) continue;
        any_ = true;
        auto& index = index_[static_cast<int>(*column)];
        if (!index) index = i;
    }
}

std::optional<std::size_t> ImportColumns::Positions::Of(Column column) const {
    return index_[static_cast<int>(column)];
}

std::string ImportColumns::Positions::Missing(std::span<const Column> required) const {
    std::string missing;
    for (Column column : required)
        if (!Of(column)) missing += (missing.empty() ? "" : ",") + std::string(EnglishName(column));
    return missing;
}

std::size_t ImportColumns::Positions::FieldsNeeded(std::span<const Column> required) const {
    std::size_t needed = 0;
    for (Column column : required)
        if (Of(column)) needed = std::max(needed, *Of(column) + 1);
    return needed;
}

std::string_view ImportColumns::Positions::Field(const std::vector<std::string>& fields, Column column) const {
    const std::optional<std::size_t> index = Of(column);
    if (!index || *index >= fields.size()) return std::string_view();
    return fields[*index];
}

bool ImportColumns::Positions::Read(const std::vector<std::string>& header, std::span<const Column> required,
                                    std::string_view englishHeader, Positions& columns, std::string& reason) {
    columns = Positions(header);
    const std::string missing = columns.Missing(required);
    if (missing.empty()) return true;
    reason = MessageTemplate::Fill("expected the header %1 (or the Japanese names of docs/books-formats.md); "
                                   "no column for %2",
                                   {std::string(englishHeader), missing});
    return false;
}
