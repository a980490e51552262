#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClFileMgr.h"
#include "accounting_core/CoreResult.h"
#include "tests/support/BooksFixture.h"

namespace {

namespace cr = core_result;

class ClFileMgrTest : public BooksFixture {
protected:
    void SetFolder(int type, const std::string& utf8) {
        BooksStatement insert(db_.Handle(), "INSERT OR REPLACE INTO app_folders (type, path) VALUES (?1, ?2)");
        insert.Bind(1, type).BindText(2, utf8);
        ASSERT_TRUE(insert.Run()) << insert.Error();
    }
    std::string Folder(int type, int expectedResult) {
        char path[261];
        std::memset(path, 'x', sizeof path);
        EXPECT_EQ(ClFileMgr::Inst()->GetAppFolderPath(type, path), expectedResult) << "type " << type;
        return std::string(path, strnlen(path, sizeof path));
    }
};

TEST_F(ClFileMgrTest, FoldersAreWindowsPathsEndingInABackslash) {
    SetFolder(0, U8(u8"C:\\Users\\山田\\Documents\\"));
    SetFolder(1, U8(u8"Z:\\home\\me\\conditions"));
    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(Folder(0, cr::kOk), "C:\\Users\\山田\\Documents\\");
    EXPECT_EQ(Folder(1, cr::kOk), "Z:\\home\\me\\conditions\\");
    EXPECT_EQ(Folder(2, cr::kBadArgument), "");
    EXPECT_EQ(Folder(-1, cr::kBadArgument), "");
}

TEST_F(ClFileMgrTest, ATrailByte5CIsNoSeparator) {
    // "表" is 0x95 0x5C in code page 932: the backslash still has to come.
    SetFolder(0, U8(u8"C:\\表"));
    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(Folder(0, cr::kOk), "C:\\表\\");
}

TEST_F(ClFileMgrTest, MissingFoldersAreEmpty) {
    SetFolder(1, "");
    EXPECT_EQ(Folder(0, cr::kNotConnected), "");
    ClFileMgr::Release();
    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(Folder(0, cr::kNotFound), "");
    EXPECT_EQ(Folder(1, cr::kNotFound), "");
}

TEST_F(ClFileMgrTest, ATooLongFolderIsRefused) {
    SetFolder(0, "C:\\" + std::string(257, 'a'));  // 260 bytes, 261 with the backslash
    SetFolder(1, "C:\\" + std::string(256, 'a'));  // exactly 260 with it
    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(Folder(0, cr::kBooksError), "");
    EXPECT_EQ(Folder(1, cr::kOk).size(), 260u);
}

TEST_F(ClFileMgrTest, FoldersAreReadOnceUntilRelease) {
    SetFolder(0, "C:\\old\\");
    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(Folder(0, cr::kOk), "C:\\old\\");
    SetFolder(0, "C:\\new\\");
    EXPECT_EQ(Folder(0, cr::kOk), "C:\\old\\");
    ClFileMgr::Release();
    EXPECT_EQ(Folder(0, cr::kOk), "C:\\new\\");
}

}  // namespace
