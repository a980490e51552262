#pragma once

#include <cstdint>
#include <string_view>

// Reading one field of the import files: numbers, hexadecimal class codes
// and keywords, with the blanks around them that hand-edited files carry.
class CsvField {
public:
    // Without the spaces and tabs at either end.
    static std::string_view Trim(std::string_view field);

    // Decimal digits with an optional leading minus, nothing else (after
    // Trim), within [minimum, maximum].
    static bool ToInteger(std::string_view field, std::int64_t minimum, std::int64_t maximum, std::int64_t& value);

    // One to eight hexadecimal digits, either case, without a prefix.
    static bool ToHex32(std::string_view field, std::uint32_t& value);

    // ASCII letters compared without regard to case.
    static bool EqualsIgnoringCase(std::string_view a, std::string_view b);
};
