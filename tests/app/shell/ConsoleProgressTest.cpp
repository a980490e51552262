#include "app/shell/ConsoleProgress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/TestFiles.h"

namespace {

using testfiles::Utf8;

// A temporary file, read back whole.
using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
File TempFile() { return File(std::tmpfile(), &std::fclose); }
std::string Written(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
    return text;
}

// The line is drawn afresh only when its percentage changes, and ended once:
// at 100 % or by EndProgress, whichever comes first.
TEST(ConsoleProgressTest, TheLineShowsEachNewPercentageAndIsEndedOnce) {
    const std::string zero = Utf8(u8"\r集計中 [                    ]   0%");
    struct Row {
        const char* name;
        std::function<void(ConsoleProgress&)> steps;
        int position;
        std::string text;  // all that was written after the reset's line
    };
    const Row rows[] = {
        {"positions 1 to 9 stay at 0 %", [](ConsoleProgress& p) { p.AdvanceProgress(0, 8); p.PulseActivity(); }, 9, ""},
        {"position 10 is 1 %", [](ConsoleProgress& p) { p.AdvanceProgress(0, 9); }, 10,
         Utf8(u8"\r集計中 [                    ]   1%")},
        {"a range from past its end", [](ConsoleProgress& p) { p.AdvanceProgress(9, 5); p.EndProgress(); }, 0, "\n"},
        {"ended early, twice", [](ConsoleProgress& p) { p.AdvanceProgress(0, 100); p.EndProgress(); p.EndProgress(); },
         101, Utf8(u8"\r集計中 [##                  ]  10%\n")},
        {"position 460", [](ConsoleProgress& p) { p.AdvanceProgress(10, 469); }, 460,
         Utf8(u8"\r集計中 [#########           ]  46%")},
        {"1008 steps stop at 1000, ended once", [](ConsoleProgress& p) {
             for (int from = 0; from < 700; from += 100) p.AdvanceProgress(from, from + 100);
             p.AdvanceProgress(700, 1000);
             p.EndProgress();
         }, ConsoleProgress::kMaximum, Utf8(u8"\r集計中 [####################] 100%\n")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const File stream = TempFile();
        ConsoleProgress progress(stream.get(), true);
        progress.ResetProgress();
        row.steps(progress);
        EXPECT_EQ(progress.Position(), row.position);
        const std::string text = Written(stream.get());
        ASSERT_EQ(text.rfind(zero, 0), 0u);
        const std::string rest = text.substr(zero.size());
        // The last line drawn and the line's end, with no other end before.
        EXPECT_TRUE(rest.ends_with(row.text)) << rest;
        EXPECT_EQ(rest.find('\n'), row.text.ends_with('\n') ? rest.size() - 1 : std::string::npos) << rest;
        if (row.position <= 10) {
            EXPECT_EQ(rest, row.text);
        }
    }
}

TEST(ConsoleProgressTest, NothingIsWrittenWhenTheStreamIsNoTerminal) {
    const File stream = TempFile();
    ConsoleProgress forced(stream.get(), false);
    ConsoleProgress detected(stream.get());  // a file is no terminal for isatty either
    for (ConsoleProgress* progress : {&forced, &detected}) {
        progress->ResetProgress();
        progress->AdvanceProgress(0, 1000);
        progress->EndProgress();
        EXPECT_EQ(progress->Position(), ConsoleProgress::kMaximum);
    }
    EXPECT_EQ(Written(stream.get()), "");
}

}  // namespace
