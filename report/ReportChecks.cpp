#include "report/ReportChecks.h"

#include <cstring>
#include <map>
#include <set>
#include <string_view>

#include "report/AccountKey.h"
#include "report/BalanceSheetTotals.h"
#include "report/ReportAmount.h"

namespace {

std::string_view KeyOf(const MappedAccount& entry) {
    return {entry.AccountKey, strnlen(entry.AccountKey, sizeof entry.AccountKey)};
}

const ReportItem* FindItem(const ItemList& items, int itemNo) {
    for (const auto& item : items)
        if (item->ItemNo == itemNo) return item.get();
    return nullptr;
}

// 「項目 22「現金預金」」 as the messages name an item.
std::string ItemText(const ReportItem& item) {
    return "項目 " + std::to_string(item.ItemNo) + "「" +
           std::string(item.Caption, strnlen(item.Caption, sizeof item.Caption)) + "」";
}

std::string AccountText(const WalkedAccounts::Account& account) {
    return "科目 " + WalkedAccounts::CodeText(account.code) + " " + account.name;
}

std::string Yen(std::int64_t yen) { return ReportAmount::Grouped(yen) + "円"; }

}  // namespace

bool ReportChecks::IsReported(const ReportItem& item) {
    const std::string_view caption(item.Caption, strnlen(item.Caption, sizeof item.Caption));
    const std::string_view tag(item.TagName, strnlen(item.TagName, sizeof item.TagName));
    return caption != "-" && tag.find('-') == std::string_view::npos;
}

std::vector<std::string> ReportChecks::Warnings(const Inputs& inputs) {
    std::vector<std::string> warnings;
    CheckChart(inputs, warnings);
    CheckBalanceSheet(inputs, warnings);
    if (inputs.taxIncluded && !inputs.accounts.TaxViewsDiffer())
        warnings.push_back(
            "税込みで集計しましたが、この会計データの税込金額はすべて税抜金額と同じです（消費税の経理方式と「税込みで集計する。」の設定を確認してください）。");
    CheckItemSources(inputs, warnings);
    CheckTwiceNamed(inputs, warnings);
    CheckUnmapped(inputs, warnings);
    return warnings;
}

// The default mapping is written for the standard chart: when most of the
// accounts it names are not in the books, the books number their accounts
// otherwise and nearly every item stays empty.
void ReportChecks::CheckChart(const Inputs& inputs, std::vector<std::string>& warnings) {
    std::set<std::int32_t> named;
    for (std::int32_t code : inputs.defaultCodes) named.insert(code < 10000 ? code * 10000 : code);
    std::size_t missing = 0;
    for (std::int32_t code : named)
        if (inputs.accounts.FindCode(code) == nullptr) ++missing;
    if (named.empty() || missing * 2 <= named.size()) return;
    warnings.push_back("この会計データの勘定科目は標準の科目体系と異なります（既定の集計先の科目 " +
                       std::to_string(named.size()) + " 件のうち " + std::to_string(missing) +
                       " 件がありません）。「主要科目」「月別売上等」ページの項目のボタンで集計する科目を指定してください（科目の区分は docs/class-codes.md を参照）。");
}

// On the report, as it writes the amounts: assets = liabilities + capital.
void ReportChecks::CheckBalanceSheet(const Inputs& inputs, std::vector<std::string>& warnings) {
    const ReportItem* assets = FindItem(inputs.items, BalanceSheetTotals::AssetsItem(inputs.ug30));
    const ReportItem* liabilities = FindItem(inputs.items, BalanceSheetTotals::LiabilitiesItem(inputs.ug30));
    const ReportItem* capital = FindItem(inputs.items, BalanceSheetTotals::CapitalItem(inputs.ug30));
    if (assets == nullptr || liabilities == nullptr || capital == nullptr) return;
    const std::int64_t left = ReportAmount::WrittenYen(assets->Amounts[0]);
    const std::int64_t right =
        ReportAmount::WrittenYen(liabilities->Amounts[0]) + ReportAmount::WrittenYen(capital->Amounts[0]);
    if (left == right) return;
    warnings.push_back(std::string(BalanceSheetTotals::kAssetsCaption) + " " + Yen(left) + " が " +
                       BalanceSheetTotals::kLiabilitiesCaption + " + " +
                       BalanceSheetTotals::CapitalCaption(inputs.netAssetsCaption) + " " + Yen(right) +
                       " と一致しません（差額 " + Yen(left - right) + "）。");
}

// An item fed by neither an account of the books nor a total is left empty.
void ReportChecks::CheckItemSources(const Inputs& inputs, std::vector<std::string>& warnings) {
    for (const auto& item : inputs.items) {
        if (!IsReported(*item)) continue;
        bool fed = false;
        for (const auto& entry : inputs.mapping) {
            if (entry->ItemNo != item->ItemNo) continue;
            if (AccountKey::IsTotalKey(entry->AccountKey) || inputs.accounts.Find(KeyOf(*entry)) != nullptr) {
                fed = true;
                break;
            }
        }
        if (!fed) warnings.push_back(ItemText(*item) + "に集計する科目も合計もありません（報告書では空欄になります）。");
    }
}

// A key named twice, or a main account beside one of its sub-accounts (whose
// amounts the main account already holds), adds the same amount twice.
void ReportChecks::CheckTwiceNamed(const Inputs& inputs, std::vector<std::string>& warnings) {
    for (const auto& item : inputs.items) {
        if (!IsReported(*item)) continue;
        std::set<std::string_view> keys;
        std::set<std::int32_t> codes;
        std::vector<const WalkedAccounts::Account*> accounts;
        for (const auto& entry : inputs.mapping) {
            if (entry->ItemNo != item->ItemNo) continue;
            const WalkedAccounts::Account* account = inputs.accounts.Find(KeyOf(*entry));
            if (account == nullptr) continue;
            if (!keys.insert(KeyOf(*entry)).second) {
                warnings.push_back(ItemText(*item) + "に " + AccountText(*account) +
                                   " が二重に指定されています（金額が二度集計されます）。");
                continue;
            }
            codes.insert(account->code);
            accounts.push_back(account);
        }
        for (const WalkedAccounts::Account* account : accounts) {
            if (!WalkedAccounts::IsSubAccount(account->code) ||
                codes.count(WalkedAccounts::MainCodeOf(account->code)) == 0)
                continue;
            const WalkedAccounts::Account* main = inputs.accounts.FindCode(WalkedAccounts::MainCodeOf(account->code));
            warnings.push_back(ItemText(*item) + "に " + AccountText(*main) + " と その補助科目 " +
                               WalkedAccounts::CodeText(account->code) + " " + account->name +
                               " の両方が指定されています（補助科目の金額が二度集計されます）。");
        }
    }
}

// A main account's balance holds its sub-accounts': what the mapping leaves
// of it is its balance less that of its sub-accounts named by an item.
void ReportChecks::CheckUnmapped(const Inputs& inputs, std::vector<std::string>& warnings) {
    std::set<std::string_view> named;
    for (const auto& entry : inputs.mapping) named.insert(KeyOf(*entry));
    std::map<std::int32_t, std::int64_t> namedSubAccounts;  // by main code: the named sub-accounts' balances
    for (const WalkedAccounts::Account& sub : inputs.accounts.All())
        if (WalkedAccounts::IsSubAccount(sub.code) && named.count(sub.key) != 0)
            namedSubAccounts[WalkedAccounts::MainCodeOf(sub.code)] += sub.balance;
    for (const WalkedAccounts::Account& account : inputs.accounts.All()) {
        if (WalkedAccounts::IsSubAccount(account.code) || named.count(account.key) != 0) continue;
        const auto subs = namedSubAccounts.find(account.code);
        const std::int64_t left = account.balance - (subs == namedSubAccounts.end() ? 0 : subs->second);
        const std::int64_t yen = left / ReportAmount::kUnitsPerYen;
        if (yen == 0) continue;
        warnings.push_back(AccountText(account) + "（残高 " + Yen(yen) +
                           "）はどの項目にも集計されていません（合計欄にだけ含まれます）。");
    }
}
