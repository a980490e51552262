#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The problems found in the input of one command, each as
// "FILE:LINE: reason" (or "FILE: reason" without a line), in the order found,
// the form compilers use so that editors can jump to the line.
class Diagnostics {
public:
    void Report(const std::string& file, std::size_t line, const std::string& reason);
    void Report(const std::string& file, const std::string& reason);

    bool Empty() const { return messages_.empty(); }
    std::size_t Count() const { return messages_.size(); }
    const std::vector<std::string>& Messages() const { return messages_; }

private:
    std::vector<std::string> messages_;
};
