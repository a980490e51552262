// Windows path text functions on arbitrary NUL-terminated bytes. The stripped
// root must be a prefix of the path and a root itself, the skipped-to pointer
// must lie inside the path, and _splitpath's parts must stay in their buffers
// and, when nothing was truncated, give the path back.

#include "platform/WinPathText.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr char kGuard = static_cast<char>(0x5A);
constexpr std::size_t kGuardBytes = 16;
constexpr std::size_t kPathBuffer = 261;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "WinPathTextFuzz: %s\n", what);
    std::abort();
}

// A buffer of `size` bytes followed by guard bytes.
struct Guarded {
    explicit Guarded(std::size_t size) : size(size), bytes(new char[size + kGuardBytes]) {
        std::memset(bytes.get(), kGuard, size + kGuardBytes);
    }
    bool GuardIntact() const {
        for (std::size_t i = size; i < size + kGuardBytes; ++i)
            if (bytes[i] != kGuard) return false;
        return true;
    }
    bool Terminated() const { return std::memchr(bytes.get(), '\0', size) != nullptr; }
    std::size_t size;
    std::unique_ptr<char[]> bytes;
};

void CheckStrip(const char* path, std::size_t length) {
    Guarded buffer(kPathBuffer);
    std::size_t copied = length < kPathBuffer - 1 ? length : kPathBuffer - 1;
    std::memcpy(buffer.bytes.get(), path, copied);
    buffer.bytes[copied] = '\0';
    bool found = WinPathText::PathStripToRootA(buffer.bytes.get());
    Require(buffer.GuardIntact(), "strip wrote behind the buffer");
    std::size_t rootLength = std::strlen(buffer.bytes.get());
    Require(rootLength <= copied, "strip made the path longer");
    Require(std::memcmp(buffer.bytes.get(), path, rootLength) == 0, "root is no prefix of the path");
    if (!found) return;
    std::string root(buffer.bytes.get());
    Require(WinPathText::PathStripToRootA(buffer.bytes.get()), "a root does not strip to itself");
    Require(root == buffer.bytes.get(), "a root changed on stripping again");
}

void CheckSkip(const char* path, std::size_t length) {
    const char* rest = WinPathText::PathSkipRootA(path);
    if (rest == nullptr) return;
    Require(rest > path && rest <= path + length, "skipped-to pointer outside the path");
}

void CheckSplit(const char* path, std::size_t length) {
    Guarded drive(WinPathText::kMaxDrive);
    Guarded dir(WinPathText::kMaxDir);
    Guarded fname(WinPathText::kMaxFname);
    Guarded ext(WinPathText::kMaxExt);
    WinPathText::SplitPath(path, drive.bytes.get(), dir.bytes.get(), fname.bytes.get(), ext.bytes.get());
    for (const Guarded* part : {&drive, &dir, &fname, &ext}) {
        Require(part->GuardIntact(), "split wrote behind a buffer");
        Require(part->Terminated(), "split part is not NUL-terminated");
    }
    std::string joined = std::string(drive.bytes.get()) + dir.bytes.get() + fname.bytes.get() + ext.bytes.get();
    if (length < WinPathText::kMaxDir) Require(joined == path, "split parts do not give the path back");
    WinPathText::SplitPath(path, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The path in an allocation of exactly its size plus the NUL.
    std::unique_ptr<char[]> path(new char[size + 1]);
    if (size > 0) std::memcpy(path.get(), data, size);
    path[size] = '\0';
    const std::size_t length = std::strlen(path.get());
    CheckSkip(path.get(), length);
    CheckStrip(path.get(), length);
    CheckSplit(path.get(), length);
    return 0;
}
