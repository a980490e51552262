#include "app/shell/LaunchOptions.h"

#include <cstddef>

#include "app/shell/CommandLine.h"
#include "platform/LongOptions.h"
#include "platform/TextCodec.h"

namespace {

constexpr LongOptions::Option kOptions[] = {
    {"--batch", false}, {"--yes", false}, {"--end-month", true}, {"--tax-included", true}, {"--output", true},
    {"--preview", false}};

bool IsConditionOption(std::string_view name) {
    return name == "--end-month" || name == "--tax-included" || name == "--output" || name == "--yes" ||
           name == "--preview";
}

// A month as a user writes it: one or two decimal digits, 1 to 12.
std::optional<int> ParseMonth(const std::string& text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int month = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        month = month * 10 + (c - '0');
    }
    if (month < 1 || month > 12) return std::nullopt;
    return month;
}

// Where the caller's text begins: behind the leading options (a value
// given as the next word belongs to its option) or behind a lone "--".
// Scanned on its own and past refused options, so that the caller is known
// also when an option is refused.
std::size_t CallerTextStart(const std::vector<std::string>& arguments) {
    LongOptions scanner(arguments, kOptions);
    while (scanner.Next().kind != LongOptions::Kind::End) {
    }
    return scanner.Position();
}

}  // namespace

LaunchOptions LaunchOptions::Parse(const std::vector<std::string>& arguments) {
    LaunchOptions options;
    // The caller's text is code page 932 bytes as the caller gives them.
    const std::size_t textStart = CallerTextStart(arguments);
    for (std::size_t index = textStart; index < arguments.size(); ++index) {
        if (index > textStart) options.callerText += ' ';
        options.callerText += arguments[index];
    }

    std::vector<std::string> conditionOptions;
    LongOptions scanner(arguments, kOptions);
    for (LongOptions::Item item = scanner.Next(); item.kind != LongOptions::Kind::End; item = scanner.Next()) {
        // Whole words rather than options: "--help=x" is an unknown option.
        if (item.word == "--help" || item.word == "--version") {
            options.action = item.word == "--help" ? Action::Help : Action::Version;
            return options;
        }
        // The one option whose value is optional: "--preview" or "--preview=csv".
        if (item.kind == LongOptions::Kind::UnwantedValue && item.name == "--preview") {
            if (item.value != "csv") {
                options.Reject("--preview takes csv or no value, not \"" + item.value + "\"");
                return options;
            }
            item.kind = LongOptions::Kind::Option;
        }
        if (item.kind != LongOptions::Kind::Option) {
            options.Reject(item.Problem());
            return options;
        }
        if (!options.Take(item.name, item.value)) return options;
        if (IsConditionOption(item.name)) conditionOptions.push_back(item.name);
    }

    if (!options.batch && !conditionOptions.empty()) {
        options.Reject("option " + conditionOptions.front() + " needs --batch");
        return options;
    }
    if (options.preview != Preview::None) {
        if (!options.callerText.empty()) {
            options.Reject("--preview prints the amounts for a person and takes no caller's text");
            return options;
        }
        if (options.outputPath) {
            options.Reject("--preview writes no report: --output has no use beside it");
            return options;
        }
    }
    // A caller's path is locked: --output would be dropped without a word.
    CommandLine caller;
    if (options.outputPath && caller.ParseCommandLine(options.callerText) && !caller.OutputPathArg.empty())
        options.Reject("--output cannot be used when a caller names the report file");
    return options;
}

bool LaunchOptions::Take(std::string_view name, const std::string& value) {
    if (name == "--batch") {
        batch = true;
    } else if (name == "--yes") {
        answerYes = true;
    } else if (name == "--preview") {
        preview = value == "csv" ? Preview::Csv : Preview::Table;
    } else if (name == "--end-month") {
        endMonth = ParseMonth(value);
        if (!endMonth) return Reject("--end-month takes a month from 1 to 12, not \"" + value + "\"");
    } else if (name == "--tax-included") {
        if (value != "yes" && value != "no")
            return Reject("--tax-included takes yes or no, not \"" + value + "\"");
        taxIncluded = value == "yes";
    } else if (name == "--output") {
        if (value.empty()) return Reject("--output needs a Windows path, such as Z:\\tmp\\report.xml");
        // What a person types is in the locale's encoding.
        TextCodec::Result<std::string> path = TextCodec::LocaleToCp932(value, TextCodec::Invalid::Replace);
        if (!path.ok) return Reject("--output \"" + value + "\" is no text of this locale's encoding");
        outputPath = path.text;
    }
    return true;
}

bool LaunchOptions::Reject(std::string text) {
    action = Action::Error;
    error = std::move(text);
    return false;
}

std::string LaunchOptions::Usage(std::string_view programName) {
    const std::string name(programName);
    return "Usage: " + name + " [OPTIONS] [--] [HANDLE,MESSAGE,FUNCTION,PATH]\n"
           "\n"
           "Aggregates the selected data set of the accounting books and writes the\n"
           "business overview report (XML) for the tax-form application. A caller\n"
           "passes its window handle, the message to post back at the end, the\n"
           "function number and the Windows path of the file to write; without them\n"
           "the program runs on its own.\n"
           "\n"
           "Options:\n"
           "  --batch                run without showing the condition sheet, with the\n"
           "                         remembered or default conditions; messages go to\n"
           "                         standard error and questions are answered No\n"
           "  --end-month N          batch: last month of the period (1-12)\n"
           "  --tax-included yes|no  batch: aggregate amounts with consumption tax or not\n"
           "  --output PATH          batch: Windows path of the report file\n"
           "                         (Z:\\home\\me\\report.xml is /home/me/report.xml)\n"
           "  --yes                  batch: answer Yes to the questions\n"
           "  --preview[=csv]        batch: print the report's amounts, the accounts that\n"
           "                         feed each item and the checks instead of writing\n"
           "                         the report (csv: as CSV in UTF-8)\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Exit status:\n"
           "  0  the report file was written\n"
           "  1  ended without a report (cancelled, or the data set cannot be used)\n"
           "  2  failed, or the command line was wrong\n"
           "  With --preview: 0 printed, 1 the data set cannot be used, 2 failed.\n"
           "\n"
           "The books are those under $MZN_ROOT (default ~/.local/share/mizunara).\n";
}
