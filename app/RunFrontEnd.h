#pragma once

#include <cstdint>
#include <string>

#include "app/SheetConditions.h"
#include "platform/MessageBoxes.h"
#include "wizard/ConditionSheetModel.h"

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
    // applies the command line's conditions and executes it). The sheet's
    // kExecuted when the conditions were checked and saved (the outputs are
    // then filled), its kCancelled when the user left it, or kCannotRun.
    virtual int RunConditionSheet(SheetConditions& conditions) = 0;
    // Creates and shows the progress display, reset to 0.
    virtual ProgressSink& StartProgress() = 0;
    // Ends the progress display; later boxes are owned by ProgressOwner().
    virtual void EndProgress() = 0;
    virtual MessageOwner ProgressOwner() = 0;
    // Releases the progress display and the sheet (step 21 of the run).
    virtual void ReleaseRunWindows() = 0;
};
