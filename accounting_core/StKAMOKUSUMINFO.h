#pragma once

#include <cstddef>
#include <cstdint>

// One summary line of the summation rule: an account, or a total line of the
// class-code hierarchy, with its period sums: 636 bytes. Amounts are signed
// ten-thousandths of a yen. The fifteen slots are the opening amount (0), the
// fiscal months 1-12, the closing adjustments (13, period 18) and the interim
// closing adjustments (14, period 15).
#pragma pack(push, 1)
struct StKAMOKUSUMINFO {
    static constexpr int kSlots = 15;

    std::uint8_t Id[16];           // 0: identifier of the account or total line
    std::int32_t Code;             // 16: account code; 0 for a total line
    std::uint8_t Reserved20[2];
    char Name[51];                 // 22: name, code page 932
    std::uint8_t Reserved73[53];
    std::uint8_t Flag126;          // 126: 0 for a total line of the statement
    std::uint8_t Flag127;          // 127: 1 for a total line of the statement
    std::uint8_t Summary;          // 128: nonzero = a summary (total) line, not an account
    std::uint8_t Reserved129;
    std::uint8_t BalanceSide;      // 130: 1 = debit side, otherwise credit side
    std::uint8_t Reserved131[5];
    std::uint32_t ClassCode;       // 136: class code of the line
    std::uint8_t Reserved140[12];
    std::int64_t DebitExcl[kSlots];   // 152: debit, tax excluded
    std::int64_t DebitIncl[kSlots];   // 272: debit, tax included
    std::int64_t CreditExcl[kSlots];  // 392: credit, tax excluded
    std::int64_t CreditIncl[kSlots];  // 512: credit, tax included
    std::uint8_t Reserved632[4];
};
#pragma pack(pop)

static_assert(sizeof(StKAMOKUSUMINFO) == 636);
static_assert(offsetof(StKAMOKUSUMINFO, Id) == 0);
static_assert(offsetof(StKAMOKUSUMINFO, Flag126) == 126);
static_assert(offsetof(StKAMOKUSUMINFO, Flag127) == 127);
static_assert(offsetof(StKAMOKUSUMINFO, Summary) == 128);
static_assert(offsetof(StKAMOKUSUMINFO, BalanceSide) == 130);
static_assert(offsetof(StKAMOKUSUMINFO, ClassCode) == 136);
static_assert(offsetof(StKAMOKUSUMINFO, DebitExcl) == 152);
static_assert(offsetof(StKAMOKUSUMINFO, DebitIncl) == 272);
static_assert(offsetof(StKAMOKUSUMINFO, CreditExcl) == 392);
static_assert(offsetof(StKAMOKUSUMINFO, CreditIncl) == 512);
