// The default-mapping file read from the current folder, its account codes
// looked up in the selected data set of real books. This program is built
// as the standard edition, so its files are "MznBrc20To...".

#include "settings/DefaultMappingFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "accounting_core/CoreResult.h"
#include "report/AccountKey.h"
#include "tests/support/BooksFixture.h"
#include "tests/settings/MappingEntries.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TestFiles.h"

using mappingentries::Entry;

namespace {

const std::string kSection = "[共通様式]\r\n";
const std::string kEnd = "[終了]\r\n";

class DefaultMappingFileTest : public BooksFixture {
protected:
    void SetUp() override {
        BooksFixture::SetUp();
        AddSelectedDataSet();
        AddDataSet(2, "D0002", u8"別の年度", 20180401, 20190331);
        AddAccount(1, 1, 40100000, u8"売上高", 0x40888800u, 2);
        AddAccount(1, 2, 40100001, u8"売上高 得意先", 0x40888800u, 2);
        AddAccount(1, 3, 11100000, u8"現金", 0x80888000u, 1);
        AddAccount(2, 4, 52100000, u8"他年度の仕入高", 0x40884400u, 1);
        ASSERT_EQ(Connect(), core_result::kOk);
        std::filesystem::create_directory(root_ / "program");
        std::filesystem::current_path(root_ / "program");
    }

    void Write(const std::string& bytes, const std::string& name = "MznBrc20ToUg30_G_DefKmk.dat") {
        ASSERT_TRUE(testfiles::WriteFile(root_ / ("program/" + name), bytes));
    }
    static std::string File(const std::string& body) { return kSection + body + kEnd; }

    bool Load(bool ug30 = true) { return DefaultMappingFile::LoadDefaultMapping(defaults_, ug30); }
    std::vector<Entry> Entries() const { return mappingentries::Of(defaults_); }

    static std::string KeyOf(int seed) {
        char key[MappedAccount::kKeySize];
        AccountKey::Text(AccountId(seed).data(), key);
        return key;
    }

    // A list that a refused file must leave as it is.
    void HoldOneEntry() { defaults_ = mappingentries::Make({{99, "HELD"}}); }

    CurrentFolderGuard folder_;
    MappingList defaults_;
};

}  // namespace

TEST_F(DefaultMappingFileTest, TokensGiveTotalKeysAccountKeysOrNothing) {
    Write(File("3/URIAGEDAKA,4010,9999,\r\n"));
    HoldOneEntry();

    ASSERT_TRUE(Load());
    // The code a user sees is the stored code divided by 10000; a code the
    // data set lacks gives no entry.
    EXPECT_EQ(Entries(), (std::vector<Entry>{{3, "URIAGEDAKA"}, {3, KeyOf(1)}}));
}

TEST_F(DefaultMappingFileTest, CodesAsStoredKeyTextsAndTheLastTokenWithoutComma) {
    Write(File("1/40100000,40100001,1110,\r\n"
               "2/" + KeyOf(3) + ",0,URIAGEGENKA\r\n"
               "3/ 4010x,+1110,-4010,4010,\r\n"
               "1/4010,\r\n"));

    ASSERT_TRUE(Load());
    EXPECT_EQ(Entries(), (std::vector<Entry>{
                             {1, KeyOf(1)},    // the stored code
                             {1, KeyOf(2)},    // a sub-account by its full code
                             {1, KeyOf(3)},
                             {2, KeyOf(3)},    // a key text stands as it is
                             {2, "0"},         // so does anything that reads as 0
                             // "URIAGEGENKA" has no "," behind it: no token
                             {3, KeyOf(1)},    // digits up to the first other character
                             {3, KeyOf(3)},
                             // -4010 names no account
                             {3, KeyOf(1)},    // the same account twice, both kept
                             {1, KeyOf(1)},    // file order, not item order
                         }));
}

TEST_F(DefaultMappingFileTest, TheSelectedDataSetDecidesWhichCodesExist) {
    Write(File("5/5210,1110,\r\n"));
    ASSERT_TRUE(Load());
    EXPECT_EQ(Entries(), (std::vector<Entry>{{5, KeyOf(3)}}));
}

TEST_F(DefaultMappingFileTest, TheFileIsChosenByEditionAndTargetVersionAndOnlyItsSectionCounts) {
    Write(File("16/UG16,\r\n"), "MznBrc20ToUg16_G_DefKmk.dat");
    Write(File("31/ALD30,\r\n"), "MznAld20ToUg30_G_DefKmk.dat");
    Write("[他の様式]\r\n1/BEFORE,\r\n[終了]\r\n"
          "x[共通様式]\r\n" +
          kSection + "30/UG30,\r\n30/[終了],\r\n" + kEnd + "9/BEHIND,\r\n" + File("8/AGAIN,\r\n"));

    ASSERT_TRUE(Load(false));
    EXPECT_EQ(Entries(), (std::vector<Entry>{{16, "UG16"}}));
    ASSERT_TRUE(Load(true));
    EXPECT_EQ(Entries(), (std::vector<Entry>{{30, "UG30"}, {30, "[終了]"}}));
    ASSERT_TRUE(DefaultMappingFile::LoadDefaultMapping(defaults_, Edition::Of(EditionId::CareFacility), true));
    EXPECT_EQ(Entries(), (std::vector<Entry>{{31, "ALD30"}}));
    EXPECT_FALSE(DefaultMappingFile::LoadDefaultMapping(defaults_, Edition::Of(EditionId::Top), false));
    EXPECT_EQ(DefaultMappingFile::FileName(Edition::Of(EditionId::Top), true), "MznCdr20ToUg30_G_DefKmk.dat");
}

TEST_F(DefaultMappingFileTest, WithoutFileSectionOrEndTheListStaysAsItWas) {
    HoldOneEntry();
    EXPECT_FALSE(Load());
    for (const std::string& bytes : {std::string(), "1/A,\r\n" + kEnd, kSection + "1/A,\r\n",
                                     "x" + kSection + "1/A,\r\nx" + kEnd}) {
        Write(bytes);
        EXPECT_FALSE(Load());
        EXPECT_EQ(Entries(), (std::vector<Entry>{{99, "HELD"}}));
    }

    // An empty body names no default: the list is emptied.
    Write(kSection + kEnd);
    EXPECT_TRUE(Load());
    EXPECT_TRUE(defaults_.empty());
}

TEST_F(DefaultMappingFileTest, LinesOutsideTheFormatArePassedOverAndTheOthersCount) {
    const std::string longLine = "4/" + std::string(246, ' ') + "4010,\r\n";  // 254 before the LF
    ASSERT_EQ(longLine.size(), 255u);
    Write(File("1/A,\r\n"
               "no slash,B,\r\n" +
               longLine +
               "5/" + std::string(246, ' ') + "4010,\r\r\n"          // 255 before the LF: still a line
               "6/" + std::string(248, ' ') + "4010,\r\n"            // 256 before the LF
               "32768/URIAGEDAKA,\r\n"
               "-32768/C,\r\n"
               "\r\n"
               "7/D,\r\n"));

    ASSERT_TRUE(Load());
    EXPECT_EQ(Entries(), (std::vector<Entry>{{1, "A"}, {4, KeyOf(1)}, {5, KeyOf(1)}, {-32768, "C"}, {7, "D"}}));
}

TEST_F(DefaultMappingFileTest, TokensThatNameNoKeyGiveNoEntry) {
    const std::string key34(34, 'K');
    Write(File("1/," + key34 + "," + key34 + "L,E,\r\n" +
               std::string("2/F\0G,H,\r\n", 10) +
               "3/SISAN,\r\r\n"));

    ASSERT_TRUE(Load());
    EXPECT_EQ(Entries(), (std::vector<Entry>{{1, key34}, {1, "E"}, {2, "H"}, {3, "SISAN"}}));
}

TEST_F(DefaultMappingFileTest, AnOversizedSectionIsRefused) {
    // 32767 bytes from the start of the section line to the "[終了]" are
    // the most the format holds.
    std::string body;
    std::size_t lines = 0;
    const std::string line = "1/URIAGEDAKA," + std::string(240, ' ') + "\r\n";
    for (; kSection.size() + body.size() + line.size() <= 32767; ++lines) body += line;
    body += std::string(32767 - kSection.size() - body.size() - 1, ' ') + "\n";
    ASSERT_EQ(kSection.size() + body.size(), 32767u);
    Write(File(body));
    ASSERT_TRUE(Load());
    EXPECT_EQ(defaults_.size(), lines);

    Write(File(body + "\n"));
    HoldOneEntry();
    EXPECT_FALSE(Load());
    EXPECT_EQ(Entries(), (std::vector<Entry>{{99, "HELD"}}));
}
