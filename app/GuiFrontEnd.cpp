#include "app/GuiFrontEnd.h"

#include <QApplication>

#include "app/shell/view/ClProgressDialog.h"
#include "wizard/view/ClConditionEntrySheet.h"
#include "wizard/ConditionSheetModel.h"

namespace {

const char* const kSheetCaption = "事業概況書 - 集計条件";

}  // namespace

GuiFrontEnd::GuiFrontEnd() : boxes_(&qtBoxes_), fileDialogs_(&qtFileDialogs_) {}

GuiFrontEnd::GuiFrontEnd(MessageBoxes& boxes, FileDialogs& fileDialogs)
    : boxes_(&boxes), fileDialogs_(&fileDialogs) {}

GuiFrontEnd::~GuiFrontEnd() { ReleaseRunWindows(); }

int GuiFrontEnd::RunConditionSheet(ConditionSheetValues& values, MappingList& mapping, ItemList& items) {
    // The caller's window belongs to another process: the sheet cannot be
    // its child and is shown on its own.
    sheet_ = std::make_unique<ClConditionEntrySheet>(kSheetCaption, nullptr, 0, values.TargetVersion, mapping, items,
                                                     *boxes_, *fileDialogs_);
    sheet_->Model().Values = values;
    if (sheet_->exec() != ConditionSheetModel::kExecuted) return ConditionSheetModel::kCancelled;
    values = sheet_->Model().Values;
    return ConditionSheetModel::kExecuted;
}

ProgressSink& GuiFrontEnd::StartProgress() {
    progress_ = std::make_unique<ClProgressDialog>();
    progress_->ShowExposed();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    progress_->ResetProgress();
    return *progress_;
}

void GuiFrontEnd::EndProgress() {
    if (!progress_) return;
    progress_->EndProgress();
    // The boxes that follow still wait on the run: the wait cursor stays.
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

MessageOwner GuiFrontEnd::ProgressOwner() {
    return MessageOwner{progress_ ? static_cast<QWidget*>(progress_.get()) : nullptr, 0};
}

void GuiFrontEnd::ReleaseRunWindows() {
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    progress_.reset();
    sheet_.reset();
}
