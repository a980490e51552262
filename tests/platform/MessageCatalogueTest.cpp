// The message catalogue: its entries, the locale it follows and how a message finds its entry.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/MessageCatalogue.h"
#include "platform/TextCodec.h"
#include "tests/support/TestFiles.h"

namespace {

std::multiset<std::string> Placeholders(std::string_view text) {
    std::multiset<std::string> found;
    for (std::size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{', at + 1))
        found.insert(std::string(text.substr(at, 3)));
    return found;
}

TEST(MessageCatalogueTest, EveryEntryHasItsPlaceholdersInBothLanguagesAndIsUnique) {
    std::set<std::string_view> english;
    for (const MessageCatalogue::Entry& entry : MessageCatalogue::Entries()) {
        const std::string_view japanese(reinterpret_cast<const char*>(entry.japanese.data()), entry.japanese.size());
        EXPECT_EQ(Placeholders(entry.english), Placeholders(japanese)) << entry.english;
        EXPECT_TRUE(english.insert(entry.english).second) << "twice: " << entry.english;
        EXPECT_FALSE(japanese.empty()) << entry.english;
    }
}

TEST(MessageCatalogueTest, LocalesAndTheMessagesTheyGet) {
    const auto ja = [](std::u8string_view utf8) { return testfiles::Utf8(utf8); };
    const struct {
        const char* locale;
        const char* english;
        std::string expected;
    } cases[] = {
        {"C", "mzn-books: no command given", "mzn-books: no command given"},
        {"jv_ID.UTF-8", "unknown option --x", "unknown option --x"},
        {"ja_JP.UTF-8", "mzn-books: no command given", ja(u8"mzn-books: コマンドがありません")},
        {"ja_JP.SJIS", "no command given", TextCodec::Utf8ToCp932(ja(u8"コマンドがありません")).text},
        {"ja_JP.eucJP", "no command given", "\xA5\xB3\xA5\xDE\xA5\xF3\xA5\xC9\xA4\xAC\xA4\xA2\xA4\xEA\xA4\xDE\xA4\xBB\xA4\xF3"},
        {"ja_JP", "no command given", "\xA5\xB3\xA5\xDE\xA5\xF3\xA5\xC9\xA4\xAC\xA4\xA2\xA4\xEA\xA4\xDE\xA4\xBB\xA4\xF3"},
        // The prefix is kept, also a file's location; the entry with the most words of its own wins, and what a
        // placeholder matched is itself translated.
        {"ja_JP.UTF-8", "mzn-books: 2 problems in the input; nothing was imported",
         ja(u8"mzn-books: 入力に問題が 2 件あります。何も取り込んでいません")},
        {"ja_JP.UTF-8", "mzn-books: no books at /b (mzn-books init or mzn-books demo makes the books)",
         ja(u8"mzn-books: /b に帳簿がありません（帳簿は mzn-books init か mzn-books demo で作れます）")},
        {"ja_JP.UTF-8", "a b.csv:3: account 1220 (sub 2) is not in a.csv",
         ja(u8"a b.csv:3: 科目 1220（補助 2） は a.csv にありません")},
        {"ja_JP.UTF-8", "mzn-books: cannot read /a: No such file or directory",
         ja(u8"mzn-books: /a を読めません: ファイルまたはフォルダーがありません")},
        // What a message quotes and what no entry matches are in the codeset too.
        {"ja_JP.SJIS", "b.csv:3: account 1 is not in \xE8\xA1\xA8.csv\n  \xE8\xA1\xA8",
         TextCodec::Utf8ToCp932(ja(u8"b.csv:3: 科目 1 は 表.csv にありません\n  表")).text},
        {"en_US.SJIS", "no books at /\xE8\xA1\xA8", "no books at /\x95\x5C"},
        {"ja_JP.UTF-8", "x: warning: unknown option --y for list\nnot catalogued\n",
         ja(u8"x: 警告: list には --y というオプションはありません\nnot catalogued\n")},
    };
    for (const auto& [locale, english, expected] : cases)
        EXPECT_EQ(MessageCatalogue::ForLocale(locale).Text(english), expected) << locale << " " << english;
    // The first variable set decides.
    EXPECT_TRUE(MessageCatalogue::ForEnvironment(nullptr, "", "ja_JP.UTF-8").Japanese());
    EXPECT_FALSE(MessageCatalogue::ForEnvironment(nullptr, "C.UTF-8", "ja_JP.UTF-8").Japanese());
    EXPECT_FALSE(MessageCatalogue::ForEnvironment("C", "ja_JP.UTF-8", "ja_JP.UTF-8").Japanese());
    EXPECT_EQ(MessageCatalogue::ForLocale("ja_JP.SJIS").FromCp932("\x83\x65"), "\x83\x65");
    EXPECT_EQ(MessageCatalogue::ForLocale("C").FromCp932("\x83\x65"), ja(u8"テ"));
}

}  // namespace
