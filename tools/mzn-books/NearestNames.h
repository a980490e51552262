#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The names closest to a mistyped one, for messages that suggest what was
// meant: by edit distance over characters (UTF-8 code points, so that a
// kanji counts as one), ties in the order given.
class NearestNames {
public:
    static std::vector<std::string> Of(std::string_view wanted, const std::vector<std::string>& names,
                                       std::size_t count);
    // Insertions, deletions and substitutions of characters that turn a into b.
    static std::size_t Distance(std::string_view a, std::string_view b);
};
