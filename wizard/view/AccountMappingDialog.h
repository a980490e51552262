#pragma once

#include <QDialog>

#include <memory>

#include "report/MappedAccount.h"
#include "report/ReportItem.h"

class AccountMappingModel;
class QEvent;
class QMenu;
class QPoint;
class QTreeWidgetItem;
namespace Ui {
class AccountMappingDialog;
}

// The dialog "集約科目対応設定" that decides which accounts feed one item:
// the accounts of the item's classes (or all accounts) with a check box each,
// the mapped ones ticked. "設定(F12)" rewrites the item's entries of the
// mapping; "キャンセル(Esc)" and the close box leave it untouched. The state
// and the actions live in AccountMappingModel; this class is its view.
class AccountMappingDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kApplied = 1032;
    static constexpr int kCancelled = 1033;

    // The dialog for item; mapping is the run's mapping, edited in place on
    // apply; defaults is the default mapping of the items.
    AccountMappingDialog(const ReportItem& item, MappingList& mapping, const MappingList& defaults,
                         QWidget* parent = nullptr);
    ~AccountMappingDialog() override;

    // Shows the dialog modally: kApplied or kCancelled.
    int exec() override;
    // Esc, "キャンセル(Esc)" and the close box: ends with kCancelled and
    // leaves the mapping as it was.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpControls(const ReportItem& item);
    void SetUpColumns();
    void SetUpContextMenu();
    void ConnectControls();
    // Shows the model's rows and AllAccountsBox: the rows anew after the
    // list was filled again, else only their ticks.
    void ShowModel();
    void RowChanged(QTreeWidgetItem* row, int column);
    void AllAccountsBoxClicked(bool ticked);
    void RunCommand(int command);
    void ToggleCurrentRow();
    void OpenContextMenu(const QPoint& globalPosition);
    void ApplyMapping();
    // Enter on the list, AllAccountsBox or "設定(F12)", and F12: true when
    // the key was taken.
    bool HandleKey(QObject* watched, int key);

    std::unique_ptr<Ui::AccountMappingDialog> ui_;
    std::unique_ptr<AccountMappingModel> model_;
    QMenu* menu_ = nullptr;
    int shownGeneration_ = -1;
    bool showing_ = false;  // the view is being updated from the model, not by the user
};
