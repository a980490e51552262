#include "platform/LongOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = LongOptions::Kind;
using Operands = LongOptions::Operands;

constexpr LongOptions::Option kOptions[] = {{"--a", true}, {"--f", false}};

std::string Shown(const LongOptions::Item& item) {
    if (item.kind == Kind::Operand) return "[" + item.word + "]";
    if (item.kind == Kind::Option) return item.value.empty() ? item.name : item.name + "=" + item.value;
    return item.Problem();
}

// Every item of the scan and where it ended.
std::string Scan(const std::vector<std::string>& words, Operands operands, const char* prefix) {
    LongOptions scanner(words, kOptions, operands, prefix);
    std::string items;
    for (LongOptions::Item item = scanner.Next(); item.kind != Kind::End; item = scanner.Next())
        items += Shown(item) + "; ";
    return items + "end at " + std::to_string(scanner.Position());
}

TEST(LongOptionsTest, ScansOptionsValuesAndTheirEnd) {
    struct Case {
        std::vector<std::string> words;
        const char* scan;
        Operands operands = Operands::EndOptions;
        const char* prefix = "--";
    };
    const Case cases[] = {
        {{"--a=b", "--a", "b", "c", "--f"}, "--a=b; --a=b; end at 3"},
        {{"--a=x=y", "--a", "--f", "--a="}, "--a=x=y; --a=--f; --a; end at 4"},
        {{"--f", "--a"}, "--f; option --a needs a value; end at 2"},
        {{"--f=1", "--f="}, "option --f takes no value; option --f takes no value; end at 2"},
        {{"--x", "--a", "v", "--x=1"}, "unknown option --x; --a=v; unknown option --x; end at 4"},
        {{"--f", "--", "--f"}, "--f; end at 2"},
        {{"-x", "-", "--f"}, "unknown option -x; end at 1", Operands::EndOptions, "-"},
        {{"w", "--f", "-f", "--", "--a", "--"}, "[w]; --f; [-f]; [--a]; [--]; end at 6", Operands::Interleaved},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Scan(c.words, c.operands, c.prefix), c.scan) << c.words.front();
}

}  // namespace
