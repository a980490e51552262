#include "wizard/ConditionSheetModel.h"

#include <cstdio>
#include <cstring>

#include "accounting_core/ClFileMgr.h"
#include "accounting_core/CoreResult.h"
#include "editions/Edition.h"
#include "platform/Cp932.h"
#include "platform/WinFileSystem.h"
#include "platform/WinPathText.h"
#include "report/BusinessOverview.h"
#include "report/MappingDefaults.h"
#include "report/PeriodSettings.h"
#include "settings/ConditionFile.h"
#include "settings/DefaultMappingFile.h"
#include "settings/ItemDefinitionFile.h"
#include "settings/OutputPathChecks.h"
#include "wizard/FileDialogs.h"
#include "wizard/ItemControls.h"

namespace {

constexpr std::int16_t kMaxEndMonthShown = 99;

constexpr const char* kSaveQuestion = "入力した情報を保存して終了しますか？";
constexpr const char* kAbandoned = "｢事業概況書｣の集計を中止します。";

constexpr const char* kPeriodWrong = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
constexpr const char* kBeforeIntroMonth = "集計期間には、導入開始月より前は指定できません。";
constexpr const char* kNoOutputPath = "データ出力先が指定されていません。\n\n出力先を指定してください。";
constexpr const char* kPathTooLong =
    "データの出力先が長すぎます。\n\n出力先は半角260文字（全角130文字）以内で指定してください。";
constexpr const char* kBadCharacters = "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
constexpr const char* kBadDrive = "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
constexpr const char* kNoFileName = "ファイル名が指定されていません。";
constexpr const char* kCreateFolder = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
constexpr const char* kCreateFolderFailed = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
constexpr const char* kOverwrite = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";
constexpr const char* kSaveFailed = "集計条件を保存できませんでした。\n\n%s\n\n保存先のフォルダに書き込めるか確認してください。";
constexpr const char* kItemDefinitionsMissing =
    "集計項目の定義ファイル（%s）を読み込めませんでした。\n\n"
    "この状態では集計できません。キャンセルで終了し、連動コンポーネントを再インストールしてください。";

constexpr const char* kBrowseTitle = "保存ファイルを指定";
constexpr const char* kBrowseExtension = "XML";
constexpr const char* kBrowseFilter = "Xml Files (*.xml)|*.xml||";
constexpr const char* kWildcardName = "*.xml";

std::string Format(const char* format, const std::string& argument) {
    const int size = std::snprintf(nullptr, 0, format, argument.c_str());
    std::string text(static_cast<std::size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, format, argument.c_str());
    return text;
}

// atoi of the end-month edit, which takes digits only: 0 without digits.
std::int16_t MonthOf(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > 9999) break;
    }
    return static_cast<std::int16_t>(value);
}

struct FiscalYear {
    std::int32_t firstMonth = 0;
    std::int32_t lastMonthCode = 0;
};

FiscalYear FiscalYearOf(const ConditionSheetValues& values) {
    FiscalYear year;
    PeriodSettings::FiscalMonths(values.PeriodStart, values.PeriodEnd, &year.firstMonth, &year.lastMonthCode);
    return year;
}

}  // namespace

ConditionSheetModel::ConditionSheetModel(std::int32_t targetVersion, MappingList& mapping, ItemList& items,
                                         MessageBoxes& boxes, FileDialogs& fileDialogs)
    : mapping_(mapping), items_(items), boxes_(boxes), fileDialogs_(fileDialogs) {
    Values.TargetVersion = targetVersion;
}

ConditionSheetModel::~ConditionSheetModel() = default;

void ConditionSheetModel::SetView(ConditionSheetView* view) { view_ = view != nullptr ? view : &noView_; }

bool ConditionSheetModel::Initialise() {
    if (initialised_) return itemsLoaded_;
    initialised_ = true;
    view_->ConnectPages();
    // Every page's window exists before values are put into any of them.
    ActivatePage(kMonthlySalesPage);
    ActivatePage(kMainItemsPage);
    ActivatePage(kConditionsPage);

    Values.OutputPathLocked = Values.OutputPath.empty() ? 0 : 1;

    const FiscalYear year = FiscalYearOf(Values);
    Values.StartMonth = static_cast<std::int16_t>(year.firstMonth);
    const auto lastMonth = static_cast<std::int16_t>(year.lastMonthCode % 100);
    Values.EndMonth = lastMonth;

    const bool remembered = ConditionFile::LoadConditions(Values, mapping_);
    // The end-month edit holds two digits: a remembered month it cannot show
    // would be checked as another month than the one the user sees.
    if (Values.EndMonth < 1 || Values.EndMonth > kMaxEndMonthShown) Values.EndMonth = lastMonth;
    DefaultMappingFile::LoadDefaultMapping(defaults_, IsUg30());
    if (!remembered) {
        Values.TaxIncluded = PeriodSettings::TaxIncludedDefault().taxIncluded ? 1 : 0;
        MappingDefaults::ResetMappingToDefault(mapping_, defaults_);
    }

    if (Values.OutputPathLocked == 0 && Values.SavedOutputPath[0] == '\0') Values.OutputPath = DefaultOutputPathHere();

    pathLocked_ = Values.OutputPathLocked != 0;
    view_->ShowSheetValues(pathLocked_);
    view_->FocusControl(kEndMonthEdit, true);

    itemsLoaded_ = ItemDefinitionFile::LoadItemDefinitions(items_, IsUg30());
    if (!itemsLoaded_) {
        view_->DisableItemControls();
        view_->LayOutButtons();
        Show(ItemDefinitionsMissingText(), mb::kWarningOk);
        return false;
    }
    view_->ApplyItemCaptions();
    view_->CreateItemTips();
    view_->LayOutButtons();
    return true;
}

std::string ConditionSheetModel::DefaultOutputPathHere() const {
    char reportFolder[WinPathText::kPathSize] = {};
    if (ClFileMgr::Inst()->GetAppFolderPath(ClFileMgr::kReportFolder, reportFolder) != core_result::kOk)
        reportFolder[0] = '\0';
    char tempFolder[WinPathText::kPathSize] = {};
    const std::uint32_t length = WinFileSystem::GetTempPathA(sizeof tempFolder, tempFolder);
    if (length == 0 || length >= sizeof tempFolder) tempFolder[0] = '\0';
    return DefaultOutputPath(reportFolder, tempFolder);
}

std::string ConditionSheetModel::DefaultOutputPath(std::string_view reportFolder, std::string_view tempFolder) {
    if (!reportFolder.empty()) return std::string(reportFolder) + kWildcardName;
    if (tempFolder.empty()) return std::string();
    std::string path(tempFolder);
    if (WinPathText::EndsInDoubleByte(path) || (path.back() != '\\' && path.size() < WinPathText::kMaxPathBytes)) path += '\\';
    return path + kWildcardName;
}

void ConditionSheetModel::ActivatePage(int page) {
    view_->ActivatePage(page);
    PageActivated(page);
}

void ConditionSheetModel::PageActivated(int page) {
    if (page < kConditionsPage || page > kMonthlySalesPage) return;
    activePage_ = page;
    view_->ShowButtonStates(BackEnabled(), NextEnabled());
}

void ConditionSheetModel::GoNext() {
    if (activePage_ == kConditionsPage)
        ActivatePage(kMainItemsPage);
    else if (activePage_ == kMainItemsPage)
        ActivatePage(kMonthlySalesPage);
}

void ConditionSheetModel::GoBack() {
    if (activePage_ == kMainItemsPage)
        ActivatePage(kConditionsPage);
    else if (activePage_ == kMonthlySalesPage)
        ActivatePage(kMainItemsPage);
}

ConditionSheetModel::KeyOutcome ConditionSheetModel::HandleKey(Key key, unsigned modifiers, int controlId) {
    if (SwallowsKey(key, modifiers)) return {true, kStaysOpen};
    if ((modifiers & (kShift | kCtrl | kAlt)) != 0) return {};

    // The active page looks at the key first.
    if (key == Key::Enter) {
        if (activePage_ == kConditionsPage) {
            ConditionsPageEnter(controlId);
        } else if (ItemControls::ItemOfButton(activePage_, controlId, IsUg30()) != 0) {
            view_->PressItemButton(controlId);
            return {true, kStaysOpen};
        }
    }

    switch (key) {
        case Key::Enter: return {true, EnterOnSheet(controlId)};
        case Key::Escape: return {true, ConfirmCancel()};
        case Key::F12: return {true, Execute()};
        case Key::F5: GoBack(); return {true, kStaysOpen};
        case Key::F6: GoNext(); return {true, kStaysOpen};
        default: return {};
    }
}

void ConditionSheetModel::ConditionsPageEnter(int controlId) {
    switch (controlId) {
        case kEndMonthEdit: view_->FocusControl(kTaxIncludedBox, false); break;
        case kTaxIncludedBox:
            if (PathControlsEnabled())
                view_->FocusControl(kPathEdit, true);
            else
                view_->FocusControl(BackEnabled() ? kBackButton : kNextButton, false);
            break;
        case kPathEdit: view_->FocusControl(kBrowseButton, false); break;
        case kBrowseButton:
            if (PathControlsEnabled()) BrowseOutputFile();
            break;
        default: break;
    }
}

int ConditionSheetModel::EnterOnSheet(int controlId) {
    switch (controlId) {
        case kExecuteButton: return Execute();
        case kCancelButton: return ConfirmCancel();
        case kNextButton: GoNext(); return kStaysOpen;
        case kBackButton: GoBack(); return kStaysOpen;
        default: return kStaysOpen;
    }
}

int ConditionSheetModel::Execute() {
    if (!CheckMonths()) return kStaysOpen;
    if (Values.OutputPath.empty()) {
        Show(kNoOutputPath, mb::kWarningOk);
        ActivatePage(kConditionsPage);
        BrowseOutputFile();
        return kStaysOpen;
    }
    if (!CheckOutputPath() || !SaveConditions()) return kStaysOpen;
    return kExecuted;
}

bool ConditionSheetModel::CheckMonths() {
    if (!itemsLoaded_) {
        Show(ItemDefinitionsMissingText(), mb::kWarningOk);
        return false;
    }
    if (!PeriodIsValid()) {
        Show(kPeriodWrong, mb::kWarningOk);
        BackToMonth();
        return false;
    }
    if (EndsBeforeIntroMonth()) {
        Show(kBeforeIntroMonth, mb::kWarningOk);
        BackToMonth();
        return false;
    }
    return true;
}

bool ConditionSheetModel::PeriodIsValid() const {
    const FiscalYear year = FiscalYearOf(Values);
    std::int32_t firstPosition = 0;
    std::int32_t months = 0;
    PeriodSettings::MonthPositions(year.firstMonth, year.lastMonthCode, year.firstMonth, year.lastMonthCode % 100,
                                   &firstPosition, &months);
    const int end = Values.EndMonth;
    if (end < 1 || end > 12) return false;
    const int position = end - year.firstMonth + 1 + (end < year.firstMonth ? 12 : 0);
    return position <= months;
}

bool ConditionSheetModel::EndsBeforeIntroMonth() const {
    const FiscalYear year = FiscalYearOf(Values);
    std::int32_t startPosition = 0;
    std::int32_t endPosition = 0;
    PeriodSettings::MonthPositions(year.firstMonth, year.lastMonthCode, Values.StartMonth, Values.EndMonth,
                                   &startPosition, &endPosition);
    return endPosition < Values.IntroMonthPos;
}

bool ConditionSheetModel::CheckOutputPath() {
    const char* path = Values.OutputPath.c_str();
    // The run and the folder checks hold paths in buffers of 261 bytes; a
    // longer path, typed or passed by the caller, would be cut and name
    // another file.
    if (Values.OutputPath.size() > WinPathText::kMaxPathBytes) {
        Show(kPathTooLong, mb::kWarningOk);
        BackToPath();
        return false;
    }
    // A folder name too long to split would be cut into another folder's.
    if (!OutputPathChecks::HasValidPathCharacters(path) || !OutputPathChecks::HasWholeFolderPart(path)) {
        Show(kBadCharacters, mb::kWarningOk);
        BackToPath();
        return false;
    }
    if (!OutputPathChecks::IsPathReachable(path)) {
        Show(kBadDrive, mb::kWarningOk);
        BackToPath();
        return false;
    }
    if (OutputPathChecks::FileNameOfPath(path).empty()) {
        Show(kNoFileName, mb::kWarningOk);
        BackToPath();
        return false;
    }
    const std::string folder = OutputPathChecks::FolderOfPath(path);
    if (!folder.empty() && !OutputPathChecks::IsExistingFolder(folder.c_str())) {
        if (Show(kCreateFolder, mb::kQuestionYesNo) != mb::kIdYes) {
            BackToPath();
            return false;
        }
        if (!OutputPathChecks::CreateFolderTree(folder.c_str())) {
            Show(kCreateFolderFailed, mb::kWarningOk);
            BackToPath();
            return false;
        }
    }
    // A path the caller gave is its to overwrite.
    if (Values.OutputPathLocked == 0 && WinFileSystem::PathFileExistsA(path)) {
        if (WinFileSystem::PathIsDirectoryA(path)) {
            Show(kNoFileName, mb::kWarningOk);
            BackToPath();
            return false;
        }
        if (Show(kOverwrite, mb::kQuestionYesNo) != mb::kIdYes) {
            BackToPath();
            return false;
        }
    }
    return true;
}

bool ConditionSheetModel::SaveConditions() {
    if (ConditionFile::SaveConditions(Values, mapping_) != ConditionFile::SaveResult::WriteFailed) return true;
    Show(Format(kSaveFailed, ConditionFile::FilePath(Values)), mb::kWarningOk);
    return false;
}

int ConditionSheetModel::ConfirmCancel() {
    if (Show(kSaveQuestion, mb::kQuestionYesNo) == mb::kIdYes && !SaveConditions()) return kStaysOpen;
    Show(kAbandoned, mb::kInformationOk);
    return kCancelled;
}

void ConditionSheetModel::BrowseOutputFile() {
    SaveFileRequest request;
    request.Title = kBrowseTitle;
    const WinPathText::Split split = WinPathText::SplitAtLastSeparator(Values.OutputPath, true);
    request.InitialFolder = split.folder;
    request.InitialName = split.name;
    request.DefaultExtension = kBrowseExtension;
    request.Filter = kBrowseFilter;
    std::string chosen;
    if (!fileDialogs_.AskSaveFile(view_->DialogOwner(), request, chosen)) return;
    Values.OutputPath = chosen;
    view_->ShowOutputPath();
}

void ConditionSheetModel::EndMonthTextChanged(std::string_view text) { Values.EndMonth = MonthOf(text); }

void ConditionSheetModel::TaxIncludedClicked(bool checked) { Values.TaxIncluded = checked ? 1 : 0; }

void ConditionSheetModel::OutputPathTextChanged(std::string_view text) { Values.OutputPath = std::string(text); }

const ReportItem* ConditionSheetModel::FindItem(int itemNo) const {
    for (const auto& item : items_)
        if (item->ItemNo == itemNo) return item.get();
    return nullptr;
}

void ConditionSheetModel::BackToMonth() {
    ActivatePage(kConditionsPage);
    view_->FocusControl(kEndMonthEdit, true);
}

void ConditionSheetModel::BackToPath() {
    ActivatePage(kConditionsPage);
    view_->FocusControl(kPathEdit, true);
}

int ConditionSheetModel::Show(const char* text, unsigned style) {
    return boxes_.Show(view_->BoxOwner(), text, BusinessOverview::kCaption, style);
}

std::string ConditionSheetModel::ItemDefinitionsMissingText() const {
    return Format(kItemDefinitionsMissing, ItemDefinitionFile::FileName(Edition::Current(), IsUg30()));
}
