#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The link program's own command line, in front of the caller's text:
//
//   PROGRAM [--batch [--end-month N] [--tax-included yes|no]
//            [--output WINDOWS_PATH | --preview[=csv]] [--yes]] [--help]
//           [--version] [--] [CALLER_TEXT...]
//
// Only leading words that start with "--" are options; the first other word,
// or the word after a lone "--", begins the caller's text, and the remaining
// words joined with single blanks are that text (a caller passes it as one
// word, "handle,message,function,path"). A value may follow its option as
// the next word or after "=" ("--end-month=3"); the last of a repeated
// option wins. --help and --version end the parsing at once.
//
// Refused, with Action::Error and a one-line reason for the user (the
// program then exits with kUsageExitCode):
//   - an unknown option, a missing value, a value out of its range;
//   - a condition option (--end-month, --tax-included, --output, --yes)
//     without --batch: the condition sheet of the GUI takes its values from
//     the user, and silently ignoring them would hide a mistake;
//   - --output beside a caller's text that names the report file;
//   - --preview without --batch, beside a caller's text (a preview is for a
//     person: it writes nothing and tells no caller), or beside --output
//     (it writes no report); --preview= with anything but csv.
// The caller's text is taken also when an option is refused, so that the
// caller can be told.
//
// Text: the caller's text is code page 932 bytes as the caller passes them.
// --output is what a person typed, in the locale's encoding (UTF-8 under
// the C and POSIX locales); it is converted, characters that code page 932
// lacks becoming "?" (which no Windows file name may hold, so the path
// checks refuse such a path in the system's own words).
class LaunchOptions {
public:
    enum class Action { Run, Help, Version, Error };
    // A batch run that only prints the amounts: as a table for a person or
    // as CSV for a script.
    enum class Preview { None, Table, Csv };

    // Exit status of a refused command line, and of a GUI start without a
    // display: the status of a failed run.
    static constexpr int kUsageExitCode = 2;

    Action action = Action::Run;
    std::string error;  // Action::Error: why, in one line, without the program name

    bool batch = false;
    std::optional<int> endMonth;        // 1-12, a calendar month
    std::optional<bool> taxIncluded;
    std::optional<std::string> outputPath;  // Windows path, code page 932, not empty
    bool answerYes = false;             // questions of the batch run are answered Yes
    Preview preview = Preview::None;
    std::string callerText;             // code page 932, as given

    // arguments: argv without the program name.
    static LaunchOptions Parse(const std::vector<std::string>& arguments);
    // The --help text for the program of that name (ASCII).
    static std::string Usage(std::string_view programName);

private:
    bool Take(std::string_view name, const std::string& value);
    bool Reject(std::string text);
};
