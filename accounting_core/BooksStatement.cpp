#include "accounting_core/BooksStatement.h"

#include "accounting_core/CoreResult.h"

#include <sqlite3.h>

#include <cstring>

BooksStatement::BooksStatement(sqlite3* db, const char* sql) : db_(db) {
    if (db_ == nullptr) {
        error_ = "the books are not open";
        return;
    }
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
        error_ = sqlite3_errmsg(db_);
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

BooksStatement::~BooksStatement() { sqlite3_finalize(stmt_); }

BooksStatement& BooksStatement::Bind(int index, std::int64_t value) {
    if (stmt_ != nullptr) sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

BooksStatement& BooksStatement::BindText(int index, std::string_view utf8) {
    if (stmt_ != nullptr)
        sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

BooksStatement& BooksStatement::BindBlob(int index, const void* data, std::size_t size) {
    if (stmt_ != nullptr) sqlite3_bind_blob(stmt_, index, data, static_cast<int>(size), SQLITE_TRANSIENT);
    return *this;
}

BooksStatement& BooksStatement::BindNull(int index) {
    if (stmt_ != nullptr) sqlite3_bind_null(stmt_, index);
    return *this;
}

BooksStatement::StepResult BooksStatement::Step() {
    if (stmt_ == nullptr) return StepResult::Error;
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return StepResult::Row;
    if (rc == SQLITE_DONE) return StepResult::Done;
    error_ = sqlite3_errmsg(db_);
    return StepResult::Error;
}

int BooksStatement::StepToRow(int noRow) {
    switch (Step()) {
    case StepResult::Row:
        return core_result::kOk;
    case StepResult::Done:
        return noRow;
    case StepResult::Error:
        break;
    }
    return core_result::kBooksError;
}

bool BooksStatement::Run() {
    StepResult result = Step();
    Reset();
    return result == StepResult::Done;
}

void BooksStatement::Reset() {
    if (stmt_ == nullptr) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t BooksStatement::Int(int column) const {
    return stmt_ != nullptr ? sqlite3_column_int64(stmt_, column) : 0;
}

std::string BooksStatement::Text(int column) const {
    if (stmt_ == nullptr) return std::string();
    const unsigned char* text = sqlite3_column_text(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size))
                           : std::string();
}

std::size_t BooksStatement::Blob(int column, void* out, std::size_t size) const {
    std::memset(out, 0, size);
    if (stmt_ == nullptr) return 0;
    const void* blob = sqlite3_column_blob(stmt_, column);
    std::size_t length = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
    if (blob != nullptr) std::memcpy(out, blob, length < size ? length : size);
    return length;
}

bool BooksStatement::IsNull(int column) const {
    return stmt_ == nullptr || sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
