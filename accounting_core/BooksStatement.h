#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// One prepared SQL statement of the books, finalised with the object.
// Text columns are UTF-8 as stored; the accounting core converts them to
// code page 932 where it fills records.
class BooksStatement {
public:
    enum class StepResult { Row, Done, Error };

    BooksStatement(sqlite3* db, const char* sql);
    ~BooksStatement();
    BooksStatement(const BooksStatement&) = delete;
    BooksStatement& operator=(const BooksStatement&) = delete;

    bool Ok() const { return stmt_ != nullptr; }

    // Parameters are numbered from 1, as SQLite numbers them.
    BooksStatement& Bind(int index, std::int64_t value);
    BooksStatement& BindText(int index, std::string_view utf8);
    BooksStatement& BindBlob(int index, const void* data, std::size_t size);
    BooksStatement& BindNull(int index);

    StepResult Step();
    // Steps to the one row a lookup expects: core_result::kOk on a row (its
    // columns can then be read), noRow when there is none, kBooksError when
    // the books fail.
    int StepToRow(int noRow);
    // Steps once and expects no row: for INSERT, UPDATE and DELETE.
    bool Run();
    void Reset();

    // Columns are numbered from 0.
    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    // Copies at most size bytes of a blob column, zero-filling the rest;
    // returns the blob's own length.
    std::size_t Blob(int column, void* out, std::size_t size) const;
    bool IsNull(int column) const;

    // SQLite's message for the last failure of this statement or its preparation.
    const std::string& Error() const { return error_; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::string error_;
};
