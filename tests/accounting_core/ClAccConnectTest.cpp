#include <cstdio>
#include <optional>

#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/BooksFixture.h"

namespace {

using namespace core_result;
using ClAccConnectTest = BooksFixture;

// Initiate twice (already connected), the user's session, Terminate twice; the caption and owner at their place.
TEST_F(ClAccConnectTest, SessionRunsFromInitiateToRelease) {
    AddSelectedDataSet();
    ClAccConnect* c = ClAccConnect::Inst();
    EXPECT_EQ((std::vector<int>{c->ExpSysLink(), c->Initiate(), ClAccConnect::Connection() == c, c->Initiate(),
                                c->ExpSysLink(), c->SessionUser() == "tester", c->LogOut(), c->LogOut(),
                                c->SessionUser().empty(), c->Terminate(), ClAccConnect::Connection() == nullptr,
                                c->Terminate()}),
              (std::vector<int>{kNotConnected, kOk, true, kOk, kOk, true, kOk, kNotConnected, true, kOk, true,
                                kNotConnected}));
    EXPECT_EQ(c->Caption - reinterpret_cast<const char*>(c), static_cast<long>(sizeof(void*)));
    EXPECT_EQ(reinterpret_cast<const char*>(&c->OwnerWindow) - c->Caption, 256);
}

TEST_F(ClAccConnectTest, InitiateRefusesBooksItCannotUse) {
    AddSelectedDataSet();
    db_.Close();
    const std::string path = BooksDatabase::DefaultPath();
    const std::string good = testfiles::ReadFile(path);
    const std::tuple<std::optional<std::string>, const char*, int, const char*> cases[] = {
        // the books' bytes (none: no file), then SQL on them, the answer, a part of why
        {std::nullopt, nullptr, kNoBooks, "no books"},
        {std::string(8192, 'Z'), nullptr, kBooksUnusable, "cannot be read"},
        {"", nullptr, kBooksUnusable, "not books of this system"},
        {good.substr(0, good.size() / 2), nullptr, kBooksUnusable, "malformed"},
        {good, "PRAGMA user_version = 2", kBooksUnusable, "schema version 2"},
        {good, "PRAGMA application_id = 7", kBooksUnusable, "not books of this system"},
        {good, "DROP TABLE faults", kBooksUnusable, "forced results"},
        {good, "DROP TABLE settings", kBooksUnusable, "settings"},
        {good, nullptr, kOk, ""},
    };
    for (const auto& [bytes, sql, result, error] : cases) {
        if (bytes) testfiles::WriteFile(path, *bytes);
        if (!bytes) std::remove(path.c_str());
        if (sql != nullptr) BooksQuery::Exec(sql);
        CoreSession::End();
        EXPECT_EQ(Connect(), result) << error;
        EXPECT_EQ(ClAccConnect::Connection() != nullptr, result == kOk) << error;
        EXPECT_NE(ClAccConnect::Inst()->LastError().find(error), std::string::npos) << error;
    }
}

TEST_F(ClAccConnectTest, DispMsgShowsThroughTheSeamWithTheMembersAsDefaults) {
    ClAccConnect* c = ClAccConnect::Inst();
    ScriptedMessageBoxes boxes;
    std::strcpy(c->Caption, "事業概況書");
    c->OwnerWindow = 0x1234;
    boxes.QueueAnswer(1);
    EXPECT_EQ(c->DispMsg(0, "text", "caption", 0x30), 0) << "no seam: nothing shown";
    c->SetMessageBoxes(&boxes);
    EXPECT_EQ((std::vector{c->DispMsg(0x99, "動作環境が不正です。", "見出し", 0x30), c->DispMsg(0, "二つ目", nullptr, 0x40),
                           c->DispMsg(0, nullptr, nullptr, 0x40)}),
              (std::vector{1, 1, 0})) << "no text: nothing shown";
    std::vector<std::tuple<std::uintptr_t, std::string, std::string, unsigned>> shown;
    for (const auto& box : boxes.Boxes()) shown.emplace_back(box.owner.callerWindow, box.text, box.caption, box.style);
    EXPECT_EQ(shown, (decltype(shown){{0x99, "動作環境が不正です。", "見出し", 0x30}, {0x1234, "二つ目", "事業概況書", 0x40}}));
}

}  // namespace
