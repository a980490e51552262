#include "tools/mzn-caller/CallerOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/LongOptions.h"
#include "platform/TextCodec.h"

namespace {

// A whole word as a number: decimal, or hexadecimal after "0x" where
// allowHex. Message numbers are usually written in hexadecimal (WM_APP is
// 0x8000), the other numbers in decimal.
bool ParseNumber(const std::string& text, bool allowHex, long long minimum, long long maximum,
                 long long& value) {
    if (text.empty()) return false;
    int base = 10;
    std::string digits = text;
    if (allowHex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        digits = text.substr(2);
    }
    // strtoll would also take blanks and a plus sign; a command-line number
    // is digits with at most a leading minus.
    const bool minus = base == 10 && !digits.empty() && digits[0] == '-';
    if (digits.size() <= (minus ? 1u : 0u)) return false;
    if (std::isxdigit(static_cast<unsigned char>(digits[minus ? 1 : 0])) == 0) return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(digits.c_str(), &end, base);
    if (errno != 0 || end == digits.c_str() || *end != '\0') return false;
    if (parsed < minimum || parsed > maximum) return false;
    value = parsed;
    return true;
}

// Every option takes a value; a word of a dash and more is an option's, so
// that "-h" is one.
constexpr LongOptions::Option kOptions[] = {{"--message", true}, {"--function", true}, {"--output", true},
                                            {"--handle", true},  {"--timeout", true},  {"--log", true}};

}  // namespace

CallerOptions CallerOptions::Parse(const std::vector<std::string>& arguments) {
    CallerOptions options;
    options.action = Action::Run;
    LongOptions scanner(arguments, kOptions, LongOptions::Operands::EndOptions, "-");
    for (LongOptions::Item item = scanner.Next(); item.kind != LongOptions::Kind::End; item = scanner.Next()) {
        // Whole words rather than options: "--help=x" is an unknown option.
        if (item.word == "--help" || item.word == "-h" || item.word == "--version") {
            options.action = item.word == "--version" ? Action::Version : Action::Help;
            return options;
        }
        if (item.kind != LongOptions::Kind::Option) {
            options.Reject(item.Problem());
            return options;
        }
        if (!options.Take(item.name, item.value)) return options;
    }
    options.program.assign(arguments.begin() + static_cast<std::ptrdiff_t>(scanner.Position()), arguments.end());
    if (options.program.empty()) options.Reject("no program to start");
    return options;
}

bool CallerOptions::Take(const std::string& name, const std::string& value) {
    long long number = 0;
    if (name == "--output") {
        // Typed in the locale's encoding; a caller passes code page 932.
        TextCodec::Result<std::string> path = TextCodec::LocaleToCp932(value, TextCodec::Invalid::Replace);
        if (!path.ok) return Reject("--output \"" + value + "\" is no text of this locale's encoding");
        output = path.text;
        return true;
    }
    if (name == "--log") {
        if (value.empty()) return Reject("--log needs a file name");
        logPath = value;
        return true;
    }
    if (name == "--message") {
        if (!ParseNumber(value, true, 0, std::numeric_limits<std::uint32_t>::max(), number))
            return Reject("--message takes a number from 0 to 0xFFFFFFFF, not \"" + value + "\"");
        message = static_cast<std::uint32_t>(number);
        return true;
    }
    if (name == "--function") {
        if (!ParseNumber(value, false, std::numeric_limits<std::int32_t>::min(),
                         std::numeric_limits<std::int32_t>::max(), number))
            return Reject("--function takes a decimal number, not \"" + value + "\"");
        function = static_cast<std::int32_t>(number);
        return true;
    }
    if (name == "--handle") {
        if (!ParseNumber(value, false, 1, std::numeric_limits<std::int32_t>::max(), number))
            return Reject("--handle takes a number from 1 to 2147483647, not \"" + value + "\"");
        handle = static_cast<std::uintptr_t>(number);
        return true;
    }
    if (name == "--timeout") {
        if (!ParseNumber(value, false, 0, 24 * 60 * 60, number))
            return Reject("--timeout takes seconds from 0 to 86400, not \"" + value + "\"");
        timeoutSeconds = static_cast<int>(number);
        return true;
    }
    return Reject("unknown option " + name);
}

bool CallerOptions::Reject(const std::string& text) {
    action = Action::Error;
    error = text;
    return false;
}

std::string CallerOptions::CallerText(std::uintptr_t boundHandle) const {
    return std::to_string(boundHandle) + "," + std::to_string(message) + "," + std::to_string(function) +
           "," + output.value_or(std::string());
}

std::string CallerOptions::Usage() {
    return "Usage: mzn-caller [OPTIONS] [--] PROGRAM [PROGRAM_OPTIONS...]\n"
           "\n"
           "Plays the tax-form application that starts a link program: binds a window\n"
           "handle, starts PROGRAM with PROGRAM_OPTIONS followed by the one argument\n"
           "\"handle,message,function,path\", and records what the program does to the\n"
           "window (disable, enable, foreground, top, posted messages) until it has ended.\n"
           "\n"
           "Options:\n"
           "  --message N        message the program posts when it ends\n"
           "                     (decimal or 0x hexadecimal; default 0x8001, WM_APP + 1)\n"
           "  --function N       function number (decimal; default 2)\n"
           "  --output PATH      Windows path of the file the program writes, passed on\n"
           "                     in code page 932; without it the argument ends after\n"
           "                     the third comma\n"
           "  --handle N         bind this handle (1 to 2147483647) instead of a fresh one\n"
           "  --timeout SECONDS  stop the program after SECONDS (default 0: no limit)\n"
           "  --log FILE         also write the record to FILE\n"
           "  --help             show this help and exit\n"
           "  --version          show the version and exit\n"
           "\n"
           "Exit status:\n"
           "  0-99  the lParam of the last posted message (the link program's result:\n"
           "        0 written, 1 ended without a report, 2 failed)\n"
           "  100   the program ended without posting a message\n"
           "  101   the program could not be started\n"
           "  102   the program was stopped after --timeout\n"
           "  103   the last posted lParam was outside 0-99\n"
           "  104   the command line of mzn-caller was wrong\n"
           "  105   the window handle could not be bound or the log file not opened\n"
           "\n"
           "Endpoints are sockets under $XDG_RUNTIME_DIR/mizunara, or under\n"
           "$MZN_ROOT/run when XDG_RUNTIME_DIR is not usable.\n";
}
