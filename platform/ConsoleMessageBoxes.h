#pragma once

#include <cstdio>

#include "platform/MessageBoxes.h"

// Message boxes of the batch mode: each box is printed to a stream (standard
// error by default) in the terminal's UTF-8, and questions are answered by a
// fixed policy, Yes only when the user asked for it on the command line.
class ConsoleMessageBoxes : public MessageBoxes {
public:
    enum class QuestionAnswer { No, Yes };

    explicit ConsoleMessageBoxes(QuestionAnswer answer = QuestionAnswer::No, std::FILE* out = stderr);

    int Show(MessageOwner owner, const char* text, const char* caption, unsigned style) override;

private:
    QuestionAnswer answer_;
    std::FILE* out_;
};
