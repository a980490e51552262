#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Diagnostics;

// A chart of accounts as the import reads it (docs/books-formats.md):
// UTF-8 CSV, a header that names the columns code, sub, name, class_code and
// side (in any order, in English or Japanese, see ImportColumns) and one
// account a line. Two further columns are read when the header names them:
// "flag110" (1 = the account is not in use) and "flag112" (1 = a heading
// account that takes no amounts); the others are ignored. The sub column may
// be missing (main accounts only). The class is a class code or the name of
// a section of the statements, which the importer resolves.
//
// The reader checks everything a file can get wrong on its own: the fields,
// accounts listed twice, sub-accounts without their main account or with
// another class code or side than it. Whether the class codes exist is a
// matter of the books (BooksImporter).
class AccountsFile {
public:
    static constexpr std::string_view kHeader = "code,sub,name,class_code,side";
    static constexpr std::int64_t kMaxCode = 214748;
    static constexpr std::int64_t kMaxSub = 9999;
    // The largest code the books keep: code x 10000 + sub is an int32.
    static constexpr std::int64_t kMaxStoredCode = 2147483647;
    static constexpr std::size_t kMaxNameBytes = 50;  // in code page 932

    enum Side { kDebit = 1, kCredit = 2 };

    struct Row {
        std::size_t line = 0;
        std::int32_t code = 0;  // as users see it
        std::int32_t sub = 0;   // 0 for a main account
        std::string name;       // UTF-8
        std::uint32_t classCode = 0;
        std::string section;  // UTF-8: the section name given in place of a class code, else empty
        int side = kDebit;
        int flag110 = 0;
        int flag112 = 0;

        // The code the books keep: code x 10000 + sub.
        std::int64_t StoredCode() const { return static_cast<std::int64_t>(code) * 10000 + sub; }
    };

    // The accounts of a file in file order; every problem goes to
    // diagnostics under fileName. Rows with problems are left out, so the
    // result is only usable when diagnostics stayed empty.
    static std::vector<Row> Parse(std::string_view text, const std::string& fileName, Diagnostics& diagnostics);

    // The account of the code and sub fields of a line of either import
    // file (an empty sub is 0); false with the reason when they name none.
    static bool ReadAccount(std::string_view codeField, std::string_view subField, std::int64_t& code,
                            std::int64_t& sub, std::string& reason);
    // A field's text as an error message quotes it.
    static std::string Quoted(std::string_view text);

    // "1110" for a main account, "1140 (sub 1)" for a sub-account.
    static std::string Label(std::int64_t code, std::int64_t sub);

    // Why a name cannot be an account name (empty when it can): it must be
    // UTF-8 with a code page 932 form of at most kMaxNameBytes bytes and no
    // control characters.
    static std::string NameProblem(std::string_view utf8);
};
