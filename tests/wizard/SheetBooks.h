#pragma once

#include <memory>
#include <string>

#include "report/MappedAccount.h"
#include "report/ReportItem.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CurrentFolderGuard.h"

// Books for the condition sheet, connected, under a temporary MZN_ROOT:
//   data set 1  株式会社テスト    2017-04-01 to 2018-03-31 (UG16), books kept
//               with tax included
//   data set 2  株式会社テスト３０ 2023-04-01 to 2024-03-31 (UG30)
// both with the accounts 1110 現金, 1140 普通預金, 2110 支払手形,
// 4110 商品売上高, 5210 商品仕入高 and 6110 役員報酬, selected by user
// "tester" (selected numbers 7 and the data set). The report folder (type
// 0) is C:\reports\ and the condition folder (type 1) C:\cond\, both
// existing. The current folder is the one with the editions' data files.
class SheetBooks : public BooksFixture {
protected:
    static constexpr int kUg16Set = 1;
    static constexpr int kUg30Set = 2;

    void SetUp() override;
    void TearDown() override;

    // Selects the data set for "tester" and connects afresh.
    void UseDataSet(int number);
    void SetAppFolder(int type, const std::string& windowsPath);
    void RemoveAppFolder(int type);

    // Host path of a Windows path on the drive table.
    static std::string Host(const std::string& windowsPath);

    // The key of the account with this code (as users see it) in the
    // selected data set.
    static std::string KeyOf(int code);
    // The mapping as (item, key) text, one entry a line, for comparisons.
    static std::string Describe(const MappingList& mapping);

private:
    std::unique_ptr<CurrentFolderGuard> folder_;
};
