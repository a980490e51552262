#pragma once

#include <cstddef>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/MessageBoxes.h"

// The support information file "SUPPORT.INF" in the current folder (the
// program's own folder during a run): lines of "[=marker=]value", ended by
// CR LF, in code page 932. The report reads the product name and version
// from it. The file is loaded on the first lookup and kept, also when it
// could not be opened; a missing file or marker gives an empty text.
class SupportInfoFile {
public:
    static constexpr std::size_t kBlockSize = 30000;
    static constexpr const char* kFileName = "SUPPORT.INF";
    static constexpr const char* kProductNameMarker = "[=製品名=]";
    static constexpr const char* kProductVersionMarker = "[=製品ﾊﾞｰｼﾞｮﾝ=]";
    static constexpr const char* kOutOfMemoryText = "ﾒﾓﾘが不足しています。";

    // Gives a zeroed block as std::calloc does (it is released with
    // std::free), or nullptr when there is no memory.
    using Allocator = void* (*)(std::size_t count, std::size_t size);
    // std::calloc.
    static void* SystemAllocate(std::size_t count, std::size_t size);

    // boxes shows the out-of-memory message (none when nullptr).
    explicit SupportInfoFile(MessageBoxes* boxes, Allocator allocate = &SystemAllocate);
    ~SupportInfoFile();
    SupportInfoFile(const SupportInfoFile&) = delete;
    SupportInfoFile& operator=(const SupportInfoFile&) = delete;

    std::string ProductName() { return Lookup(kProductNameMarker); }
    std::string ProductVersion() { return Lookup(kProductVersionMarker); }

    // The text after the first occurrence of the marker, to the end of its
    // line. When the block cannot be reserved, shows the out-of-memory box
    // and answers an empty text; the next lookup tries to load again.
    std::string Lookup(std::string_view marker);

    // Ends every line: each CR LF pair becomes two NUL bytes, and each 0x1A
    // (the end-of-file mark of old editors) a NUL.
    static void EndLines(char* bytes, std::size_t size);
    // In bytes prepared by EndLines: the text after the first occurrence of
    // the marker that starts on a character boundary, up to the next NUL or
    // the end of the bytes; empty when the marker is missing.
    static std::string_view FindValue(std::string_view loaded, std::string_view marker);

private:
    bool Load();

    MessageBoxes* boxes_;
    Allocator allocate_;
    char* block_ = nullptr;
    std::size_t loaded_ = 0;
};
