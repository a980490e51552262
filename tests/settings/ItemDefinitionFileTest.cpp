// The item-definition file read from the current folder, as the program
// reads it: real files in a temporary folder made current. This program is
// built as the standard edition, so its files are "MznBrc20To...".

#include "settings/ItemDefinitionFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace {

const std::string kSection = "[共通様式]\r\n";
const std::string kEnd = "[終了]\r\n";

class ItemDefinitionFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(root_.Path()); }

    // The UG30 file of the standard edition.
    void Write(const std::string& bytes, const std::string& name = "MznBrc20ToUg30_G_GaiKmk.dat") {
        ASSERT_TRUE(testfiles::WriteFile(root_ / name, bytes));
    }
    static std::string File(const std::string& body) { return kSection + body + kEnd; }

    bool Load(bool ug30 = true) { return ItemDefinitionFile::LoadItemDefinitions(items_, ug30); }

    // A list that a refused file must leave as it is.
    void HoldOneItem() {
        items_.clear();
        auto held = std::make_unique<ReportItem>();
        held->ItemNo = 99;
        std::strcpy(held->TagName, "HELD");
        items_.push_back(std::move(held));
    }
    bool StillHeld() const { return items_.size() == 1 && items_.front()->ItemNo == 99; }

    std::vector<int> Numbers() const {
        std::vector<int> numbers;
        for (const auto& item : items_) numbers.push_back(item->ItemNo);
        return numbers;
    }

    CurrentFolderGuard folder_;
    TempRoot root_;
    ItemList items_;
};

}  // namespace

TEST_F(ItemDefinitionFileTest, ALineGivesEveryFieldOfItsRecord) {
    Write(File("12/2/1A+1B+2C/売上（収入）高/URIAGEDAKA;anything behind\r\n"));
    HoldOneItem();

    ASSERT_TRUE(Load());
    ASSERT_EQ(items_.size(), 1u);
    const ReportItem& item = *items_.front();
    EXPECT_EQ(item.ItemNo, 12);
    EXPECT_EQ(item.BalanceSide, 2);
    const std::uint32_t codes[10] = {0x1A, 0x1B, 0x2C, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(item.ClassCodes, codes, sizeof codes), 0);
    EXPECT_STREQ(item.Caption, "売上（収入）高");
    EXPECT_STREQ(item.TagName, "URIAGEDAKA");
    for (std::int64_t amount : item.Amounts) EXPECT_EQ(amount, 0);
    // Nothing of the ignored text nor of the line end reaches the fields.
    for (std::size_t i = std::strlen(item.TagName); i < sizeof item.TagName; ++i) EXPECT_EQ(item.TagName[i], 0);
}

TEST_F(ItemDefinitionFileTest, TheFileIsChosenByEditionAndTargetVersion) {
    Write(File("16/1/0/UG16/BRC16;\r\n"), "MznBrc20ToUg16_G_GaiKmk.dat");
    Write(File("30/1/0/UG30/BRC30;\r\n"), "MznBrc20ToUg30_G_GaiKmk.dat");
    Write(File("31/1/0/ALD/ALD30;\r\n"), "MznAld20ToUg30_G_GaiKmk.dat");
    // Another edition's mapping file is no item file.
    Write(File("1/URIAGEDAKA,\r\n"), "MznBrc20ToUg30_G_DefKmk.dat");

    ASSERT_TRUE(Load(false));
    EXPECT_STREQ(items_.front()->TagName, "BRC16");
    ASSERT_TRUE(Load(true));
    EXPECT_STREQ(items_.front()->TagName, "BRC30");
    ASSERT_TRUE(ItemDefinitionFile::LoadItemDefinitions(items_, Edition::Of(EditionId::CareFacility), true));
    EXPECT_STREQ(items_.front()->TagName, "ALD30");
    EXPECT_FALSE(ItemDefinitionFile::LoadItemDefinitions(items_, Edition::Of(EditionId::Top), true));
    EXPECT_EQ(ItemDefinitionFile::FileName(Edition::Of(EditionId::Top), false), "MznCdr20ToUg16_G_GaiKmk.dat");
    // Read from the current folder only.
    std::filesystem::create_directory(root_ / "elsewhere");
    std::filesystem::current_path(root_ / "elsewhere");
    EXPECT_FALSE(Load(true));
}

TEST_F(ItemDefinitionFileTest, OnlyTheCommonSectionIsRead) {
    Write("[他の様式]\r\n"
          "1/1/0/前/BEFORE;\r\n"
          "[終了]\r\n"
          "not a section: [共通様式]\r\n" +
          kSection +
          "3/1/0/後/SECOND;\r\n"
          "\r\n"
          "1/2/0/[終了]の前/FIRST;\r\n"
          "2/1/0/表/TABLE;\n" +
          kEnd +
          "9/1/0/後ろ/BEHIND;\r\n"
          "[共通様式]\r\n"
          "8/1/0/二つ目/AGAIN;\r\n"
          "[終了]\r\n");

    ASSERT_TRUE(Load());
    // File order, not number order; the empty line carries nothing; a
    // "[終了]" in mid-line ends nothing.
    EXPECT_EQ(Numbers(), (std::vector<int>{3, 1, 2}));
    EXPECT_STREQ(items_.front()->TagName, "SECOND");
    EXPECT_STREQ((*std::next(items_.begin()))->Caption, "[終了]の前");
    // A line ended by a bare LF reads as well; 表 ends in the byte of "\".
    EXPECT_STREQ(items_.back()->Caption, "表");
    EXPECT_STREQ(items_.back()->TagName, "TABLE");
}

TEST_F(ItemDefinitionFileTest, WithoutFileSectionOrEndTheListStaysAsItWas) {
    HoldOneItem();
    EXPECT_FALSE(Load());
    EXPECT_TRUE(StillHeld());

    for (const std::string& bytes : {std::string(), "1/1/0/a/A;\r\n" + kEnd, kSection + "1/1/0/a/A;\r\n",
                                     std::string("[共通様式]"), "x[共通様式]\r\n1/1/0/a/A;\r\nx" + kEnd,
                                     kSection + "1/1/0/a/A;\r\n[終了 ]\r\n"}) {
        Write(bytes);
        EXPECT_FALSE(Load()) << bytes;
        EXPECT_TRUE(StillHeld()) << bytes;
    }

    // A folder of the file's name is no file.
    std::filesystem::remove(root_ / "MznBrc20ToUg30_G_GaiKmk.dat");
    std::filesystem::create_directory(root_ / "MznBrc20ToUg30_G_GaiKmk.dat");
    EXPECT_FALSE(Load());
    EXPECT_TRUE(StillHeld());
}

TEST_F(ItemDefinitionFileTest, NumbersAndCodesReadAsTheRuntimeReadsThem) {
    Write(File(" 7abc/-3/0x1f+fffffffff+-1++zz/a/A;\r\n"
               "/2//b/B;\r\n"
               "32767/-32768/1+2+3+4+5+6+7+8+9+A/c/C;\r\n"));

    ASSERT_TRUE(Load());
    ASSERT_EQ(items_.size(), 3u);
    const ReportItem& first = *items_.front();
    EXPECT_EQ(first.ItemNo, 7);
    EXPECT_EQ(first.BalanceSide, -3);
    const std::uint32_t firstCodes[10] = {0x1F, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(first.ClassCodes, firstCodes, sizeof firstCodes), 0);
    const ReportItem& second = **std::next(items_.begin());
    EXPECT_EQ(second.ItemNo, 0);
    EXPECT_EQ(second.ClassCodes[0], 0u);
    const ReportItem& third = *items_.back();
    EXPECT_EQ(third.ItemNo, 32767);
    EXPECT_EQ(third.BalanceSide, -32768);
    EXPECT_EQ(third.ClassCodes[9], 0xAu);
}

TEST_F(ItemDefinitionFileTest, LimitsOfTheRecordAreKeptToTheByte) {
    // 30 bytes of caption (15 double-byte characters), 50 of tag, a line of
    // 255 bytes before its LF (the CR counts).
    const std::string caption = "売上高売上高売上高売上高売上高";
    ASSERT_EQ(caption.size(), 30u);
    const std::string tag(50, 'T');
    std::string line = "1/1/0/" + caption + "/" + tag + ";";
    line += std::string(254 - line.size(), ' ') + "\r\n";
    ASSERT_EQ(line.size(), 256u);
    Write(File(line));

    ASSERT_TRUE(Load());
    EXPECT_EQ(items_.front()->Caption, caption);
    EXPECT_EQ(items_.front()->TagName, tag);
}

TEST_F(ItemDefinitionFileTest, ALineOutsideTheFormatRefusesTheWholeFile) {
    const std::string good = "1/1/0/a/A;\r\n";
    const std::string tooLong = "2/1/0/a/A;" + std::string(245, ' ') + "\r\n";  // 256 bytes before the LF
    const std::vector<std::string> bad = {
        "2/1/0/a;\r\n",                                   // a "/" missing
        "2/1/0/a/A\r\n",                                  // no ";"
        "2/1;/0/a/A\r\n",                                 // the ";" before the fifth field
        tooLong,
        "2/1/1+2+3+4+5+6+7+8+9+A+B/a/A;\r\n",             // eleven codes
        "2/1/0/" + std::string(31, 'c') + "/A;\r\n",      // a caption of 31 bytes
        "2/1/0/a/" + std::string(51, 't') + ";\r\n",      // a tag of 51 bytes
        "32768/1/0/a/A;\r\n",                             // an item number beyond 16 bits
        "2/-32769/0/a/A;\r\n",                            // a side beyond 16 bits
        std::string("2/1/0/a\0b/A;\r\n", 14),             // a NUL in the caption
        std::string("2/1/0/a/A\0;\r\n", 13),              // a NUL in the tag
        " \r\n",                                          // a line of a blank
    };
    for (const std::string& line : bad) {
        Write(File(good + line + good));
        HoldOneItem();
        EXPECT_FALSE(Load()) << line;
        EXPECT_TRUE(StillHeld()) << line;
    }
}

TEST_F(ItemDefinitionFileTest, AnEmptyBodyOrAnOversizedSectionIsRefused) {
    HoldOneItem();
    for (const std::string& bytes : {kSection + kEnd, kSection + "\r\n\r\n" + kEnd}) {
        Write(bytes);
        EXPECT_FALSE(Load());
        EXPECT_TRUE(StillHeld());
    }

    // 32767 bytes from the start of the section line to the "[終了]" are
    // the most the format holds.
    const std::string line = "1/1/0/a/A;" + std::string(243, ' ') + "\r\n";  // 255 bytes
    std::string body;
    while (kSection.size() + body.size() + line.size() <= 32767) body += line;
    body += "2/1/0/b/B;" + std::string(32767 - kSection.size() - body.size() - 12, ' ') + "\r\n";
    ASSERT_EQ(kSection.size() + body.size(), 32767u);
    Write(File(body));
    ASSERT_TRUE(Load());
    EXPECT_EQ(items_.size(), body.size() / line.size() + 1);
    EXPECT_EQ(items_.back()->ItemNo, 2);

    Write(File(body + "\n"));  // one byte more
    HoldOneItem();
    EXPECT_FALSE(Load());
    EXPECT_TRUE(StillHeld());
}
