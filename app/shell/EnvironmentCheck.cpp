#include "app/shell/EnvironmentCheck.h"

#include <array>

#include "accounting_core/ClAccConnect.h"
#include "platform/LeadingNumber.h"
#include "platform/Cp932.h"
#include "platform/MessageBoxes.h"
#include "platform/ProfileReader.h"
#include "platform/WinFileSystem.h"
#include "report/BusinessOverview.h"

namespace {

constexpr const char* kSection = "ProgramLevel";
constexpr const char* kKey = "UG16_G";
// A missing section or key reads as level 1: an older package.
constexpr const char* kDefaultLevel = "1";
constexpr std::uint32_t kValueSize = 16;
constexpr int kFolderSize = 260;

bool EndsInSeparator(std::string_view folder) {
    if (folder.empty()) return false;
    const std::size_t last = folder.size() - 1;
    if (folder[last] != '\\' && folder[last] != '/') return false;
    // The byte is a separator only when it starts a character of its own.
    std::size_t at = 0;
    while (at < last) at += Cp932::CharLengthAt(folder, at);
    return at == last;
}

}  // namespace

bool EnvironmentCheck::CheckEnvironment(std::uintptr_t ownerWindow) {
    const int code = LevelCode();
    if (code == 0) return true;
    ClAccConnect::Inst()->DispMsg(ownerWindow, MessageFor(code), BusinessOverview::kCaption, mb::kWarningOk);
    return false;
}

int EnvironmentCheck::LevelCode() {
    std::array<char, kFolderSize> folder{};
    if (WinFileSystem::_getcwd(folder.data(), kFolderSize) == nullptr) return kBrokenInstallation;
    return LevelCodeOf(DefinitionPath(folder.data()));
}

int EnvironmentCheck::LevelCodeOf(const std::string& definitionPath) {
    if (WinFileSystem::_access(definitionPath.c_str(), 0) != 0) return kBrokenInstallation;
    std::array<char, kValueSize> value{};
    ProfileReader::GetPrivateProfileStringA(kSection, kKey, kDefaultLevel, value.data(), kValueSize,
                                            definitionPath.c_str());
    if (value[0] == '\0') return kBrokenInstallation;
    const std::int64_t level = LeadingNumber::Read(value.data());
    if (level == kProgramLevel) return 0;
    return level < kProgramLevel ? kPackageTooOld : kComponentTooOld;
}

std::string EnvironmentCheck::DefinitionPath(std::string_view folder) {
    std::string path(folder);
    if (!EndsInSeparator(folder)) path += '\\';
    path += kFileName;
    return path;
}

const char* EnvironmentCheck::MessageFor(int code) {
    switch (code) {
        case kBrokenInstallation:
            return "動作環境が不正です。\n"
                   "ES_APRPACKAGENAMEが正しくインストールされているか確認してください。";
        case kPackageTooOld:
            return "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
                   "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。";
        case kComponentTooOld:
            return "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
                   "連動コンポーネントの最新版を入手してインストールしてからご利用ください。";
        default:
            return nullptr;
    }
}
