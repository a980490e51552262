#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/MessageBoxes.h"
#include "platform/WinPathText.h"
#include "report/MappedAccount.h"
#include "report/ReportItem.h"
#include "wizard/ConditionSheetValues.h"
#include "wizard/ConditionSheetView.h"

class FileDialogs;

// The condition sheet without its window: the condition block, the
// initialisation, the page flow, the key table, Execute with its checks,
// ConfirmCancel, and the conditions page's browse action and change
// handlers. ClConditionEntrySheet shows it; a batch run drives it alone.
//
// The run sequence drives it so:
//
//   ConditionSheetModel sheet(targetVersion, mapping, items, boxes, dialogs);
//   sheet.Values.UserId ... SelectedNo1, SelectedNo2, OutputPath (empty or
//       the caller's path), PeriodStart, PeriodEnd, IntroMonthPos,
//       NetAssetsCaption, CompanyNameText, PeriodText
//   sheet.Initialise();            // false: no item definitions (see below)
//   [batch: sheet.Values.EndMonth / TaxIncluded / OutputPath = overrides]
//   if (sheet.Execute() == ConditionSheetModel::kExecuted)
//       read StartMonth, EndMonth, TaxIncluded, OutputPath of sheet.Values;
//       the mapping (the application's own list) holds what the user chose.
//
// Every call needs the accounting core connected (the condition file's
// folder, the period, the accounts behind the default mapping) and the
// current folder to be the program's (the item-definition and
// default-mapping files are read from it).
class ConditionSheetModel {
public:
    // How the sheet ends.
    static constexpr int kExecuted = 2000;
    static constexpr int kCancelled = 2001;
    static constexpr int kStaysOpen = 0;

    // Pages, in tab order.
    static constexpr int kConditionsPage = 0;
    static constexpr int kMainItemsPage = 1;
    static constexpr int kMonthlySalesPage = 2;

    // The sheet's own buttons.
    static constexpr int kExecuteButton = 2000;
    static constexpr int kCancelButton = 2001;
    static constexpr int kBackButton = 2002;
    static constexpr int kNextButton = 2003;
    // Controls of the conditions page that the keys and checks reach.
    static constexpr int kEndMonthEdit = 1002;
    static constexpr int kTaxIncludedBox = 1003;
    static constexpr int kBrowseButton = 1007;
    static constexpr int kPathEdit = 1008;


    enum class Key { Enter, Escape, F4, F5, F6, F12, Other };
    static constexpr unsigned kShift = 1;
    static constexpr unsigned kCtrl = 2;
    static constexpr unsigned kAlt = 4;

    struct KeyOutcome {
        bool consumed = false;
        // kExecuted or kCancelled when the key ended the sheet.
        int result = kStaysOpen;
    };

    // targetVersion 0 is UG16, anything else UG30. mapping and items are the
    // application's lists, read and rewritten in place; boxes and
    // fileDialogs must outlive the model.
    ConditionSheetModel(std::int32_t targetVersion, MappingList& mapping, ItemList& items, MessageBoxes& boxes,
                        FileDialogs& fileDialogs);
    // Releases the application-folder manager (ClFileMgr).
    ~ConditionSheetModel();
    ConditionSheetModel(const ConditionSheetModel&) = delete;
    ConditionSheetModel& operator=(const ConditionSheetModel&) = delete;

    // The condition block: inputs before Initialise, edited by the
    // conditions page, outputs after Execute. TargetVersion is set by the
    // constructor.
    ConditionSheetValues Values;

    // The window showing the sheet; nullptr for none (a batch run).
    void SetView(ConditionSheetView* view);

    // Sets the sheet up, in this order: the pages' back pointers; pages 3,
    // 2, 1 activated; OutputPathLocked when OutputPath is given; StartMonth
    // and EndMonth from the fiscal year; the condition file, then the
    // default mapping; without a condition file TaxIncluded from the books'
    // tax settings and the mapping reset to the default; without a given or
    // remembered path the default path ("*.xml" in the report folder, or in
    // the temporary folder); the values shown, the focus on the end month;
    // the item definitions; the item captions; the tips; the buttons.
    //
    // Runs once; a second call only returns the first result.
    //
    // False when the item definitions cannot be read. A statement without
    // its items cannot be aggregated, so the user is told at once (warning)
    // and Execute refuses with the same text: the sheet can only be
    // cancelled. The item controls are disabled, and the sheet's own
    // buttons are laid out all the same, so that the user can leave.
    bool Initialise();
    bool ItemDefinitionsLoaded() const { return itemsLoaded_; }

    // The page flow. GoNext and GoBack do nothing on the last and the first
    // page. PageActivated is how the view reports a page the user picked.
    int ActivePage() const { return activePage_; }
    void GoNext();
    void GoBack();
    void PageActivated(int page);
    bool BackEnabled() const { return activePage_ != kConditionsPage; }
    bool NextEnabled() const { return activePage_ != kMonthlySalesPage; }

    // Checks the conditions in order (period, introduction month, empty
    // path, path length, characters, drive, file name, folder, existing
    // file), each failure with its message and the focus back on the month
    // or the path; then saves the conditions. The path length check refuses
    // a path of more than WinPathText::kMaxPathBytes in code page 932 ("データの出力先が
    // 長すぎます。"), whether typed (the edit counts characters, not bytes)
    // or passed by the caller (then the user can only cancel): the run and
    // the folder checks hold paths in 261-byte buffers, and a cut path
    // would name another file. kExecuted when all passed and
    // the conditions were saved (a missing condition folder counts as
    // saved: the books name none to keep them in); kStaysOpen otherwise,
    // also when the condition file could not be written (the user is told).
    int Execute();
    // The first checks of Execute alone: the item definitions, the period
    // and the introduction month, each failure with its message and the
    // focus back on the month. Nothing is saved and no path is looked at:
    // what a preview of the amounts needs.
    bool CheckMonths();
    // Asks whether to save and end; on Yes saves the conditions; tells the
    // user the aggregation is abandoned. kCancelled, or kStaysOpen when the
    // condition file could not be written (the user is told, and can cancel
    // again without saving).
    int ConfirmCancel();

    // A key-down as the active page and then the sheet see it: key,
    // modifiers (kShift, kCtrl, kAlt) and the id of the control it went to
    // (0 for one without an id). Enter on the conditions page moves the
    // focus along its controls, Enter on an item button presses it, and the
    // sheet's table does the rest. The key acts on the control it went to:
    // a focus that the page's Enter moved does not make the same key press
    // the control it moved to.
    KeyOutcome HandleKey(Key key, unsigned modifiers, int controlId);
    // Alt alone with F4: swallowed, down and up, so that the sheet cannot be
    // closed by it.
    static bool SwallowsKey(Key key, unsigned modifiers) { return key == Key::F4 && modifiers == kAlt; }

    // The conditions page: the save dialog on the path, and the change
    // handlers of its controls (texts in code page 932).
    void BrowseOutputFile();
    void EndMonthTextChanged(std::string_view text);
    void TaxIncludedClicked(bool checked);
    void OutputPathTextChanged(std::string_view text);
    // Whether the path controls are enabled: not when the caller gave it.
    bool PathControlsEnabled() const { return !pathLocked_; }

    // What the pages of the items work on.
    bool IsUg30() const { return Values.TargetVersion != 0; }
    MappingList& Mapping() { return mapping_; }
    const MappingList& DefaultMapping() const { return defaults_; }
    const ItemList& Items() const { return items_; }
    // The item with this number, or nullptr.
    const ReportItem* FindItem(int itemNo) const;

    // The path Initialise proposes: the report folder followed directly by
    // "*.xml"; without one, the temporary folder with a separator made sure
    // of and "*.xml"; empty when neither is known.
    static std::string DefaultOutputPath(std::string_view reportFolder, std::string_view tempFolder);

private:
    void ActivatePage(int page);
    void ConditionsPageEnter(int controlId);
    int EnterOnSheet(int controlId);

    bool PeriodIsValid() const;
    bool EndsBeforeIntroMonth() const;
    // Steps 4-8 of Execute; false after a message.
    bool CheckOutputPath();
    // Saves the conditions; false, after telling the user, when the file
    // could not be written.
    bool SaveConditions();

    void BackToMonth();
    void BackToPath();
    int Show(const char* text, unsigned style);
    int Show(const std::string& text, unsigned style) { return Show(text.c_str(), style); }
    std::string ItemDefinitionsMissingText() const;
    std::string DefaultOutputPathHere() const;

    MappingList& mapping_;
    ItemList& items_;
    MessageBoxes& boxes_;
    FileDialogs& fileDialogs_;
    MappingList defaults_;

    ConditionSheetView noView_;
    ConditionSheetView* view_ = &noView_;
    int activePage_ = kConditionsPage;
    bool initialised_ = false;
    bool itemsLoaded_ = false;
    bool pathLocked_ = false;
};
