#pragma once

#include <cstddef>
#include <cstdint>

// Consumption-tax settings of a data set: 12 bytes.
#pragma pack(push, 1)
struct StSHOHIZEIINFO {
    std::uint8_t Reserved0[5];
    std::uint8_t TaxIncludedBooks;  // 5: nonzero = books kept with tax included
    std::uint8_t Reserved6[6];
};
#pragma pack(pop)

static_assert(sizeof(StSHOHIZEIINFO) == 12);
static_assert(offsetof(StSHOHIZEIINFO, TaxIncludedBooks) == 5);
