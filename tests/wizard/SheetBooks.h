#pragma once

#include <cstring>
#include <filesystem>

#include "accounting_core/CoreResult.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "platform/DriveTable.h"
#include "report/AccountKey.h"
#include "report/AccountLookup.h"
#include "report/ReportItem.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"
#include "tests/support/CurrentFolderGuard.h"
#include "wizard/ConditionSheetValues.h"

// Data set 1 (2017-04 to 2018-03, UG16, tax included) and 2 (2023-04 to 2024-03, UG30) with accounts of item_'s
// cash and bills classes and others; report folder C:\reports\, condition folder C:\cond\; the data files here.
class SheetBooks : public BooksFixture {
public:
    static constexpr int kUg16Set = 1, kUg30Set = 2;
    static constexpr std::uint32_t kCashClass = 0x80888000u, kBillsClass = 0x80488000u;
    using Entry = std::pair<int, std::string>;

    // The condition block as the run sequence fills it for user "tester" (7 and the data set).
    static void FillValues(ConditionSheetValues& values, int set, const std::string& callerPath = {}) {
        std::strcpy(values.UserId, "tester");
        values.SelectedNo1 = 7;
        values.SelectedNo2 = set;
        values.OutputPath = callerPath;
        values.PeriodStart = set == kUg30Set ? 20230401 : 20170401;
        values.PeriodEnd = set == kUg30Set ? 20240331 : 20180331;
        values.IntroMonthPos = values.NetAssetsCaption = 1;
    }
    static std::string Host(const std::string& windowsPath) { return DriveTable::ToHostPath(windowsPath).value_or(""); }
    // The key of the account with this code in the selected data set, or with this seed below 1000.
    static std::string KeyOf(int code) {
        StKAMOKUINFO account{};
        char key[MappedAccount::kKeySize] = {};
        if (code < 1000 || AccountLookup::FindAccountByCode(code, &account))
            AccountKey::Text(code < 1000 ? AccountId(code).data() : account.Id, key);
        return key;
    }
    static void Add(MappingList& mapping, const std::vector<Entry>& entries) {
        for (const auto& [itemNo, key] : entries) {
            mapping.push_back(std::make_unique<MappedAccount>(MappedAccount{static_cast<std::int16_t>(itemNo), {}}));
            std::strncpy(mapping.back()->AccountKey, key.c_str(), MappedAccount::kKeySize - 1);
        }
    }
    static std::vector<Entry> Entries(const MappingList& mapping) {
        std::vector<Entry> entries;
        for (const auto& entry : mapping) entries.emplace_back(entry->ItemNo, entry->AccountKey);
        return entries;
    }

protected:
    void SetUp() override {
        BooksFixture::SetUp();
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        AddDataSet(kUg16Set, "D0001", u8"株式会社テスト", 20170401, 20180331, 0, 1, 1, 1);
        AddDataSet(kUg30Set, "D0002", u8"株式会社テスト３０", 20230401, 20240331, 0, 1, 1, 0);
        const int codes[] = {1110, 1140, 2110, 4110, 5210};
        const char8_t* names[] = {u8"現金", u8"普通預金", u8"支払手形", u8"商品売上高", u8"商品仕入高"};
        const std::uint32_t classes[] = {kCashClass, kCashClass, kBillsClass, 0x40888800u, 0x40884400u};
        for (int seed = 0; seed < 10; ++seed)
            AddAccount(1 + seed / 5, seed + 1, codes[seed % 5] * 10000, names[seed % 5], classes[seed % 5], 1);
        SetCurrentUser(u8"tester");
        Sql("INSERT INTO app_folders (type, path) VALUES (0, 'C:\\reports\\'), (1, 'C:\\cond\\')");
        for (const char* folder : {"C:\\reports\\", "C:\\cond\\"}) std::filesystem::create_directories(Host(folder));
        std::filesystem::current_path(MZN_EDITION_DATA_DIR);
        UseDataSet(kUg16Set);
        item_.ItemNo = 21;
        std::strcpy(item_.Caption, "現金・預金");
        item_.ClassCodes[0] = kCashClass;
        item_.ClassCodes[1] = kBillsClass;
    }
    void UseDataSet(int number) {  // selected by "tester", connected afresh
        CoreSession::End();
        SelectFor(u8"tester", 7, number);
        ASSERT_EQ(Connect(), core_result::kOk);
    }

    ReportItem item_;
    MappingList mapping_, defaults_;
    CurrentFolderGuard folder_;  // the tests change the current folder
};
