#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/MappedAccount.h"
#include "report/ReportItem.h"
#include "report/WalkedAccounts.h"

// What a bookkeeper should look at before the report is sent, found in one
// aggregation's results: a balance sheet that does not balance, balances
// that no item takes up, items nothing feeds, accounts counted twice, a
// tax-included run on books without tax-included amounts, and books whose
// chart the default mapping was not written for. Each warning is one line
// of code page 932 text without its line end. The checks only read: the
// report and the run's result stay as they are.
class ReportChecks {
public:
    struct Inputs {
        const ItemList& items;          // with the aggregated amounts
        const MappingList& mapping;     // the mapping the run used
        const WalkedAccounts& accounts; // the accounts the aggregation walked
        bool ug30 = false;
        bool netAssetsCaption = false;  // the capital total is called 純資産 (else 資本)
        bool taxIncluded = false;
        // The account codes the default-mapping file names, as it writes
        // them (a code below 10000 as users see it).
        std::vector<std::int32_t> defaultCodes;
    };

    // The warnings, in the order: chart, balance sheet, tax view, items
    // without a source, accounts named twice, unmapped balances.
    static std::vector<std::string> Warnings(const Inputs& inputs);

    // Whether the report carries the item: its Caption and its tag are in
    // use by this version.
    static bool IsReported(const ReportItem& item);

private:
    static void CheckChart(const Inputs& inputs, std::vector<std::string>& warnings);
    static void CheckBalanceSheet(const Inputs& inputs, std::vector<std::string>& warnings);
    static void CheckItemSources(const Inputs& inputs, std::vector<std::string>& warnings);
    static void CheckTwiceNamed(const Inputs& inputs, std::vector<std::string>& warnings);
    static void CheckUnmapped(const Inputs& inputs, std::vector<std::string>& warnings);
};
