#include "accounting_core/ClassTree.h"

#include <algorithm>
#include <set>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"

bool ClassTree::Load(BooksDatabase& books) {
    lines_.clear();
    children_.clear();
    BooksStatement select(books.Handle(),
                          "SELECT class_code, parent_code, name, side, is_total, ordinal FROM class_lines");
    if (!select.Ok()) return false;
    for (;;) {
        BooksStatement::StepResult step = select.Step();
        if (step == BooksStatement::StepResult::Done) break;
        if (step == BooksStatement::StepResult::Error) {
            lines_.clear();
            return false;
        }
        Line line;
        line.code = static_cast<std::uint32_t>(select.Int(0));
        if (!select.IsNull(1)) line.parent = static_cast<std::uint32_t>(select.Int(1));
        line.name = select.Text(2);
        line.side = static_cast<int>(select.Int(3));
        line.isTotal = select.Int(4) != 0;
        line.ordinal = select.Int(5);
        lines_[line.code] = line;
    }
    for (const auto& [code, line] : lines_) {
        if (line.parent && *line.parent != code) children_.emplace(*line.parent, code);
    }
    return true;
}

std::vector<std::uint32_t> ClassTree::ClassesWithin(std::uint32_t code) const {
    std::set<std::uint32_t> seen{code};
    std::vector<std::uint32_t> result{code};
    for (std::size_t next = 0; next < result.size(); ++next) {
        auto [first, last] = children_.equal_range(result[next]);
        for (auto child = first; child != last; ++child) {
            if (seen.insert(child->second).second) result.push_back(child->second);
        }
    }
    return result;
}

std::vector<std::uint32_t> ClassTree::LinesContaining(std::uint32_t code) const {
    std::vector<std::uint32_t> result;
    std::set<std::uint32_t> seen;
    const Line* line = Find(code);
    while (line != nullptr && seen.insert(line->code).second) {
        result.push_back(line->code);
        line = line->parent ? Find(*line->parent) : nullptr;
    }
    return result;
}

std::vector<const ClassTree::Line*> ClassTree::TotalLines() const {
    std::vector<const Line*> totals;
    for (const auto& [code, line] : lines_) {
        if (line.isTotal) totals.push_back(&line);
    }
    std::stable_sort(totals.begin(), totals.end(),
                     [](const Line* a, const Line* b) { return a->ordinal < b->ordinal; });
    return totals;
}

const ClassTree::Line* ClassTree::Find(std::uint32_t code) const {
    auto found = lines_.find(code);
    return found != lines_.end() ? &found->second : nullptr;
}
