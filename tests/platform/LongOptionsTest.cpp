#include "platform/LongOptions.h"

#include <gtest/gtest.h>

#include <vector>

using Kind = LongOptions::Kind;

// Every item of a scan, and where it ended.
TEST(LongOptionsTest, ScansOptionsValuesRefusalsAndTheirEnd) {
    static constexpr LongOptions::Option kOptions[] = {{"--a", true}, {"--f", false}};
    struct Row { std::vector<std::string> words; const char *scan, *prefix = "--"; bool interleaved = false; };
    const Row rows[] = {
        {{"--a=b", "--a", "b", "c", "--f"}, "--a=b; --a=b; end at 3"},
        {{"--a=x=y", "--a", "--f", "--a="}, "--a=x=y; --a=--f; --a; end at 4"},
        {{"--f", "--a"}, "--f; option --a needs a value; end at 2"},
        {{"--f=1", "--f="}, "option --f takes no value; option --f takes no value; end at 2"},
        {{"--x", "--a", "v", "--x=1"}, "unknown option --x; --a=v; unknown option --x; end at 4"},
        {{"--f", "--", "--f"}, "--f; end at 2"},
        {{"-x", "-", "--f"}, "unknown option -x; end at 1", "-"},
        {{"w", "--f", "-f", "--", "--a", "--"}, "[w]; --f; [-f]; [--a]; [--]; end at 6", "--", true},
    };
    for (const Row& row : rows) {
        LongOptions scanner(row.words, kOptions,
                            row.interleaved ? LongOptions::Operands::Interleaved : LongOptions::Operands::EndOptions,
                            row.prefix);
        std::string items;
        for (LongOptions::Item item = scanner.Next(); item.kind != Kind::End; item = scanner.Next()) {
            if (item.kind == Kind::Operand) items += "[" + item.word + "]; ";
            if (item.kind == Kind::Option) items += item.name + (item.value.empty() ? "" : "=" + item.value) + "; ";
            if (item.kind != Kind::Operand && item.kind != Kind::Option) items += item.Problem() + "; ";
        }
        EXPECT_EQ(items + "end at " + std::to_string(scanner.Position()), row.scan) << row.words.front();
    }
    EXPECT_EQ(LongOptions::Item().Problem(), "");
}
