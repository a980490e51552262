#include "wizard/view/ItemButtonsPage.h"

#include <QAbstractButton>
#include <QSignalBlocker>

#include "wizard/view/AccountMappingDialog.h"
#include "wizard/ConditionSheetModel.h"
#include "wizard/ItemControls.h"
#include "wizard/view/ItemTips.h"
#include "wizard/MappedAccountsText.h"

ItemButtonsPage::ItemButtonsPage(int page, bool ug30, QWidget* parent)
    : QWidget(parent), page_(page), ug30_(ug30), buttons_(ItemControls::ButtonsOf(page, ug30)) {}

int ItemButtonsPage::ItemOf(int controlId) const { return ItemControls::ItemOfButton(page_, controlId, ug30_); }

QWidget* ItemButtonsPage::Control(int controlId) const {
    return findChild<QWidget*>(QStringLiteral("c%1").arg(controlId));
}

void ItemButtonsPage::BindItemButtons() {
    for (int id : buttons_) {
        auto* button = qobject_cast<QAbstractButton*>(Control(id));
        if (button == nullptr) continue;
        connect(button, &QAbstractButton::clicked, this, [this, id]() { OnItemButton(id); });
    }
}

void ItemButtonsPage::CreateItemTips() {
    for (int id : buttons_) SetTip(id);
}

void ItemButtonsPage::PressItemButton(int controlId) {
    auto* button = qobject_cast<QAbstractButton*>(Control(controlId));
    if (button != nullptr && ItemOf(controlId) != 0) button->click();
}

void ItemButtonsPage::DisableItemControls() {
    for (auto* button : findChildren<QAbstractButton*>()) {
        const QSignalBlocker block(button);
        button->setEnabled(false);
        button->setText(QString());
    }
}

void ItemButtonsPage::EditItemMapping(int itemNo) {
    if (sheet_ == nullptr) return;
    const ReportItem* item = sheet_->FindItem(itemNo);
    if (item == nullptr) return;
    AccountMappingDialog dialog(*item, sheet_->Mapping(), sheet_->DefaultMapping(), this);
    dialog.exec();
}

void ItemButtonsPage::OnItemButton(int controlId) {
    if (sheet_ == nullptr) return;
    EditItemMapping(ItemOf(controlId));
    // Whatever the dialog's result: the tip shows the mapping as it now is.
    SetTip(controlId);
}

void ItemButtonsPage::SetTip(int controlId) {
    if (sheet_ == nullptr) return;
    QWidget* button = Control(controlId);
    if (button == nullptr) return;
    button->setToolTip(ItemTips::Text(MappedAccountsText::Of(ItemOf(controlId), sheet_->Mapping())));
}
