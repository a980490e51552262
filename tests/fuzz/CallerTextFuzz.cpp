// The caller's text, through the program's own argv conversion: what the parser reads lies in the text.

#include "app/shell/CommandLine.h"
#include "app/shell/LaunchOptions.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string word(reinterpret_cast<const char*>(data), size);  // an exact-size copy
    const std::string text = LaunchOptions::Parse({"--batch", "--", word}).callerText;
    CommandLine line;
    const bool linked = line.ParseCommandLine(text);
    const std::string_view visible = std::string_view(text).substr(0, text.find('\0'));
    Require(!visible.empty() || !linked, "an empty text links");
    // A text over the limit is flagged so that the run refuses it.
    Require(line.TooLong() == (visible.size() > CommandLine::kMaxTextBytes), "the length limit");
    Require(line.OutputPathArg.empty() || (linked && visible.find(line.OutputPathArg) != std::string_view::npos),
            "the path is no part of the text");
    return 0;
}
