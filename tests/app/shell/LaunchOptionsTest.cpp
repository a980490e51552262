#include "app/shell/LaunchOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace {

using Action = LaunchOptions::Action;
using testfiles::Utf8;

LaunchOptions Parse(const std::vector<std::string>& arguments) { return LaunchOptions::Parse(arguments); }

TEST(LaunchOptionsTest, WithoutOptionsEveryWordIsTheCallersText) {
    const LaunchOptions none = Parse({});
    EXPECT_EQ(none.action, Action::Run);
    EXPECT_FALSE(none.batch);
    EXPECT_TRUE(none.callerText.empty());

    const LaunchOptions words = Parse({"12,34,2,Z:\\my", "docs\\a.xml"});
    EXPECT_EQ(words.action, Action::Run);
    EXPECT_FALSE(words.batch);
    EXPECT_EQ(words.callerText, "12,34,2,Z:\\my docs\\a.xml");
}

TEST(LaunchOptionsTest, BatchOptionsOverrideTheConditions) {
    const LaunchOptions options = Parse({"--batch", "--end-month", "3", "--tax-included=yes", "--output",
                                         "Z:\\tmp\\r.xml", "--yes", "1,2,3,"});
    ASSERT_EQ(options.action, Action::Run) << options.error;
    EXPECT_TRUE(options.batch);
    EXPECT_EQ(options.endMonth, 3);
    EXPECT_EQ(options.taxIncluded, true);
    EXPECT_EQ(options.outputPath, "Z:\\tmp\\r.xml");
    EXPECT_TRUE(options.answerYes);
    EXPECT_EQ(options.callerText, "1,2,3,");

    const LaunchOptions plain = Parse({"--batch", "--end-month=12", "--tax-included", "no", "--tax-included=yes",
                                       "--tax-included=no"});
    ASSERT_EQ(plain.action, Action::Run) << plain.error;
    EXPECT_EQ(plain.endMonth, 12);
    EXPECT_EQ(plain.taxIncluded, false);  // the last one wins
    EXPECT_FALSE(plain.outputPath.has_value());
    EXPECT_FALSE(plain.answerYes);
}

TEST(LaunchOptionsTest, OnlyLeadingOptionsAreTaken) {
    const LaunchOptions late = Parse({"1,2,3,", "--batch"});
    EXPECT_EQ(late.action, Action::Run);
    EXPECT_FALSE(late.batch);
    EXPECT_EQ(late.callerText, "1,2,3, --batch");

    const LaunchOptions ended = Parse({"--batch", "--", "--yes", "x"});
    EXPECT_EQ(ended.action, Action::Run);
    EXPECT_TRUE(ended.batch);
    EXPECT_FALSE(ended.answerYes);
    EXPECT_EQ(ended.callerText, "--yes x");

    // A single dash is no option of this program: a caller's text begins.
    const LaunchOptions dash = Parse({"-5,1,2,"});
    EXPECT_EQ(dash.action, Action::Run);
    EXPECT_EQ(dash.callerText, "-5,1,2,");
}

TEST(LaunchOptionsTest, HelpAndVersionEndTheParsing) {
    EXPECT_EQ(Parse({"--help", "--bogus"}).action, Action::Help);
    EXPECT_EQ(Parse({"--batch", "--version"}).action, Action::Version);
    const std::string usage = LaunchOptions::Usage("MznAld20ToUg16_G");
    EXPECT_EQ(usage.rfind("Usage: MznAld20ToUg16_G ", 0), 0u);
    for (const char* option : {"--batch", "--end-month", "--tax-included", "--output", "--yes", "--help", "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(LaunchOptionsTest, MistakesAreRefusedWithAReason) {
    struct Case {
        std::vector<std::string> arguments;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {{"--frobnicate", "1,2,3,"}, "unknown option --frobnicate"},
        {{"--batch", "--end-month"}, "option --end-month needs a value"},
        {{"--batch", "--end-month", "13"}, "--end-month takes a month from 1 to 12, not \"13\""},
        {{"--batch", "--end-month", "0"}, "--end-month takes a month from 1 to 12, not \"0\""},
        {{"--batch", "--end-month=3x"}, "--end-month takes a month from 1 to 12, not \"3x\""},
        {{"--batch", "--end-month", "-3"}, "--end-month takes a month from 1 to 12, not \"-3\""},
        {{"--batch", "--end-month", "003"}, "--end-month takes a month from 1 to 12, not \"003\""},
        {{"--batch", "--tax-included", "maybe"}, "--tax-included takes yes or no, not \"maybe\""},
        {{"--batch", "--output="}, "--output needs a Windows path, such as Z:\\tmp\\report.xml"},
        {{"--batch=1"}, "option --batch takes no value"},
        {{"--end-month", "3"}, "option --end-month needs --batch"},
        {{"--yes", "1,2,3,"}, "option --yes needs --batch"},
    };
    for (const Case& c : cases) {
        const LaunchOptions options = Parse(c.arguments);
        EXPECT_EQ(options.action, Action::Error) << c.reason;
        EXPECT_EQ(options.error, c.reason);
    }
    EXPECT_EQ(LaunchOptions::kUsageExitCode, 2);
}

TEST(LaunchOptionsTest, TypedTextIsConvertedAndTheCallersTextIsNot) {
    // Under the C locale what a person types is UTF-8; the literals of this
    // file are code page 932.
    const LaunchOptions options = Parse({"--batch", "--output", Utf8(u8"Z:\\決算\\表\U0001F600.xml")});
    ASSERT_EQ(options.action, Action::Run) << options.error;
    EXPECT_EQ(options.outputPath, "Z:\\決算\\表?.xml");
    // ﾃｩ in half-width katakana is C3 A9, which is UTF-8 too.
    const std::string halfWidth = "1,2,3,Z:\\\xC3\xA9.xml";
    EXPECT_EQ(Parse({"--batch", halfWidth}).callerText, halfWidth);

    const LaunchOptions broken = Parse({"--batch", "--output", "Z:\\\x95\\x.xml"});
    EXPECT_EQ(broken.action, Action::Error);
    EXPECT_NE(broken.error.find("--output"), std::string::npos);

    // A caller's path names the report file: --output beside it is refused,
    // and the caller is still known.
    const LaunchOptions both = Parse({"--batch", "--output", "C:\\a.xml", "1,2,3,C:\\b.xml"});
    EXPECT_EQ(both.action, Action::Error);
    EXPECT_EQ(both.callerText, "1,2,3,C:\\b.xml");
    EXPECT_EQ(Parse({"--batch", "--output", "C:\\a.xml", "1,2,3,"}).action, Action::Run);
    EXPECT_EQ(Parse({"--bogus", "--output", "x", "1,2,3,p"}).callerText, "1,2,3,p");
    EXPECT_EQ(Parse({"--batch", "--end-month", "x", "1,2,3,p"}).callerText, "1,2,3,p");
}

}  // namespace
