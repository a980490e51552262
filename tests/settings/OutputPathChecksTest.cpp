#include "settings/OutputPathChecks.h"

#include "platform/DriveTable.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"
#include "platform/WinPathText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

using testfiles::Utf8;
using testfiles::WriteFile;

namespace {

using Checks = OutputPathChecks;

// "表" is 0x95 0x5C and "ソ" 0x83 0x5C: their second byte is a backslash.
// "ポ" is 0x83 0x7C: its second byte is "|".
constexpr const char* kHyo = "表";

// A path in a buffer of 261 bytes, as the callers hold it.
struct PathBuffer {
    char text[WinPathText::kPathSize] = {};
    explicit PathBuffer(const std::string& path) {
        EXPECT_LT(path.size(), sizeof text);
        std::memcpy(text, path.data(), std::min(path.size(), sizeof text - 1));
    }
    std::string str() const { return text; }
};

// A temporary root with its default drives: C: is a folder, Z: is "/".
class OutputPathChecksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        c_ = fs::canonical(root_ / "drives/c").string();
    }

    std::string C(const std::string& relative) const { return c_ + "/" + relative; }
    void MakeReadOnly(const std::string& hostPath) {
        fs::permissions(hostPath, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    std::size_t EntriesBelow(const std::string& hostPath) {
        std::size_t count = 0;
        for (auto it = fs::recursive_directory_iterator(hostPath); it != fs::recursive_directory_iterator(); ++it)
            ++count;
        return count;
    }

    TempRoot root_;
    std::string c_;
};

TEST_F(OutputPathChecksTest, DoubleByteCharactersAreFoundFromTheStart) {
    const std::string text = std::string("a") + kHyo + "b";
    EXPECT_FALSE(Checks::IsDoubleByteAt(text.c_str(), 0));
    EXPECT_TRUE(Checks::IsDoubleByteAt(text.c_str(), 1));
    EXPECT_TRUE(Checks::IsDoubleByteAt(text.c_str(), 2));
    EXPECT_FALSE(Checks::IsDoubleByteAt(text.c_str(), 3));
    EXPECT_FALSE(Checks::IsDoubleByteAt(text.c_str(), 4));
    EXPECT_FALSE(Checks::IsDoubleByteAt("", 0));
    EXPECT_FALSE(Checks::IsDoubleByteAt(nullptr, 0));
    // 0x95 0x95 is one character, so the 0x5C behind it stands alone; read
    // from the middle it would have looked like the second byte of 0x95 0x5C.
    EXPECT_FALSE(Checks::IsDoubleByteAt("\x95\x95\\", 2));
    // A lead byte with no trail byte behind it is a character of its own.
    EXPECT_FALSE(Checks::IsDoubleByteAt("a\x95", 1));
}

TEST_F(OutputPathChecksTest, TrailingSeparatorIsAppendedBehindADoubleByteEnd) {
    PathBuffer hyo(std::string("C:\\") + kHyo);
    EXPECT_TRUE(Checks::EnsureTrailingSeparator(hyo.text, sizeof hyo.text));
    EXPECT_EQ(hyo.str(), std::string("C:\\") + kHyo + "\\");
    EXPECT_TRUE(Checks::EnsureTrailingSeparator(hyo.text, sizeof hyo.text));
    EXPECT_EQ(hyo.str(), std::string("C:\\") + kHyo + "\\");

    PathBuffer plain("C:\\data");
    EXPECT_TRUE(Checks::EnsureTrailingSeparator(plain.text, sizeof plain.text));
    EXPECT_EQ(plain.str(), "C:\\data\\");

    PathBuffer empty("");
    EXPECT_FALSE(Checks::EnsureTrailingSeparator(empty.text, sizeof empty.text));
    EXPECT_FALSE(Checks::EnsureTrailingSeparator(nullptr, 261));

    // 259 bytes take the separator; 260 bytes do not, unless they end in one.
    const std::string at259 = "C:\\" + std::string(256, 'a');
    PathBuffer fits(at259);
    EXPECT_TRUE(Checks::EnsureTrailingSeparator(fits.text, sizeof fits.text));
    EXPECT_EQ(fits.str(), at259 + "\\");
    PathBuffer full(at259 + "b");
    EXPECT_FALSE(Checks::EnsureTrailingSeparator(full.text, sizeof full.text));
    EXPECT_EQ(full.str(), at259 + "b");
    PathBuffer fullWithSeparator(at259 + "\\");
    EXPECT_TRUE(Checks::EnsureTrailingSeparator(fullWithSeparator.text, sizeof fullWithSeparator.text));
}

TEST_F(OutputPathChecksTest, FolderPartDropsTheFileNameAsSplitPathDoes) {
    const auto folderPart = [](const std::string& path, bool expected, const std::string& result) {
        PathBuffer buffer(path);
        EXPECT_EQ(Checks::FolderPartOf(buffer.text), expected) << path;
        EXPECT_EQ(buffer.str(), result) << path;
    };
    folderPart("C:\\a\\b.xml", true, "C:\\a\\");
    folderPart("C:\\a\\", true, "C:\\a\\");
    folderPart(std::string("C:\\") + kHyo + "\\out.xml", true, std::string("C:\\") + kHyo + "\\");
    // "表" is the file name here: its 0x5C separates nothing.
    folderPart(std::string("C:\\a\\") + kHyo, true, "C:\\a\\");
    folderPart("\\\\server\\share\\out.xml", true, "\\\\server\\share\\");
    folderPart("out.xml", false, "out.xml");
    folderPart("C:", true, "C:");
    // Shorter than the path and without a separator: one is appended.
    folderPart("C:out.xml", true, "C:\\");

    // A directory of 255 bytes, its final separator included, is taken
    // whole; a longer one, which _splitpath would cut into another folder's
    // name, is refused.
    const std::string dir = "\\" + std::string(249, 'a') + kHyo + kHyo;
    folderPart("C:" + dir + "\\x", true, "C:" + dir + "\\");
    EXPECT_TRUE(Checks::HasWholeFolderPart(("C:" + dir + "\\x").c_str()));
    const std::string longer = "C:" + dir + "b\\x";
    folderPart(longer, false, longer);
    EXPECT_FALSE(Checks::HasWholeFolderPart(longer.c_str()));
    EXPECT_FALSE(Checks::CreateFolderTree(longer.c_str()));
    EXPECT_FALSE(fs::exists(C(std::string(249, 'a'))));
}

TEST_F(OutputPathChecksTest, ExistingFoldersAreFoundThroughTheFolderPart) {
    fs::create_directories(C("a"));
    WriteFile(C("a/file.txt"), "x");
    fs::create_directories(root_ / "unc/server/share");

    EXPECT_TRUE(Checks::IsExistingFolder("C:\\a\\"));
    EXPECT_TRUE(Checks::IsExistingFolder("C:\\a\\new.xml"));
    EXPECT_TRUE(Checks::IsExistingFolder("c:\\a\\"));
    EXPECT_TRUE(Checks::IsExistingFolder("\\\\server\\share\\out.xml"));
    // Without a separator behind it the last name is a file name.
    EXPECT_TRUE(Checks::IsExistingFolder("C:\\missing"));
    EXPECT_FALSE(Checks::IsExistingFolder("C:\\missing\\out.xml"));
    EXPECT_FALSE(Checks::IsExistingFolder("C:\\a\\file.txt\\"));
    EXPECT_FALSE(Checks::IsExistingFolder("\\\\server\\gone\\out.xml"));
    EXPECT_FALSE(Checks::IsExistingFolder("out.xml"));
    EXPECT_FALSE(Checks::IsExistingFolder(""));
    EXPECT_FALSE(Checks::IsExistingFolder(nullptr));
    EXPECT_FALSE(Checks::IsExistingFolder(("C:\\a\\" + std::string(256, 'x')).c_str()));  // 261 bytes
}

TEST_F(OutputPathChecksTest, FolderAndFileNameSplitAtTheLastRealBackslash) {
    const std::string hyo = std::string("C:\\") + kHyo;
    EXPECT_EQ(Checks::FolderOfPath((hyo + "\\out.xml").c_str()), hyo + "\\");
    EXPECT_EQ(Checks::FileNameOfPath((hyo + "\\out.xml").c_str()), "out.xml");
    EXPECT_EQ(Checks::FolderOfPath(hyo.c_str()), "C:\\");
    EXPECT_EQ(Checks::FileNameOfPath(hyo.c_str()), kHyo);
    EXPECT_EQ(Checks::FolderOfPath("C:\\dir\\"), "C:\\dir\\");
    EXPECT_EQ(Checks::FileNameOfPath("C:\\dir\\"), "");
    EXPECT_EQ(Checks::FolderOfPath("ソ"), "");
    EXPECT_EQ(Checks::FileNameOfPath("ソ"), "ソ");
    EXPECT_EQ(Checks::FolderOfPath(nullptr), "");
}

TEST_F(OutputPathChecksTest, ForbiddenCharactersAreFoundByCharacter) {
    EXPECT_TRUE(Checks::HasValidPathCharacters("C:\\data\\out.xml"));
    EXPECT_TRUE(Checks::HasValidPathCharacters("data\\out.xml"));
    EXPECT_TRUE(Checks::HasValidPathCharacters((std::string("C:\\") + kHyo + "\\out.xml").c_str()));
    EXPECT_TRUE(Checks::HasValidPathCharacters("C:\\ポスト\\out.xml"));
    EXPECT_TRUE(Checks::HasValidPathCharacters("\\\\server\\share\\out.xml"));

    for (const char* bad : {"C:\\*.xml", "C:\\data\\?.xml", "C:\\a*b\\out.xml", "C:\\a/b.xml", "C:\\a:b.xml",
                            "C:\\a,b.xml", "C:\\a;b.xml", "C:\\\"a\".xml", "C:\\a<b.xml", "C:\\a>b.xml",
                            "C:\\a|b.xml", "a|b.xml", "C:\\data\\\\out.xml", "\\\\server\\\\share\\out.xml",
                            "\\\\server\\share\\a:b.xml", "\\\\server\\share\\a*.xml"}) {
        EXPECT_FALSE(Checks::HasValidPathCharacters(bad)) << bad;
    }
    EXPECT_FALSE(Checks::HasValidPathCharacters(nullptr));
}

TEST_F(OutputPathChecksTest, DrivesAreUsableByTheirDeclaredType) {
    for (const char* letter : {"d", "e", "f", "n", "r", "u"}) fs::create_directories(root_ / ("drives/" + std::string(letter)));
    WriteFile(root_ / "drives/types", "d=cdrom\ne=removable\nn=remote\nr=ramdisk\nu=unknown\nm=removable\n");
    WriteFile(root_ / "drives/d/setup.ini", "x");

    EXPECT_TRUE(Checks::IsDriveUsable('c', Checks::kReadWrite));
    EXPECT_TRUE(Checks::IsDriveUsable('C', Checks::kReadWrite));
    EXPECT_TRUE(Checks::IsDriveUsable('f', Checks::kReadWrite));
    EXPECT_TRUE(Checks::IsDriveUsable('E', Checks::kReadWrite));
    EXPECT_TRUE(Checks::IsDriveUsable('n', Checks::kReadWrite));
    // Readable, never usable.
    EXPECT_FALSE(Checks::IsDriveUsable('d', Checks::kRead));
    EXPECT_FALSE(Checks::IsDriveUsable('r', Checks::kReadWrite));
    EXPECT_FALSE(Checks::IsDriveUsable('u', Checks::kReadWrite));
    // A removable drive without its medium.
    EXPECT_FALSE(Checks::IsDriveUsable('m', Checks::kReadWrite));
    // No drive behind the letter: left to the folder checks.
    EXPECT_TRUE(Checks::IsDriveUsable('q', Checks::kReadWrite));
    EXPECT_FALSE(Checks::IsDriveUsable('1', Checks::kReadWrite));
    EXPECT_FALSE(Checks::IsDriveUsable('\\', Checks::kReadWrite));
    EXPECT_FALSE(Checks::IsDriveUsable('\x82', Checks::kReadWrite));

    // A write-protected removable medium is read, not written.
    MakeReadOnly((root_ / "drives/e"));
    EXPECT_TRUE(Checks::IsDriveUsable('e', Checks::kRead));
    EXPECT_FALSE(Checks::IsDriveUsable('e', Checks::kReadWrite));
}

TEST_F(OutputPathChecksTest, PathsReachTheirDriveOrShareRoot) {
    fs::create_directories(root_ / "drives/d");
    WriteFile(root_ / "drives/types", "d=cdrom\n");
    fs::create_directories(root_ / "unc/server/share");
    fs::create_directories(root_ / "unc/server/readonly");
    MakeReadOnly(root_ / "unc/server/readonly");

    EXPECT_TRUE(Checks::IsPathReachable("C:\\out.xml"));
    EXPECT_TRUE(Checks::IsPathReachable("c:\\missing\\out.xml"));
    EXPECT_TRUE(Checks::IsPathReachable("Q:\\out.xml"));
    EXPECT_FALSE(Checks::IsPathReachable("C:\\a\\\\out.xml"));
    EXPECT_FALSE(Checks::IsPathReachable("D:\\out.xml"));
    EXPECT_FALSE(Checks::IsPathReachable("1:\\out.xml"));
    EXPECT_FALSE(Checks::IsPathReachable(""));
    EXPECT_FALSE(Checks::IsPathReachable(nullptr));

    // Only the share root counts; what lies below it is for later checks.
    EXPECT_TRUE(Checks::IsPathReachable("\\\\server\\share\\out.xml"));
    EXPECT_TRUE(Checks::IsPathReachable("\\\\server\\share\\missing\\out.xml"));
    EXPECT_FALSE(Checks::IsPathReachable("\\\\server\\share"));
    EXPECT_FALSE(Checks::IsPathReachable("\\\\server"));
    EXPECT_FALSE(Checks::IsPathReachable("\\\\server\\gone\\out.xml"));
    EXPECT_FALSE(Checks::IsPathReachable("\\\\nobody\\share\\out.xml"));
    EXPECT_FALSE(Checks::IsPathReachable("\\\\server\\readonly\\out.xml"));
}

TEST_F(OutputPathChecksTest, CreatingAChainMakesEveryMissingLevel) {
    fs::create_directories(C("a"));
    EXPECT_TRUE(Checks::CreateFolderTree("C:\\a\\b\\c\\"));
    EXPECT_TRUE(fs::is_directory(C("a/b/c")));

    // The file name of a path is no folder to make.
    EXPECT_TRUE(Checks::CreateFolderTree("C:\\x\\y\\out.xml"));
    EXPECT_TRUE(fs::is_directory(C("x/y")));
    EXPECT_FALSE(fs::exists(C("x/y/out.xml")));

    // Names ending in byte 0x5C are one name each.
    EXPECT_TRUE(Checks::CreateFolderTree((std::string("C:\\") + kHyo + "\\ソフト\\").c_str()));
    EXPECT_TRUE(fs::is_directory(C(Utf8(u8"表/ソフト"))));

    // A chain that exists already, and a bare root.
    const std::size_t before = EntriesBelow(c_);
    EXPECT_TRUE(Checks::CreateFolderTree("C:\\a\\b\\c\\"));
    EXPECT_TRUE(Checks::CreateFolderTree("C:\\"));
    EXPECT_EQ(EntriesBelow(c_), before);

    fs::create_directories(root_ / "unc/server/share");
    EXPECT_TRUE(Checks::CreateFolderTree("\\\\server\\share\\n\\m\\"));
    EXPECT_TRUE(fs::is_directory(root_ / "unc/server/share/n/m"));

    EXPECT_FALSE(Checks::CreateFolderTree("out\\"));
    EXPECT_FALSE(Checks::CreateFolderTree(""));
    EXPECT_FALSE(Checks::CreateFolderTree(("C:\\" + std::string(258, 'a')).c_str()));  // 261 bytes
}

TEST_F(OutputPathChecksTest, AFailedChainRemovesExactlyTheFoldersItMade) {
    fs::create_directories(C("keep/old"));
    WriteFile(C("keep/old/file.txt"), "x");
    const std::size_t before = EntriesBelow(c_);

    // The host keeps names in UTF-8, where 100 double-byte characters take
    // 300 bytes: more than a host folder name may have. "new" and "deeper"
    // are made, the long name fails, and both go again.
    std::string tooLong;
    for (int i = 0; i < 100; ++i) tooLong += kHyo;
    const std::string chain = "C:\\keep\\old\\new\\deeper\\" + tooLong + "\\last\\";
    ASSERT_LT(chain.size(), 261u);
    EXPECT_FALSE(Checks::CreateFolderTree(chain.c_str()));
    EXPECT_FALSE(fs::exists(C("keep/old/new")));
    EXPECT_TRUE(fs::is_regular_file(C("keep/old/file.txt")));
    EXPECT_EQ(EntriesBelow(c_), before);

    // Nothing existed below the root: every level made goes again.
    EXPECT_FALSE(Checks::CreateFolderTree(("C:\\n1\\n2\\" + tooLong + "\\").c_str()));
    EXPECT_FALSE(fs::exists(C("n1")));
    EXPECT_EQ(EntriesBelow(c_), before);

    // A file where a folder must go: nothing was made, nothing is removed.
    EXPECT_FALSE(Checks::CreateFolderTree("C:\\keep\\old\\file.txt\\sub\\"));
    EXPECT_TRUE(fs::is_regular_file(C("keep/old/file.txt")));
    EXPECT_EQ(EntriesBelow(c_), before);

    // A read-only folder takes no new folder, for the superuser neither.
    MakeReadOnly(C("keep/old"));
    EXPECT_FALSE(Checks::CreateFolderTree("C:\\keep\\old\\x\\y\\"));
    EXPECT_FALSE(fs::exists(C("keep/old/x")));
    EXPECT_EQ(EntriesBelow(c_), before);

    // A CD-ROM drive, and a share that is not there.
    fs::create_directories(root_ / "drives/d");
    WriteFile(root_ / "drives/types", "d=cdrom\n");
    EXPECT_FALSE(Checks::CreateFolderTree("D:\\x\\y\\"));
    EXPECT_TRUE(fs::is_empty(root_ / "drives/d"));
    EXPECT_FALSE(Checks::CreateFolderTree("\\\\server\\gone\\x\\"));
    EXPECT_FALSE(fs::exists(root_ / "unc/server/gone"));
}

TEST_F(OutputPathChecksTest, RemovalStopsAtTheKeptFolder) {
    fs::create_directories(C("a/b/c"));
    EXPECT_TRUE(Checks::RemoveCreatedFolders("C:\\a\\b\\c\\", "C:\\a\\"));
    EXPECT_FALSE(fs::exists(C("a/b")));
    EXPECT_TRUE(fs::is_directory(C("a")));

    // Roots and names compare without regard to case; the folder part of
    // the path is what is walked.
    fs::create_directories(C("a/b/c"));
    EXPECT_TRUE(Checks::RemoveCreatedFolders("c:\\a\\b\\c\\out.xml", "C:\\A\\B\\"));
    EXPECT_FALSE(fs::exists(C("a/b/c")));
    EXPECT_TRUE(fs::is_directory(C("a/b")));

    // Without a kept folder only the deepest existing folder goes.
    EXPECT_TRUE(Checks::RemoveCreatedFolders("C:\\a\\b\\c\\d\\", nullptr));
    EXPECT_FALSE(fs::exists(C("a/b")));
    EXPECT_TRUE(fs::is_directory(C("a")));

    // A double-byte name is one name, whatever its second byte.
    fs::create_directories(C(Utf8(u8"表/ソ")));
    EXPECT_TRUE(Checks::RemoveCreatedFolders((std::string("C:\\") + kHyo + "\\ソ\\").c_str(), "C:\\"));
    EXPECT_FALSE(fs::exists(C(Utf8(u8"表"))));
}

TEST_F(OutputPathChecksTest, RemovalRefusesAKeptFolderOffThePath) {
    fs::create_directories(C("a/b"));
    fs::create_directories(C(Utf8(u8"ア/b")));
    fs::create_directories(root_ / "drives/d/a");
    EXPECT_FALSE(Checks::RemoveCreatedFolders("C:\\a\\b\\", "D:\\a\\"));
    EXPECT_FALSE(Checks::RemoveCreatedFolders("C:\\a\\b\\", "C:\\x\\"));
    EXPECT_FALSE(Checks::RemoveCreatedFolders("C:\\a\\b\\", "C:\\a\\b\\c\\"));
    // "ア" (0x83 0x41) and "ヂ" (0x83 0x61) differ only in a second byte that
    // looks like a letter: they are different names.
    EXPECT_FALSE(Checks::RemoveCreatedFolders("C:\\ア\\b\\", "C:\\ヂ\\"));
    EXPECT_TRUE(fs::is_directory(C("a/b")));
    EXPECT_TRUE(fs::is_directory(C(Utf8(u8"ア/b"))));
}

TEST_F(OutputPathChecksTest, AFolderFilledMeanwhileStaysAndIsReported) {
    fs::create_directories(C("a/b/c"));
    WriteFile(C("a/b/later.txt"), "x");
    EXPECT_FALSE(Checks::RemoveCreatedFolders("C:\\a\\b\\c\\", "C:\\a\\"));
    EXPECT_FALSE(fs::exists(C("a/b/c")));
    EXPECT_TRUE(fs::is_regular_file(C("a/b/later.txt")));
}

}  // namespace
