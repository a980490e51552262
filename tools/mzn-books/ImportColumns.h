#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The columns of the import files and the names their header may give them:
// this program's own English names and the Japanese ones that accounting
// packages export (docs/books-formats.md has the table). A header names its
// columns in any order; names compare without regard to the case of Latin
// letters and to the blanks around them. Columns with other names are
// ignored.
class ImportColumns {
public:
    // In the order of the table: the chart of accounts, the trial balance
    // of one line a period, the wide monthly layout.
    enum class Column {
        Code, Sub, Name, ClassCode, Side, Flag110, Flag112,
        Period, Debit, Credit, DebitIncl, CreditIncl,
        Opening, Interim, Closing,
    };

    struct Names {
        Column column;
        std::span<const std::u8string_view> names;  // the first is the English one
    };

    // Every column with its accepted names, in the order above.
    static std::span<const Names> Table();
    // The English name of a column ("class_code").
    static std::string_view EnglishName(Column column);

    // The column a header field names, if any.
    static std::optional<Column> Find(std::string_view field);

    // A month column of the wide layout: "4月" (the calendar month, also with
    // full-width digits) or "Apr" give the calendar month in calendarMonth;
    // "1" to "12" give the month's position in the fiscal year in position.
    // False for any other name.
    static bool FindMonth(std::string_view field, int& calendarMonth, int& position);

    // Where each column stands in a header: the index of its first field.
    class Positions {
    public:
        explicit Positions(const std::vector<std::string>& header);
        std::optional<std::size_t> Of(Column column) const;
        // The English names of the columns of required that the header
        // lacks, separated by commas; empty when it has them all.
        std::string Missing(std::span<const Column> required) const;
        // The fields a line needs to reach every column of required.
        std::size_t FieldsNeeded(std::span<const Column> required) const;
        // The field of a column in a line; empty when the column is missing.
        std::string_view Field(const std::vector<std::string>& fields, Column column) const;
        // The positions a file's header gives; false and the reason when it
        // lacks a column of required (englishHeader: the file's own header).
        static bool Read(const std::vector<std::string>& header, std::span<const Column> required,
                         std::string_view englishHeader, Positions& columns, std::string& reason);
        bool Any() const { return any_; }

    private:
        std::optional<std::size_t> index_[static_cast<int>(Column::Closing) + 1];
        bool any_ = false;
    };
};
