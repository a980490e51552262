#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reading one field of the import files: numbers and hexadecimal class
// codes, with the blanks around them that hand-edited files carry.
class CsvField {
public:
    // Decimal digits with an optional leading minus, nothing else (blanks
    // around them aside), within [minimum, maximum].
    static bool ToInteger(std::string_view field, std::int64_t minimum, std::int64_t maximum, std::int64_t& value);

    // One to eight hexadecimal digits, either case, with or without "0x".
    static bool ToHex32(std::string_view field, std::uint32_t& value);
};
