#pragma once

#include <QWidget>

#include <memory>

class ConditionSheetModel;
class QString;
namespace Ui {
class ClCEPage1;
}

// The conditions page "集計条件" (template 130): the company and its fiscal
// year, the last month of the aggregation period (edit 1002), "税込みで集計
// する。" (check box 1003) and the report file's path (edit 1008 with the
// browse button 1007). The page keeps no condition of its own: each change
// the user makes goes at once to the sheet's condition block, and values the
// program puts into the controls do not run the change handlers.
class ClCEPage1 : public QWidget {
    Q_OBJECT
public:
    explicit ClCEPage1(QWidget* parent = nullptr);
    ~ClCEPage1() override;

    // The back pointer to the sheet; until it is set the handlers do
    // nothing.
    void SetSheet(ConditionSheetModel* sheet) { sheet_ = sheet; }

    // Puts the sheet's texts and values into the controls. locked (the
    // caller gave the path) disables the path edit and the browse button
    // and drops the group box's mnemonic.
    void ShowSheetValues(bool locked);
    // Puts the sheet's OutputPath into the path edit.
    void ShowOutputPath();

private:
    void OnEndMonthEdited(const QString& text);
    void OnTaxIncludedClicked(bool checked);
    void OnPathEdited(const QString& text);
    void OnBrowseClicked();

    std::unique_ptr<Ui::ClCEPage1> ui_;
    ConditionSheetModel* sheet_ = nullptr;
};
