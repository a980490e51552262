#pragma once

#include <cstddef>
#include <string_view>

// Small helpers on the byte texts the readers share: trimming, ASCII case
// and hexadecimal digits. Texts are code page 932; none of the blanks a
// caller passes can be the second byte of a double-byte character, and the
// case-insensitive comparisons step over double-byte characters whole,
// comparing their trail bytes exactly (ア 83 41 and ャ 83 61 stay apart).
class PlainText {
public:
    static constexpr std::string_view kSpaceAndTab = " \t";
    // The blanks atoi and strtoul skip.
    static constexpr std::string_view kCBlanks = " \t\n\v\f\r";

    static std::string_view TrimStart(std::string_view text, std::string_view blanks);
    static std::string_view TrimEnd(std::string_view text, std::string_view blanks);
    static std::string_view Trim(std::string_view text, std::string_view blanks);

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static char ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
    static char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
    // The value of a hexadecimal digit of either case; -1 for any other byte.
    static int HexDigit(char c);

    // The texts are equal but for the case of single-byte letters.
    static bool EqualIgnoringCase(std::string_view a, std::string_view b);
    // Compares at most n bytes as _strnicmp does: a text that ends first
    // differs unless both end together.
    static bool SamePrefixIgnoringCase(std::string_view a, std::string_view b, std::size_t n);
};
