#include "tools/mzn-books/MessageTemplate.h"

#include <vector>

std::string MessageTemplate::Fill(std::string_view pattern, std::initializer_list<std::string> values) {
    const std::vector<std::string> byNumber(values);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next == '%') {
            text += '%';
            ++i;
        } else if (pattern[i] == '%' && next >= '1' && next <= '9' &&
                   static_cast<std::size_t>(next - '1') < byNumber.size()) {
            text += byNumber[static_cast<std::size_t>(next - '1')];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}
