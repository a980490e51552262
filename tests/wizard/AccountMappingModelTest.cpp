// The mapping dialog's model on real books: the list, the ticks, the menu's commands and the rewritten entries.

#include "wizard/AccountMappingModel.h"

#include <gtest/gtest.h>

#include "tests/wizard/SheetBooks.h"

using Model = AccountMappingModel;
using Codes = std::vector<int>;

Codes Listed(const Model& model, bool tickedOnly = false) {
    Codes codes;
    for (const Model::Row& row : model.Rows())
        if (row.ticked || !tickedOnly) codes.push_back(row.number);
    return codes;
}

class AccountMappingModelTest : public SheetBooks {};

// The item's classes, all ten counted, or the whole chart; small codes are those users see. A mapped account outside
// the classes opens the whole chart and stays chosen when the box is unticked. Applying rewrites the item's entries
// only: totals and keys of no account dropped, the chosen appended in row order.
TEST_F(AccountMappingModelTest, TheListTheTicksAndApplying) {
    Add(mapping_, {{21, KeyOf(2110)}, {6, KeyOf(1140)}, {21, AccountKey::kUriageDaka}, {21, KeyOf(4110)}, {21, KeyOf(99)}});
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    EXPECT_EQ(std::tuple(model.AllAccounts(), Listed(model), Listed(model, true)),
              std::tuple(true, Codes{1110, 1140, 2110, 4110, 5210}, Codes{2110, 4110}));
    EXPECT_EQ(std::tuple(model.Rows()[1].code, model.Rows()[1].name, model.FindShownAccount(2110), model.FindShownAccount(0)),
              std::tuple("1140", "普通預金", model.FindShownAccount(21100000), nullptr));
    model.SetTicked(4, true);
    model.AllAccountsBoxClicked(false);
    EXPECT_EQ(std::tuple(model.AllAccounts(), Listed(model), Listed(model, true), model.FindShownAccount(4110)),
              std::tuple(false, Codes{1110, 1140, 2110}, Codes{2110}, nullptr));
    model.SetTicked(0, true);
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{6, KeyOf(1140)}, {21, KeyOf(4110)}, {21, KeyOf(5210)},
                                                     {21, KeyOf(1110)}, {21, KeyOf(2110)}}));
    const int generation = model.ListGeneration();
    std::fill(std::begin(item_.ClassCodes), std::end(item_.ClassCodes), 0x40888800u);
    item_.ClassCodes[9] = kBillsClass;
    model.FillAccountList(true);
    EXPECT_EQ(std::tuple(Listed(model), model.ListGeneration() != generation), std::tuple(Codes{2110, 4110}, true));
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
        const Codes chosen(model.ChosenCodes().begin(), model.ChosenCodes().end());
        EXPECT_EQ(std::tuple(model.AllAccounts(), Listed(model, true), chosen), std::tuple(row.all, row.ticked, row.chosen))
            << row.command;
    }
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{2, "URIAGEGENKA"}, {21, KeyOf(1140)}, {21, KeyOf(2110)},
                                                     {21, KeyOf(4110)}}));
    EXPECT_EQ(std::tuple(Model::CommandText(0), Model::CommandText(6), std::string(Model::CommandText(Model::kTickAll))),
              std::tuple(nullptr, nullptr, "全ての科目をチェック"));
    // Trailing blanks go character by character: "ァ" is 0x83 0x40, "普@" ends in 0x81 0x40 but in no full-width
    // blank, half-width katakana are one byte each, and a lead byte cut off by the end counts as a character.
    for (const auto& [name, trimmed] : {std::pair{"現金 　 ", "現金"}, {"現 金", "現 金"}, {"　 ", ""}, {"ァ 　", "ァ"},
                                        {"普@ ", "普@"}, {"\xB6\xDD ", "\xB6\xDD"}, {"A\x81", "A\x81"}})
        EXPECT_EQ(Model::TrimAccountName(name), trimmed) << name;
}
