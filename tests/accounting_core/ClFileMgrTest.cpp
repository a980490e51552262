#include <optional>

#include "accounting_core/ClFileMgr.h"
#include "tests/support/BooksFixture.h"

namespace {

using namespace core_result;

// The folder of a type, read into a buffer filled with 'x' first; the answer first.
std::pair<int, std::string> Folder(int type) {
    char path[261];
    std::memset(path, 'x', sizeof path);
    const int result = ClFileMgr::Inst()->GetAppFolderPath(type, path);
    return {result, std::string(path, strnlen(path, sizeof path))};
}

using ClFileMgrTest = BooksFixture;

TEST_F(ClFileMgrTest, FoldersAreWindowsPathsEndingInABackslash) {
    EXPECT_EQ(Folder(0), std::pair(kNotConnected, std::string()));
    ASSERT_EQ(Connect(), kOk);
    const std::string long256 = "C:\\" + std::string(256, 'a');
    const std::tuple<int, std::optional<std::string>, int, std::string> cases[] = {
        // type, stored (UTF-8; none: no row), the answer, the folder (code page 932)
        {0, U8(u8"C:\\Users\\山田\\Documents\\"), kOk, "C:\\Users\\山田\\Documents\\"},
        {1, "Z:\\home\\me\\conditions", kOk, "Z:\\home\\me\\conditions\\"},
        {0, U8(u8"C:\\表"), kOk, "C:\\表\\"},  // "表" is 0x95 0x5C: its trail byte is no separator
        {0, std::nullopt, kNotFound, ""},
        {1, "", kNotFound, ""},
        {2, "C:\\x\\", kBadArgument, ""},
        {-1, "C:\\x\\", kBadArgument, ""},
        {0, long256, kOk, long256 + "\\"},  // 260 bytes with the backslash
        {0, long256 + "a", kBooksError, ""},
    };
    for (const auto& [type, stored, result, folder] : cases) {
        Sql("DELETE FROM app_folders");
        if (stored) SetAppFolder(type, *stored);
        ClFileMgr::Release();
        EXPECT_EQ(Folder(type), std::pair(result, folder)) << stored.value_or("(no row)");
    }
    SetAppFolder(0, "C:\\old\\");
    EXPECT_EQ(Folder(0).second, "C:\\old\\");
    SetAppFolder(0, "C:\\new\\");
    EXPECT_EQ(Folder(0).second, "C:\\old\\") << "read once until Release";
}

}  // namespace
