#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/DriveTable.h"
#include "platform/WinFileSystem.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"
#include "tests/xml/WellFormedXml.h"
#include "xml/OutputFile.h"
#include "xml/XmlLineWriter.h"

namespace {

// A writer attached to C:\out.xml in a temporary root.
class XmlLineWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        ASSERT_EQ(writer_.Attach(&file_, "C:\\out.xml"), 0);
    }
    // A second writer's file, beside the fixture's.
    std::string HostPathOf(const char* name) const { return root_ / ("drives/c/" + std::string(name)); }
    std::string Written() {
        writer_.Detach();
        return testfiles::ReadFile(root_ / "drives/c/out.xml");
    }

    TempRoot root_;
    OutputFile file_;
    XmlLineWriter writer_;
    XmlLineWriter::LineBuffer line_ = {};
};

}  // namespace

TEST_F(XmlLineWriterTest, LinesAreIndentedByTabsAndEndInCrLf) {
    EXPECT_TRUE(writer_.WriteText("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"));
    EXPECT_TRUE(writer_.WriteStartTag(line_, "R", 0));
    EXPECT_TRUE(writer_.WriteElement(line_, "DEEP", "x", 4));
    EXPECT_EQ(std::string(line_), "\t\t\t\t<DEEP>x</DEEP>\r\n");
    EXPECT_TRUE(writer_.WriteElement(line_, "EMPTY", "", 1));
    EXPECT_TRUE(writer_.WriteElement(line_, "NONE", nullptr, 1));
    EXPECT_TRUE(writer_.WriteEndTag(line_, "R", 0));
    const std::string document = Written();
    EXPECT_EQ(document,
              "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
              "<R>\r\n"
              "\t\t\t\t<DEEP>x</DEEP>\r\n"
              "\t<EMPTY></EMPTY>\r\n"
              "\t<NONE></NONE>\r\n"
              "</R>\r\n");
    EXPECT_EQ(XmlProblems(document), "");
}

TEST_F(XmlLineWriterTest, TextIsEscapedAndDoubleByteCharactersPassUnchanged) {
    EXPECT_STREQ(writer_.EscapeText("A&B<C>"), "A&amp;B&lt;C&gt;");
    EXPECT_STREQ(writer_.EscapeText("it's \"so\""), "it&apos;s &quot;so&quot;");
    // Second bytes 0x5C and 0x7C: 表 is 95 5C, ソ 83 5C, ポ 83 7C.
    const char* kana = "表ソポ\\|";
    EXPECT_STREQ(writer_.EscapeText(kana), kana);
    EXPECT_STREQ(writer_.EscapeText("\t\r\n\x01"), "\t\r\n\x01");

    EXPECT_TRUE(writer_.WriteStartTag(line_, "R", 0));
    EXPECT_TRUE(writer_.WriteElement(line_, "T", "表<ソ>&'ポ\"", 1));
    EXPECT_TRUE(writer_.WriteEndTag(line_, "R", 0));
    const std::string document = Written();
    EXPECT_EQ(document, "<R>\r\n\t<T>表&lt;ソ&gt;&amp;&apos;ポ&quot;</T>\r\n</R>\r\n");
    EXPECT_EQ(XmlProblems(document), "");
}

TEST_F(XmlLineWriterTest, AttributesAreEscapedAndTheSecondOnlyFollowsAFirst) {
    EXPECT_TRUE(writer_.WriteStartTag(line_, "R", 0, "a", "1&2", "b", "<\"'>"));
    EXPECT_EQ(std::string(line_), "<R a=\"1&amp;2\" b=\"&lt;&quot;&apos;&gt;\">\r\n");
    EXPECT_TRUE(writer_.WriteElement(line_, "E", "t", 1, nullptr, "lost", "b", "2"));
    EXPECT_EQ(std::string(line_), "\t<E>t</E>\r\n");
    EXPECT_TRUE(writer_.WriteElement(line_, "E", "t", 1, "a", "1", "b", nullptr));
    EXPECT_EQ(std::string(line_), "\t<E a=\"1\">t</E>\r\n");
    EXPECT_TRUE(writer_.WriteEndTag(line_, "R", 0));
    EXPECT_EQ(XmlProblems(Written()), "");
}

TEST_F(XmlLineWriterTest, LongLinesAndValuesAreRefusedWithoutWritingAnything) {
    // "<" name ">" CR LF: a name of 251 bytes makes exactly 255.
    const std::string fits(251, 'N');
    EXPECT_TRUE(writer_.WriteStartTag(line_, fits.c_str(), 0));
    EXPECT_FALSE(writer_.WriteStartTag(line_, (fits + "N").c_str(), 0));
    EXPECT_EQ(line_[0], '\0');
    EXPECT_FALSE(writer_.WriteEndTag(line_, fits.c_str(), 1));
    EXPECT_FALSE(writer_.WriteStartTag(line_, "E", 254));
    EXPECT_FALSE(writer_.WriteStartTag(line_, "E", -1));

    // The escape buffer holds 255 bytes: 51 ampersands, but not 52.
    EXPECT_NE(writer_.EscapeText(std::string(51, '&').c_str()), nullptr);
    EXPECT_EQ(writer_.EscapeText(std::string(52, '&').c_str()), nullptr);
    EXPECT_EQ(writer_.EscapeText(std::string(256, 'a').c_str()), nullptr);
    EXPECT_FALSE(writer_.WriteElement(line_, "E", std::string(64, '<').c_str(), 0));
    EXPECT_FALSE(writer_.WriteElement(line_, "E", "x", 0, "a", std::string(64, '>').c_str()));
    // An escaped text that fits its buffer but not the line.
    EXPECT_FALSE(writer_.WriteElement(line_, "E", std::string(250, 'x').c_str(), 0));

    // The file stays open: refusing a line is no write error.
    EXPECT_TRUE(file_.IsOpen());
    EXPECT_TRUE(writer_.WriteEndTag(line_, "Z", 0));
    EXPECT_EQ(Written(), "<" + fits + ">\r\n</Z>\r\n");
}

TEST_F(XmlLineWriterTest, LongestFittingTextFillsTheLineExactlyWithoutSplittingACharacter) {
    // "\t\t<PROGRAMNAME>" and "</PROGRAMNAME>\r\n" leave 224 bytes.
    const std::string kana(300, 'x');
    EXPECT_EQ(XmlLineWriter::LongestFittingText("PROGRAMNAME", 2, kana).size(), 224u);
    std::string wide;
    for (int i = 0; i < 150; ++i) wide += "ア";
    EXPECT_EQ(XmlLineWriter::LongestFittingText("PROGRAMNAME", 2, wide).size(), 224u);
    EXPECT_EQ(XmlLineWriter::LongestFittingText("PROGRAMNAME", 2, "x" + wide).size(), 223u);
    EXPECT_EQ(XmlLineWriter::LongestFittingText("PROGRAMNAME", 2, std::string(100, '&')).size(), 44u);
    EXPECT_EQ(XmlLineWriter::LongestFittingText("PROGRAMNAME", 2, "short"), "short");

    const std::string mixed = "x" + wide;
    const std::string cut(XmlLineWriter::LongestFittingText("PROGRAMNAME", 2, mixed));
    EXPECT_TRUE(writer_.WriteElement(line_, "PROGRAMNAME", cut.c_str(), 2));
    EXPECT_EQ(std::string(line_).size(), 254u);
    EXPECT_TRUE(writer_.WriteElement(line_, "PROGRAMNAME", std::string(224, '-').c_str(), 2));
    EXPECT_EQ(std::string(line_).size(), 255u);
}

TEST_F(XmlLineWriterTest, AttachWithoutFileOrPathOpensNothingAndWritesFail) {
    OutputFile file;
    XmlLineWriter writer;
    EXPECT_EQ(writer.Attach(nullptr, "C:\\other.xml"), -1);
    EXPECT_EQ(writer.Attach(&file, nullptr), -1);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(writer.WriteText("x"));
    EXPECT_FALSE(writer.WriteStartTag(line_, "R", 0));
    EXPECT_EQ(writer.Detach(), 0);
    EXPECT_FALSE(std::filesystem::exists(HostPathOf("other.xml")));
}

TEST_F(XmlLineWriterTest, AFileThatCannotBeCreatedFailsTheFirstWrite) {
    for (const char* path : {"Q:\\out.xml", "C:\\missing\\out.xml"}) {
        OutputFile file;
        XmlLineWriter writer;
        EXPECT_EQ(writer.Attach(&file, path), 0) << path;
        EXPECT_FALSE(writer.WriteStartTag(line_, "R", 0)) << path;
        EXPECT_EQ(writer.Detach(), 0);
    }
}

TEST_F(XmlLineWriterTest, AnExistingFileIsReplaced) {
    ASSERT_TRUE(testfiles::WriteFile(HostPathOf("old.xml"), std::string(1000, 'o')));
    OutputFile file;
    XmlLineWriter writer;
    writer.Attach(&file, "C:\\old.xml");
    EXPECT_TRUE(writer.WriteEndTag(line_, "R", 0));
    writer.Detach();
    EXPECT_EQ(testfiles::ReadFile(HostPathOf("old.xml")), "</R>\r\n");
}

TEST_F(XmlLineWriterTest, AFullDiskClosesTheFileAndDetachHasNothingMoreToDo) {
    // Drive F: is the host's device folder, so F:\full is /dev/full.
    std::filesystem::create_directory_symlink("/dev", root_ / "drives/f");
    ASSERT_EQ(WinFileSystem::HostPath("F:\\full").value_or(""), "/dev/full");

    OutputFile file;
    XmlLineWriter writer;
    ASSERT_EQ(writer.Attach(&file, "F:\\full"), 0);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_FALSE(writer.WriteStartTag(line_, "R", 0));
    EXPECT_FALSE(file.IsOpen());
    // Later lines fail too: the file is closed, not reopened.
    EXPECT_FALSE(writer.WriteElement(line_, "E", "x", 1));
    EXPECT_FALSE(writer.WriteText("x"));
    EXPECT_EQ(writer.Detach(), 0);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(writer.Detach(), 0);
}
