#include "platform/DriveTable.h"

#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using testfiles::Utf8;

// First use makes c and z; a table the user made is left as it is, and there
// a drive's type is "letter = type" a line (either case, blanks and comments
// ignored, a later line winning), Fixed when the word is none, and a declared
// drive without its folder has no medium in it.
TEST(DriveTableTest, FirstUseMakesCAndZAndTheTypesFileDeclaresTheOthers) {
    {
        TempRoot root;
        EXPECT_EQ(DriveTable::DriveType('c'), DriveTable::Fixed);
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(root / "drives/c")));
        EXPECT_EQ(fs::read_symlink(root / "drives/z"), fs::path("/"));
        EXPECT_EQ(DriveTable::DriveType('Z'), DriveTable::Fixed);
    }
    TempRoot root;
    fs::create_directories(root / "drives/d");
    fs::create_directories(root / "drives/e");
    testfiles::WriteFile(root / "drives/types", "D=cdrom\ne=floppy\nu=unknown\n");
    const std::pair<char, DriveTable::Type> drives[] = {{'d', DriveTable::Cdrom}, {'e', DriveTable::Fixed},
        {'u', DriveTable::Unknown}, {'q', DriveTable::NoRootDir}, {'1', DriveTable::NoRootDir},
        {'c', DriveTable::NoRootDir}};
    for (const auto& [letter, type] : drives) EXPECT_EQ(DriveTable::DriveType(letter), type) << letter;
    EXPECT_FALSE(fs::exists(fs::symlink_status(root / "drives/z")));
    EXPECT_TRUE(DriveTable::ToWindowsPath("/etc") == std::nullopt && DriveTable::ToHostPath("U:\\x") == std::nullopt);

    const DriveTable::DeclaredTypes types = DriveTable::ParseTypes(
        "# drives\n  D = CDROM \r\ne=cdrom\ne=removable ; the stick\n\nu=unknown\nr=RamDisk\nn=remote\nf=fixed\n"
        "g=floppy\ngh=cdrom\n1=cdrom\nw=cdrom # =fixed\nx;=cdrom\n\tk\t=\tremote\v");
    const std::pair<char, std::optional<DriveTable::Type>> rows[] = {{'d', DriveTable::Cdrom},
        {'e', DriveTable::Removable}, {'u', DriveTable::Unknown}, {'r', DriveTable::Ramdisk}, {'n', DriveTable::Remote},
        {'f', DriveTable::Fixed}, {'w', DriveTable::Cdrom}, {'k', DriveTable::Remote}, {'g', std::nullopt},
        {'h', std::nullopt}, {'x', std::nullopt}, {'a', std::nullopt}};
    for (const auto& [letter, type] : rows) EXPECT_EQ(types[static_cast<std::size_t>(letter - 'a')], type) << letter;
}

// Windows paths map into their drive or share (the process working in
// C:\prog\bin), host paths to the drive or share with the longest folder
// holding them: a file below c is "C:\..." rather than "Z:\...". 表 is 95 5C:
// its second byte does not split the name.
TEST(DriveTableTest, MapsPathsBothWays) {
    TempRoot root;
    CurrentFolderGuard guard;
    DriveTable::EnsureDefaults();
    const std::string c = fs::canonical(root / "drives/c").string(), share = root / "unc/srv/share";
    fs::create_directories(c + "/prog/bin");
    fs::current_path(c + "/prog/bin");
    struct Row { std::string windows; std::optional<std::string> host; };
    const Row rows[] = {
        {"C:\\data\\out.xml", c + "/data/out.xml"}, {"c:/data//out.xml", c + "/data/out.xml"}, {"C:", c}, {"C:\\", c},
        {"C:\\data\\.\\sub\\", c + "/data/sub/"}, {"z:\\etc\\passwd", "/etc/passwd"}, {"Z:\\", "/"}, {"", std::nullopt},
        {"Q:\\data", std::nullopt}, {std::string("C:\\a\0b", 6), std::nullopt}, {"C:\\\x81", std::nullopt},
        {"\\\\srv\\share", share}, {"\\\\srv\\share\\d\\out.xml", share + "/d/out.xml"}, {"\\\\srv", std::nullopt},
        {"\\\\srv\\", std::nullopt}, {"\\\\?\\C:\\x", std::nullopt}, {"\\\\srv\\..\\x", std::nullopt},
        {"C:\\..\\..\\etc", c + "/etc"}, {"C:\\a\\b\\..\\c", c + "/a/c"}, {"\\\\srv\\share\\..\\..\\x", share + "/x"},
        {"C:\\表", c + "/" + Utf8(u8"表")}, {"KumotoriDef.ini", c + "/prog/bin/KumotoriDef.ini"},
        {"..\\d\\x", c + "/prog/d/x"}, {"\\x", c + "/x"}, {"C:x", c + "/prog/bin/x"}, {"Z:etc", "/etc"}};
    for (const Row& row : rows) EXPECT_EQ(DriveTable::ToHostPath(row.windows), row.host) << row.windows;

    fs::create_directories(c + "/deep/er");
    fs::create_directory_symlink(c + "/deep", root / "drives/d");
    fs::create_directories(share + "/dir");
    std::string sibling = "Z:" + c + "x";
    std::replace(sibling.begin(), sibling.end(), '/', '\\');
    const std::pair<std::string, std::optional<std::string>> hosts[] = {
        {"/etc/passwd", "Z:\\etc\\passwd"}, {"/", "Z:\\"}, {c, "C:\\"}, {c + "/out.xml", "C:\\out.xml"},
        {c + "/deep/er/x", "D:\\er\\x"}, {root / "drives/z" + c + "/x/", "C:\\x"}, {c + "x", sibling},
        {share + "/dir/f.xml", "\\\\srv\\share\\dir\\f.xml"}, {share, "\\\\srv\\share\\"},
        {c + "/" + Utf8(u8"表/ソ.xml"), "C:\\表\\ソ.xml"}, {c + "/" + Utf8(u8"\U0001F600"), std::nullopt},
        {c + "/a\\b", std::nullopt}};  // no code page 932 form, and a backslash in a host name
    for (const auto& [host, windows] : hosts) EXPECT_EQ(DriveTable::ToWindowsPath(host), windows) << host;
}
