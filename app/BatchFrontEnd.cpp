#include "app/BatchFrontEnd.h"

#include <cstdio>
#include <string>

#include "editions/Edition.h"
#include "platform/MessageCatalogue.h"
#include "wizard/ConditionSheetModel.h"

BatchFrontEnd::BatchFrontEnd(const LaunchOptions& options)
    : options_(options),
      boxes_(options.answerYes ? ConsoleMessageBoxes::QuestionAnswer::Yes : ConsoleMessageBoxes::QuestionAnswer::No) {}

BatchFrontEnd::~BatchFrontEnd() = default;

int BatchFrontEnd::RunConditionSheet(ConditionSheetValues& values, MappingList& mapping, ItemList& items) {
    ConditionSheetModel sheet(values.TargetVersion, mapping, items, boxes_, fileDialogs_);
    sheet.Values = values;
    if (!sheet.Initialise()) return ConditionSheetModel::kCancelled;
    // Without a path from the command line, the caller or the condition file
    // the sheet would offer its placeholder "*.xml", which nobody saw.
    if (!options_.outputPath && sheet.Values.OutputPathLocked == 0 && sheet.Values.SavedOutputPath[0] == '\0') {
        const std::string message = std::string(Edition::Current().ProgramName()) +
                                    ": batch mode needs --output WINDOWS_PATH: no report path was given or remembered\n";
        std::fputs(MessageCatalogue::Current().Text(message).c_str(), stderr);
        return kCannotRun;
    }
    // The command line's conditions stand for what a user would type.
    if (options_.endMonth) sheet.Values.EndMonth = static_cast<std::int16_t>(*options_.endMonth);
    if (options_.taxIncluded) sheet.Values.TaxIncluded = *options_.taxIncluded ? 1 : 0;
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
