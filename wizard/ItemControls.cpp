#include "wizard/ItemControls.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "report/BalanceSheetTotals.h"

namespace {

constexpr int kMain = ItemControls::kMainItemsPage;
constexpr int kMonthly = ItemControls::kMonthlySalesPage;
constexpr ItemControls::Kind L = ItemControls::Kind::Label;
constexpr ItemControls::Kind B = ItemControls::Kind::Button;

// The left column (sales and costs) down to the operating result is the
// same in both versions; below it UG30 reports the special gains and losses
// as two totals, which pushes every item from there on one number up.
constexpr auto kUg16 = std::to_array<ItemControls::Control>({
    {1, kMain, 1020, L},  {2, kMain, 1026, B},  {3, kMain, 1021, L},  {4, kMain, 1029, B},
    {5, kMain, 1030, B},  {6, kMain, 1031, B},  {7, kMain, 1032, B},  {8, kMain, 1033, B},
    {9, kMain, 1038, B},  {10, kMain, 1039, B}, {11, kMain, 1022, L}, {12, kMain, 1040, B},
    {13, kMain, 1041, B}, {14, kMain, 1042, B}, {15, kMain, 1043, B}, {16, kMain, 1046, B},
    {17, kMain, 1023, L}, {18, kMain, 1047, B}, {19, kMain, 1024, L}, {21, kMain, 1048, B},
    {22, kMain, 1049, B}, {23, kMain, 1050, B}, {24, kMain, 1051, B}, {25, kMain, 1052, B},
    {26, kMain, 1055, B}, {27, kMain, 1056, B}, {28, kMain, 1057, B}, {29, kMain, 1058, B},
    {31, kMain, 1061, B}, {32, kMain, 1063, B}, {33, kMain, 1064, B}, {34, kMain, 1065, B},
    {36, kMonthly, 1029, B}, {37, kMonthly, 1030, B}, {38, kMonthly, 1031, B}, {39, kMonthly, 1032, B},
    {40, kMonthly, 1033, B}, {41, kMonthly, 1034, B}, {42, kMonthly, 1035, B}, {43, kMonthly, 1036, B},
});

constexpr auto kUg30 = std::to_array<ItemControls::Control>({
    {1, kMain, 1020, L},  {2, kMain, 1026, B},  {3, kMain, 1021, L},  {4, kMain, 1029, B},
    {5, kMain, 1030, B},  {6, kMain, 1031, B},  {7, kMain, 1032, B},  {8, kMain, 1033, B},
    {9, kMain, 1038, B},  {10, kMain, 1039, B}, {11, kMain, 1022, L}, {12, kMain, 1040, B},
    {13, kMain, 1041, B}, {14, kMain, 1042, B}, {15, kMain, 1043, B}, {16, kMain, 1046, B},
    {17, kMain, 1023, L}, {18, kMain, 1025, L}, {19, kMain, 1034, L}, {20, kMain, 1024, L},
    {22, kMain, 1048, B}, {23, kMain, 1049, B}, {24, kMain, 1050, B}, {25, kMain, 1051, B},
    {26, kMain, 1052, B}, {27, kMain, 1055, B}, {28, kMain, 1056, B}, {29, kMain, 1057, B},
    {30, kMain, 1058, B}, {32, kMain, 1061, B}, {33, kMain, 1063, B}, {34, kMain, 1064, B},
    {35, kMain, 1065, B}, {37, kMonthly, 1029, B}, {38, kMonthly, 1030, B}, {39, kMonthly, 1031, B},
    {40, kMonthly, 1032, B}, {41, kMonthly, 1033, B}, {42, kMonthly, 1034, B}, {43, kMonthly, 1035, B},
    {44, kMonthly, 1036, B},
});

static_assert(kUg16.size() == 40 && kUg30.size() == 41);

constexpr const char* kUnused = "-";

}  // namespace

std::span<const ItemControls::Control> ItemControls::Table(bool ug30) {
    if (ug30) return {kUg30.data(), kUg30.size()};
    return {kUg16.data(), kUg16.size()};
}

const ItemControls::Control* ItemControls::ControlOfItem(int itemNo, bool ug30) {
    for (const Control& control : Table(ug30))
        if (control.itemNo == itemNo) return &control;
    return nullptr;
}

int ItemControls::ItemOfButton(int page, int controlId, bool ug30) {
    for (const Control& control : Table(ug30))
        if (control.kind == Kind::Button && control.page == page &&
            control.controlId == controlId)
            return control.itemNo;
    return 0;
}

std::vector<int> ItemControls::ButtonsOf(int page, bool ug30) {
    std::vector<int> buttons;
    for (const Control& control : Table(ug30))
        if (control.kind == Kind::Button && control.page == page)
            buttons.push_back(control.controlId);
    std::sort(buttons.begin(), buttons.end());
    return buttons;
}

std::vector<ItemControls::Caption> ItemControls::Captions(const ItemList& items, bool ug30, bool netAssetsCaption) {
    std::vector<Caption> captions;
    captions.push_back({kMainItemsPage, kCostGroupCaption, Kind::Label, "売上原価のうち", true});
    for (const auto& item : items) {
        const Control* control = ControlOfItem(item->ItemNo, ug30);
        if (control == nullptr) continue;
        const std::string caption(item->Caption, strnlen(item->Caption, sizeof item->Caption));
        const bool unused = caption == kUnused;
        captions.push_back(
            {control->page, control->controlId, control->kind, unused ? std::string() : caption, !unused});
    }
    captions.push_back({kMainItemsPage, kCapitalTotal, Kind::Label,
                        BalanceSheetTotals::CapitalCaption(netAssetsCaption), true});
    return captions;
}

std::string ItemControls::PageCaption(const ReportItem& item, bool ug30, bool netAssetsCaption) {
    if (item.ItemNo == BalanceSheetTotals::CapitalItem(ug30)) return BalanceSheetTotals::CapitalCaption(netAssetsCaption);
    const std::string caption(item.Caption, strnlen(item.Caption, sizeof item.Caption));
    return caption == kUnused ? std::string() : caption;
}
