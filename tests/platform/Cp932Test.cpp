#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(Cp932, LeadAndTrailRangesEndWhereWindowsTablesEnd) {
    for (int byte : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(Cp932::IsLeadByte(byte)) << byte;
    for (int byte : {0x80, 0xA0, 0xDF, 0xFD}) EXPECT_FALSE(Cp932::IsLeadByte(byte)) << byte;
    for (int byte : {0x40, 0x7E, 0x80, 0xFC}) EXPECT_TRUE(Cp932::IsTrailByte(byte)) << byte;
    for (int byte : {0x3F, 0x7F, 0xFD}) EXPECT_FALSE(Cp932::IsTrailByte(byte)) << byte;
}

// 表 is 95 5C and ポ 83 7C: their second bytes look like "\" and "|" but are
// never found, from any start. A lead byte before a non-trail byte is a
// character of its own.
TEST(Cp932, CharacterSearchFindsOnlySingleByteCharacters) {
    struct Row { std::string text; char c; std::vector<std::size_t> offsets; };  // of c in text
    const Row rows[] = {{"C:\\表\\ポ|x", '\\', {2, 5}}, {"C:\\表\\ポ|x", '|', {8}}, {"表表ポ", '\\', {}},
                        {"表表ポ", '|', {}}, {"\x81;;A", ';', {1, 2}}, {"表ポ:x", ':', {4}}};
    for (const Row& row : rows) {
        for (std::size_t from = 0; from <= row.text.size() + 1; ++from) {
            const auto next = std::lower_bound(row.offsets.begin(), row.offsets.end(), from);
            const std::size_t want = next == row.offsets.end() ? Cp932::npos : *next;
            EXPECT_EQ(Cp932::FindChar(row.text, row.c, from), want) << row.text << " from " << from;
            EXPECT_EQ(Cp932::FindAnyChar(row.text, std::string{'/', row.c}, from), want) << row.text;
        }
        EXPECT_EQ(Cp932::FindLastChar(row.text, row.c), row.offsets.empty() ? Cp932::npos : row.offsets.back());
    }
}

// A match starts and ends on character boundaries: 表 and "\" are 95 5C 5C,
// not two backslashes, and a needle ending in a lead byte is no half of 表.
TEST(Cp932, StringSearchAndCutKeepCharactersWhole) {
    struct Row { std::string text, needle; std::size_t from, found; };
    const Row rows[] = {{"\\\\s", "\\\\", 0, 0}, {"a表\\b", "\\\\", 0, Cp932::npos}, {"a表\\\\b", "\\\\", 0, 3},
                        {"ア表表", "表", 3, 4}, {"abc", "", 3, 3}, {"abc", "", 4, Cp932::npos},
                        {"a表", "a\x95", 0, Cp932::npos}, {"a\x95", "a\x95", 0, 0}};
    for (const Row& row : rows) EXPECT_EQ(Cp932::FindString(row.text, row.needle, row.from), row.found) << row.text;
    const std::string name = "AB表示";  // 41 42 95 5C 8E A6
    const std::pair<std::size_t, std::size_t> cuts[] = {{0, 0}, {3, 2}, {4, 4}, {5, 4}, {6, 6}, {100, 6}};
    for (const auto& [maxBytes, kept] : cuts) EXPECT_EQ(Cp932::CutOnCharBoundary(name, maxBytes), name.substr(0, kept));
    EXPECT_EQ(Cp932::CutOnCharBoundary("A\x81", 2), "A\x81");  // a lone lead byte at the end is one character
}
