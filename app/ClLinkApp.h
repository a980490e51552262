#pragma once

#include <cstdint>
#include <string>

#include "app/RunFrontEnd.h"
#include "accounting_core/StDATAINFO.h"
#include "app/shell/CommandLine.h"
#include "app/shell/DataSetLookup.h"
#include "report/MappedAccount.h"
#include "report/ReportItem.h"

class WalkedAccounts;

// The application object: one run of the link program, from the connection
// to the accounting books to the completion notice for the caller.
// InitInstance runs the whole job and ExitInstance shuts down; the process's
// exit status is the ResultCode.
class ClLinkApp {
public:
    // ResultCode values, as the caller receives them.
    static constexpr std::int32_t kReportWritten = 0;
    static constexpr std::int32_t kNoReport = 1;
    static constexpr std::int32_t kFailed = 2;

    // callerText: the caller's "handle,message,function,path" (code page 932).
    ClLinkApp(RunFrontEnd& frontEnd, std::string callerText);
    ~ClLinkApp();
    ClLinkApp(const ClLinkApp&) = delete;
    ClLinkApp& operator=(const ClLinkApp&) = delete;

    // The run; true after a report was written.
    bool InitInstance();
    // Shut-down: frees the lists, closes the connection, notifies the caller.
    int ExitInstance();

    // The members the caller's command line fills (LinkedToParent,
    // ParentWindow, NotifyMessage, FunctionNo, OutputPathArg).
    const CommandLine& Caller() const { return commandLine_; }
    std::int32_t ResultCode() const { return resultCode_; }
    // False when the accounting books could not be opened: nothing ran and
    // nothing is posted to the caller, but the process must not report
    // success.
    bool Connected() const { return connected_; }
    const std::string& ConnectionError() const { return connectionError_; }

    MappingList& Mapping() { return mapping_; }
    ItemList& Items() { return items_; }

private:
    bool Connect();
    void TakeCallersWindow();
    static bool MoveToProgramFolder();
    bool CheckLinkAllowed();
    bool FindDataSet();
    void FillSheetInputs(ConditionSheetValues& values);
    // Aggregates, then writes the report, or for a preview shows the amounts.
    bool AggregateAndWrite(const ConditionSheetValues& values);
    void ShowAggregation(const ConditionSheetValues& conditions, const WalkedAccounts& accounts);
    void ShowWarning(MessageOwner owner, const char* text);

    RunFrontEnd& frontEnd_;
    std::string callerText_;
    CommandLine commandLine_;
    std::int32_t resultCode_ = kReportWritten;
    MappingList mapping_;
    ItemList items_;
    DataSetLookup dataSets_;
    StDATAINFO dataSet_{};
    bool ug30_ = false;
    bool connected_ = false;
    std::string connectionError_;
};
