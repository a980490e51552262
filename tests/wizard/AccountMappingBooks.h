#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "accounting_core/CoreResult.h"
#include "report/AccountKey.h"
#include "report/MappedAccount.h"
#include "report/ReportItem.h"
#include "tests/support/BooksFixture.h"

// Books for the account mapping tests: a small chart in which the item
// "現金・預金" (item 5) takes its accounts from cash and deposits and from
// trade receivables, and other accounts lie outside those classes.
class AccountMappingBooks : public BooksFixture {
protected:
    // Account seeds; the codes users see are in the comments.
    enum Seed {
        kCash = 1,        // 111 現金
        kDeposit = 2,     // 112 普通預金, stored with a trailing full-width blank
        kReceivable = 3,  // 135 売掛金
        kCashSub = 4,     // sub-account 111-1: not a main account
        kUnused = 5,      // 113 not in use: not a main account
        kHeading = 6,     // 110 heading account: not a main account
        kPayable = 7,     // 311 買掛金, a liability
        kSales = 8,       // 511 売上高
        kDeleted = 99,    // no account has this key
    };
    static constexpr std::uint32_t kCashClass = 0x80888000u;
    static constexpr std::uint32_t kReceivableClass = 0x80884000u;
    static constexpr int kItemNo = 5;

    void SetUp() override {
        BooksFixture::SetUp();
        AddSelectedDataSet();
        AddClassLine(0x80800000u, 0, u8"資産", 1, true, 10);
        AddClassLine(0x80880000u, 0x80800000u, u8"流動資産", 1, true, 20);
        AddClassLine(kCashClass, 0x80880000u, u8"現金及び預金", 1, false, 30);
        AddClassLine(kReceivableClass, 0x80880000u, u8"売上債権", 1, false, 40);
        AddClassLine(0x80400000u, 0, u8"負債", 2, true, 50);
        AddClassLine(0x80480000u, 0x80400000u, u8"流動負債", 2, false, 60);
        AddClassLine(0x40888000u, 0, u8"売上高", 2, true, 70);
        AddAccount(1, kSales, 5110000, u8"売上高", 0x40888000u, 2);
        AddAccount(1, kReceivable, 1350000, u8"売掛金", kReceivableClass, 1);
        AddAccount(1, kCash, 1110000, u8"現金", kCashClass, 1);
        AddAccount(1, kDeposit, 1120000, u8"普通預金　", kCashClass, 1);
        AddAccount(1, kCashSub, 1110001, u8"現金 小口", kCashClass, 1);
        AddAccount(1, kUnused, 1130000, u8"旧預金", kCashClass, 1, 1, 0);
        AddAccount(1, kHeading, 1100000, u8"現金預金", kCashClass, 1, 0, 1);
        AddAccount(1, kPayable, 3110000, u8"買掛金", 0x80480000u, 2);
        ASSERT_EQ(Connect(), core_result::kOk);

        item_.ItemNo = kItemNo;
        std::strcpy(item_.Caption, "現金・預金");
        item_.ClassCodes[0] = kCashClass;
        item_.ClassCodes[1] = kReceivableClass;
    }

    static std::string Key(int seed) {
        char key[MappedAccount::kKeySize];
        AccountKey::Text(AccountId(seed).data(), key);
        return key;
    }

    static void Add(MappingList& mapping, int itemNo, const std::string& key) {
        auto entry = std::make_unique<MappedAccount>();
        entry->ItemNo = static_cast<std::int16_t>(itemNo);
        std::strncpy(entry->AccountKey, key.c_str(), MappedAccount::kKeySize - 1);
        mapping.push_back(std::move(entry));
    }

    using Entry = std::pair<int, std::string>;
    static std::vector<Entry> Entries(const MappingList& mapping) {
        std::vector<Entry> entries;
        for (const auto& entry : mapping)
            entries.emplace_back(entry->ItemNo, std::string(entry->AccountKey, strnlen(entry->AccountKey, 35)));
        return entries;
    }

    ReportItem item_;
    MappingList mapping_;
    MappingList defaults_;
};
