#pragma once

#include <memory>

#include "app/RunFrontEnd.h"
#include "app/shell/ConsoleProgress.h"
#include "app/shell/LaunchOptions.h"
#include "platform/ConsoleMessageBoxes.h"
#include "wizard/FileDialogs.h"

// The run without a display: the condition sheet is initialised as usual
// and executed without being shown, the command line's conditions replacing
// the remembered or default ones; every box goes to standard error, and
// questions are answered No unless --yes was given; the progress is a text
// bar on standard error when that is a terminal. A preview runs only the
// sheet's month checks: it needs no report path and saves nothing.
class BatchFrontEnd : public RunFrontEnd {
public:
    explicit BatchFrontEnd(const LaunchOptions& options);
    ~BatchFrontEnd() override;

    MessageBoxes& Boxes() override { return boxes_; }
    int RunConditionSheet(ConditionSheetValues& values, MappingList& mapping, ItemList& items) override;
    ProgressSink& StartProgress() override;
    void EndProgress() override;
    MessageOwner ProgressOwner() override { return MessageOwner{}; }
    void ReleaseRunWindows() override {}
    bool PreviewOnly() const override { return options_.preview != LaunchOptions::Preview::None; }
    // The preview on standard output (a CSV preview's warnings, and every
    // other run's, on standard error).
    void ShowAggregation(const ReportPreview::Inputs& inputs, const std::vector<std::string>& warnings) override;

private:
    // A batch run has nobody to pick a file: every request is cancelled.
    class NoFileDialogs : public FileDialogs {
    public:
        bool AskSaveFile(void*, const SaveFileRequest&, std::string&) override { return false; }
    };

    const LaunchOptions& options_;
    ConsoleMessageBoxes boxes_;
    NoFileDialogs fileDialogs_;
    std::unique_ptr<ConsoleProgress> progress_;
};
