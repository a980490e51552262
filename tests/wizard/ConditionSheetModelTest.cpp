// The condition sheet's model without a window. Braced tuples gather a call's result with what it left behind: their
// elements are evaluated in order (copied, where a later one may change what an earlier one refers to).

#include "wizard/ConditionSheetModel.h"

#include <gtest/gtest.h>

#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/TestFiles.h"
#include "tests/wizard/SheetBooks.h"
#include "wizard/ScriptedFileDialogs.h"

namespace fs = std::filesystem;
using M = ConditionSheetModel;
using Calls = std::vector<std::string>;

// A sheet as the run sequence builds it, with a window noting pages, back and next states, the month (100 added when
// locked) and path shown, and the focus (10000 added when the text is selected).
struct Sheet : ConditionSheetView {
    explicit Sheet(int set, const std::string& callerPath = {}) : model(set == 2, mapping, items, boxes, dialogs) {
        SheetBooks::FillValues(model.Values, set, callerPath);
        model.SetView(this);
    }
    void ActivatePage(int page) override { calls.push_back("Page " + std::to_string(page)); }
    void ShowButtonStates(bool back, bool next) override { calls.push_back(std::to_string(back * 10 + next)); }
    void ShowSheetValues(bool locked) override {
        calls.push_back(std::to_string(locked * 100 + model.Values.EndMonth) + " " + model.Values.OutputPath);
    }
    void FocusControl(int id, bool all) override { calls.push_back("Focus " + std::to_string(id + all * 10000)); }
    void Open(int page = M::kConditionsPage) {
        ASSERT_TRUE(model.Initialise());
        model.PageActivated(page);
        calls.clear();
    }

    MappingList mapping;
    ItemList items;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    M model;
    Calls calls;
};

const Calls kToMonth = {"Page 0", "1", "Focus 11002"}, kToPath = {"Page 0", "1", "Focus 11008"};
constexpr const char* kGood = "C:\\reports\\概況書.xml";

class ConditionSheetModelTest : public SheetBooks {
protected:
    static std::string File() { return Host("C:\\cond\\") + "/UG16_G_tester_7_1.env"; }
    static void Remember(const std::string& p1) {  // as an earlier run left it, with one mapping entry
        ASSERT_TRUE(testfiles::WriteFile(File(), "[P1]\n" + p1 + "\n[終了]\n[P2/P3]\n1/URIAGEDAKA[END]\n[終了]\n"));
    }
};

// Once, in order; without a condition file the books' tax, the default mapping, "*.xml" in the report folder (or the
// temporary one, separated where there is room; "表" ends in 0x5C). A remembered month outside 1-99 gives way.
TEST_F(ConditionSheetModelTest, InitialisesOnceFromTheYearTheBooksAndTheDefaultsOrTheRememberedConditions) {
    Sheet sheet(kUg16Set);
    EXPECT_TRUE(sheet.model.Initialise() && sheet.model.Initialise());
    EXPECT_EQ(sheet.calls,
              (Calls{"Page 2", "10", "Page 1", "11", "Page 0", "1", "3 C:\\reports\\*.xml", "Focus 11002"}));
    EXPECT_EQ(std::tuple(sheet.items.size(), sheet.model.Values.TaxIncluded, Entries(sheet.mapping)),
              std::tuple(43u, 1, Entries(sheet.model.DefaultMapping())));
    const std::string full = "C:\\" + std::string(257, 'a');
    for (const auto& [temp, path] : {std::pair<std::string, std::string>{"C:\\T\\", "C:\\T\\*.xml"}, {"", ""},
                                     {"C:\\T", "C:\\T\\*.xml"}, {full, full + "*.xml"}, {"C:\\表", "C:\\表\\*.xml"}})
        EXPECT_EQ(M::DefaultOutputPath("", temp), path) << temp;
    for (const auto& [month, shown] : {std::pair{"1", "1"}, {"99", "99"}, {"100", "3"}, {"0", "3"}}) {
        Remember(std::string(month) + "/0/0/C:\\reports\\r.xml");
        Sheet again(kUg16Set);
        EXPECT_EQ((std::tuple{again.model.Initialise(), again.calls.at(6), again.model.Values.TaxIncluded,
                              Entries(again.mapping)}),
                  std::tuple(true, std::string(shown) + " C:\\reports\\r.xml", 0, std::vector{Entry{1, "URIAGEDAKA"}}));
    }
}

// The caller's path, even a folder, is locked, unquestioned, never remembered; Enter skips it to the next button.
TEST_F(ConditionSheetModelTest, ACallersPathIsLockedUnquestionedAndNeverRemembered) {
    ASSERT_TRUE(testfiles::WriteFile(Host("C:\\reports\\") + "/caller.xml", "old"));
    for (const std::string path : {"C:\\reports\\caller.xml", "C:\\reports"}) {
        Remember(std::string("12/1/0/") + kGood);
        Sheet sheet(kUg16Set, path);
        ASSERT_TRUE(sheet.model.Initialise());
        EXPECT_TRUE(sheet.model.HandleKey(M::Key::Enter, 0, M::kTaxIncludedBox).consumed);
        EXPECT_EQ((std::tuple{sheet.calls.at(6), sheet.calls.back(), sheet.model.Execute(), sheet.boxes.Boxes().size(),
                              testfiles::ReadFile(File()).find(std::string("0/") + kGood)}),
                  std::tuple("112 " + path, "Focus 2003", M::kExecuted, 0u, 10u));
    }
}

// Each failing check shows its message in the sheet's caption and goes back to the month or the path; a passing
// Execute leaves the page as it is. Entries start in June; a row's answer goes to the question it raises.
TEST_F(ConditionSheetModelTest, ExecuteChecksInOrderAndReturnsToWhatIsWrong) {
    ASSERT_TRUE(testfiles::WriteFile(root_ / "drives/types", "d=cdrom\n"));
    ASSERT_TRUE(testfiles::WriteFile(Host("C:\\reports\\") + "/old.xml", "old"));
    fs::create_directories(Host("C:\\locked"));
    fs::permissions(Host("C:\\locked"), fs::perms::owner_read | fs::perms::owner_exec);
    const std::string r = "C:\\reports\\";
    constexpr unsigned W = mb::kWarningOk, Q = mb::kQuestionYesNo;
    constexpr int kOpen = M::kStaysOpen, kDone = M::kExecuted;
    struct Row { const char* name; const char* month; std::string path; int answer, result; const char* text;
                 unsigned style; Calls calls; };
    const Row rows[] = {
        {"month 0", "0", kGood, 0, kOpen, "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。", W, kToMonth},
        {"month 13", "13", kGood, 0, kOpen, "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。", W, kToMonth},
        {"month 1", "1", kGood, 0, kDone, "", 0, {}},
        {"month 3, the year's last", "3", kGood, 0, kDone, "", 0, {}},
        {"the first month, before the entries", "4", kGood, 0, kOpen,
         "集計期間には、導入開始月より前は指定できません。", W, kToMonth},
        {"the month the entries start", "6", kGood, 0, kDone, "", 0, {}},
        {"no path: the save dialog, cancelled", "6", "", 0, kOpen,
         "データ出力先が指定されていません。\n\n出力先を指定してください。", W, {"Page 0", "1"}},
        {"261 bytes", "6", r + std::string(246, 'b') + ".xml", 0, kOpen,
         "データの出力先が長すぎます。\n\n出力先は半角260文字（全角130文字）以内で指定してください。", W, kToPath},
        {"260 bytes", "6", r + std::string(245, 'b') + ".xml", 0, kDone, "", 0, {}},
        {"a wildcard", "6", r + "*.xml", 0, kOpen,
         "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。", W, kToPath},
        {"a CD-ROM drive", "6", "D:\\a.xml", 0, kOpen,
         "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。", W, kToPath},
        {"no file name", "6", r, 0, kOpen, "ファイル名が指定されていません。", W, kToPath},
        {"a missing folder, No", "6", r + "新規\\r.xml", mb::kIdNo, kOpen,
         "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？", Q, kToPath},
        {"a folder that cannot be made, Yes", "6", "C:\\locked\\a\\r.xml", mb::kIdYes, kOpen,
         "フォルダの作成に失敗しました。\n\n出力先を再入力してください。", W, kToPath},
        {"an existing file, No", "6", r + "old.xml", mb::kIdNo, kOpen,
         "同名のファイルが存在します。\n\n上書きしてもよろしいですか？", Q, kToPath},
    };
    for (const Row& row : rows) {
        Sheet sheet(kUg16Set);
        sheet.model.Values.IntroMonthPos = 3;
        sheet.Open(M::kMainItemsPage);
        sheet.model.EndMonthTextChanged(row.month);
        sheet.model.OutputPathTextChanged(row.path);
        if (row.answer != 0) sheet.boxes.QueueAnswer(row.answer);
        const int result = sheet.model.Execute();
        const auto& box = sheet.boxes.Boxes().empty() ? ScriptedMessageBoxes::Shown{} : sheet.boxes.Last();
        EXPECT_EQ(std::tuple(result, box.text, box.style, box.caption, sheet.calls, sheet.boxes.PendingAnswers()),
                  std::tuple(row.result, row.text, row.style, *row.text ? "事業概況書" : "", row.calls, 0u))
            << row.name;
    }
    fs::permissions(Host("C:\\locked"), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(Host("C:\\locked\\a")));
}

// A cancel answered No saves nothing; browsing opens on the path's folder; a failing save keeps the sheet open.
TEST_F(ConditionSheetModelTest, SavingTheConditions) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    EXPECT_EQ((std::tuple{sheet.model.ConfirmCancel(), fs::exists(File()), sheet.boxes.Boxes().size()}),
              std::tuple(M::kCancelled, false, 2u));
    sheet.dialogs.QueueChoice(kGood);
    sheet.model.BrowseOutputFile();
    const SaveFileRequest& q = sheet.dialogs.Requests().at(0);
    EXPECT_EQ(std::tuple(q.Title, q.InitialFolder, q.InitialName, q.DefaultExtension, q.Filter),
              std::tuple("保存ファイルを指定", "C:\\reports\\", "*.xml", "XML", "Xml Files (*.xml)|*.xml||"));
    fs::permissions(Host("C:\\cond"), fs::perms::owner_read | fs::perms::owner_exec);
    sheet.boxes.QueueAnswer(mb::kIdYes);
    EXPECT_EQ((std::tuple{sheet.model.ConfirmCancel(), std::string(sheet.boxes.Last().text), sheet.model.Execute()}),
              std::tuple(M::kStaysOpen, "集計条件を保存できませんでした。\n\nC:\\cond\\UG16_G_tester_7_1.env\n\n"
                                        "保存先のフォルダに書き込めるか確認してください。", M::kStaysOpen));
    fs::permissions(Host("C:\\cond"), fs::perms::owner_all);
    sheet.boxes.QueueAnswer(mb::kIdYes);
    const std::string saved = "[P1]\n3/1/0/" + std::string(kGood) + "\n[終了]\n[P2/P3]\n1/URIAGEDAKA[END]\n3/";
    EXPECT_EQ((std::tuple{sheet.model.ConfirmCancel(), testfiles::ReadFile(File()).find(saved)}),
              std::tuple(M::kCancelled, 0u));
}
