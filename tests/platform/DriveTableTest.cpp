#include "platform/DriveTable.h"

#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

using testfiles::Utf8;
using testfiles::WriteFile;

namespace {

// The resolved host folder of the temporary root, as the table reports it.
std::string Resolved(const TempRoot& root) { return fs::canonical(root.Path()).string(); }

TEST(DriveTableTest, FirstUseMakesCAndZWhereTheUserHasNoTable) {
    TempRoot root;
    ASSERT_FALSE(fs::exists(root / "drives"));

    EXPECT_EQ(DriveTable::DriveType('c'), DriveTable::Fixed);
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(root / "drives/c")));
    ASSERT_TRUE(fs::is_symlink(root / "drives/z"));
    EXPECT_EQ(fs::read_symlink(root / "drives/z"), fs::path("/"));
    EXPECT_EQ(DriveTable::DriveType('Z'), DriveTable::Fixed);

    EXPECT_EQ(DriveTable::ToHostPath("Z:\\"), "/");
    EXPECT_EQ(DriveTable::ToHostPath("z:\\etc\\passwd"), "/etc/passwd");
    EXPECT_EQ(DriveTable::ToWindowsPath("/etc/passwd"), "Z:\\etc\\passwd");
    EXPECT_EQ(DriveTable::ToWindowsPath("/"), "Z:\\");
}

TEST(DriveTableTest, ATableTheUserMadeIsLeftAsItIs) {
    TempRoot root;
    fs::create_directories(root / "drives/d");

    EXPECT_EQ(DriveTable::DriveType('d'), DriveTable::Fixed);
    EXPECT_EQ(DriveTable::DriveType('c'), DriveTable::NoRootDir);
    EXPECT_EQ(DriveTable::ToHostPath("C:\\x"), std::nullopt);
    EXPECT_FALSE(fs::exists(fs::symlink_status(root / "drives/z")));
    // Without z, a host path outside every drive has no Windows form.
    EXPECT_EQ(DriveTable::ToWindowsPath("/etc"), std::nullopt);
}

TEST(DriveTableTest, TypesFileDeclaresTheOtherDriveTypes) {
    TempRoot root;
    fs::create_directories(root / "drives/d");
    fs::create_directories(root / "drives/e");
    fs::create_directories(root / "drives/f");
    WriteFile(root / "drives/types",
              "# drives of this machine\n"
              "  D = CDROM \r\n"
              "e=cdrom\n"
              "e=removable ; the USB stick, a later line wins\n"
              "\n"
              "u=unknown\n"
              "r=RamDisk\n"
              "n=remote\n"
              "f=floppy\n"     // no such type: f stays fixed
              "gh=cdrom\n"     // no single letter
              "w=cdrom # =fixed\n");

    EXPECT_EQ(DriveTable::DriveType('d'), DriveTable::Cdrom);
    EXPECT_EQ(DriveTable::DriveType('D'), DriveTable::Cdrom);
    EXPECT_EQ(DriveTable::DriveType('e'), DriveTable::Removable);
    EXPECT_EQ(DriveTable::DriveType('f'), DriveTable::Fixed);
    // Declared without a folder: a drive with no medium in it.
    EXPECT_EQ(DriveTable::DriveType('u'), DriveTable::Unknown);
    EXPECT_EQ(DriveTable::DriveType('r'), DriveTable::Ramdisk);
    EXPECT_EQ(DriveTable::DriveType('n'), DriveTable::Remote);
    EXPECT_EQ(DriveTable::DriveType('g'), DriveTable::NoRootDir);
    EXPECT_EQ(DriveTable::DriveType('w'), DriveTable::Cdrom);
    EXPECT_EQ(DriveTable::DriveType('q'), DriveTable::NoRootDir);
    EXPECT_EQ(DriveTable::DriveType('1'), DriveTable::NoRootDir);
    EXPECT_EQ(DriveTable::ToHostPath("U:\\x"), std::nullopt);
}

TEST(DriveTableTest, MapsDrivePathsAndSharesToHostFolders) {
    TempRoot root;
    const std::string c = Resolved(root) + "/drives/c";

    EXPECT_EQ(DriveTable::ToHostPath("C:\\data\\out.xml"), c + "/data/out.xml");
    EXPECT_EQ(DriveTable::ToHostPath("c:/data//out.xml"), c + "/data/out.xml");
    EXPECT_EQ(DriveTable::ToHostPath("C:\\data\\.\\sub\\"), c + "/data/sub/");
    EXPECT_EQ(DriveTable::ToHostPath("C:"), c);
    EXPECT_EQ(DriveTable::ToHostPath("C:\\"), c);
    EXPECT_EQ(DriveTable::ToHostPath("Q:\\data"), std::nullopt);
    EXPECT_EQ(DriveTable::ToHostPath(""), std::nullopt);
    EXPECT_EQ(DriveTable::ToHostPath(std::string_view("C:\\a\0b", 6)), std::nullopt);
    // A lead byte with nothing behind it is no code page 932 text.
    EXPECT_EQ(DriveTable::ToHostPath("C:\\\x81"), std::nullopt);

    EXPECT_EQ(DriveTable::ToHostPath("\\\\server\\share\\dir\\out.xml"), root / "unc/server/share/dir/out.xml");
    EXPECT_EQ(DriveTable::ToHostPath("\\\\server\\share"), root / "unc/server/share");
    EXPECT_EQ(DriveTable::ToHostPath("\\\\server"), std::nullopt);
    EXPECT_EQ(DriveTable::ToHostPath("\\\\server\\"), std::nullopt);
    EXPECT_EQ(DriveTable::ToHostPath("\\\\?\\C:\\x"), std::nullopt);
}

TEST(DriveTableTest, DotDotNeverLeavesTheDriveOrShare) {
    TempRoot root;
    const std::string c = Resolved(root) + "/drives/c";

    EXPECT_EQ(DriveTable::ToHostPath("C:\\..\\..\\etc"), c + "/etc");
    EXPECT_EQ(DriveTable::ToHostPath("C:\\a\\..\\..\\..\\b"), c + "/b");
    EXPECT_EQ(DriveTable::ToHostPath("C:\\a\\b\\..\\c"), c + "/a/c");
    EXPECT_EQ(DriveTable::ToHostPath("C:\\.."), c);
    EXPECT_EQ(DriveTable::ToHostPath("\\\\server\\share\\..\\..\\other"), root / "unc/server/share/other");
    EXPECT_EQ(DriveTable::ToHostPath("\\\\server\\..\\x"), std::nullopt);
    EXPECT_EQ(DriveTable::ToHostPath("\\\\..\\share\\x"), std::nullopt);
}

TEST(DriveTableTest, Cp932NamesAreUtf8OnTheHostAndComeBack) {
    TempRoot root;
    const std::string c = Resolved(root) + "/drives/c";
    // 表 is 0x95 0x5C: its second byte must not split the name.
    const std::string folder = "C:\\表";
    ASSERT_EQ(folder.substr(3), "\x95\x5C");

    EXPECT_EQ(DriveTable::ToHostPath(folder), c + "/" + Utf8(u8"表"));
    EXPECT_EQ(DriveTable::ToHostPath("C:\\表\\ソフト.xml"), c + "/" + Utf8(u8"表/ソフト.xml"));

    fs::create_directories(fs::path(c + "/" + Utf8(u8"表")));
    EXPECT_EQ(DriveTable::ToWindowsPath(c + "/" + Utf8(u8"表")), folder);
    EXPECT_EQ(DriveTable::ToWindowsPath(c + "/" + Utf8(u8"表/ソフト.xml")), "C:\\表\\ソフト.xml");
    // A name with no code page 932 form has no Windows path.
    EXPECT_EQ(DriveTable::ToWindowsPath(c + "/" + Utf8(u8"\U0001F600")), std::nullopt);
    EXPECT_EQ(DriveTable::ToWindowsPath(c + "/a\\b"), std::nullopt);
}

TEST(DriveTableTest, RelativePathsFollowTheCurrentFolder) {
    TempRoot root;
    CurrentFolderGuard guard;
    const std::string c = Resolved(root) + "/drives/c";
    DriveTable::EnsureDefaults();
    fs::create_directories(c + "/prog/bin");
    fs::current_path(c + "/prog/bin");

    EXPECT_EQ(DriveTable::ToHostPath("KumotoriDef.ini"), c + "/prog/bin/KumotoriDef.ini");
    EXPECT_EQ(DriveTable::ToHostPath("..\\data\\x"), c + "/prog/data/x");
    EXPECT_EQ(DriveTable::ToHostPath("..\\..\\..\\..\\x"), c + "/x");
    EXPECT_EQ(DriveTable::ToHostPath("\\x"), c + "/x");
    EXPECT_EQ(DriveTable::ToHostPath("C:x"), c + "/prog/bin/x");
    // Another drive's current folder is its root.
    EXPECT_EQ(DriveTable::ToHostPath("Z:etc"), "/etc");
}

TEST(DriveTableTest, ToWindowsPathTakesTheLongestDriveFolder) {
    TempRoot root;
    const std::string c = Resolved(root) + "/drives/c";
    DriveTable::EnsureDefaults();
    fs::create_directories(c + "/deep/er");
    fs::create_directory_symlink(c + "/deep", root / "drives/d");
    fs::create_directories(root / "unc/server/share/dir");

    EXPECT_EQ(DriveTable::ToWindowsPath(c + "/out.xml"), "C:\\out.xml");
    EXPECT_EQ(DriveTable::ToWindowsPath(c), "C:\\");
    EXPECT_EQ(DriveTable::ToWindowsPath(c + "/deep/er/out.xml"), "D:\\er\\out.xml");
    // Through the z link, and with a trailing slash, the same file.
    EXPECT_EQ(DriveTable::ToWindowsPath(root / "drives/z" + c + "/x/"), "C:\\x");
    // A folder whose name only begins like the drive folder's is not in it.
    std::string sibling = c + "x";
    std::replace(sibling.begin(), sibling.end(), '/', '\\');
    EXPECT_EQ(DriveTable::ToWindowsPath(c + "x"), "Z:" + sibling);
    EXPECT_EQ(DriveTable::ToWindowsPath(root / "unc/server/share/dir/f.xml"), "\\\\server\\share\\dir\\f.xml");
    EXPECT_EQ(DriveTable::ToWindowsPath(root / "unc/server/share"), "\\\\server\\share\\");
}

}  // namespace
