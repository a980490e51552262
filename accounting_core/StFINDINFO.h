#pragma once

#include <cstddef>
#include <cstdint>

// One condition of a find or summation criteria record: 34 bytes. A criteria
// record is an array of these, entry k at offset 34 * k, all zero except the
// fields set; a link of 0 ends the conditions. The summation criteria use the
// low 16 bits of Value.
#pragma pack(push, 1)
struct StFINDINFO {
    std::int32_t FieldCode;        // 0: 2 account code, 16 class code, 17 month
    std::uint8_t Reserved4[2];
    std::int16_t Comparison;       // 6: 1 equal, 2 greater, 4 greater or equal, 6 less or equal
    std::uint8_t Reserved8[2];
    std::int16_t ValueType;        // 10: 2 short, 3 long, 19 class code
    std::uint8_t Reserved12[6];
    std::int32_t Value;            // 18
    std::uint8_t Reserved22[8];
    std::int16_t Link;             // 30: 1 and, 2 or, 0 last entry
    std::uint8_t Reserved32[2];
};
#pragma pack(pop)

static_assert(sizeof(StFINDINFO) == 34);
static_assert(offsetof(StFINDINFO, FieldCode) == 0);
static_assert(offsetof(StFINDINFO, Comparison) == 6);
static_assert(offsetof(StFINDINFO, ValueType) == 10);
static_assert(offsetof(StFINDINFO, Value) == 18);
static_assert(offsetof(StFINDINFO, Link) == 30);
