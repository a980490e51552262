#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "accounting_core/StKAMOKUINFO.h"
#include "report/MappedAccount.h"
#include "report/ReportItem.h"

// What the account mapping dialog knows and does, without widgets: the rows
// of its list (code, trimmed name, tick), the accounts behind them, the state
// of AllAccountsBox, the codes chosen for the item, and the actions of the
// dialog's controls. The view shows Rows() and AllAccounts() after each call
// and reports the user's ticks with SetTicked before it calls an action.
//
// Accounts come from the account set of the selected data set. Chosen codes
// are codes as users see them (code / 10000).
class AccountMappingModel {
public:
    struct Row {
        std::int32_t number = 0;  // column 0 as a number: code / 10000
        std::string code;         // column 0, "%d" of number
        std::string name;         // column 1, the trimmed name (code page 932)
        bool ticked = false;
    };

    enum class Sync { FromDefaults, FromRows, All, None };

    // The commands of the list's pop-up menu, by their menu ids.
    enum Command {
        kRestoreDefaults = 1,  // "デフォルトのチェック状態に戻す"
        kTickShown = 2,        // "表示されている科目を全てチェック"
        kUntickShown = 3,      // "表示されている科目のチェックを全てはずす"
        kTickAll = 4,          // "全ての科目をチェック"
        kUntickAll = 5,        // "全ての科目のチェックをはずす"
    };
    static constexpr int kCommandCount = 5;
    // The menu text of a command (code page 932); nullptr for another id.
    static const char* CommandText(int command);

    // mapping is edited in place by ApplyMapping only; both lists outlive
    // the model.
    AccountMappingModel(const ReportItem& item, MappingList& mapping, const MappingList& defaults);

    // Lists the accounts of the item's classes (all accounts when the item has
    // none, or when one of its mapped accounts lies outside them), ticks the
    // mapped ones and takes their codes as the chosen codes.
    void Initialise();

    // The user ticked or unticked a row; nothing else changes until the next
    // synchronisation.
    void SetTicked(std::size_t row, bool ticked);
    // The user clicked AllAccountsBox, which is now ticked or not: the list
    // is filled again, keeping the choice made so far.
    void AllAccountsBoxClicked(bool ticked);
    // A command of the pop-up menu; other ids do nothing, as a dismissed
    // menu does.
    void RunCommand(int command);
    // Rewrites the item's entries of the mapping from the chosen codes:
    // the item's old entries go, the accounts chosen are appended at the end.
    void ApplyMapping();

    // Steps of the actions above, public so that each can be checked alone.
    // withFilter: the accounts of the item's classes, else all main accounts.
    void FillAccountList(bool withFilter);
    void SyncChosenCodes(Sync mode);
    // The first listed account with this code; a code below 10000 is taken
    // as a code users see. nullptr when none is listed.
    const StKAMOKUINFO* FindShownAccount(std::int32_t code) const;
    // The name without its trailing half-width (0x20) and full-width
    // (0x81 0x40) blanks, read character by character in code page 932.
    static std::string TrimAccountName(const char* name);
    // The stored code (number * 10000) of a code as users see it; 0 when
    // there is none.
    static std::int32_t StoredCode(std::int32_t number);

    const std::vector<Row>& Rows() const { return rows_; }
    const std::vector<std::int32_t>& ChosenCodes() const { return chosen_; }
    bool AllAccounts() const { return allAccounts_; }
    // Changes each time the list is filled again, so that a view knows when
    // to rebuild its rows instead of updating their ticks.
    int ListGeneration() const { return listGeneration_; }

private:
    bool HasClassFilter() const { return item_.ClassCodes[0] != 0; }
    void SetAllTicks(bool ticked);
    void TickFirstRowWithNumber(std::int32_t number);
    void ChosenFromDefaults();
    void ChosenFromRows();
    void ChosenFromAllAccounts();
    bool MappedAccountOutsideList() const;
    void TickMappedAccounts();

    const ReportItem& item_;
    MappingList& mapping_;
    const MappingList& defaults_;
    std::vector<StKAMOKUINFO> shown_;  // ShownAccounts, in row order
    std::vector<Row> rows_;
    std::vector<std::int32_t> chosen_;  // ChosenCodes
    bool allAccounts_ = false;          // AllAccountsBox
    int listGeneration_ = 0;
};
