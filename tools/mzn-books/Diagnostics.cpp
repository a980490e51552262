#include "tools/mzn-books/Diagnostics.h"

void Diagnostics::Report(const std::string& file, std::size_t line, const std::string& reason) {
    messages_.push_back(file + ":" + std::to_string(line) + ": " + reason);
}

void Diagnostics::Report(const std::string& file, const std::string& reason) {
    messages_.push_back(file + ": " + reason);
}
