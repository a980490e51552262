// The drive table on any bytes as its types file ($MZN_ROOT/drives/types), a Windows path and a host path:
// each drive has the type the file declares or its default, Windows paths stay in their drive or share,
// host paths given out as Windows paths map back. The current folder stays where the run started.

#include "platform/DriveTable.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fs = std::filesystem;

// Names of a rest: none empty (but behind a trailing separator), "." or "..".
static bool IsCleanRest(std::string_view rest) {
    const std::string names = "/" + std::string(rest.substr(0, rest.size() - rest.ends_with('/'))) + "/";
    return rest.empty() || (names.find("//") == names.npos && names.find("/./") == names.npos &&
                            names.find("/../") == names.npos);
}

MZN_FUZZ_TARGET(input) {
    static const std::string c = [] {
        fs::create_directories(FuzzRoot::Host("unc/server/share"));
        return fs::canonical(FuzzRoot::Host("drives/c")).string();
    }();
    const std::string_view text = input.Text();
    const std::string_view types = text.substr(0, 64 * 1024);  // a types file is read up to 64 KiB
    testfiles::WriteFile(DriveTable::DrivesFolder() + "/types", types);
    const DriveTable::DeclaredTypes declared = DriveTable::ParseTypes(types);
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const auto type = declared[static_cast<std::size_t>(letter - 'a')];
        Require(!type || (*type <= DriveTable::Ramdisk && *type != DriveTable::NoRootDir), "a type no word names");
        const auto byDefault = letter == 'c' || letter == 'z' ? DriveTable::Fixed : DriveTable::NoRootDir;
        Require(DriveTable::DriveType(letter) == type.value_or(byDefault) &&
                    DriveTable::DriveType(static_cast<char>(letter - 'a' + 'A')) == type.value_or(byDefault),
                "a drive of another type than its file declares");
    }

    if (const auto location = DriveTable::Locate(text)) {
        const std::string unc = FuzzRoot::Host("unc/");
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
}
