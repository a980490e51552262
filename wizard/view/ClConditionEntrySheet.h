#pragma once

#include <QDialog>

#include <cstdint>

#include "wizard/ConditionSheetModel.h"
#include "wizard/ConditionSheetView.h"

class ClCEPage1;
class ClCEPage2UG30;
class ItemButtonsPage;
class FileDialogs;
class MessageBoxes;
class QPushButton;
class QTabWidget;

// The condition sheet "事業概況書 - 集計条件": a modal dialog with the tabs
// "集計条件", "主要科目" and "月別売上等" (the pages of its TargetVersion)
// and four buttons of its own in one row below them: "前へ(F5)" (2002),
// "次へ(F6)" (2003), "実行(F12)" (2000) and "キャンセル(Esc)" (2001). It
// has no close box, and neither Alt+F4 nor the window manager closes it:
// it ends through Execute (2000) or ConfirmCancel (2001) only. The state
// and the actions are its model's; the run sequence fills Model().Values
// before exec and reads them back after 2000.
//
// Controls carry the object name "c<id>" ("c2000", "c1002"), the pages
// "page1" to "page3" and the tab widget "tabs".
class ClConditionEntrySheet : public QDialog, private ConditionSheetView {
    Q_OBJECT
public:
    // caption in code page 932; initialPage the tab shown first (the
    // initialisation ends on the conditions page whatever it is). The
    // remaining arguments build the model (see ConditionSheetModel).
    ClConditionEntrySheet(const char* caption, QWidget* parent, int initialPage, std::int32_t targetVersion,
                          MappingList& mapping, ItemList& items, MessageBoxes& boxes, FileDialogs& fileDialogs);
    ~ClConditionEntrySheet() override;

    ConditionSheetModel& Model() { return model_; }

    // Initialises the sheet (once) and shows it modally: kExecuted (2000)
    // or kCancelled (2001).
    int exec() override;
    // The initialisation alone (once), for a sheet that is shown without
    // exec; exec and the first show run it themselves. The model's result.
    bool Initialise();

    QPushButton* Button(int controlId) const;
    ClCEPage1* ConditionsPage() const { return page1_; }
    ItemButtonsPage* MainItemsPage() const { return page2_; }
    ItemButtonsPage* MonthlySalesPage() const { return page3_; }
    QTabWidget* Tabs() const { return tabs_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc reaches ConfirmCancel through the key table; nothing else may
    // reject the sheet.
    void reject() override;

private:
    // ConditionSheetView
    void ConnectPages() override;
    void ActivatePage(int page) override;
    void ShowButtonStates(bool backEnabled, bool nextEnabled) override;
    void ShowSheetValues(bool locked) override;
    void ShowOutputPath() override;
    void FocusControl(int controlId, bool selectAll) override;
    void ApplyItemCaptions() override;
    void DisableItemControls() override;
    void CreateItemTips() override;
    void LayOutButtons() override;
    void PressItemButton(int controlId) override;
    MessageOwner BoxOwner() const override;
    void* DialogOwner() const override;

    // The captions the items give the pages' controls, and the UG30 page's
    // arrangement.
    void ApplyCaptionsOf(const ItemList& items);

    QPushButton* MakeButton(int controlId, const char* text);
    void BuildPages(int initialPage);
    void SizeSheet();
    ItemButtonsPage* ItemPage(int page) const;
    void Finish(int result);

    ConditionSheetModel model_;
    QTabWidget* tabs_ = nullptr;
    ClCEPage1* page1_ = nullptr;
    ItemButtonsPage* page2_ = nullptr;
    ClCEPage2UG30* page2Ug30_ = nullptr;  // page2_ as UG30's page, or nullptr
    ItemButtonsPage* page3_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* executeButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    int buttonHeight_ = 0;
};
