#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/Cp932.h"
#include "platform/TextCodec.h"

using testfiles::Utf8;

namespace {

using Invalid = TextCodec::Invalid;

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

// Both directions, through UTF-8 and UTF-16, without a failure.
void ExpectPair(const std::string& cp932, std::u8string_view utf8, std::u16string_view utf16) {
    SCOPED_TRACE(testing::PrintToString(cp932));
    auto toUtf8 = TextCodec::Cp932ToUtf8(cp932);
    EXPECT_TRUE(toUtf8.ok);
    EXPECT_EQ(toUtf8.text, Utf8(utf8));
    auto toUtf16 = TextCodec::Cp932ToUtf16(cp932);
    EXPECT_TRUE(toUtf16.ok);
    EXPECT_EQ(toUtf16.text, utf16);
    auto fromUtf8 = TextCodec::Utf8ToCp932(Utf8(utf8));
    EXPECT_TRUE(fromUtf8.ok);
    EXPECT_EQ(fromUtf8.text, cp932);
    auto fromUtf16 = TextCodec::Utf16ToCp932(utf16);
    EXPECT_TRUE(fromUtf16.ok);
    EXPECT_EQ(fromUtf16.text, cp932);
}

}  // namespace

TEST(TextCodec, MapsTheCharactersWindowsAndLinuxTablesOftenDisagreeOn) {
    ExpectPair(Bytes({0x5C}), u8"\\", u"\\");
    ExpectPair(Bytes({0x7E}), u8"~", u"~");
    ExpectPair(Bytes({0x81, 0x60}), u8"～", u"～");  // U+FF5E, not the wave dash
    ExpectPair(Bytes({0x81, 0x5F}), u8"＼", u"＼");
    ExpectPair(Bytes({0x81, 0x7C}), u8"－", u"－");  // U+FF0D
    ExpectPair(Bytes({0x81, 0x61}), u8"∥", u"∥");    // U+2225
    ExpectPair(Bytes({0x81, 0x91, 0x81, 0x92}), u8"￠￡", u"￠￡");
    ExpectPair(Bytes({0x87, 0x40, 0x87, 0x54, 0x87, 0x8A}), u8"①Ⅰ㈱", u"①Ⅰ㈱");  // NEC row 13
    ExpectPair(Bytes({0xFA, 0x40, 0xFA, 0x5C}), u8"ⅰ纊", u"ⅰ纊");               // IBM rows
    ExpectPair(Bytes({0xF0, 0x40, 0xF9, 0xFC}), u8"\uE000\uE757", u"\uE000\uE757");  // user-defined
    ExpectPair(Bytes({0xB6, 0xDE, 0xA1}), u8"ｶﾞ｡", u"ｶﾞ｡");
    ExpectPair("事業概況書 表ポ", u8"事業概況書 表ポ", u"事業概況書 表ポ");
}

TEST(TextCodec, DuplicatesTurnIntoTheCodesWindowsWrites) {
    // Several codes decode to one character; Windows writes JIS row 2 before
    // NEC row 13, NEC row 13 before the IBM rows, and the IBM rows instead of
    // the NEC-selected copies in 0xED/0xEE.
    auto viaUnicode = [](const std::string& cp932) {
        return TextCodec::Utf16ToCp932(TextCodec::Cp932ToUtf16(cp932).text).text;
    };
    EXPECT_EQ(viaUnicode(Bytes({0xFA, 0x54})), Bytes({0x81, 0xCA}));  // ￢
    EXPECT_EQ(viaUnicode(Bytes({0x87, 0x9A})), Bytes({0x81, 0xE6}));  // ∵
    EXPECT_EQ(viaUnicode(Bytes({0xFA, 0x4A})), Bytes({0x87, 0x54}));  // Ⅰ
    EXPECT_EQ(viaUnicode(Bytes({0xED, 0x40})), Bytes({0xFA, 0x5C}));  // 纊
    EXPECT_EQ(viaUnicode(Bytes({0xEE, 0xEF})), Bytes({0xFA, 0x40}));  // ⅰ
}

TEST(TextCodec, EveryDoubleByteCharacterRoundTripsThroughUnicode) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!Cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!Cp932::IsTrailByte(static_cast<unsigned char>(trail))) continue;
            std::string code = Bytes({static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)});
            auto unicode = TextCodec::Cp932ToUtf16(code);
            if (!unicode.ok) continue;
            ++characters;
            ASSERT_EQ(unicode.text.size(), 1u) << testing::PrintToString(code);
            auto back = TextCodec::Utf16ToCp932(unicode.text);
            ASSERT_TRUE(back.ok) << testing::PrintToString(code);
            ASSERT_EQ(back.text.size(), 2u);
            EXPECT_EQ(TextCodec::Cp932ToUtf16(back.text).text, unicode.text);
            unsigned char backLead = static_cast<unsigned char>(back.text[0]);
            EXPECT_TRUE(backLead != 0xED && backLead != 0xEE) << testing::PrintToString(code);
            if (lead != 0xED && lead != 0xEE) {
                EXPECT_LE(back.text, code) << testing::PrintToString(code);
            }
        }
    }
    EXPECT_GT(characters, 9000);
}

TEST(TextCodec, SingleBytesWindowsMapsPastTheStandardTable) {
    ExpectPair(Bytes({0x80, 0xA0, 0xFD, 0xFE, 0xFF}), u8"\u0080\uF8F0\uF8F1\uF8F2\uF8F3",
               u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
}

TEST(TextCodec, LookAlikesLandOnTheCharacterMeantButNeverOnAscii) {
    EXPECT_EQ(TextCodec::Utf8ToCp932(Utf8(u8"〜−")).text, Bytes({0x81, 0x60, 0x81, 0x7C}));

    // A yen sign must not become a path separator, nor an overline a tilde.
    auto yen = TextCodec::Utf8ToCp932(Utf8(u8"a¥b"));
    EXPECT_FALSE(yen.ok);
    EXPECT_EQ(yen.errorOffset, 1u);
    EXPECT_EQ(TextCodec::Utf16ToCp932(u"a¥b‾", Invalid::Replace).text, "a?b?");
}

TEST(TextCodec, BrokenCp932StopsOrIsReplaced) {
    struct Case {
        std::string input;
        std::size_t errorOffset;
        std::u8string convertedBefore;
        std::u8string replaced;
    };
    const Case cases[] = {
        {Bytes({'A', 0x81}), 1, u8"A", u8"A\uFFFD"},                // lead byte at the end
        {Bytes({'A', 0x81, 0x0A, 'B'}), 1, u8"A", u8"A\uFFFD\nB"},  // lead before a non-trail
        {Bytes({0x81, 0x7F}), 0, u8"", u8"\uFFFD\u007F"},
        {Bytes({'x', 0x85, 0x40, 'y'}), 1, u8"x", u8"x\uFFFDy"},   // unassigned pair: one character
        {Bytes({0x95, 0x5C, 0xEF, 0xFC}), 2, u8"表", u8"表\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        auto failed = TextCodec::Cp932ToUtf8(c.input);
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.errorOffset, c.errorOffset);
        EXPECT_EQ(failed.text, Utf8(c.convertedBefore));
        auto replaced = TextCodec::Cp932ToUtf8(c.input, Invalid::Replace);
        EXPECT_TRUE(replaced.ok);
        EXPECT_EQ(replaced.text, Utf8(c.replaced));
        auto failed16 = TextCodec::Cp932ToUtf16(c.input);
        EXPECT_FALSE(failed16.ok);
        EXPECT_EQ(failed16.errorOffset, c.errorOffset);
    }
    EXPECT_EQ(TextCodec::Cp932ToUtf16(Bytes({0x81, 0x60, 0x81}), Invalid::Replace).text, u"～\uFFFD");
}

TEST(TextCodec, BrokenUtf8StopsAtTheOffendingByteOrBecomesQuestionMarks) {
    struct Case {
        std::string input;
        std::size_t errorOffset;
        std::string convertedBefore;
        std::string replaced;
    };
    const Case cases[] = {
        {Bytes({'a', 0xC0, 0xAF}), 1, "a", "a??"},               // overlong "/"
        {Bytes({'a', 0xED, 0xA0, 0x80, 'b'}), 1, "a", "a???b"},  // encoded surrogate
        {Bytes({'a', 0xE3, 0x81}), 1, "a", "a?"},                // cut short at the end
        {Bytes({'a', 0xE3, 0x81, 'b'}), 1, "a", "a?b"},
        {Bytes({0x80, 'b'}), 0, "", "?b"},                       // stray continuation byte
        {Bytes({'a', 'b', 0xF5, 0x80}), 2, "ab", "ab??"},
        {Bytes({0xF4, 0x90, 0x80, 0x80}), 0, "", "????"},        // past U+10FFFF
        {Utf8(u8"表é"), 3, "表", "表?"},                         // no counterpart in code page 932
        {Utf8(u8"a😀b"), 1, "a", "a?b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        auto failed = TextCodec::Utf8ToCp932(c.input);
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.errorOffset, c.errorOffset);
        EXPECT_EQ(failed.text, c.convertedBefore);
        auto replaced = TextCodec::Utf8ToCp932(c.input, Invalid::Replace);
        EXPECT_TRUE(replaced.ok);
        EXPECT_EQ(replaced.text, c.replaced);
    }
}

TEST(TextCodec, LoneSurrogatesInUtf16AreErrorsCountedInUnits) {
    const std::u16string highAtEnd = u"表\xD83D";
    const std::u16string lowAlone = u"a\xDC00z";
    const std::u16string reversed = u"\xDE00\xD83Dz";
    auto a = TextCodec::Utf16ToCp932(highAtEnd);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.errorOffset, 1u);
    EXPECT_EQ(a.text, "表");
    EXPECT_EQ(TextCodec::Utf16ToCp932(lowAlone).errorOffset, 1u);
    EXPECT_EQ(TextCodec::Utf16ToCp932(reversed).errorOffset, 0u);
    EXPECT_EQ(TextCodec::Utf16ToCp932(reversed, Invalid::Replace).text, "??z");
    // A whole pair is one character, with one question mark.
    // (Kept out of the assertion macros: their text is a narrow literal, and
    // an emoji has no code page 932 form.)
    const std::u16string withEmoji = u"ab😀c";
    auto emoji = TextCodec::Utf16ToCp932(withEmoji, Invalid::Replace);
    EXPECT_TRUE(emoji.ok);
    EXPECT_EQ(emoji.text, "ab?c");
    EXPECT_EQ(TextCodec::Utf16ToCp932(withEmoji).errorOffset, 2u);
}

TEST(TextCodec, LongTextAndEmptyText) {
    std::string cp932;
    std::u16string utf16;
    for (int i = 0; i < 2000; ++i) {
        cp932 += "表ｱ～";
        utf16 += u"表ｱ～";
    }
    EXPECT_EQ(TextCodec::Cp932ToUtf16(cp932).text, utf16);
    EXPECT_EQ(TextCodec::Utf8ToCp932(TextCodec::Cp932ToUtf8(cp932).text).text, cp932);
    std::string embeddedNul("a\0b", 3);
    EXPECT_EQ(TextCodec::Cp932ToUtf16(embeddedNul).text, std::u16string(u"a\0b", 3));

    auto empty = TextCodec::Utf8ToCp932("");
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.text, "");
    EXPECT_TRUE(TextCodec::Cp932ToUtf16("").text.empty());
}

TEST(TextCodec, ThreadsConvertAtTheSameTime) {
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &mismatches] {
            for (int i = 0; i < 300; ++i) {
                std::string text = "連携" + std::to_string(t * 1000 + i) + "～";
                if (TextCodec::Utf16ToCp932(TextCodec::Cp932ToUtf16(text).text).text != text) ++mismatches[t];
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}
