// The drive table on any bytes as a types file, a Windows path and a host path: types are ones a file
// names, Windows paths stay in their drive or share, printable host paths come back through Windows.

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

    const auto windows = DriveTable::ToWindowsPath(text);
    if (!windows || std::any_of(text.begin(), text.end(), [](char ch) { return ch < 0x20 || ch > 0x7E; })) return 0;
    const auto back = DriveTable::ToHostPath(*windows);
    Require(back.has_value(), "a Windows path given out that maps to nothing");
    std::error_code ec;
    const auto file = [&ec](const fs::path& path) {  // resolved, without a trailing separator
        std::string name = fs::weakly_canonical(path, ec).lexically_normal().string();
        while (name.size() > 1 && name.back() == '/') name.pop_back();
        return name;
    };
    Require(file(fs::absolute(fs::path(text))) == file(*back) || ec, "host path does not come back");
    return 0;
}
