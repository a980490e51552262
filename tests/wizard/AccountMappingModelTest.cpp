#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounting_core/ClDataMgr.h"
#include "tests/wizard/AccountMappingBooks.h"
#include "wizard/AccountMappingModel.h"

namespace {

using Model = AccountMappingModel;

class AccountMappingModelTest : public AccountMappingBooks {
protected:
    static std::vector<int> Numbers(const Model& model) {
        std::vector<int> numbers;
        for (const Model::Row& row : model.Rows()) numbers.push_back(row.number);
        return numbers;
    }
    static std::vector<int> Ticked(const Model& model) {
        std::vector<int> numbers;
        for (const Model::Row& row : model.Rows())
            if (row.ticked) numbers.push_back(row.number);
        return numbers;
    }
    static std::vector<int> Chosen(const Model& model) {
        return std::vector<int>(model.ChosenCodes().begin(), model.ChosenCodes().end());
    }
    static void Tick(Model& model, int number, bool ticked) {
        for (std::size_t row = 0; row < model.Rows().size(); ++row)
            if (model.Rows()[row].number == number) model.SetTicked(row, ticked);
    }
    static int OpenCursors() {
        return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1))->OpenCursors();
    }
};

}  // namespace

TEST_F(AccountMappingModelTest, ClassFilterListsTheMainAccountsOfTheItemsClassesAndNoFilterListsAll) {
    Model model(item_, mapping_, defaults_);
    model.FillAccountList(true);
    EXPECT_EQ(Numbers(model), (std::vector<int>{111, 112, 135}));
    ASSERT_EQ(model.Rows().size(), 3u);
    EXPECT_EQ(model.Rows()[1].code, "112");
    EXPECT_EQ(model.Rows()[1].name, "普通預金");  // the trailing full-width blank is not shown
    ASSERT_NE(model.FindShownAccount(112), nullptr);
    EXPECT_STREQ(model.FindShownAccount(112)->Name, "普通預金　");

    const int generation = model.ListGeneration();
    model.FillAccountList(false);
    EXPECT_NE(model.ListGeneration(), generation);
    EXPECT_EQ(Numbers(model), (std::vector<int>{111, 112, 135, 311, 511}));
    EXPECT_EQ(OpenCursors(), 0);

    // A single class, and an item whose classes are all 0, which opens on
    // the whole chart.
    item_.ClassCodes[1] = 0;
    Model single(item_, mapping_, defaults_);
    single.Initialise();
    EXPECT_EQ(Numbers(single), (std::vector<int>{111, 112}));
    EXPECT_FALSE(single.AllAccounts());

    item_.ClassCodes[0] = 0;
    Model unclassified(item_, mapping_, defaults_);
    unclassified.Initialise();
    EXPECT_EQ(Numbers(unclassified), (std::vector<int>{111, 112, 135, 311, 511}));
    EXPECT_FALSE(unclassified.AllAccounts());
}

TEST_F(AccountMappingModelTest, TenClassCodesAreAllPassedToTheWalk) {
    for (int i = 0; i < ReportItem::kClassCodes; ++i) item_.ClassCodes[i] = 0x80480000u;
    item_.ClassCodes[9] = kReceivableClass;
    Model model(item_, mapping_, defaults_);
    model.FillAccountList(true);
    EXPECT_EQ(Numbers(model), (std::vector<int>{135, 311}));
}

TEST_F(AccountMappingModelTest, FindShownAccountTakesSmallCodesAsTheCodesUsersSee) {
    Model model(item_, mapping_, defaults_);
    model.FillAccountList(true);
    ASSERT_NE(model.FindShownAccount(135), nullptr);
    EXPECT_EQ(model.FindShownAccount(135), model.FindShownAccount(1350000));
    EXPECT_EQ(model.FindShownAccount(311), nullptr);  // exists, not listed
    EXPECT_EQ(model.FindShownAccount(1110001), nullptr);
    EXPECT_EQ(model.FindShownAccount(0), nullptr);
}

TEST_F(AccountMappingModelTest, InitialisationTicksTheMappedAccountsInRowOrder) {
    Add(mapping_, kItemNo, Key(kReceivable));
    Add(mapping_, 6, Key(kDeposit));  // another item's
    Add(mapping_, kItemNo, AccountKey::kUriageDaka);
    Add(mapping_, kItemNo, Key(kCash));
    Add(mapping_, kItemNo, Key(kCashSub));  // never a main account
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    EXPECT_FALSE(model.AllAccounts());
    EXPECT_EQ(Numbers(model), (std::vector<int>{111, 112, 135}));
    EXPECT_EQ(Ticked(model), (std::vector<int>{111, 135}));
    EXPECT_EQ(Chosen(model), (std::vector<int>{111, 135}));
}

TEST_F(AccountMappingModelTest, AnAccountOutsideTheClassesOpensTheWholeChart) {
    Add(mapping_, kItemNo, Key(kCash));
    Add(mapping_, kItemNo, Key(kPayable));
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    EXPECT_TRUE(model.AllAccounts());
    EXPECT_EQ(Numbers(model), (std::vector<int>{111, 112, 135, 311, 511}));
    EXPECT_EQ(Ticked(model), (std::vector<int>{111, 311}));
    EXPECT_EQ(Chosen(model), (std::vector<int>{111, 311}));
}

TEST_F(AccountMappingModelTest, UntickingAllAccountsKeepsAChosenAccountOutsideTheClasses) {
    Add(mapping_, 3, Key(kSales));
    Add(mapping_, kItemNo, Key(kCash));
    Add(mapping_, 7, Key(kCash));
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    ASSERT_FALSE(model.AllAccounts());

    model.AllAccountsBoxClicked(true);
    EXPECT_TRUE(model.AllAccounts());
    EXPECT_EQ(Numbers(model), (std::vector<int>{111, 112, 135, 311, 511}));
    EXPECT_EQ(Ticked(model), (std::vector<int>{111}));
    Tick(model, 311, true);
    Tick(model, 111, false);

    model.AllAccountsBoxClicked(false);
    EXPECT_FALSE(model.AllAccounts());
    EXPECT_EQ(Numbers(model), (std::vector<int>{111, 112, 135}));
    EXPECT_TRUE(Ticked(model).empty());
    EXPECT_EQ(Chosen(model), (std::vector<int>{311}));

    Tick(model, 112, true);
    model.ApplyMapping();
    EXPECT_EQ(
        Entries(mapping_),
        (std::vector<Entry>{{3, Key(kSales)}, {7, Key(kCash)}, {kItemNo, Key(kPayable)}, {kItemNo, Key(kDeposit)}}));
}

TEST_F(AccountMappingModelTest, ContextMenuCommands) {
    Add(defaults_, kItemNo, Key(kReceivable));
    Add(defaults_, 9, Key(kCash));
    Add(defaults_, kItemNo, Key(kDeposit));
    Add(mapping_, kItemNo, Key(kCash));
    Model model(item_, mapping_, defaults_);
    model.Initialise();

    model.RunCommand(Model::kTickShown);
    EXPECT_EQ(Ticked(model), (std::vector<int>{111, 112, 135}));
    EXPECT_EQ(Chosen(model), (std::vector<int>{111, 112, 135}));

    model.RunCommand(Model::kUntickShown);
    EXPECT_TRUE(Ticked(model).empty());
    EXPECT_TRUE(Chosen(model).empty());

    model.RunCommand(Model::kRestoreDefaults);
    EXPECT_EQ(Ticked(model), (std::vector<int>{112, 135}));
    EXPECT_EQ(Chosen(model), (std::vector<int>{135, 112}));  // default order

    model.RunCommand(Model::kTickAll);
    EXPECT_TRUE(model.AllAccounts());
    EXPECT_EQ(Ticked(model), (std::vector<int>{111, 112, 135, 311, 511}));
    EXPECT_EQ(Chosen(model), (std::vector<int>{111, 112, 135, 311, 511}));

    // Unticking the shown rows with the whole chart listed keeps nothing;
    // with the filter back, a chosen account outside stays chosen.
    model.AllAccountsBoxClicked(false);
    EXPECT_EQ(Chosen(model), (std::vector<int>{111, 112, 135, 311, 511}));
    model.RunCommand(Model::kUntickShown);
    EXPECT_EQ(Chosen(model), (std::vector<int>{311, 511}));

    model.RunCommand(Model::kUntickAll);
    EXPECT_TRUE(Ticked(model).empty());
    EXPECT_TRUE(Chosen(model).empty());
    model.ApplyMapping();
    EXPECT_TRUE(mapping_.empty());

    // An unknown command is a dismissed menu.
    Model other(item_, mapping_, defaults_);
    other.Initialise();
    Tick(other, 135, true);
    other.RunCommand(0);
    other.RunCommand(6);
    EXPECT_EQ(Ticked(other), (std::vector<int>{135}));
    EXPECT_EQ(Model::CommandText(0), nullptr);
    EXPECT_STREQ(Model::CommandText(Model::kTickAll), "全ての科目をチェック");
}

TEST_F(AccountMappingModelTest, RestoringDefaultsThenApplyingMapsExactlyTheDefaultAccountsThatExist) {
    Add(defaults_, kItemNo, Key(kPayable));  // outside the classes: chosen, not listed
    Add(defaults_, kItemNo, Key(kReceivable));
    Add(defaults_, kItemNo, AccountKey::kUriageDaka);
    Add(defaults_, 2, Key(kSales));
    Add(defaults_, kItemNo, Key(kDeleted));
    Add(defaults_, kItemNo, Key(kCash));
    Add(mapping_, 1, Key(kSales));
    Add(mapping_, kItemNo, Key(kDeposit));
    Add(mapping_, 2, AccountKey::kUriageGenka);
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    model.RunCommand(Model::kRestoreDefaults);
    // Keys of no account become code 0, which no row shows.
    EXPECT_EQ(Chosen(model), (std::vector<int>{311, 135, 0, 0, 111}));
    EXPECT_EQ(Ticked(model), (std::vector<int>{111, 135}));

    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{1, Key(kSales)},
                                                     {2, AccountKey::kUriageGenka},
                                                     {kItemNo, Key(kPayable)},
                                                     {kItemNo, Key(kCash)},
                                                     {kItemNo, Key(kReceivable)}}));
    EXPECT_EQ(OpenCursors(), 0);
}

TEST_F(AccountMappingModelTest, ApplyingAnItemMappedOnlyToTotalsRemovesThem) {
    Add(mapping_, kItemNo, AccountKey::kSisan);
    Add(mapping_, 4, AccountKey::kFusai);
    Add(mapping_, kItemNo, Key(kDeleted));
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    EXPECT_FALSE(model.AllAccounts());
    EXPECT_TRUE(Ticked(model).empty());
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{4, AccountKey::kFusai}}));
}

TEST_F(AccountMappingModelTest, AnAccountNumberedFrom10000IsTickedAndMappedLikeAnyOther) {
    AddAccount(1, 20, 123450000, u8"大口現金", kCashClass, 1);
    Add(mapping_, kItemNo, Key(20));
    Add(mapping_, kItemNo, Key(kCash));
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    EXPECT_FALSE(model.AllAccounts());
    EXPECT_EQ(Numbers(model), (std::vector<int>{111, 112, 135, 12345}));
    EXPECT_EQ(model.Rows()[3].code, "12345");
    EXPECT_EQ(Ticked(model), (std::vector<int>{111, 12345}));
    Tick(model, 12345, false);
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{kItemNo, Key(kCash)}}));
    Model again(item_, mapping_, defaults_);
    again.Initialise();
    Tick(again, 12345, true);
    again.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{kItemNo, Key(kCash)}, {kItemNo, Key(20)}}));
}

TEST_F(AccountMappingModelTest, TrimAccountNameDropsTrailingBlanksCharacterByCharacter) {
    EXPECT_EQ(Model::TrimAccountName("現金  "), "現金");
    EXPECT_EQ(Model::TrimAccountName("現金　　"), "現金");
    EXPECT_EQ(Model::TrimAccountName("現金 　 "), "現金");
    EXPECT_EQ(Model::TrimAccountName("現 金"), "現 金");
    EXPECT_EQ(Model::TrimAccountName("　 "), "");
    EXPECT_EQ(Model::TrimAccountName(""), "");
    // "ァ" is 0x83 0x40 and stays; "普" ends in the byte 0x81, so "普@" is not
    // a full-width blank (0x81 0x40) at its end.
    EXPECT_EQ(Model::TrimAccountName("ァ"), "ァ");
    EXPECT_EQ(Model::TrimAccountName("ァ 　"), "ァ");
    EXPECT_EQ(Model::TrimAccountName("普@"), "普@");
    EXPECT_EQ(Model::TrimAccountName("普@ "), "普@");
    // Half-width katakana are one byte each; a lead byte cut off by the end
    // of the name counts as a character.
    EXPECT_EQ(Model::TrimAccountName("\xB6\xDD\xB7\xDE "), "\xB6\xDD\xB7\xDE");
    EXPECT_EQ(Model::TrimAccountName("A\x81"), "A\x81");
}
