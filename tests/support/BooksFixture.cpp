#include "tests/support/BooksFixture.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>

#include "tests/support/CoreSession.h"

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClFileMgr.h"
#include "accounting_core/ClLinkMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "tests/support/BooksTool.h"

void BooksFixture::SetUp() {
    CoreSession::End();
    ASSERT_TRUE(db_.Open(BooksDatabase::Mode::Create)) << db_.Error();
}

void BooksFixture::TearDown() {
    CoreSession::End();
    db_.Close();
}

void BooksFixture::Sql(const std::string& sql) { ASSERT_TRUE(db_.Exec(sql.c_str())) << sql << ": " << db_.Error(); }

void BooksFixture::AddDataSet(int number, const std::string& dataId, const char8_t* name, int start, int end,
                              int interim, int introMonth, int netAssets, int taxIncluded) {
    BooksStatement insert(db_.Handle(),
                          "INSERT INTO data_sets (number, data_id, name, period_start, period_end, interim,"
                          " intro_month, net_assets, tax_included) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    insert.Bind(1, number).BindText(2, dataId).BindText(3, U8(name)).Bind(4, start).Bind(5, end);
    insert.Bind(6, interim).Bind(7, introMonth).Bind(8, netAssets).Bind(9, taxIncluded);
    ASSERT_TRUE(insert.Run()) << insert.Error();
}

void BooksFixture::SelectFor(const char8_t* userId, int selectedNo1, int selectedNo2) {
    BooksStatement insert(db_.Handle(),
                          "INSERT OR REPLACE INTO users (user_id, selected_no1, selected_no2) VALUES (?1, ?2, ?3)");
    insert.BindText(1, U8(userId)).Bind(2, selectedNo1).Bind(3, selectedNo2);
    ASSERT_TRUE(insert.Run()) << insert.Error();
}

void BooksFixture::SetCurrentUser(const char8_t* userId) {
    BooksStatement insert(db_.Handle(), "INSERT OR REPLACE INTO settings (key, value) VALUES ('current_user', ?1)");
    insert.BindText(1, U8(userId));
    ASSERT_TRUE(insert.Run()) << insert.Error();
}

void BooksFixture::AddClassLine(std::uint32_t code, std::uint32_t parent, const char8_t* name, int side,
                                bool isTotal, int ordinal) {
    BooksStatement insert(db_.Handle(),
                          "INSERT INTO class_lines (class_code, parent_code, name, side, is_total, ordinal)"
                          " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    insert.Bind(1, code);
    if (parent != 0)
        insert.Bind(2, parent);
    else
        insert.BindNull(2);
    insert.BindText(3, U8(name)).Bind(4, side).Bind(5, isTotal ? 1 : 0).Bind(6, ordinal);
    ASSERT_TRUE(insert.Run()) << insert.Error();
}

void BooksFixture::AddAccount(int dataSet, int seed, int code, const char8_t* name, std::uint32_t classCode,
                              int side, int flag110, int flag112) {
    std::array<std::uint8_t, 16> id = AccountId(seed);
    BooksStatement insert(db_.Handle(),
                          "INSERT INTO accounts (data_set, account_id, code, name, class_code, side, flag110,"
                          " flag112) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    insert.Bind(1, dataSet).BindBlob(2, id.data(), id.size()).Bind(3, code).BindText(4, U8(name));
    insert.Bind(5, classCode).Bind(6, side).Bind(7, flag110).Bind(8, flag112);
    ASSERT_TRUE(insert.Run()) << insert.Error();
}

void BooksFixture::AddSums(int dataSet, int seed, int period, std::int64_t debit, std::int64_t credit,
                           std::int64_t debitIncl, std::int64_t creditIncl) {
    std::array<std::uint8_t, 16> id = AccountId(seed);
    BooksStatement insert(db_.Handle(),
                          "INSERT INTO period_sums (data_set, account_id, period, debit, credit, debit_incl,"
                          " credit_incl) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    insert.Bind(1, dataSet).BindBlob(2, id.data(), id.size()).Bind(3, period);
    insert.Bind(4, debit).Bind(5, credit).Bind(6, debitIncl).Bind(7, creditIncl);
    ASSERT_TRUE(insert.Run()) << insert.Error();
}

void BooksFixture::AddFault(const std::string& call, int result, int after) {
    BooksStatement insert(db_.Handle(), "INSERT OR REPLACE INTO faults (call, result, after) VALUES (?1, ?2, ?3)");
    insert.BindText(1, call).Bind(2, result).Bind(3, after);
    ASSERT_TRUE(insert.Run()) << insert.Error();
}

void BooksFixture::AddSelectedDataSet() {
    AddDataSet(1, "D0001", u8"株式会社テスト", 20170401, 20180331);
    SetCurrentUser(u8"tester");
    SelectFor(u8"tester", 7, 1);
}

int BooksFixture::Connect() { return ClAccConnect::Inst()->Initiate(); }

void BooksFixture::ConnectToSmallBooks() {
    ASSERT_EQ(BooksTool::ImportSmallBooks(root_ / "io"), 1);
    ASSERT_EQ(Connect(), core_result::kOk) << ClAccConnect::Inst()->LastError();
}

void BooksFixture::SetAppFolder(int type, const std::string& utf8Path) {
    BooksStatement insert(db_.Handle(), "INSERT OR REPLACE INTO app_folders (type, path) VALUES (?1, ?2)");
    insert.Bind(1, type).BindText(2, utf8Path);
    ASSERT_TRUE(insert.Run()) << insert.Error();
}

ClSetKamoku* BooksFixture::Accounts() {
    return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, ClDataMgr::kShared));
}

ClSetData* BooksFixture::DataSets() {
    return static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, ClDataMgr::kShared));
}

ClSetShohizei* BooksFixture::TaxSettings() {
    return static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kShohizei, ClDataMgr::kShared));
}

std::array<std::uint8_t, 16> BooksFixture::AccountId(int seed) {
    std::array<std::uint8_t, 16> id{};
    for (std::size_t i = 0; i < id.size(); ++i) id[i] = static_cast<std::uint8_t>(seed * 31 + i * 7 + 1);
    return id;
}

std::vector<StKAMOKUSUMINFO> BooksFixture::SummaryWalk(const std::vector<StFINDINFO>& criteria, const char* dataId) {
    using namespace core_result;
    std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
    EXPECT_NE(rule, nullptr);
    if (!rule) return {};
    std::int32_t count = -1;
    EXPECT_EQ(rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), kOk);
    EXPECT_EQ(rule->SetCurDataID(dataId), kOk);
    EXPECT_EQ(rule->AttachOptLink(ClLinkMgr::Inst()->GetOptLink()), kOk);
    EXPECT_EQ(rule->MoveReady(1, 0, 0, criteria.empty() ? nullptr : criteria.data(), nullptr, 0), kOk);
    EXPECT_EQ(rule->GetSumCount(&count), kOk);
    EXPECT_EQ(rule->SetMovePos(0), kOk);
    // count records, then the end.
    std::vector<StKAMOKUSUMINFO> records(std::max(count, 0) + 1);
    for (StKAMOKUSUMINFO& r : records) EXPECT_EQ(rule->MoveNext(&r), &r == &records.back() ? kEndOfSums : kOk);
    records.pop_back();
    EXPECT_EQ(rule->MoveFinish(), kOk);
    return records;
}

std::string BooksFixture::SummaryLine(const StKAMOKUSUMINFO& r) {
    const bool total = r.Summary == 1;
    std::uint8_t id[16] = {'M', 'Z', 'N', 'A'};
    if (total) std::memset(id, 0xFF, 12);
    const auto key = total ? r.ClassCode : static_cast<std::uint32_t>(r.Code);
    for (int i = 0; i < 4; ++i) id[(total ? 12 : 4) + i] = static_cast<std::uint8_t>(key >> (24 - 8 * i));
    const bool shaped = r.Flag126 == 0 && r.Flag127 == r.Summary && r.Summary <= 1 && !std::memcmp(r.Id, id, 16);
    char head[40];
    std::snprintf(head, sizeof head, "%s%c %d %08X %c", shaped ? "" : "?", total ? 'T' : 'A', r.Code, r.ClassCode,
                  r.BalanceSide == 1 ? 'D' : 'C');
    auto yen = [](std::int64_t amount) {
        return amount % 10000 ? std::to_string(amount) + "e-4" : std::to_string(amount / 10000);
    };
    std::string line = head;
    for (int s = 0; s < StKAMOKUSUMINFO::kSlots; ++s) {
        const std::int64_t d = r.DebitExcl[s], c = r.CreditExcl[s], di = r.DebitIncl[s], ci = r.CreditIncl[s];
        if (d != 0 || c != 0 || di != 0 || ci != 0) line += " " + std::to_string(s) + ":" + yen(d) + "/" + yen(c);
        if (di != d || ci != c) line += "(" + yen(di) + "/" + yen(ci) + ")";
    }
    return line;
}

std::vector<std::string> BooksFixture::SummaryLines(const std::vector<StKAMOKUSUMINFO>& records) {
    std::vector<std::string> lines;
    for (const StKAMOKUSUMINFO& record : records) lines.push_back(SummaryLine(record));
    return lines;
}

std::vector<std::string> BooksFixture::GoldenLines(const std::string& relative) {
    std::istringstream file(testfiles::ReadFile(BooksTool::DataFile(relative)));
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    return lines;
}
