#include "tests/support/BooksQuery.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"

namespace {

std::string ColumnText(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL: return "NULL";
    case SQLITE_BLOB: {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(statement, column));
        std::string hex;
        for (int i = 0; i < sqlite3_column_bytes(statement, column); ++i) {
            hex += kDigits[bytes[i] >> 4];
            hex += kDigits[bytes[i] & 0xF];
        }
        return hex;
    }
    default: {
        const unsigned char* text = sqlite3_column_text(statement, column);
        return text != nullptr ? reinterpret_cast<const char*>(text) : "";
    }
    }
}

}  // namespace

std::vector<std::vector<std::string>> BooksQuery::Rows(const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    BooksDatabase books;
    if (!books.Open(BooksDatabase::Mode::Existing)) {
        ADD_FAILURE() << books.Error();
        return rows;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(books.Handle(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(books.Handle()) << " in " << sql;
        return rows;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int column = 0; column < sqlite3_column_count(statement); ++column)
            row.push_back(ColumnText(statement, column));
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
}

std::int64_t BooksQuery::Number(const std::string& sql) {
    BooksDatabase books;
    if (!books.Open(BooksDatabase::Mode::Existing)) {
        ADD_FAILURE() << books.Error();
        return -1;
    }
    BooksStatement statement(books.Handle(), sql.c_str());
    if (statement.Step() != BooksStatement::StepResult::Row) {
        ADD_FAILURE() << statement.Error() << " in " << sql;
        return -1;
    }
    return statement.Int(0);
}

std::string BooksQuery::Dump() {
    static const char* const kTables[] = {
        "SELECT * FROM settings ORDER BY key",
        "SELECT * FROM data_sets ORDER BY number",
        "SELECT * FROM users ORDER BY user_id",
        "SELECT * FROM class_lines ORDER BY class_code",
        "SELECT * FROM accounts ORDER BY data_set, account_id",
        "SELECT * FROM period_sums ORDER BY data_set, account_id, period",
        "SELECT * FROM app_folders ORDER BY type",
        "SELECT * FROM faults ORDER BY call",
    };
    std::string dump;
    for (const char* sql : kTables) {
        dump += std::string("## ") + sql + "\n";
        for (const auto& row : Rows(sql)) {
            for (const std::string& column : row) dump += column + "|";
            dump += "\n";
        }
    }
    return dump;
}

void BooksQuery::Exec(const std::string& sql) {
    BooksDatabase books;
    ASSERT_TRUE(books.Open(BooksDatabase::Mode::Existing)) << books.Error();
    ASSERT_TRUE(books.Exec(sql.c_str())) << books.Error();
}
