// The condition sheet's model on real books, real files and the standard
// edition's real data files, without a window: initialisation, Execute with
// each check, ConfirmCancel, the keys and the mapping the user edits.

#include "wizard/ConditionSheetModel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/ScriptedMessageBoxes.h"
#include "settings/ConditionFile.h"
#include "tests/support/TestFiles.h"
#include "tests/wizard/RecordingView.h"
#include "tests/wizard/SheetBooks.h"
#include "wizard/ScriptedFileDialogs.h"

namespace fs = std::filesystem;

namespace {

using Key = ConditionSheetModel::Key;
using Calls = std::vector<std::string>;

constexpr const char* kCaption = "事業概況書";
constexpr const char* kPeriodWrong = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
constexpr const char* kBeforeIntro = "集計期間には、導入開始月より前は指定できません。";
constexpr const char* kNoPath = "データ出力先が指定されていません。\n\n出力先を指定してください。";
constexpr const char* kBadCharacters = "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
constexpr const char* kBadDrive = "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
constexpr const char* kNoFileName = "ファイル名が指定されていません。";
constexpr const char* kCreateFolder = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
constexpr const char* kCreateFailed = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
constexpr const char* kOverwrite = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";
constexpr const char* kSaveQuestion = "入力した情報を保存して終了しますか？";
constexpr const char* kAbandoned = "｢事業概況書｣の集計を中止します。";

const Calls kBackToMonth = {"ActivatePage 0", "Buttons - next", "Focus 1002 all"};
const Calls kBackToPath = {"ActivatePage 0", "Buttons - next", "Focus 1008 all"};

// The data set of SheetBooks whose year ends after 2018-03-31.
constexpr int kUg30DataSet = 2;

// A sheet as the run sequence builds it, over the application's two lists.
struct Sheet {
    explicit Sheet(int dataSet, const std::string& callerPath = {})
        : model(dataSet == kUg30DataSet ? 1 : 0, mapping, items, boxes, dialogs), view(model) {
        ConditionSheetValues& values = model.Values;
        std::strcpy(values.UserId, "tester");
        values.SelectedNo1 = 7;
        values.SelectedNo2 = dataSet;
        values.OutputPath = callerPath;
        values.PeriodStart = dataSet == kUg30DataSet ? 20230401 : 20170401;
        values.PeriodEnd = dataSet == kUg30DataSet ? 20240331 : 20180331;
        values.IntroMonthPos = 1;
        values.NetAssetsCaption = 1;
    }

    // Initialises and forgets what the view was asked so far.
    void Open() {
        ASSERT_TRUE(model.Initialise());
        view.Take();
    }
    // Executes with the boxes answered in order.
    int Execute(std::vector<int> answers = {}) {
        for (int answer : answers) boxes.QueueAnswer(answer);
        return model.Execute();
    }
    std::string LastText() const { return boxes.Boxes().empty() ? std::string() : boxes.Last().text; }

    MappingList mapping;
    ItemList items;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    ConditionSheetModel model;
    RecordingView view;
};

class ConditionSheetModelTest : public SheetBooks {
protected:
    // A path for the report that passes every check.
    static constexpr const char* kGoodPath = "C:\\reports\\概況書.xml";

    std::string ConditionFileText(const char* name = "UG16_G_tester_7_1.env") {
        return testfiles::ReadFile(Host("C:\\cond\\") + "/" + name);
    }
};

TEST_F(ConditionSheetModelTest, InitialisesInOrderWithTheDefaultsOfAnAprilToMarchYear) {
    Sheet sheet(kUg16Set);
    ASSERT_TRUE(sheet.model.Initialise());

    const Calls expected = {"ConnectPages",
                            "ActivatePage 2",
                            "Buttons back -",
                            "ActivatePage 1",
                            "Buttons back next",
                            "ActivatePage 0",
                            "Buttons - next",
                            "ShowSheetValues 4-3 C:\\reports\\*.xml",
                            "Focus 1002 all",
                            "ApplyItemCaptions 43",
                            "CreateItemTips",
                            "LayOutButtons"};
    EXPECT_EQ(sheet.view.calls, expected);
    // Once only.
    EXPECT_TRUE(sheet.model.Initialise());
    EXPECT_EQ(sheet.view.calls.size(), expected.size());
    const ConditionSheetValues& values = sheet.model.Values;
    EXPECT_EQ(values.StartMonth, 4);
    EXPECT_EQ(values.EndMonth, 3);
    EXPECT_EQ(values.OutputPathLocked, 0);
    EXPECT_STREQ(values.SavedOutputPath, "");
    // No condition file: the data set keeps its books with tax included,
    // and the mapping is the default one.
    EXPECT_EQ(values.TaxIncluded, 1);
    EXPECT_FALSE(sheet.mapping.empty());
    EXPECT_EQ(Describe(sheet.mapping), Describe(sheet.model.DefaultMapping()));
    EXPECT_NE(Describe(sheet.mapping).find("21/" + KeyOf(1110) + "\n21/" + KeyOf(1140) + "\n"), std::string::npos);
    EXPECT_NE(Describe(sheet.mapping).find("1/URIAGEDAKA\n"), std::string::npos);
    EXPECT_EQ(sheet.model.ActivePage(), ConditionSheetModel::kConditionsPage);
    EXPECT_TRUE(sheet.boxes.Boxes().empty());
    // The lists are the application's, edited in place.
    EXPECT_EQ(&sheet.model.Mapping(), &sheet.mapping);
    EXPECT_EQ(&sheet.model.Items(), &sheet.items);
    ASSERT_EQ(sheet.items.size(), 43u);
    EXPECT_EQ(sheet.items.front()->ItemNo, 1);
}

TEST_F(ConditionSheetModelTest, Ug30ReadsItsOwnDefinitionsAndDefaults) {
    UseDataSet(kUg30Set);
    Sheet sheet(kUg30Set);
    ASSERT_TRUE(sheet.model.Initialise());
    EXPECT_TRUE(sheet.model.IsUg30());
    EXPECT_EQ(sheet.items.size(), 44u);
    // UG30 numbers the cash item 22.
    EXPECT_NE(Describe(sheet.mapping).find("22/" + KeyOf(1110) + "\n"), std::string::npos);
    EXPECT_EQ(sheet.model.Values.TaxIncluded, 0);
}

TEST_F(ConditionSheetModelTest, ARememberedConditionFileWinsOverTheDefaults) {
    {
        Sheet second(kUg16Set);
        second.Open();
        second.model.Values.EndMonth = 11;
        second.model.Values.TaxIncluded = 0;
        second.model.Values.OutputPath = "C:\\reports\\前回.xml";
        second.boxes.QueueAnswer(mb::kIdYes);
        EXPECT_EQ(second.model.ConfirmCancel(), ConditionSheetModel::kCancelled);
    }
    Sheet third(kUg16Set);
    ASSERT_TRUE(third.model.Initialise());
    EXPECT_EQ(third.model.Values.EndMonth, 11);
    EXPECT_EQ(third.model.Values.TaxIncluded, 0) << "the books say tax included; the file decides";
    EXPECT_EQ(third.model.Values.OutputPath, "C:\\reports\\前回.xml");
    EXPECT_STREQ(third.model.Values.SavedOutputPath, "C:\\reports\\前回.xml");
    EXPECT_EQ(third.view.calls.at(7), "ShowSheetValues 4-11 C:\\reports\\前回.xml");
}

TEST_F(ConditionSheetModelTest, ACallerPathIsKeptLockedAndNeverRemembered) {
    {
        Sheet first(kUg16Set);
        first.Open();
        first.model.Values.OutputPath = kGoodPath;
        first.model.Values.EndMonth = 12;
        ASSERT_EQ(first.Execute(), ConditionSheetModel::kExecuted);
    }
    // An existing file at the caller's path is overwritten without a
    // question.
    ASSERT_TRUE(testfiles::WriteFile(Host("C:\\reports\\") + "/caller.xml", "old"));
    Sheet sheet(kUg16Set, "C:\\reports\\caller.xml");
    ASSERT_TRUE(sheet.model.Initialise());
    EXPECT_EQ(sheet.model.Values.OutputPathLocked, 1);
    EXPECT_EQ(sheet.model.Values.OutputPath, "C:\\reports\\caller.xml");
    EXPECT_STREQ(sheet.model.Values.SavedOutputPath, kGoodPath);
    EXPECT_EQ(sheet.view.calls.at(7), "ShowSheetValues locked 4-12 C:\\reports\\caller.xml");
    EXPECT_FALSE(sheet.model.PathControlsEnabled());
    sheet.view.Take();

    // Enter on the check box skips the disabled path controls; page 1 has
    // no back button enabled, so the next button takes the focus.
    EXPECT_TRUE(sheet.model.HandleKey(Key::Enter, 0, ConditionSheetModel::kTaxIncludedBox).consumed);
    EXPECT_EQ(sheet.view.Take(), Calls{"Focus 2003"});
    EXPECT_EQ(sheet.model.ActivePage(), ConditionSheetModel::kConditionsPage);

    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted);
    EXPECT_TRUE(sheet.boxes.Boxes().empty());
    const std::string file = ConditionFileText();
    EXPECT_NE(file.find(std::string("[P1]\n12/1/0/") + kGoodPath + "\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("caller.xml"), std::string::npos);
}

TEST_F(ConditionSheetModelTest, TheDefaultPathComesFromTheReportFolderOrTheTemporaryFolder) {
    using M = ConditionSheetModel;
    EXPECT_EQ(M::DefaultOutputPath("C:\\reports\\", "C:\\TEMP"), "C:\\reports\\*.xml");
    EXPECT_EQ(M::DefaultOutputPath("", "C:\\TEMP"), "C:\\TEMP\\*.xml");
    EXPECT_EQ(M::DefaultOutputPath("", "C:\\TEMP\\"), "C:\\TEMP\\*.xml");
    // The second byte of 表 is 0x5C, which is no separator.
    EXPECT_EQ(M::DefaultOutputPath("", "C:\\TEMP\\表"), "C:\\TEMP\\表\\*.xml");
    EXPECT_EQ(M::DefaultOutputPath("", ""), "");
    // A folder of 260 bytes has no room for a separator.
    const std::string full = "C:\\" + std::string(257, 'a');
    EXPECT_EQ(M::DefaultOutputPath("", full), full + "*.xml");

    // Through the books: without a report folder the temporary folder is
    // used, as the drive table shows the host's.
    RemoveAppFolder(0);
    const std::string temp = root_ / testfiles::Utf8(u8"一時表");
    fs::create_directories(temp);
    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("TMPDIR", temp.c_str(), 1);
    Sheet sheet(kUg16Set);
    const bool initialised = sheet.model.Initialise();
    if (previous != nullptr)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
    ASSERT_TRUE(initialised);
    const std::string& path = sheet.model.Values.OutputPath;
    ASSERT_GE(path.size(), 8u);
    EXPECT_EQ(path.substr(0, 3), "Z:\\");
    EXPECT_EQ(path.substr(path.size() - 8), "\x95\x5C\\*.xml") << "the folder 表 and its separator";
}

TEST_F(ConditionSheetModelTest, EveryMonthOfAnAprilToMarchYearPassesThePeriodCheck) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    for (int month : {0, 13}) {
        sheet.model.EndMonthTextChanged(std::to_string(month));
        sheet.boxes.Clear();
        EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen);
        EXPECT_EQ(sheet.LastText(), kPeriodWrong) << month;
    }
    sheet.model.EndMonthTextChanged("");
    EXPECT_EQ(sheet.model.Values.EndMonth, 0);
    sheet.view.Take();
    sheet.boxes.Clear();
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen);
    ASSERT_EQ(sheet.boxes.Boxes().size(), 1u);
    EXPECT_EQ(sheet.boxes.Last().text, kPeriodWrong);
    EXPECT_EQ(sheet.boxes.Last().caption, kCaption);
    EXPECT_EQ(sheet.boxes.Last().style, mb::kWarningOk);
    EXPECT_EQ(sheet.view.Take(), kBackToMonth);

    // The default path fails later, at the characters: the months passed.
    for (int month = 1; month <= 12; ++month) {
        sheet.model.EndMonthTextChanged(std::to_string(month));
        sheet.boxes.Clear();
        EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen);
        EXPECT_EQ(sheet.LastText(), kBadCharacters) << month;
    }
}

TEST_F(ConditionSheetModelTest, AShortFirstYearFromOctoberToMarchTakesOnlyItsSixMonths) {
    Sql("UPDATE data_sets SET period_start = 20171001 WHERE number = 1");
    UseDataSet(kUg16Set);
    Sheet sheet(kUg16Set);
    sheet.model.Values.PeriodStart = 20171001;
    sheet.Open();
    EXPECT_EQ(sheet.model.Values.StartMonth, 10);
    EXPECT_EQ(sheet.model.Values.EndMonth, 3);
    sheet.model.OutputPathTextChanged(kGoodPath);
    for (int month = 1; month <= 12; ++month) {
        sheet.model.EndMonthTextChanged(std::to_string(month));
        sheet.boxes.Clear();
        const bool inYear = month >= 10 || month <= 3;
        if (inYear) {
            EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted) << month << ": " << sheet.LastText();
        } else {
            EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen) << month;
            EXPECT_EQ(sheet.LastText(), kPeriodWrong) << month;
        }
    }
}

TEST_F(ConditionSheetModelTest, TheEndMonthMayNotLieBeforeTheFirstMonthOfUse) {
    Sheet sheet(kUg16Set);
    sheet.model.Values.IntroMonthPos = 3;  // entries from June
    sheet.Open();
    sheet.model.OutputPathTextChanged(kGoodPath);
    sheet.model.EndMonthTextChanged("5");
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen);
    EXPECT_EQ(sheet.LastText(), kBeforeIntro);
    EXPECT_EQ(sheet.boxes.Last().style, mb::kWarningOk);
    EXPECT_EQ(sheet.view.Take(), kBackToMonth);
    sheet.model.EndMonthTextChanged("6");
    sheet.boxes.Clear();
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted);
    EXPECT_TRUE(sheet.boxes.Boxes().empty());
}

TEST_F(ConditionSheetModelTest, AnEmptyPathOpensTheSaveDialogAndThePickedFileIsTaken) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    sheet.model.GoNext();
    sheet.view.Take();
    sheet.model.OutputPathTextChanged("");
    sheet.dialogs.QueueCancel();
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen);
    EXPECT_EQ(sheet.LastText(), kNoPath);
    EXPECT_EQ(sheet.view.Take(), (Calls{"ActivatePage 0", "Buttons - next"}));
    ASSERT_EQ(sheet.dialogs.Requests().size(), 1u);
    const SaveFileRequest& request = sheet.dialogs.Requests().back();
    EXPECT_EQ(request.Title, "保存ファイルを指定");
    EXPECT_EQ(request.InitialFolder, "");
    EXPECT_EQ(request.InitialName, "");
    EXPECT_EQ(request.DefaultExtension, "XML");
    EXPECT_EQ(request.Filter, "Xml Files (*.xml)|*.xml||");
    EXPECT_EQ(sheet.model.Values.OutputPath, "");

    // Browsing from the default path opens in its folder on the wildcard;
    // the file picked becomes the path.
    sheet.model.OutputPathTextChanged("C:\\reports\\*.xml");
    sheet.dialogs.QueueChoice("C:\\reports\\選んだ.xml");
    sheet.model.BrowseOutputFile();
    EXPECT_EQ(sheet.dialogs.Requests().back().InitialFolder, "C:\\reports\\");
    EXPECT_EQ(sheet.dialogs.Requests().back().InitialName, "*.xml");
    EXPECT_EQ(sheet.view.Take(), Calls{"ShowOutputPath C:\\reports\\選んだ.xml"});
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted);
}

TEST_F(ConditionSheetModelTest, ThePathChecksRunInOrderAndReturnToThePath) {
    ASSERT_TRUE(testfiles::WriteFile(root_ / "drives/types", "d=cdrom\n"));
    Sheet sheet(kUg16Set);
    sheet.Open();
    struct Case {
        std::string path;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"C:\\reports\\*.xml", kBadCharacters},   // the default path, unchanged
        {"C:\\reports\\a|b.xml", kBadCharacters},
        {"C:\\reports\\\\a.xml", kBadCharacters},
        {"D:\\a.xml", kBadDrive},                 // a CD-ROM drive
        {"C:\\reports\\", kNoFileName},
        {"C:\\reports", kNoFileName},             // an existing folder
    };
    for (const Case& c : cases) {
        sheet.model.OutputPathTextChanged(c.path);
        sheet.boxes.Clear();
        sheet.view.Take();
        EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen) << c.path;
        ASSERT_EQ(sheet.boxes.Boxes().size(), 1u) << c.path;
        EXPECT_EQ(sheet.boxes.Last().text, c.message) << c.path;
        EXPECT_EQ(sheet.boxes.Last().style, mb::kWarningOk) << c.path;
        EXPECT_EQ(sheet.view.Take(), kBackToPath) << c.path;
    }
}

TEST_F(ConditionSheetModelTest, APathLongerThanTheRunCanHoldIsRefused) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    const std::string folder = "C:\\reports\\" + std::string(240, 'a') + "\\";
    sheet.model.OutputPathTextChanged(folder + "report.xml");
    ASSERT_GT(sheet.model.Values.OutputPath.size(), 260u);
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen);
    EXPECT_EQ(sheet.LastText(),
              "データの出力先が長すぎます。\n\n出力先は半角260文字（全角130文字）以内で指定してください。");
    EXPECT_EQ(sheet.view.Take(), kBackToPath);
    EXPECT_FALSE(fs::exists(Host(folder)));
    // 260 bytes is still a path.
    sheet.model.OutputPathTextChanged("C:\\reports\\" + std::string(260 - 15, 'b') + ".xml");
    ASSERT_EQ(sheet.model.Values.OutputPath.size(), 260u);
    sheet.boxes.Clear();
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted) << sheet.LastText();
}

TEST_F(ConditionSheetModelTest, AMissingFolderIsCreatedOnlyWhenTheUserSaysYes) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    sheet.model.OutputPathTextChanged("C:\\reports\\新規\\月次\\report.xml");
    EXPECT_EQ(sheet.Execute({mb::kIdNo}), ConditionSheetModel::kStaysOpen);
    EXPECT_EQ(sheet.LastText(), kCreateFolder);
    EXPECT_EQ(sheet.boxes.Last().style, mb::kQuestionYesNo);
    EXPECT_EQ(sheet.view.Take(), kBackToPath);
    EXPECT_FALSE(fs::exists(Host("C:\\reports\\新規")));

    sheet.boxes.Clear();
    EXPECT_EQ(sheet.Execute({mb::kIdYes}), ConditionSheetModel::kExecuted);
    EXPECT_EQ(sheet.boxes.Boxes().size(), 1u);
    EXPECT_TRUE(fs::is_directory(Host("C:\\reports\\新規\\月次")));
    EXPECT_TRUE(sheet.view.calls.empty()) << "a passing Execute leaves the page as it is";
}

TEST_F(ConditionSheetModelTest, AFolderThatCannotBeMadeIsReported) {
    fs::create_directories(Host("C:\\locked"));
    fs::permissions(Host("C:\\locked"), fs::perms::owner_read | fs::perms::owner_exec);
    Sheet sheet(kUg16Set);
    sheet.Open();
    sheet.model.OutputPathTextChanged("C:\\locked\\a\\b\\report.xml");
    EXPECT_EQ(sheet.Execute({mb::kIdYes}), ConditionSheetModel::kStaysOpen);
    EXPECT_EQ(sheet.LastText(), kCreateFailed);
    EXPECT_EQ(sheet.boxes.Last().style, mb::kWarningOk);
    EXPECT_EQ(sheet.view.Take(), kBackToPath);
    fs::permissions(Host("C:\\locked"), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(Host("C:\\locked\\a")));
}

TEST_F(ConditionSheetModelTest, AnExistingFileIsOverwrittenOnlyAfterAsking) {
    ASSERT_TRUE(testfiles::WriteFile(Host("C:\\reports\\") + "/old.xml", "old"));
    Sheet sheet(kUg16Set);
    sheet.Open();
    sheet.model.OutputPathTextChanged("C:\\reports\\old.xml");
    EXPECT_EQ(sheet.Execute({mb::kIdNo}), ConditionSheetModel::kStaysOpen);
    EXPECT_EQ(sheet.LastText(), kOverwrite);
    EXPECT_EQ(sheet.boxes.Last().style, mb::kQuestionYesNo);
    EXPECT_EQ(sheet.view.Take(), kBackToPath);
    EXPECT_EQ(sheet.Execute({mb::kIdYes}), ConditionSheetModel::kExecuted);
}

TEST_F(ConditionSheetModelTest, ACallersPathNamingAFolderIsNotQuestioned) {
    Sheet sheet(kUg16Set, "C:\\reports");
    sheet.Open();
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted);
    EXPECT_TRUE(sheet.boxes.Boxes().empty());
}

TEST_F(ConditionSheetModelTest, ExecuteSavesTheConditionsAndAFailedSaveKeepsTheSheetOpen) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    sheet.model.OutputPathTextChanged(kGoodPath);
    sheet.model.EndMonthTextChanged("9");
    sheet.model.TaxIncludedClicked(false);

    fs::permissions(Host("C:\\cond"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen);
    ASSERT_EQ(sheet.boxes.Boxes().size(), 1u);
    EXPECT_EQ(sheet.boxes.Last().style, mb::kWarningOk);
    EXPECT_EQ(sheet.boxes.Last().text.rfind("集計条件を保存できませんでした。\n\nC:\\cond\\UG16_G_tester_7_1.env\n\n", 0),
              0u)
        << sheet.boxes.Last().text;
    fs::permissions(Host("C:\\cond"), fs::perms::owner_all);

    sheet.boxes.Clear();
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted);
    EXPECT_TRUE(sheet.boxes.Boxes().empty());
    EXPECT_EQ(ConditionFileText().rfind(std::string("[P1]\n9/0/0/") + kGoodPath + "\n[終了]\n[P2/P3]\n", 0), 0u);
}

TEST_F(ConditionSheetModelTest, WithoutAConditionFolderExecuteStillSucceeds) {
    RemoveAppFolder(1);
    Sheet sheet(kUg16Set);
    sheet.Open();
    sheet.model.OutputPathTextChanged(kGoodPath);
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted);
    EXPECT_TRUE(sheet.boxes.Boxes().empty());
}

TEST_F(ConditionSheetModelTest, ConfirmCancelEndsTheSheetWhateverTheAnswerAndSavesOnYes) {
    {
        Sheet sheet(kUg16Set);
        sheet.Open();
        sheet.model.EndMonthTextChanged("7");
        EXPECT_EQ(sheet.model.HandleKey(Key::Escape, 0, 0).result, ConditionSheetModel::kCancelled);
        ASSERT_EQ(sheet.boxes.Boxes().size(), 2u);
        EXPECT_EQ(sheet.boxes.Boxes()[0].text, kSaveQuestion);
        EXPECT_EQ(sheet.boxes.Boxes()[0].caption, kCaption);
        EXPECT_EQ(sheet.boxes.Boxes()[0].style, mb::kQuestionYesNo);
        EXPECT_EQ(sheet.boxes.Boxes()[1].text, kAbandoned);
        EXPECT_EQ(sheet.boxes.Boxes()[1].caption, kCaption);
        EXPECT_EQ(sheet.boxes.Boxes()[1].style, mb::kInformationOk);
        EXPECT_EQ(ConditionFileText(), "") << "No skips the saving";
    }
    {
        Sheet sheet(kUg16Set);
        sheet.Open();
        sheet.model.EndMonthTextChanged("7");
        sheet.boxes.QueueAnswer(mb::kIdYes);
        EXPECT_EQ(sheet.model.ConfirmCancel(), ConditionSheetModel::kCancelled);
        EXPECT_EQ(sheet.boxes.Boxes().size(), 2u);
        EXPECT_EQ(ConditionFileText().rfind("[P1]\n7/1/0/C:\\reports\\*.xml\n", 0), 0u) << ConditionFileText();
    }
    {
        fs::permissions(Host("C:\\cond"), fs::perms::owner_read | fs::perms::owner_exec);
        Sheet sheet(kUg16Set);
        sheet.Open();
        sheet.boxes.QueueAnswer(mb::kIdYes);
        EXPECT_EQ(sheet.model.ConfirmCancel(), ConditionSheetModel::kStaysOpen);
        ASSERT_EQ(sheet.boxes.Boxes().size(), 2u);
        EXPECT_EQ(sheet.boxes.Last().text.rfind("集計条件を保存できませんでした。", 0), 0u);
        fs::permissions(Host("C:\\cond"), fs::perms::owner_all);
    }
}

TEST_F(ConditionSheetModelTest, TheKeysFollowTheTable) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    ConditionSheetModel& model = sheet.model;

    // Page flow: F5 on the first page and F6 on the last change nothing.
    EXPECT_TRUE(model.HandleKey(Key::F5, 0, 0).consumed);
    EXPECT_EQ(model.ActivePage(), 0);
    EXPECT_TRUE(sheet.view.Take().empty());
    model.HandleKey(Key::F6, 0, 0);
    EXPECT_EQ(sheet.view.Take(), (Calls{"ActivatePage 1", "Buttons back next"}));
    model.HandleKey(Key::Enter, 0, ConditionSheetModel::kNextButton);
    EXPECT_EQ(model.ActivePage(), 2);
    EXPECT_EQ(sheet.view.Take(), (Calls{"ActivatePage 2", "Buttons back -"}));
    EXPECT_TRUE(model.HandleKey(Key::F6, 0, 0).consumed);
    EXPECT_EQ(model.ActivePage(), 2);
    EXPECT_TRUE(sheet.view.Take().empty());
    model.HandleKey(Key::Enter, 0, ConditionSheetModel::kBackButton);
    model.HandleKey(Key::F5, 0, 0);
    EXPECT_EQ(model.ActivePage(), 0);
    sheet.view.Take();

    // Keys with Shift, Ctrl or Alt go to the platform; Alt+F4 alone is
    // swallowed.
    EXPECT_FALSE(model.HandleKey(Key::F6, ConditionSheetModel::kShift, 0).consumed);
    EXPECT_FALSE(model.HandleKey(Key::F12, ConditionSheetModel::kCtrl, 0).consumed);
    EXPECT_FALSE(model.HandleKey(Key::Escape, ConditionSheetModel::kAlt, 0).consumed);
    EXPECT_TRUE(model.HandleKey(Key::F4, ConditionSheetModel::kAlt, 0).consumed);
    EXPECT_FALSE(model.HandleKey(Key::F4, ConditionSheetModel::kAlt | ConditionSheetModel::kShift, 0).consumed);
    EXPECT_FALSE(model.HandleKey(Key::Other, 0, 0).consumed);
    EXPECT_TRUE(sheet.boxes.Boxes().empty());
    EXPECT_EQ(model.ActivePage(), 0);

    // Enter walks the conditions page and never ends the sheet there.
    auto enter = [&](int control) {
        const ConditionSheetModel::KeyOutcome outcome = model.HandleKey(Key::Enter, 0, control);
        EXPECT_TRUE(outcome.consumed);
        EXPECT_EQ(outcome.result, ConditionSheetModel::kStaysOpen);
        return sheet.view.Take();
    };
    EXPECT_EQ(enter(ConditionSheetModel::kEndMonthEdit), Calls{"Focus 1003"});
    EXPECT_EQ(enter(ConditionSheetModel::kTaxIncludedBox), Calls{"Focus 1008 all"});
    EXPECT_EQ(enter(ConditionSheetModel::kPathEdit), Calls{"Focus 1007"});
    EXPECT_TRUE(enter(1010).empty());
    EXPECT_TRUE(enter(0).empty());
    EXPECT_TRUE(sheet.dialogs.Requests().empty());
    EXPECT_TRUE(enter(ConditionSheetModel::kBrowseButton).empty());
    EXPECT_EQ(sheet.dialogs.Requests().size(), 1u);
    EXPECT_TRUE(sheet.boxes.Boxes().empty());

    // F12 and Enter on the execute button run Execute; the default path
    // fails it.
    EXPECT_EQ(model.HandleKey(Key::F12, 0, 0).result, ConditionSheetModel::kStaysOpen);
    EXPECT_EQ(sheet.LastText(), kBadCharacters);
    model.HandleKey(Key::Enter, 0, ConditionSheetModel::kExecuteButton);
    EXPECT_EQ(sheet.boxes.Boxes().size(), 2u);
    model.OutputPathTextChanged(kGoodPath);
    EXPECT_EQ(model.HandleKey(Key::Enter, 0, ConditionSheetModel::kExecuteButton).result,
              ConditionSheetModel::kExecuted);
    // Enter on the cancel button asks.
    EXPECT_EQ(model.HandleKey(Key::Enter, 0, ConditionSheetModel::kCancelButton).result,
              ConditionSheetModel::kCancelled);
    EXPECT_EQ(sheet.boxes.Boxes()[2].text, kSaveQuestion);
}

TEST_F(ConditionSheetModelTest, EnterOnAnItemButtonPressesItOnItsOwnPage) {
    Sheet sheet(kUg16Set);
    sheet.Open();
    ConditionSheetModel& model = sheet.model;
    model.GoNext();
    sheet.view.Take();
    EXPECT_TRUE(model.HandleKey(Key::Enter, 0, 1047).consumed);
    EXPECT_EQ(sheet.view.Take(), Calls{"Press 1047"});
    // A text of the page is no button.
    EXPECT_TRUE(model.HandleKey(Key::Enter, 0, 1034).consumed);
    EXPECT_TRUE(sheet.view.Take().empty());
    model.GoNext();
    sheet.view.Take();
    model.HandleKey(Key::Enter, 0, 1036);
    EXPECT_EQ(sheet.view.Take(), Calls{"Press 1036"});
    // Execute from page 3 leaves it only when a check fails.
    model.OutputPathTextChanged(kGoodPath);
    EXPECT_EQ(model.HandleKey(Key::F12, 0, 0).result, ConditionSheetModel::kExecuted);
    EXPECT_TRUE(sheet.view.Take().empty());
    EXPECT_EQ(model.ActivePage(), 2);
}

TEST_F(ConditionSheetModelTest, Ug30HasNoButton1047) {
    UseDataSet(kUg30Set);
    Sheet sheet(kUg30Set);
    sheet.Open();
    sheet.model.GoNext();
    sheet.view.Take();
    sheet.model.HandleKey(Key::Enter, 0, 1047);
    EXPECT_TRUE(sheet.view.Take().empty());
    sheet.model.HandleKey(Key::Enter, 0, 1048);
    EXPECT_EQ(sheet.view.Take(), Calls{"Press 1048"});
}

TEST_F(ConditionSheetModelTest, WithoutItemDefinitionsTheSheetCanOnlyBeCancelled) {
    const std::string empty = root_ / "program";
    fs::create_directories(empty);
    fs::current_path(empty);
    Sheet sheet(kUg16Set);
    EXPECT_FALSE(sheet.model.Initialise());
    EXPECT_FALSE(sheet.model.ItemDefinitionsLoaded());
    const Calls tail(sheet.view.calls.end() - 2, sheet.view.calls.end());
    EXPECT_EQ(tail, (Calls{"DisableItemControls", "LayOutButtons"}));
    const std::string missing =
        "集計項目の定義ファイル（MznBrc20ToUg16_G_GaiKmk.dat）を読み込めませんでした。\n\n"
        "この状態では集計できません。キャンセルで終了し、連動コンポーネントを再インストールしてください。";
    ASSERT_EQ(sheet.boxes.Boxes().size(), 1u);
    EXPECT_EQ(sheet.boxes.Last().text, missing);
    EXPECT_EQ(sheet.boxes.Last().style, mb::kWarningOk);

    sheet.model.OutputPathTextChanged(kGoodPath);
    EXPECT_EQ(sheet.Execute(), ConditionSheetModel::kStaysOpen);
    EXPECT_EQ(sheet.LastText(), missing);
    EXPECT_EQ(sheet.model.ConfirmCancel(), ConditionSheetModel::kCancelled);
}

// The mapping the user edits is the application's list: the aggregation
// reads it as it was left, and Execute remembers it for the next start.
TEST_F(ConditionSheetModelTest, TheEditedMappingIsRememberedAndOfferedAgain) {
    std::string edited;
    {
        Sheet sheet(kUg16Set);
        sheet.Open();
        // What the mapping dialog's apply does: the item's entries replaced.
        MappingList& mapping = sheet.model.Mapping();
        std::erase_if(mapping, [](const auto& entry) { return entry->ItemNo == 21; });
        auto entry = std::make_unique<MappedAccount>();
        entry->ItemNo = 21;
        std::strcpy(entry->AccountKey, KeyOf(2110).c_str());
        mapping.push_back(std::move(entry));
        edited = Describe(sheet.mapping);
        sheet.model.OutputPathTextChanged(kGoodPath);
        ASSERT_EQ(sheet.Execute(), ConditionSheetModel::kExecuted);
        EXPECT_EQ(Describe(sheet.mapping), edited);
    }
    Sheet next(kUg16Set);
    next.Open();
    EXPECT_EQ(Describe(next.mapping), edited);
    EXPECT_NE(Describe(next.mapping), Describe(next.model.DefaultMapping()));
    EXPECT_NE(edited.find("21/" + KeyOf(2110) + "\n"), std::string::npos);
    EXPECT_EQ(edited.find("21/" + KeyOf(1110) + "\n"), std::string::npos);
}

}  // namespace
