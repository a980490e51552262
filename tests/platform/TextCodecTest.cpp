#include "platform/TextCodec.h"

#include "platform/Cp932.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <utility>

using testfiles::Utf8;
using Invalid = TextCodec::Invalid;

TEST(TextCodec, ConvertsBothWaysWhereWindowsAndLinuxTablesOftenDisagree) {
    struct Row { const char* name; std::string cp932; std::u16string utf16; };
    const Row rows[] = {
        {"look-alikes", "\\~\x81\x60\x81\x5F\x81\x7C\x81\x61\x81\x91\x81\x92", u"\\~\uFF5E＼－∥￠￡"},
        {"NEC, IBM and user rows", "\x87\x40\x87\x54\x87\x8A\xFA\x40\xFA\x5C\xF0\x40\xF9\xFC", u"①Ⅰ㈱ⅰ纊\uE000\uE757"},
        {"single bytes", std::string("\xB6\xDE\xA1\0\x80\xA0\xFD\xFE\xFF", 9),
         std::u16string(u"ｶﾞ｡\0\u0080\uF8F0\uF8F1\uF8F2\uF8F3", 9)},
        {"kanji ending in 5C and 7C", "事業概況書 表ポ", u"事業概況書 表ポ"}, {"empty", "", u""}};
    for (const Row& row : rows) {
        const auto toUtf16 = TextCodec::Cp932ToUtf16(row.cp932);
        const auto toUtf8 = TextCodec::Cp932ToUtf8(row.cp932), back16 = TextCodec::Utf16ToCp932(row.utf16);
        const auto back8 = TextCodec::Utf8ToCp932(toUtf8.text);
        EXPECT_TRUE(toUtf16.ok && toUtf8.ok && back16.ok && back8.ok) << row.name;
        EXPECT_EQ(toUtf16.text, row.utf16) << row.name;
        EXPECT_EQ(back16.text + "|" + back8.text, row.cp932 + "|" + row.cp932) << row.name;
    }
    EXPECT_EQ(TextCodec::Cp932ToUtf8("\x80表ｶ～").text, Utf8(u8"\u0080表ｶ～"));
}

// Several codes decode to one character; Windows writes JIS row 2 before NEC
// row 13, NEC row 13 before the IBM rows, and the IBM rows instead of the
// NEC-selected copies in 0xED/0xEE. Every double-byte character comes back as
// itself or as such an earlier code, alone and within one long text.
TEST(TextCodec, EveryDoubleByteCharacterComesBackAsTheCodeWindowsWrites) {
    const auto back = [](const std::string& cp932) {
        return TextCodec::Utf16ToCp932(TextCodec::Cp932ToUtf16(cp932).text).text;
    };
    EXPECT_EQ(back("\xFA\x54\x87\x9A\xFA\x4A\xED\x40\xEE\xEF"), "\x81\xCA\x81\xE6\x87\x54\xFA\x5C\xFA\x40");
    std::string all, allBack;
    std::u16string allUtf16;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)}, again = back(code);
            const auto unicode = TextCodec::Cp932ToUtf16(code);
            if (!Cp932::IsLeadByte(lead) || !Cp932::IsTrailByte(trail) || !unicode.ok) continue;
            EXPECT_TRUE(unicode.text.size() == 1 && again.size() == 2 && again[0] != '\xED' && again[0] != '\xEE' &&
                        (again <= code || lead == 0xED || lead == 0xEE) &&
                        TextCodec::Cp932ToUtf16(again).text == unicode.text) << lead << " " << trail;
            all += code, allBack += again, allUtf16 += unicode.text;
        }
    }
    EXPECT_GT(allUtf16.size(), 9000u);
    EXPECT_EQ(TextCodec::Cp932ToUtf16(all).text, allUtf16);
    EXPECT_EQ(TextCodec::Utf8ToCp932(TextCodec::Cp932ToUtf8(all).text).text, allBack);
}

// Fail stops at the offending input unit (byte, or UTF-16 unit) with what was
// converted before it; Replace puts one U+FFFD (towards Unicode) or "?"
// (towards code page 932) where a reader sees one broken character. Under the
// C locale typed text is UTF-8: bytes that are no text are refused whatever
// the mode; the mode governs only characters code page 932 lacks.
TEST(TextCodec, BrokenInputStopsAtTheOffendingUnitOrIsReplaced) {
    struct Row { bool fromCp932; std::string input; std::size_t errorAt; std::string before, fixed; };
    const Row rows[] = {
        {true, "A\x81", 1, "A", Utf8(u8"A\uFFFD")}, {true, "\x81\x7F", 0, "", Utf8(u8"\uFFFD\x7F")},
        {true, "A\x81\nB", 1, "A", Utf8(u8"A\uFFFD\nB")}, {true, "x\x85\x40y", 1, "x", Utf8(u8"x\uFFFDy")},
        {true, "表\xEF\xFC", 2, Utf8(u8"表"), Utf8(u8"表\uFFFD")}, {false, "a\xC0\xAF", 1, "a", "a??"},
        {false, "a\xE3\x81", 1, "a", "a?"}, {false, "a\xED\xA0\x80" "b", 1, "a", "a???b"},
        {false, "\x80" "b", 0, "", "?b"}, {false, "a\xE3\x81" "b", 1, "a", "a?b"},
        {false, Utf8(u8"表é"), 3, "表", "表?"}, {false, "ab\xF5\x80", 2, "ab", "ab??"},
        {false, Utf8(u8"‾"), 0, "", "?"}, {false, "\xF4\x90\x80\x80", 0, "", "????"},
        {false, Utf8(u8"a😀b"), 1, "a", "a?b"}, {false, Utf8(u8"a¥b"), 1, "a", "a?b"}};  // ¥: no backslash
    for (const Row& row : rows) {
        const auto failed = row.fromCp932 ? TextCodec::Cp932ToUtf8(row.input) : TextCodec::Utf8ToCp932(row.input);
        const auto fixed = row.fromCp932 ? TextCodec::Cp932ToUtf8(row.input, Invalid::Replace)
                                         : TextCodec::Utf8ToCp932(row.input, Invalid::Replace);
        const std::size_t errorAt16 = row.fromCp932 ? TextCodec::Cp932ToUtf16(row.input).errorOffset : row.errorAt;
        EXPECT_TRUE(!failed.ok && fixed.ok && failed.errorOffset == row.errorAt && errorAt16 == row.errorAt)
            << row.fixed;
        EXPECT_EQ(failed.text + "|" + fixed.text, row.before + "|" + row.fixed);
    }
    EXPECT_EQ(TextCodec::Utf8ToCp932(Utf8(u8"〜−")).text, "\x81\x60\x81\x7C");  // the characters meant, not ASCII
    EXPECT_EQ(TextCodec::Cp932ToUtf16("\x81\x60\x81", Invalid::Replace).text, u"～\uFFFD");
    // A whole surrogate pair is one character. (Kept out of the assertion
    // macros, whose own text is code page 932: an emoji.)
    const auto high = TextCodec::Utf16ToCp932(u"表\xD83D");
    const std::size_t emoji = TextCodec::Utf16ToCp932(u"ab😀c").errorOffset;
    const std::size_t lowAlone = TextCodec::Utf16ToCp932(u"a\xDC00z").errorOffset;
    EXPECT_TRUE(!high.ok && high.errorOffset == 1 && high.text == "表" && emoji == 2 && lowAlone == 1 &&
                TextCodec::Utf16ToCp932(u"\xDE00\xD83D").errorOffset == 0) << emoji << " " << lowAlone;
    EXPECT_EQ(TextCodec::Utf16ToCp932(u"ab😀c", Invalid::Replace).text, "ab?c");
    EXPECT_EQ(TextCodec::Utf16ToCp932(u"\xDE00\xD83Dz¥‾", Invalid::Replace).text, "??z??");
    const std::string noForm = Utf8(u8"aé");
    EXPECT_EQ(TextCodec::LocaleToCp932(Utf8(u8"Z:\\表\\out.xml")).text, "Z:\\表\\out.xml");
    EXPECT_FALSE(TextCodec::LocaleToCp932("a\xC0\xAF", Invalid::Replace).ok || TextCodec::LocaleToCp932(noForm).ok);
    EXPECT_EQ(TextCodec::LocaleToCp932(noForm, Invalid::Replace).text, "a?");
}

// The terminal's codeset comes from the locale's name, whether that locale is generated here or not.
TEST(TextCodecTest, TheLocalesNameGivesTheTerminalsCodeset) {
    const std::pair<const char*, const char*> cases[] = {
        {"C", "UTF-8"},          {"POSIX", "UTF-8"},          {"C.UTF-8", "UTF-8"}, {"ja_JP.utf8", "UTF-8"},
        {"ja_JP.SJIS", "CP932"}, {"ja_JP.Shift_JIS", "CP932"}, {"ja_JP", "EUC-JP"},  {"ja_JP.eucJP@x", "EUC-JP"},
        {"en_US", "UTF-8"},      {"de_DE.ISO-8859-15", "ISO-8859-15"},
    };
    for (const auto& [locale, codeset] : cases) EXPECT_EQ(TextCodec::CodesetOfLocale(locale), codeset) << locale;
    // The first variable set decides.
    EXPECT_EQ(TextCodec::CodesetOfEnvironment("", nullptr, "ja_JP.SJIS"), "CP932");
    EXPECT_EQ(TextCodec::CodesetOfEnvironment("C", "ja_JP.SJIS", "ja_JP.SJIS"), "UTF-8");
}
