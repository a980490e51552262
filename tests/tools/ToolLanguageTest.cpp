// What the programs say on a terminal follows the locale: Japanese under a Japanese one, English otherwise.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/BooksTool.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace {

ChildProcess::Result RunIn(const std::string& lang, const std::vector<std::string>& command, const std::string& io) {
    std::vector<std::string> words{"/usr/bin/env", "-u", "LC_ALL", "-u", "LC_MESSAGES", "LANG=" + lang};
    words.insert(words.end(), command.begin(), command.end());
    return ChildProcess::Run(words, io);
}

TEST(ToolLanguageTest, EachToolSpeaksTheLocalesLanguage) {
    TempRoot root;
    const std::string link = MZN_PROGRAM_BRC;
    ASSERT_EQ(ChildProcess::Run({MZN_BOOKS_EXE, "demo"}, root / "io").exitCode, 0);
    // A package's export (own codes, so a note follows the summary) and a month whose sides differ.
    const std::string books = BooksTool::DataFile("books/");
    const std::vector<std::string> import{MZN_BOOKS_EXE, "import", "--name", "x", "--start", "20240401", "--end",
                                          "20250331"};
    auto importOf = [&import](std::vector<std::string> rest) {
        rest.insert(rest.begin(), import.begin(), import.end());
        return rest;
    };
    ASSERT_TRUE(testfiles::WriteFile(root / "month1.csv", "code,sub,period,debit,credit\n1110,0,1,5,0\n"));
    const struct {
        std::vector<std::string> command;
        const char* english;  // a part of what it says (standard output for --help, else standard error)
        std::u8string japanese;
    } cases[] = {
        {{MZN_BOOKS_EXE, "--help"}, "Usage: mzn-books COMMAND", u8"使い方: mzn-books コマンド"},
        {{MZN_BOOKS_EXE, "select"}, "mzn-books: select needs the number of a data set\nTry 'mzn-books --help'",
         u8"mzn-books: select にはデータ番号が必要です\n詳しくは 'mzn-books --help'"},
        {{MZN_BOOKS_EXE, "list"}, "  2023-04-01 to 2024-03-31  ", u8"  2023-04-01～2024-03-31  "},
        {{MZN_CALLER_EXE, "--help"}, "Usage: mzn-caller", u8"使い方: mzn-caller"},
        {{MZN_CALLER_EXE, "--timeout", "x", "true"}, "--timeout takes seconds", u8"--timeout には 0～86400 の秒数"},
        {{link, "--help"}, "  --yes                  batch: answer Yes", u8"  --yes                  一括実行: 確認に"},
        {{link, "--yes"}, "option --yes needs --batch", u8"オプション --yes は --batch と一緒に"},
        {{link, "--batch"}, "batch mode needs --output WINDOWS_PATH", u8"一括実行には --output WINDOWS_PATH が必要"},
        {{link, "--batch", "--preview=x"}, "--preview takes csv or no value", u8"--preview に付けられる値は csv だけ"},
        {importOf({"--layout", "monthly", "--amounts", "balance", books + "export-accounts.csv",
                   books + "export-balances-wide.csv"}),
         "periods with amounts: the opening balance, months 1-3, the closing adjustments\n",
         u8"金額のある期間: 期首残高、1～3 か月目、決算整理\n"},
        {importOf({books + "small-accounts.csv", root / "month1.csv"}),
         "warning: in month 1 of the fiscal year the debits 5 and the credits 0 differ by 5",
         u8"警告: 会計年度の 1 か月目の借方合計 5 と貸方合計 0 が一致しません（差額 5）"},
    };
    for (const auto& [command, english, japanese] : cases) {
        const bool help = command.back() == "--help" || command.back() == "list";  // said on standard output
        const ChildProcess::Result inC = RunIn("C", command, root / "io");
        const ChildProcess::Result inJa = RunIn("ja_JP.UTF-8", command, root / "io");
        SCOPED_TRACE(command[1] + "\n" + inC.out + inC.err + inJa.out + inJa.err);
        EXPECT_EQ(inC.exitCode, inJa.exitCode);
        EXPECT_NE((help ? inC.out : inC.err).find(english), std::string::npos);
        EXPECT_NE((help ? inJa.out : inJa.err).find(testfiles::Utf8(japanese)), std::string::npos);
        // Every line of prose is translated: what stays as it is holds commands, options and names only.
        std::istringstream lines(help ? inJa.out : inJa.err);
        for (std::string line; std::getline(lines, line);)
            EXPECT_FALSE(std::regex_search(line, std::regex("(^|[ (])[a-z]{3,} [a-z]{3,}\\b"))) << line;
    }
}

}  // namespace
