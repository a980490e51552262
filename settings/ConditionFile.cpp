#include "settings/ConditionFile.h"

#include "accounting_core/ClFileMgr.h"
#include "accounting_core/CoreResult.h"
#include "platform/Cp932.h"
#include "platform/WinFileSystem.h"
#include "settings/AtomicFileWriter.h"
#include "settings/ConditionText.h"
#include "settings/OutputPathChecks.h"
#include "platform/WinPathText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxPathText = WinPathText::kMaxPathBytes;

// The folder of the condition files with its trailing backslash; empty when
// the books name none or cannot be asked.
std::string ConditionFolder() {
    char folder[WinPathText::kPathSize] = {};
    if (ClFileMgr::Inst()->GetAppFolderPath(ClFileMgr::kConditionFolder, folder) != core_result::kOk) return {};
    return std::string(folder, strnlen(folder, sizeof folder));
}

std::string JoinWithinLimit(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.size() + name.size() > kMaxPathText) return {};
    return folder + name;
}

// A condition file holds a line per mapped account: a few kilobytes. What
// is larger, or no regular file (a FIFO would block the open, a device
// never end), is none of this program's.
constexpr off_t kMaxFileBytes = 16 * 1024 * 1024;

bool IsConditionFileShape(const struct stat& info) { return S_ISREG(info.st_mode) && info.st_size <= kMaxFileBytes; }

// Something stands at the path that is not a condition file.
bool IsForeignEntry(const std::string& hostPath) {
    struct stat info;
    return ::stat(hostPath.c_str(), &info) == 0 && !IsConditionFileShape(info);
}

// The whole file; nullopt when it is no condition file or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& hostPath) {
    const int fd = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info;
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) == 0 && IsConditionFileShape(info)) {
        bytes.emplace();
        bytes->reserve(static_cast<std::size_t>(info.st_size));
        char block[4096];
        for (;;) {
            const ssize_t got = ::read(fd, block, sizeof block);
            if (got == 0) break;
            if (got < 0) {
                if (errno == EINTR) continue;
                bytes.reset();
                break;
            }
            bytes->append(block, static_cast<std::size_t>(got));
            // A file that grows while it is read is no condition file either.
            if (bytes->size() > static_cast<std::size_t>(kMaxFileBytes)) {
                bytes.reset();
                break;
            }
        }
    }
    ::close(fd);
    return bytes;
}

// A single byte that cannot stand in a Windows file name as it is: control
// bytes, separators and the other reserved characters, "%" (which marks the
// escapes), and a byte that is no whole character of code page 932.
bool NeedsEscape(unsigned char c) {
    if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|%", c) != nullptr) return true;
    const bool halfWidthKatakana = c >= 0xA1 && c <= 0xDF;
    return c >= 0x80 && !halfWidthKatakana;
}

// The user ID as it can stand in a file name. The IDs come from the books;
// one holding a separator must not reach into another folder, and two IDs
// must never share a file: each byte that needs it becomes "%XX" (upper-case
// hexadecimal), so an ID a file name can hold keeps its name as it is.
// Double-byte characters, whose second byte may be 0x5C or 0x7C, are kept
// whole.
std::string FileNamePartOf(std::string_view user) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string part;
    for (std::size_t i = 0; i < user.size();) {
        const std::size_t length = Cp932::CharLengthAt(user, i);
        const unsigned char c = static_cast<unsigned char>(user[i]);
        if (length == 1 && NeedsEscape(c)) {
            part += '%';
            part += kHex[c >> 4];
            part += kHex[c & 0x0F];
        } else {
            part.append(user.substr(i, length));
        }
        i += length;
    }
    return part;
}

}  // namespace

std::string ConditionFile::FileName(const ConditionValues& values) {
    const std::string_view user(values.UserId, strnlen(values.UserId, sizeof values.UserId - 1));
    std::string name = values.TargetVersion != 0 ? "UG30_G_" : "UG16_G_";
    name += FileNamePartOf(user);
    name += '_' + std::to_string(values.SelectedNo1) + '_' + std::to_string(values.SelectedNo2) + ".env";
    return name;
}

std::string ConditionFile::FilePath(const ConditionValues& values) {
    return JoinWithinLimit(ConditionFolder(), FileName(values));
}

bool ConditionFile::LoadConditions(ConditionValues& values, MappingList& mapping) {
    std::memset(values.SavedOutputPath, 0, sizeof values.SavedOutputPath);
    const std::string path = FilePath(values);
    if (path.empty() || !WinFileSystem::PathFileExistsA(path.c_str())) return false;
    const std::optional<std::string> hostPath = WinFileSystem::HostPath(path.c_str());
    if (!hostPath) return false;
    const std::optional<std::string> bytes = ReadWholeFile(*hostPath);
    if (!bytes) return false;
    return ConditionText::Parse(*bytes, values, mapping);
}

ConditionFile::SaveResult ConditionFile::SaveConditions(const ConditionValues& values, const MappingList& mapping) {
    const std::string folder = ConditionFolder();
    if (folder.empty()) return SaveResult::NoFolder;
    if (!OutputPathChecks::IsExistingFolder(folder.c_str()) && !OutputPathChecks::CreateFolderTree(folder.c_str()))
        return SaveResult::NoFolder;

    const std::string path = JoinWithinLimit(folder, FileName(values));
    if (path.empty() || !WinFileSystem::MayWriteFile(path.c_str())) return SaveResult::WriteFailed;
    const std::optional<std::string> hostPath = WinFileSystem::HostPath(path.c_str());
    if (!hostPath || IsForeignEntry(*hostPath)) return SaveResult::WriteFailed;
    return AtomicFileWriter::Write(*hostPath, ConditionText::Format(values, mapping)) ? SaveResult::Saved
                                                                                     : SaveResult::WriteFailed;
}
