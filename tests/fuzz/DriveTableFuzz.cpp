// The drive table on arbitrary bytes, taken three ways: as the text of a
// types file, as a Windows path (from a caller or a condition file) and as a
// host path. Every declared type must be one a types file can name; a mapped
// Windows path must stay inside its drive or share folder, with no "." or
// ".." left; a host path of printable ASCII must come back to the same file
// through its Windows form.

#include "platform/DriveTable.h"

#include "tests/support/TempRoot.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "DriveTableFuzz: %s\n", what);
    std::abort();
}

// A temporary root with its default drives, the process working inside C:.
struct Setup {
    TempRoot root;
    std::string c;
    std::string unc;

    Setup() {
        DriveTable::EnsureDefaults();
        fs::create_directories(root / "drives/c/prog");
        fs::create_directories(root / "unc/server/share");
        fs::current_path(root / "drives/c/prog");
        c = fs::canonical(root / "drives/c").string();
        unc = root / "unc";
    }
};

Setup& TheSetup() {
    static Setup setup;
    return setup;
}

void CheckTypes(std::string_view text) {
    for (const auto& type : DriveTable::ParseTypes(text)) {
        if (!type) continue;
        Require(*type <= DriveTable::Ramdisk && *type != DriveTable::NoRootDir, "a type no word names");
    }
}

// Names of a rest: none empty (but a trailing separator), ".", or "..".
bool IsCleanRest(std::string_view rest) {
    std::size_t pos = 0;
    while (pos < rest.size()) {
        std::size_t end = rest.find('/', pos);
        if (end == std::string_view::npos) end = rest.size();
        std::string_view name = rest.substr(pos, end - pos);
        if (name.empty() || name == "." || name == "..") return false;
        pos = end + 1;
    }
    return true;
}

void CheckWindowsPath(const Setup& setup, std::string_view text) {
    std::optional<DriveTable::Location> location = DriveTable::Locate(text);
    if (!location) return;
    Require(IsCleanRest(location->rest), "a name that leads out of the root");
    if (location->drive == 'c') {
        Require(location->root == setup.c, "C: is not its folder");
    } else if (location->drive == 'z') {
        Require(location->root == "/", "Z: is not /");
    } else {
        Require(location->drive == 0, "a drive that is not mapped");
        std::string_view share(location->root);
        Require(share.starts_with(setup.unc + "/"), "a share outside the UNC folder");
        share.remove_prefix(setup.unc.size() + 1);
        std::size_t slash = share.find('/');
        Require(slash != std::string_view::npos, "a share without a server");
        Require(IsCleanRest(share) && share.find('/', slash + 1) == std::string_view::npos,
                "a share root that is no server and share");
    }
}

bool IsPrintableAscii(std::string_view text) {
    for (char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

// Resolved and without a trailing separator: the file a path names.
std::string Canonical(const fs::path& path, std::error_code& ec) {
    std::string text = fs::weakly_canonical(path, ec).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

void CheckHostPath(std::string_view text) {
    std::optional<std::string> windows = DriveTable::ToWindowsPath(text);
    if (!windows || !IsPrintableAscii(text)) return;
    std::optional<std::string> back = DriveTable::ToHostPath(*windows);
    Require(back.has_value(), "a Windows path given out that maps to nothing");
    std::error_code ec;
    std::string expected = Canonical(fs::absolute(fs::path(text)), ec);
    std::string actual = Canonical(*back, ec);
    if (ec) return;
    if (actual != expected)
        std::fprintf(stderr, "host path [%.*s] came back as [%s]\n", static_cast<int>(text.size()), text.data(),
                     back->c_str());
    Require(actual == expected, "host path does not come back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Setup& setup = TheSetup();
    std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckTypes(text);
    CheckWindowsPath(setup, text);
    CheckHostPath(text);
    return 0;
}
