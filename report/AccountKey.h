#pragma once

#include <cstdint>
#include <string_view>

#include "report/MappedAccount.h"

// Names of accounts and totals in the MappingList.
class AccountKey {
public:
    // The twelve keys that name a statement total instead of an account.
    static constexpr const char* kUriageDaka = "URIAGEDAKA";
    static constexpr const char* kUriageGenka = "URIAGEGENKA";
    static constexpr const char* kUriageSouRieki = "URIAGESOURIEKI";
    static constexpr const char* kEigyouSoneki = "EIGYOUSONEKI";
    static constexpr const char* kTokubetuRieki = "TOKUBETURIEKI";
    static constexpr const char* kTokubetuSonsitu = "TOKUBETUSONSITU";
    static constexpr const char* kZeibikimae = "ZEIBIKIMAE";
    static constexpr const char* kSisan = "SISAN";
    static constexpr const char* kFusai = "FUSAI";
    static constexpr const char* kSihon = "SIHON";
    static constexpr const char* kSoreigai = "SOREIGAI";
    static constexpr const char* kSonotaFusai = "SONOTAFUSAI";
    static constexpr const char* kTotalKeys[12] = {kUriageDaka, kUriageGenka, kUriageSouRieki, kEigyouSoneki,
                                                   kTokubetuRieki, kTokubetuSonsitu, kZeibikimae, kSisan,
                                                   kFusai, kSihon, kSoreigai, kSonotaFusai};

    // "0x" and two lowercase hex digits for each of the 16 identifier bytes,
    // high nibble first: 34 characters and a NUL, exactly filling out.
    static void Text(const std::uint8_t identifier[16], char out[MappedAccount::kKeySize]);

    // Keys compare as whole keys: at most 35 bytes, stopping at the NUL.
    static bool Equal(const char* a, const char* b);
    static bool IsTotalKey(const char* key);
};
