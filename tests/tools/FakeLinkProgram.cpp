// A stand-in for the link program, for testing mzn-caller: it reads the
// caller's text as the link program does, disables the caller's window, and
// at the end brings it to the foreground, enables it, posts the completion
// message and enables it again.
//
//   fake_link_program [--result N] [--sleep-ms N] [--no-post] [--crash]
//                     [--exit N] [--args-file FILE] CALLER_TEXT...
//
// --result N      lParam of the completion message (default: $MZN_FAKE_RESULT, else 0)
// --sleep-ms N    wait N ms between disabling and shutting down
// --no-post       end without touching the window again
// --crash         die of SIGABRT after disabling
// --exit N        exit status (default: the result)
// --args-file F   write every argument and the fields read from the caller's text to F
//
// Leading "--" options are the program's; the remaining words, joined by
// blanks, are the caller's text.

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include <sys/resource.h>

#include "platform/CallerWindow.h"

namespace {

struct CallerFields {
    bool linked = false;
    std::uintptr_t handle = 0;
    std::uint32_t message = 0;
    std::int16_t function = 2;
    std::string path;
};

// The leading number of a field: optional blanks, an optional sign, decimal
// digits up to the first other character; no digits reads as 0.
long long LeadingNumber(const std::string& field) {
    std::size_t at = 0;
    while (at < field.size() && (field[at] == ' ' || field[at] == '\t')) ++at;
    bool negative = false;
    if (at < field.size() && (field[at] == '+' || field[at] == '-')) negative = field[at++] == '-';
    long long value = 0;
    while (at < field.size() && field[at] >= '0' && field[at] <= '9' && value < (1LL << 40))
        value = value * 10 + (field[at++] - '0');
    return negative ? -value : value;
}

CallerFields ParseCallerText(const std::string& text) {
    CallerFields fields;
    const std::size_t first = text.find(',');
    if (first == std::string::npos) return fields;
    const std::size_t second = text.find(',', first + 1);
    if (second == std::string::npos) return fields;
    const std::size_t third = text.find(',', second + 1);
    if (third == std::string::npos) return fields;
    fields.handle = static_cast<std::uintptr_t>(LeadingNumber(text.substr(0, first)));
    fields.message = static_cast<std::uint32_t>(LeadingNumber(text.substr(first + 1, second - first - 1)));
    fields.function = static_cast<std::int16_t>(LeadingNumber(text.substr(second + 1, third - second - 1)));
    fields.path = text.substr(third + 1);
    fields.linked = true;
    return fields;
}

void WriteArgsFile(const std::string& file, int argc, char** argv, const CallerFields& fields) {
    std::ofstream out(file, std::ios::trunc);
    for (int i = 1; i < argc; ++i) out << "arg=" << argv[i] << "\n";
    out << "linked=" << fields.linked << "\n"
        << "handle=" << fields.handle << "\n"
        << "message=" << fields.message << "\n"
        << "function=" << fields.function << "\n"
        << "path=" << fields.path << "\n";
}

void Crash() {
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    long long result = 0;
    if (const char* fromEnvironment = std::getenv("MZN_FAKE_RESULT")) result = LeadingNumber(fromEnvironment);
    long long sleepMs = 0;
    bool post = true;
    bool crash = false;
    std::optional<int> exitCode;
    std::string argsFile;

    int index = 1;
    for (; index < argc; ++index) {
        const std::string word = argv[index];
        const bool hasValue = index + 1 < argc;
        if (word == "--result" && hasValue) {
            result = LeadingNumber(argv[++index]);
        } else if (word == "--sleep-ms" && hasValue) {
            sleepMs = LeadingNumber(argv[++index]);
        } else if (word == "--exit" && hasValue) {
            exitCode = static_cast<int>(LeadingNumber(argv[++index]));
        } else if (word == "--args-file" && hasValue) {
            argsFile = argv[++index];
        } else if (word == "--no-post") {
            post = false;
        } else if (word == "--crash") {
            crash = true;
        } else {
            break;
        }
    }
    std::string text;
    for (; index < argc; ++index) text += (text.empty() ? "" : " ") + std::string(argv[index]);

    const CallerFields fields = ParseCallerText(text);
    if (!argsFile.empty()) WriteArgsFile(argsFile, argc, argv, fields);

    if (fields.linked) CallerWindow::EnableWindow(fields.handle, false);
    if (sleepMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs));
    if (crash) Crash();
    if (fields.linked && post) {
        CallerWindow::SetForegroundWindow(fields.handle);
        CallerWindow::EnableWindow(fields.handle, true);
        CallerWindow::PostMessageA(fields.handle, fields.message, fields.function, result);
        CallerWindow::EnableWindow(fields.handle, true);
    }
    return exitCode.value_or(static_cast<int>(result));
}
