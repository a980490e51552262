#include "platform/WinPathText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct StripResult {
    bool found;
    std::string path;
};

StripResult Strip(const std::string& path) {
    char buffer[261];
    std::strncpy(buffer, path.c_str(), sizeof buffer - 1);
    buffer[sizeof buffer - 1] = '\0';
    bool found = WinPathText::PathStripToRootA(buffer);
    return {found, buffer};
}

// The rest behind the root, or "(null)".
std::string Skip(const char* path) {
    const char* rest = WinPathText::PathSkipRootA(path);
    if (rest == nullptr) return "(null)";
    EXPECT_GE(rest, path);
    EXPECT_LE(rest, path + std::strlen(path));
    return rest;
}

// drive|dir|fname|ext
std::string Split(const char* path) {
    char drive[WinPathText::kMaxDrive];
    char dir[WinPathText::kMaxDir];
    char fname[WinPathText::kMaxFname];
    char ext[WinPathText::kMaxExt];
    WinPathText::SplitPath(path, drive, dir, fname, ext);
    return std::string(drive) + "|" + dir + "|" + fname + "|" + ext;
}

TEST(WinPathTextTest, PathsAreSplitAtTheirLastSeparatorByCharacter) {
    struct Case {
        std::string_view path;
        bool orColon;
        std::string_view folder;
        std::string_view name;
    };
    // 表 ends in 0x5C, which separates nothing.
    for (const Case& c : {Case{"C:\\表\\ソ.xml", false, "C:\\表\\", "ソ.xml"}, Case{"C:表.xml", true, "C:", "表.xml"},
                          Case{"C:表.xml", false, "", "C:表.xml"}, Case{"表.xml", true, "", "表.xml"},
                          Case{"C:\\dir\\", false, "C:\\dir\\", ""}}) {
        const WinPathText::Split split = WinPathText::SplitAtLastSeparator(c.path, c.orColon);
        EXPECT_EQ(split.folder, c.folder) << c.path;
        EXPECT_EQ(split.name, c.name) << c.path;
    }
    EXPECT_TRUE(WinPathText::EndsInDoubleByte("C:\\表"));
    EXPECT_FALSE(WinPathText::EndsInSeparator("C:\\表"));
    EXPECT_TRUE(WinPathText::EndsInSeparator("C:\\表\\"));
    EXPECT_FALSE(WinPathText::EndsInDoubleByte(""));
}

}  // namespace

TEST(WinPathTextTest, StripsDriveAndShareRoots) {
    EXPECT_TRUE(Strip("C:\\a\\b").found);
    EXPECT_EQ(Strip("C:\\a\\b").path, "C:\\");
    EXPECT_EQ(Strip("C:\\a\\b\\").path, "C:\\");
    EXPECT_EQ(Strip("C:\\").path, "C:\\");
    EXPECT_EQ(Strip("\\\\server\\share\\dir\\out.xml").path, "\\\\server\\share");
    EXPECT_EQ(Strip("\\\\server\\share").path, "\\\\server\\share");
    EXPECT_EQ(Strip("\\\\server").path, "\\\\server");
    EXPECT_TRUE(Strip("\\\\server").found);
    EXPECT_EQ(Strip("\\a\\b").path, "\\") << "the root of the current drive";
    // "表" (0x95 0x5C) and "ソ" (0x83 0x5C) end in a backslash byte that
    // separates nothing: the share name is "表ソ".
    EXPECT_EQ(Strip("\\\\サーバ\\表ソ\\出力\\a.xml").path, "\\\\サーバ\\表ソ");
    EXPECT_EQ(Strip("D:\\表\\ソ").path, "D:\\");
}

TEST(WinPathTextTest, StripFailsWithoutRoot) {
    EXPECT_EQ(Strip("a\\b").found, false);
    EXPECT_EQ(Strip("a\\b").path, "");
    EXPECT_EQ(Strip("C:").found, false);
    EXPECT_EQ(Strip("C:").path, "C:");
    EXPECT_EQ(Strip("C:a\\b").found, false);
    EXPECT_EQ(Strip("C:a\\b").path, "C:");
    EXPECT_EQ(Strip("").found, false);
    EXPECT_FALSE(WinPathText::PathStripToRootA(nullptr));
    // A lead byte before ":" names no drive.
    EXPECT_FALSE(Strip("\x95:\\a").found);
}

TEST(WinPathTextTest, SkipsRoot) {
    EXPECT_EQ(Skip("C:\\a\\b"), "a\\b");
    EXPECT_EQ(Skip("C:\\"), "");
    EXPECT_EQ(Skip("\\\\server\\share\\a\\b"), "a\\b");
    EXPECT_EQ(Skip("\\\\server\\share\\"), "");
    EXPECT_EQ(Skip("\\\\server\\share"), "(null)") << "no backslash behind the share";
    EXPECT_EQ(Skip("\\\\server"), "(null)");
    EXPECT_EQ(Skip("C:a"), "(null)");
    EXPECT_EQ(Skip("\\a"), "(null)");
    EXPECT_EQ(Skip("a\\b"), "(null)");
    EXPECT_EQ(Skip(""), "(null)");
    EXPECT_EQ(WinPathText::PathSkipRootA(nullptr), nullptr);
    // The share "表" ends in 0x5C; the next separator is behind "ポ".
    EXPECT_EQ(Skip("\\\\srv\\表\\ポ\\x"), "ポ\\x");
    EXPECT_EQ(Skip("\\\\表\\share\\x"), "x");
    EXPECT_EQ(Skip("\\\\srv\\表"), "(null)");
}

TEST(WinPathTextTest, SplitsDriveFolderNameAndExtension) {
    EXPECT_EQ(Split("C:\\data\\out.xml"), "C:|\\data\\|out|.xml");
    EXPECT_EQ(Split("c:/data/out.xml"), "c:|/data/|out|.xml");
    EXPECT_EQ(Split("C:out.xml"), "C:||out|.xml");
    EXPECT_EQ(Split("C:\\data\\"), "C:|\\data\\||");
    EXPECT_EQ(Split("\\\\server\\share\\dir\\out.xml"), "|\\\\server\\share\\dir\\|out|.xml");
    EXPECT_EQ(Split("\\\\server\\share"), "|\\\\server\\|share|");
    EXPECT_EQ(Split("out"), "||out|");
    EXPECT_EQ(Split(""), "|||");
    EXPECT_EQ(Split(nullptr), "|||");
    // The extension starts at the last "." of the name, never of the folder.
    EXPECT_EQ(Split("C:\\a.b\\archive.tar.gz"), "C:|\\a.b\\|archive.tar|.gz");
    EXPECT_EQ(Split(".profile"), "|||.profile");
    EXPECT_EQ(Split("name."), "||name|.");
}

TEST(WinPathTextTest, SplitsByCharacter) {
    // "表" ends in 0x5C: the folder is "\表\", the name "ポ.xml".
    EXPECT_EQ(Split("C:\\表\\ポ.xml"), "C:|\\表\\|ポ|.xml");
    EXPECT_EQ(Split("C:\\dir\\表.xml"), "C:|\\dir\\|表|.xml");
    // "ポ" ends in 0x7C ("|"), which is no separator for _splitpath anyway.
    EXPECT_EQ(Split("ポ\\ポ"), "|ポ\\|ポ|");
    // A lead byte at the very end is a single byte.
    EXPECT_EQ(Split("C:\\a\\\x95"), "C:|\\a\\|\x95|");
}

TEST(WinPathTextTest, SplitTruncatesLongComponentsAndAcceptsNullOutputs) {
    std::string longDir = "C:\\" + std::string(300, 'd') + "\\" + std::string(300, 'n') + "." + std::string(300, 'e');
    char drive[WinPathText::kMaxDrive + 1];
    char dir[WinPathText::kMaxDir + 1];
    char fname[WinPathText::kMaxFname + 1];
    char ext[WinPathText::kMaxExt + 1];
    drive[WinPathText::kMaxDrive] = dir[WinPathText::kMaxDir] = fname[WinPathText::kMaxFname] =
        ext[WinPathText::kMaxExt] = '#';
    EXPECT_FALSE(WinPathText::SplitPath(longDir.c_str(), drive, dir, fname, ext));
    EXPECT_STREQ(drive, "C:");
    EXPECT_EQ(std::string(dir), ("\\" + std::string(300, 'd')).substr(0, 255));
    EXPECT_EQ(std::string(fname), std::string(255, 'n'));
    EXPECT_EQ(std::string(ext), ("." + std::string(300, 'e')).substr(0, 255));
    EXPECT_EQ(dir[WinPathText::kMaxDir], '#');
    EXPECT_EQ(fname[WinPathText::kMaxFname], '#');
    EXPECT_EQ(ext[WinPathText::kMaxExt], '#');

    // 254 bytes of "a" and then "表": 256 bytes, cut before "表", not inside it.
    std::string name = std::string(254, 'a') + "表";
    WinPathText::SplitPath(name.c_str(), nullptr, nullptr, fname, nullptr);
    EXPECT_EQ(std::string(fname), std::string(254, 'a'));

    EXPECT_TRUE(WinPathText::SplitPath("C:\\d\\f.x", nullptr, nullptr, nullptr, ext));
    EXPECT_STREQ(ext, ".x");
}
