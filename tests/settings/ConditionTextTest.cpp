#include "settings/ConditionText.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/settings/MappingEntries.h"

using mappingentries::Entry;

static const std::string kEnd = "[終了]";
static std::string File(const std::string& values, const std::string& entries) {
    return "[P1]\n" + values + "\n" + kEnd + "\n[P2/P3]\n" + entries + kEnd + "\n";
}

TEST(ConditionText, WhatFormatWritesParseReadsBack) {
    // Paths may hold the markers, "/", CR and characters ending in 0x5C; one that could not come back as written (a
    // LF in it, a CR at its end, over 260 bytes) is written empty, and a NUL ends it. A path passed in is never
    // written (OutputPathLocked): the one the file held is.
    const std::vector<std::string> pathPieces = {"C:\\", "o.xml", "/", "[P1]", kEnd, "[P2/P3]", "[END]", "表", "\r",
                                                 "\n", std::string(1, '\0'), std::string(60, 'p')};
    const std::vector<std::string> keyPieces = {"0x", "ab", "19", "URIAGEDAKA", "/", "表", "_"};
    std::mt19937 random(20240401);
    const auto text = [&random](const std::vector<std::string>& pieces, std::size_t count) {
        std::string made;
        for (std::size_t n = random() % (count + 1); n > 0; --n) made += pieces[random() % pieces.size()];
        return made;
    };
    for (int round = 0; round < 500; ++round) {
        ConditionValues values{.EndMonth = std::int16_t(random()), .TaxIncluded = std::int16_t(random()), .Reserved = 5,
                               .OutputPath = text(pathPieces, 10), .OutputPathLocked = random() % 3 == 0};
        const std::string saved = text(pathPieces, 6).substr(0, 260);
        std::memcpy(values.SavedOutputPath, saved.data(), saved.size());
        std::vector<Entry> entries;
        for (std::size_t n = random() % 6; n > 0; --n) {
            std::string key = text(keyPieces, 5);
            while (key.size() > 34) key.resize(key.size() - 2);  // whole characters only
            entries.emplace_back(std::int16_t(random()), key);
        }
        std::string path = values.OutputPathLocked ? saved : values.OutputPath;
        path = path.substr(0, path.find('\0'));
        if (path.size() > 260 || path.find('\n') != std::string::npos || path.ends_with('\r')) path.clear();
        ConditionValues read{.Reserved = 5, .OutputPath = {}};
        MappingList mapping = mappingentries::Make({{1, "OLD"}});
        ASSERT_TRUE(ConditionText::Parse(ConditionText::Format(values, mappingentries::Make(entries)), read, mapping));
        EXPECT_TRUE(read.EndMonth == values.EndMonth && read.TaxIncluded == values.TaxIncluded && read.Reserved == 0);
        EXPECT_EQ(std::string(read.SavedOutputPath) + "|" + read.OutputPath, path + "|" + path) << round;
        EXPECT_EQ(mappingentries::Of(mapping), entries) << round;
    }
}

TEST(ConditionText, AFirstSectionThatIsNotWholeIsNotReadAndValuesAreReadAsAtoiReadsThem) {
    const std::string rest = "\n" + kEnd + "\n[P2/P3]\n" + kEnd + "\n";
    for (const auto& [name, text] : {std::pair<const char*, std::string>{"nothing", ""},
             {"no [P1]", "3/1/0/C:\\o" + rest}, {"no value line", "[P1]"}, {"no LF", "[P1]\n3/1/0/C:\\o"},
             {"no end marker", "[P1]\n3/1/0/C:\\o\n"}, {"two fields", "[P1]\n3/1" + rest},
             {"three fields", "[P1]\n3/1/0" + rest}, {"a [ as the second byte of ゼ", "ゼP1]\n3/1/0/C:\\o" + rest}}) {
        ConditionValues values{.EndMonth = 4, .TaxIncluded = 1, .OutputPath = {}, .SavedOutputPath = "C:\\old.xml"};
        MappingList mapping = mappingentries::Make({{1, "KEPT"}});
        EXPECT_FALSE(ConditionText::Parse(text, values, mapping)) << name;
        EXPECT_TRUE(values.EndMonth == 4 && values.TaxIncluded == 1 && mapping.size() == 1) << name;
        EXPECT_EQ(values.OutputPath + values.SavedOutputPath + mapping.front()->AccountKey, "KEPT") << name;
    }
    ConditionValues values{.OutputPath = "C:\\passed.xml"};  // a path passed in stays
    MappingList mapping;
    ASSERT_TRUE(ConditionText::Parse(File(" +4x/-1/7/Z:\\a/b.xml\r\r", "  12abc/KEY[END]\r\n/NOITEM[END]\n"
                                          "70000/BIG[END]\n99999999999/H[END]\n"), values, mapping));
    EXPECT_TRUE(values.EndMonth == 4 && values.TaxIncluded == -1 && values.OutputPath == "C:\\passed.xml");
    EXPECT_STREQ(values.SavedOutputPath, "Z:\\a/b.xml");
    // Item numbers are 16-bit: 70000 wraps, and an int held at its limit too.
    EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{12, "KEY"}, {0, "NOITEM"}, {4464, "BIG"}, {-1, "H"}}));
    for (const std::string& path : {"C:\\" + std::string(257, 'p'), "C:\\" + std::string(258, 'p')}) {
        ConditionValues read;  // a path over 260 bytes is not taken; the other values are
        ASSERT_TRUE(ConditionText::Parse(File("5/1/0/" + path, ""), read, mapping));
        EXPECT_TRUE(read.EndMonth == 5 && read.OutputPath == (path.size() <= 260 ? path : "")) << path.size();
    }
    // The mapping ends at the first non-entry: no "/" or "[END]", text behind, a 35-byte key, an empty line, a NUL,
    // a "[" taken by a lead byte.
    for (const std::string& line : {std::string("2NOSLASH[END]"), std::string("2/NOEND"), std::string("2/K[END]3/M"),
                                    "2/" + std::string(35, 'k') + "[END]", std::string(), std::string("2/K\x95[END]"),
                                    std::string("2/K\0Y[END]", 10)}) {
        ASSERT_TRUE(ConditionText::Parse(File("1/0/0/", "1/GOOD[END]\n" + line + "\n3/AFTER[END]\n"), values, mapping));
        EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{1, "GOOD"}})) << line;
    }
    // Without the mapping section or its end the mapping stays as it was; the first section's values are taken.
    EXPECT_FALSE(ConditionText::Parse("[P1]\n2/1/0/\n" + kEnd + "\n", values, mapping) || values.EndMonth != 2);
    EXPECT_FALSE(ConditionText::Parse("[P1]\n3/1/0/\n" + kEnd + "\n[P2/P3]\n2/N[END]\n", values, mapping));
    EXPECT_TRUE(values.EndMonth == 3 && mapping.size() == 1);
}
