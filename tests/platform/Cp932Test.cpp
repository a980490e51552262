#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/Cp932.h"

TEST(Cp932, LeadAndTrailRangesEndWhereWindowsTablesEnd) {
    EXPECT_FALSE(Cp932::IsLeadByte(0x80));
    EXPECT_TRUE(Cp932::IsLeadByte(0x81));
    EXPECT_TRUE(Cp932::IsLeadByte(0x9F));
    EXPECT_FALSE(Cp932::IsLeadByte(0xA0));
    EXPECT_FALSE(Cp932::IsLeadByte(0xDF));
    EXPECT_TRUE(Cp932::IsLeadByte(0xE0));
    EXPECT_TRUE(Cp932::IsLeadByte(0xFC));
    EXPECT_FALSE(Cp932::IsLeadByte(0xFD));

    EXPECT_FALSE(Cp932::IsTrailByte(0x3F));
    EXPECT_TRUE(Cp932::IsTrailByte(0x40));
    EXPECT_TRUE(Cp932::IsTrailByte(0x7E));
    EXPECT_FALSE(Cp932::IsTrailByte(0x7F));
    EXPECT_TRUE(Cp932::IsTrailByte(0x80));
    EXPECT_TRUE(Cp932::IsTrailByte(0xFC));
    EXPECT_FALSE(Cp932::IsTrailByte(0xFD));
}

TEST(Cp932, CharacterLengthNeedsLeadAndTrailInsideTheText) {
    std::string_view text("\x95\x5C" "A\x81\x7F\x81", 6);
    EXPECT_EQ(Cp932::CharLengthAt(text, 0), 2u);  // 表
    EXPECT_EQ(Cp932::CharLengthAt(text, 2), 1u);  // A
    EXPECT_EQ(Cp932::CharLengthAt(text, 3), 1u);  // lead byte before 0x7F
    EXPECT_EQ(Cp932::CharLengthAt(text, 5), 1u);  // lead byte at the end
}

TEST(Cp932, SeparatorSearchSkipsSecondBytesOfDoubleByteCharacters) {
    // 表 is 95 5C and ポ is 83 7C: their second bytes look like "\" and "|".
    const std::string path = "C:\\表\\ポ|x";
    ASSERT_EQ(path, std::string("C:\\\x95\x5C\\\x83\x7C|x"));

    EXPECT_EQ(Cp932::FindChar(path, '\\'), 2u);
    EXPECT_EQ(Cp932::FindChar(path, '\\', 3), 5u);
    EXPECT_EQ(Cp932::FindChar(path, '|'), 8u);
    EXPECT_EQ(Cp932::FindChar("表表", '\\'), Cp932::npos);
    EXPECT_EQ(Cp932::FindChar(path, '\\', 100), Cp932::npos);
    // A start inside 表 does not make its second byte a separator.
    EXPECT_EQ(Cp932::FindChar(path, '\\', 4), 5u);

    EXPECT_EQ(Cp932::FindLastChar(path, '\\'), 5u);
    EXPECT_EQ(Cp932::FindLastChar("a\\表", '\\'), 1u);
    EXPECT_EQ(Cp932::FindLastChar("ポ", '|'), Cp932::npos);

    EXPECT_EQ(Cp932::FindAnyChar("表ポ:x", "\\|:"), 4u);
    EXPECT_EQ(Cp932::FindAnyChar(path, "|/", 0), 8u);
    EXPECT_EQ(Cp932::FindAnyChar("表ポ", "\\|"), Cp932::npos);
}

TEST(Cp932, LoneLeadByteBeforeSeparatorLeavesTheSeparatorVisible) {
    // 0x81 followed by a non-trail byte is a character of its own.
    std::string_view text("\x81\x3B;", 3);
    EXPECT_EQ(Cp932::FindChar(text, ';'), 1u);
    EXPECT_EQ(Cp932::FindLastChar(text, ';'), 2u);
}

TEST(Cp932, StringSearchMatchesOnlyOnCharacterBoundaries) {
    EXPECT_EQ(Cp932::FindString("\\\\server\\share", "\\\\"), 0u);
    // 表\ is 95 5C 5C: the bytes "\\" at offset 1 are not two backslashes.
    EXPECT_EQ(Cp932::FindString("a表\\b", "\\\\"), Cp932::npos);
    EXPECT_EQ(Cp932::FindString("a表\\\\b", "\\\\"), 3u);
    EXPECT_EQ(Cp932::FindString("ア表表", "表"), 2u);
    EXPECT_EQ(Cp932::FindString("ア表表", "表", 3), 4u);
    EXPECT_EQ(Cp932::FindString("abc", ""), 0u);
    EXPECT_EQ(Cp932::FindString("abc", "", 3), 3u);
    EXPECT_EQ(Cp932::FindString("abc", "", 4), Cp932::npos);
    // A needle ending in a lead byte must not match half of a character.
    EXPECT_EQ(Cp932::FindString("a表", "a\x95"), Cp932::npos);
    EXPECT_EQ(Cp932::FindString("a\x95", "a\x95"), 0u);
}

TEST(Cp932, CutKeepsDoubleByteCharactersWhole) {
    const std::string name = "AB表示";  // 41 42 95 5C 8E A6
    EXPECT_EQ(Cp932::CutOnCharBoundary(name, 0), "");
    EXPECT_EQ(Cp932::CutOnCharBoundary(name, 3), "AB");
    EXPECT_EQ(Cp932::CutOnCharBoundary(name, 4), "AB表");
    EXPECT_EQ(Cp932::CutOnCharBoundary(name, 5), "AB表");
    EXPECT_EQ(Cp932::CutOnCharBoundary(name, 6), name);
    EXPECT_EQ(Cp932::CutOnCharBoundary(name, 100), name);

    // The client name in a report is cut to 32 bytes: 15 kanji and "AB"
    // make 32, one more kanji would be the 33rd and 34th bytes.
    std::string client = "AB";
    for (int i = 0; i < 16; ++i) client += "表";
    EXPECT_EQ(Cp932::CutOnCharBoundary(client, 32).size(), 32u);
    EXPECT_EQ(Cp932::CutOnCharBoundary(client, 33).size(), 32u);
    std::string odd = "A" + client;
    EXPECT_EQ(Cp932::CutOnCharBoundary(odd, 32).size(), 31u);

    // A lone lead byte at the end is one byte long and may be kept.
    EXPECT_EQ(Cp932::CutOnCharBoundary(std::string_view("A\x81", 2), 2), std::string_view("A\x81", 2));
}
