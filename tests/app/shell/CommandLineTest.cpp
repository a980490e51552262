#include "app/shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CommandLineTest, EmptyTextLeavesTheRunUnlinked) {
    CommandLine line;
    EXPECT_FALSE(line.ParseCommandLine(""));
    EXPECT_EQ(line.LinkedToParent, 0);
    EXPECT_EQ(line.ParentWindow, 0u);
    EXPECT_EQ(line.NotifyMessage, 0u);
    EXPECT_EQ(line.FunctionNo, 2);
    EXPECT_TRUE(line.OutputPathArg.empty());
}

TEST(CommandLineTest, FieldsReadBeforeAMissingCommaAreKept) {
    CommandLine noComma;
    EXPECT_FALSE(noComma.ParseCommandLine("123"));
    EXPECT_EQ(noComma.ParentWindow, 0u);

    CommandLine oneComma;
    EXPECT_FALSE(oneComma.ParseCommandLine("123,456"));
    EXPECT_EQ(oneComma.ParentWindow, 123u);
    EXPECT_EQ(oneComma.NotifyMessage, 0u);

    // Three numbers without the comma after the third: the function number
    // is not taken.
    CommandLine twoCommas;
    EXPECT_FALSE(twoCommas.ParseCommandLine("123,456,7"));
    EXPECT_EQ(twoCommas.ParentWindow, 123u);
    EXPECT_EQ(twoCommas.NotifyMessage, 456u);
    EXPECT_EQ(twoCommas.FunctionNo, 2);
    EXPECT_TRUE(twoCommas.OutputPathArg.empty());
    EXPECT_EQ(twoCommas.LinkedToParent, 0);
}

TEST(CommandLineTest, ThreeNumbersAndACommaLinkWithoutAPath) {
    CommandLine line;
    EXPECT_TRUE(line.ParseCommandLine("65542,32769,3,"));
    EXPECT_EQ(line.ParentWindow, 65542u);
    EXPECT_EQ(line.NotifyMessage, 32769u);
    EXPECT_EQ(line.FunctionNo, 3);
    EXPECT_TRUE(line.OutputPathArg.empty());
    // Parsing links nothing by itself: the run does that.
    EXPECT_EQ(line.LinkedToParent, 0);
}

TEST(CommandLineTest, ThePathRunsToTheEndCommasAndDoubleByteCharactersIncluded) {
    CommandLine line;
    EXPECT_TRUE(line.ParseCommandLine("1,2,3,Z:\\決算,2018\\表,控え.xml"));
    EXPECT_EQ(line.OutputPathArg, "Z:\\決算,2018\\表,控え.xml");

    CommandLine blanks;
    EXPECT_TRUE(blanks.ParseCommandLine("1,2,3, Z:\\my docs\\a.xml "));
    EXPECT_EQ(blanks.OutputPathArg, " Z:\\my docs\\a.xml ");
}

TEST(CommandLineTest, NumbersComeFromTheLeadingPartOfEachField) {
    CommandLine line;
    EXPECT_TRUE(line.ParseCommandLine("  +12abc, -5x,\t7 8,p"));
    EXPECT_EQ(line.ParentWindow, 12u);
    EXPECT_EQ(line.NotifyMessage, 4294967291u);  // -5 in 32 bits
    EXPECT_EQ(line.FunctionNo, 7);
    EXPECT_EQ(line.OutputPathArg, "p");

    CommandLine garbage;
    EXPECT_TRUE(garbage.ParseCommandLine("abc,,- 1,"));
    EXPECT_EQ(garbage.ParentWindow, 0u);
    EXPECT_EQ(garbage.NotifyMessage, 0u);
    EXPECT_EQ(garbage.FunctionNo, 0);
}

TEST(CommandLineTest, TheFunctionNumberIsKeptIn16Bits) {
    auto functionOf = [](const std::string& field) {
        CommandLine line;
        EXPECT_TRUE(line.ParseCommandLine("1,2," + field + ","));
        return line.FunctionNo;
    };
    EXPECT_EQ(functionOf("32767"), 32767);
    EXPECT_EQ(functionOf("32768"), -32768);
    EXPECT_EQ(functionOf("65538"), 2);
    EXPECT_EQ(functionOf("-1"), -1);
    EXPECT_EQ(functionOf("-32769"), 32767);
    // A number past every range saturates first, then keeps its low bits.
    EXPECT_EQ(functionOf("99999999999999999999999"), -1);
}

TEST(CommandLineTest, ATextOver259BytesIsReadWholeAndFlagged) {
    const std::string head = "1,2,3,";
    const std::string path = std::string(253, 'a') + "表.xml";
    CommandLine line;
    EXPECT_TRUE(line.ParseCommandLine(head + path));
    EXPECT_EQ(line.OutputPathArg, path);
    EXPECT_TRUE(line.TooLong());

    CommandLine limit;
    EXPECT_TRUE(limit.ParseCommandLine(head + std::string(259 - head.size(), 'a')));
    EXPECT_FALSE(limit.TooLong());

    // Commas beyond 259 bytes count too.
    CommandLine late;
    EXPECT_TRUE(late.ParseCommandLine("1" + std::string(300, ' ') + ",2,3,x"));
    EXPECT_EQ(late.OutputPathArg, "x");
    EXPECT_TRUE(late.TooLong());
}

}  // namespace
