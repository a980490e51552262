// The caller's text comes from another program: however it is made, the
// parser must stay inside the text, and what it reads must be consistent
// with the text. The text goes through the same conversion from the host's
// argv as in the program.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/shell/CommandLine.h"
#include "app/shell/LaunchOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that a read past the text is caught.
    const std::string word(reinterpret_cast<const char*>(data), size);
    const std::string text = LaunchOptions::Parse({"--batch", "--", word}).callerText;

    CommandLine line;
    const bool linked = line.ParseCommandLine(text);
    const std::string_view visible = std::string_view(text).substr(0, text.find('\0'));
    if (visible.empty() && linked) std::abort();
    // The path is a tail of the text, read whole; a text over the limit is
    // flagged so that the run refuses it.
    if (line.TooLong() != (visible.size() > CommandLine::kMaxTextBytes)) std::abort();
    if (!line.OutputPathArg.empty()) {
        if (!linked || visible.find(line.OutputPathArg) == std::string_view::npos) std::abort();
    }
    return 0;
}
