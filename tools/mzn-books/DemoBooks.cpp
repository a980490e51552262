#include "tools/mzn-books/DemoBooks.h"

#include "accounting_core/BooksDatabase.h"
#include "tools/mzn-books/BooksImporter.h"
#include "tools/mzn-books/DataSetStore.h"
#include "tools/mzn-books/DemoCompany.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/StandardChart.h"
#include "tools/mzn-books/Utf8Text.h"

namespace {

DemoCompany::Profile Profile(const char* dataId, std::u8string_view name, std::int32_t start, std::int32_t end,
                             int scale, bool care, bool shop, std::uint64_t seed) {
    DemoCompany::Profile profile;
    profile.dataId = dataId;
    profile.name = name;
    profile.start = start;
    profile.end = end;
    profile.scale = scale;
    profile.care = care;
    profile.shop = shop;
    profile.seed = seed;
    return profile;
}

std::vector<DemoCompany::Profile> Profiles() {
    constexpr std::u8string_view kSakurano = u8"株式会社さくら野ケアサービス";
    std::vector<DemoCompany::Profile> profiles;
    profiles.push_back(Profile("DEMO01", kSakurano, 20230401, 20240331, 100, true, true, 1));
    profiles.push_back(Profile("DEMO02", kSakurano, 20170401, 20180331, 85, true, true, 2));
    profiles.push_back(Profile("DEMO03", u8"有限会社ひまわり商店", 20230101, 20231231, 60, false, true, 3));
    profiles.back().netAssets = false;
    profiles.push_back(Profile("DEMO04", u8"株式会社あおば物産", 20230401, 20240331, 150, false, true, 4));
    profiles.back().interim = true;
    profiles.push_back(Profile("DEMO05", u8"株式会社こもれび介護", 20230401, 20240331, 70, true, true, 5));
    profiles.back().taxIncluded = true;
    profiles.push_back(Profile("DEMO06", u8"合同会社かえで企画", 20230401, 20240331, 40, false, true, 6));
    profiles.back().introMonth = 3;
    profiles.push_back(Profile("DEMO07", kSakurano, 20160401, 20170331, 80, true, true, 7));
    profiles.back().introMonth = DataSetDefinition::kPastResults;
    return profiles;
}

}  // namespace

int DemoBooks::StandardAccounts() {
    return static_cast<int>(StandardChart::Accounts().size());
}

int DemoBooks::MaxAccounts() {
    const std::vector<AccountsFile::Row> chart = StandardChart::Accounts();
    return static_cast<int>(chart.size()) + DemoCompany::MaxExtraAccounts(chart);
}

bool DemoBooks::Create(int accounts) {
    made_.clear();
    const std::vector<AccountsFile::Row> chart = StandardChart::Accounts();
    if (chart.empty()) return Fail("the built-in standard chart of accounts is damaged");
    DataSetStore store(books_);
    bool main = true;
    for (const DemoCompany::Profile& profile : Profiles()) {
        const int extra =
            main && accounts > static_cast<int>(chart.size()) ? accounts - static_cast<int>(chart.size()) : 0;
        main = false;
        DemoCompany company(profile, chart, extra);
        if (!company.Build())
            return Fail(std::string("an entry of demo data set ") + profile.dataId + " does not balance");

        std::int64_t number = 0;
        if (!store.NumberOf(profile.dataId, number)) return Fail(store.Error());
        if (number != 0 && !store.Remove(number)) return Fail(store.Error());

        const std::string source = std::string("demo ") + profile.dataId;
        BooksImporter::Input input{source, company.Accounts(), source, company.Balances()};
        BooksImporter importer(books_);
        Diagnostics diagnostics;
        const BooksImporter::Result result =
            importer.Import(company.Definition(), input, number, profile.dataId, diagnostics);
        if (result == BooksImporter::Result::BooksFailed) return Fail(importer.Error());
        if (result == BooksImporter::Result::BadInput)
            return Fail("demo data set " + std::string(profile.dataId) +
                        " is not valid: " + diagnostics.Messages().front());
        made_.push_back({importer.Number(), profile.dataId, Utf8Text::From(profile.name), profile.start, profile.end});
    }
    return true;
}

bool DemoBooks::Fail(const std::string& why) {
    error_ = why;
    return false;
}
