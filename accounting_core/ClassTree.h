#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class BooksDatabase;

// The class-code hierarchy of the books (table class_lines): every line has a
// class code, an optional parent line, a name, a balance side and an ordinal
// that fixes the order of the statements; total lines (is_total) are the
// lines the summation rule delivers with their sums.
//
// Membership: an account belongs to a class when its class code is that
// class or lies below it, following parent_code upwards. A class code that
// is no line of the hierarchy belongs only to itself. The books are edited
// by hand and by imports, so a parent chain that loops is cut where it
// comes back to a line already seen.
class ClassTree {
public:
    struct Line {
        std::uint32_t code = 0;
        std::optional<std::uint32_t> parent;
        std::string name;  // UTF-8, as the books keep it
        int side = 1;      // 1 debit, 2 credit
        bool isTotal = false;
        std::int64_t ordinal = 0;
    };

    // False when the table cannot be read.
    bool Load(BooksDatabase& books);

    // The class and every class below it.
    std::vector<std::uint32_t> ClassesWithin(std::uint32_t code) const;
    // The lines an account of this class code belongs to: the class's own
    // line and the lines above it, nearest first.
    std::vector<std::uint32_t> LinesContaining(std::uint32_t code) const;
    // The total lines, in the order of the statements (ordinal, then code).
    std::vector<const Line*> TotalLines() const;

    const Line* Find(std::uint32_t code) const;
    std::size_t Size() const { return lines_.size(); }

private:
    std::map<std::uint32_t, Line> lines_;
    std::multimap<std::uint32_t, std::uint32_t> children_;  // parent -> child
};
