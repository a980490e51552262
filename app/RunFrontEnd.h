#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/ReportPreview.h"
#include "platform/MessageBoxes.h"
#include "report/MappedAccount.h"
#include "report/ReportItem.h"
#include "wizard/ConditionSheetModel.h"
#include "wizard/ConditionSheetValues.h"

class ProgressSink;

// The parts of a run that differ between the GUI and the batch mode: the
// message boxes, the condition sheet and the progress display.
class RunFrontEnd {
public:
    // Besides the sheet's own results (ConditionSheetModel::kExecuted and
    // kCancelled): the conditions cannot be run at all (batch mode without a
    // report path), a failure rather than a cancel.
    static constexpr int kCannotRun = -1;

    virtual ~RunFrontEnd() = default;

    virtual MessageBoxes& Boxes() = 0;
    // Shows the condition sheet modally (or, in batch mode, initialises it,
    // applies the command line's conditions and executes it) over the run's
    // two lists. values: the sheet's condition block with the run's inputs;
    // after kExecuted, the sheet's, it holds the conditions chosen. The
    // sheet's kCancelled when the user left it, or kCannotRun.
    virtual int RunConditionSheet(ConditionSheetValues& values, MappingList& mapping, ItemList& items) = 0;
    // Creates and shows the progress display, reset to 0.
    virtual ProgressSink& StartProgress() = 0;
    // Ends the progress display; later boxes are owned by ProgressOwner().
    virtual void EndProgress() = 0;
    virtual MessageOwner ProgressOwner() = 0;
    // Releases the progress display and the sheet (step 21 of the run).
    virtual void ReleaseRunWindows() = 0;

    // Whether the run ends after the aggregation, showing its amounts
    // instead of writing the report (a batch run with --preview).
    virtual bool PreviewOnly() const { return false; }
    // After a successful aggregation, once the progress display has ended:
    // the amounts and the checks' warnings (code page 932). The preview
    // prints them; a batch run tells the warnings; the GUI shows nothing.
    virtual void ShowAggregation(const ReportPreview::Inputs&, const std::vector<std::string>&) {}
};
