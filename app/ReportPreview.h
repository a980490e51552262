#pragma once

#include <string>
#include <vector>

#include "report/MappedAccount.h"
#include "report/ReportItem.h"
#include "report/WalkedAccounts.h"

// The report's amounts shown before anything is sent: each main item with
// its number, its caption as the pages show it, the amount exactly as the
// report would write it and the accounts (or the total) that feed it; then
// the monthly items month by month; then the checks' warnings. Printed by
// a batch run with --preview, which writes no report.
class ReportPreview {
public:
    struct Inputs {
        const ItemList& items;  // aggregated
        const MappingList& mapping;
        const WalkedAccounts& accounts;
        bool ug30 = false;
        bool netAssetsCaption = false;
        int startMonth = 1;    // calendar month of the first fiscal month
        std::string heading;   // code page 932: whose books, which months, which tax view
    };

    // For a person: code page 932 text, columns aligned by display width
    // (a double-byte character is two columns, a single byte one), lines
    // ending in LF.
    static std::string Table(const Inputs& inputs, const std::vector<std::string>& warnings);
    // For a script: UTF-8 CSV with the header item,caption,month,amount,
    // accounts; a main item's row has no month, a monthly item has one row
    // per month (the calendar month).
    static std::string Csv(const Inputs& inputs);

private:
    // What feeds an item, one text per account or total, in mapping order.
    static std::vector<std::string> Sources(const Inputs& inputs, int itemNo);
};
