#include <optional>

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
        ASSERT_TRUE(insert.Bind(1, type).BindText(2, utf8).Run()) << insert.Error();
    }
    // The folder of a type, read into a buffer filled with 'x' first.
    std::string Folder(int type, int expectedResult) {
        char path[261];
        std::memset(path, 'x', sizeof path);
        EXPECT_EQ(ClFileMgr::Inst()->GetAppFolderPath(type, path), expectedResult) << "type " << type;
        return std::string(path, strnlen(path, sizeof path));
    }
};

TEST_F(ClFileMgrTest, FoldersAreWindowsPathsEndingInABackslash) {
    EXPECT_EQ(Folder(0, cr::kNotConnected), "");
    ASSERT_EQ(Connect(), cr::kOk);
    const std::string long256 = "C:\\" + std::string(256, 'a');
    const std::tuple<int, std::optional<std::string>, std::string, int> cases[] = {
        // type, stored (UTF-8; none: no row), the folder (code page 932), the result
        {0, U8(u8"C:\\Users\\山田\\Documents\\"), "C:\\Users\\山田\\Documents\\", cr::kOk},
        {1, "Z:\\home\\me\\conditions", "Z:\\home\\me\\conditions\\", cr::kOk},
        {0, U8(u8"C:\\表"), "C:\\表\\", cr::kOk},  // "表" is 0x95 0x5C: its trail byte is no separator
        {0, std::nullopt, "", cr::kNotFound},
        {1, "", "", cr::kNotFound},
        {2, "C:\\x\\", "", cr::kBadArgument},
        {-1, "C:\\x\\", "", cr::kBadArgument},
        {0, long256, long256 + "\\", cr::kOk},  // 260 bytes with the backslash
        {0, long256 + "a", "", cr::kBooksError},
    };
    for (const auto& [type, stored, folder, result] : cases) {
        SCOPED_TRACE(stored.value_or("(no row)"));
        Sql("DELETE FROM app_folders");
        if (stored) SetFolder(type, *stored);
        ClFileMgr::Release();
        EXPECT_EQ(Folder(type, result), folder);
    }
    SetFolder(0, "C:\\old\\");
    EXPECT_EQ(Folder(0, cr::kOk), "C:\\old\\");
    SetFolder(0, "C:\\new\\");
    EXPECT_EQ(Folder(0, cr::kOk), "C:\\old\\") << "read once until Release";
}

}  // namespace
