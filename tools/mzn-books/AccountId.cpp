#include "tools/mzn-books/AccountId.h"

AccountId::Bytes AccountId::ForCode(std::int64_t storedCode) {
    Bytes id{};
    id[0] = 'M';
    id[1] = 'Z';
    id[2] = 'N';
    id[3] = 'A';
    const auto code = static_cast<std::uint32_t>(storedCode);
    for (int i = 0; i < 4; ++i) id[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(code >> (24 - 8 * i));
    return id;
}

std::string AccountId::KeyText(const Bytes& id) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "0x";
    for (std::uint8_t byte : id) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}
