// The condition sheet's model without a window, on real books, real files and the edition's data files. Braced
// tuples gather a call's result with what it left behind: their elements are evaluated in order.

#include "wizard/ConditionSheetModel.h"

#include <gtest/gtest.h>

#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/TestFiles.h"
#include "tests/wizard/SheetBooks.h"
#include "wizard/ScriptedFileDialogs.h"

namespace fs = std::filesystem;
using M = ConditionSheetModel;
using Calls = std::vector<std::string>;

// A sheet as the run sequence builds it, with a window that writes down what the model asks of it.
struct Sheet : ConditionSheetView {
    explicit Sheet(int set, const std::string& callerPath = {}) : model(set == 2, mapping, items, boxes, dialogs) {
        SheetBooks::FillValues(model.Values, set, callerPath);
        model.SetView(this);
    }
    void ActivatePage(int page) override { calls.push_back("Page " + std::to_string(page)); }
    void ShowButtonStates(bool back, bool next) override { calls.push_back(std::to_string(back) + std::to_string(next)); }
    void ShowSheetValues(bool locked) override {
        calls.push_back(std::string(locked ? "Locked " : "Show ") + std::to_string(model.Values.EndMonth) + " " +
                        model.Values.OutputPath);
    }
    void ShowOutputPath() override { calls.push_back("Path " + model.Values.OutputPath); }
    void FocusControl(int id, bool all) override { calls.push_back("Focus " + std::to_string(id) + (all ? " all" : "")); }
    void PressItemButton(int id) override { calls.push_back("Press " + std::to_string(id)); }
    void Open(int page = M::kConditionsPage) {
        ASSERT_TRUE(model.Initialise());
        model.PageActivated(page);
        calls.clear();
    }
    Calls Take() { return std::exchange(calls, {}); }
    std::string LastText() const { return boxes.Boxes().empty() ? "" : boxes.Last().text; }

    MappingList mapping;
    ItemList items;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    M model;
    Calls calls;
};

const Calls kToMonth = {"Page 0", "01", "Focus 1002 all"}, kToPath = {"Page 0", "01", "Focus 1008 all"};
constexpr const char* kGood = "C:\\reports\\概況書.xml";

class ConditionSheetModelTest : public SheetBooks {
protected:
    static std::string File() { return Host("C:\\cond\\") + "/UG16_G_tester_7_1.env"; }
    // A condition file as an earlier run left it: the conditions line and one mapping entry.
    static void Remember(const std::string& p1) {
        ASSERT_TRUE(testfiles::WriteFile(File(), "[P1]\n" + p1 + "\n[終了]\n[P2/P3]\n1/URIAGEDAKA[END]\n[終了]\n"));
    }
};

// Once, in order; without a condition file the books' tax treatment and the version's default mapping.
TEST_F(ConditionSheetModelTest, InitialisesOnceFromTheYearTheBooksAndTheDefaults) {
    Sheet sheet(kUg16Set);
    EXPECT_TRUE(sheet.model.Initialise() && sheet.model.Initialise());
    EXPECT_EQ(sheet.calls, (Calls{"Page 2", "10", "Page 1", "11", "Page 0", "01", "Show 3 C:\\reports\\*.xml",
                                  "Focus 1002 all"}));
    EXPECT_EQ(std::tuple(sheet.items.size(), sheet.model.Values.TaxIncluded, sheet.model.FindItem(44)), std::tuple(43u, 1, nullptr));
    EXPECT_EQ(std::tuple(sheet.model.FindItem(43)->ItemNo, Entries(sheet.mapping)),
              std::tuple(43, Entries(sheet.model.DefaultMapping())));
    UseDataSet(kUg30Set);
    Sheet ug30(kUg30Set);
    EXPECT_EQ((std::tuple{ug30.model.Initialise(), ug30.items.size(), ug30.model.Values.TaxIncluded}), std::tuple(true, 44u, 0));
    // Without a report folder the temporary folder, with a separator where there is room ("表" ends in 0x5C).
    const std::string full = "C:\\" + std::string(257, 'a');
    for (const auto& [report, temp, path] : {std::tuple<std::string, std::string, std::string>{"C:\\r\\", "C:\\T", "C:\\r\\*.xml"},
             {"", "C:\\T\\", "C:\\T\\*.xml"}, {"", "", ""}, {"", full, full + "*.xml"}, {"", "C:\\表", "C:\\表\\*.xml"}})
        EXPECT_EQ(M::DefaultOutputPath(report, temp), path) << temp;
}

// The file's conditions and mapping win, but a remembered end month outside 1-99 gives way to the year's last.
TEST_F(ConditionSheetModelTest, RememberedConditionsWinButAnEndMonthTheEditCannotShowGivesWay) {
    for (const auto& [month, shown] : {std::pair{"1", "1"}, {"99", "99"}, {"100", "3"}, {"0", "3"}}) {
        Remember(std::string(month) + "/0/0/C:\\reports\\前回.xml");
        Sheet sheet(kUg16Set);
        ASSERT_TRUE(sheet.model.Initialise());
        EXPECT_EQ(std::tuple(sheet.calls.at(6), sheet.model.Values.TaxIncluded, Entries(sheet.mapping)),
                  std::tuple(std::string("Show ") + shown + " C:\\reports\\前回.xml", 0, std::vector{Entry(1, "URIAGEDAKA")}));
    }
}

// The caller's path, a file or even a folder, is shown locked, written without a question and never remembered.
TEST_F(ConditionSheetModelTest, ACallersPathIsLockedUnquestionedAndNeverRemembered) {
    ASSERT_TRUE(testfiles::WriteFile(Host("C:\\reports\\") + "/caller.xml", "old"));
    for (const std::string path : {"C:\\reports\\caller.xml", "C:\\reports"}) {
        Remember(std::string("12/1/0/") + kGood);
        Sheet sheet(kUg16Set, path);
        ASSERT_TRUE(sheet.model.Initialise());
        EXPECT_EQ(std::tuple(sheet.Take().at(6), sheet.model.PathControlsEnabled()), std::tuple("Locked 12 " + path, false));
        // Enter on the check box skips the path controls; page 1 has no back button: to the next button.
        sheet.model.HandleKey(M::Key::Enter, 0, M::kTaxIncludedBox);
        EXPECT_EQ((std::tuple{sheet.Take(), sheet.model.Execute(), sheet.boxes.Boxes().size()}),
                  std::tuple(Calls{"Focus 2003"}, M::kExecuted, 0u));
        EXPECT_EQ(testfiles::ReadFile(File()).rfind(std::string("[P1]\n12/1/0/") + kGood + "\n", 0), 0u) << path;
    }
}

// Each failing check shows its message in the sheet's caption and goes back to the month or the path; a passing
// Execute leaves the page as it is. Entries start in June; a row's answer goes to the question it raises.
TEST_F(ConditionSheetModelTest, ExecuteChecksInOrderAndReturnsToWhatIsWrong) {
    ASSERT_TRUE(testfiles::WriteFile(root_ / "drives/types", "d=cdrom\n"));
    ASSERT_TRUE(testfiles::WriteFile(Host("C:\\reports\\") + "/old.xml", "old"));
    fs::create_directories(Host("C:\\locked"));
    fs::permissions(Host("C:\\locked"), fs::perms::owner_read | fs::perms::owner_exec);
    const char* period = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
    const char* create = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
    const char* overwrite = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";
    const std::string folder = "C:\\reports\\新規\\月次\\r.xml", old = "C:\\reports\\old.xml", r = "C:\\reports\\";
    constexpr unsigned W = mb::kWarningOk, Q = mb::kQuestionYesNo;
    constexpr int kYes = mb::kIdYes, kNo = mb::kIdNo, kOpen = M::kStaysOpen, kDone = M::kExecuted;
    struct Row { const char* name; const char* month; std::string path; int answer, result; const char* text;
                 unsigned style; Calls calls; };
    const Row rows[] = {
        {"month 0", "0", kGood, 0, kOpen, period, W, kToMonth},
        {"month 13", "13", kGood, 0, kOpen, period, W, kToMonth},
        {"month 1", "1", kGood, 0, kDone, "", 0, {}},
        {"the first month, before the entries", "4", kGood, 0, kOpen,
         "集計期間には、導入開始月より前は指定できません。", W, kToMonth},
        {"the month the entries start", "6", kGood, 0, kDone, "", 0, {}},
        {"no path: the save dialog, cancelled", "6", "", 0, kOpen,
         "データ出力先が指定されていません。\n\n出力先を指定してください。", W, {"Page 0", "01"}},
        {"261 bytes", "6", r + std::string(246, 'b') + ".xml", 0, kOpen,
         "データの出力先が長すぎます。\n\n出力先は半角260文字（全角130文字）以内で指定してください。", W, kToPath},
        {"260 bytes", "6", r + std::string(245, 'b') + ".xml", 0, kDone, "", 0, {}},
        {"a wildcard", "6", r + "*.xml", 0, kOpen,
         "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。", W, kToPath},
        {"a CD-ROM drive", "6", "D:\\a.xml", 0, kOpen,
         "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。", W, kToPath},
        {"no file name", "6", r, 0, kOpen, "ファイル名が指定されていません。", W, kToPath},
        {"a missing folder, No", "6", folder, kNo, kOpen, create, Q, kToPath},
        {"a folder that cannot be made", "6", "C:\\locked\\a\\r.xml", kYes, kOpen,
         "フォルダの作成に失敗しました。\n\n出力先を再入力してください。", W, kToPath},
        {"an existing file, No", "6", old, kNo, kOpen, overwrite, Q, kToPath},
    };
    for (const Row& row : rows) {
        Sheet sheet(kUg16Set);
        sheet.model.Values.IntroMonthPos = 3;
        sheet.Open(M::kMainItemsPage);
        sheet.model.EndMonthTextChanged(row.month);
        sheet.model.OutputPathTextChanged(row.path);
        if (row.answer != 0) sheet.boxes.QueueAnswer(row.answer);
        EXPECT_EQ((std::tuple{sheet.model.Execute(), sheet.LastText(), sheet.boxes.PendingAnswers(), sheet.Take()}),
                  std::tuple(row.result, row.text, 0u, row.calls)) << row.name;
        if (*row.text == '\0') continue;
        EXPECT_EQ(std::tuple(sheet.boxes.Last().style, sheet.boxes.Last().caption), std::tuple(row.style, "事業概況書"));
    }
    fs::permissions(Host("C:\\locked"), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(Host("C:\\locked\\a")));
}

// A cancel asks whether to save and says the aggregation is abandoned; saving the conditions and the mapping that
// fails keeps the sheet open and says where.
TEST_F(ConditionSheetModelTest, SavingTheConditions) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    EXPECT_EQ((std::tuple{sheet.model.ConfirmCancel(), fs::exists(File())}), std::tuple(M::kCancelled, false));
    EXPECT_EQ(std::tuple(sheet.boxes.Boxes().at(0).text, sheet.boxes.Boxes()[0].style, sheet.LastText(), sheet.boxes.Last().style),
              std::tuple("入力した情報を保存して終了しますか？", mb::kQuestionYesNo, "｢事業概況書｣の集計を中止します。", mb::kInformationOk));
    sheet.model.OutputPathTextChanged(kGood);
    sheet.model.EndMonthTextChanged("9");
    sheet.model.TaxIncludedClicked(false);
    fs::permissions(Host("C:\\cond"), fs::perms::owner_read | fs::perms::owner_exec);
    sheet.boxes.QueueAnswer(mb::kIdYes);
    EXPECT_EQ((std::tuple{sheet.model.ConfirmCancel(), sheet.LastText()}), std::tuple(M::kStaysOpen,
              "集計条件を保存できませんでした。\n\nC:\\cond\\UG16_G_tester_7_1.env\n\n保存先のフォルダに書き込めるか確認してください。"));
    EXPECT_EQ(sheet.model.Execute(), M::kStaysOpen);
    fs::permissions(Host("C:\\cond"), fs::perms::owner_all);
    sheet.boxes.QueueAnswer(mb::kIdYes);
    EXPECT_EQ((std::tuple{sheet.model.ConfirmCancel(), testfiles::ReadFile(File()).rfind(
                  std::string("[P1]\n9/0/0/") + kGood + "\n[終了]\n[P2/P3]\n1/URIAGEDAKA[END]\n", 0)}), std::tuple(M::kCancelled, 0u));
}

// Each key as the active page and then the sheet see it, on a fresh sheet showing the row's page; browsing picks
// C:\reports\b.xml, and the default path fails Execute.
TEST_F(ConditionSheetModelTest, TheKeyTable) {
    using Key = M::Key;
    struct Row { const char* name; int page; Key key; unsigned modifiers; int control; bool consumed; int result;
                 Calls calls; };
    const Row rows[] = {
        {"F5 on the first page", 0, Key::F5, 0, 0, true, 0, {}},
        {"F6", 0, Key::F6, 0, 0, true, 0, {"Page 1", "11"}},
        {"F6 on the last page", 2, Key::F6, 0, 0, true, 0, {}},
        {"Enter on next", 1, Key::Enter, 0, M::kNextButton, true, 0, {"Page 2", "10"}},
        {"Shift+F6", 0, Key::F6, M::kShift, 0, false, 0, {}},
        {"Alt+F4 is swallowed", 0, Key::F4, M::kAlt, 0, true, 0, {}},
        {"Enter on the month", 0, Key::Enter, 0, M::kEndMonthEdit, true, 0, {"Focus 1003"}},
        {"Enter on the check box", 0, Key::Enter, 0, M::kTaxIncludedBox, true, 0, {"Focus 1008 all"}},
        {"Enter on the path", 0, Key::Enter, 0, M::kPathEdit, true, 0, {"Focus 1007"}},
        {"Enter on browse", 0, Key::Enter, 0, M::kBrowseButton, true, 0, {"Path C:\\reports\\b.xml"}},
        {"Enter on an item button", 1, Key::Enter, 0, 1047, true, 0, {"Press 1047"}},
        {"F12", 1, Key::F12, 0, 0, true, 0, kToPath},
        {"Esc", 1, Key::Escape, 0, 0, true, M::kCancelled, {}},
    };
    for (const Row& row : rows) {
        Sheet sheet(kUg16Set);
        sheet.Open(row.page);
        sheet.dialogs.QueueChoice("C:\\reports\\b.xml");
        const M::KeyOutcome outcome = sheet.model.HandleKey(row.key, row.modifiers, row.control);
        EXPECT_EQ(std::tuple(outcome.consumed, outcome.result, sheet.Take()), std::tuple(row.consumed, row.result, row.calls))
            << row.name;
    }
    Sheet sheet(kUg16Set);
    sheet.Open();
    sheet.model.BrowseOutputFile();
    const SaveFileRequest& r = sheet.dialogs.Requests().at(0);
    EXPECT_EQ(r.Title + "|" + r.InitialFolder + "|" + r.InitialName + "|" + r.DefaultExtension + "|" + r.Filter,
              "保存ファイルを指定|C:\\reports\\|*.xml|XML|Xml Files (*.xml)|*.xml||");
}

TEST_F(ConditionSheetModelTest, WithoutItemDefinitionsTheSheetCanOnlyBeCancelled) {
    fs::create_directories(root_ / "program");
    fs::current_path(root_ / "program");
    const std::string missing = "集計項目の定義ファイル（MznBrc20ToUg16_G_GaiKmk.dat）を読み込めませんでした。\n\n"
                                "この状態では集計できません。キャンセルで終了し、連動コンポーネントを再インストールしてください。";
    Sheet sheet(kUg16Set);
    EXPECT_FALSE(sheet.model.Initialise() || sheet.model.Initialise() || sheet.model.ItemDefinitionsLoaded());
    EXPECT_EQ(std::tuple(sheet.boxes.Boxes().size(), sheet.LastText(), sheet.boxes.Last().style), std::tuple(1u, missing, mb::kWarningOk));
    sheet.model.OutputPathTextChanged(kGood);
    EXPECT_EQ((std::tuple{sheet.model.Execute(), sheet.LastText(), sheet.boxes.Boxes().size(), sheet.model.ConfirmCancel()}),
              std::tuple(M::kStaysOpen, missing, 2u, M::kCancelled));
}
