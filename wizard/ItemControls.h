#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "report/ReportItem.h"

// Which control of the main-items page (template 131) or the monthly-sales
// page (template 132) shows which item, for each target version, and the
// captions and enabled states the item definitions give those controls.
// Label items are shown on a text and cannot be mapped; button items open
// the mapping dialog. Items without a control (the balance-sheet totals)
// take their captions from the page's fixed texts.
class ItemControls {
public:
    // Pages as the sheet counts them.
    static constexpr int kMainItemsPage = 1;
    static constexpr int kMonthlySalesPage = 2;

    // Controls of the main-items page with texts of their own.
    static constexpr int kCostGroupCaption = 1027;  // "売上原価のうち"
    static constexpr int kCapitalTotal = 1035;      // "純資産の部合計" or "資本の部合計"
    static constexpr int kAssetsTotal = 1060;       // "資産の部合計"
    static constexpr int kLiabilitiesTotal = 1062;  // "負債の部合計"

    enum class Kind { Label, Button };

    struct Control {
        std::int16_t itemNo;
        int page;
        int controlId;
        Kind kind;
    };

    // A text to put on a control, and for a button its enabled state (a
    // text's enabled state is left as it is).
    struct Caption {
        int page;
        int controlId;
        Kind kind;
        std::string text;  // code page 932
        bool enabled;
    };

    // The item controls of the version, in item order.
    static std::span<const Control> Table(bool ug30);
    // The control of an item, or nullptr when the item has none.
    static const Control* ControlOfItem(int itemNo, bool ug30);
    // The item behind a button of a page; 0 when the control is no item
    // button of the version (UG30's hidden 1047, labels, other pages' ids).
    static int ItemOfButton(int page, int controlId, bool ug30);
    // The item buttons of a page in ascending control order, which is the
    // order their tips are made in: 27 on the UG16 main-items page, 26 on
    // UG30's, 8 on either monthly-sales page.
    static std::vector<int> ButtonsOf(int page, bool ug30);

    // What the item definitions put on the pages, in the order it is done:
    // the cost group's caption, then for each item of the list with a
    // control, in list order, its Caption on its label or button (a Caption
    // "-" empties the text and, on a button, disables it; any other Caption
    // enables the button), then the capital total's caption.
    static std::vector<Caption> Captions(const ItemList& items, bool ug30, bool netAssetsCaption);
    // The caption the pages show for an item: the capital total's by the
    // net-assets flag, an unused item's empty, any other its Caption.
    static std::string PageCaption(const ReportItem& item, bool ug30, bool netAssetsCaption);
};
