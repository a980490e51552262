#include "settings/ConditionFile.h"

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClFileMgr.h"
#include "accounting_core/CoreResult.h"
#include "platform/DriveTable.h"
#include "tests/support/BooksFixture.h"
#include "tests/settings/MappingEntries.h"
#include "tests/support/CoreSession.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

using mappingentries::Entry;
using testfiles::ReadFile;
using testfiles::Utf8;
using testfiles::WriteFile;
using SaveResult = ConditionFile::SaveResult;

namespace {

const std::string kEnd = "[終了]";

// Books whose condition folder is C:\app\cond\ (not made yet), connected.
class ConditionFileTest : public BooksFixture {
protected:
    void SetUp() override {
        BooksFixture::SetUp();
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        c_ = fs::canonical(root_ / "drives/c").string();
        SetConditionFolder("C:\\app\\cond\\");
        ASSERT_EQ(Connect(), core_result::kOk);
    }

    void SetConditionFolder(const std::string& folder) {
        BooksStatement insert(Db().Handle(), "INSERT OR REPLACE INTO app_folders (type, path) VALUES (1, ?1)");
        insert.BindText(1, folder);
        ASSERT_TRUE(insert.Run()) << insert.Error();
    }

    // User "tester", data set 7/1.
    static ConditionValues For(int targetVersion, int selectedNo2 = 1) {
        ConditionValues values;
        std::strcpy(values.UserId, "tester");
        values.SelectedNo1 = 7;
        values.SelectedNo2 = selectedNo2;
        values.TargetVersion = targetVersion;
        return values;
    }

    std::string Folder() const { return c_ + "/app/cond"; }
    std::string FileText(const std::string& name) const { return ReadFile(Folder() + "/" + name); }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder())) names.push_back(entry.path().filename().string());
        return names;
    }

    std::string c_;
};

const std::string kPath = "C:\\決算\\表\\概況書.xml";

MappingList SampleMapping() {
    return mappingentries::Make({{1, "0x0102030405060708090a0b0c0d0e0f10"},
                                 {1, "URIAGEDAKA"},
                                 {25, "0xffeeddccbbaa99887766554433221100"},
                                 {18, "SOREIGAI"},
                                 {1, "0x0102030405060708090a0b0c0d0e0f11"}});
}

TEST_F(ConditionFileTest, ARoundTripReproducesEveryFieldAndTheOrder) {
    ConditionValues saved = For(0);
    saved.EndMonth = 11;
    saved.TaxIncluded = 1;
    saved.OutputPath = kPath;
    const MappingList mapping = SampleMapping();
    ASSERT_EQ(ConditionFile::SaveConditions(saved, mapping), SaveResult::Saved);
    EXPECT_TRUE(fs::is_regular_file(Folder() + "/UG16_G_tester_7_1.env"));

    ConditionValues loaded = For(0);
    loaded.EndMonth = 3;
    MappingList loadedMapping = mappingentries::Make({{40, "REPLACED"}});
    ASSERT_TRUE(ConditionFile::LoadConditions(loaded, loadedMapping));
    EXPECT_EQ(loaded.EndMonth, 11);
    EXPECT_EQ(loaded.TaxIncluded, 1);
    EXPECT_EQ(loaded.Reserved, 0);
    EXPECT_EQ(loaded.OutputPath, kPath);
    EXPECT_EQ(std::string(loaded.SavedOutputPath), kPath);
    EXPECT_EQ(mappingentries::Of(loadedMapping), mappingentries::Of(mapping));
    ASSERT_EQ(loadedMapping.size(), mapping.size());
    auto b = loadedMapping.begin();
    for (auto a = mapping.begin(); a != mapping.end(); ++a, ++b)
        EXPECT_EQ(std::memcmp((*a)->AccountKey, (*b)->AccountKey, MappedAccount::kKeySize), 0);
}

TEST_F(ConditionFileTest, ASavedFileMatchesTheHandWrittenLayout) {
    ConditionValues values = For(1);
    values.EndMonth = 3;
    values.TaxIncluded = 1;
    values.Reserved = 0;
    values.OutputPath = kPath;
    ASSERT_EQ(ConditionFile::SaveConditions(values, SampleMapping()), SaveResult::Saved);
    const std::string golden = ReadFile(MZN_SETTINGS_TEST_DATA "/UG30_G_tester_7_1.env");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(FileText("UG30_G_tester_7_1.env"), golden);
}

TEST_F(ConditionFileTest, APassedInPathIsUsedButNeverRemembered) {
    ConditionValues first = For(0);
    first.OutputPath = "C:\\remembered.xml";
    ASSERT_EQ(ConditionFile::SaveConditions(first, {}), SaveResult::Saved);

    // The starting application passed a path: the sheet shows it, and the
    // file keeps the one it held.
    ConditionValues passed = For(0);
    passed.OutputPath = "C:\\passed.xml";
    passed.OutputPathLocked = 1;
    MappingList mapping;
    ASSERT_TRUE(ConditionFile::LoadConditions(passed, mapping));
    EXPECT_EQ(passed.OutputPath, "C:\\passed.xml");
    EXPECT_STREQ(passed.SavedOutputPath, "C:\\remembered.xml");
    passed.EndMonth = 9;
    ASSERT_EQ(ConditionFile::SaveConditions(passed, mapping), SaveResult::Saved);

    ConditionValues next = For(0);
    ASSERT_TRUE(ConditionFile::LoadConditions(next, mapping));
    EXPECT_EQ(next.EndMonth, 9);
    EXPECT_EQ(next.OutputPath, "C:\\remembered.xml");

}

TEST_F(ConditionFileTest, Ug16AndUg30FilesOfOneDataSetStayApart) {
    ConditionValues ug16 = For(0);
    ug16.EndMonth = 3;
    ASSERT_EQ(ConditionFile::SaveConditions(ug16, mappingentries::Make({{36, "URIAGEDAKA"}})), SaveResult::Saved);
    const std::string ug16Bytes = FileText("UG16_G_tester_7_1.env");

    ConditionValues ug30 = For(1);
    MappingList mapping;
    EXPECT_FALSE(ConditionFile::LoadConditions(ug30, mapping));
    EXPECT_EQ(ug30.EndMonth, 0);
    ug30.EndMonth = 9;
    ASSERT_EQ(ConditionFile::SaveConditions(ug30, mappingentries::Make({{37, "URIAGEDAKA"}})), SaveResult::Saved);
    EXPECT_EQ(FileText("UG16_G_tester_7_1.env"), ug16Bytes);

    ConditionValues loaded16 = For(0);
    ASSERT_TRUE(ConditionFile::LoadConditions(loaded16, mapping));
    EXPECT_EQ(loaded16.EndMonth, 3);
    EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{36, "URIAGEDAKA"}}));
    ConditionValues loaded30 = For(1);
    ASSERT_TRUE(ConditionFile::LoadConditions(loaded30, mapping));
    EXPECT_EQ(loaded30.EndMonth, 9);
    EXPECT_EQ(mappingentries::Of(mapping), (std::vector<Entry>{{37, "URIAGEDAKA"}}));

    // Another data set of the same user has no file yet.
    ConditionValues other = For(0, 2);
    EXPECT_FALSE(ConditionFile::LoadConditions(other, mapping));
}

TEST_F(ConditionFileTest, AnEmptyMappingRoundTrips) {
    ConditionValues values = For(0);
    values.EndMonth = 12;
    ASSERT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::Saved);
    EXPECT_TRUE(FileText("UG16_G_tester_7_1.env").ends_with("[P2/P3]\n" + kEnd + "\n"));

    ConditionValues loaded = For(0);
    MappingList mapping = mappingentries::Make({{1, "OLD"}});
    ASSERT_TRUE(ConditionFile::LoadConditions(loaded, mapping));
    EXPECT_TRUE(mapping.empty());
    EXPECT_EQ(loaded.EndMonth, 12);
}

TEST_F(ConditionFileTest, AWriteFailingMidwayLeavesThePreviousFileAndIsReported) {
    ConditionValues values = For(0);
    values.OutputPath = kPath;
    ASSERT_EQ(ConditionFile::SaveConditions(values, SampleMapping()), SaveResult::Saved);
    const std::string before = FileText("UG16_G_tester_7_1.env");
    // The folder is read from the books once; the child must not need them.
    ASSERT_FALSE(ConditionFile::FilePath(values).empty());

    // A child whose files may not grow beyond 64 bytes: the new file's
    // first bytes are written, then the write fails with EFBIG.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(100);
        values.EndMonth = 5;
        MappingList longer = SampleMapping();
        longer.splice(longer.end(), SampleMapping());
        _exit(static_cast<int>(ConditionFile::SaveConditions(values, longer)));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(SaveResult::WriteFailed));
    EXPECT_EQ(FileText("UG16_G_tester_7_1.env"), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"UG16_G_tester_7_1.env"});

    ConditionValues loaded = For(0);
    MappingList mapping;
    ASSERT_TRUE(ConditionFile::LoadConditions(loaded, mapping));
    EXPECT_EQ(mappingentries::Of(mapping), mappingentries::Of(SampleMapping()));
}

TEST_F(ConditionFileTest, AReadOnlyFileOrFolderIsAWriteFailure) {
    ConditionValues values = For(0);
    values.EndMonth = 3;
    ASSERT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::Saved);
    const std::string file = Folder() + "/UG16_G_tester_7_1.env";
    const std::string before = ReadFile(file);
    values.EndMonth = 4;

    const auto noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(file, noWrite, fs::perm_options::remove);
    EXPECT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::WriteFailed);
    EXPECT_EQ(ReadFile(file), before);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);

    fs::permissions(Folder(), noWrite, fs::perm_options::remove);
    EXPECT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::WriteFailed);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"UG16_G_tester_7_1.env"});
    fs::permissions(Folder(), fs::perms::owner_write, fs::perm_options::add);

    // A replaced file keeps its permission bits.
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::Saved);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ConditionFileTest, WithoutAFolderNothingIsWritten) {
    // A folder on a CD-ROM cannot be made.
    fs::create_directories(root_ / "drives/d");
    WriteFile(root_ / "drives/types", "d=cdrom\n");
    SetConditionFolder("D:\\cond\\");
    ClFileMgr::Release();
    ConditionValues values = For(0);
    EXPECT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::NoFolder);
    EXPECT_TRUE(fs::is_empty(root_ / "drives/d"));
    MappingList mapping;
    EXPECT_FALSE(ConditionFile::LoadConditions(values, mapping));

    // A chain that fails below C:\app (a name too long for the host, see
    // the path checks) leaves no folder behind.
    std::u8string tooLong;
    for (int i = 0; i < 100; ++i) tooLong += u8"表";
    SetConditionFolder(Utf8(u8"C:\\app\\new\\" + tooLong + u8"\\"));
    ClFileMgr::Release();
    EXPECT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::NoFolder);
    EXPECT_FALSE(fs::exists(c_ + "/app"));

    // No folder in the books, and no books at all.
    Sql("DELETE FROM app_folders");
    ClFileMgr::Release();
    EXPECT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::NoFolder);
    EXPECT_FALSE(ConditionFile::LoadConditions(values, mapping));
    CoreSession::End();
    EXPECT_EQ(ConditionFile::SaveConditions(values, {}), SaveResult::NoFolder);
}

}  // namespace

TEST(ConditionFileName, EveryUserIdHasAFileNameOfItsOwn) {
    ConditionValues values{};
    values.SelectedNo1 = 3;
    values.SelectedNo2 = 7;
    const auto nameOf = [&values](const std::string& id) {
        std::memset(values.UserId, 0, sizeof values.UserId);
        std::memcpy(values.UserId, id.data(), id.size());
        return ConditionFile::FileName(values);
    };
    EXPECT_EQ(nameOf("tester"), "UG16_G_tester_3_7.env");
    values.TargetVersion = 1;
    // IDs a file name can hold keep their names; a double-byte character
    // whose second byte is 0x5C or 0x7C stays whole.
    EXPECT_EQ(nameOf("tester"), "UG30_G_tester_3_7.env");
    EXPECT_EQ(nameOf("表ポ"), "UG30_G_\x95\x5C\x83\x7C_3_7.env");
    EXPECT_EQ(nameOf("a_b.c ｱ"), "UG30_G_a_b.c ｱ_3_7.env");
    // Separators, the other characters no file name holds, control bytes,
    // a lead byte without its second byte, and "%" itself become %XX.
    EXPECT_EQ(nameOf("..\\..\\x/y:z*?\"<>|"), "UG30_G_..%5C..%5Cx%2Fy%3Az%2A%3F%22%3C%3E%7C_3_7.env");
    EXPECT_EQ(nameOf("50%\t\x95"), "UG30_G_50%25%09%95_3_7.env");

    // No two IDs share a file.
    const std::vector<std::string> pieces{"a", "_", "%", ":", "\\", "/", "表", "\x01", "\x1f"};
    std::mt19937 random(20261207);
    std::map<std::string, std::string> idOfName;
    for (int n = 0; n < 1000; ++n) {
        std::string id;
        const std::size_t length = 1 + random() % 12;
        for (std::size_t i = 0; i < length; ++i) id += pieces[random() % pieces.size()];
        const auto [known, added] = idOfName.emplace(nameOf(id), id);
        EXPECT_TRUE(added || known->second == id) << known->first;
    }
}
