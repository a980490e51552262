// Windows path text functions on any NUL-terminated bytes: roots are prefixes and roots themselves,
// pointers and parts stay inside their path and buffers, and uncut parts give the path back.

#include "platform/WinPathText.h"
#include "tests/fuzz/FuzzSupport.h"

MZN_FUZZ_TARGET(input) {
    const std::string_view path = input.Text().substr(0, input.Text().find('\0'));
    std::vector<char> owned(path.size() + 1, '\0');  // exactly the path and its NUL
    path.copy(owned.data(), path.size());

    const char* rest = WinPathText::PathSkipRootA(owned.data());
    Require(!rest || (rest > owned.data() && rest <= owned.data() + path.size()), "skipped to outside the path");

    Guarded root(WinPathText::kPathSize);
    const std::string_view kept = path.substr(0, WinPathText::kMaxPathBytes);
    root.bytes[kept.copy(root.Data(), kept.size())] = '\0';
    const bool found = WinPathText::PathStripToRootA(root.Data());
    const std::string stripped = root.Data();
    Require(root.Intact(root.size) && kept.starts_with(stripped), "root is no prefix of the path");
    Require(!found || (WinPathText::PathStripToRootA(root.Data()) && stripped == root.Data()), "a root is no root");

    Guarded drive(WinPathText::kMaxDrive), dir(WinPathText::kMaxDir), name(WinPathText::kMaxFname),
        ext(WinPathText::kMaxExt);
    WinPathText::SplitPath(owned.data(), drive.Data(), dir.Data(), name.Data(), ext.Data());
    for (const Guarded* part : {&drive, &dir, &name, &ext}) {
        Require(part->Intact(part->size) && std::memchr(part->bytes.data(), '\0', part->size), "a part outside");
    }
    const std::string joined = std::string(drive.Data()) + dir.Data() + name.Data() + ext.Data();
    Require(path.size() >= WinPathText::kMaxDir || joined == path, "split parts do not give the path back");
    WinPathText::SplitPath(owned.data(), nullptr, nullptr, nullptr, nullptr);
}
