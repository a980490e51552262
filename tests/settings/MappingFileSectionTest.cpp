#include "settings/MappingFileSection.h"

#include <gtest/gtest.h>

using Find = MappingFileSection::Find;

TEST(MappingFileSection, TheBodyLiesBetweenMarkersThatStartALine) {
    const std::string section = "[共通様式]\r\n", end = "[終了]\r\n";
    // 32767 bytes from the start of the section line to the "[終了]" are the most the format holds.
    const std::string full = std::string(32767 - section.size() - 1, ' ') + "\n";
    for (const auto& [name, file, find, body] : {std::tuple<const char*, std::string, Find, std::string>{
             "nothing", "", Find::kMissing, ""}, {"a section line without LF", "[共通様式]", Find::kMissing, ""},
             {"no end", section + "1\r\n", Find::kMissing, ""},
             {"no end at a line start", section + "1\r\nx" + end, Find::kMissing, ""},
             {"markers in mid-line count for nothing", "x" + section + "1\r\nx" + end, Find::kMissing, ""},
             {"other sections before, anything behind",
              "[他]\r\n1\r\n" + end + "[共通様式] x\r\nA\r\nB" + end + "2\n" + end + "9\r\n" + section + "8\r\n" + end,
              Find::kFound, "A\r\nB[終了]\r\n2\n"},
             {"an empty body", section + end, Find::kFound, ""},
             {"the largest section", section + full + end, Find::kFound, full},
             {"one byte more", section + " " + full + end, Find::kTooLarge, ""}}) {
        std::string_view found = "untouched";
        EXPECT_EQ(MappingFileSection::FindBody(file, &found), find) << name;
        EXPECT_EQ(found, find == Find::kFound ? body : "untouched") << name;
    }
    EXPECT_EQ(MappingFileSection::Lines("a\r\nb\n\nc"), (std::vector<std::string_view>{"a\r", "b", ""}));
    EXPECT_EQ(MappingFileSection::WithoutCr("a\r\r"), "a");
}

TEST(MappingFileSection, HexadecimalCodesReadAsStrtoulReadsThem) {
    for (const auto& [text, value] : {std::pair<const char*, std::uint32_t>{" 1f", 0x1F}, {"0x1F", 0x1F}, {"+10", 0x10},
             {"-1", 0xFFFFFFFF}, {"-0x10", 0xFFFFFFF0}, {"fffffffff", 0xFFFFFFFF}, {"1g2", 1}, {"zz", 0}, {"0xg", 0},
             {"0x", 0}, {"0x1", 1}, {"", 0}})
        EXPECT_EQ(MappingFileSection::ReadHex(text), value) << text;
}
