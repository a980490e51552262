#include "tests/support/CoreSession.h"
#include "tests/wizard/SheetBooks.h"

#include <filesystem>

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClFileMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "platform/DriveTable.h"
#include "report/AccountKey.h"
#include "report/AccountLookup.h"

namespace {

struct TestAccount {
    int code;
    const char8_t* name;
    std::uint32_t classCode;
    int side;
};

constexpr TestAccount kAccounts[] = {
    {1110, u8"現金", 0x80888000u, 1},       {1140, u8"普通預金", 0x80888000u, 1},
    {2110, u8"支払手形", 0x80488000u, 2},   {4110, u8"商品売上高", 0x40888800u, 2},
    {5210, u8"商品仕入高", 0x40884400u, 1}, {6110, u8"役員報酬", 0x40882800u, 1},
};

}  // namespace

void SheetBooks::SetUp() {
    BooksFixture::SetUp();
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    AddDataSet(kUg16Set, "D0001", u8"株式会社テスト", 20170401, 20180331, 0, 1, 1, 1);
    AddDataSet(kUg30Set, "D0002", u8"株式会社テスト３０", 20230401, 20240331, 0, 1, 1, 0);
    int seed = 1;
    for (int set : {kUg16Set, kUg30Set})
        for (const TestAccount& account : kAccounts)
            AddAccount(set, seed++, account.code * 10000, account.name, account.classCode, account.side);
    SetCurrentUser(u8"tester");
    SetAppFolder(0, "C:\\reports\\");
    SetAppFolder(1, "C:\\cond\\");
    std::filesystem::create_directories(Host("C:\\reports\\"));
    std::filesystem::create_directories(Host("C:\\cond\\"));
    folder_ = std::make_unique<CurrentFolderGuard>();
    std::filesystem::current_path(MZN_EDITION_DATA_DIR);
    UseDataSet(kUg16Set);
}

void SheetBooks::TearDown() {
    folder_.reset();
    BooksFixture::TearDown();
}

void SheetBooks::UseDataSet(int number) {
    CoreSession::End();
    SelectFor(u8"tester", 7, number);
    ASSERT_EQ(Connect(), core_result::kOk);
}

void SheetBooks::SetAppFolder(int type, const std::string& windowsPath) {
    BooksStatement insert(Db().Handle(), "INSERT OR REPLACE INTO app_folders (type, path) VALUES (?1, ?2)");
    insert.Bind(1, type).BindText(2, windowsPath);
    ASSERT_TRUE(insert.Run()) << insert.Error();
    ClFileMgr::Release();
}

void SheetBooks::RemoveAppFolder(int type) {
    Sql("DELETE FROM app_folders WHERE type = " + std::to_string(type));
    ClFileMgr::Release();
}

std::string SheetBooks::Host(const std::string& windowsPath) {
    return DriveTable::ToHostPath(windowsPath).value_or(std::string());
}

std::string SheetBooks::KeyOf(int code) {
    StKAMOKUINFO account{};
    if (!AccountLookup::FindAccountByCode(code, &account)) return {};
    char key[MappedAccount::kKeySize] = {};
    AccountKey::Text(account.Id, key);
    return key;
}

std::string SheetBooks::Describe(const MappingList& mapping) {
    std::string text;
    for (const auto& entry : mapping) text += std::to_string(entry->ItemNo) + "/" + entry->AccountKey + "\n";
    return text;
}
