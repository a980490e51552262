#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command line of mzn-caller:
//   mzn-caller [OPTIONS] [--] PROGRAM [PROGRAM_OPTIONS...]
// Options are taken up to the first word that is not one (or up to "--");
// that word is the program and everything after it belongs to the program.
class CallerOptions {
public:
    enum class Action { Run, Help, Version, Error };

    static CallerOptions Parse(const std::vector<std::string>& arguments);
    static std::string Usage();

    Action action = Action::Error;
    std::string error;  // when action is Error

    std::uint32_t message = 0x8001;  // WM_APP + 1
    std::int32_t function = 2;
    std::optional<std::string> output;  // Windows path for the link program, code page 932
    std::uintptr_t handle = 0;          // 0: choose a fresh one
    int timeoutSeconds = 0;             // 0: wait as long as the program runs
    std::string logPath;
    std::vector<std::string> program;  // PROGRAM and its options

    // The one argument the link program gets: "handle,message,function,path",
    // numbers in decimal; without an output path it ends in the third comma.
    std::string CallerText(std::uintptr_t boundHandle) const;

private:
    bool Take(const std::string& name, const std::string& value);
    bool Reject(const std::string& text);
};
