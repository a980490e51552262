// The condition sheet's model without a window, on real books, real files and the edition's real data files.
// Braced tuples gather a call's result and what it left behind: their elements are evaluated in order.

#include "wizard/ConditionSheetModel.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/TestFiles.h"
#include "tests/wizard/SheetBooks.h"
#include "wizard/ScriptedFileDialogs.h"

namespace fs = std::filesystem;

namespace {

using M = ConditionSheetModel;
using Calls = std::vector<std::string>;
constexpr const char* kGoodPath = "C:\\reports\\概況書.xml";
const Calls kToMonth = {"ActivatePage 0", "Buttons - next", "Focus 1002 all"};
const Calls kToPath = {"ActivatePage 0", "Buttons - next", "Focus 1008 all"};

// A sheet as the run sequence builds it, over the application's lists, with a window that writes down what the
// model asks of it.
struct Sheet : ConditionSheetView {
    explicit Sheet(int dataSet, const std::string& callerPath = {})
        : model(dataSet == SheetBooks::kUg30Set, mapping, items, boxes, dialogs) {
        SheetBooks::FillValues(model.Values, dataSet, callerPath);
        model.SetView(this);
    }
    void ActivatePage(int page) override { calls.push_back("ActivatePage " + std::to_string(page)); }
    void ShowButtonStates(bool back, bool next) override {
        calls.push_back(std::string("Buttons ") + (back ? "back" : "-") + (next ? " next" : " -"));
    }
    void ShowSheetValues(bool locked) override {
        const ConditionSheetValues& v = model.Values;
        calls.push_back(std::string(locked ? "Locked " : "Show ") + std::to_string(v.StartMonth) + "-" +
                        std::to_string(v.EndMonth) + " " + v.OutputPath);
    }
    void ShowOutputPath() override { calls.push_back("Path " + model.Values.OutputPath); }
    void FocusControl(int id, bool all) override { calls.push_back("Focus " + std::to_string(id) + (all ? " all" : "")); }
    void DisableItemControls() override { calls.push_back("DisableItemControls"); }
    void LayOutButtons() override { calls.push_back("LayOutButtons"); }
    void PressItemButton(int id) override { calls.push_back("Press " + std::to_string(id)); }
    // Initialises, shows the page, and forgets what was asked so far.
    void Open(int page = M::kConditionsPage) {
        ASSERT_TRUE(model.Initialise());
        model.PageActivated(page);
        Take();
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

class ConditionSheetModelTest : public SheetBooks {
protected:
    static std::string File() { return Host("C:\\cond\\") + "/UG16_G_tester_7_1.env"; }
    // A condition file as an earlier run left it: the conditions line and one mapping entry.
    static void Remember(const std::string& conditions) {
        ASSERT_TRUE(testfiles::WriteFile(File(), "[P1]\n" + conditions + "\n[終了]\n[P2/P3]\n1/URIAGEDAKA[END]\n[終了]\n"));
    }
};

TEST_F(ConditionSheetModelTest, InitialisesOnceInOrderFromTheYearTheBooksAndTheDefaults) {
    Sheet sheet(kUg16Set);
    EXPECT_TRUE(sheet.model.Initialise() && sheet.model.Initialise());
    EXPECT_EQ(sheet.calls, (Calls{"ActivatePage 2", "Buttons back -", "ActivatePage 1", "Buttons back next",
                                  "ActivatePage 0", "Buttons - next", "Show 4-3 C:\\reports\\*.xml", "Focus 1002 all",
                                  "LayOutButtons"}));
    // Without a condition file: the books' tax treatment and the default mapping.
    EXPECT_EQ(std::tuple(sheet.items.size(), sheet.model.Values.OutputPathLocked, sheet.model.Values.TaxIncluded),
              std::tuple(43u, 0, 1));
    EXPECT_EQ(sheet.model.FindItem(43)->ItemNo, 43);
    EXPECT_EQ(sheet.model.FindItem(44), nullptr);
    EXPECT_EQ(Entries(sheet.mapping), Entries(sheet.model.DefaultMapping()));
    UseDataSet(kUg30Set);
    Sheet ug30(kUg30Set);
    ASSERT_TRUE(ug30.model.Initialise());
    EXPECT_EQ(std::tuple(ug30.items.size(), ug30.model.Values.TaxIncluded), std::tuple(44u, 0));
}

// The file's conditions and mapping win, but a remembered end month outside 1-99 gives way to the year's last.
TEST_F(ConditionSheetModelTest, RememberedConditionsWinButAnEndMonthTheEditCannotShowGivesWay) {
    for (const auto& [month, shown] : {std::pair{"1", "1"}, {"99", "99"}, {"100", "3"}, {"0", "3"}}) {
        Remember(std::string(month) + "/0/0/C:\\reports\\前回.xml");
        Sheet sheet(kUg16Set);
        ASSERT_TRUE(sheet.model.Initialise());
        EXPECT_EQ(sheet.calls.at(6), std::string("Show 4-") + shown + " C:\\reports\\前回.xml");
        EXPECT_EQ(std::tuple(sheet.model.Values.TaxIncluded, std::string(sheet.model.Values.SavedOutputPath)),
                  std::tuple(0, "C:\\reports\\前回.xml"));
        EXPECT_EQ(Entries(sheet.mapping), std::vector{Entry(1, "URIAGEDAKA")});
    }
}

// The caller's path, a file or even a folder, is shown locked, written without a question and never remembered.
TEST_F(ConditionSheetModelTest, ACallersPathIsLockedUnquestionedAndNeverRemembered) {
    ASSERT_TRUE(testfiles::WriteFile(Host("C:\\reports\\") + "/caller.xml", "old"));
    for (const std::string path : {"C:\\reports\\caller.xml", "C:\\reports"}) {
        Remember(std::string("12/1/0/") + kGoodPath);
        Sheet sheet(kUg16Set, path);
        ASSERT_TRUE(sheet.model.Initialise());
        EXPECT_EQ(sheet.Take().at(6), "Locked 4-12 " + path);
        EXPECT_FALSE(sheet.model.PathControlsEnabled());
        // Enter on the check box skips the path controls; page 1 has no back button: to the next button.
        sheet.model.HandleKey(M::Key::Enter, 0, M::kTaxIncludedBox);
        EXPECT_EQ(sheet.Take(), Calls{"Focus 2003"});
        EXPECT_EQ((std::tuple{sheet.model.Execute(), sheet.boxes.Boxes().size()}), std::tuple(M::kExecuted, 0u));
        EXPECT_EQ(testfiles::ReadFile(File()).rfind(std::string("[P1]\n12/1/0/") + kGoodPath + "\n", 0), 0u) << path;
    }
}

TEST_F(ConditionSheetModelTest, TheDefaultPathLiesInTheReportFolderOrElseInTheTemporaryFolder) {
    const std::string full = "C:\\" + std::string(257, 'a');  // 260 bytes: no room for a separator
    struct Row { const char* report; std::string temp, path; };
    for (const Row& row : {Row{"C:\\reports\\", "C:\\TEMP", "C:\\reports\\*.xml"}, {"", "C:\\TEMP", "C:\\TEMP\\*.xml"},
                           {"", "C:\\TEMP\\", "C:\\TEMP\\*.xml"}, {"", "", ""}, {"", full, full + "*.xml"},
                           {"", "C:\\TEMP\\表", "C:\\TEMP\\表\\*.xml"}})  // 表 ends in the byte 0x5C
        EXPECT_EQ(M::DefaultOutputPath(row.report, row.temp), row.path) << row.temp;
}

// Each failing check shows its exact message and goes back to the month or the path of the conditions page; a
// passing Execute leaves the page as it is. Entries start in June; a row's answer goes to the question it raises.
TEST_F(ConditionSheetModelTest, ExecuteChecksInOrderAndReturnsToWhatIsWrong) {
    ASSERT_TRUE(testfiles::WriteFile(root_ / "drives/types", "d=cdrom\n"));
    ASSERT_TRUE(testfiles::WriteFile(Host("C:\\reports\\") + "/old.xml", "old"));
    fs::create_directories(Host("C:\\locked"));
    fs::permissions(Host("C:\\locked"), fs::perms::owner_read | fs::perms::owner_exec);
    const char* period = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
    const char* characters = "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
    const char* noName = "ファイル名が指定されていません。";
    const char* create = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
    const char* overwrite = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";
    const std::string folder = "C:\\reports\\新規\\月次\\r.xml", old = "C:\\reports\\old.xml", r = "C:\\reports\\";
    constexpr unsigned W = mb::kWarningOk, Q = mb::kQuestionYesNo;
    constexpr int kYes = mb::kIdYes, kNo = mb::kIdNo, kOpen = M::kStaysOpen, kDone = M::kExecuted;
    struct Row { const char* name; const char* month; std::string path; int answer, result; const char* text;
                 unsigned style; Calls calls; };
    const Row rows[] = {
        {"month 0", "0", kGoodPath, 0, kOpen, period, W, kToMonth},
        {"month 13", "13", kGoodPath, 0, kOpen, period, W, kToMonth},
        {"month 1", "1", kGoodPath, 0, kDone, "", 0, {}},
        {"the first month, before the entries", "4", kGoodPath, 0, kOpen,
         "集計期間には、導入開始月より前は指定できません。", W, kToMonth},
        {"the month the entries start", "6", kGoodPath, 0, kDone, "", 0, {}},
        {"no path: the save dialog, cancelled", "6", "", 0, kOpen,
         "データ出力先が指定されていません。\n\n出力先を指定してください。", W, {"ActivatePage 0", "Buttons - next"}},
        {"261 bytes", "6", r + std::string(246, 'b') + ".xml", 0, kOpen,
         "データの出力先が長すぎます。\n\n出力先は半角260文字（全角130文字）以内で指定してください。", W, kToPath},
        {"260 bytes", "6", r + std::string(245, 'b') + ".xml", 0, kDone, "", 0, {}},
        {"the default wildcard", "6", "C:\\reports\\*.xml", 0, kOpen, characters, W, kToPath},
        {"a control byte", "6", "C:\\reports\\a\x01.xml", 0, kOpen, characters, W, kToPath},
        {"a CD-ROM drive", "6", "D:\\a.xml", 0, kOpen,
         "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。", W, kToPath},
        {"no file name", "6", "C:\\reports\\", 0, kOpen, noName, W, kToPath},
        {"an existing folder", "6", "C:\\reports", 0, kOpen, noName, W, kToPath},
        {"a missing folder, No", "6", folder, kNo, kOpen, create, Q, kToPath},
        {"a missing folder, Yes", "6", folder, kYes, kDone, create, Q, {}},
        {"a folder that cannot be made", "6", "C:\\locked\\a\\b\\r.xml", kYes, kOpen,
         "フォルダの作成に失敗しました。\n\n出力先を再入力してください。", W, kToPath},
        {"an existing file, No", "6", old, kNo, kOpen, overwrite, Q, kToPath},
        {"an existing file, Yes", "6", old, kYes, kDone, overwrite, Q, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Sheet sheet(kUg16Set);
        sheet.model.Values.IntroMonthPos = 3;
        sheet.Open(M::kMainItemsPage);
        sheet.model.EndMonthTextChanged(row.month);
        sheet.model.OutputPathTextChanged(row.path);
        if (row.answer != 0) sheet.boxes.QueueAnswer(row.answer);
        EXPECT_EQ((std::tuple{sheet.model.Execute(), sheet.LastText(), sheet.boxes.PendingAnswers(), sheet.Take()}),
                  std::tuple(row.result, row.text, 0u, row.calls));
        if (*row.text != '\0') {
            EXPECT_EQ(std::tuple(sheet.boxes.Last().style, sheet.boxes.Last().caption), std::tuple(row.style, "事業概況書"));
        }
    }
    EXPECT_TRUE(fs::is_directory(Host("C:\\reports\\新規\\月次")));
    fs::permissions(Host("C:\\locked"), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(Host("C:\\locked\\a")));
}

// A cancel asks whether to save and says the aggregation is abandoned; Execute and a cancel answered Yes save the
// conditions and the mapping; a file that cannot be written keeps the sheet open and says where.
TEST_F(ConditionSheetModelTest, SavingTheConditions) {
    const std::string cannotSave = "集計条件を保存できませんでした。\n\nC:\\cond\\UG16_G_tester_7_1.env\n\n";
    Sheet sheet(kUg16Set);
    sheet.Open();
    EXPECT_EQ(sheet.model.ConfirmCancel(), M::kCancelled);
    EXPECT_FALSE(fs::exists(File()));
    ASSERT_EQ(sheet.boxes.Boxes().size(), 2u);
    const auto& [question, notice] = std::tuple(sheet.boxes.Boxes()[0], sheet.boxes.Boxes()[1]);
    EXPECT_EQ(std::tuple(question.text, question.caption, question.style),
              std::tuple("入力した情報を保存して終了しますか？", "事業概況書", mb::kQuestionYesNo));
    EXPECT_EQ(std::tuple(notice.text, notice.style), std::tuple("｢事業概況書｣の集計を中止します。", mb::kInformationOk));
    sheet.model.OutputPathTextChanged(kGoodPath);
    sheet.model.EndMonthTextChanged("9");
    sheet.model.TaxIncludedClicked(false);
    fs::permissions(Host("C:\\cond"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(sheet.model.Execute(), M::kStaysOpen);
    EXPECT_EQ(sheet.LastText().rfind(cannotSave, 0), 0u) << sheet.LastText();
    sheet.boxes.QueueAnswer(mb::kIdYes);
    EXPECT_EQ(sheet.model.ConfirmCancel(), M::kStaysOpen);
    EXPECT_EQ(std::tuple(sheet.LastText().rfind(cannotSave, 0), sheet.boxes.Last().style), std::tuple(0ul, mb::kWarningOk));
    fs::permissions(Host("C:\\cond"), fs::perms::owner_all);
    EXPECT_EQ(sheet.model.Execute(), M::kExecuted);
    const std::string saved = std::string("[P1]\n9/0/0/") + kGoodPath + "\n[終了]\n[P2/P3]\n1/URIAGEDAKA[END]\n";
    EXPECT_EQ(testfiles::ReadFile(File()).rfind(saved, 0), 0u);
    sheet.model.TaxIncludedClicked(true);
    sheet.boxes.QueueAnswer(mb::kIdYes);
    EXPECT_EQ(sheet.model.ConfirmCancel(), M::kCancelled);
    EXPECT_EQ(testfiles::ReadFile(File()).rfind(std::string("[P1]\n9/1/0/") + kGoodPath + "\n", 0), 0u);
}

// Each key as the active page and then the sheet see it, on a fresh sheet showing the row's page; browsing picks
// C:\reports\b.xml, and the default path fails Execute.
TEST_F(ConditionSheetModelTest, TheKeyTable) {
    using Key = M::Key;
    constexpr int kOpen = M::kStaysOpen, kEnd = M::kCancelled;
    struct Row { const char* name; int page; Key key; unsigned modifiers; int control; bool consumed; int result;
                 Calls calls; };
    const Row rows[] = {
        {"F5 on the first page", 0, Key::F5, 0, 0, true, kOpen, {}},
        {"F6", 0, Key::F6, 0, 0, true, kOpen, {"ActivatePage 1", "Buttons back next"}},
        {"F6 on the last page", 2, Key::F6, 0, 0, true, kOpen, {}},
        {"F5", 2, Key::F5, 0, 0, true, kOpen, {"ActivatePage 1", "Buttons back next"}},
        {"Enter on next", 1, Key::Enter, 0, M::kNextButton, true, kOpen, {"ActivatePage 2", "Buttons back -"}},
        {"Enter on back", 1, Key::Enter, 0, M::kBackButton, true, kOpen, {"ActivatePage 0", "Buttons - next"}},
        {"Shift+F6", 0, Key::F6, M::kShift, 0, false, kOpen, {}},
        {"Alt+F4 is swallowed", 0, Key::F4, M::kAlt, 0, true, kOpen, {}},
        {"Ctrl+Alt+F4", 0, Key::F4, M::kAlt | M::kCtrl, 0, false, kOpen, {}},
        {"another key", 0, Key::Other, 0, 0, false, kOpen, {}},
        {"Enter on the month", 0, Key::Enter, 0, M::kEndMonthEdit, true, kOpen, {"Focus 1003"}},
        {"Enter on the check box", 0, Key::Enter, 0, M::kTaxIncludedBox, true, kOpen, {"Focus 1008 all"}},
        {"Enter on the path", 0, Key::Enter, 0, M::kPathEdit, true, kOpen, {"Focus 1007"}},
        {"Enter on browse", 0, Key::Enter, 0, M::kBrowseButton, true, kOpen, {"Path C:\\reports\\b.xml"}},
        {"Enter on an item button", 1, Key::Enter, 0, 1047, true, kOpen, {"Press 1047"}},
        {"Enter on a text of the items", 1, Key::Enter, 0, 1034, true, kOpen, {}},
        {"Enter on a monthly button", 2, Key::Enter, 0, 1036, true, kOpen, {"Press 1036"}},
        {"Enter on another page's button", 2, Key::Enter, 0, 1048, true, kOpen, {}},
        {"F12", 1, Key::F12, 0, 0, true, kOpen, kToPath},
        {"Enter on execute", 1, Key::Enter, 0, M::kExecuteButton, true, kOpen, kToPath},
        {"Esc", 1, Key::Escape, 0, 0, true, kEnd, {}},
        {"Enter on cancel", 1, Key::Enter, 0, M::kCancelButton, true, kEnd, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Sheet sheet(kUg16Set);
        sheet.Open(row.page);
        sheet.dialogs.QueueChoice("C:\\reports\\b.xml");
        const M::KeyOutcome outcome = sheet.model.HandleKey(row.key, row.modifiers, row.control);
        EXPECT_EQ(std::tuple(outcome.consumed, outcome.result, sheet.Take()), std::tuple(row.consumed, row.result, row.calls));
        EXPECT_EQ(sheet.boxes.Boxes().size(), row.calls == kToPath ? 1u : row.result == kEnd ? 2u : 0u);
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
    const std::string missing =
        "集計項目の定義ファイル（MznBrc20ToUg16_G_GaiKmk.dat）を読み込めませんでした。\n\n"
        "この状態では集計できません。キャンセルで終了し、連動コンポーネントを再インストールしてください。";
    Sheet sheet(kUg16Set);
    EXPECT_FALSE(sheet.model.Initialise() || sheet.model.Initialise() || sheet.model.ItemDefinitionsLoaded());
    EXPECT_EQ(Calls(sheet.calls.end() - 2, sheet.calls.end()), (Calls{"DisableItemControls", "LayOutButtons"}));
    EXPECT_EQ(std::tuple(sheet.boxes.Boxes().size(), sheet.LastText(), sheet.boxes.Last().style),
              std::tuple(1u, missing, mb::kWarningOk));
    sheet.model.OutputPathTextChanged(kGoodPath);
    EXPECT_EQ((std::tuple{sheet.model.Execute(), sheet.LastText(), sheet.model.ConfirmCancel()}),
              std::tuple(M::kStaysOpen, missing, M::kCancelled));
}

}  // namespace
