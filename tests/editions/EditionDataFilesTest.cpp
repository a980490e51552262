#include <gtest/gtest.h>

#include <cstring>

#include "accounting_core/StKAMOKUINFO.h"
#include "report/AccountKey.h"
#include "report/AccountLookup.h"
#include "settings/DefaultMappingFile.h"
#include "settings/ItemDefinitionFile.h"
#include "settings/MappingFileSection.h"
#include "tests/support/BooksTool.h"
#include "tests/support/CoreSession.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

// The shipped data files, read by the real readers, on the demo books of mzn-books (the standard chart). What
// their default mappings add up to is kept in the golden demo reports of every edition.
TEST(EditionDataFiles, ItemsAreNumberedOnceAndMapOnlyTotalsAndMainAccounts) {
    TempRoot root;
    ASSERT_EQ(BooksTool::Run({"demo"}, root / "io").exitCode, 0);
    CoreSession::End();
    ASSERT_EQ(ClAccConnect::Inst()->Initiate(), 0);
    CurrentFolderGuard folder;
    std::filesystem::current_path(MZN_EDITION_DATA_DIR);
    StKAMOKUINFO none;  // an unknown code leaves the record as it was
    std::memset(&none, 0x5A, sizeof none);
    EXPECT_FALSE(AccountLookup::FindAccountByCode(9999, &none) || reinterpret_cast<char*>(&none)[0] != 0x5A);
    for (EditionId id : Edition::All()) {
        std::vector<std::string> items[2];  // side, caption, tag and class codes by item number, per version
        for (bool ug30 : {false, true}) {
            SCOPED_TRACE(std::string(Edition::Of(id).FilePrefix()) + (ug30 ? " UG30" : " UG16"));
            // Every line parses, and every token names a total or an account of the standard chart.
            ItemList read;
            MappingList defaults;
            ASSERT_TRUE(ItemDefinitionFile::LoadItemDefinitions(read, Edition::Of(id), ug30));
            ASSERT_TRUE(DefaultMappingFile::LoadDefaultMapping(defaults, Edition::Of(id), ug30));
            const std::string mapping = testfiles::ReadFile(DefaultMappingFile::FileName(Edition::Of(id), ug30));
            EXPECT_EQ(std::count(mapping.begin(), mapping.end(), ','), static_cast<std::ptrdiff_t>(defaults.size()));
            for (const auto& item : read) {
                EXPECT_EQ(item->ItemNo, static_cast<int>(items[ug30].size()) + 1);
                items[ug30].push_back(std::to_string(item->BalanceSide) + item->Caption + item->TagName +
                                      std::string(reinterpret_cast<const char*>(item->ClassCodes), 40));
            }
            EXPECT_EQ(items[ug30].size(), ug30 ? 44u : 43u) << "every number once";
            // A key is a main account in use or a known total; neither remainder total fits either version.
            for (const auto& entry : defaults) {
                StKAMOKUINFO account;
                const std::string key = entry->AccountKey;
                const bool mainAccount = AccountLookup::FindAccountByKey(key.c_str(), &account) > 0 &&
                                         AccountLookup::IsMainAccount(account);
                const bool total = AccountKey::IsTotalKey(key.c_str()) && key != "SOREIGAI" && key != "SONOTAFUSAI";
                EXPECT_NE(mainAccount, total) << key;
            }
        }
        // UG30 splits UG16's item 18 in two: the items from 19 on are UG16's numbered one further.
        for (std::size_t n = 0; n < items[0].size(); ++n)
            EXPECT_TRUE(n == 17 || items[0][n] == items[1][n < 17 ? n : n + 1]) << n + 1;
        // The editions differ only in mapping item 2, the side business: the care edition's care revenues are main.
        for (bool ug30 : {false, true}) {
            const auto lines = [ug30](EditionId of, const char* kind) {
                std::string bytes = testfiles::ReadFile(MappingFileSection::DataFileName(Edition::Of(of), ug30, kind));
                const std::size_t item2 = bytes.find("\r\n2/") + 2;
                return kind[0] == 'D' ? bytes.erase(item2, bytes.find("\r\n", item2) - item2) : bytes;
            };
            EXPECT_EQ(lines(id, "GaiKmk") + lines(id, "DefKmk"),
                      lines(EditionId::Standard, "GaiKmk") + lines(EditionId::Standard, "DefKmk"));
        }
    }
    std::filesystem::current_path(root.Path());  // no data files here
    MappingList missing;
    EXPECT_FALSE(DefaultMappingFile::LoadDefaultMapping(missing, Edition::Of(EditionId::Standard), false));
    CoreSession::End();
}
