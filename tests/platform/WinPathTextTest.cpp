#include "platform/WinPathText.h"

#include <gtest/gtest.h>

#include <cstring>

// 表 (95 5C) and ソ (83 5C) end in a backslash byte, ポ (83 7C) in "|": none
// of them separates anything.

TEST(WinPathTextTest, StripsToTheDriveOrShareRootOrFailsWithoutOne) {
    struct Row { const char* path; bool found; const char* left; };
    const Row rows[] = {
        {"C:\\a\\b", true, "C:\\"}, {"C:\\a\\b\\", true, "C:\\"}, {"C:\\", true, "C:\\"}, {"D:\\表\\ソ", true, "D:\\"},
        {"\\\\srv\\share\\dir\\x", true, "\\\\srv\\share"}, {"\\\\srv\\share", true, "\\\\srv\\share"},
        {"\\\\srv", true, "\\\\srv"}, {"\\\\サバ\\表ソ\\出力\\a", true, "\\\\サバ\\表ソ"}, {"\\a\\b", true, "\\"},
        {"a\\b", false, ""}, {"C:", false, "C:"}, {"C:a\\b", false, "C:"}, {"", false, ""},
        {"\x95:\\a", false, "\x95:\\"},  // a lead byte before ":" names no drive
    };
    for (const Row& row : rows) {
        std::string path = row.path;
        EXPECT_EQ(WinPathText::PathStripToRootA(path.data()), row.found) << row.path;
        EXPECT_STREQ(path.c_str(), row.left);
    }
    EXPECT_FALSE(WinPathText::PathStripToRootA(nullptr));
}

TEST(WinPathTextTest, SkipsTheRootOrGivesNullWithoutOne) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\a\\b", "a\\b"}, {"C:\\", ""}, {"\\\\srv\\share\\a\\b", "a\\b"}, {"\\\\srv\\share\\", ""},
        {"\\\\srv\\表\\ポ\\x", "ポ\\x"}, {"\\\\表\\share\\x", "x"}, {"\\\\srv\\share", nullptr}, {"\\\\srv", nullptr},
        {"\\\\srv\\表", nullptr}, {"C:a", nullptr}, {"\\a", nullptr}, {"a\\b", nullptr}, {"", nullptr}};
    for (const auto& [path, rest] : rows) {  // a pointer into the path
        const char* end = path + std::strlen(path);
        EXPECT_EQ(WinPathText::PathSkipRootA(path), rest ? end - std::strlen(rest) : nullptr) << path;
    }
    EXPECT_EQ(WinPathText::PathSkipRootA(nullptr), nullptr);
}

// As the runtime's _splitpath, by character. A part longer than its buffer is
// cut to size - 1 bytes, never inside a double-byte character, and nothing is
// written behind the buffer.
TEST(WinPathTextTest, SplitsDriveFolderNameAndExtension) {
    const std::string d(300, 'd'), n(300, 'n'), x(300, 'x'), longPath = "C:\\" + d + "\\" + n + "." + x;
    const std::string longName = std::string(254, 'a') + "表", fitting(255, 'a');
    struct Row { const char* path; std::string parts; bool whole = true; };  // drive|dir|fname|ext
    const Row rows[] = {
        {"C:\\data\\out.xml", "C:|\\data\\|out|.xml"}, {"c:/d/x.y", "c:|/d/|x|.y"}, {"", "|||"}, {nullptr, "|||"},
        {"C:out.xml", "C:||out|.xml"}, {"C:\\data\\", "C:|\\data\\||"}, {"out", "||out|"}, {".profile", "|||.profile"},
        {"\\\\srv\\share\\d\\o.xml", "|\\\\srv\\share\\d\\|o|.xml"}, {"\\\\srv\\share", "|\\\\srv\\|share|"},
        {"C:\\a.b\\x.tar.gz", "C:|\\a.b\\|x.tar|.gz"}, {"name.", "||name|."}, {"C:\\表\\ポ.xml", "C:|\\表\\|ポ|.xml"},
        {"C:\\dir\\表.xml", "C:|\\dir\\|表|.xml"}, {"ポ\\ポ", "|ポ\\|ポ|"},
        {"C:\\a\\\x95", "C:|\\a\\|\x95|"},  // a lead byte at the very end is a byte of its own
        {fitting.c_str(), "||" + fitting + "|"}, {longName.c_str(), "||" + fitting.substr(1) + "|", false},
        {longPath.c_str(), "C:|\\" + d.substr(46) + "|" + n.substr(45) + "|." + x.substr(46), false}};
    for (const Row& row : rows) {
        char drive[WinPathText::kMaxDrive], dir[257], name[257], ext[257];
        dir[256] = name[256] = ext[256] = '#';
        EXPECT_EQ(WinPathText::SplitPath(row.path, drive, dir, name, ext), row.whole) << row.parts;
        EXPECT_EQ(std::string(drive) + "|" + dir + "|" + name + "|" + ext, row.parts);
        EXPECT_EQ(std::string() + dir[256] + name[256] + ext[256], "###");
    }
    char name[WinPathText::kMaxFname];  // parts not asked for are left out
    EXPECT_FALSE(WinPathText::SplitPath(longName.c_str(), nullptr, nullptr, name, nullptr));
    EXPECT_EQ(name, fitting.substr(1));
}

TEST(WinPathTextTest, SplitsAtTheLastSeparatorByCharacter) {
    const std::tuple<const char*, bool, const char*> rows[] = {{"C:\\表\\ソ.xml", false, "C:\\表\\|ソ.xml"},
        {"C:表.xml", true, "C:|表.xml"}, {"C:表.xml", false, "|C:表.xml"}, {"表.xml", true, "|表.xml"},
        {"C:\\d\\", false, "C:\\d\\|"}};
    for (const auto& [path, orColon, expected] : rows) {
        const WinPathText::Split split = WinPathText::SplitAtLastSeparator(path, orColon);
        EXPECT_EQ(std::string(split.folder) + "|" + std::string(split.name), expected);
    }
    EXPECT_TRUE(WinPathText::EndsInDoubleByte("C:\\表") && WinPathText::EndsInSeparator("C:\\表\\"));
    EXPECT_FALSE(WinPathText::EndsInDoubleByte("C:\\a") || WinPathText::EndsInDoubleByte("") ||
                 WinPathText::EndsInSeparator("C:\\表") || WinPathText::EndsInSeparator(""));
}
