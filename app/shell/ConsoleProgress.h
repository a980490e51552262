#pragma once

#include <cstdint>
#include <cstdio>

#include "report/ProgressSink.h"

// The progress window of the batch mode: one line on standard error,
//
//   集計中 [#########           ]  45%
//
// redrawn in place (carriage return) whenever the percentage changes, and
// ended with a line feed when it reaches 100% or the run ends. It counts as
// the progress window's overall bar does: 0 to 1000, one step for every value
// of an AdvanceProgress range, both ends included, standing at 1000 once
// there; the percentage is the position / 10. The line is drawn only when the
// stream is a terminal: a log file or a pipe gets nothing, so that the
// messages printed there stay readable. Text is UTF-8.
class ConsoleProgress : public ProgressSink {
public:
    static constexpr int kMaximum = 1000;
    static constexpr int kBarCells = 20;

    // The stream is a terminal when isatty says so.
    explicit ConsoleProgress(std::FILE* out = stderr);
    ConsoleProgress(std::FILE* out, bool isTerminal);

    // Position 0, and the line drawn at 0%.
    void ResetProgress();
    void AdvanceProgress(std::int16_t from, std::int16_t to) override;
    // The line shows no activity: redrawing it for every unit of work would
    // flood a slow terminal, and the percentage moves often enough.
    void PulseActivity() override {}
    void PulseActivities(std::int64_t) override {}
    // Ends the line (once) when one is open.
    void EndProgress();

    int Position() const { return position_; }

private:
    void Draw();
    void EndLine();

    std::FILE* out_;
    bool isTerminal_;
    int position_ = 0;
    int shownPercent_ = -1;  // -1: no line drawn since the last line end
    bool lineOpen_ = false;
};
