#pragma once

#include <string>

struct sqlite3;

// The books behind the accounting core: one SQLite database,
// $MZN_ROOT/books.sqlite3. This class opens it safely, creates the schema for
// new books and checks the schema version of existing ones; the classes of the
// accounting core and the tool mzn-books run their own statements on it
// (BooksStatement).
//
// Tables (all text UTF-8, amounts in ten-thousandths of a yen, dates yyyymmdd):
//   settings(key, value)             'current_user' names the user when set
//   data_sets(number, data_id, name, period_start, period_end, interim,
//             intro_month, net_assets, tax_included)
//   users(user_id, selected_no1, selected_no2)
//   class_lines(class_code, parent_code, name, side, is_total, ordinal)
//                                    the class-code hierarchy (docs/class-codes.md)
//   accounts(data_set, account_id[16-byte blob], code, name, class_code, side,
//            flag110, flag112)       side 1 = debit, 2 = credit
//   period_sums(data_set, account_id, period, debit, credit, debit_incl,
//               credit_incl)         period 0 opening, 1-12 months, 15, 18
//   app_folders(type, path)          Windows paths, type 0 report, 1 conditions
//   faults(call, result, after)      forced results of the core's calls
class BooksDatabase {
public:
    static constexpr int kSchemaVersion = 1;
    // "MZNB": marks a file as books of this system.
    static constexpr int kApplicationId = 0x4D5A4E42;

    enum class Mode {
        Existing,  // the books must exist and carry the current schema
        Create,    // create the file and the schema when missing; add the indexes missing in older books
    };

    BooksDatabase() = default;
    ~BooksDatabase();
    BooksDatabase(const BooksDatabase&) = delete;
    BooksDatabase& operator=(const BooksDatabase&) = delete;

    // Host path of the books of the current MZN_ROOT.
    static std::string DefaultPath();

    // False, with Error() saying why, when the file is missing (Existing),
    // is not a database, is damaged, or has another schema version.
    bool Open(const std::string& hostPath, Mode mode);
    bool Open(Mode mode) { return Open(DefaultPath(), mode); }
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    sqlite3* Handle() const { return db_; }

    bool Exec(const char* sql);
    bool Begin() { return Exec("BEGIN IMMEDIATE"); }
    bool Commit() { return Exec("COMMIT"); }
    void Rollback() { Exec("ROLLBACK"); }

    const std::string& Error() const { return error_; }

private:
    bool CheckOrCreateSchema(bool mayCreate);
    bool Fail(const std::string& what);

    sqlite3* db_ = nullptr;
    std::string error_;
};
