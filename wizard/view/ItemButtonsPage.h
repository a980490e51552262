#pragma once

#include <QWidget>

#include <vector>

class ConditionSheetModel;
class QAbstractButton;

// What the main-items and monthly-sales pages share: push buttons bound to
// items, each opening the mapping dialog of its item, with the names of the
// item's accounts as its tip. The derived pages load their template and
// then bind the buttons of their version.
class ItemButtonsPage : public QWidget {
    Q_OBJECT
public:
    // The back pointer to the sheet; until it is set the buttons do nothing.
    void SetSheet(ConditionSheetModel* sheet) { sheet_ = sheet; }

    // The page as the sheet counts it (ConditionSheetModel::kMainItemsPage
    // or kMonthlySalesPage) and its version.
    int PageIndex() const { return page_; }
    bool IsUg30() const { return ug30_; }

    // The item buttons of the version, in ascending control order.
    const std::vector<int>& ItemButtons() const { return buttons_; }
    // The item behind a button; 0 for none.
    int ItemOf(int controlId) const;
    // A control of the page by its id, or nullptr.
    QWidget* Control(int controlId) const;

    // One tip per item button, in button order, with the names of the
    // accounts mapped to its item.
    void CreateItemTips();
    // The button as if clicked (Enter on it).
    void PressItemButton(int controlId);
    // Disables and empties every button of the page, the version's own and
    // the template's others: the sheet has no item definitions.
    void DisableItemControls();
    // Opens the mapping dialog for the item and waits until it is closed.
    // Nothing opens without the back pointer or when the ItemList holds no
    // such item (its button has no item definition behind it).
    void EditItemMapping(int itemNo);

protected:
    ItemButtonsPage(int page, bool ug30, QWidget* parent);
    // Connects the version's item buttons; called by the derived page once
    // its controls exist.
    void BindItemButtons();

private:
    void OnItemButton(int controlId);
    void SetTip(int controlId);

    int page_;
    bool ug30_;
    std::vector<int> buttons_;
    ConditionSheetModel* sheet_ = nullptr;
};
