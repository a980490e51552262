#include "settings/ConditionText.h"

#include "tests/settings/MappingEntries.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using mappingentries::Entry;

const std::string kEnd = "[終了]";
const std::string kFirst = "[P1]\n3/1/0/C:\\out.xml\n" + kEnd + "\n";

std::string WithMapping(const std::string& lines) { return kFirst + "[P2/P3]\n" + lines + kEnd + "\n"; }

// Values as the sheet holds them before reading, with marks that show
// whether reading touched them.
ConditionValues Before() {
    ConditionValues values;
    values.EndMonth = 4;
    values.TaxIncluded = 1;
    std::strcpy(values.SavedOutputPath, "C:\\old.xml");
    return values;
}

TEST(ConditionTextTest, AFirstSectionThatIsNotWholeIsNotRead) {
    const std::vector<std::string> broken = {
        "",
        "3/1/0/C:\\out.xml\n" + kEnd + "\n[P2/P3]\n" + kEnd + "\n",         // no [P1]
        "[P1]",                                                             // no value line
        "[P1]\n3/1/0/C:\\out.xml",                                          // value line without LF
        "[P1]\n3/1/0/C:\\out.xml\n",                                        // no [終了]
        "[P1]\n3/1\n" + kEnd + "\n[P2/P3]\n" + kEnd + "\n",                 // two fields
        "[P1]\n3/1/0\n" + kEnd + "\n[P2/P3]\n" + kEnd + "\n",               // two "/"
        "[P1]3/1/0/C:\\out.xml" + kEnd + "\n[P2/P3]\n" + kEnd + "\n",       // all on the marker's line
        "ゼP1]\n3/1/0/C:\\out.xml\n" + kEnd + "\n[P2/P3]\n" + kEnd + "\n",  // "[" is the second byte of "ゼ"
    };
    for (const std::string& text : broken) {
        ConditionValues values = Before();
        MappingList mapping = mappingentries::Make({{1, "KEPT"}});
        EXPECT_FALSE(ConditionText::Parse(text, values, mapping)) << text;
        EXPECT_EQ(values.EndMonth, 4) << text;
        EXPECT_EQ(values.TaxIncluded, 1) << text;
        EXPECT_STREQ(values.SavedOutputPath, "") << text;
        EXPECT_EQ(values.OutputPath, "") << text;
        EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{1, "KEPT"}})) << text;
    }
}

TEST(ConditionTextTest, FirstValuesAreReadAsAtoiReadsThemAndTheThirdAsZero) {
    ConditionValues values;
    values.Reserved = 5;
    MappingList mapping;
    const std::string text = "[P1]\n +4x/-1/7/Z:\\home\\me/out.xml\n" + kEnd + "\n[P2/P3]\n" +
                             "  12abc/KEY[END]\n/NOITEM[END]\n70000/BIG[END]\n99999999999/HUGE[END]\n" + kEnd + "\n";
    ASSERT_TRUE(ConditionText::Parse(text, values, mapping));
    EXPECT_EQ(values.EndMonth, 4);
    EXPECT_EQ(values.TaxIncluded, -1);
    EXPECT_EQ(values.Reserved, 0);
    EXPECT_STREQ(values.SavedOutputPath, "Z:\\home\\me/out.xml");
    // Item numbers are 16-bit: 70000 wraps, and an int held at its limit too.
    EXPECT_EQ(mappingentries::Of(mapping),
              (std::vector<Entry>{{12, "KEY"}, {0, "NOITEM"}, {70000 - 65536, "BIG"}, {-1, "HUGE"}}));

    // Written back, the third field is 0 again.
    EXPECT_NE(ConditionText::Format(values, mapping).find("\n4/-1/0/Z:\\home\\me/out.xml\n"), std::string::npos);

    // The path ends at a NUL, as the sheet's string does.
    ConditionValues withNul;
    ASSERT_TRUE(ConditionText::Parse(
        std::string("[P1]\n1/0/0/C:\\a\0b.xml\n", 22) + kEnd + "\n[P2/P3]\n" + kEnd + "\n", withNul, mapping));
    EXPECT_STREQ(withNul.SavedOutputPath, "C:\\a");
    EXPECT_EQ(withNul.OutputPath, "C:\\a");
}

TEST(ConditionTextTest, APathOver260BytesIsNotRemembered) {
    const std::string path260 = "C:\\" + std::string(257, 'p');
    const std::string lines = "1/KEY[END]\n";
    ConditionValues values;
    MappingList mapping;
    ASSERT_TRUE(ConditionText::Parse("[P1]\n3/1/0/" + path260 + "\n" + kEnd + "\n[P2/P3]\n" + lines + kEnd + "\n",
                                     values, mapping));
    EXPECT_EQ(std::string(values.SavedOutputPath), path260);
    EXPECT_EQ(values.OutputPath, path260);

    ConditionValues longer;
    ASSERT_TRUE(ConditionText::Parse(
        "[P1]\n5/1/0/" + path260 + "q\n" + kEnd + "\n[P2/P3]\n" + lines + kEnd + "\n", longer, mapping));
    EXPECT_EQ(longer.EndMonth, 5);
    EXPECT_EQ(longer.TaxIncluded, 1);
    EXPECT_STREQ(longer.SavedOutputPath, "");
    EXPECT_EQ(longer.OutputPath, "");
    EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{1, "KEY"}}));
}

TEST(ConditionTextTest, AMissingMappingSectionLeavesTheMappingAlone) {
    for (const std::string& text : {kFirst, kFirst + "[P2/P3]\n2/NEW[END]\n"}) {
        ConditionValues values = Before();
        MappingList mapping = mappingentries::Make({{1, "KEPT"}});
        EXPECT_FALSE(ConditionText::Parse(text, values, mapping));
        // The values of the first section are taken all the same.
        EXPECT_EQ(values.EndMonth, 3);
        EXPECT_EQ(values.TaxIncluded, 1);
        EXPECT_STREQ(values.SavedOutputPath, "C:\\out.xml");
        EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{1, "KEPT"}}));
    }
}

TEST(ConditionTextTest, ReadingStopsAtTheFirstLineThatIsNoEntry) {
    const std::vector<std::string> notEntries = {
        "2NOSLASH[END]",
        "2/NOEND",
        "2/KEY[END]3/MORE[END]",
        "2/" + std::string(35, 'k') + "[END]",
        "",
        "2/KEY\x95[END]",  // 0x95 0x5B is one character: no "[END]" follows the key
        std::string("2/K\0Y[END]", 10),
    };
    for (const std::string& line : notEntries) {
        ConditionValues values;
        MappingList mapping = mappingentries::Make({{9, "OLD"}});
        EXPECT_TRUE(ConditionText::Parse(WithMapping("1/GOOD[END]\n" + line + "\n3/AFTER[END]\n"), values, mapping))
            << line;
        EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{1, "GOOD"}})) << line;
    }

    ConditionValues values;
    MappingList mapping;
    const std::string key34(34, 'k');
    ASSERT_TRUE(ConditionText::Parse(WithMapping("2/" + key34 + "[END]\n"), values, mapping));
    EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{2, key34}}));
}

TEST(ConditionTextTest, CrLfLineEndsReadLikeLf) {
    const std::string lf = WithMapping("5/0x01ab[END]\n5/SISAN[END]\n3/URIAGEDAKA[END]\n");
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    ConditionValues fromLf;
    ConditionValues fromCrLf;
    MappingList lfMapping;
    MappingList crlfMapping;
    ASSERT_TRUE(ConditionText::Parse(lf, fromLf, lfMapping));
    ASSERT_TRUE(ConditionText::Parse(crlf, fromCrLf, crlfMapping));
    EXPECT_EQ(fromCrLf.EndMonth, fromLf.EndMonth);
    EXPECT_EQ(fromCrLf.TaxIncluded, fromLf.TaxIncluded);
    EXPECT_STREQ(fromCrLf.SavedOutputPath, "C:\\out.xml");
    EXPECT_EQ(fromCrLf.OutputPath, "C:\\out.xml");
    EXPECT_EQ(mappingentries::Of(crlfMapping), mappingentries::Of(lfMapping));
    EXPECT_EQ(crlfMapping.size(), 3u);
}

TEST(ConditionTextTest, MarkersInsideThePathOpenNoSection) {
    ConditionValues values;
    values.EndMonth = 2;
    values.OutputPath = "C:\\" + kEnd + "\\[P2/P3]\\[P1]\\out.xml";
    const MappingList mapping = mappingentries::Make({{7, "SIHON"}});

    ConditionValues read;
    MappingList readMapping;
    ASSERT_TRUE(ConditionText::Parse(ConditionText::Format(values, mapping), read, readMapping));
    EXPECT_EQ(read.OutputPath, values.OutputPath);
    EXPECT_EQ(read.EndMonth, 2);
    EXPECT_EQ(mappingentries::Of(readMapping), (std::vector<Entry>{{7, "SIHON"}}));
}

TEST(ConditionTextTest, FormatWritesNothingItCouldNotReadBack) {
    const auto firstLine = [](const ConditionValues& values) {
        const std::string text = ConditionText::Format(values, {});
        const std::size_t start = text.find('\n') + 1;
        return text.substr(start, text.find('\n', start) - start);
    };
    ConditionValues values;
    values.EndMonth = 3;
    values.TaxIncluded = 1;
    values.OutputPath = "C:\\" + std::string(258, 'p');  // 261 bytes
    EXPECT_EQ(firstLine(values), "3/1/0/");
    values.OutputPath = "C:\\a\nb.xml";
    EXPECT_EQ(firstLine(values), "3/1/0/");
    values.OutputPath = "C:\\a.xml\r";
    EXPECT_EQ(firstLine(values), "3/1/0/");

    // A path passed in is used, never remembered: the one the file held is.
    values.OutputPath = "C:\\passed.xml";
    values.OutputPathLocked = 1;
    std::strcpy(values.SavedOutputPath, "C:\\remembered.xml");
    EXPECT_EQ(firstLine(values), "3/1/0/C:\\remembered.xml");
    values.SavedOutputPath[0] = '\0';
    EXPECT_EQ(firstLine(values), "3/1/0/");

    // A key field without its NUL gives its 34 bytes of text.
    MappingList mapping = mappingentries::Make({{5, std::string(35, 'k')}});
    EXPECT_EQ(ConditionText::Format(ConditionValues{}, mapping),
              "[P1]\n0/0/0/\n" + kEnd + "\n[P2/P3]\n5/" + std::string(34, 'k') + "[END]\n" + kEnd + "\n");
}

}  // namespace
