#include "platform/ProfileReader.h"

#include "platform/DriveTable.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

// One file with every rule: blanks and case, comments, quotes, lines without
// "=" or "]", the first of two sections and keys, CR, LF and CR LF, and names
// whose second bytes look like "A", "\" or "]" (ア 83 41, ヂ 83 61, ソ 83 5C,
// ゾ 83 5D).
TEST(ProfileReaderTest, ReadsKeysTheWayWindowsDoes) {
    const std::string file = "; c\r\n [ programlevel ] x\r\n\tug16_g \t=\t 2 \t\r\nk = a ; b\n\n \n"
                             "[S]\rk==x=y\r\nempty=\nd = \" 2 \"\ns='x'\nm=\"x'\nq=\"\n;c=1\n  ; c=2\nc\n[broken\nc=3\n"
                             "[A]\nk=1\nk=2\n[s]\nt=4\n[設定]\nア=5\n[表ソ]\nキー=値\n[ゾ]\n\x83=6";
    struct Row { const char *section, *key, *defaultValue, *value; };
    const Row rows[] = {
        {"ProgramLevel", "UG16_G", "1", "2"}, {"programlevel", "k", "1", "a ; b"}, {"S", "k", "1", "=x=y"},
        {"S", "empty", "1", ""}, {"S", "missing", "1", "1"}, {"Missing", "k", "dflt", "dflt"}, {"S", "x", nullptr, ""},
        {"S", "x", " 7 \t ", " 7"}, {"S", "d", "1", " 2 "}, {"S", "s", "1", "x"}, {"S", "m", "1", "\"x'"},
        {"S", "q", "1", "\""}, {"S", "c", "1", "3"}, {"A", "k", "1", "1"}, {"S", "t", "1", "1"},
        {nullptr, "k", "1", ""}, {"S", nullptr, "1", ""}, {"設定", "ア", "1", "5"}, {"設定", "ヂ", "1", "1"},
        {"表ソ", "キー", "1", "値"}, {"ゾ", "\x83", "1", "6"},
    };
    for (const Row& row : rows) {
        char out[64];
        const std::uint32_t copied = ProfileReader::GetString(file, row.section, row.key, row.defaultValue, out, 64);
        EXPECT_EQ(copied, std::strlen(row.value));
        EXPECT_STREQ(out, row.value) << row.section << " " << row.key;
    }
    // Keys before any header are in no section; a byte order mark hides no header; NUL ends a value.
    const std::pair<std::string, const char*> files[] = {
        {"UG16_G=2\n[S]\n", "1"}, {"\xEF\xBB\xBF[S]\nUG16_G=bom", "bom"}, {std::string("[S]\nUG16_G=a\0cd", 15), "a"}};
    for (const auto& [bytes, value] : files) {
        char out[64];
        ProfileReader::GetString(bytes, "S", "UG16_G", "1", out, 64);
        EXPECT_STREQ(out, value);
    }
}

// Cut to outSize - 1 bytes, one less where a double-byte character would be
// split, and nothing written behind the NUL.
TEST(ProfileReaderTest, CutsTheResultToTheBufferOnCharacterBoundaries) {
    struct Row { const char* key; std::uint32_t outSize, copied; std::string written; };
    const Row rows[] = {{"k", 4, 3, std::string("123\0#", 5)}, {"j", 4, 2, std::string("ab\0#", 4)},
                        {"j", 5, 4, std::string("ab表\0#", 6)},  {"none", 3, 2, std::string("de\0#", 4)},
                        {"k", 1, 0, std::string("\0#", 2)},     {"k", 0, 0, "#"}};
    for (const Row& row : rows) {
        char out[8] = "#######";
        const std::string file = "[S]\nk=12345\nj=ab表\n";
        EXPECT_EQ(ProfileReader::GetString(file, "S", row.key, "default", out, row.outSize), row.copied);
        EXPECT_EQ(std::string(out, row.written.size()), row.written) << row.key << " " << row.outSize;
    }
    EXPECT_EQ(ProfileReader::GetString("[S]\nk=1\n", "S", "k", "1", nullptr, 16), 0u);
}

TEST(ProfileReaderTest, ReadsFilesByHostAndWindowsPathsUpToOneMebibyte) {
    TempRoot root;
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    // C:\表\KumotoriDef.ini: the folder's second byte is a backslash in code page 932.
    std::filesystem::create_directories(root.Path() + testfiles::Utf8(u8"/drives/c/表"));
    testfiles::WriteFile(root.Path() + testfiles::Utf8(u8"/drives/c/表/Kumotori.ini"), "[programlevel]\n ug16_g = 3 ");
    testfiles::WriteFile(root / "big.ini", "[Early]\nk=early\n[Pad]\n" +
                                               std::string(ProfileReader::kMaxFileBytes, ';') + "\n[Late]\nk=late\n");
    char out[16];
    const auto read = [&](const char* section, const std::string& host) {
        const std::uint32_t copied = ProfileReader::ReadHostFile(section, "k", "none", out, sizeof out, host);
        return std::string(out, copied);
    };
    EXPECT_EQ(read("Early", root / "big.ini") + read("Late", root / "big.ini"), "earlynone");  // behind the first MiB
    EXPECT_EQ(read("Early", root / "missing.ini") + read("Early", root.Path()) + read("Early", ""), "nonenonenone");
    const auto lookup = [&](const char* fileName) {
        ProfileReader::GetPrivateProfileStringA("ProgramLevel", "UG16_G", "1", out, sizeof out, fileName);
        return std::string(out);
    };
    EXPECT_EQ(lookup("C:\\表\\Kumotori.ini") + lookup("Q:\\Kumotori.ini") + lookup("C:\\x") + lookup(nullptr), "3111");
}
