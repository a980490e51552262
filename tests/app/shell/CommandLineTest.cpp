#include "app/shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

// handle,message,function,path: each number read from the leading part of
// its field, the path taken whole to the end of the text.
TEST(CommandLineTest, FieldsAreReadUpToTheLastCommaFound) {
    struct Case {
        const char* name;
        std::string text;
        bool linked;
        std::uintptr_t window;
        std::uint32_t message;
        std::int16_t function;
        std::string path;
    };
    const Case cases[] = {
        {"empty", "", false, 0, 0, 2, ""},
        {"no comma", "123", false, 0, 0, 2, ""},
        {"one comma", "123,456", false, 123, 0, 2, ""},
        {"no comma after the function", "123,456,7", false, 123, 456, 2, ""},
        {"linked without a path", "65542,32769,3,", true, 65542, 32769, 3, ""},
        {"commas and double-byte characters in the path", "1,2,3,Z:\\決算,2018\\表,控え.xml", true, 1, 2, 3,
         "Z:\\決算,2018\\表,控え.xml"},
        {"blanks kept in the path", "1,2,3, Z:\\my docs\\a.xml ", true, 1, 2, 3, " Z:\\my docs\\a.xml "},
        {"leading numbers", "  +12abc, -5x,\t7 8,p", true, 12, 4294967291u, 7, "p"},
        {"fields without digits", "abc,,- 1,", true, 0, 0, 0, ""},
        {"a function past 16 bits keeps its low bits", "1,2,65538,", true, 1, 2, 2, ""},
        {"a function of 32768", "1,2,32768,", true, 1, 2, -32768, ""},
        {"a number past every range saturates", "1,2,99999999999999999999999,", true, 1, 2, -1, ""},
        {"the text ends at a NUL", std::string("1,2,3,a\0b", 9), true, 1, 2, 3, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandLine line;
        EXPECT_EQ(line.ParseCommandLine(c.text), c.linked);
        EXPECT_EQ(line.LinkedToParent, 0) << "the run links, not the parser";
        EXPECT_EQ(line.ParentWindow, c.window);
        EXPECT_EQ(line.NotifyMessage, c.message);
        EXPECT_EQ(line.FunctionNo, c.function);
        EXPECT_EQ(line.OutputPathArg, c.path);
    }
}

TEST(CommandLineTest, ATextOver259BytesIsReadWholeAndFlagged) {
    // 259 bytes and 260 (a double-byte character across the limit); commas beyond it count too.
    const std::string path = std::string(253, 'a') + "表.xml";
    const std::string a253(253, 'a');
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"1,2,3," + a253, a253, false}, {"1,2,3," + path, path, true},
        {"1" + std::string(300, ' ') + ",2,3,x", "x", true}};
    for (const auto& [text, expected, tooLong] : cases) {
        CommandLine line;
        EXPECT_TRUE(line.ParseCommandLine(text));
        EXPECT_EQ(line.OutputPathArg, expected);
        EXPECT_EQ(line.TooLong(), tooLong) << text.size();
    }
}

}  // namespace
