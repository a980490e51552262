#pragma once

#include <cstddef>
#include <cstdint>

// One data set of the books, as the accounting core hands it out: 1,505
// bytes. Texts are code page 932, NUL-terminated. Fields the system does not
// read are reserved and stay zero.
#pragma pack(push, 1)
struct StDATAINFO {
    char DataId[16];               // 0: data ID, the key of SetCurDataID
    std::int32_t DataNo;           // 16: data-set number
    std::uint8_t Reserved20[4];
    char Name[260];                // 24: name of the data set
    std::int32_t PeriodStart;      // 284: first day of the fiscal period, yyyymmdd
    std::int32_t PeriodEnd;        // 288: last day of the fiscal period, yyyymmdd
    std::uint8_t Reserved292[12];
    std::int32_t InterimClosing;   // 304: 1 = the data set has an interim closing
    std::uint8_t Reserved308[18];
    std::int16_t IntroMonthPos;    // 326: position of the first month of use; 99 = past results
    std::uint8_t Reserved328[548];
    std::uint8_t NetAssets;        // 876: 1 = the balance sheet says net assets
    std::uint8_t Reserved877[628];
};
#pragma pack(pop)

static_assert(sizeof(StDATAINFO) == 1505);
static_assert(offsetof(StDATAINFO, DataId) == 0);
static_assert(offsetof(StDATAINFO, DataNo) == 16);
static_assert(offsetof(StDATAINFO, Name) == 24);
static_assert(offsetof(StDATAINFO, PeriodStart) == 284);
static_assert(offsetof(StDATAINFO, PeriodEnd) == 288);
static_assert(offsetof(StDATAINFO, InterimClosing) == 304);
static_assert(offsetof(StDATAINFO, IntroMonthPos) == 326);
static_assert(offsetof(StDATAINFO, NetAssets) == 876);
