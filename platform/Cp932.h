#pragma once

#include <cstddef>
#include <string_view>

// Code page 932 (Shift_JIS as Windows has it): lead and trail bytes of
// double-byte characters, and scanning by character. A byte 0x5C ("\") or
// 0x7C ("|") that is the second byte of a double-byte character is part of
// that character, never a separator: every scan starts at the beginning of
// the text and steps over double-byte characters whole.
class Cp932 {
public:
    static constexpr std::size_t npos = std::string_view::npos;

    // 0x81-0x9F and 0xE0-0xFC.
    static bool IsLeadByte(unsigned char byte);
    // 0x40-0x7E and 0x80-0xFC.
    static bool IsTrailByte(unsigned char byte);

    // True when text[index] is a lead byte followed, inside the text, by a
    // trail byte: the two bytes then form one character.
    static bool StartsDoubleByte(std::string_view text, std::size_t index);
    // Length in bytes (1 or 2) of the character that starts at index.
    static std::size_t CharLengthAt(std::string_view text, std::size_t index);

    // Offset of the first single-byte character c that starts at or after
    // from, or npos. Double-byte characters never match, whatever their
    // second byte.
    static std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);
    // Offset of the last single-byte character c, or npos.
    static std::size_t FindLastChar(std::string_view text, char c);
    // Offset of the first single-byte character that is one of set, at or
    // after from, or npos.
    static std::size_t FindAnyChar(std::string_view text, std::string_view set, std::size_t from = 0);
    // Offset of the first occurrence of needle that starts and ends on
    // character boundaries, at or after from, or npos. An empty needle is
    // found at the first boundary at or after from (npos past the end).
    static std::size_t FindString(std::string_view text, std::string_view needle, std::size_t from = 0);

    // The longest prefix of text that is at most maxBytes long and does not
    // end in the middle of a double-byte character.
    static std::string_view CutOnCharBoundary(std::string_view text, std::size_t maxBytes);
};
