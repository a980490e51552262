#include "tools/mzn-books/NearestNames.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

// The characters of UTF-8 text, each as its bytes.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = 1;
        while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) ++length;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

}  // namespace

std::size_t NearestNames::Distance(std::string_view a, std::string_view b) {
    const std::vector<std::string_view> x = Characters(a);
    const std::vector<std::string_view> y = Characters(b);
    std::vector<std::size_t> row(y.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= x.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= y.size(); ++j) {
            const std::size_t substitution = diagonal + (x[i - 1] == y[j - 1] ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, substitution});
        }
    }
    return row[y.size()];
}

std::vector<std::string> NearestNames::Of(std::string_view wanted, const std::vector<std::string>& names,
                                          std::size_t count) {
    std::vector<std::pair<std::size_t, std::size_t>> ranked;  // distance, index
    for (std::size_t i = 0; i < names.size(); ++i) ranked.emplace_back(Distance(wanted, names[i]), i);
    std::stable_sort(ranked.begin(), ranked.end());
    std::vector<std::string> nearest;
    for (std::size_t i = 0; i < ranked.size() && i < count; ++i) nearest.push_back(names[ranked[i].second]);
    return nearest;
}
