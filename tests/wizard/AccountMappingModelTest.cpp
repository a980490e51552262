// The mapping dialog's model on real books: the list, the ticks, the chosen codes, the pop-up menu's commands and
// how the item's entries are rewritten.

#include "wizard/AccountMappingModel.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClSetKamoku.h"
#include "tests/wizard/SheetBooks.h"

namespace {

using Model = AccountMappingModel;
using Codes = std::vector<int>;
using Entries = std::vector<SheetBooks::Entry>;

class AccountMappingModelTest : public SheetBooks {
protected:
    static Codes Listed(const Model& model, bool tickedOnly = false) {
        Codes codes;
        for (const Model::Row& row : model.Rows())
            if (row.ticked || !tickedOnly) codes.push_back(row.number);
        return codes;
    }
    static Codes Chosen(const Model& model) { return Codes(model.ChosenCodes().begin(), model.ChosenCodes().end()); }
    static void Tick(Model& model, int number, bool ticked) {
        for (std::size_t row = 0; row < model.Rows().size(); ++row)
            if (model.Rows()[row].number == number) model.SetTicked(row, ticked);
    }
};

TEST_F(AccountMappingModelTest, TheListHoldsTheAccountsOfTheItemsClassesOrOfTheWholeChart) {
    Model model(item_, mapping_, defaults_);
    model.FillAccountList(true);
    EXPECT_EQ(Listed(model), (Codes{1110, 1140, 2110}));
    EXPECT_EQ(model.Rows()[1].code + model.Rows()[1].name, "1140普通預金");
    EXPECT_STREQ(model.FindShownAccount(1140)->Name, "普通預金");
    EXPECT_EQ(model.FindShownAccount(2110), model.FindShownAccount(21100000)) << "small codes are the codes users see";
    for (int code : {4110, 11100001, 0}) EXPECT_EQ(model.FindShownAccount(code), nullptr) << code;
    const int generation = model.ListGeneration();
    model.FillAccountList(false);
    EXPECT_NE(model.ListGeneration(), generation);
    EXPECT_EQ(Listed(model), (Codes{1110, 1140, 2110, 4110, 5210}));
    EXPECT_EQ(static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1))->OpenCursors(), 0);
    // All ten class codes reach the walk; an item without classes opens on the whole chart, the box unticked.
    std::fill(std::begin(item_.ClassCodes), std::end(item_.ClassCodes), 0x40888800u);
    item_.ClassCodes[9] = kBillsClass;
    model.FillAccountList(true);
    EXPECT_EQ(Listed(model), (Codes{2110, 4110}));
    std::fill(std::begin(item_.ClassCodes), std::end(item_.ClassCodes), 0u);
    Model unclassified(item_, mapping_, defaults_);
    unclassified.Initialise();
    EXPECT_EQ(Listed(unclassified), (Codes{1110, 1140, 2110, 4110, 5210}));
    EXPECT_FALSE(unclassified.AllAccounts());
}

// The mapped accounts are ticked; applying rewrites only the item's entries: totals and keys of no account among
// them dropped, the chosen accounts appended in row order.
TEST_F(AccountMappingModelTest, TheMappedAccountsAreTickedAndApplyingRewritesOnlyTheItemsEntries) {
    Add(mapping_, {{21, KeyOf(2110)}, {6, KeyOf(1140)}, {21, AccountKey::kUriageDaka}, {21, KeyOf(1110)},
                   {21, KeyOf(99)}, {4, AccountKey::kFusai}});
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    EXPECT_FALSE(model.AllAccounts());
    EXPECT_EQ(std::tuple(Listed(model, true), Chosen(model)), std::tuple(Codes{1110, 2110}, Codes{1110, 2110}));
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (::Entries{{6, KeyOf(1140)}, {4, "FUSAI"}, {21, KeyOf(1110)}, {21, KeyOf(2110)}}));
}

// A mapped account outside the classes opens the whole chart; unticking the box keeps it chosen though unlisted.
TEST_F(AccountMappingModelTest, AnAccountOutsideTheClassesOpensTheWholeChartAndStaysChosen) {
    Add(mapping_, {{3, KeyOf(5210)}, {21, KeyOf(1110)}, {21, KeyOf(4110)}, {7, KeyOf(1110)}});
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    EXPECT_TRUE(model.AllAccounts());
    EXPECT_EQ(Listed(model, true), (Codes{1110, 4110}));
    Tick(model, 1110, false);
    Tick(model, 5210, true);
    model.AllAccountsBoxClicked(false);
    EXPECT_FALSE(model.AllAccounts());
    EXPECT_EQ(std::tuple(Listed(model), Listed(model, true)), std::tuple(Codes{1110, 1140, 2110}, Codes{}));
    EXPECT_EQ(Chosen(model), (Codes{4110, 5210}));
    model.AllAccountsBoxClicked(true);
    EXPECT_EQ(Listed(model, true), (Codes{4110, 5210}));
    Tick(model, 1140, true);
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (::Entries{{3, KeyOf(5210)}, {7, KeyOf(1110)}, {21, KeyOf(1140)}, {21, KeyOf(4110)},
                                            {21, KeyOf(5210)}}));
}

TEST_F(AccountMappingModelTest, TheMenuCommands) {
    Add(defaults_, {{21, KeyOf(4110)}, {21, KeyOf(2110)}, {9, KeyOf(1110)}, {21, KeyOf(99)}, {21, KeyOf(1140)}});
    Add(mapping_, {{21, KeyOf(1110)}, {2, AccountKey::kUriageGenka}});
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    const Codes all = {1110, 1140, 2110, 4110, 5210}, defaults = {4110, 2110, 0, 1140};  // 0: no such account
    struct Row { int command; bool all; Codes ticked, chosen; };
    for (const Row& row : {Row{Model::kTickShown, false, {1110, 1140, 2110}, {1110, 1140, 2110}},
                           {Model::kUntickShown, false, {}, {}}, {0, false, {}, {}},  // 0 and 6: a dismissed menu
                           {Model::kRestoreDefaults, false, {1140, 2110}, defaults}, {Model::kTickAll, true, all, all},
                           {Model::kUntickAll, true, {}, {}}, {6, true, {}, {}},
                           {Model::kRestoreDefaults, true, {1140, 2110, 4110}, defaults}}) {
        model.RunCommand(row.command);
        EXPECT_EQ(std::tuple(model.AllAccounts(), Listed(model, true), Chosen(model)),
                  std::tuple(row.all, row.ticked, row.chosen)) << row.command;
    }
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (::Entries{{2, "URIAGEGENKA"}, {21, KeyOf(1140)}, {21, KeyOf(2110)}, {21, KeyOf(4110)}}));
    EXPECT_TRUE(Model::CommandText(0) == nullptr && Model::CommandText(6) == nullptr);
    EXPECT_STREQ(Model::CommandText(Model::kTickAll), "全ての科目をチェック");
}

TEST_F(AccountMappingModelTest, AnAccountNumberedFrom10000IsTickedAndMappedLikeAnyOther) {
    AddAccount(1, 20, 123450000, u8"大口現金", kCashClass, 1);
    Add(mapping_, {{21, KeyOf(20)}});
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    EXPECT_EQ(std::tuple(Listed(model), Listed(model, true)), std::tuple(Codes{1110, 1140, 2110, 12345}, Codes{12345}));
    EXPECT_EQ(model.Rows()[3].code, "12345");
    EXPECT_EQ(std::tuple(Model::StoredCode(214748), Model::StoredCode(214749), Model::StoredCode(0)), std::tuple(2147480000, 0, 0));
    Tick(model, 1110, true);
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (::Entries{{21, KeyOf(1110)}, {21, KeyOf(20)}}));
}

TEST_F(AccountMappingModelTest, TrimAccountNameDropsTrailingBlanksCharacterByCharacter) {
    // "ァ" is 0x83 0x40; "普" ends in the byte 0x81, so "普@" ends in no full-width blank (0x81 0x40); half-width
    // katakana are one byte each; a lead byte cut off by the end counts as a character.
    for (const auto& [name, trimmed] : {std::pair{"現金  ", "現金"}, {"現金　　", "現金"}, {"現金 　 ", "現金"},
                                        {"現 金", "現 金"}, {"　 ", ""}, {"", ""}, {"ァ", "ァ"}, {"ァ 　", "ァ"},
                                        {"普@", "普@"}, {"普@ ", "普@"}, {"\xB6\xDD\xB7\xDE ", "\xB6\xDD\xB7\xDE"},
                                        {"A\x81", "A\x81"}})
        EXPECT_EQ(Model::TrimAccountName(name), trimmed) << name;
}

}  // namespace
