#!/usr/bin/env python3
"""Writes the item-definition and default-mapping files of the three editions.

The .dat files beside this script are what ships: code page 932, every line
ended by CR LF, one section "[共通様式]" closed by "[終了]". They are kept in
git as written here (see .gitattributes); run this script after changing the
tables below and commit its output:

    python3 editions/data/make-data-files.py

The items follow the national form 法人事業概況説明書: 主要科目 (main items)
and 月別の売上高等の状況 (monthly items). Their numbers are fixed by the pages
of the condition sheet:

    UG30  1-36 main items, 37-44 monthly items
    UG16  1-35 main items, 36-43 monthly items; the form before 2018 had one
          item 特別損益 (18, mapped to accounts by the user) where UG30 has
          特別利益 (18) and 特別損失 (19), so UG16 numbers from 19 on are the
          UG30 numbers less one.

Item lines:     <ItemNo>/<BalanceSide>/<ClassCodes>/<Caption>/<Tag>;
Mapping lines:  <ItemNo>/<token>,<token>,...,

BalanceSide 1 is the debit side and 2 the credit side: an account on the
item's side adds its balance, one on the other side subtracts it (so 仕入値引高
lowers 原材料費 and 売上値引高 lowers sales). ClassCodes are lines of the
class-code hierarchy (docs/class-codes.md); the mapping dialog lists the
accounts in those classes and below them. Items that show a statement total
carry its class code, though the user never maps them.

Statement totals come from their TotalKeys, the other items from the
standard chart (tools/mzn-books/data/standard-chart.csv): only main accounts
in use, never a heading account (it takes no amounts) nor a sub-account (its
amounts are part of its main account already).

"SOREIGAI" and "SONOTAFUSAI" are used by neither version. They give the
assets less the items numbered 18 to 24 and the liabilities less the items
numbered 26 to 29. In UG16 those are 特別損益 to 棚卸資産 and 建物 to 土地, in
UG30 特別利益 to 売掛金 and 貸付金 to 車両・船舶: profit items and totals mixed
with asset items, and asset items where liability items would be needed.
Neither range fits either version, and the form has no "other assets" or
"other liabilities" item to receive such a remainder. Assets, liabilities and net assets come whole from
"SISAN", "FUSAI" and "SIHON".

Monthly items: the form's columns 源泉徴収税額 (tax withheld in the month)
and 従事員数 (headcount) cannot be aggregated from period sums (a month's
credit less debit on the withholding account is what was withheld less what
was paid over), so they are "-" items: disabled on the page and never
written. 電気代 and 水道代 take the standard chart's 6381 電気料 and 6382
水道料; 6380 水道光熱費 keeps the rest (gas, fuel) and feeds neither.

The editions differ in what counts as a side business (うち兼業売上（収入）高):
the care-facility edition's main business is care, so its side business is
the shop (4110 商品売上高) and contract work (4310 受託事業収入); for the
standard and top editions the main business is the sale of goods and the
side businesses are care services (4210-4270) and contract work. Everything
else, the care revenues in the monthly sales included, is the same for all.
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))

DEBIT, CREDIT = 1, 2

SALES_LINES = [0x40888800, 0x40888400, 0x40888200]
CARE_REVENUE = [4210, 4220, 4230, 4240, 4250, 4260, 4270]
ALL_SALES = [4110] + CARE_REVENUE + [4310, 4410, 4420]
PURCHASES = [5210, 5220, 5310, 5320]
PAYROLL = [5350, 6110, 6120, 6130]
EXPENSES = [0x40882200, 0x40884200]
BORROWINGS = [0x80484000, 0x80448000]

# (ItemNo, side, class codes, caption, tag, defaults) of UG30. A default is an
# account code of the standard chart or a TotalKey; "SIDE" stands for the
# edition's side-business accounts.
UG30_ITEMS = [
    (1, CREDIT, [0x40888000], "売上（収入）高", "URIAGEDAKA", ["URIAGEDAKA"]),
    (2, CREDIT, SALES_LINES, "うち兼業売上（収入）高", "KENGYOUURIAGEDAKA", ["SIDE"]),
    (3, DEBIT, [0x40884000], "売上（収入）原価", "URIAGEGENKA", ["URIAGEGENKA"]),
    (4, DEBIT, [0x40884800], "期首棚卸高", "KISYUTANAOROSIDAKA", [5110]),
    (5, DEBIT, [0x40884400, 0x40884200], "原材料費（仕入高）", "GENZAIRYOUHI", PURCHASES),
    (6, DEBIT, [0x40884200], "労務費", "ROUMUHI", [5350]),
    (7, DEBIT, [0x40884200], "外注費", "GAITYUUHI", [5330]),
    (8, DEBIT, [0x40884200], "減価償却費", "GENKAGENKASYOUKYAKUHI", []),
    (9, DEBIT, [0x40884200], "地代家賃", "GENKATIDAIYATIN", []),
    (10, CREDIT, [0x40884100], "期末棚卸高", "KIMATUTANAOROSIDAKA", [5410]),
    (11, CREDIT, [0x40880008], "売上総利益", "URIAGESOURIEKI", ["URIAGESOURIEKI"]),
    (12, DEBIT, [0x40882800], "役員報酬", "YAKUINHOUSYUU", [6110]),
    (13, DEBIT, [0x40882800], "従業員給料", "ZYUUGYOUINKYUURYOU", [6120, 6130]),
    (14, DEBIT, [0x40882200], "交際費", "KOUSAIHI", [6330]),
    (15, DEBIT, [0x40882100], "減価償却費", "HANKANGENKASYOUKYAKUHI", [6510]),
    (16, DEBIT, [0x40882200], "地代家賃", "HANKANTIDAIYATIN", [6390]),
    (17, CREDIT, [0x40880000], "営業損益", "EIGYOUSONEKI", ["EIGYOUSONEKI"]),
    (18, CREDIT, [0x40480000], "特別利益", "TOKUBETURIEKI", ["TOKUBETURIEKI"]),
    (19, DEBIT, [0x40440000], "特別損失", "TOKUBETUSONSITU", ["TOKUBETUSONSITU"]),
    (20, CREDIT, [0x40200080], "税引前当期損益", "ZEIBIKIMAETOUKISONEKI", ["ZEIBIKIMAE"]),
    (21, DEBIT, [0x80800000], "資産の部合計", "SISANNOBUGOUKEI", ["SISAN"]),
    (22, DEBIT, [0x80888000], "現金預金", "GENKINYOKIN", [1110, 1120, 1130, 1140, 1150]),
    (23, DEBIT, [0x80884000], "受取手形", "UKETORITEGATA", [1210]),
    (24, DEBIT, [0x80884000], "売掛金", "URIKAKEKIN", [1220, 1230, 1240]),
    (25, DEBIT, [0x80882000], "棚卸資産", "TANAOROSISISAN", [1310, 1320]),
    (26, DEBIT, [0x80881000, 0x80842000], "貸付金", "KASITUKEKIN", [1430, 1730]),
    (27, DEBIT, [0x80848000], "建物", "TATEMONO", [1510, 1520]),
    (28, DEBIT, [0x80848000], "機械装置", "KIKAISOUTI", [1540]),
    (29, DEBIT, [0x80848000], "車両・船舶", "SYARYOUSENPAKU", [1550]),
    (30, DEBIT, [0x80848000], "土地", "TOTI", [1570]),
    (31, CREDIT, [0x80400000], "負債の部合計", "FUSAINOBUGOUKEI", ["FUSAI"]),
    (32, CREDIT, [0x80488000], "支払手形", "SIHARAITEGATA", [2110]),
    (33, CREDIT, [0x80488000], "買掛金", "KAIKAKEKIN", [2120]),
    (34, CREDIT, BORROWINGS, "個人借入金", "KOZINKARIIREKIN", [2520]),
    (35, CREDIT, BORROWINGS, "その他借入金", "SONOTAKARIIREKIN", [2210, 2510]),
    (36, CREDIT, [0x80200000], "純資産の部合計", "ZYUNSISANNOBUGOUKEI", ["SIHON"]),
    (37, CREDIT, SALES_LINES + [0x40888100], "売上（収入）金額", "TUKIURIAGEKINGAKU", ALL_SALES),
    (38, DEBIT, [0x40884400, 0x40884200], "仕入金額", "TUKISIIREKINGAKU", PURCHASES),
    (39, DEBIT, [0x40884200, 0x40882200], "外注費", "TUKIGAITYUUHI", [5330]),
    (40, DEBIT, [0x40882800, 0x40884200], "人件費", "TUKIZINKENHI", PAYROLL),
    (41, DEBIT, EXPENSES, "電気代", "TUKIDENKIDAI", [6381]),
    (42, DEBIT, EXPENSES, "水道代", "TUKISUIDOUDAI", [6382]),
    (43, DEBIT, [0], "-", "-", []),  # 源泉徴収税額
    (44, DEBIT, [0], "-", "-", []),  # 従事員数
]

EXTRAORDINARY_LINES = [0x40488000, 0x40484000, 0x40448000, 0x40444000]


def ug16_items():
    """UG30 with 特別利益 and 特別損失 joined into one account-fed item 18."""
    items = [item for item in UG30_ITEMS if item[0] <= 17]
    items.append((18, CREDIT, EXTRAORDINARY_LINES, "特別損益", "TOKUBETUSONEKI", [7310, 7320, 7410, 7420, 7430]))
    for number, side, codes, caption, tag, defaults in UG30_ITEMS:
        if number >= 20:
            items.append((number - 1, side, codes, caption, tag, defaults))
    return items


EDITIONS = {
    "MznAld20": [4110, 4310],           # care facilities: the shop and contract work
    "MznBrc20": CARE_REVENUE + [4310],  # standard: care services and contract work
    "MznCdr20": CARE_REVENUE + [4310],  # top: as standard
}


def section(lines):
    return "\r\n".join(["[共通様式]"] + lines + ["[終了]", ""]).encode("cp932")


def item_line(number, side, codes, caption, tag):
    code_text = "+".join("%X" % code for code in codes)
    return "%d/%d/%s/%s/%s;" % (number, side, code_text, caption, tag)


def mapping_line(number, defaults, side_business):
    tokens = []
    for default in defaults:
        tokens.extend(side_business if default == "SIDE" else [default])
    return "%d/%s" % (number, "".join("%s," % token for token in tokens))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(data)


def main():
    for prefix, side_business in EDITIONS.items():
        for version, items in (("Ug16", ug16_items()), ("Ug30", UG30_ITEMS)):
            write("%sTo%s_G_GaiKmk.dat" % (prefix, version),
                  section([item_line(*item[:5]) for item in items]))
            write("%sTo%s_G_DefKmk.dat" % (prefix, version),
                  section([mapping_line(item[0], item[5], side_business) for item in items if item[5]]))


if __name__ == "__main__":
    main()
