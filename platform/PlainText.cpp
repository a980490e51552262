#include "platform/PlainText.h"

#include "platform/Cp932.h"

std::string_view PlainText::TrimStart(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view PlainText::TrimEnd(std::string_view text, std::string_view blanks) {
    const std::size_t last = text.find_last_not_of(blanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view PlainText::Trim(std::string_view text, std::string_view blanks) {
    return TrimEnd(TrimStart(text, blanks), blanks);
}

int PlainText::HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool PlainText::EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && SamePrefixIgnoringCase(a, b, a.size());
}

bool PlainText::SamePrefixIgnoringCase(std::string_view a, std::string_view b, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        const bool aEnded = i >= a.size();
        const bool bEnded = i >= b.size();
        if (aEnded || bEnded) return aEnded && bEnded;
        if (Cp932::StartsDoubleByte(a, i)) {
            if (a[i] != b[i]) return false;
            if (i + 1 < n && (i + 1 >= b.size() || a[i + 1] != b[i + 1])) return false;
            i += 2;
            continue;
        }
        if (ToLower(a[i]) != ToLower(b[i])) return false;
        ++i;
    }
    return true;
}
