#include "platform/WinFileSystem.h"

#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

using testfiles::Utf8;
using testfiles::WriteFile;

namespace {

// A temporary root with its default drives and a drive table file.
class WinFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        c_ = fs::canonical(root_ / "drives/c").string();
    }

    TempRoot root_;
    std::string c_;
};

// Sets or clears an environment variable for one scope.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvGuard() {
        if (saved_)
            setenv(name_, saved_->c_str(), 1);
        else
            unsetenv(name_);
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST_F(WinFileSystemTest, DriveTypesOfRootsLettersAndShares) {
    fs::create_directories(root_ / "drives/d");
    fs::create_directories(root_ / "drives/e");
    WriteFile(root_ / "drives/types", "d=cdrom\ne=removable\n");
    fs::create_directories(root_ / "unc/server/share");

    EXPECT_EQ(WinFileSystem::GetDriveTypeA("C:\\"), WinFileSystem::DRIVE_FIXED);
    EXPECT_EQ(WinFileSystem::GetDriveTypeA("c:"), WinFileSystem::DRIVE_FIXED);
    EXPECT_EQ(WinFileSystem::GetDriveTypeA("D:\\"), WinFileSystem::DRIVE_CDROM);
    EXPECT_EQ(WinFileSystem::GetDriveTypeA("E:\\"), WinFileSystem::DRIVE_REMOVABLE);
    EXPECT_EQ(WinFileSystem::GetDriveTypeA("Q:\\"), WinFileSystem::DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(WinFileSystem::GetDriveTypeA("C:\\Windows\\"), WinFileSystem::DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(WinFileSystem::GetDriveTypeA("\\\\server\\share\\"), WinFileSystem::DRIVE_REMOTE);
    EXPECT_EQ(WinFileSystem::GetDriveTypeA("\\\\server\\other\\"), WinFileSystem::DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(WinFileSystem::GetDriveTypeA("\\\\server\\share\\dir\\"), WinFileSystem::DRIVE_NO_ROOT_DIR);

    CurrentFolderGuard guard;
    fs::current_path(root_ / "drives/d");
    EXPECT_EQ(WinFileSystem::GetDriveTypeA(nullptr), WinFileSystem::DRIVE_CDROM);
}

TEST_F(WinFileSystemTest, AccessReportsExistenceAndRefusesWritesWhereReadOnly) {
    WriteFile(c_ + "/out.xml", "x");
    EXPECT_EQ(WinFileSystem::_access("C:\\out.xml", 0), 0);
    EXPECT_EQ(WinFileSystem::_access("C:\\out.xml", 6), 0);
    EXPECT_EQ(WinFileSystem::_access("C:\\", 6), 0);
    EXPECT_EQ(WinFileSystem::_access("C:\\missing.xml", 0), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(WinFileSystem::_access("Q:\\", 0), -1);
    EXPECT_EQ(WinFileSystem::_access("C:\\out.xml", 1), -1);

    // A file without write bits is read-only even for the superuser.
    fs::permissions(c_ + "/out.xml", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(WinFileSystem::_access("C:\\out.xml", 4), 0);
    EXPECT_EQ(WinFileSystem::_access("C:\\out.xml", 2), -1);
    EXPECT_EQ(WinFileSystem::_access("C:\\out.xml", 6), -1);

    // A CD-ROM drive is readable and never writable.
    fs::create_directories(root_ / "drives/d");
    WriteFile(root_ / "drives/d/setup.ini", "x");
    WriteFile(root_ / "drives/types", "d=cdrom\n");
    EXPECT_EQ(WinFileSystem::_access("D:\\", 4), 0);
    EXPECT_EQ(WinFileSystem::_access("D:\\setup.ini", 4), 0);
    EXPECT_EQ(WinFileSystem::_access("D:\\", 6), -1);
    EXPECT_EQ(errno, EROFS);
    EXPECT_EQ(WinFileSystem::_access("D:\\setup.ini", 2), -1);

    fs::create_directories(root_ / "unc/server/share");
    EXPECT_EQ(WinFileSystem::_access("\\\\server\\share", 6), 0);
    EXPECT_EQ(WinFileSystem::_access("\\\\server\\gone", 6), -1);
}

TEST_F(WinFileSystemTest, FoldersAreMadeAndRemovedOneAtATime) {
    EXPECT_TRUE(WinFileSystem::CreateDirectoryA("C:\\a"));
    EXPECT_TRUE(fs::is_directory(c_ + "/a"));
    EXPECT_FALSE(WinFileSystem::CreateDirectoryA("C:\\a\\"));
    EXPECT_FALSE(WinFileSystem::CreateDirectoryA("C:\\x\\y"));
    EXPECT_FALSE(WinFileSystem::CreateDirectoryA("C:\\"));
    EXPECT_FALSE(WinFileSystem::CreateDirectoryA("Q:\\a"));
    EXPECT_TRUE(WinFileSystem::CreateDirectoryA("C:\\a\\b\\"));

    WriteFile(c_ + "/a/b/file.txt", "x");
    EXPECT_TRUE(WinFileSystem::PathIsDirectoryA("C:\\a\\b\\"));
    EXPECT_TRUE(WinFileSystem::PathIsDirectoryA("c:\\"));
    EXPECT_FALSE(WinFileSystem::PathIsDirectoryA("C:\\a\\b\\file.txt"));
    EXPECT_TRUE(WinFileSystem::PathFileExistsA("C:\\a\\b\\file.txt"));
    EXPECT_TRUE(WinFileSystem::PathFileExistsA("C:\\a"));
    EXPECT_FALSE(WinFileSystem::PathFileExistsA("C:\\a\\nothing"));

    EXPECT_FALSE(WinFileSystem::RemoveDirectoryA("C:\\a\\b"));
    fs::remove(c_ + "/a/b/file.txt");
    EXPECT_TRUE(WinFileSystem::RemoveDirectoryA("C:\\a\\b\\"));
    EXPECT_FALSE(fs::exists(c_ + "/a/b"));

    // Roots stay, however they are named.
    EXPECT_FALSE(WinFileSystem::RemoveDirectoryA("C:\\"));
    EXPECT_FALSE(WinFileSystem::RemoveDirectoryA("C:\\a\\.."));
    EXPECT_TRUE(fs::is_directory(c_));

    // Nothing changes inside a folder without write bits, nor on a CD-ROM.
    fs::permissions(c_ + "/a", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(WinFileSystem::CreateDirectoryA("C:\\a\\c"));
    EXPECT_FALSE(fs::exists(c_ + "/a/c"));
    fs::create_directories(root_ / "drives/d/old");
    WriteFile(root_ / "drives/types", "d=cdrom\n");
    EXPECT_FALSE(WinFileSystem::CreateDirectoryA("D:\\new"));
    EXPECT_FALSE(WinFileSystem::RemoveDirectoryA("D:\\old"));
    EXPECT_TRUE(fs::is_directory(root_ / "drives/d/old"));
}

TEST_F(WinFileSystemTest, Cp932FolderNameIsUtf8OnTheHost) {
    // 表 ends in byte 0x5C; the folder is one name, not "\x95" and a separator.
    ASSERT_TRUE(WinFileSystem::CreateDirectoryA("C:\\表"));
    EXPECT_TRUE(fs::is_directory(c_ + "/" + Utf8(u8"表")));
    EXPECT_TRUE(WinFileSystem::PathIsDirectoryA("C:\\表\\"));
    EXPECT_TRUE(WinFileSystem::CreateDirectoryA("C:\\表\\ソフト"));
    EXPECT_TRUE(fs::is_directory(c_ + "/" + Utf8(u8"表/ソフト")));
    EXPECT_EQ(WinFileSystem::HostPath("C:\\表\\ソフト"), c_ + "/" + Utf8(u8"表/ソフト"));
    EXPECT_TRUE(WinFileSystem::RemoveDirectoryA("C:\\表\\ソフト"));
    EXPECT_TRUE(WinFileSystem::RemoveDirectoryA("C:\\表"));
    EXPECT_FALSE(fs::exists(c_ + "/" + Utf8(u8"表")));
}

TEST_F(WinFileSystemTest, TempPathIsTheHostTempFolderEndingInBackslash) {
    fs::create_directories(c_ + "/Temp");
    {
        EnvGuard tmpdir("TMPDIR", (c_ + "/Temp/").c_str());
        char buffer[261];
        const std::string expected = "C:\\Temp\\";
        EXPECT_EQ(WinFileSystem::GetTempPathA(sizeof buffer, buffer), expected.size());
        EXPECT_EQ(std::string(buffer), expected);

        char small[4] = {'k', 'e', 'e', 'p'};
        EXPECT_EQ(WinFileSystem::GetTempPathA(sizeof small, small), expected.size() + 1);
        EXPECT_EQ(std::string(small, 4), "keep");
            EXPECT_EQ(WinFileSystem::GetTempPathA(expected.size() + 1, buffer), expected.size());
    }
    {
        // A folder whose name ends in byte 0x5C still gets its own separator.
        fs::create_directories(c_ + "/" + Utf8(u8"表"));
        EnvGuard tmpdir("TMPDIR", (c_ + "/" + Utf8(u8"表")).c_str());
        char buffer[261];
        ASSERT_GT(WinFileSystem::GetTempPathA(sizeof buffer, buffer), 0u);
        EXPECT_EQ(std::string(buffer), "C:\\表\\");
    }
    {
        EnvGuard tmpdir("TMPDIR", nullptr);
        char buffer[261];
        ASSERT_GT(WinFileSystem::GetTempPathA(sizeof buffer, buffer), 0u);
        EXPECT_EQ(std::string(buffer), "Z:\\tmp\\");
    }
}

TEST_F(WinFileSystemTest, ModuleFileNameIsTheProgramAsAWindowsPath) {
    const std::string program = fs::read_symlink("/proc/self/exe").string();
    const std::optional<std::string> expected = DriveTable::ToWindowsPath(program);
    ASSERT_TRUE(expected);
    ASSERT_TRUE(expected->starts_with("Z:\\"));
    ASSERT_TRUE(expected->ends_with("\\platform_tests"));

    char buffer[1024];
    EXPECT_EQ(WinFileSystem::GetModuleFileNameA(buffer, sizeof buffer), expected->size());
    EXPECT_EQ(std::string(buffer), *expected);

    char small[8];
    EXPECT_EQ(WinFileSystem::GetModuleFileNameA(small, sizeof small), sizeof small);
    EXPECT_EQ(std::string(small), expected->substr(0, 7));
}

TEST_F(WinFileSystemTest, CurrentFolderIsAWindowsPath) {
    CurrentFolderGuard guard;
    fs::create_directories(c_ + "/prog");

    EXPECT_EQ(WinFileSystem::_chdir("C:\\prog"), 0);
    EXPECT_EQ(fs::current_path(), fs::path(c_ + "/prog"));
    char buffer[261];
    ASSERT_EQ(WinFileSystem::_getcwd(buffer, sizeof buffer), buffer);
    EXPECT_EQ(std::string(buffer), "C:\\prog");
    char small[7];
    EXPECT_EQ(WinFileSystem::_getcwd(small, sizeof small), nullptr);
    EXPECT_EQ(errno, ERANGE);

    // Bare names now open beside the program, through the same table.
    std::optional<std::string> ini = WinFileSystem::HostPath("KumotoriDef.ini");
    ASSERT_TRUE(ini);
    std::FILE* file = std::fopen(ini->c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(fs::exists(c_ + "/prog/KumotoriDef.ini"));

    EXPECT_EQ(WinFileSystem::_chdir("C:\\"), 0);
    ASSERT_NE(WinFileSystem::_getcwd(buffer, sizeof buffer), nullptr);
    EXPECT_EQ(std::string(buffer), "C:\\");
    EXPECT_EQ(WinFileSystem::_chdir("Q:\\"), -1);
    EXPECT_EQ(WinFileSystem::_chdir("C:\\missing"), -1);
    ASSERT_NE(WinFileSystem::_getcwd(buffer, sizeof buffer), nullptr);
    EXPECT_EQ(std::string(buffer), "C:\\");
}

}  // namespace
