#include "xml/XmlLineWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/DriveTable.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

TEST(XmlLineWriter, LinesAreIndentedEscapedAndWrittenWholeOrNotAtAll) {
    TempRoot root;
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    ASSERT_TRUE(testfiles::WriteFile(root / "drives/c/out.xml", std::string(1000, 'o')));  // replaced
    OutputFile file;
    XmlLineWriter writer;
    XmlLineWriter::LineBuffer line = {};
    ASSERT_EQ(writer.Attach(&file, "C:\\out.xml"), 0);
    EXPECT_TRUE(writer.WriteText("<?xml?>\r\n"));
    // The five entities; second bytes 0x5C and 0x7C (表 95 5C, ソ 83 5C, ポ 83 7C) and control bytes pass
    // unchanged; a second attribute only follows a first.
    EXPECT_TRUE(writer.WriteStartTag(line, "R", 0, "a", "1&2", "b", "<\"'>"));
    EXPECT_TRUE(writer.WriteElement(line, "T", "表<ソ>&'ポ\"\\|\t\x01", 4));
    EXPECT_TRUE(writer.WriteElement(line, "EMPTY", "", 1, nullptr, "lost", "b", "2"));
    EXPECT_TRUE(writer.WriteElement(line, "NONE", nullptr, 1, "a", "1", "b", nullptr));
    const std::string fits(251, 'N');  // "<" name ">" CR LF: 255 bytes
    EXPECT_TRUE(writer.WriteStartTag(line, fits.c_str(), 0));
    EXPECT_FALSE(writer.WriteStartTag(line, (fits + "N").c_str(), 0));
    EXPECT_FALSE(writer.WriteEndTag(line, fits.c_str(), 1) || writer.WriteStartTag(line, "E", 254) ||
                 writer.WriteElement(line, "E", "x", -1) ||
                 writer.WriteElement(line, "E", std::string(64, '<').c_str(), 0) ||
                 writer.WriteElement(line, "E", "x", 0, "a", std::string(64, '>').c_str()) ||
                 writer.WriteElement(line, "E", std::string(250, 'x').c_str(), 0));
    EXPECT_EQ(std::strlen(writer.EscapeText(std::string(51, '&').c_str())), 255u);
    EXPECT_EQ(writer.EscapeText(std::string(52, '&').c_str()), nullptr);
    EXPECT_TRUE(writer.WriteEndTag(line, "R", 0));
    EXPECT_EQ(writer.Detach(), 0);
    EXPECT_EQ(testfiles::ReadFile(root / "drives/c/out.xml"),
              "<?xml?>\r\n<R a=\"1&amp;2\" b=\"&lt;&quot;&apos;&gt;\">\r\n"
              "\t\t\t\t<T>表&lt;ソ&gt;&amp;&apos;ポ&quot;\\|\t\x01</T>\r\n"
              "\t<EMPTY></EMPTY>\r\n\t<NONE a=\"1\"></NONE>\r\n<" + fits + ">\r\n</R>\r\n");
    // The longest text fitting an element line ends on a character boundary; "\t\t<PROGRAMNAME>" and its end leave 224.
    std::string wide;
    for (int i = 0; i < 150; ++i) wide += "ア";
    for (const auto& [text, fitting] : {std::pair{wide, 224u}, {"x" + wide, 223u}, {std::string(100, '&'), 44u},
             {"short", 5u}})
        EXPECT_EQ(XmlLineWriter::LongestFittingText("PROGRAMNAME", 2, text), text.substr(0, fitting));
    EXPECT_EQ(XmlLineWriter::LongestFittingText(std::string(125, 'N').c_str(), 1, "x"), "");

    // Without a file nothing is written, a file that cannot be created fails the first write, and the write that
    // finds the disk full (F:\full is /dev/full) closes the file so that the later ones fail.
    EXPECT_EQ(writer.Attach(nullptr, "C:\\other.xml") + writer.Attach(&file, nullptr), -2);
    EXPECT_FALSE(writer.WriteText("x"));
    std::filesystem::create_directory_symlink("/dev", root / "drives/f");
    for (const char* path : {"Q:\\out.xml", "C:\\missing\\out.xml", "F:\\full"}) {
        EXPECT_EQ(writer.Attach(&file, path), 0);
        EXPECT_EQ(file.IsOpen(), path[0] == 'F');
        EXPECT_FALSE(writer.WriteStartTag(line, "R", 0)) << path;
        EXPECT_FALSE(file.IsOpen() || writer.WriteText("x"));
        EXPECT_EQ(writer.Detach(), 0);
    }
}
