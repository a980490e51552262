#include "app/shell/EnvironmentCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "accounting_core/ClAccConnect.h"
#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/CoreSession.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace {

using testfiles::Utf8;

// The three messages, as the accounting package's other programs show them.
const std::string kBrokenText =
    "動作環境が不正です。\nES_APRPACKAGENAMEが正しくインストールされているか確認してください。";
const std::string kPackageText =
    "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
    "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。";
const std::string kComponentText =
    "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
    "連動コンポーネントの最新版を入手してインストールしてからご利用ください。";

constexpr std::uintptr_t kCallerWindow = 4242;

// The program's folder under a temporary MZN_ROOT made the current folder,
// and the connection's message boxes scripted.
class EnvironmentCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoreSession::End();
        ClAccConnect::Inst()->SetMessageBoxes(&boxes_);
        UseFolder(root_ / "program");
    }
    void TearDown() override { CoreSession::End(); }

    void UseFolder(const std::string& hostFolder) {
        std::filesystem::create_directories(hostFolder);
        std::filesystem::current_path(hostFolder);
        folder_ = hostFolder;
    }
    void WriteDefinition(const std::string& bytes) {
        ASSERT_TRUE(testfiles::WriteFile(folder_ + "/KumotoriDef.ini", bytes));
    }
    // The check on a definition file with these bytes; the boxes it showed.
    bool CheckWith(const std::string& bytes) {
        boxes_.Clear();
        WriteDefinition(bytes);
        return EnvironmentCheck::CheckEnvironment(kCallerWindow);
    }
    void ExpectOneWarning(const std::string& text, const std::string& what) {
        ASSERT_EQ(boxes_.Boxes().size(), 1u) << what;
        const ScriptedMessageBoxes::Shown& box = boxes_.Last();
        EXPECT_EQ(box.text, text) << what;
        EXPECT_EQ(box.caption, "事業概況書") << what;
        EXPECT_EQ(box.style, 0x30u) << what;
        EXPECT_EQ(box.owner.callerWindow, kCallerWindow) << what;
    }

    CurrentFolderGuard guard_;
    TempRoot root_;
    ScriptedMessageBoxes boxes_;
    std::string folder_;
};

TEST_F(EnvironmentCheckTest, WithoutTheFileTheInstallationIsBroken) {
    EXPECT_FALSE(EnvironmentCheck::CheckEnvironment(kCallerWindow));
    ExpectOneWarning(kBrokenText, "no file");
    EXPECT_EQ(EnvironmentCheck::LevelCode(), -1);
}

TEST_F(EnvironmentCheckTest, LevelTwoLetsTheRunGoOn) {
    for (const char* bytes : {"[ProgramLevel]\nUG16_G=2\n", "[ProgramLevel]\r\nUG16_G=2abc\r\n",
                              "[programlevel]\nug16_g = 2\n", "[Other]\nUG16_G=5\n[ProgramLevel]\nUG16_G=+2\n"}) {
        EXPECT_TRUE(CheckWith(bytes)) << bytes;
        EXPECT_TRUE(boxes_.Boxes().empty()) << bytes;
    }
}

TEST_F(EnvironmentCheckTest, EachOtherValueShowsItsText) {
    struct Case {
        const char* bytes;
        const std::string& text;
    };
    const std::vector<Case> cases = {
        {"[ProgramLevel]\nUG16_G=1\n", kPackageText},
        {"[ProgramLevel]\nUG16_G=0\n", kPackageText},
        {"[ProgramLevel]\nUG16_G=-7\n", kPackageText},
        {"[ProgramLevel]\nUG16_G=abc\n", kPackageText},
        {"[ProgramLevel]\nUG30_G=2\n", kPackageText},  // key missing
        {"[Level]\nUG16_G=2\n", kPackageText},         // section missing
        {"", kPackageText},                            // empty file
        {"[ProgramLevel]\nUG16_G=3\n", kComponentText},
        {"[ProgramLevel]\nUG16_G=20\n", kComponentText},
        {"[ProgramLevel]\nUG16_G=\n", kBrokenText},
        {"[ProgramLevel]\nUG16_G=  \n", kBrokenText},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(CheckWith(c.bytes)) << c.bytes;
        ExpectOneWarning(c.text, c.bytes);
    }
}

TEST_F(EnvironmentCheckTest, AFolderEndingInADoubleByteCharacterGetsItsSeparator) {
    // "表" ends in the byte 0x5C; the file is only found when "\" follows it.
    UseFolder(root_ / Utf8(u8"会計表"));
    WriteDefinition("[ProgramLevel]\nUG16_G=2\n");
    EXPECT_TRUE(EnvironmentCheck::CheckEnvironment(kCallerWindow));
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(EnvironmentCheckTest, TheDefinitionPathFollowsTheFolder) {
    EXPECT_EQ(EnvironmentCheck::DefinitionPath("C:\\"), "C:\\KumotoriDef.ini");
    EXPECT_EQ(EnvironmentCheck::DefinitionPath("Z:\\app"), "Z:\\app\\KumotoriDef.ini");
    EXPECT_EQ(EnvironmentCheck::DefinitionPath("Z:\\app/"), "Z:\\app/KumotoriDef.ini");
    EXPECT_EQ(EnvironmentCheck::DefinitionPath("Z:\\表"), "Z:\\表\\KumotoriDef.ini");
    EXPECT_EQ(EnvironmentCheck::DefinitionPath("Z:\\表\\"), "Z:\\表\\KumotoriDef.ini");
}

}  // namespace
