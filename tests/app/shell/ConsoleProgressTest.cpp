#include "app/shell/ConsoleProgress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestFiles.h"

namespace {

using testfiles::Utf8;

// A stream into memory, read back as a string.
class MemoryStream {
public:
    MemoryStream() : file_(open_memstream(&data_, &size_)) {}
    ~MemoryStream() {
        std::fclose(file_);
        std::free(data_);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    std::FILE* File() { return file_; }
    std::string Text() {
        std::fflush(file_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

// The ranges a run passes: the aggregation, then the report file.
const std::vector<std::pair<std::int16_t, std::int16_t>> kRunRanges = {
    {0, 100}, {100, 200}, {200, 300}, {300, 400}, {400, 500}, {500, 600}, {600, 700}, {700, 1000}};

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(ConsoleProgressTest, TheLineIsRedrawnOnlyWhenThePercentageChanges) {
    MemoryStream stream;
    ConsoleProgress progress(stream.File(), true);
    progress.ResetProgress();
    EXPECT_EQ(stream.Text(), Utf8(u8"\r集計中 [                    ]   0%"));

    progress.AdvanceProgress(0, 8);  // positions 1 to 9: still 0%
    progress.PulseActivity();
    EXPECT_EQ(Count(stream.Text(), "\r"), 1u);
    progress.AdvanceProgress(9, 9);  // position 10: 1%
    EXPECT_EQ(Count(stream.Text(), "\r"), 2u);
    EXPECT_TRUE(stream.Text().ends_with(Utf8(u8"\r集計中 [                    ]   1%")));

    progress.AdvanceProgress(10, 459);  // position 460
    EXPECT_EQ(progress.Position(), 460);
    EXPECT_TRUE(stream.Text().ends_with(Utf8(u8"\r集計中 [#########           ]  46%")));
    EXPECT_EQ(Count(stream.Text(), "\r"), 47u);
    EXPECT_EQ(Count(stream.Text(), "\n"), 0u);
}

TEST(ConsoleProgressTest, AWholeRunEndsTheLineOnceAtOneHundredPercent) {
    MemoryStream stream;
    ConsoleProgress progress(stream.File(), true);
    progress.ResetProgress();
    for (const auto& [from, to] : kRunRanges) progress.AdvanceProgress(from, to);
    progress.EndProgress();

    const std::string text = stream.Text();
    EXPECT_EQ(progress.Position(), ConsoleProgress::kMaximum);
    EXPECT_EQ(Count(text, "\r"), 101u);  // 0% to 100%, each once
    EXPECT_EQ(Count(text, "\n"), 1u);
    EXPECT_TRUE(text.ends_with(Utf8(u8"\r集計中 [####################] 100%\n")));
}

TEST(ConsoleProgressTest, EndingEarlyEndsTheLineOnce) {
    MemoryStream stream;
    ConsoleProgress progress(stream.File(), true);
    progress.ResetProgress();
    progress.AdvanceProgress(0, 100);
    progress.AdvanceProgress(9, 5);  // from > to: nothing
    EXPECT_EQ(progress.Position(), 101);
    progress.EndProgress();
    progress.EndProgress();
    const std::string text = stream.Text();
    EXPECT_TRUE(text.ends_with(Utf8(u8"\r集計中 [##                  ]  10%\n")));
    EXPECT_EQ(Count(text, "\n"), 1u);
}

TEST(ConsoleProgressTest, NothingIsWrittenWhenTheStreamIsNoTerminal) {
    MemoryStream stream;
    ConsoleProgress forced(stream.File(), false);
    forced.ResetProgress();
    for (const auto& [from, to] : kRunRanges) forced.AdvanceProgress(from, to);
    forced.EndProgress();
    EXPECT_EQ(forced.Position(), ConsoleProgress::kMaximum);

    // A memory stream is no terminal for isatty either.
    ConsoleProgress detected(stream.File());
    detected.ResetProgress();
    detected.AdvanceProgress(0, 1000);
    detected.EndProgress();
    EXPECT_TRUE(stream.Text().empty());
}

}  // namespace
