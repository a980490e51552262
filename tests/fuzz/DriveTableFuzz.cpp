// The drive table on any bytes as a types file, a Windows path and a host path: types are ones a file
// names, Windows paths stay in their drive or share, host paths given out as Windows paths map back.

#include "platform/DriveTable.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/TempRoot.h"

#include <filesystem>

namespace fs = std::filesystem;

// Names of a rest: none empty (but behind a trailing separator), "." or "..".
static bool IsCleanRest(std::string_view rest) {
    const std::string names = "/" + std::string(rest.substr(0, rest.size() - rest.ends_with('/'))) + "/";
    return rest.empty() || (names.find("//") == names.npos && names.find("/./") == names.npos &&
                            names.find("/../") == names.npos);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TempRoot root;  // with its default drives, the process working inside C:
    static const std::string c = [] {
        DriveTable::EnsureDefaults();
        fs::create_directories(root / "drives/c/prog");
        fs::create_directories(root / "unc/server/share");
        fs::current_path(root / "drives/c/prog");
        return fs::canonical(root / "drives/c").string();
    }();
    const Input input(data, size);
    const std::string_view text = input.Text();
    for (const auto& type : DriveTable::ParseTypes(text))
        Require(!type || (*type <= DriveTable::Ramdisk && *type != DriveTable::NoRootDir), "a type no word names");

    if (const auto location = DriveTable::Locate(text)) {
        const std::string unc = root / "unc/";
        const bool inUnc = location->drive == 0 && location->root.starts_with(unc);
        const std::string_view share = inUnc ? std::string_view(location->root).substr(unc.size()) : "";
        Require(IsCleanRest(location->rest), "a name that leads out of the root");
        const bool serverAndShare = inUnc && IsCleanRest(share) && std::count(share.begin(), share.end(), '/') == 1;
        const char drive = location->drive;
        Require(drive == 'c' ? location->root == c : drive == 'z' ? location->root == "/" : serverAndShare,
                "a root that is no drive's folder and no server and share below the UNC folder");
    }

    // Any host path given out as a Windows path maps to something again.
    const auto windows = DriveTable::ToWindowsPath(text);
    Require(!windows || DriveTable::ToHostPath(*windows).has_value(), "a Windows path given out that maps to nothing");
    return 0;
}
