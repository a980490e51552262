#include "wizard/AccountMappingModel.h"

#include <gtest/gtest.h>

#include "tests/wizard/SheetBooks.h"

using Model = AccountMappingModel;
using Codes = std::vector<int>;

static Codes Listed(const Model& model, bool tickedOnly = false) {
    Codes codes;
    for (const Model::Row& row : model.Rows())
        if (row.ticked || !tickedOnly) codes.push_back(row.number);
    return codes;
}

class AccountMappingModelTest : public SheetBooks {};

// A mapped account outside the classes opens the whole chart and stays chosen when the box is unticked; applying
// rewrites the item's entries only: totals and keys of no account dropped, the chosen appended in row order.
TEST_F(AccountMappingModelTest, TheListTheTicksAndApplying) {
    Add(mapping_, {{21, KeyOf(2110)}, {6, KeyOf(1140)}, {21, "URIAGEDAKA"}, {21, KeyOf(4110)}, {21, KeyOf(99)}});
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    const int generation = model.ListGeneration();
    EXPECT_EQ(std::tuple(model.AllAccounts(), Listed(model), Listed(model, true), model.Rows()[1].code,
                         model.Rows()[1].name, model.FindShownAccount(2110), model.FindShownAccount(0)),
              std::tuple(true, Codes{1110, 1140, 2110, 4110, 5210}, Codes{2110, 4110}, "1140", "普通預金",
                         model.FindShownAccount(21100000), nullptr));
    model.SetTicked(4, true);
    model.AllAccountsBoxClicked(false);
    EXPECT_EQ(std::tuple(model.AllAccounts(), Listed(model), Listed(model, true), model.FindShownAccount(4110),
                         model.ListGeneration() == generation),
              std::tuple(false, Codes{1110, 1140, 2110}, Codes{2110}, nullptr, false));
    model.SetTicked(0, true);
    model.ApplyMapping();
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{6, KeyOf(1140)}, {21, KeyOf(4110)}, {21, KeyOf(5210)},
                                                     {21, KeyOf(1110)}, {21, KeyOf(2110)}}));
}

// Each command in turn (0 and 6: a dismissed menu); restored defaults give 0 for a key of no account. Names lose
// trailing blanks character by character: "ァ" is 0x83 0x40, "普@" ends in 0x81 0x40, "\xB6" is one byte.
TEST_F(AccountMappingModelTest, TheMenuCommandsAndTheNamesShown) {
    Add(defaults_, {{21, KeyOf(4110)}, {21, KeyOf(2110)}, {9, KeyOf(1110)}, {21, KeyOf(99)}, {21, KeyOf(1140)}});
    Add(mapping_, {{21, KeyOf(1110)}, {2, "URIAGEGENKA"}});
    Model model(item_, mapping_, defaults_);
    model.Initialise();
    const Codes all = {1110, 1140, 2110, 4110, 5210}, defaults = {4110, 2110, 0, 1140};
    struct Row { int command; bool all; Codes ticked, chosen; };
    for (const Row& row : {Row{Model::kTickShown, false, {1110, 1140, 2110}, {1110, 1140, 2110}},
                           {Model::kUntickShown, false, {}, {}}, {0, false, {}, {}},
                           {Model::kRestoreDefaults, false, {1140, 2110}, defaults}, {Model::kTickAll, true, all, all},
                           {Model::kUntickAll, true, {}, {}}, {6, true, {}, {}},
                           {Model::kRestoreDefaults, true, {1140, 2110, 4110}, defaults}}) {
        model.RunCommand(row.command);
        const Codes chosen(model.ChosenCodes().begin(), model.ChosenCodes().end());
        EXPECT_EQ(std::tuple(model.AllAccounts(), Listed(model, true), chosen),
                  std::tuple(row.all, row.ticked, row.chosen)) << row.command;
    }
    model.ApplyMapping();
    const std::vector<Entry> applied = {{2, "URIAGEGENKA"}, {21, KeyOf(1140)}, {21, KeyOf(2110)}, {21, KeyOf(4110)}};
    EXPECT_EQ(std::tuple(Entries(mapping_), Model::CommandText(0), Model::CommandText(6)),
              std::tuple(applied, nullptr, nullptr));
    for (const auto& [name, trimmed] : {std::pair{"現金 　 ", "現金"}, {"現 金", "現 金"}, {"　 ", ""}, {"ァ 　", "ァ"},
                                        {"普@ ", "普@"}, {"\xB6\xDD ", "\xB6\xDD"}, {"A\x81", "A\x81"}})
        EXPECT_EQ(Model::TrimAccountName(name), trimmed) << name;
}
