// The program's command line: the input's NUL-separated parts are argv's words. What the options hold lies
// in their ranges, a refusal says why, the caller's text is the words behind the options joined
// by blanks, and what the caller's text parser reads lies in that text.

#include "app/shell/CommandLine.h"
#include "app/shell/LaunchOptions.h"
#include "tests/fuzz/FuzzSupport.h"

MZN_FUZZ_TARGET(input) {
    const std::vector<std::string> words = Split(input.Text(), '\0');
    const LaunchOptions options = LaunchOptions::Parse(words);
    using Action = LaunchOptions::Action;
    Require(options.action != Action::Error || !options.error.empty(), "a refusal without its reason");
    const bool conditions = options.endMonth || options.taxIncluded || options.outputPath || options.answerYes;
    Require(options.action != Action::Run || ((options.batch || !conditions) && options.endMonth.value_or(1) >= 1 &&
                                              options.endMonth.value_or(1) <= 12 && options.outputPath != ""),
            "an option taken outside its range or without --batch");
    std::string joined;
    for (const std::string& word : words) joined += (&word == &words.front() ? "" : " ") + word;
    Require(joined.ends_with(options.callerText) &&
                (options.callerText.empty() || joined.size() == options.callerText.size() ||
                 joined[joined.size() - options.callerText.size() - 1] == ' '),
            "the caller's text is not the words behind the options");

    const std::string& text = options.callerText;
    CommandLine line;
    const bool linked = line.ParseCommandLine(text);
    const std::string_view visible = std::string_view(text).substr(0, text.find('\0'));
    Require(!visible.empty() || !linked, "an empty text links");
    // A text over the limit is flagged so that the run refuses it.
    Require(line.TooLong() == (visible.size() > CommandLine::kMaxTextBytes), "the length limit");
    Require(line.OutputPathArg.empty() || (linked && visible.find(line.OutputPathArg) != std::string_view::npos),
            "the path is no part of the text");
}
