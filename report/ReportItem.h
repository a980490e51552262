#pragma once

#include <cstdint>
#include <list>
#include <memory>

// One item of the business overview statement, from its definition line to
// the report. Texts are code page 932, NUL-terminated.
struct ReportItem {
    static constexpr int kClassCodes = 10;
    static constexpr int kAmountSlots = 13;

    std::int16_t ItemNo = 0;        // 1-based item number
    std::int16_t BalanceSide = 0;   // 1 = debit side; equal sides add a balance, unequal subtract
    char Caption[31] = {};          // shown on the pages; "-" = not used by this version
    std::uint32_t ClassCodes[kClassCodes] = {};  // account classes offered for the item, 0-terminated
    char TagName[51] = {};          // XML element name; one holding '-' is not written
    // Ten-thousandths of a yen. Slot 0: a main item's amount; slots 1-12:
    // fiscal months 1-12 of a monthly-sales item.
    std::int64_t Amounts[kAmountSlots] = {};
};

// The items of the run in file order, each record owned by the list.
using ItemList = std::list<std::unique_ptr<ReportItem>>;
