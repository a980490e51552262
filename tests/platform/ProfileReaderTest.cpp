#include "platform/ProfileReader.h"
#include "platform/DriveTable.h"

#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

using testfiles::WriteFile;

namespace {

// The lookup into a 64-byte buffer, as text.
std::string Lookup(std::string_view file, const char* section, const char* key, const char* defaultValue = "1") {
    char out[64];
    std::memset(out, 'X', sizeof out);
    std::uint32_t copied = ProfileReader::GetString(file, section, key, defaultValue, out, sizeof out);
    EXPECT_EQ(copied, std::strlen(out));
    return std::string(out, copied);
}

}  // namespace

TEST(ProfileReaderTest, FindsKeyWithoutRegardToCaseAndTrimsBlanks) {
    const std::string file = "; level of the installed package\r\n"
                             " [ programlevel ] trailing words\r\n"
                             "\tug16_g \t=\t 2 \t\r\n";
    EXPECT_EQ(Lookup(file, "ProgramLevel", "UG16_G"), "2");
    // A value keeps its inner blanks and anything that only looks like a comment.
    EXPECT_EQ(Lookup("[S]\nk = a b ; not a comment\n", "S", "k"), "a b ; not a comment");
    // The value runs from the first "=": later ones belong to it.
    EXPECT_EQ(Lookup("[S]\nk==x=y\n", "S", "k"), "=x=y");
}

TEST(ProfileReaderTest, GivesDefaultOnlyWhenSectionOrKeyIsMissing) {
    const std::string file = "[ProgramLevel]\nUG16_G=\nOther=5\n";
    EXPECT_EQ(Lookup(file, "ProgramLevel", "UG16_G"), "") << "an empty value is not the default";
    EXPECT_EQ(Lookup(file, "ProgramLevel", "UG30_G"), "1");
    EXPECT_EQ(Lookup(file, "Missing", "Other"), "1");
    EXPECT_EQ(Lookup("", "ProgramLevel", "UG16_G", "dflt"), "dflt");
    EXPECT_EQ(Lookup("", "ProgramLevel", "UG16_G", nullptr), "");
    // Trailing blanks of the default go, leading ones stay.
    EXPECT_EQ(Lookup("", "S", "k", " 7 \t "), " 7");
    // Keys before any section header belong to no section.
    EXPECT_EQ(Lookup("UG16_G=2\n[ProgramLevel]\n", "ProgramLevel", "UG16_G"), "1");
    // Enumeration of names is not offered: the empty text.
    EXPECT_EQ(Lookup(file, nullptr, "UG16_G"), "");
}

TEST(ProfileReaderTest, StripsOnlyMatchingQuotes) {
    const std::string file = "[S]\n"
                             "double = \" 2 \"\n"
                             "single='x'\n"
                             "mixed=\"x'\n"
                             "lone=\"\n";
    EXPECT_EQ(Lookup(file, "S", "double"), " 2 ");
    EXPECT_EQ(Lookup(file, "S", "single"), "x");
    EXPECT_EQ(Lookup(file, "S", "mixed"), "\"x'");
    EXPECT_EQ(Lookup(file, "S", "lone"), "\"");
}

TEST(ProfileReaderTest, FirstSectionAndFirstKeyWin) {
    const std::string file = "[A]\nk=first\nk=second\n[B]\nk=b\n[a]\nk=third\nonly=later\n";
    EXPECT_EQ(Lookup(file, "A", "k"), "first");
    EXPECT_EQ(Lookup(file, "B", "k"), "b");
    // The second section named A is never searched.
    EXPECT_EQ(Lookup(file, "A", "only"), "1");
}

TEST(ProfileReaderTest, ReadsEveryLineEndCommentAndNonKeyLine) {
    EXPECT_EQ(Lookup("[S]\rk=cr\r", "S", "k"), "cr");
    EXPECT_EQ(Lookup("[S]\r\nk=crlf", "S", "k"), "crlf") << "the last line needs no line end";
    EXPECT_EQ(Lookup("[S]\n\n\r\n\rk=lf\n", "S", "k"), "lf");
    EXPECT_EQ(Lookup("[S]\n;k=commented\n  ; k=also\nk=real\n", "S", "k"), "real");
    // A line without "=" is no key, even when it is the key's name.
    EXPECT_EQ(Lookup("[S]\nk\nk=after\n", "S", "k"), "after");
    // "[" without "]" is no header: the section S goes on.
    EXPECT_EQ(Lookup("[S]\n[broken\nk=still S\n", "S", "k"), "still S");
    // A byte order mark from an editor does not hide the first header.
    EXPECT_EQ(Lookup("\xEF\xBB\xBF[S]\nk=bom\n", "S", "k"), "bom");
    // A NUL byte in the file ends the value: the text is a C string.
    EXPECT_EQ(Lookup(std::string_view("[S]\nk=ab\0cd\n", 12), "S", "k"), "ab");
}

TEST(ProfileReaderTest, MatchesDoubleByteNamesByteForByte) {
    // "ア" is 0x83 0x41 and "ヂ" 0x83 0x61: their second bytes are "A" and "a".
    const std::string file = "[設定]\nア=katakana a\n";
    EXPECT_EQ(Lookup(file, "設定", "ア"), "katakana a");
    EXPECT_EQ(Lookup(file, "設定", "ヂ"), "1");
    // "ソ" (0x83 0x5C) ends in a backslash and "ゾ" (0x83 0x5D) in "]": the
    // header's "]" is found by character.
    EXPECT_EQ(Lookup("[表ソ]\nキー=値\n", "表ソ", "キー"), "値");
    EXPECT_EQ(Lookup("[ゾ]\nk=v\n", "ゾ", "k"), "v");
    // 0x83 before "=" is a lone byte, not a character swallowing the "=".
    EXPECT_EQ(Lookup("[S]\n\x83=v\n", "S", "\x83"), "v");
}

TEST(ProfileReaderTest, TruncatesToBufferWithoutSplittingDoubleByteCharacter) {
    const std::string file = "[S]\nk=12345\nj=ab表\n";
    char out[8];
    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(ProfileReader::GetString(file, "S", "k", "1", out, 4), 3u);
    EXPECT_STREQ(out, "123");
    EXPECT_EQ(out[4], 'X');

    // "ab表" is 4 bytes; a 4-byte buffer holds 3, which would split "表".
    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(ProfileReader::GetString(file, "S", "j", "1", out, 4), 2u);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(ProfileReader::GetString(file, "S", "j", "1", out, 5), 4u);
    EXPECT_STREQ(out, "ab表");

    // The default is cut the same way.
    EXPECT_EQ(ProfileReader::GetString(file, "S", "none", "default", out, 3), 2u);
    EXPECT_STREQ(out, "de");

    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(ProfileReader::GetString(file, "S", "k", "1", out, 1), 0u);
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(out[1], 'X');

    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(ProfileReader::GetString(file, "S", "k", "1", out, 0), 0u);
    EXPECT_EQ(out[0], 'X') << "a zero-sized buffer is not written";
    EXPECT_EQ(ProfileReader::GetString(file, "S", "k", "1", nullptr, 16), 0u);
}

TEST(ProfileReaderTest, ReadsRealFilesAndGivesDefaultWhenUnreadable) {
    TempRoot root;
    const std::string path = root / "KumotoriDef.ini";
    WriteFile(path, "[ProgramLevel]\r\nUG16_G=2\r\n");
    char out[16];
    EXPECT_EQ(ProfileReader::ReadHostFile("ProgramLevel", "UG16_G", "1", out, sizeof out, path), 1u);
    EXPECT_STREQ(out, "2");

    EXPECT_EQ(ProfileReader::ReadHostFile("ProgramLevel", "UG16_G", "1", out, sizeof out,
                                                      root / "missing.ini"),
              1u);
    EXPECT_STREQ(out, "1");
    EXPECT_EQ(ProfileReader::ReadHostFile("ProgramLevel", "UG16_G", "dir", out, sizeof out, root.Path()),
              3u)
        << "a folder is no readable file";
    EXPECT_STREQ(out, "dir");
    EXPECT_EQ(ProfileReader::ReadHostFile("ProgramLevel", "UG16_G", "none", out, sizeof out, ""), 4u);
    EXPECT_STREQ(out, "none");
}

TEST(ProfileReaderTest, ReadsOnlyTheFirstMebibyteOfAFile) {
    TempRoot root;
    const std::string path = root / "big.ini";
    std::string body = "[Early]\nk=early\n[Pad]\n";
    body += std::string(ProfileReader::kMaxFileBytes, ';');
    body += "\n[Late]\nk=late\n";
    WriteFile(path, body);
    char out[16];
    ProfileReader::ReadHostFile("Early", "k", "1", out, sizeof out, path);
    EXPECT_STREQ(out, "early");
    ProfileReader::ReadHostFile("Late", "k", "1", out, sizeof out, path);
    EXPECT_STREQ(out, "1");
}

TEST(ProfileReaderTest, TheProgramNamesTheFileByAWindowsPath) {
    TempRoot root;
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    // C:\表\KumotoriDef.ini: the folder's second byte is a backslash in code page 932.
    // Host names are UTF-8.
    const std::string folder = root.Path() + reinterpret_cast<const char*>(u8"/drives/c/表");
    std::filesystem::create_directories(folder);
    WriteFile(folder + "/KumotoriDef.ini", "[programlevel]\r\n ug16_g = 3 \r\n");
    char out[16];
    EXPECT_EQ(ProfileReader::GetPrivateProfileStringA("ProgramLevel", "UG16_G", "1", out, sizeof out,
                                                      "C:\\表\\KumotoriDef.ini"),
              1u);
    EXPECT_STREQ(out, "3");
    // An unmapped drive and a missing file read as missing: the default.
    EXPECT_EQ(ProfileReader::GetPrivateProfileStringA("ProgramLevel", "UG16_G", "1", out, sizeof out,
                                                      "Q:\\KumotoriDef.ini"),
              1u);
    EXPECT_STREQ(out, "1");
    EXPECT_EQ(ProfileReader::GetPrivateProfileStringA("ProgramLevel", "UG16_G", "", out, sizeof out,
                                                      "C:\\KumotoriDef.ini"),
              0u);
    EXPECT_STREQ(out, "");
}
