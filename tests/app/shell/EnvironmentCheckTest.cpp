#include "app/shell/EnvironmentCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

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

    CurrentFolderGuard guard_;
    TempRoot root_;
    ScriptedMessageBoxes boxes_;
    std::string folder_;
};

TEST_F(EnvironmentCheckTest, TheLevelInTheFileDecidesAndEachRefusalSaysWhy) {
    struct Case {
        const char* bytes;        // nullptr: no file
        const std::string* text;  // nullptr: the run goes on
    };
    const Case cases[] = {
        {nullptr, &kBrokenText}, {"[ProgramLevel]\nUG16_G=2\n", nullptr},
        {"[ProgramLevel]\r\nUG16_G=2abc\r\n", nullptr}, {"[programlevel]\nug16_g = 2\n", nullptr}, {"[Other]\nUG16_G=5\n[ProgramLevel]\nUG16_G=+2\n", nullptr},
        {"[ProgramLevel]\nUG16_G=1\n", &kPackageText}, {"[ProgramLevel]\nUG16_G=-7\n", &kPackageText},
        {"[ProgramLevel]\nUG16_G=abc\n", &kPackageText}, {"[ProgramLevel]\nUG30_G=2\n", &kPackageText},
        {"[Level]\nUG16_G=2\n", &kPackageText}, {"", &kPackageText}, {"[ProgramLevel]\nUG16_G=3\n", &kComponentText},
        {"[ProgramLevel]\nUG16_G=20\n", &kComponentText}, {"[ProgramLevel]\nUG16_G=\n", &kBrokenText},
        {"[ProgramLevel]\nUG16_G=  \n", &kBrokenText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes != nullptr ? c.bytes : "no file");
        boxes_.Clear();
        std::filesystem::remove(folder_ + "/KumotoriDef.ini");
        if (c.bytes != nullptr) WriteDefinition(c.bytes);
        EXPECT_EQ(EnvironmentCheck::CheckEnvironment(kCallerWindow), c.text == nullptr);
        if (c.text == nullptr) {
            EXPECT_TRUE(boxes_.Boxes().empty());
            continue;
        }
        ASSERT_EQ(boxes_.Boxes().size(), 1u);
        EXPECT_EQ(boxes_.Last().text, *c.text);
        EXPECT_EQ(boxes_.Last().caption, "事業概況書");
        EXPECT_EQ(boxes_.Last().style, 0x30u);
        EXPECT_EQ(boxes_.Last().owner.callerWindow, kCallerWindow);
    }
}

// A separator is added unless the folder ends in one of its own: "表" ends
// in the byte 0x5C, which is no separator there.
TEST_F(EnvironmentCheckTest, TheDefinitionFileLiesInTheProgramsFolder) {
    const std::pair<const char*, const char*> paths[] = {{"Z:\\app/", "Z:\\app/KumotoriDef.ini"},
        {"Z:\\app\\", "Z:\\app\\KumotoriDef.ini"}, {"Z:\\app", "Z:\\app\\KumotoriDef.ini"},
        {"Z:\\表", "Z:\\表\\KumotoriDef.ini"}, {"", "\\KumotoriDef.ini"}};
    for (const auto& [folder, path] : paths) EXPECT_EQ(EnvironmentCheck::DefinitionPath(folder), path) << folder;
    UseFolder(root_ / Utf8(u8"会計表"));
    WriteDefinition("[ProgramLevel]\nUG16_G=2\n");
    EXPECT_TRUE(EnvironmentCheck::CheckEnvironment(kCallerWindow));
}

}  // namespace
