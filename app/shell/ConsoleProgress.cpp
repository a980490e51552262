#include "app/shell/ConsoleProgress.h"

#include <string>

#include <unistd.h>

#include "platform/MessageCatalogue.h"

namespace {

// The label in the terminal's codeset, whatever the narrow literals' code page.
const std::string& Label() {
    static const std::string label = MessageCatalogue::Current().FromUtf8(u8"集計中");
    return label;
}

}  // namespace

ConsoleProgress::ConsoleProgress(std::FILE* out)
    : ConsoleProgress(out, out != nullptr && ::isatty(::fileno(out)) == 1) {}

ConsoleProgress::ConsoleProgress(std::FILE* out, bool isTerminal) : out_(out), isTerminal_(isTerminal && out != nullptr) {}

void ConsoleProgress::ResetProgress() {
    position_ = 0;
    shownPercent_ = -1;
    Draw();
}

void ConsoleProgress::AdvanceProgress(std::int16_t from, std::int16_t to) {
    for (int value = from; value <= to; ++value) {
        if (position_ < kMaximum) ++position_;
        Draw();
    }
}

void ConsoleProgress::EndProgress() { EndLine(); }

void ConsoleProgress::Draw() {
    if (!isTerminal_) return;
    const int percent = position_ * 100 / kMaximum;
    if (percent == shownPercent_) return;
    shownPercent_ = percent;

    const int filled = percent * kBarCells / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarCells - filled), ' ');
    std::fprintf(out_, "\r%s [%s] %3d%%", Label().c_str(), bar.c_str(), percent);
    lineOpen_ = true;
    if (percent == 100) EndLine();
    std::fflush(out_);
}

void ConsoleProgress::EndLine() {
    if (!lineOpen_) return;
    std::fputc('\n', out_);
    std::fflush(out_);
    lineOpen_ = false;
}
