#include "tools/mzn-books/RememberedConditions.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/UserStore.h"
#include "platform/TextCodec.h"
#include "platform/WinFileSystem.h"
#include "settings/AtomicFileWriter.h"
#include "settings/ConditionFile.h"
#include "settings/ConditionText.h"

namespace {

bool ReadBytes(const std::string& hostPath, std::string& bytes) {
    std::ifstream in(hostPath, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return static_cast<bool>(in);
}

}  // namespace

bool RememberedConditions::Of(std::int64_t number, bool ug30, std::vector<File>& files) {
    files.clear();
    if (!Load()) return false;
    for (const std::string& user : users_) {
        File file;
        if (FileOf(user, number, ug30, file) && std::filesystem::is_regular_file(file.hostPath))
            files.push_back(file);
    }
    return true;
}

bool RememberedConditions::Copy(std::int64_t from, std::int64_t to, bool ug30, CopyOutcome& outcome) {
    outcome = {};
    std::vector<File> sources;
    if (!Of(from, ug30, sources)) return false;
    for (const File& source : sources) {
        File target;
        if (!FileOf(source.user, to, ug30, target)) continue;
        if (std::filesystem::exists(target.hostPath)) {
            outcome.kept.push_back(target);
            continue;
        }
        std::string bytes;
        ConditionValues values;
        MappingList mapping;
        if (!ReadBytes(source.hostPath, bytes) || !ConditionText::Parse(bytes, values, mapping)) {
            outcome.unusable.push_back(source);
            continue;
        }
        values.OutputPath.clear();
        if (!AtomicFileWriter::Write(target.hostPath, ConditionText::Format(values, mapping)))
            return Fail("cannot write " + target.windowsPath + " (" + target.hostPath + "): " + std::strerror(errno));
        outcome.copied.push_back(target);
    }
    return true;
}

bool RememberedConditions::Load() {
    BooksStatement users(books_.Handle(), "SELECT user_id FROM users ORDER BY user_id");
    users_.clear();
    BooksStatement::StepResult step = users.Step();
    for (; step == BooksStatement::StepResult::Row; step = users.Step()) users_.push_back(users.Text(0));
    if (step == BooksStatement::StepResult::Error) return Fail(users.Error());

    BooksStatement folder(books_.Handle(), "SELECT path FROM app_folders WHERE type = 1");
    step = folder.Step();
    if (step == BooksStatement::StepResult::Error) return Fail(folder.Error());
    folder_ = step == BooksStatement::StepResult::Row ? TextCodec::Utf8ToCp932(folder.Text(0)).text : std::string();
    if (folder_.empty()) return Fail("the books name no folder for the remembered conditions");
    if (folder_.back() != '\\') folder_ += '\\';
    return true;
}

bool RememberedConditions::FileOf(const std::string& user, std::int64_t number, bool ug30, File& file) {
    ConditionValues values;
    const std::string id = TextCodec::Utf8ToCp932(user).text;
    if (id.empty() || id.size() >= sizeof values.UserId) return false;
    std::memcpy(values.UserId, id.data(), id.size());
    // A user who selects a data set selects it as both numbers.
    values.SelectedNo1 = static_cast<std::int32_t>(number);
    values.SelectedNo2 = static_cast<std::int32_t>(number);
    values.TargetVersion = ug30 ? 1 : 0;
    const std::string windowsPath = folder_ + ConditionFile::FileName(values);
    const std::optional<std::string> host = WinFileSystem::HostPath(windowsPath.c_str());
    if (!host) return false;
    file = {user, TextCodec::Cp932ToUtf8(windowsPath, TextCodec::Invalid::Replace).text, *host};
    return true;
}

bool RememberedConditions::Fail(const std::string& why) {
    error_ = why;
    return false;
}
