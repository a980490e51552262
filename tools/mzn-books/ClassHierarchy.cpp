#include "tools/mzn-books/ClassHierarchy.h"

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "tools/mzn-books/Utf8Text.h"

namespace {

constexpr int D = ClassHierarchy::kDebit;
constexpr int C = ClassHierarchy::kCredit;
constexpr bool kTotal = true;
constexpr bool kLeaf = false;

// Statement order. A profit line follows its members, as the statement
// prints it; a group line (assets, sales, ...) precedes its members.
constexpr ClassHierarchy::Line kLines[] = {
    // Balance sheet: assets
    {0x80800000, 0, u8"資産", D, kTotal},
    {0x80880000, 0x80800000, u8"流動資産", D, kTotal},
    {0x80888000, 0x80880000, u8"現金及び預金", D, kLeaf},
    {0x80884000, 0x80880000, u8"売上債権", D, kLeaf},
    {0x80882000, 0x80880000, u8"棚卸資産", D, kLeaf},
    {0x80881000, 0x80880000, u8"その他の流動資産", D, kLeaf},
    {0x80840000, 0x80800000, u8"固定資産", D, kTotal},
    {0x80848000, 0x80840000, u8"有形固定資産", D, kLeaf},
    {0x80844000, 0x80840000, u8"無形固定資産", D, kLeaf},
    {0x80842000, 0x80840000, u8"投資その他の資産", D, kLeaf},
    {0x80820000, 0x80800000, u8"繰延資産", D, kLeaf},
    // Balance sheet: liabilities
    {0x80400000, 0, u8"負債", C, kTotal},
    {0x80480000, 0x80400000, u8"流動負債", C, kTotal},
    {0x80488000, 0x80480000, u8"仕入債務", C, kLeaf},
    {0x80484000, 0x80480000, u8"短期借入金", C, kLeaf},
    {0x80482000, 0x80480000, u8"その他の流動負債", C, kLeaf},
    {0x80481000, 0x80480000, u8"引当金", C, kLeaf},
    {0x80440000, 0x80400000, u8"固定負債", C, kTotal},
    {0x80448000, 0x80440000, u8"長期借入金", C, kLeaf},
    {0x80444000, 0x80440000, u8"その他の固定負債", C, kLeaf},
    // Balance sheet: net assets (capital), without the year's profit
    {0x80200000, 0, u8"純資産", C, kTotal},
    {0x80280000, 0x80200000, u8"株主資本", C, kTotal},
    {0x80288000, 0x80280000, u8"資本金", C, kLeaf},
    {0x80284000, 0x80280000, u8"資本剰余金", C, kLeaf},
    {0x80282000, 0x80280000, u8"利益剰余金", C, kLeaf},
    {0x80281000, 0x80280000, u8"自己株式", D, kLeaf},
    {0x80240000, 0x80200000, u8"評価・換算差額等", C, kLeaf},
    // Profit and loss: sales and cost of sales
    {0x40888000, 0x40880008, u8"売上高", C, kTotal},
    {0x40888800, 0x40888000, u8"商品・製品売上高", C, kLeaf},
    {0x40888400, 0x40888000, u8"介護事業収益", C, kLeaf},
    {0x40888200, 0x40888000, u8"その他の営業収益", C, kLeaf},
    {0x40888100, 0x40888000, u8"売上値引及び戻り高", D, kLeaf},
    {0x40884000, 0x40880008, u8"売上原価", D, kTotal},
    {0x40884800, 0x40884000, u8"期首棚卸高", D, kLeaf},
    {0x40884400, 0x40884000, u8"当期仕入高", D, kLeaf},
    {0x40884200, 0x40884000, u8"事業原価", D, kLeaf},
    {0x40884100, 0x40884000, u8"期末棚卸高", C, kLeaf},
    {0x40880008, 0x40880000, u8"売上総利益", C, kTotal},
    // Selling, general and administrative expenses; operating profit
    {0x40882000, 0x40880000, u8"販売費及び一般管理費", D, kTotal},
    {0x40882800, 0x40882000, u8"人件費", D, kLeaf},
    {0x40882400, 0x40882000, u8"販売費", D, kLeaf},
    {0x40882200, 0x40882000, u8"一般管理費", D, kLeaf},
    {0x40882100, 0x40882000, u8"減価償却費", D, kLeaf},
    {0x40880000, 0x40800000, u8"営業利益", C, kTotal},
    // Non-operating income and expenses; ordinary profit
    {0x40848000, 0x40840000, u8"営業外収益", C, kTotal},
    {0x40848800, 0x40848000, u8"受取利息及び配当金", C, kLeaf},
    {0x40848400, 0x40848000, u8"その他の営業外収益", C, kLeaf},
    {0x40844000, 0x40840000, u8"営業外費用", D, kTotal},
    {0x40844800, 0x40844000, u8"支払利息", D, kLeaf},
    {0x40844400, 0x40844000, u8"その他の営業外費用", D, kLeaf},
    {0x40840000, 0x40800000, u8"営業外損益", C, kTotal},
    {0x40800000, 0x40200080, u8"経常利益", C, kTotal},
    // Extraordinary profit and loss; profit before tax
    {0x40480000, 0x40400000, u8"特別利益", C, kTotal},
    {0x40488000, 0x40480000, u8"固定資産売却益", C, kLeaf},
    {0x40484000, 0x40480000, u8"その他の特別利益", C, kLeaf},
    {0x40440000, 0x40400000, u8"特別損失", D, kTotal},
    {0x40448000, 0x40440000, u8"固定資産売却損及び除却損", D, kLeaf},
    {0x40444000, 0x40440000, u8"その他の特別損失", D, kLeaf},
    {0x40400000, 0x40200080, u8"特別損益", C, kTotal},
    {0x40200080, 0x40000080, u8"税引前当期純利益", C, kTotal},
    // Taxes on income; the year's profit
    {0x40100000, 0x40000080, u8"法人税等", D, kLeaf},
    {0x40000080, 0, u8"当期純利益", C, kTotal},
};

}  // namespace

std::span<const ClassHierarchy::Line> ClassHierarchy::Lines() {
    return kLines;
}

bool ClassHierarchy::Install(BooksDatabase& books, std::string& error) {
    // Profit lines are listed after their members, so a parent may come
    // later than its child: the parent references are checked at commit.
    if (!books.Exec("PRAGMA defer_foreign_keys = ON")) {
        error = books.Error();
        return false;
    }
    BooksStatement upsert(books.Handle(),
                          "INSERT INTO class_lines (class_code, parent_code, name, side, is_total, ordinal) "
                          "VALUES (?1, ?2, ?3, ?4, ?5, ?6) "
                          "ON CONFLICT (class_code) DO UPDATE SET parent_code = excluded.parent_code, "
                          "name = excluded.name, side = excluded.side, is_total = excluded.is_total, "
                          "ordinal = excluded.ordinal");
    if (!upsert.Ok()) {
        error = upsert.Error();
        return false;
    }
    std::int64_t ordinal = 0;
    for (const Line& line : kLines) {
        ordinal += 10;
        upsert.Bind(1, line.code);
        if (line.parent != 0)
            upsert.Bind(2, line.parent);
        else
            upsert.BindNull(2);
        upsert.BindText(3, Utf8Text::From(line.name)).Bind(4, line.side).Bind(5, line.isTotal ? 1 : 0).Bind(6, ordinal);
        if (!upsert.Run()) {
            error = upsert.Error();
            return false;
        }
    }
    return true;
}
