#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class BooksStatement;
class ClassTree;
class FindCriteria;

// The find conditions of an account walk as an SQL condition on the table
// accounts, so that SQLite picks the accounts (and uses its index for a
// lookup by code) instead of the walk stepping over the whole chart.
//
// Conditions an account walk knows:
//   field 2 (account code), value type 2 or 3, any comparison;
//   field 16 (class code), value type 19, comparison 1: the account's class
//   code is that class or lies below it in the class-code hierarchy.
class AccountFilter {
public:
    // False for a condition an account walk does not know.
    bool Compile(const FindCriteria& criteria, const ClassTree& classes);

    // The condition, with its parameters numbered from firstIndex on.
    std::string Sql(int firstIndex) const;
    // Binds the parameters, starting at firstIndex.
    void Bind(BooksStatement& statement, int firstIndex) const;

private:
    using Parameter = std::variant<std::int64_t, std::string>;
    struct Term {
        std::string column;  // "code" or "class_code"
        const char* op = "=";
        bool membership = false;  // class_code IN the classes of the JSON array parameter
    };
    std::vector<std::vector<Term>> alternatives_;
    std::vector<Parameter> parameters_;  // one per term, in order
};
