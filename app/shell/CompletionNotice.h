#pragma once

#include <cstdint>
#include <string_view>

class CommandLine;

// What the link program does to its caller's window: the window takes no
// input while the run works, and at shut-down it is brought back and told
// the outcome by the message the caller asked for. Nothing happens unless
// the run is linked (LinkedToParent is 1). The calls go to the window
// whether or not it still exists; one that has gone ignores them.
class CompletionNotice {
public:
    // Reads the command line's members at each call, so the run may link
    // after construction.
    explicit CompletionNotice(const CommandLine& commandLine) : commandLine_(commandLine) {}

    // At the start of a linked run: disables the caller's window.
    void DisableCaller() const;

    // At shut-down of a linked run: brings the caller's window to the
    // foreground, enables it, posts NotifyMessage with wParam = FunctionNo
    // (widened with its sign) and lParam = resultCode, and enables it once
    // more, in this order. Returns whether the message was delivered; false
    // also when not linked.
    bool Send(std::int32_t resultCode) const;

    // Before any run: the program refuses to start (its own command line, no
    // display). A caller whose text holds three commas still hears the
    // result, as at shut-down; false when the text names no caller.
    static bool SendBeforeRun(std::string_view callerText, std::int32_t resultCode);

private:
    bool Linked() const;

    const CommandLine& commandLine_;
};
