#include "tools/mzn-books/DataSetStore.h"

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "tools/mzn-books/AccountId.h"

bool DataSetStore::All(std::vector<Summary>& summaries) {
    summaries.clear();
    BooksStatement select(books_.Handle(),
                          "SELECT d.number, d.data_id, d.name, d.period_start, d.period_end, d.interim, "
                          "d.intro_month, d.net_assets, d.tax_included, "
                          "(SELECT count(*) FROM accounts a WHERE a.data_set = d.number) "
                          "FROM data_sets d ORDER BY d.number");
    if (!select.Ok()) return Fail(select.Error());
    BooksStatement::StepResult step;
    while ((step = select.Step()) == BooksStatement::StepResult::Row) {
        Summary summary;
        summary.number = select.Int(0);
        summary.dataId = select.Text(1);
        summary.name = select.Text(2);
        summary.start = static_cast<std::int32_t>(select.Int(3));
        summary.end = static_cast<std::int32_t>(select.Int(4));
        summary.interim = select.Int(5) != 0;
        summary.introMonth = static_cast<int>(select.Int(6));
        summary.netAssets = select.Int(7) != 0;
        summary.taxIncluded = select.Int(8) != 0;
        summary.accounts = select.Int(9);
        summaries.push_back(std::move(summary));
    }
    return step == BooksStatement::StepResult::Done || Fail(select.Error());
}

bool DataSetStore::Exists(std::int64_t number, bool& exists) {
    BooksStatement select(books_.Handle(), "SELECT 1 FROM data_sets WHERE number = ?1");
    select.Bind(1, number);
    const BooksStatement::StepResult step = select.Step();
    if (step == BooksStatement::StepResult::Error) return Fail(select.Error());
    exists = step == BooksStatement::StepResult::Row;
    return true;
}

bool DataSetStore::NumberOf(const std::string& dataId, std::int64_t& number) {
    BooksStatement select(books_.Handle(), "SELECT number FROM data_sets WHERE data_id = ?1");
    select.BindText(1, dataId);
    const BooksStatement::StepResult step = select.Step();
    if (step == BooksStatement::StepResult::Error) return Fail(select.Error());
    number = step == BooksStatement::StepResult::Row ? select.Int(0) : 0;
    return true;
}

bool DataSetStore::NextNumber(std::int64_t& number) {
    BooksStatement select(books_.Handle(), "SELECT coalesce(max(number), 0) + 1 FROM data_sets");
    if (select.Step() != BooksStatement::StepResult::Row) return Fail(select.Error());
    number = select.Int(0);
    return true;
}

bool DataSetStore::Insert(std::int64_t number, const std::string& dataId, const DataSetDefinition& definition,
                          const std::vector<AccountsFile::Row>& accounts, const PeriodSums& sums) {
    BooksStatement insert(books_.Handle(),
                          "INSERT INTO data_sets (number, data_id, name, period_start, period_end, interim, "
                          "intro_month, net_assets, tax_included) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    insert.Bind(1, number)
        .BindText(2, dataId)
        .BindText(3, definition.name)
        .Bind(4, definition.start)
        .Bind(5, definition.end);
    insert.Bind(6, definition.interim ? 1 : 0).Bind(7, definition.introMonth).Bind(8, definition.netAssets ? 1 : 0);
    insert.Bind(9, definition.taxIncluded ? 1 : 0);
    if (!insert.Run()) return Fail("cannot add data set " + std::to_string(number) + ": " + insert.Error());
    return InsertAccounts(number, accounts) && InsertSums(number, sums);
}

bool DataSetStore::InsertAccounts(std::int64_t number, const std::vector<AccountsFile::Row>& accounts) {
    BooksStatement insert(books_.Handle(),
                          "INSERT INTO accounts (data_set, account_id, code, name, class_code, side, flag110, "
                          "flag112) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (const AccountsFile::Row& account : accounts) {
        const AccountId::Bytes id = AccountId::ForCode(account.StoredCode());
        insert.Bind(1, number).BindBlob(2, id.data(), id.size()).Bind(3, account.StoredCode());
        insert.BindText(4, account.name).Bind(5, account.classCode).Bind(6, account.side);
        insert.Bind(7, account.flag110).Bind(8, account.flag112);
        if (!insert.Run())
            return Fail("cannot add account " + AccountsFile::Label(account.code, account.sub) + ": " + insert.Error());
    }
    return true;
}

bool DataSetStore::InsertSums(std::int64_t number, const PeriodSums& sums) {
    BooksStatement insert(books_.Handle(),
                          "INSERT INTO period_sums (data_set, account_id, period, debit, credit, debit_incl, "
                          "credit_incl) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    for (const auto& [key, amounts] : sums) {
        if (amounts.IsZero()) continue;
        const AccountId::Bytes id = AccountId::ForCode(key.first);
        insert.Bind(1, number).BindBlob(2, id.data(), id.size()).Bind(3, key.second);
        insert.Bind(4, amounts.debit).Bind(5, amounts.credit).Bind(6, amounts.debitIncl).Bind(7, amounts.creditIncl);
        if (!insert.Run())
            return Fail("cannot add the sums of account " + std::to_string(key.first) + ": " + insert.Error());
    }
    return true;
}

bool DataSetStore::Remove(std::int64_t number) {
    // The accounts and their sums go with the data set (ON DELETE CASCADE).
    BooksStatement remove(books_.Handle(), "DELETE FROM data_sets WHERE number = ?1");
    remove.Bind(1, number);
    if (!remove.Run()) return Fail("cannot remove data set " + std::to_string(number) + ": " + remove.Error());
    return true;
}

bool DataSetStore::Fail(const std::string& why) {
    error_ = why;
    return false;
}
