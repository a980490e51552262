#include "report/AccountKey.h"

#include <cstring>

void AccountKey::Text(const std::uint8_t identifier[16], char out[MappedAccount::kKeySize]) {
    static const char kDigits[] = "0123456789abcdef";
    out[0] = '0';
    out[1] = 'x';
    for (int i = 0; i < 16; ++i) {
        out[2 + 2 * i] = kDigits[identifier[i] >> 4];
        out[3 + 2 * i] = kDigits[identifier[i] & 0x0F];
    }
    out[34] = '\0';
}

bool AccountKey::Equal(const char* a, const char* b) {
    return std::strncmp(a, b, MappedAccount::kKeySize) == 0;
}

bool AccountKey::IsTotalKey(const char* key) {
    for (const char* total : kTotalKeys)
        if (Equal(key, total)) return true;
    return false;
}
