#pragma once

#include <memory>

#include "app/RunFrontEnd.h"
#include "platform/view/QtMessageBoxes.h"
#include "wizard/view/QtFileDialogs.h"

class ClConditionEntrySheet;
class ClProgressDialog;
class FileDialogs;

// The run on screen: the condition sheet as a modal dialog, the progress
// window, Qt message boxes. Tests pass their own boxes and file dialogs.
class GuiFrontEnd : public RunFrontEnd {
public:
    GuiFrontEnd();
    GuiFrontEnd(MessageBoxes& boxes, FileDialogs& fileDialogs);
    ~GuiFrontEnd() override;

    MessageBoxes& Boxes() override { return *boxes_; }
    int RunConditionSheet(ConditionSheetValues& values, MappingList& mapping, ItemList& items) override;
    ProgressSink& StartProgress() override;
    void EndProgress() override;
    MessageOwner ProgressOwner() override;
    void ReleaseRunWindows() override;

    // The sheet while it is open (tests drive it); nullptr otherwise.
    ClConditionEntrySheet* Sheet() const { return sheet_.get(); }

private:
    QtMessageBoxes qtBoxes_;
    QtFileDialogs qtFileDialogs_;
    MessageBoxes* boxes_;
    FileDialogs* fileDialogs_;
    std::unique_ptr<ClConditionEntrySheet> sheet_;
    std::unique_ptr<ClProgressDialog> progress_;
};
