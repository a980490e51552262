#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"
#include "xml/SupportInfoFile.h"

namespace {

// The program's folder, made current as the run does.
class SupportInfoFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(root_.Path()); }
    void Put(const std::string& bytes) { ASSERT_TRUE(testfiles::WriteFile(root_ / "SUPPORT.INF", bytes)); }

    TempRoot root_;
    CurrentFolderGuard folder_;
    ScriptedMessageBoxes boxes_;
};

int failuresLeft = 0;
void* FailingThenSystem(std::size_t count, std::size_t size) {
    if (failuresLeft > 0) {
        --failuresLeft;
        return nullptr;
    }
    return SupportInfoFile::SystemAllocate(count, size);
}

}  // namespace

TEST_F(SupportInfoFileTest, ValuesRunToTheEndOfTheirLine) {
    Put("[=会社名=]ミズナラソフト\r\n"
        "[=製品名=]ミズナラ２０ 表示\r\n"
        "[=製品ﾊﾞｰｼﾞｮﾝ=]20.00.05\x1A garbage after the end mark");
    SupportInfoFile support(&boxes_);
    EXPECT_EQ(support.ProductName(), "ミズナラ２０ 表示");
    EXPECT_EQ(support.ProductVersion(), "20.00.05");
    EXPECT_EQ(support.Lookup("[=会社名=]"), "ミズナラソフト");
    EXPECT_EQ(support.Lookup("[=ｻﾎﾟｰﾄ=]"), "");
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(SupportInfoFileTest, TheFirstMarkerOnACharacterBoundaryWinsAndTheLastLineNeedsNoEnd) {
    // "ー" is 81 5B, so its second byte and what follows spell the marker
    // without being one.
    Put("ー=製品名=]not this\r\n"
        "[=製品名=]first\r\n"
        "[=製品名=]second\r\n"
        "[=製品ﾊﾞｰｼﾞｮﾝ=]20.00.07");
    SupportInfoFile support(&boxes_);
    EXPECT_EQ(support.ProductName(), "first");
    EXPECT_EQ(support.ProductVersion(), "20.00.07");
}

TEST_F(SupportInfoFileTest, OnlyCrLfPairsEndALine) {
    Put("[=製品名=]a\rb\nc\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]\r\n");
    SupportInfoFile support(&boxes_);
    EXPECT_EQ(support.ProductName(), "a\rb\nc");
    EXPECT_EQ(support.ProductVersion(), "");
}

TEST_F(SupportInfoFileTest, OnlyTheFirst30000BytesAreRead) {
    // The version marker starts 8 bytes before the limit and ends behind it.
    std::string bytes = "[=製品名=]" + std::string(SupportInfoFile::kBlockSize - 20, 'n') + "\r\n";
    bytes += "[=製品ﾊﾞｰｼﾞｮﾝ=]late\r\n";
    ASSERT_EQ(bytes.find("[=製品ﾊ"), SupportInfoFile::kBlockSize - 8);
    Put(bytes);
    SupportInfoFile support(&boxes_);
    EXPECT_EQ(support.ProductName(), std::string(SupportInfoFile::kBlockSize - 20, 'n'));
    EXPECT_EQ(support.ProductVersion(), "");

    // A value that the limit cuts ends there.
    Put("[=製品ﾊﾞｰｼﾞｮﾝ=]" + std::string(SupportInfoFile::kBlockSize, 'v'));
    SupportInfoFile cut(&boxes_);
    EXPECT_EQ(cut.ProductVersion().size(), SupportInfoFile::kBlockSize - 15);
}

TEST_F(SupportInfoFileTest, TheFileIsReadOnceAndAMissingFileStaysMissing) {
    Put("[=製品名=]kept\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]1.0\r\n");
    SupportInfoFile loaded(&boxes_);
    EXPECT_EQ(loaded.ProductName(), "kept");
    std::filesystem::remove(root_ / "SUPPORT.INF");
    EXPECT_EQ(loaded.ProductVersion(), "1.0");

    SupportInfoFile missing(&boxes_);
    EXPECT_EQ(missing.ProductName(), "");
    Put("[=製品ﾊﾞｰｼﾞｮﾝ=]too late\r\n");
    EXPECT_EQ(missing.ProductVersion(), "");
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(SupportInfoFileTest, WithoutMemoryEachLookupShowsTheBoxAndTheNextTriesAgain) {
    Put("[=製品名=]name\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]version\r\n");
    failuresLeft = 1;
    SupportInfoFile support(&boxes_, &FailingThenSystem);
    EXPECT_EQ(support.ProductName(), "");
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Last().text, "ﾒﾓﾘが不足しています。");
    EXPECT_EQ(boxes_.Last().style & mb::kButtonMask, mb::kOk);
    EXPECT_EQ(support.ProductVersion(), "version");
    EXPECT_EQ(support.ProductName(), "name");
    EXPECT_EQ(boxes_.Boxes().size(), 1u);
}
