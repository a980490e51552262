#include "accounting_core/BooksDatabase.h"

#include <sqlite3.h>

#include <sys/stat.h>

#include "platform/MznRoot.h"

namespace {

const char* const kSchema = R"sql(
CREATE TABLE settings (
    key   TEXT PRIMARY KEY,
    value TEXT NOT NULL
);
CREATE TABLE data_sets (
    number       INTEGER PRIMARY KEY CHECK (number > 0),
    data_id      TEXT NOT NULL UNIQUE CHECK (length(data_id) BETWEEN 1 AND 15),
    name         TEXT NOT NULL,
    period_start INTEGER NOT NULL,
    period_end   INTEGER NOT NULL CHECK (period_end >= period_start),
    interim      INTEGER NOT NULL DEFAULT 0,
    intro_month  INTEGER NOT NULL DEFAULT 1,
    net_assets   INTEGER NOT NULL DEFAULT 1,
    tax_included INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE users (
    user_id      TEXT PRIMARY KEY CHECK (length(user_id) BETWEEN 1 AND 64),
    selected_no1 INTEGER NOT NULL DEFAULT 0,
    selected_no2 INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE class_lines (
    class_code  INTEGER PRIMARY KEY CHECK (class_code BETWEEN 0 AND 4294967295),
    parent_code INTEGER REFERENCES class_lines(class_code),
    name        TEXT NOT NULL,
    side        INTEGER NOT NULL CHECK (side IN (1, 2)),
    is_total    INTEGER NOT NULL DEFAULT 0,
    ordinal     INTEGER NOT NULL
);
CREATE TABLE accounts (
    data_set   INTEGER NOT NULL REFERENCES data_sets(number) ON DELETE CASCADE,
    account_id BLOB NOT NULL CHECK (length(account_id) = 16),
    code       INTEGER NOT NULL CHECK (code > 0),
    name       TEXT NOT NULL,
    class_code INTEGER NOT NULL,
    side       INTEGER NOT NULL CHECK (side IN (1, 2)),
    flag110    INTEGER NOT NULL DEFAULT 0,
    flag112    INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (data_set, account_id),
    UNIQUE (data_set, code)
);
CREATE TABLE period_sums (
    data_set    INTEGER NOT NULL,
    account_id  BLOB NOT NULL,
    period      INTEGER NOT NULL CHECK (period BETWEEN 0 AND 12 OR period IN (15, 18)),
    debit       INTEGER NOT NULL DEFAULT 0,
    credit      INTEGER NOT NULL DEFAULT 0,
    debit_incl  INTEGER NOT NULL DEFAULT 0,
    credit_incl INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (data_set, account_id, period),
    FOREIGN KEY (data_set, account_id) REFERENCES accounts(data_set, account_id) ON DELETE CASCADE
);
CREATE TABLE app_folders (
    type INTEGER PRIMARY KEY,
    path TEXT NOT NULL
);
CREATE TABLE faults (
    call   TEXT PRIMARY KEY,
    result INTEGER NOT NULL,
    after  INTEGER NOT NULL DEFAULT 0
);
)sql";

// The summation reads every account's period sums in account-code order:
// with the amounts in the index, it never visits the table's own rows. Books
// made before the index existed lack it; they read the same, only slower.
const char* const kIndexes =
    "CREATE INDEX IF NOT EXISTS period_sums_of_account"
    " ON period_sums (data_set, account_id, period, debit, credit, debit_incl, credit_incl)";

bool FileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

BooksDatabase::~BooksDatabase() { Close(); }

std::string BooksDatabase::DefaultPath() { return MznRoot::Path() + "/books.sqlite3"; }

bool BooksDatabase::Open(const std::string& hostPath, Mode mode) {
    Close();
    error_.clear();
    const bool exists = FileExists(hostPath);
    if (!exists && mode == Mode::Existing) return Fail("no books at " + hostPath);

    // A connection is used by one thread at a time: SQLite need not lock it
    // on every call (a walk reads about ten columns of 150,000 rows).
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(hostPath.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        Close();
        return Fail("cannot open the books " + hostPath + ": " + why);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    if (!Exec("PRAGMA foreign_keys = ON") || !CheckOrCreateSchema(!exists) ||
        (mode == Mode::Create && !Exec(kIndexes))) {
        std::string why = error_;
        Close();
        error_ = why;
        return false;
    }
    return true;
}

void BooksDatabase::Close() {
    if (db_ != nullptr) sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool BooksDatabase::Exec(const char* sql) {
    if (db_ == nullptr) return Fail("the books are not open");
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string why = message != nullptr ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        return Fail(why);
    }
    return true;
}

bool BooksDatabase::CheckOrCreateSchema(bool mayCreate) {
    // Reading the header pragmas is the first access to the file: a file
    // that is not a database, or is damaged, fails here.
    sqlite3_stmt* stmt = nullptr;
    int appId = 0;
    int version = 0;
    if (sqlite3_prepare_v2(db_, "PRAGMA application_id", -1, &stmt, nullptr) != SQLITE_OK ||
        sqlite3_step(stmt) != SQLITE_ROW) {
        sqlite3_finalize(stmt);
        return Fail(std::string("the books cannot be read: ") + sqlite3_errmsg(db_));
    }
    appId = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &stmt, nullptr) != SQLITE_OK ||
        sqlite3_step(stmt) != SQLITE_ROW) {
        sqlite3_finalize(stmt);
        return Fail(std::string("the books cannot be read: ") + sqlite3_errmsg(db_));
    }
    version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);

    if (appId == 0 && version == 0 && mayCreate) {
        if (!Exec("BEGIN IMMEDIATE")) return false;
        std::string pragmas = "PRAGMA application_id = " + std::to_string(kApplicationId) +
                              "; PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";";
        if (!Exec(kSchema) || !Exec(pragmas.c_str()) || !Exec("COMMIT")) {
            std::string why = error_;
            Exec("ROLLBACK");
            return Fail("cannot create the books: " + why);
        }
        return true;
    }
    if (appId != kApplicationId) return Fail("the file is not books of this system");
    if (version != kSchemaVersion)
        return Fail("the books have schema version " + std::to_string(version) + ", this program reads version " +
                    std::to_string(kSchemaVersion));
    // A damaged page shows up here rather than halfway through a walk.
    if (sqlite3_prepare_v2(db_, "PRAGMA quick_check(1)", -1, &stmt, nullptr) != SQLITE_OK ||
        sqlite3_step(stmt) != SQLITE_ROW) {
        sqlite3_finalize(stmt);
        return Fail(std::string("the books are damaged: ") + sqlite3_errmsg(db_));
    }
    const unsigned char* text = sqlite3_column_text(stmt, 0);
    std::string check = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    sqlite3_finalize(stmt);
    if (check != "ok") return Fail("the books are damaged: " + check);
    return true;
}

bool BooksDatabase::Fail(const std::string& what) {
    error_ = what;
    return false;
}
