#include "app/shell/LaunchOptions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace {

using Action = LaunchOptions::Action;
using testfiles::Utf8;

// The literals of this file are code page 932; what a person types is UTF-8
// under the C locale of the tests.
TEST(LaunchOptionsTest, OptionsLeadAndTheRestIsTheCallersText) {
    struct Case {
        const char* name;
        std::vector<std::string> words;
        Action action;
        std::string errorOrText;  // Action::Error: the reason; otherwise the caller's text
        bool batch = false;
        std::optional<int> endMonth = std::nullopt;
        std::optional<bool> taxIncluded = std::nullopt;
        std::optional<std::string> output = std::nullopt;
        bool yes = false;
        LaunchOptions::Preview preview = LaunchOptions::Preview::None;
    };
    const Case cases[] = {
        {"the caller's words joined", {"12,34,2,Z:\\my", "docs\\a.xml"}, Action::Run, "12,34,2,Z:\\my docs\\a.xml"},
        {"every batch option", {"--batch", "--end-month", "3", "--tax-included=yes", "--output", "Z:\\r.xml", "--yes",
          "1,2,3,"}, Action::Run, "1,2,3,", true, 3, true, "Z:\\r.xml", true},
        {"the last repeated option wins", {"--batch", "--end-month=12", "--tax-included", "no", "--tax-included=yes",
          "--tax-included=no"}, Action::Run, "", true, 12, false},
        {"a preview as CSV", {"--batch", "--preview=csv", "--end-month", "3"}, Action::Run, "", true, 3, std::nullopt,
         std::nullopt, false, LaunchOptions::Preview::Csv},
        {"a preview as a table", {"--batch", "--preview"}, Action::Run, "", true, std::nullopt, std::nullopt,
         std::nullopt, false, LaunchOptions::Preview::Table},
        {"options after the caller's text are its words", {"1,2,3,", "--batch"}, Action::Run, "1,2,3, --batch"},
        {"a lone -- ends the options", {"--batch", "--", "--yes", "x"}, Action::Run, "--yes x", true},
        {"a single dash starts the caller's text", {"-5,1,2,"}, Action::Run, "-5,1,2,"},
        {"a typed path is converted", {"--batch", "--output", Utf8(u8"Z:\\決算\\表\U0001F600.xml")}, Action::Run, "",
         true, std::nullopt, std::nullopt, "Z:\\決算\\表?.xml"},
        {"--output beside a caller without a path", {"--batch", "--output", "C:\\a.xml", "1,2,3,"}, Action::Run,
         "1,2,3,", true, std::nullopt, std::nullopt, "C:\\a.xml"},
        {"help ends the parsing", {"--help", "--bogus"}, Action::Help, ""},
        {"version ends the parsing", {"--batch", "--version"}, Action::Version, ""},
        {"unknown option", {"--frobnicate", "1,2,3,"}, Action::Error, "unknown option --frobnicate"},
        {"missing value", {"--batch", "--end-month"}, Action::Error, "option --end-month needs a value"},
        {"month 13", {"--batch", "--end-month", "13"}, Action::Error, "--end-month takes a month from 1 to 12, not \"13\""},
        {"month 0", {"--batch", "--end-month", "0"}, Action::Error, "--end-month takes a month from 1 to 12, not \"0\""},
        {"month 3x", {"--batch", "--end-month=3x"}, Action::Error, "--end-month takes a month from 1 to 12, not \"3x\""},
        {"month 003", {"--batch", "--end-month", "003"}, Action::Error,
         "--end-month takes a month from 1 to 12, not \"003\""},
        {"tax maybe", {"--batch", "--tax-included", "maybe"}, Action::Error,
         "--tax-included takes yes or no, not \"maybe\""},
        {"empty output", {"--batch", "--output="}, Action::Error,
         "--output needs a Windows path, such as Z:\\tmp\\report.xml"},
        {"output that is no text", {"--batch", "--output", "Z:\\\x95\\x.xml"}, Action::Error,
         "--output \"Z:\\\x95\\x.xml\" is no text of this locale's encoding"},
        {"a flag with a value", {"--batch=1"}, Action::Error, "option --batch takes no value"},
        {"a condition without --batch", {"--end-month", "3"}, Action::Error, "option --end-month needs --batch"},
        {"--yes without --batch", {"--yes", "1,2,3,"}, Action::Error, "option --yes needs --batch"},
        {"--output beside a caller's path", {"--batch", "--output", "C:\\a.xml", "1,2,3,C:\\b.xml"}, Action::Error,
         "--output cannot be used when a caller names the report file"},
        {"--preview without --batch", {"--preview=csv"}, Action::Error, "option --preview needs --batch"},
        {"--preview of another form", {"--batch", "--preview=xml"}, Action::Error,
         "--preview takes csv or no value, not \"xml\""},
        {"--preview for a caller", {"--batch", "--preview", "1,2,3,"}, Action::Error,
         "--preview prints the amounts for a person and takes no caller's text"},
        {"--preview beside --output", {"--batch", "--preview", "--output", "C:\\a.xml"}, Action::Error,
         "--preview writes no report: --output has no use beside it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LaunchOptions options = LaunchOptions::Parse(c.words);
        EXPECT_EQ(options.action, c.action) << options.error;
        if (c.action != Action::Run) {
            EXPECT_EQ(options.error, c.errorOrText);
            continue;
        }
        EXPECT_EQ(options.callerText, c.errorOrText);
        EXPECT_EQ(options.batch, c.batch);
        EXPECT_EQ(options.endMonth, c.endMonth);
        EXPECT_EQ(options.taxIncluded, c.taxIncluded);
        EXPECT_EQ(options.outputPath, c.output);
        EXPECT_EQ(options.answerYes, c.yes);
        EXPECT_EQ(options.preview, c.preview);
    }
    // A refused option still names the caller, who is told.
    EXPECT_EQ(LaunchOptions::Parse({"--batch", "--end-month", "x", "1,2,3,p"}).callerText, "1,2,3,p");
    EXPECT_EQ(LaunchOptions::Parse({"--bogus", "--output", "x", "1,2,3,p"}).callerText, "1,2,3,p");
    EXPECT_EQ(LaunchOptions::Usage("MznAld20ToUg16_G").rfind("Usage: MznAld20ToUg16_G ", 0), 0u);
}

}  // namespace
