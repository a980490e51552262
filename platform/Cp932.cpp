#include "platform/Cp932.h"

bool Cp932::IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool Cp932::IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

bool Cp932::StartsDoubleByte(std::string_view text, std::size_t index) {
    return index + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[index])) &&
           IsTrailByte(static_cast<unsigned char>(text[index + 1]));
}

std::size_t Cp932::CharLengthAt(std::string_view text, std::size_t index) {
    return StartsDoubleByte(text, index) ? 2 : 1;
}

std::size_t Cp932::FindChar(std::string_view text, char c, std::size_t from) {
    return FindAnyChar(text, std::string_view(&c, 1), from);
}

std::size_t Cp932::FindLastChar(std::string_view text, char c) {
    std::size_t last = npos;
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        if (text[i] == c && !StartsDoubleByte(text, i)) last = i;
    }
    return last;
}

std::size_t Cp932::FindAnyChar(std::string_view text, std::string_view set, std::size_t from) {
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        if (i >= from && !StartsDoubleByte(text, i) && set.find(text[i]) != std::string_view::npos) return i;
    }
    return npos;
}

std::size_t Cp932::FindString(std::string_view text, std::string_view needle, std::size_t from) {
    // Walk boundaries; a match must also end on one, or a needle ending in a
    // lead byte could match half of a double-byte character.
    for (std::size_t i = 0; i <= text.size(); i += CharLengthAt(text, i)) {
        if (i >= from && text.substr(i).starts_with(needle)) {
            std::size_t end = i;
            while (end < i + needle.size()) end += CharLengthAt(text, end);
            if (end == i + needle.size()) return i;
        }
        if (i == text.size()) break;
    }
    return npos;
}

std::string_view Cp932::CutOnCharBoundary(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + CharLengthAt(text, end);
        if (next > maxBytes) break;
        end = next;
    }
    return text.substr(0, end);
}
