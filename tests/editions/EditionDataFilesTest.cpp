// The twelve data files as the build ships them beside the programs: their
// bytes, the items the condition sheet's pages expect, and default mappings
// that name accounts of the standard chart which the mapping dialog offers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClFileMgr.h"
#include "accounting_core/ClSetKamoku.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "editions/Edition.h"
#include "platform/TextCodec.h"
#include "report/AccountKey.h"
#include "report/AccountLookup.h"
#include "report/TargetVersion.h"
#include "settings/DefaultMappingFile.h"
#include "settings/ItemDefinitionFile.h"
#include "tests/support/CoreSession.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/BooksTool.h"
#include "tests/support/BooksQuery.h"

namespace {

namespace fs = std::filesystem;

// What the pages make of an item number (the controls of the main-items and
// monthly-sales pages): a label shows a total the user cannot map, a button
// opens the mapping dialog, and an item of kind none is a fixed text.
enum class Kind { kLabel, kButton, kNone };

Kind KindOf(int itemNo, bool ug30) {
    static const std::set<int> kUg30Labels = {1, 3, 11, 17, 18, 19, 20};
    static const std::set<int> kUg30None = {21, 31, 36};
    static const std::set<int> kUg16Labels = {1, 3, 11, 17, 19};
    static const std::set<int> kUg16None = {20, 30, 35};
    if ((ug30 ? kUg30Labels : kUg16Labels).count(itemNo) != 0) return Kind::kLabel;
    if ((ug30 ? kUg30None : kUg16None).count(itemNo) != 0) return Kind::kNone;
    return Kind::kButton;
}

// The statement total each label and fixed-text item shows.
std::map<int, std::string> TotalsOf(bool ug30) {
    if (ug30)
        return {{1, "URIAGEDAKA"},     {3, "URIAGEGENKA"},      {11, "URIAGESOURIEKI"}, {17, "EIGYOUSONEKI"},
                {18, "TOKUBETURIEKI"}, {19, "TOKUBETUSONSITU"}, {20, "ZEIBIKIMAE"},     {21, "SISAN"},
                {31, "FUSAI"},         {36, "SIHON"}};
    return {{1, "URIAGEDAKA"},  {3, "URIAGEGENKA"}, {11, "URIAGESOURIEKI"}, {17, "EIGYOUSONEKI"},
            {19, "ZEIBIKIMAE"}, {20, "SISAN"},      {30, "FUSAI"},          {35, "SIHON"}};
}

struct DataFile {
    EditionId edition;
    bool ug30;
};

std::vector<DataFile> AllVersions() {
    std::vector<DataFile> files;
    for (EditionId edition : Edition::All()) {
        files.push_back({edition, false});
        files.push_back({edition, true});
    }
    return files;
}

std::string Describe(const DataFile& file) {
    return std::string(Edition::Of(file.edition).FilePrefix()) + (file.ug30 ? " UG30" : " UG16");
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Romanised capitals: a letter, then letters, digits or "_". Every such
// name is a valid XML element name, and stays one with the two digits the
// monthly elements get.
bool IsRomanisedName(std::string_view tag) {
    if (tag.empty() || tag.size() > 48 || tag[0] < 'A' || tag[0] > 'Z') return false;
    for (char c : tag)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

// One line of the standard chart: "code,sub,name,class_code,side,flag110,flag112".
struct ChartAccount {
    std::uint32_t classCode = 0;
    bool inUse = false;
    bool heading = false;
};

std::map<int, ChartAccount> StandardChartMainAccounts() {
    std::map<int, ChartAccount> accounts;
    std::ifstream in(std::string(MZN_SOURCE_DIR) + "/tools/mzn-books/data/standard-chart.csv");
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, ',');) fields.push_back(field);
        if (fields.size() != 7 || fields[1] != "0") continue;
        accounts[std::stoi(fields[0])] = {static_cast<std::uint32_t>(std::stoul(fields[3], nullptr, 16)),
                                          fields[5] == "0", fields[6] == "1"};
    }
    return accounts;
}

// The tokens of a default-mapping file by item number, read here on their
// own: "<ItemNo>/<token>,<token>,...," in the body of the section.
std::multimap<int, std::string> Tokens(const std::string& bytes) {
    std::multimap<int, std::string> tokens;
    const std::string start = std::string("[共通様式]") + "\r\n";
    const std::size_t body = bytes.find(start);
    if (body == std::string::npos) return tokens;
    std::istringstream lines(bytes.substr(body + start.size(), bytes.find("[終了]") - body - start.size()));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t slash = line.find('/');
        if (slash == std::string::npos) continue;
        const int itemNo = std::stoi(line.substr(0, slash));
        for (std::size_t from = slash + 1, comma = line.find(',', from); comma != std::string::npos;
             from = comma + 1, comma = line.find(',', from))
            tokens.emplace(itemNo, line.substr(from, comma - from));
    }
    return tokens;
}

bool IsCode(const std::string& token) {
    return !token.empty() && token.find_first_not_of("0123456789") == std::string::npos;
}

class EditionDataFilesTest : public ::testing::Test {
protected:
    static fs::path Shipped(const std::string& name) { return fs::path(MZN_EDITION_DATA_DIR) / name; }

    bool LoadItems(const DataFile& file, ItemList& items) {
        CurrentFolderGuard folder;
        fs::current_path(MZN_EDITION_DATA_DIR);
        return ItemDefinitionFile::LoadItemDefinitions(items, Edition::Of(file.edition), file.ug30);
    }
    bool LoadDefaults(const DataFile& file, MappingList& defaults) {
        CurrentFolderGuard folder;
        fs::current_path(MZN_EDITION_DATA_DIR);
        return DefaultMappingFile::LoadDefaultMapping(defaults, Edition::Of(file.edition), file.ug30);
    }

    // Real books under the test's MZN_ROOT, made by the real mzn-books, the
    // accounting core connected to them.
    void MakeBooks(const std::string& command) {
        const ChildProcess::Result made = BooksTool::Run({command}, root_ / "io");
        ASSERT_EQ(made.exitCode, 0) << made.err;
        CoreSession::End();
        ASSERT_EQ(ClAccConnect::Inst()->Initiate(), core_result::kOk);
    }
    void TearDown() override {
        CoreSession::End();
    }

    // The keys of the main accounts the mapping dialog lists for the item:
    // one condition per class code, up to the first 0, joined by "or".
    static std::set<std::string> KeysListedFor(const ReportItem& item) {
        StFINDINFO conditions[10];
        std::memset(conditions, 0, sizeof conditions);
        int count = 0;
        while (count < ReportItem::kClassCodes && item.ClassCodes[count] != 0) {
            conditions[count].FieldCode = 16;
            conditions[count].Comparison = 1;
            conditions[count].ValueType = 19;
            conditions[count].Value = static_cast<std::int32_t>(item.ClassCodes[count]);
            conditions[count].Link = 2;
            ++count;
        }
        std::set<std::string> keys;
        if (count == 0) return keys;
        conditions[count - 1].Link = 0;
        auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1));
        SetCursor* cursor = accounts->GetCursor();
        accounts->ReadyCursor(cursor, 0);
        StKAMOKUINFO account;
        std::memset(&account, 0, sizeof account);
        while (accounts->WalkFind(conditions, &account, cursor) == 0) {
            if (AccountLookup::IsMainAccount(account)) {
                char key[MappedAccount::kKeySize];
                AccountKey::Text(account.Id, key);
                keys.insert(key);
            }
            std::memset(&account, 0, sizeof account);
        }
        accounts->ReleaseCursor(cursor);
        return keys;
    }

    TempRoot root_;
};

}  // namespace

TEST_F(EditionDataFilesTest, TheBuildShipsTwelveFilesOfCodePage932TextWithCrLf) {
    int shipped = 0;
    for (const DataFile& file : AllVersions()) {
        for (const std::string& name : {ItemDefinitionFile::FileName(Edition::Of(file.edition), file.ug30),
                                        DefaultMappingFile::FileName(Edition::Of(file.edition), file.ug30)}) {
            SCOPED_TRACE(name);
            const std::string bytes = ReadBytes(Shipped(name));
            ASSERT_FALSE(bytes.empty());
            ++shipped;
            // The copy beside the programs is the file kept in the sources.
            EXPECT_EQ(bytes, ReadBytes(fs::path(MZN_SOURCE_DIR) / "editions/data" / name));
            EXPECT_TRUE(TextCodec::Cp932ToUtf8(bytes).ok);
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                const bool lfAfterCr = bytes[i] != '\n' || (i > 0 && bytes[i - 1] == '\r');
                const bool crBeforeLf = bytes[i] != '\r' || (i + 1 < bytes.size() && bytes[i + 1] == '\n');
                EXPECT_TRUE(lfAfterCr && crBeforeLf) << "a bare LF or CR at " << i;
            }
            EXPECT_TRUE(bytes.starts_with(std::string("[共通様式]") + "\r\n"));
            EXPECT_TRUE(bytes.ends_with(std::string("\r\n[終了]") + "\r\n"));
        }
    }
    EXPECT_EQ(shipped, 12);
}

TEST_F(EditionDataFilesTest, ItemsAreNumberedAndMadeAsThePagesAndTheReportExpect) {
    MakeBooks("init");
    for (const DataFile& file : AllVersions()) {
        SCOPED_TRACE(Describe(file));
        ItemList items;
        ASSERT_TRUE(LoadItems(file, items));
        const int monthlyBase = TargetVersion::MonthlyItemBase(file.ug30);
        ASSERT_EQ(static_cast<int>(items.size()), TargetVersion::LastItemNo(file.ug30));

        int expected = 1;
        std::set<std::string> tags;
        for (const auto& item : items) {
            SCOPED_TRACE(item->ItemNo);
            EXPECT_EQ(item->ItemNo, expected++);
            const std::string caption = item->Caption;
            const std::string tag = item->TagName;
            const bool unused = caption == "-";
            EXPECT_EQ(unused, tag.find('-') != std::string::npos) << "an unused item must not be written";
            if (!unused) {
                EXPECT_TRUE(IsRomanisedName(tag)) << tag;
                EXPECT_TRUE(tags.insert(tag).second) << "a second element " << tag;
            }
            // Totals are shown, never left unused; the side is debit or credit.
            if (KindOf(item->ItemNo, file.ug30) != Kind::kButton) {
                EXPECT_FALSE(unused);
            }
            EXPECT_TRUE(item->BalanceSide == 1 || item->BalanceSide == 2);
            // A button that is in use offers accounts of lines of the
            // hierarchy; only the monthly columns that cannot be
            // aggregated are unused.
            if (KindOf(item->ItemNo, file.ug30) == Kind::kButton && !unused) {
                EXPECT_NE(item->ClassCodes[0], 0u);
            }
            if (unused) {
                EXPECT_GE(item->ItemNo, monthlyBase);
            }
            for (std::uint32_t code : item->ClassCodes) {
                if (code == 0) break;
                EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM class_lines WHERE class_code = " +
                                             std::to_string(code)),
                          1)
                    << std::hex << code;
            }
        }
    }
}

TEST_F(EditionDataFilesTest, DefaultAccountsAreMainAccountsInUseOfTheStandardChart) {
    const std::map<int, ChartAccount> chart = StandardChartMainAccounts();
    ASSERT_GT(chart.size(), 100u);
    for (const DataFile& file : AllVersions()) {
        const std::string name = DefaultMappingFile::FileName(Edition::Of(file.edition), file.ug30);
        SCOPED_TRACE(name);
        const auto tokens = Tokens(ReadBytes(Shipped(name)));
        ASSERT_FALSE(tokens.empty());
        for (const auto& [itemNo, token] : tokens) {
            SCOPED_TRACE(itemNo);
            if (IsCode(token)) {
                const auto account = chart.find(std::stoi(token));
                ASSERT_NE(account, chart.end()) << token << " is not in the standard chart";
                EXPECT_TRUE(account->second.inUse) << token;
                EXPECT_FALSE(account->second.heading) << token;
            } else {
                EXPECT_TRUE(AccountKey::IsTotalKey(token.c_str())) << token;
                // Neither range of the remainder totals fits the items of
                // either version.
                EXPECT_NE(token, AccountKey::kSoreigai);
                EXPECT_NE(token, AccountKey::kSonotaFusai);
            }
        }
    }
}

TEST_F(EditionDataFilesTest, TotalsFeedTheirItemsAndTheDialogListsEveryDefaultAccount) {
    MakeBooks("demo");
    for (const DataFile& file : AllVersions()) {
        SCOPED_TRACE(Describe(file));
        ItemList items;
        MappingList defaults;
        ASSERT_TRUE(LoadItems(file, items));
        ASSERT_TRUE(LoadDefaults(file, defaults));
        // Every code of the file names an account of the demo books.
        const auto tokens = Tokens(ReadBytes(Shipped(DefaultMappingFile::FileName(Edition::Of(file.edition),
                                                                                  file.ug30))));
        EXPECT_EQ(defaults.size(), tokens.size());

        std::map<int, std::vector<std::string>> keysOf;
        for (const auto& entry : defaults) keysOf[entry->ItemNo].push_back(entry->AccountKey);
        const std::map<int, std::string> totals = TotalsOf(file.ug30);
        for (const auto& item : items) {
            SCOPED_TRACE(item->ItemNo);
            const std::vector<std::string>& keys = keysOf[item->ItemNo];
            if (KindOf(item->ItemNo, file.ug30) != Kind::kButton) {
                EXPECT_EQ(keys, std::vector<std::string>{totals.at(item->ItemNo)});
                continue;
            }
            if (std::string(item->Caption) == "-") {
                EXPECT_TRUE(keys.empty());
            }
            const std::set<std::string> listed = KeysListedFor(*item);
            for (const std::string& key : keys) {
                EXPECT_FALSE(AccountKey::IsTotalKey(key.c_str())) << key << " on a button";
                EXPECT_EQ(listed.count(key), 1u) << "the dialog does not list " << key;
            }
        }
        // The monthly sales and the side business take the care revenues;
        // only the care-facility edition counts them as its main business.
        StKAMOKUINFO care;
        ASSERT_TRUE(AccountLookup::FindAccountByCode(4210, &care));
        char careKey[MappedAccount::kKeySize];
        AccountKey::Text(care.Id, careKey);
        const int monthlySales = TargetVersion::MonthlyItemBase(file.ug30);
        EXPECT_EQ(std::count(keysOf[monthlySales].begin(), keysOf[monthlySales].end(), careKey), 1);
        EXPECT_EQ(std::count(keysOf[2].begin(), keysOf[2].end(), careKey),
                  file.edition == EditionId::CareFacility ? 0 : 1);
    }
}
