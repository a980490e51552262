#include "accounting_core/AccountFilter.h"

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClassTree.h"
#include "accounting_core/FindCriteria.h"

namespace {

const char* SqlOperator(int comparison) {
    switch (comparison) {
    case FindCriteria::kEqual: return "=";
    case FindCriteria::kGreater: return ">";
    case FindCriteria::kLess: return "<";
    case FindCriteria::kGreaterOrEqual: return ">=";
    case FindCriteria::kNotEqual: return "<>";
    case FindCriteria::kLessOrEqual: return "<=";
    default: return nullptr;
    }
}

// The classes of a membership condition travel as one JSON array, so that
// no number of classes can exceed SQLite's limit on parameters.
std::string JsonArray(const std::vector<std::uint32_t>& codes) {
    std::string json = "[";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i != 0) json.append(",");
        json.append(std::to_string(codes[i]));
    }
    json.append("]");
    return json;
}

}  // namespace

bool AccountFilter::Compile(const FindCriteria& criteria, const ClassTree& classes) {
    alternatives_.clear();
    parameters_.clear();
    for (const FindCriteria::Alternative& alternative : criteria.Alternatives()) {
        std::vector<Term> terms;
        for (const FindCriteria::Condition& condition : alternative) {
            Term term;
            if (condition.field == FindCriteria::kFieldCode &&
                (condition.valueType == FindCriteria::kShort || condition.valueType == FindCriteria::kLong)) {
                term.column = "code";
                term.op = SqlOperator(condition.comparison);
                parameters_.emplace_back(condition.value);
            } else if (condition.field == FindCriteria::kFieldClassCode &&
                       condition.valueType == FindCriteria::kClassCode) {
                term.column = "class_code";
                term.membership = true;
                parameters_.emplace_back(JsonArray(classes.ClassesWithin(static_cast<std::uint32_t>(condition.value))));
            } else {
                alternatives_.clear();
                parameters_.clear();
                return false;
            }
            if (term.op == nullptr) {
                alternatives_.clear();
                parameters_.clear();
                return false;
            }
            terms.push_back(term);
        }
        alternatives_.push_back(std::move(terms));
    }
    return !alternatives_.empty();
}

std::string AccountFilter::Sql(int firstIndex) const {
    std::string sql = "(";
    int index = firstIndex;
    for (std::size_t a = 0; a < alternatives_.size(); ++a) {
        sql.append(a != 0 ? " OR (" : "(");
        for (std::size_t t = 0; t < alternatives_[a].size(); ++t) {
            const Term& term = alternatives_[a][t];
            if (t != 0) sql.append(" AND ");
            sql.append(term.column);
            if (term.membership) {
                sql.append(" IN (SELECT value FROM json_each(?").append(std::to_string(index++)).append("))");
            } else {
                sql.append(" ").append(term.op).append(" ?").append(std::to_string(index++));
            }
        }
        sql.append(")");
    }
    sql.append(")");
    return sql;
}

void AccountFilter::Bind(BooksStatement& statement, int firstIndex) const {
    int index = firstIndex;
    for (const Parameter& parameter : parameters_) {
        if (const auto* number = std::get_if<std::int64_t>(&parameter))
            statement.Bind(index, *number);
        else
            statement.BindText(index, std::get<std::string>(parameter));
        ++index;
    }
}
