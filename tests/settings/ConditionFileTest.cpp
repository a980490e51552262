#include "settings/ConditionFile.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "accounting_core/ClFileMgr.h"
#include "platform/DriveTable.h"
#include "tests/settings/MappingEntries.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/TestFiles.h"

using SaveResult = ConditionFile::SaveResult;

class ConditionFileTest : public BooksFixture {};

TEST_F(ConditionFileTest, AFileIsSavedInTheHandWrittenLayoutAndReadBackWhereTheBooksSay) {
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    ASSERT_EQ(Connect(), 0);
    const auto Folder = [this](const std::string& folder) {  // the books name the folder of the condition files
        Sql("INSERT OR REPLACE INTO app_folders (type, path) VALUES (1, '" + folder + "')");
        ClFileMgr::Release();
    };
    ConditionValues values{.UserId = "tester", .SelectedNo1 = 7, .SelectedNo2 = 1, .TargetVersion = 1, .EndMonth = 3,
                           .TaxIncluded = 1, .OutputPath = "C:\\決算\\表\\概況書.xml"};
    const MappingList mapping = mappingentries::Make({{1, "0x0102030405060708090a0b0c0d0e0f10"}, {1, "URIAGEDAKA"},
        {25, "0xffeeddccbbaa99887766554433221100"}, {18, "SOREIGAI"}, {1, "0x0102030405060708090a0b0c0d0e0f11"}});
    MappingList read;  // no folder in the books: nothing is written or read
    EXPECT_EQ(ConditionFile::SaveConditions(values, mapping), SaveResult::NoFolder);
    EXPECT_FALSE(ConditionFile::LoadConditions(values, read));
    // A path of 260 bytes is the longest; a longer one is neither read nor written.
    Folder("C:\\" + std::string(236, 'f') + "\\");
    EXPECT_EQ(ConditionFile::SaveConditions(values, mapping), SaveResult::WriteFailed);
    Folder("C:\\" + std::string(235, 'f') + "\\");
    EXPECT_EQ(ConditionFile::FilePath(values).size(), 260u);

    Folder("C:\\app\\cond\\");
    ASSERT_EQ(ConditionFile::SaveConditions(values, mapping), SaveResult::Saved);
    EXPECT_EQ(testfiles::ReadFile(root_ / "drives/c/app/cond/UG30_G_tester_7_1.env"),
              testfiles::ReadFile(MZN_SETTINGS_TEST_DATA "/UG30_G_tester_7_1.env"));
    ConditionValues back{.UserId = "tester", .SelectedNo1 = 7, .SelectedNo2 = 1, .TargetVersion = 1, .OutputPath = {}};
    ASSERT_TRUE(ConditionFile::LoadConditions(back, read));
    EXPECT_TRUE(back.EndMonth == 3 && back.OutputPath == values.OutputPath);
    EXPECT_EQ(mappingentries::Of(read), mappingentries::Of(mapping));
}

TEST(ConditionFileName, EveryUserIdHasAFileNameOfItsOwn) {
    ConditionValues values{.SelectedNo1 = 3, .SelectedNo2 = 7, .OutputPath = {}};
    const auto nameOf = [&values](const std::string& id) {
        std::strncpy(values.UserId, id.c_str(), sizeof values.UserId - 1);
        return ConditionFile::FileName(values);
    };
    EXPECT_EQ(nameOf("tester"), "UG16_G_tester_3_7.env");
    values.TargetVersion = 1;
    // A name keeps what a file name can hold: double-byte characters ending in 0x5C or 0x7C and half-width
    // katakana. Separators, the other characters no file name holds, control bytes, bytes that are no character,
    // a lead byte without its second byte and "%" itself become %XX.
    for (const auto& [id, part] : {std::pair<std::string, std::string>{"表ポ", "\x95\x5C\x83\x7C"},
             {"a_b.c \xA1\xB1\xDF", "a_b.c \xA1\xB1\xDF"}, {"50%\t\x7F\x80\xA0\xE0", "50%25%09%7F%80%A0%E0"},
             {"..\\..\\x/y:z*?\"<>|", "..%5C..%5Cx%2Fy%3Az%2A%3F%22%3C%3E%7C"}})
        EXPECT_EQ(nameOf(id), "UG30_G_" + part + "_3_7.env") << id;
    // No two IDs share a file.
    const std::vector<std::string> pieces{"a", "_", "%", ":", "\\", "/", "表", "\x01", "\x1f", "\xA0", "\xA1"};
    std::mt19937 random(20261207);
    std::map<std::string, std::string> idOfName;
    for (int n = 0; n < 1000; ++n) {
        std::string id;
        for (std::size_t length = 1 + random() % 12; length > 0; --length) id += pieces[random() % pieces.size()];
        const auto [known, added] = idOfName.emplace(nameOf(id), id);
        EXPECT_TRUE(added || known->second == id) << known->first;
    }
}
