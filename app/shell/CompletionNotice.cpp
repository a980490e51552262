#include "app/shell/CompletionNotice.h"

#include "app/shell/CommandLine.h"
#include "platform/CallerWindow.h"

bool CompletionNotice::Linked() const { return commandLine_.LinkedToParent == 1; }

void CompletionNotice::DisableCaller() const {
    if (!Linked()) return;
    CallerWindow::EnableWindow(commandLine_.ParentWindow, false);
}

bool CompletionNotice::Send(std::int32_t resultCode) const {
    if (!Linked()) return false;
    const std::uintptr_t window = commandLine_.ParentWindow;
    CallerWindow::SetForegroundWindow(window);
    CallerWindow::EnableWindow(window, true);
    const bool posted = CallerWindow::PostMessageA(window, commandLine_.NotifyMessage,
                                                   static_cast<std::int64_t>(commandLine_.FunctionNo),
                                                   static_cast<std::int64_t>(resultCode));
    CallerWindow::EnableWindow(window, true);
    return posted;
}

bool CompletionNotice::SendBeforeRun(std::string_view callerText, std::int32_t resultCode) {
    CommandLine caller;
    if (!caller.ParseCommandLine(callerText)) return false;
    caller.LinkedToParent = 1;
    return CompletionNotice(caller).Send(resultCode);
}
