#pragma once

#include <array>
#include <cstdint>
#include <string>

// The 16-byte identifier of an account, derived from its code alone, so
// that the same account has the same identifier in every data set of the
// books and in every books made by this tool (condition files keep accounts
// by identifier, as the text "0x" + 32 hexadecimal digits):
//
//   bytes 0-3   "MZNA" (4D 5A 4E 41)
//   bytes 4-7   the stored code (code x 10000 + sub), unsigned, big-endian
//   bytes 8-15  zero
//
// So account 1110 (stored 11100000 = 0x00A95F60) is
// 4D5A4E41 00A95F60 0000000000000000.
class AccountId {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    static Bytes ForCode(std::int64_t storedCode);
    // The text form the link program writes: "0x" and 32 lower-case digits.
    static std::string KeyText(const Bytes& id);
};
