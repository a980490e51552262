#include "app/BatchFrontEnd.h"

#include <cstdio>
#include <string>

#include "editions/Edition.h"
#include "platform/MessageCatalogue.h"
#include "platform/TextCodec.h"
#include "wizard/ConditionSheetModel.h"

BatchFrontEnd::BatchFrontEnd(const LaunchOptions& options)
    : options_(options),
      boxes_(options.answerYes ? ConsoleMessageBoxes::QuestionAnswer::Yes : ConsoleMessageBoxes::QuestionAnswer::No) {}

BatchFrontEnd::~BatchFrontEnd() = default;

int BatchFrontEnd::RunConditionSheet(ConditionSheetValues& values, MappingList& mapping, ItemList& items) {
    ConditionSheetModel sheet(values.TargetVersion, mapping, items, boxes_, fileDialogs_);
    sheet.Values = values;
    if (!sheet.Initialise()) return ConditionSheetModel::kCancelled;
    // The command line's conditions stand for what a user would type.
    if (options_.endMonth) sheet.Values.EndMonth = static_cast<std::int16_t>(*options_.endMonth);
    if (options_.taxIncluded) sheet.Values.TaxIncluded = *options_.taxIncluded ? 1 : 0;
    if (PreviewOnly()) {
        if (!sheet.CheckMonths()) return ConditionSheetModel::kCancelled;
        values = sheet.Values;
        return ConditionSheetModel::kExecuted;
    }
    // Without a path from the command line, the caller or the condition file
    // the sheet would offer its placeholder "*.xml", which nobody saw.
    if (!options_.outputPath && sheet.Values.OutputPathLocked == 0 && sheet.Values.SavedOutputPath[0] == '\0') {
        const std::string message = std::string(Edition::Current().ProgramName()) +
                                    ": batch mode needs --output WINDOWS_PATH: no report path was given or remembered\n";
        std::fputs(MessageCatalogue::Current().Text(message).c_str(), stderr);
        return kCannotRun;
    }
    if (options_.outputPath && sheet.Values.OutputPathLocked == 0) sheet.Values.OutputPath = *options_.outputPath;
    if (sheet.Execute() != ConditionSheetModel::kExecuted) return ConditionSheetModel::kCancelled;
    values = sheet.Values;
    return ConditionSheetModel::kExecuted;
}

ProgressSink& BatchFrontEnd::StartProgress() {
    progress_ = std::make_unique<ConsoleProgress>();
    progress_->ResetProgress();
    return *progress_;
}

void BatchFrontEnd::EndProgress() {
    if (progress_) progress_->EndProgress();
}

void BatchFrontEnd::ShowAggregation(const ReportPreview::Inputs& inputs, const std::vector<std::string>& warnings) {
    if (options_.preview == LaunchOptions::Preview::Table) {
        std::fputs(TextCodec::Cp932ToLocale(ReportPreview::Table(inputs, warnings)).c_str(), stdout);
        std::fflush(stdout);
        return;
    }
    if (options_.preview == LaunchOptions::Preview::Csv) {
        std::fputs(ReportPreview::Csv(inputs).c_str(), stdout);
        std::fflush(stdout);
    }
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "%s\n", TextCodec::Cp932ToLocale("確認: " + warning).c_str());
    std::fflush(stderr);
}
