// The checks of a report file's path that a user types or a caller passes, in the order the condition sheet
// runs them: folder and file name put together are the path, the folder part stays in its buffer and is
// the path's, a folder a check finds is one on the host, and a tree made on drive C: (the fuzz folder; never
// elsewhere) exists afterwards and is gone again once removed.

#include "platform/WinPathText.h"
#include "settings/OutputPathChecks.h"
#include "tests/fuzz/FuzzSupport.h"

MZN_FUZZ_TARGET(input) {
    FuzzRoot::Path();
    const std::string path(input.Text().substr(0, input.Text().find('\0')));
    if (path.size() > WinPathText::kMaxPathBytes) return;  // refused before any check: it would be cut
    const std::string folder = OutputPathChecks::FolderOfPath(path.c_str());
    const std::string name = OutputPathChecks::FileNameOfPath(path.c_str());
    Require(folder + name == path && (folder.empty() || folder.ends_with('\\')), "folder and name are not the path");
    Guarded part(WinPathText::kPathSize);
    part.bytes[path.copy(part.Data(), path.size())] = '\0';
    if (OutputPathChecks::FolderPartOf(part.Data())) {
        const std::string_view kept(part.Data());
        Require(part.Intact(part.size) && !kept.empty() &&
                    (path.starts_with(kept) || (kept.ends_with('\\') && path.starts_with(kept.substr(0, kept.size() - 1)))),
                "a folder part that is not the path's");
    }

    if (!OutputPathChecks::HasValidPathCharacters(path.c_str()) || !OutputPathChecks::HasWholeFolderPart(path.c_str()) ||
        !OutputPathChecks::IsPathReachable(path.c_str()) || name.empty() || folder.empty())
        return;
    const auto location = DriveTable::Locate(folder);
    const bool existed = OutputPathChecks::IsExistingFolder(folder.c_str());
    Require(existed == (location && std::filesystem::is_directory(location->HostPath())), "the host disagrees");
    if (existed || !location || location->drive != 'c' || !OutputPathChecks::CreateFolderTree(folder.c_str())) return;
    Require(OutputPathChecks::IsExistingFolder(folder.c_str()), "a folder tree made that does not exist");
    OutputPathChecks::RemoveCreatedFolders(folder.c_str(), "C:\\");
    Require(!std::filesystem::exists(location->HostPath()), "a folder made that stays after its removal");
}
