#include "app/ClLinkApp.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClFileMgr.h"
#include "accounting_core/StFINDINFO.h"
#include "app/shell/CompletionNotice.h"
#include "app/shell/EnvironmentCheck.h"
#include "app/shell/UserSelection.h"
#include "editions/Edition.h"
#include "platform/Cp932.h"
#include "platform/WinFileSystem.h"
#include "platform/WinPathText.h"
#include "report/AggregationEngine.h"
#include "report/BusinessOverview.h"
#include "report/PeriodSettings.h"
#include "report/ProgressSink.h"
#include "report/ReportChecks.h"
#include "report/TargetVersion.h"
#include "report/WalkedAccounts.h"
#include "settings/DefaultMappingFile.h"
#include "xml/ReportFileBuilder.h"

namespace {

constexpr int kAppTypeLink = 4;
constexpr int kUseDataType = 1;
constexpr std::int16_t kPastResults = 99;
constexpr std::size_t kPageTextSize = 51;  // the buffers of page 1's two texts
constexpr std::int16_t kReportProgressStart = 500;

// Not among the run's original messages: a caller's text longer than a
// command line may be would be cut into another file's name.
const char* const kCallerPathTooLongText =
    "呼び出し元から渡された出力先のパスが長すぎます。\n\nアプリケーションを終了します。";
const char* const kPastResultsText =
    "過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。";
const char* const kWrittenText = "事業概況情報の出力が終了しました。\n\nアプリケーションを終了します。";
const char* const kWriteFailedText = "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。";
// Not among the run's original messages: a data set that cannot be found,
// and an aggregation that failed, end the run instead of going on with
// empty or partial amounts.
const char* const kNoDataSetText =
    "選択されている会計データが見つかりません。\n\nアプリケーションを終了します。";
const char* const kAggregationFailedText = "勘定科目の集計に失敗しました。\n\nアプリケーションを終了します。";
const char* const kOverflowText =
    "集計した金額が扱える範囲を超えました。\n\nアプリケーションを終了します。";

// The leading blank and the name, cut on a character boundary so that the
// text fits the page's 51-byte buffer with its NUL.
std::string CompanyNameText(const char* name) {
    std::string text = " ";
    std::string_view full(name, strnlen(name, sizeof(StDATAINFO::Name)));
    text += Cp932::CutOnCharBoundary(full, kPageTextSize - 2);
    return text;
}

std::string PeriodText(std::int32_t start, std::int32_t end) {
    char text[kPageTextSize];
    std::snprintf(text, sizeof text, " %04d/%02d/%02d～%04d/%02d/%02d", start / 10000, start % 10000 / 100,
                  start % 100, end / 10000, end % 10000 / 100, end % 100);
    return text;
}

}  // namespace

ClLinkApp::ClLinkApp(RunFrontEnd& frontEnd, std::string callerText)
    : frontEnd_(frontEnd), callerText_(std::move(callerText)) {}

ClLinkApp::~ClLinkApp() = default;

bool ClLinkApp::InitInstance() {
    if (!Connect()) return false;
    if (commandLine_.ParseCommandLine(callerText_)) {
        TakeCallersWindow();
        if (commandLine_.TooLong()) {
            ShowWarning(MessageOwner{nullptr, commandLine_.ParentWindow}, kCallerPathTooLongText);
            resultCode_ = kFailed;
            return false;
        }
    }
    MoveToProgramFolder();
    if (!EnvironmentCheck::CheckEnvironment(commandLine_.ParentWindow)) {
        resultCode_ = kFailed;
        return false;
    }
    if (!CheckLinkAllowed()) return false;
    if (!FindDataSet()) return false;
    if (dataSet_.IntroMonthPos == kPastResults) {
        ShowWarning(MessageOwner{}, kPastResultsText);
        resultCode_ = kNoReport;
        return false;
    }
    ug30_ = TargetVersion::IsUg30(dataSet_.PeriodEnd);

    ConditionSheetValues conditions;
    FillSheetInputs(conditions);
    if (const int sheet = frontEnd_.RunConditionSheet(conditions, mapping_, items_);
        sheet != ConditionSheetModel::kExecuted) {
        resultCode_ = sheet == RunFrontEnd::kCannotRun ? kFailed : kNoReport;
        frontEnd_.ReleaseRunWindows();
        return false;
    }
    const bool written = AggregateAndWrite(conditions);
    frontEnd_.ReleaseRunWindows();
    return written;
}

int ClLinkApp::ExitInstance() {
    mapping_.clear();
    items_.clear();
    // The whole session ends here: the folders read and the data manager's
    // set objects before the books close.
    ClFileMgr::Release();
    ClDataMgr::Release();
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->LogOut();
    connection->Terminate();
    ClAccConnect::Release();
    CompletionNotice(commandLine_).Send(resultCode_);
    return resultCode_;
}

bool ClLinkApp::Connect() {
    ClAccConnect* connection = ClAccConnect::Inst();
    std::snprintf(connection->Caption, sizeof connection->Caption, "%s", BusinessOverview::kCaption);
    connection->SetAppType(kAppTypeLink);
    connection->SetUseDataType(kUseDataType);
    connection->SetMessageBoxes(&frontEnd_.Boxes());
    connected_ = connection->Initiate() == 0;
    if (!connected_) connectionError_ = connection->LastError();
    return connected_;
}

void ClLinkApp::TakeCallersWindow() {
    commandLine_.LinkedToParent = 1;
    CompletionNotice(commandLine_).DisableCaller();
    ClAccConnect::Inst()->OwnerWindow = commandLine_.ParentWindow;
}

// The program's own folder becomes the current folder: the definition file,
// the data files and SUPPORT.INF are opened there by bare name.
bool ClLinkApp::MoveToProgramFolder() {
    char path[WinPathText::kPathSize] = {};
    if (WinFileSystem::GetModuleFileNameA(path, sizeof path) == 0) return false;
    std::string_view full(path);
    std::size_t last = Cp932::FindLastChar(full, '\\');
    if (last == Cp932::npos) return false;
    std::string folder(full.substr(0, last + 1));
    return WinFileSystem::_chdir(folder.c_str()) == 0;
}

bool ClLinkApp::CheckLinkAllowed() {
    const int allowed = ClAccConnect::Inst()->ExpSysLink();
    if (allowed == 0) return true;
    resultCode_ = allowed == 1 ? kNoReport : kFailed;
    return false;
}

bool ClLinkApp::FindDataSet() {
    std::memset(&dataSet_, 0, sizeof dataSet_);
    if (dataSets_.FindSelectedDataSet(&dataSet_)) return true;
    ShowWarning(MessageOwner{}, kNoDataSetText);
    resultCode_ = kFailed;
    return false;
}

void ClLinkApp::FillSheetInputs(ConditionSheetValues& conditions) {
    const UserSelection user = UserSelection::Read();
    std::memcpy(conditions.UserId, user.UserId, sizeof conditions.UserId);
    conditions.SelectedNo1 = user.SelectedNo1;
    conditions.SelectedNo2 = user.SelectedNo2;
    conditions.OutputPath.clear();
    if (commandLine_.LinkedToParent == 1) conditions.OutputPath = commandLine_.OutputPathArg;
    conditions.PeriodEnd = dataSet_.PeriodEnd;
    conditions.IntroMonthPos = dataSet_.IntroMonthPos;
    conditions.PeriodStart = dataSet_.PeriodStart;
    conditions.NetAssetsCaption = dataSet_.NetAssets;
    conditions.TargetVersion = ug30_ ? 1 : 0;
    conditions.CompanyNameText = CompanyNameText(dataSet_.Name);
    conditions.PeriodText = PeriodText(dataSet_.PeriodStart, dataSet_.PeriodEnd);
}

bool ClLinkApp::AggregateAndWrite(const ConditionSheetValues& conditions) {
    const bool preview = frontEnd_.PreviewOnly();
    // The run's own copy of the path, at most 260 bytes. A longer one would
    // be cut into another file's name: it is refused instead.
    char outputPath[WinPathText::kPathSize] = {};
    if (!preview && conditions.OutputPath.size() >= sizeof outputPath) {
        ShowWarning(MessageOwner{}, kWriteFailedText);
        resultCode_ = kFailed;
        return false;
    }
    if (!preview) std::memcpy(outputPath, conditions.OutputPath.data(), conditions.OutputPath.size());

    ProgressSink& progress = frontEnd_.StartProgress();
    AggregationEngine engine(&progress, &mapping_, &items_, ug30_);
    WalkedAccounts accounts(mapping_);
    engine.SetWalkedAccounts(&accounts);
    ReportFileBuilder builder(progress, items_, ug30_, &frontEnd_.Boxes());

    StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
    std::memset(criteria, 0, sizeof criteria);
    PeriodSettings::BuildSumCriteria(criteria, dataSet_, conditions.StartMonth, conditions.EndMonth);

    if (engine.Aggregate(conditions.TaxIncluded != 0, criteria, &dataSet_) != 1) {
        frontEnd_.EndProgress();
        const bool overflow = engine.LastFailure().reason == AggregationEngine::Reason::kOverflow;
        ShowWarning(frontEnd_.ProgressOwner(), overflow ? kOverflowText : kAggregationFailedText);
        resultCode_ = kFailed;
        return false;
    }
    if (preview) {
        frontEnd_.EndProgress();
        ShowAggregation(conditions, accounts);
        return true;
    }
    builder.SetProgressStart(kReportProgressStart);
    const bool written = builder.WriteReport(outputPath, commandLine_.FunctionNo, conditions.StartMonth, dataSet_);
    frontEnd_.EndProgress();
    ShowAggregation(conditions, accounts);

    if (!written) {
        ShowWarning(frontEnd_.ProgressOwner(), kWriteFailedText);
        resultCode_ = kFailed;
        return false;
    }
    frontEnd_.Boxes().Show(frontEnd_.ProgressOwner(), kWrittenText, BusinessOverview::kCaption, mb::kInformationOk);
    return true;
}

// The checks of the aggregated amounts, and for a preview the amounts, as
// the front end shows them.
void ClLinkApp::ShowAggregation(const ConditionSheetValues& conditions, const WalkedAccounts& accounts) {
    const bool netAssets = conditions.NetAssetsCaption != 0;
    const bool taxIncluded = conditions.TaxIncluded != 0;
    const ReportChecks::Inputs checks{
        .items = items_,
        .mapping = mapping_,
        .accounts = accounts,
        .ug30 = ug30_,
        .netAssetsCaption = netAssets,
        .taxIncluded = taxIncluded,
        .defaultCodes = DefaultMappingFile::NamedAccountCodes(Edition::Current(), ug30_),
    };
    const ReportPreview::Inputs preview{
        .items = items_,
        .mapping = mapping_,
        .accounts = accounts,
        .ug30 = ug30_,
        .netAssetsCaption = netAssets,
        .startMonth = conditions.StartMonth,
        .heading = std::string(BusinessOverview::kCaption) + conditions.CompanyNameText + conditions.PeriodText +
                   "  " + std::to_string(conditions.StartMonth) + "月～" + std::to_string(conditions.EndMonth) +
                   "月  " + (taxIncluded ? "税込み" : "税抜き"),
    };
    frontEnd_.ShowAggregation(preview, ReportChecks::Warnings(checks));
}

void ClLinkApp::ShowWarning(MessageOwner owner, const char* text) {
    frontEnd_.Boxes().Show(owner, text, BusinessOverview::kCaption, mb::kWarningOk);
}
