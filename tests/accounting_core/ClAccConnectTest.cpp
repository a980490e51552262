#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <vector>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "accounting_core/StKAMOKUSUMINFO.h"
#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

namespace {

namespace cr = core_result;

class ClAccConnectTest : public BooksFixture {
protected:
    std::vector<char> BooksBytes() {
        std::ifstream in(BooksDatabase::DefaultPath(), std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    }
    void WriteBooks(const std::vector<char>& bytes) {
        std::ofstream out(BooksDatabase::DefaultPath(), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // Initiate on a fresh instance; the instance is released again.
    int InitiateFresh() {
        CoreSession::End();
        int result = Connect();
        EXPECT_EQ(ClAccConnect::Connection() != nullptr, result == cr::kOk);
        return result;
    }
};

TEST_F(ClAccConnectTest, CaptionAndOwnerAreTheFirstMembersAfterTheVirtualTable) {
    ClAccConnect* connection = ClAccConnect::Inst();
    const char* base = reinterpret_cast<const char*>(connection);
    EXPECT_EQ(reinterpret_cast<const char*>(connection->Caption) - base, static_cast<long>(sizeof(void*)));
    EXPECT_EQ(sizeof connection->Caption, 256u);
    EXPECT_EQ(reinterpret_cast<const char*>(&connection->OwnerWindow) - base,
              static_cast<long>(sizeof(void*) + 256));
    EXPECT_EQ(connection->Caption[0], '\0');
    EXPECT_EQ(connection->OwnerWindow, 0u);
}

TEST_F(ClAccConnectTest, SessionRunsFromInitiateToRelease) {
    AddSelectedDataSet();
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->SetAppType(4);
    connection->SetUseDataType(1);
    EXPECT_EQ(connection->AppType(), 4);
    EXPECT_EQ(connection->UseDataType(), 1);
    EXPECT_EQ(connection->ExpSysLink(), cr::kNotConnected);

    ASSERT_EQ(connection->Initiate(), cr::kOk) << connection->LastError();
    EXPECT_EQ(ClAccConnect::Connection(), connection);
    EXPECT_EQ(connection->Initiate(), cr::kOk);  // already connected
    EXPECT_EQ(connection->ExpSysLink(), cr::kOk);
    EXPECT_EQ(connection->SessionUser(), "tester");

    EXPECT_EQ(connection->LogOut(), cr::kOk);
    EXPECT_EQ(connection->LogOut(), cr::kNotConnected);
    EXPECT_EQ(connection->SessionUser(), "");
    EXPECT_EQ(connection->Terminate(), cr::kOk);
    EXPECT_EQ(ClAccConnect::Connection(), nullptr);
    EXPECT_EQ(connection->Terminate(), cr::kNotConnected);

    strcpy(connection->Caption, "事業概況書");
    ClAccConnect::Release();
    ClAccConnect* fresh = ClAccConnect::Inst();
    EXPECT_EQ(fresh->Caption[0], '\0');
    EXPECT_EQ(ClAccConnect::Connection(), nullptr);
}

TEST_F(ClAccConnectTest, ReleaseLetsTheNextInstanceUseAnotherRoot) {
    AddDataSet(1, "FIRST", u8"一つ目", 20170401, 20180331);
    SetCurrentUser(u8"tester");
    SelectFor(u8"tester", 0, 1);
    ASSERT_EQ(Connect(), cr::kOk);
    CoreSession::End();
    db_.Close();
    {
        TempRoot other;
        BooksDatabase books;
        ASSERT_TRUE(books.Open(BooksDatabase::Mode::Create));
        ASSERT_TRUE(books.Exec("INSERT INTO data_sets (number, data_id, name, period_start, period_end)"
                               " VALUES (1, 'SECOND', 'b', 20180101, 20181231);"
                               "INSERT INTO settings VALUES ('current_user', 'tester');"
                               "INSERT INTO users VALUES ('tester', 0, 1)"));
        ASSERT_EQ(Connect(), cr::kOk);
        StDATAINFO info;
        auto* data = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
        ASSERT_EQ(data->GetSelectedInfo(&info), cr::kOk);
        EXPECT_EQ(TextAt(&info, 0), "SECOND");
        CoreSession::End();
    }
}

TEST_F(ClAccConnectTest, InitiateFailsOnMissingDamagedAndForeignBooks) {
    AddSelectedDataSet();
    db_.Close();
    const std::vector<char> good = BooksBytes();
    ASSERT_GT(good.size(), 4096u);

    std::remove(BooksDatabase::DefaultPath().c_str());
    EXPECT_EQ(InitiateFresh(), cr::kNoBooks);

    WriteBooks(std::vector<char>(8192, '\x5A'));  // garbage bytes
    EXPECT_EQ(InitiateFresh(), cr::kBooksUnusable);

    WriteBooks({});  // an empty file is no books either
    EXPECT_EQ(InitiateFresh(), cr::kBooksUnusable);

    WriteBooks(std::vector<char>(good.begin(), good.begin() + static_cast<long>(good.size() / 2)));
    EXPECT_EQ(InitiateFresh(), cr::kBooksUnusable);

    WriteBooks(good);
    ASSERT_TRUE(db_.Open(BooksDatabase::Mode::Existing));
    Sql("PRAGMA user_version = 2");
    db_.Close();
    EXPECT_EQ(InitiateFresh(), cr::kBooksUnusable);
    EXPECT_NE(ClAccConnect::Inst()->LastError().find("schema version 2"), std::string::npos);

    WriteBooks(good);
    ASSERT_TRUE(db_.Open(BooksDatabase::Mode::Existing));
    Sql("PRAGMA application_id = 7");  // another program's database
    db_.Close();
    EXPECT_EQ(InitiateFresh(), cr::kBooksUnusable);

    WriteBooks(good);
    EXPECT_EQ(InitiateFresh(), cr::kOk);
}

// Books damaged anywhere make Initiate fail or, when the damage lies where
// the check does not look, every walk end without a crash.
TEST_F(ClAccConnectTest, DamagedBooksNeverCrashTheCore) {
    AddSelectedDataSet();
    AddClassLine(0x80800000u, 0, u8"資産の部合計", 1, true, 1);
    for (int seed = 1; seed <= 40; ++seed) {
        AddAccount(1, seed, seed * 10000, u8"勘定", 0x80800000u, 1);
        AddSums(1, seed, 1, seed, 0, seed, 0);
    }
    db_.Close();
    const std::vector<char> good = BooksBytes();
    std::mt19937 random(20240601);
    int refused = 0;
    for (int round = 0; round < 60; ++round) {
        std::vector<char> bytes = good;
        std::size_t at = random() % bytes.size();
        for (int i = 0; i < 16 && at + i < bytes.size(); ++i) bytes[at + i] = static_cast<char>(random());
        WriteBooks(bytes);
        int result = InitiateFresh();
        ASSERT_TRUE(result == cr::kOk || result == cr::kBooksUnusable) << result;
        if (result != cr::kOk) {
            ++refused;
            continue;
        }
        auto* data = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
        StDATAINFO info;
        SetCursor* cursor = data->GetDatCursor();
        if (data->ReadyDat(cursor, 0) == cr::kOk) {
            for (int i = 0; i < 100 && data->WalkDat(&info, cursor) == cr::kOk; ++i) {
            }
        }
        data->ReleaseDatCursor(cursor);
        auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1));
        StKAMOKUINFO account;
        cursor = accounts->GetCursor();
        if (accounts->ReadyCursor(cursor) == cr::kOk) {
            for (int i = 0; i < 100 && accounts->Walk(&account, cursor) == cr::kOk; ++i) {
            }
        }
        accounts->ReleaseCursor(cursor);
        std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
        if (!rule) continue;
        rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
        if (rule->MoveReady(1, 0, 0, nullptr, nullptr, 0) == cr::kOk) {
            StKAMOKUSUMINFO sums;
            for (int i = 0; i < 100 && rule->MoveNext(&sums) == cr::kOk; ++i) {
            }
        }
    }
    EXPECT_GT(refused, 0);
}

TEST_F(ClAccConnectTest, ForcedResultsOfInitiateAndExpSysLink) {
    AddSelectedDataSet();
    AddFault("Initiate", 42);
    EXPECT_EQ(InitiateFresh(), 42);

    Sql("DELETE FROM faults");
    AddFault("ExpSysLink", 1);
    ASSERT_EQ(InitiateFresh(), cr::kOk);
    EXPECT_EQ(ClAccConnect::Inst()->ExpSysLink(), 1);

    AddFault("ExpSysLink", 7);
    ASSERT_EQ(InitiateFresh(), cr::kOk);
    EXPECT_EQ(ClAccConnect::Inst()->ExpSysLink(), 7);

    AddFault("ExpSysLink", 0);  // a result of 0 forces nothing
    ASSERT_EQ(InitiateFresh(), cr::kOk);
    EXPECT_EQ(ClAccConnect::Inst()->ExpSysLink(), cr::kOk);
}

TEST_F(ClAccConnectTest, DispMsgShowsThroughTheSeamWithTheMembersAsDefaults) {
    ClAccConnect* connection = ClAccConnect::Inst();
    EXPECT_EQ(connection->DispMsg(0, "text", "caption", 0x30), 0);  // no seam: nothing shown

    ScriptedMessageBoxes boxes;
    connection->SetMessageBoxes(&boxes);
    strcpy(connection->Caption, "事業概況書");
    connection->OwnerWindow = 0x1234;
    boxes.QueueAnswer(1);
    EXPECT_EQ(connection->DispMsg(0x99, "動作環境が不正です。", "見出し", 0x30), 1);
    EXPECT_EQ(connection->DispMsg(0, "二つ目", nullptr, 0x40), 1);
    EXPECT_EQ(connection->DispMsg(0, nullptr, nullptr, 0x40), 0);

    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].owner.callerWindow, 0x99u);
    EXPECT_EQ(boxes.Boxes()[0].text, "動作環境が不正です。");
    EXPECT_EQ(boxes.Boxes()[0].caption, "見出し");
    EXPECT_EQ(boxes.Boxes()[0].style, 0x30u);
    EXPECT_EQ(boxes.Boxes()[1].owner.callerWindow, 0x1234u);
    EXPECT_EQ(boxes.Boxes()[1].caption, "事業概況書");
    EXPECT_EQ(boxes.Boxes()[1].style, 0x40u);
}

}  // namespace
