#include "wizard/AccountMappingModel.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdint>
#include <cstring>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClSetKamoku.h"
#include "accounting_core/FindCriteria.h"
#include "accounting_core/StFINDINFO.h"
#include "report/AccountKey.h"
#include "report/AccountLookup.h"

namespace {

constexpr std::int32_t kCodeUnit = 10000;

// The pop-up menu's commands, by id - 1.
const char* const kCommandTexts[AccountMappingModel::kCommandCount] = {
    "デフォルトのチェック状態に戻す",
    "表示されている科目を全てチェック",
    "表示されている科目のチェックを全てはずす",
    "全ての科目をチェック",
    "全ての科目のチェックをはずす",
};

ClSetKamoku* AccountSet() {
    return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, ClDataMgr::kShared));
}

using Conditions = std::array<StFINDINFO, ReportItem::kClassCodes>;

// One "or" entry per class code up to the first 0, the last one ending the
// conditions; or, without a filter, every account with a code above 0.
Conditions MakeConditions(const ReportItem& item, bool withFilter) {
    Conditions conditions;
    std::memset(conditions.data(), 0, sizeof conditions);
    if (!withFilter) {
        conditions[0].FieldCode = FindCriteria::kFieldCode;
        conditions[0].Comparison = FindCriteria::kGreater;
        conditions[0].ValueType = FindCriteria::kLong;
        conditions[0].Value = 0;
        conditions[0].Link = FindCriteria::kLast;
        return conditions;
    }
    int count = 0;
    while (count < ReportItem::kClassCodes && item.ClassCodes[count] != 0) {
        StFINDINFO& entry = conditions[count];
        entry.FieldCode = FindCriteria::kFieldClassCode;
        entry.Comparison = FindCriteria::kEqual;
        entry.ValueType = FindCriteria::kClassCode;
        std::memcpy(&entry.Value, &item.ClassCodes[count], sizeof entry.Value);
        entry.Link = FindCriteria::kOr;
        ++count;
    }
    if (count > 0) conditions[count - 1].Link = FindCriteria::kLast;
    return conditions;
}

// Every account the walk delivers, in walk order; Walk when conditions is
// null, WalkFind otherwise. A failing call ends the walk like the end of the set.
template <typename Visit>
void WalkAccounts(const StFINDINFO* conditions, Visit visit) {
    ClSetKamoku* accounts = AccountSet();
    if (accounts == nullptr) return;
    SetCursor* cursor = accounts->GetCursor();
    accounts->ReadyCursor(cursor, 0);
    StKAMOKUINFO account;
    for (;;) {
        std::memset(&account, 0, sizeof account);
        const int result =
            conditions == nullptr ? accounts->Walk(&account, cursor) : accounts->WalkFind(conditions, &account, cursor);
        if (result != 0) break;
        visit(account);
    }
    accounts->ReleaseCursor(cursor);
}

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x9F) || byte >= 0xE0;
}

}  // namespace

const char* AccountMappingModel::CommandText(int command) {
    if (command < 1 || command > kCommandCount) return nullptr;
    return kCommandTexts[command - 1];
}

AccountMappingModel::AccountMappingModel(const ReportItem& item, MappingList& mapping, const MappingList& defaults)
    : item_(item), mapping_(mapping), defaults_(defaults) {}

void AccountMappingModel::Initialise() {
    FillAccountList(HasClassFilter());
    if (MappedAccountOutsideList()) {
        allAccounts_ = true;
        FillAccountList(false);
    }
    TickMappedAccounts();
    SyncChosenCodes(Sync::FromRows);
}

// A mapped account that exists but is not listed lies outside the item's
// classes: then only the whole chart can show it.
bool AccountMappingModel::MappedAccountOutsideList() const {
    for (const auto& entry : mapping_) {
        if (entry->ItemNo != item_.ItemNo) continue;
        const std::int32_t code = AccountLookup::FindAccountByKey(entry->AccountKey);
        if (code != -1 && FindShownAccount(code) == nullptr) return true;
    }
    return false;
}

// A row's number, and every chosen code, is a code as users see it. The
// lookups take a number below 10000 as such a code and anything larger as a
// stored code; an account numbered 10000 or more (the books allow up to
// 214748) would then be listed but never ticked nor mapped. So the number is
// turned into the stored code here, whatever its size.
std::int32_t AccountMappingModel::StoredCode(std::int32_t number) {
    const std::int64_t stored = std::int64_t{number} * kCodeUnit;
    return stored > 0 && stored <= INT32_MAX ? static_cast<std::int32_t>(stored) : 0;
}

void AccountMappingModel::TickMappedAccounts() {
    for (const auto& entry : mapping_) {
        if (entry->ItemNo != item_.ItemNo) continue;
        for (Row& row : rows_) {
            const StKAMOKUINFO* account = FindShownAccount(StoredCode(row.number));
            if (account == nullptr) continue;
            char key[MappedAccount::kKeySize];
            AccountKey::Text(account->Id, key);
            if (AccountKey::Equal(key, entry->AccountKey)) {
                row.ticked = true;
                break;
            }
        }
    }
}

void AccountMappingModel::SetTicked(std::size_t row, bool ticked) {
    if (row < rows_.size()) rows_[row].ticked = ticked;
}

void AccountMappingModel::AllAccountsBoxClicked(bool ticked) {
    allAccounts_ = ticked;
    SyncChosenCodes(Sync::FromRows);
    FillAccountList(HasClassFilter() && !ticked);
    for (std::int32_t number : chosen_) TickFirstRowWithNumber(number);
}

void AccountMappingModel::RunCommand(int command) {
    switch (command) {
        case kRestoreDefaults:
            SetAllTicks(false);
            SyncChosenCodes(Sync::FromDefaults);
            for (Row& row : rows_)
                if (std::find(chosen_.begin(), chosen_.end(), row.number) != chosen_.end()) row.ticked = true;
            break;
        case kTickShown:
            SetAllTicks(true);
            SyncChosenCodes(Sync::FromRows);
            break;
        case kUntickShown:
            SetAllTicks(false);
            SyncChosenCodes(Sync::FromRows);
            break;
        case kTickAll:
            allAccounts_ = true;
            FillAccountList(false);
            SetAllTicks(true);
            SyncChosenCodes(Sync::All);
            break;
        case kUntickAll:
            SetAllTicks(false);
            SyncChosenCodes(Sync::None);
            break;
        default:
            break;
    }
}

void AccountMappingModel::ApplyMapping() {
    mapping_.remove_if([this](const std::unique_ptr<MappedAccount>& entry) { return entry->ItemNo == item_.ItemNo; });
    SyncChosenCodes(Sync::FromRows);
    for (std::int32_t number : chosen_) {
        StKAMOKUINFO account;
        std::memset(&account, 0, sizeof account);
        const std::int32_t code = StoredCode(number);
        if (code == 0 || !AccountLookup::FindAccountByCode(code, &account)) continue;
        auto entry = std::make_unique<MappedAccount>();
        entry->ItemNo = item_.ItemNo;
        AccountKey::Text(account.Id, entry->AccountKey);
        mapping_.push_back(std::move(entry));
    }
}

void AccountMappingModel::FillAccountList(bool withFilter) {
    const Conditions conditions = MakeConditions(item_, withFilter);
    rows_.clear();
    shown_.clear();
    ++listGeneration_;
    WalkAccounts(conditions.data(), [this](const StKAMOKUINFO& account) {
        if (AccountLookup::IsMainAccount(account)) shown_.push_back(account);
    });
    for (const StKAMOKUINFO& account : shown_) {
        Row row;
        row.number = account.Code / kCodeUnit;
        char text[16];
        std::snprintf(text, sizeof text, "%d", row.number);
        row.code = text;
        row.name = TrimAccountName(account.Name);
        rows_.push_back(std::move(row));
    }
}

void AccountMappingModel::SyncChosenCodes(Sync mode) {
    switch (mode) {
        case Sync::FromDefaults:
            ChosenFromDefaults();
            break;
        case Sync::FromRows:
            ChosenFromRows();
            break;
        case Sync::All:
            ChosenFromAllAccounts();
            break;
        case Sync::None:
            chosen_.clear();
            break;
    }
}

// A default key that names no account gives -1, which the division turns
// into 0: a code no account has, so it ticks and maps nothing.
void AccountMappingModel::ChosenFromDefaults() {
    chosen_.clear();
    for (const auto& entry : defaults_)
        if (entry->ItemNo == item_.ItemNo)
            chosen_.push_back(AccountLookup::FindAccountByKey(entry->AccountKey) / kCodeUnit);
}

// Listed accounts follow their ticks; chosen accounts that are not listed
// (outside the item's classes) stay chosen.
void AccountMappingModel::ChosenFromRows() {
    for (const Row& row : rows_) {
        const auto found = std::find(chosen_.begin(), chosen_.end(), row.number);
        if (found != chosen_.end()) chosen_.erase(found);
        if (row.ticked) chosen_.push_back(row.number);
    }
}

void AccountMappingModel::ChosenFromAllAccounts() {
    chosen_.clear();
    WalkAccounts(nullptr, [this](const StKAMOKUINFO& account) {
        if (AccountLookup::IsMainAccount(account)) chosen_.push_back(account.Code / kCodeUnit);
    });
}

const StKAMOKUINFO* AccountMappingModel::FindShownAccount(std::int32_t code) const {
    const std::int64_t wanted = code < kCodeUnit ? std::int64_t{code} * kCodeUnit : code;
    for (const StKAMOKUINFO& account : shown_)
        if (account.Code == wanted) return &account;
    return nullptr;
}

std::string AccountMappingModel::TrimAccountName(const char* name) {
    std::size_t kept = 0;  // length up to the end of the last non-blank character
    std::size_t at = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(name);
    while (bytes[at] != 0) {
        const bool twoBytes = IsLeadByte(bytes[at]) && bytes[at + 1] != 0;
        const std::size_t width = twoBytes ? 2 : 1;
        const bool blank = twoBytes ? (bytes[at] == 0x81 && bytes[at + 1] == 0x40) : bytes[at] == 0x20;
        at += width;
        if (!blank) kept = at;
    }
    return std::string(name, kept);
}

void AccountMappingModel::SetAllTicks(bool ticked) {
    for (Row& row : rows_) row.ticked = ticked;
}

void AccountMappingModel::TickFirstRowWithNumber(std::int32_t number) {
    for (Row& row : rows_) {
        if (row.number == number) {
            row.ticked = true;
            return;
        }
    }
}
