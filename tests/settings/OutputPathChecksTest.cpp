#include "settings/OutputPathChecks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/DriveTable.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;
using Checks = OutputPathChecks;
using testfiles::Utf8;

// "\", 249 letters and 表表 (95 5C: its second byte is a backslash): with a separator behind, the 255 bytes of a
// directory that _splitpath keeps whole.
static const std::string kDir = "\\" + std::string(249, 'a') + "表表";

// A fresh root with its default drives (C: a folder), a CD-ROM, two shares, and C:\keep\old\file.txt.
TEST(OutputPathChecks, OneTablePerCheck) {
    TempRoot root;
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    const std::string c = fs::canonical(root / "drives/c").string();
    fs::create_directories(root / "drives/d");
    testfiles::WriteFile(root / "drives/types", "d=cdrom\n");
    fs::create_directories(root / "unc/server/share");
    fs::create_directories(root / "unc/server/readonly");
    fs::permissions(root / "unc/server/readonly", fs::perms(0555));
    fs::create_directories(c + "/keep/old");
    testfiles::WriteFile(c + "/keep/old/file.txt", "x");

    using Check = bool (*)(const char*);
    const Check valid = Checks::HasValidPathCharacters, folder = Checks::IsExistingFolder;
    const Check reach = Checks::IsPathReachable, whole = Checks::HasWholeFolderPart;
    for (const auto& [name, check, path, expected] : {std::tuple<const char*, Check, std::string, bool>{
             "blanks and second bytes 0x5C and 0x7C", valid, "C:\\表\\ソ\\ポ x.xml", true},
             {"a share", valid, "\\\\srv\\share\\o.xml", true}, {"two backslashes", valid, "C:\\a\\\\o.xml", false},
             {"two in a share", valid, "\\\\srv\\\\share\\o", false}, {"a bar with no drive", valid, "a|b.xml", false},
             {"control byte 0x01", valid, "C:\\a\x01.xml", false}, {"control byte 0x1F", valid, "C:\\a\x1f.xml", false},
             {"an existing folder", folder, "c:\\keep\\new.xml", true}, {"a missing one", folder, "C:\\no\\o", false},
             {"no folder", folder, "out.xml", false}, {"a missing share", reach, "\\\\server\\gone\\o", false},
             {"261 bytes", folder, "C:\\keep\\" + std::string(253, 'x'), false},
             {"a fixed drive", reach, "C:\\o.xml", true}, {"a CD-ROM", reach, "D:\\o.xml", false},
             {"two backslashes", reach, "C:\\a\\\\o", false}, {"a share root", reach, "\\\\server\\share\\n\\o", true},
             {"a server alone", reach, "\\\\server", false}, {"no backslash behind", reach, "\\\\server\\share", false},
             {"no drive: later checks", reach, "Q:\\o", true}, {"read-only", reach, "\\\\server\\readonly\\o", false},
             {"a directory of 256 bytes", whole, "C:" + kDir + "b\\x", false}})
        EXPECT_EQ(check(path.c_str()), expected) << name;
    for (const char* forbidden : {"*", "?", "/", ":", ",", ";", "\"", "<", ">", "|"})
        EXPECT_FALSE(valid((std::string("C:\\a") + forbidden + ".xml").c_str())) << forbidden;
    // 0x95 0x95 is one character, so the 0x5C behind it stands alone.
    for (const auto& [text, index, expected] : {std::tuple{"a表b", 0, false}, {"a表b", 1, true}, {"a表b", 2, true},
                                                {"a表b", 3, false}, {"\x95\x95\\", 2, false}})
        EXPECT_EQ(Checks::IsDoubleByteAt(text, std::size_t(index)), expected) << text << index;
    // A separator goes where none ends the path and there is room; a folder part is taken as _splitpath takes it.
    const std::string at259 = "C:\\" + std::string(256, 'a');
    for (const auto& [folderPart, path, expected, after] : {std::tuple<bool, std::string, bool, std::string>{
             false, "C:\\表", true, "C:\\表\\"}, {false, at259, true, at259 + "\\"},
             {false, at259 + "b", false, at259 + "b"}, {true, "C:", true, "C:"}, {true, "C:out.xml", true, "C:\\"},
             {true, "C:" + kDir + "\\x", true, "C:" + kDir + "\\"},
             {true, "C:" + kDir + "b\\x", false, "C:" + kDir + "b\\x"}}) {
        char buffer[261] = {};
        std::memcpy(buffer, path.data(), path.size());
        EXPECT_EQ(folderPart ? Checks::FolderPartOf(buffer) : Checks::EnsureTrailingSeparator(buffer, 261), expected);
        EXPECT_EQ(std::string(buffer), after);
    }

    std::string tooLong;  // 300 bytes in the host's UTF-8: more than a host folder name may have
    for (int i = 0; i < 100; ++i) tooLong += "表";
    // {chain, a folder it makes}; after a failure the folders below C: are as before.
    for (const auto& [path, made] : {std::pair<std::string, std::string>{"C:\\keep\\b\\c\\", "keep/b/c"},
             {"C:\\x\\y\\out.xml", "x/y"}, {"C:\\ソフト\\表\\", Utf8(u8"ソフト/表")},
             {"\\\\server\\share\\n\\", "../../unc/server/share/n"}, {"out\\", ""}, {"C:" + kDir + "b\\x", ""},
             {"C:\\keep\\old\\new\\deeper\\" + tooLong + "\\last\\", ""}, {"C:\\n1\\" + tooLong + "\\", ""},
             {"C:\\keep\\old\\file.txt\\sub\\", ""}, {"D:\\x\\y\\", ""}}) {
        const auto entries = [&c] { return std::distance(fs::recursive_directory_iterator(c), {}); };
        const std::ptrdiff_t before = entries();
        EXPECT_EQ(Checks::CreateFolderTree(path.c_str()), !made.empty()) << path;
        EXPECT_TRUE(made.empty() ? entries() == before : fs::is_directory(c + "/" + made)) << path;
    }
    EXPECT_TRUE(!fs::exists(c + "/x/y/out.xml") && fs::is_empty(root / "drives/d"));
    fs::permissions(c + "/keep/old", fs::perms(0555));  // read-only, for the superuser too
    EXPECT_FALSE(Checks::CreateFolderTree("C:\\keep\\old\\x\\") || fs::exists(c + "/keep/old/x"));

    // {path, kept folder, result, the highest folder removed}: case aside and through the folder part, a double-byte
    // name as one name; without a kept folder the deepest existing one; nothing for a kept folder off the path.
    for (const auto& [path, kept, expected, gone] : {std::tuple<const char*, const char*, bool, std::string>{
             "C:\\a\\b\\c\\", "C:\\", true, "a"}, {"c:\\a\\b\\c\\o.xml", "C:\\A\\B\\", true, "a/b/c"},
             {"C:\\a\\b\\c\\d\\", nullptr, true, "a/b/c"}, {"C:\\表\\ソ\\", "C:\\", true, Utf8(u8"表")},
             {"C:\\a\\b\\", "D:\\a\\", false, ""}, {"C:\\a\\b\\", "C:\\x\\", false, ""}}) {
        fs::create_directories(c + "/a/b/c");
        fs::create_directories(c + "/" + Utf8(u8"表/ソ"));
        EXPECT_EQ(Checks::RemoveCreatedFolders(path, kept), expected) << path;
        const fs::path removed = c + "/" + gone;
        EXPECT_TRUE(gone.empty() ? fs::is_directory(c + "/a/b/c")
                                 : !fs::exists(removed) && fs::is_directory(removed.parent_path())) << path;
    }
    testfiles::WriteFile(c + "/a/b/later.txt", "x");  // a folder filled meanwhile stays and is reported
    EXPECT_FALSE(Checks::RemoveCreatedFolders("C:\\a\\b\\c\\", "C:\\a\\"));
    EXPECT_TRUE(!fs::exists(c + "/a/b/c") && fs::exists(c + "/a/b/later.txt"));
}
