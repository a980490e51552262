#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class BooksDatabase;

// The class-code hierarchy of the statements (docs/class-codes.md), the
// rows of class_lines. Every account carries one of these class codes; a
// total line sums the accounts whose class lies below it.
//
// Codes are 32-bit: the top nibble says the statement (8 balance sheet,
// 4 profit and loss), and each level below takes the next nibble, its
// members numbered 8, 4, 2, 1 in statement order. Profit lines that share a
// region with their members carry a marker in the lowest byte: 0x08 gross
// profit, 0x80 profit before tax and net profit.
class ClassHierarchy {
public:
    enum Side { kDebit = 1, kCredit = 2 };

    struct Line {
        std::uint32_t code;
        std::uint32_t parent;  // 0: a top line
        std::u8string_view name;
        int side;
        bool isTotal;
    };

    // The ten class codes whose totals the statements print.
    static constexpr std::uint32_t kSales = 0x40888000;
    static constexpr std::uint32_t kCostOfSales = 0x40884000;
    static constexpr std::uint32_t kGrossProfit = 0x40880008;
    static constexpr std::uint32_t kOperatingProfit = 0x40880000;
    static constexpr std::uint32_t kExtraordinaryProfit = 0x40480000;
    static constexpr std::uint32_t kExtraordinaryLoss = 0x40440000;
    static constexpr std::uint32_t kProfitBeforeTax = 0x40200080;
    static constexpr std::uint32_t kAssets = 0x80800000;
    static constexpr std::uint32_t kLiabilities = 0x80400000;
    static constexpr std::uint32_t kNetAssets = 0x80200000;
    static constexpr std::uint32_t kNetProfit = 0x40000080;

    // The lines in statement order: balance sheet, then profit and loss
    // with each profit line after its members. Ordinals are 10, 20, ...
    static std::span<const Line> Lines();

    // Adds the lines to the books and restores any that were changed;
    // lines the books have beyond these stay. Runs in the caller's
    // transaction. False with the reason in error.
    static bool Install(BooksDatabase& books, std::string& error);
};
