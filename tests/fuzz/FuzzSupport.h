#pragma once

// What the fuzz targets share: the entry point, a broken invariant aborting with its reason, inputs and
// outputs in allocations of exactly their size (so that the address sanitizer sees any access past them),
// and a folder to work in that is MZN_ROOT with the default drives.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/DriveTable.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

inline void Require(bool condition, const char* what) {
    if (!condition) std::fprintf(stderr, "fuzz invariant broken: %s\n", what), std::abort();
}

// A text field that ends in a NUL with nothing but NULs behind it.
inline bool IsCleanField(std::string_view field) {
    return field.find('\0') != field.npos && field.find_first_not_of('\0', field.find('\0')) == field.npos;
}

// The text cut at each separator into at most maxParts parts, the last one holding the rest.
inline std::vector<std::string> Split(std::string_view text, char separator, std::size_t maxParts = SIZE_MAX) {
    std::vector<std::string> parts(1);
    for (char byte : text) {
        if (byte == separator && parts.size() < maxParts) parts.emplace_back();
        else parts.back() += byte;
    }
    return parts;
}

// The input bytes in an exact-size heap copy.
struct Input {
    Input(const uint8_t* data, size_t size) : bytes(data, data + size) {}
    std::string_view Text() const { return {bytes.data(), bytes.size()}; }
    std::size_t Size() const { return bytes.size(); }
    std::vector<char> bytes;
};

// The entry point: MZN_FUZZ_TARGET(input) { ... } runs the body on each input.
#define MZN_FUZZ_TARGET(input)                                                                               \
    static void FuzzOne(const Input& input);                                                                 \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzOne({data, size}), 0; } \
    static void FuzzOne(const Input& input)

// An output buffer of size bytes followed by 16 guard bytes "Z", which must stay.
struct Guarded {
    explicit Guarded(std::size_t size) : size(size), bytes(size + 16, 'Z') {}
    char* Data() { return bytes.data(); }
    bool Intact(std::size_t from) const { return bytes.find_first_not_of('Z', from) == std::string::npos; }
    std::size_t size;
    std::string bytes;
};

// The folder the targets work in, made MZN_ROOT with the default drives. A campaign names it in
// $MZN_FUZZ_ROOT: every input runs in a fresh process there, and what a target prepares once (books, say)
// is kept for the next. Otherwise it is a temporary folder for the life of the process.
class FuzzRoot {
public:
    static const std::string& Path() {
        static const std::string path = [] {
            const char* kept = std::getenv("MZN_FUZZ_ROOT");
            static const auto temporary = kept && *kept ? nullptr : std::make_unique<TempRoot>();
            const std::string root = temporary ? temporary->Path() : kept;
            setenv("MZN_ROOT", root.c_str(), 1);
            DriveTable::EnsureDefaults();
            std::filesystem::create_directories(root + "/drives/c/prog");
            return root;
        }();
        return path;
    }
    // Host path of a name below the folder.
    static std::string Host(const std::string& relative) { return Path() + "/" + relative; }
    // Writes the bytes as the file C:\prog\name, the program's folder; its host path.
    static std::string WriteProgramFile(const std::string& name, std::string_view bytes) {
        const std::string host = Host("drives/c/prog/" + name);
        Require(testfiles::WriteFile(host, bytes), "cannot write a file of the fuzz folder");
        return host;
    }
};

// Runs what the program runs from its own folder (C:\prog), and comes back to the current folder.
template <typename Call>
auto InProgramFolder(Call call) {
    const CurrentFolderGuard back;
    std::filesystem::current_path(FuzzRoot::Host("drives/c/prog"));
    return call();
}
