#include "platform/FullWidthMapper.h"

#include <gtest/gtest.h>

#include <cstring>

// Narrow literals are code page 932 bytes, as the mapper's input and output are.
TEST(FullWidthMapper, MapsHalfWidthCharactersAndLeavesTheRest) {
    const std::pair<std::string, std::string> rows[] = {
        {"!09AZaz{|}", "！０９ＡＺａｚ｛｜｝"},
        {" \\~\"'", "\x81\x40\x81\x5F\x81\x60\xFA\x57\xFA\x56"},  // the quotes only in the IBM rows
        {"｡｢ｱｦﾝﾞﾟ", "。「アヲン゛゜"}, {"ｶﾞｳﾞｧﾊﾟﾎﾞﾎﾟ", "ガヴァパボポ"},
        {"ﾜﾞｶﾟﾅﾞﾞｶﾊﾞﾞｶ", "ワ゛カ゜ナ゛゛カバ゛カ"},  // no such composed character, or no mark
        {"事業　ＡＢ～表ポ\x83\xB6", "事業　ＡＢ～表ポ\x83\xB6"}, {std::string("\t\x7F\0\x80\xA0\xFD\xFF", 7), ""},
        {"A\x81", "Ａ\x81"}, {"\x81\x1F" "A", "\x81\x1FＡ"}, {"", ""}};
    for (const auto& [in, out] : rows) EXPECT_EQ(FullWidthMapper::ToFullWidth(in), out.empty() ? in : out) << in;
}

TEST(FullWidthMapper, MapFollowsTheLCMapStringBufferRules) {
    struct Row { const char* src; int srcLength, dstSize, result; std::string written; };  // then "#"
    const Row rows[] = {{"ABC", 3, 0, 6, ""},        {"ABC", -1, 0, 7, ""},   {"ABC", -1, 6, 0, ""},
                        {"ABC", -1, 7, 7, std::string("ＡＢＣ", 7)}, {"ｶﾞ", 1, 16, 2, "カ"}, {"ABC", 0, 16, 0, ""},
                        {"ABC", -2, 16, 0, ""},      {nullptr, 3, 16, 0, ""}, {"ABC", 3, -1, 0, ""}};
    for (const Row& row : rows) {
        char dst[16];
        std::memset(dst, '#', sizeof dst);
        EXPECT_EQ(FullWidthMapper::Map(row.src, row.srcLength, row.dstSize == 0 ? nullptr : dst, row.dstSize),
                  row.result) << row.srcLength << " " << row.dstSize;
        EXPECT_EQ(std::string(dst, row.written.size() + 1), row.written + "#");
    }
    EXPECT_EQ(FullWidthMapper::Map("ABC", 3, nullptr, 8), 0);  // a size but no buffer
}
