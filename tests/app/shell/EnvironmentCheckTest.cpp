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
const std::string kBrokenText = "動作環境が不正です。\nES_APRPACKAGENAMEが正しくインストールされているか確認してください。";
const std::string kCannotUse = "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n";
const std::string kPackageText = kCannotUse + "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。";
const std::string kComponentText = kCannotUse + "連動コンポーネントの最新版を入手してインストールしてからご利用ください。";

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

// Level 2 runs; below it (a missing key reads as 1) the package is too old,
// above it the component; no file or no value is a broken installation.
TEST_F(EnvironmentCheckTest, TheLevelInTheFileDecidesAndEachRefusalSaysWhy) {
    const std::pair<const char*, const std::string*> cases[] = {
        {nullptr, &kBrokenText}, {"[ProgramLevel]\nUG16_G=2\n", nullptr}, {"[ProgramLevel]\nUG16_G=2abc\n", nullptr},
        {"[ProgramLevel]\nUG16_G=1\n", &kPackageText}, {"[ProgramLevel]\nUG30_G=2\n", &kPackageText},
        {"[ProgramLevel]\nUG16_G=3\n", &kComponentText}, {"[ProgramLevel]\nUG16_G=\n", &kBrokenText}};
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(bytes != nullptr ? bytes : "no file");
        boxes_.Clear();
        std::filesystem::remove(folder_ + "/KumotoriDef.ini");
        if (bytes != nullptr) WriteDefinition(bytes);
        EXPECT_EQ(EnvironmentCheck::CheckEnvironment(kCallerWindow), text == nullptr);
        ASSERT_EQ(boxes_.Boxes().size(), text == nullptr ? 0u : 1u);
        if (text == nullptr) continue;
        EXPECT_EQ(boxes_.Last().text, *text);
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
