#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the books of the test's MZN_ROOT with plain SQL, independently of
// what mzn-books does, so that tests check the stored rows themselves.
class BooksQuery {
public:
    // The first column of the first row, as a number; fails the test when
    // the books or the statement cannot be read.
    static std::int64_t Number(const std::string& sql);
    // Every row, every column as text (NULL as "NULL", blobs in hexadecimal).
    static std::vector<std::vector<std::string>> Rows(const std::string& sql);
    // Every row of every table in key order: equal dumps are equal books.
    static std::string Dump();
    // Runs statements that change the books (test set-ups only).
    static void Exec(const std::string& sql);
};
