// The readers of package exports on any bytes: decoding, the wide monthly layout and the code map.

#include "platform/TextCodec.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/mzn-books/CodeMap.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/ImportText.h"
#include "tools/mzn-books/MonthlyBalancesFile.h"
#include "tools/mzn-books/YenAmount.h"

MZN_FUZZ_TARGET(input) {
    const ImportText::Decoded decoded = ImportText::ToUtf8(input.Text(), ImportText::Encoding::Detect);
    Require(decoded.ok ? TextCodec::FirstInvalidUtf8(decoded.utf8) == std::string::npos
                       : decoded.errorLine >= 1 && !decoded.reason.empty(),
            "decoded text that is no UTF-8, or a refusal without its line");
    const std::string text = decoded.ok ? decoded.utf8 : std::string(input.Text());
    for (const auto amounts : {MonthlyBalancesFile::Amounts::Balance, MonthlyBalancesFile::Amounts::Movement}) {
        Diagnostics diagnostics;
        const auto sideOf = [](std::int64_t code) { return static_cast<int>(code % 2) + 1; };
        const MonthlyBalancesFile::Year year{4, 9};
        for (const BalancesFile::Row& row : MonthlyBalancesFile::Parse(text, "w.csv", year, amounts, sideOf, diagnostics))
            Require(row.line >= 2 && BalancesFile::IsPeriod(row.period) && row.debit >= 0 && row.credit >= 0 &&
                        (row.debit == 0) != (row.credit == 0) && row.debit < 2 * YenAmount::kLimit &&
                        row.credit < 2 * YenAmount::kLimit && row.debitIncl == row.debit &&
                        row.creditIncl == row.credit,
                    "a wide line that gives no movement on one side");
    }
    Diagnostics diagnostics;
    std::vector<AccountsFile::Row> accounts(1);
    accounts[0].code = 1110;
    std::vector<BalancesFile::Row> balances(1);
    balances[0].code = 1110;
    CodeMap::Parse(text, "m.csv", diagnostics).Apply(accounts, "a.csv", balances, diagnostics);
    Require(accounts[0].code == balances[0].code && accounts[0].code >= 1 && accounts[0].code <= AccountsFile::kMaxCode,
            "an account and its lines renumbered apart");
}
