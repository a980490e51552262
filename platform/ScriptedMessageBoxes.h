#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

// Message boxes for tests: answers come from a queue, and every box shown is
// recorded with its owner, text, caption and style, byte for byte.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        MessageOwner owner;
        std::string text;
        std::string caption;
        unsigned style = 0;
        int answer = 0;
    };

    // The answer for the next box; boxes beyond the queue get OK, or No for
    // a Yes/No question, and are counted as unscripted.
    void QueueAnswer(int answer) { answers_.push_back(answer); }

    int Show(MessageOwner owner, const char* text, const char* caption, unsigned style) override;

    const std::vector<Shown>& Boxes() const { return shown_; }
    const Shown& Last() const { return shown_.back(); }
    std::size_t PendingAnswers() const { return answers_.size(); }
    int UnscriptedCount() const { return unscripted_; }
    void Clear();

private:
    std::deque<int> answers_;
    std::vector<Shown> shown_;
    int unscripted_ = 0;
};
