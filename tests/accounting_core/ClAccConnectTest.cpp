#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

namespace {

namespace cr = core_result;

class ClAccConnectTest : public BooksFixture {
protected:
    // Books of one selected data set with 40 accounts, closed, as bytes.
    std::string GoodBooks() {
        AddSelectedDataSet();
        for (int seed = 1; seed <= 40; ++seed) AddAccount(1, seed, seed * 10000, u8"勘定", 0x80800000u, 1);
        db_.Close();
        std::ifstream in(BooksDatabase::DefaultPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteBooks(const std::string& bytes) { std::ofstream(BooksDatabase::DefaultPath(), std::ios::binary) << bytes; }
    // Initiate on a fresh instance: connected exactly when it succeeds.
    int InitiateFresh() {
        CoreSession::End();
        const int result = Connect();
        EXPECT_EQ(ClAccConnect::Connection() != nullptr, result == cr::kOk);
        return result;
    }
};

// The link program writes both members through their place in the object.
TEST_F(ClAccConnectTest, CaptionAndOwnerAreTheFirstMembersAfterTheVirtualTable) {
    const char* base = reinterpret_cast<const char*>(ClAccConnect::Inst());
    EXPECT_EQ(ClAccConnect::Inst()->Caption - base, static_cast<long>(sizeof(void*)));
    EXPECT_EQ(reinterpret_cast<const char*>(&ClAccConnect::Inst()->OwnerWindow) - base, sizeof(void*) + 256);
}

TEST_F(ClAccConnectTest, SessionRunsFromInitiateToRelease) {
    AddSelectedDataSet();
    ClAccConnect* connection = ClAccConnect::Inst();
    EXPECT_EQ(connection->ExpSysLink(), cr::kNotConnected);
    ASSERT_EQ(connection->Initiate(), cr::kOk) << connection->LastError();
    EXPECT_EQ(ClAccConnect::Connection(), connection);
    EXPECT_EQ(connection->Initiate(), cr::kOk) << "already connected";
    EXPECT_EQ(connection->ExpSysLink(), cr::kOk);
    EXPECT_EQ(connection->SessionUser(), "tester");
    EXPECT_EQ(connection->LogOut(), cr::kOk);
    EXPECT_EQ(connection->LogOut(), cr::kNotConnected);
    EXPECT_EQ(connection->SessionUser(), "");
    EXPECT_EQ(connection->Terminate(), cr::kOk);
    EXPECT_EQ(ClAccConnect::Connection(), nullptr);
    EXPECT_EQ(connection->Terminate(), cr::kNotConnected);
    std::strcpy(connection->Caption, "事業概況書");
    ClAccConnect::Release();
    EXPECT_EQ(ClAccConnect::Inst()->Caption[0], '\0') << "a fresh instance";
}

TEST_F(ClAccConnectTest, InitiateRefusesBooksItCannotUse) {
    const std::string good = GoodBooks();
    auto withSql = [this, &good](const char* sql) {
        return [this, &good, sql] {
            WriteBooks(good);
            ASSERT_TRUE(db_.Open(BooksDatabase::Mode::Existing));
            Sql(sql);
            db_.Close();
        };
    };
    const std::tuple<const char*, std::function<void()>, int, const char*> cases[] = {
        {"no books", [] { std::remove(BooksDatabase::DefaultPath().c_str()); }, cr::kNoBooks, "no books"},
        {"no database", [&] { WriteBooks(std::string(8192, 'Z')); }, cr::kBooksUnusable, "cannot be read"},
        {"an empty file", [&] { WriteBooks(""); }, cr::kBooksUnusable, "not books of this system"},
        {"half the books", [&] { WriteBooks(good.substr(0, good.size() / 2)); }, cr::kBooksUnusable, "malformed"},
        {"another schema", withSql("PRAGMA user_version = 2"), cr::kBooksUnusable, "schema version 2"},
        {"another program's", withSql("PRAGMA application_id = 7"), cr::kBooksUnusable, "not books of"},
        {"no fault table", withSql("DROP TABLE faults"), cr::kBooksUnusable, "forced results"},
        {"no settings", withSql("DROP TABLE settings"), cr::kBooksUnusable, "settings"},
        {"good books", [&] { WriteBooks(good); }, cr::kOk, ""},
    };
    for (const auto& [name, damage, result, error] : cases) {
        SCOPED_TRACE(name);
        damage();
        EXPECT_EQ(InitiateFresh(), result);
        EXPECT_NE(ClAccConnect::Inst()->LastError().find(error), std::string::npos) << ClAccConnect::Inst()->LastError();
    }
}

TEST_F(ClAccConnectTest, DispMsgShowsThroughTheSeamWithTheMembersAsDefaults) {
    ClAccConnect* connection = ClAccConnect::Inst();
    EXPECT_EQ(connection->DispMsg(0, "text", "caption", 0x30), 0) << "no seam: nothing shown";
    ScriptedMessageBoxes boxes;
    connection->SetMessageBoxes(&boxes);
    std::strcpy(connection->Caption, "事業概況書");
    connection->OwnerWindow = 0x1234;
    boxes.QueueAnswer(1);
    EXPECT_EQ(connection->DispMsg(0x99, "動作環境が不正です。", "見出し", 0x30), 1);
    EXPECT_EQ(connection->DispMsg(0, "二つ目", nullptr, 0x40), 1);
    EXPECT_EQ(connection->DispMsg(0, nullptr, nullptr, 0x40), 0) << "no text: nothing shown";
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    const auto& [first, second] = std::pair(boxes.Boxes()[0], boxes.Boxes()[1]);
    EXPECT_EQ(std::tuple(first.owner.callerWindow, first.text, first.caption, first.style),
              std::tuple(0x99u, std::string("動作環境が不正です。"), std::string("見出し"), 0x30u));
    EXPECT_EQ(std::tuple(second.owner.callerWindow, second.caption), std::tuple(0x1234u, std::string("事業概況書")));
}

}  // namespace
