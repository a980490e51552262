// The support information reader on arbitrary file bytes: the line ends are
// made NULs in place, both markers are looked up, and each value is cut to
// fit its report line. Input: the file's bytes (the first 30000, as loaded).
// Every value must lie inside the loaded bytes right behind its marker, hold
// no NUL, and end at a NUL or at the end; every cut must be a prefix on a
// character boundary whose escaped form fits the line.

#include "platform/Cp932.h"
#include "xml/SupportInfoFile.h"
#include "xml/XmlLineWriter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "SupportInfoFileFuzz: %s\n", what);
    std::abort();
}

void CheckValue(std::string_view loaded, const char* marker, const char* element) {
    std::string_view value = SupportInfoFile::FindValue(loaded, marker);
    if (!value.empty()) {
        Require(value.data() >= loaded.data() + std::strlen(marker), "value before the marker");
        Require(value.data() + value.size() <= loaded.data() + loaded.size(), "value beyond the loaded bytes");
        Require(std::string_view(value.data() - std::strlen(marker), std::strlen(marker)) == marker,
                "value not right behind its marker");
        Require(value.find('\0') == std::string_view::npos, "value holds a NUL");
        const char* end = value.data() + value.size();
        Require(end == loaded.data() + loaded.size() || *end == '\0', "value ends inside its line");
    }

    std::string_view cut = XmlLineWriter::LongestFittingText(element, 2, value);
    Require(cut.data() == value.data() && cut.size() <= value.size(), "cut is no prefix");
    Require(Cp932::CutOnCharBoundary(value, cut.size()) == cut, "cut splits a character");
    XmlLineWriter writer;
    std::string text(cut);
    const char* escaped = writer.EscapeText(text.c_str());
    Require(escaped != nullptr, "cut value does not escape into its buffer");
    Require(2 + 2 * std::strlen(element) + 5 + std::strlen(escaped) + 2 <= XmlLineWriter::kMaxLineBytes,
            "cut value does not fit its line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size = std::min(size, SupportInfoFile::kBlockSize);
    // The loaded bytes in an allocation of exactly their size.
    std::vector<char> block(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size);
    SupportInfoFile::EndLines(block.data(), block.size());
    std::string_view loaded(block.data(), block.size());
    for (std::size_t i = 0; i < size; ++i) {
        Require(block[i] != '\x1A', "end-of-file mark left");
        if (block[i] != static_cast<char>(data[i])) Require(block[i] == '\0', "a byte changed into other than NUL");
        if (i + 1 < size && block[i] == '\r') Require(block[i + 1] != '\n', "CR LF pair left");
    }
    CheckValue(loaded, SupportInfoFile::kProductNameMarker, "PROGRAMNAME");
    CheckValue(loaded, SupportInfoFile::kProductVersionMarker, "PROGRAMVER");
    return 0;
}
