#include "settings/ItemDefinitionFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

// The item lines lie in the section "[共通様式]" up to the "[終了]" that starts a line: 32767 bytes at most.
static std::string File(const std::string& body) { return "[共通様式]\r\n" + body + "[終了]\r\n"; }

TEST(ItemDefinitionFile, EachLineGivesTheFieldsOfItsRecordInFileOrder) {
    // 30 bytes of caption, 50 of tag and ten codes in a line of 255 bytes before its LF (the CR counts).
    const std::string caption = "売上高売上高売上高売上高売上高", tag(50, 'T');
    std::string longest = "32767/-32768/1+2+3+4+5+6+7+8+9+A/" + caption + "/" + tag + ";";
    longest += std::string(254 - longest.size(), ' ') + "\r\n";
    // Codes read as strtoul reads them: blanks, a sign, "0x", digits up to another character, 0xFFFFFFFF beyond.
    std::string section = "[共通様式] x\r\n12/2/1A+1B+2C/売上（収入）高/URIAGEDAKA;anything\r\n\r\n"
                          " 7abc/-3/0x1f+-1+fffffffff+0xg+ -0x10/[終了]の前/表;\r\n/2//b/B;\n" + longest;
    while (section.size() < 32767) section += "\n";  // empty lines carry nothing
    ItemList items;
    ASSERT_TRUE(ItemDefinitionFile::Read("[他]\r\n9/1/0/x/X;\r\n[終了]\r\n" + section + "[終了]\r\n8/1/0/y/Y;\r\n", items));
    const std::tuple<int, int, std::array<std::uint32_t, 10>, std::string, std::string> expected[] = {
        {12, 2, {0x1A, 0x1B, 0x2C}, "売上（収入）高", "URIAGEDAKA"},
        {7, -3, {0x1F, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0xFFFFFFF0}, "[終了]の前", "表"},
        {0, 2, {}, "b", "B"}, {32767, -32768, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xA}, caption, tag}};
    ASSERT_EQ(items.size(), std::size(expected));
    auto item = items.begin();
    for (const auto& [no, side, codes, text, name] : expected) {
        const ReportItem& read = **item++;
        EXPECT_TRUE(read.ItemNo == no && read.BalanceSide == side && !memcmp(read.ClassCodes, codes.data(), 40)) << no;
        // The fields hold nothing behind their text.
        EXPECT_EQ(std::string(read.Caption, sizeof read.Caption), text + std::string(31 - text.size(), '\0')) << no;
        EXPECT_EQ(std::string(read.TagName, sizeof read.TagName), name + std::string(51 - name.size(), '\0')) << no;
    }
}

TEST(ItemDefinitionFile, ALineOutsideItsRecordRefusesTheWholeFile) {
    const std::string good = "1/1/0/a/A;\r\n";
    for (const auto& [name, file] : {std::pair<const char*, std::string>{"no section", good},
             {"a section marker in mid-line", "x" + File(good)}, {"no end at a line start", File(good + "x")},
             {"a section line without its LF", "[共通様式]"}, {"32768 bytes", File(good + std::string(32744, '\n'))},
             {"an empty body", File("")}, {"empty lines", File("\r\n\r\n")}, {"a blank line", File(good + " \r\n")},
             {"a '/' missing", File(good + "2/1/0/a;\r\n")}, {"no ';'", File(good + "2/1/0/a/A\r\n")},
             {"the ';' before the fifth field", File(good + "2/1;/0/a/A\r\n")},
             {"eleven codes", File(good + "2/1/1+2+3+4+5+6+7+8+9+A+B/a/A;\r\n")},
             {"256 bytes before the LF", File(good + "2/1/0/a/A;" + std::string(245, ' ') + "\r\n")},
             {"a caption of 31 bytes", File(good + "2/1/0/" + std::string(31, 'c') + "/A;\r\n")},
             {"a tag of 51 bytes", File(good + "2/1/0/a/" + std::string(51, 't') + ";\r\n")},
             {"item number over 16 bits", File(good + "32768/1/0/a/A;\r\n")},
             {"side over 16 bits", File(good + "2/-32769/0/a/A;\r\n")},
             {"a NUL in the caption", File(good + std::string("2/1/0/a\0b/A;\r\n", 14))},
             {"a NUL in the tag", File(good + std::string("2/1/0/a/A\0;\r\n", 13))}}) {
        ItemList items;
        items.push_back(std::make_unique<ReportItem>(ReportItem{.ItemNo = 99}));
        EXPECT_FALSE(ItemDefinitionFile::Read(file, items)) << name;
        EXPECT_TRUE(items.size() == 1 && items.front()->ItemNo == 99) << name;
    }
}
