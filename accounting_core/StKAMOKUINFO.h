#pragma once

#include <cstddef>
#include <cstdint>

// One account of the books: 213 bytes. The name is code page 932,
// NUL-terminated, at most 50 bytes.
#pragma pack(push, 1)
struct StKAMOKUINFO {
    std::uint8_t Id[16];           // 0: the account's identifier
    std::int32_t Code;             // 16: account code; a main account's is a multiple of 10000
    std::uint8_t Reserved20[2];
    char Name[51];                 // 22: account name
    std::uint8_t Reserved73[37];
    std::uint8_t Flag110;          // 110: 1 = not in use (never a main account, never found by key)
    std::uint8_t Reserved111;
    std::uint8_t Flag112;          // 112: 1 = heading account that carries no entries of its own
    std::uint8_t Reserved113[3];
    std::uint32_t ClassCode;       // 116: class code of the account (docs/class-codes.md)
    std::uint8_t BalanceSide;      // 120: 1 = debit side, 2 = credit side
    std::uint8_t Reserved121[92];
};
#pragma pack(pop)

static_assert(sizeof(StKAMOKUINFO) == 213);
static_assert(offsetof(StKAMOKUINFO, Id) == 0);
static_assert(offsetof(StKAMOKUINFO, Code) == 16);
static_assert(offsetof(StKAMOKUINFO, Name) == 22);
static_assert(offsetof(StKAMOKUINFO, Flag110) == 110);
static_assert(offsetof(StKAMOKUINFO, Flag112) == 112);
static_assert(offsetof(StKAMOKUINFO, ClassCode) == 116);
static_assert(offsetof(StKAMOKUINFO, BalanceSide) == 120);
