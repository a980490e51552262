#include "app/ReportPreview.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/TextCodec.h"
#include "report/AccountKey.h"
#include "report/ReportAmount.h"
#include "report/ReportChecks.h"
#include "report/TargetVersion.h"
#include "wizard/ItemControls.h"

namespace {

constexpr int kMonths = 12;

// What each total key gives its item, in the words of the statements.
struct TotalName {
    const char* key;
    const char* name;
};
constexpr TotalName kTotalNames[] = {
    {AccountKey::kUriageDaka, "売上高"},
    {AccountKey::kUriageGenka, "売上原価"},
    {AccountKey::kUriageSouRieki, "売上総利益"},
    {AccountKey::kEigyouSoneki, "営業利益"},
    {AccountKey::kTokubetuRieki, "特別利益"},
    {AccountKey::kTokubetuSonsitu, "特別損失"},
    {AccountKey::kZeibikimae, "税引前当期純利益"},
    {AccountKey::kSisan, "資産の部合計"},
    {AccountKey::kFusai, "負債の部合計"},
    {AccountKey::kSihon, "純資産の部合計"},
    {AccountKey::kSoreigai, "資産の部合計のうち上の資産の項目の残り"},
    {AccountKey::kSonotaFusai, "負債の部合計のうち上の負債の項目の残り"},
};

int CalendarMonth(int startMonth, int position) {
    const int month = startMonth + position - 1;
    return month > kMonths ? month - kMonths : month;
}

// Code page 932 text padded with blanks to a display width; a double-byte
// character takes two columns, as many as its bytes.
std::string PadRight(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}
std::string PadLeft(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string CsvField(const std::string& cp932) {
    const std::string text = TextCodec::Cp932ToUtf8(cp932, TextCodec::Invalid::Replace).text;
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// One column of a table: its heading, its cells and its alignment.
struct Column {
    std::string heading;
    std::vector<std::string> cells;
    bool right = false;
};

// Columns separated by two blanks, each as wide as its widest text;
// trailing blanks dropped.
std::string Render(const std::vector<Column>& columns) {
    std::vector<std::size_t> widths;
    for (const Column& column : columns) {
        std::size_t width = column.heading.size();
        for (const std::string& cell : column.cells) width = std::max(width, cell.size());
        widths.push_back(width);
    }
    std::string text;
    const std::size_t rows = columns.empty() ? 0 : columns.front().cells.size();
    for (std::size_t row = 0; row <= rows; ++row) {
        std::string line;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::string& cell = row == 0 ? columns[c].heading : columns[c].cells[row - 1];
            if (c != 0) line += "  ";
            line += columns[c].right ? PadLeft(cell, widths[c]) : PadRight(cell, widths[c]);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}

// A table of items: number, caption, optionally amount, and the sources,
// the second and later sources on lines of their own.
std::string ItemTable(const std::vector<const ReportItem*>& items, const ReportPreview::Inputs& inputs,
                      const std::vector<std::vector<std::string>>& sources, bool withAmount) {
    Column number{"番号", {}, true};
    Column caption{"項目", {}, false};
    Column amount{"金額（円）", {}, true};
    Column fed{"集計する科目", {}, false};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::vector<std::string>& from = sources[i];
        for (std::size_t s = 0; s < std::max<std::size_t>(from.size(), 1); ++s) {
            number.cells.push_back(s == 0 ? std::to_string(items[i]->ItemNo) : "");
            caption.cells.push_back(s == 0 ? ItemControls::PageCaption(*items[i], inputs.ug30, inputs.netAssetsCaption)
                                           : "");
            amount.cells.push_back(s == 0 ? ReportAmount::Text(items[i]->Amounts[0]) : "");
            fed.cells.push_back(from.empty() ? "なし" : from[s]);
        }
    }
    if (withAmount) return Render({number, caption, amount, fed});
    return Render({number, caption, fed});
}

}  // namespace

std::vector<std::string> ReportPreview::Sources(const Inputs& inputs, int itemNo) {
    std::vector<std::string> sources;
    for (const auto& entry : inputs.mapping) {
        if (entry->ItemNo != itemNo) continue;
        const std::string_view key(entry->AccountKey, strnlen(entry->AccountKey, sizeof entry->AccountKey));
        if (const WalkedAccounts::Account* account = inputs.accounts.Find(key)) {
            sources.push_back(WalkedAccounts::CodeText(account->code) + " " + account->name);
            continue;
        }
        for (const TotalName& total : kTotalNames)
            if (AccountKey::Equal(entry->AccountKey, total.key)) sources.push_back(std::string("（合計）") + total.name);
    }
    return sources;
}

std::string ReportPreview::Table(const Inputs& inputs, const std::vector<std::string>& warnings) {
    const int base = TargetVersion::MonthlyItemBase(inputs.ug30);
    std::vector<const ReportItem*> main;
    std::vector<const ReportItem*> monthly;
    std::vector<std::vector<std::string>> mainSources;
    std::vector<std::vector<std::string>> monthlySources;
    for (const auto& item : inputs.items) {
        if (!ReportChecks::IsReported(*item)) continue;
        (item->ItemNo < base ? main : monthly).push_back(item.get());
        (item->ItemNo < base ? mainSources : monthlySources).push_back(Sources(inputs, item->ItemNo));
    }

    std::string text = inputs.heading + "\n（プレビューです。報告書は書き出していません。）\n\n【主要科目】\n";
    text += ItemTable(main, inputs, mainSources, true);

    text += "\n【月別売上等】（円）\n";
    std::vector<Column> columns{{"月", {}, false}};
    for (int k = 1; k <= kMonths; ++k) columns[0].cells.push_back(std::to_string(CalendarMonth(inputs.startMonth, k)) + "月");
    for (const ReportItem* item : monthly) {
        Column column{ItemControls::PageCaption(*item, inputs.ug30, inputs.netAssetsCaption), {}, true};
        for (int k = 1; k <= kMonths; ++k) column.cells.push_back(ReportAmount::Text(item->Amounts[k]));
        columns.push_back(std::move(column));
    }
    text += Render(columns);
    text += "\n【月別売上等の項目を集計する科目】\n";
    text += ItemTable(monthly, inputs, monthlySources, false);

    text += "\n【確認事項】\n";
    if (warnings.empty()) text += "確認が必要な点はありません。\n";
    for (const std::string& warning : warnings) text += "・" + warning + "\n";
    return text;
}

std::string ReportPreview::Csv(const Inputs& inputs) {
    const int base = TargetVersion::MonthlyItemBase(inputs.ug30);
    std::string csv = "item,caption,month,amount,accounts\r\n";
    for (const auto& item : inputs.items) {
        if (!ReportChecks::IsReported(*item)) continue;
        std::string sources;
        for (const std::string& source : Sources(inputs, item->ItemNo)) sources += (sources.empty() ? "" : " / ") + source;
        const std::string prefix = std::to_string(item->ItemNo) + "," +
                                   CsvField(ItemControls::PageCaption(*item, inputs.ug30, inputs.netAssetsCaption)) + ",";
        if (item->ItemNo < base) {
            csv += prefix + "," + ReportAmount::Text(item->Amounts[0]) + "," + CsvField(sources) + "\r\n";
            continue;
        }
        for (int k = 1; k <= kMonths; ++k)
            csv += prefix + std::to_string(CalendarMonth(inputs.startMonth, k)) + "," +
                   ReportAmount::Text(item->Amounts[k]) + "," + CsvField(sources) + "\r\n";
    }
    return csv;
}
