#include "platform/WinFileSystem.h"

#include "tests/platform/EnvGuard.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;
using testfiles::Utf8;

// Default drives, a CD-ROM d, a removable e and a share; in c a file, a
// read-only file and a folder without write bits: without any write bit a
// file or folder is read-only even for the superuser.
class WinFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        for (const char* folder : {"drives/d/old", "drives/e", "unc/server/share", "drives/c/locked", "drives/c/Temp"})
            fs::create_directories(root_ / folder);
        for (const char* file : {"drives/d/setup.ini", "drives/c/out.xml", "drives/c/ro.xml"})
            testfiles::WriteFile(root_ / file, "x");
        testfiles::WriteFile(root_ / "drives/types", "d=cdrom\ne=removable\n");
        fs::permissions(root_ / "drives/c/ro.xml", fs::perms::owner_read | fs::perms::group_read);
        fs::permissions(root_ / "drives/c/locked", fs::perms::owner_read | fs::perms::owner_exec);
        c_ = fs::canonical(root_ / "drives/c").string();
    }

    TempRoot root_;
    CurrentFolderGuard folder_;
    std::string c_;
};

// Drive types of roots only (no root: the current folder's drive); access
// and writes follow the read-only rules (error 0: not checked).
TEST_F(WinFileSystemTest, DriveTypesAccessAndWritesFollowTheReadOnlyRules) {
    using W = WinFileSystem;
    const std::pair<const char*, unsigned> types[] = {
        {"C:\\", W::DRIVE_FIXED}, {"c:", W::DRIVE_FIXED}, {"C:/", W::DRIVE_FIXED}, {"D:\\", W::DRIVE_CDROM},
        {"E:\\", W::DRIVE_REMOVABLE}, {"Q:\\", W::DRIVE_NO_ROOT_DIR}, {"C:\\Windows\\", W::DRIVE_NO_ROOT_DIR},
        {"C:x", W::DRIVE_NO_ROOT_DIR}, {"\\\\server\\share\\", W::DRIVE_REMOTE}, {"share", W::DRIVE_NO_ROOT_DIR},
        {"\\\\server\\other\\", W::DRIVE_NO_ROOT_DIR}, {"\\\\server\\share\\dir\\", W::DRIVE_NO_ROOT_DIR}};
    for (const auto& [root, type] : types) EXPECT_EQ(W::GetDriveTypeA(root), type) << root;
    fs::current_path(root_ / "drives/d");
    EXPECT_EQ(W::GetDriveTypeA(nullptr), W::DRIVE_CDROM);
    fs::current_path(root_ / "unc/server/share");
    EXPECT_EQ(W::GetDriveTypeA(nullptr), W::DRIVE_REMOTE);
    struct Row { const char* path; int mode, result, error; };
    const Row rows[] = {
        {"C:\\out.xml", 0, 0, 0}, {"C:\\out.xml", 6, 0, 0}, {"C:\\", 6, 0, 0}, {"C:\\out.xml", 1, -1, EINVAL},
        {"C:\\missing.xml", 0, -1, ENOENT}, {"Q:\\", 0, -1, ENOENT}, {"C:\\ro.xml", 4, 0, 0},
        {"C:\\ro.xml", 2, -1, EACCES}, {"C:\\ro.xml", 6, -1, EACCES}, {"D:\\", 4, 0, 0}, {"D:\\setup.ini", 4, 0, 0},
        {"D:\\", 6, -1, EROFS}, {"D:\\setup.ini", 2, -1, EROFS}, {"\\\\server\\share", 6, 0, 0},
        {"\\\\server\\gone", 6, -1, ENOENT}};
    for (const auto& row : rows) {
        errno = 0;
        EXPECT_EQ(W::_access(row.path, row.mode), row.result) << row.path << " " << row.mode;
        EXPECT_TRUE(row.error == 0 || errno == row.error) << row.path << " " << row.mode << " " << errno;
    }
    const std::pair<const char*, bool> files[] = {{"C:\\out.xml", true}, {"C:\\new.xml", true}, {"C:\\ro.xml", false},
        {"C:\\locked\\new.xml", false}, {"D:\\setup.ini", false}, {"C:\\", false}, {"Q:\\new.xml", false}};
    for (const auto& [path, may] : files) EXPECT_EQ(W::MayWriteFile(path), may) << path;
}

// One step after the other: + creates, - removes, d asks for a folder, e for
// anything. 表 ends in byte 0x5C: one name on the host, not "\x95" and a separator.
TEST_F(WinFileSystemTest, FoldersAreMadeAndRemovedOneAtATime) {
    struct Step { char op; const char* path; bool result; };
    const Step steps[] = {
        {'+', "C:\\a", true}, {'+', "C:\\a\\", false}, {'+', "C:\\a\\b\\", true}, {'+', "C:\\表", true},
        {'+', "C:\\表\\ソフト", true}, {'+', "C:\\x\\y", false}, {'+', "C:\\", false}, {'+', "Q:\\a", false},
        {'+', "C:\\locked\\c", false}, {'+', "D:\\new", false}, {'d', "C:\\a\\b\\", true}, {'d', "c:\\", true},
        {'d', "C:\\表\\", true}, {'d', "C:\\out.xml", false}, {'d', "Q:\\", false}, {'e', "C:\\out.xml", true},
        {'e', "C:\\a", true}, {'e', "C:\\a\\nothing", false}, {'e', "Q:\\", false}, {'-', "C:\\a", false},
        {'-', "C:\\a\\b\\", true}, {'-', "C:\\a", true}, {'-', "C:\\表\\ソフト", true}, {'-', "C:\\", false},
        {'-', "C:\\表\\..", false}, {'-', "D:\\old", false}, {'-', "Q:\\a", false}};
    for (const Step& step : steps) {
        using W = WinFileSystem;
        const auto run = step.op == '+' ? W::CreateDirectoryA : step.op == '-' ? W::RemoveDirectoryA
                         : step.op == 'd' ? W::PathIsDirectoryA : W::PathFileExistsA;
        EXPECT_EQ(run(step.path), step.result) << step.op << " " << step.path;
    }
    EXPECT_TRUE(fs::is_directory(c_ + "/" + Utf8(u8"表")) && !fs::exists(c_ + "/" + Utf8(u8"表/ソフト")));
    EXPECT_EQ(WinFileSystem::HostPath("C:\\表\\ソフト"), c_ + "/" + Utf8(u8"表/ソフト"));
}

TEST_F(WinFileSystemTest, TempFolderProgramAndCurrentFolderAreWindowsPaths) {
    fs::create_directories(c_ + "/" + Utf8(u8"表"));
    char buffer[261], small[8] = {'k', 'e', 'e', 'p', 'i', 'n', 'g', '!'};
    struct Row { std::optional<std::string> tmpdir; std::string folder; };
    const Row rows[] = {
        {c_ + "/Temp/", "C:\\Temp\\"}, {c_ + "/" + Utf8(u8"表"), "C:\\表\\"}, {std::nullopt, "Z:\\tmp\\"}};
    for (const Row& row : rows) {  // a name ending in byte 0x5C still gets its own separator
        EnvGuard tmpdir("TMPDIR", row.tmpdir ? row.tmpdir->c_str() : nullptr);
        EXPECT_EQ(WinFileSystem::GetTempPathA(sizeof buffer, buffer), row.folder.size());
        EXPECT_EQ(buffer, row.folder);
        EXPECT_EQ(WinFileSystem::GetTempPathA(row.folder.size() + 1, buffer), row.folder.size());  // just fits
        EXPECT_EQ(WinFileSystem::GetTempPathA(row.folder.size(), small), row.folder.size() + 1);  // the size needed
        EXPECT_EQ(std::string(small, 8), "keeping!");
    }

    const std::optional<std::string> program = DriveTable::ToWindowsPath(fs::read_symlink("/proc/self/exe").string());
    ASSERT_TRUE(program && program->starts_with("Z:\\") && program->ends_with("\\platform_tests"));
    EXPECT_EQ(WinFileSystem::GetModuleFileNameA(buffer, sizeof buffer), program->size());
    EXPECT_EQ(buffer, *program);
    EXPECT_EQ(WinFileSystem::GetModuleFileNameA(buffer, 8), 8u);  // cut, with its NUL, as Windows does
    EXPECT_EQ(buffer, program->substr(0, 7));
    EXPECT_EQ(WinFileSystem::GetModuleFileNameA(buffer, 0), 0u);

    EXPECT_EQ(WinFileSystem::_chdir("C:\\Temp"), 0);
    EXPECT_EQ(fs::current_path(), fs::path(c_ + "/Temp"));
    EXPECT_EQ(WinFileSystem::_getcwd(buffer, 8), buffer);  // "C:\Temp" and its NUL just fit
    EXPECT_STREQ(buffer, "C:\\Temp");
    EXPECT_TRUE(WinFileSystem::_getcwd(buffer, 7) == nullptr && errno == ERANGE);
    EXPECT_TRUE(WinFileSystem::_getcwd(nullptr, 8) == nullptr && errno == EINVAL);
    EXPECT_EQ(WinFileSystem::HostPath("KumotoriDef.ini"), c_ + "/Temp/KumotoriDef.ini");  // beside the program
    EXPECT_EQ(WinFileSystem::HostPath(nullptr), std::nullopt);
    EXPECT_EQ(WinFileSystem::_chdir("Q:\\") + WinFileSystem::_chdir("C:\\missing"), -2);
    EXPECT_EQ(WinFileSystem::_chdir("C:\\"), 0);
    EXPECT_STREQ(WinFileSystem::_getcwd(buffer, sizeof buffer), "C:\\");
    fs::current_path(root_ / "unc/server/share");
    EXPECT_STREQ(WinFileSystem::_getcwd(buffer, sizeof buffer), "\\\\server\\share\\");
}
