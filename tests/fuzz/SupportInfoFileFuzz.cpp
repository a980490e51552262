// The support information reader on the loaded bytes: each value is the rest of its marker's line, and
// its cut a prefix on a character boundary that fits its report line once escaped.

#include "platform/Cp932.h"
#include "tests/fuzz/FuzzSupport.h"
#include "xml/SupportInfoFile.h"
#include "xml/XmlLineWriter.h"

static void CheckValue(std::string_view loaded, std::string_view marker, const char* element) {
    const std::string_view value = SupportInfoFile::FindValue(loaded, marker);
    const char *end = value.data() + value.size(), *loadedEnd = loaded.data() + loaded.size();
    Require(value.empty() || (value.data() >= loaded.data() + marker.size() && end <= loadedEnd &&
                              std::string_view(value.data() - marker.size(), marker.size()) == marker &&
                              value.find('\0') == std::string_view::npos && (end == loadedEnd || *end == '\0')),
            "a value that is not the rest of its marker's line");
    const std::string_view cut = XmlLineWriter::LongestFittingText(element, 2, value);
    Require(cut.data() == value.data() && Cp932::CutOnCharBoundary(value, cut.size()) == cut, "a bad cut");
    XmlLineWriter writer;
    const std::string text(cut);
    const char* escaped = writer.EscapeText(text.c_str());
    const std::size_t line = 2 + 2 * std::strlen(element) + 5 + (escaped ? std::strlen(escaped) : 0) + 2;
    Require(escaped != nullptr && line <= XmlLineWriter::kMaxLineBytes, "cut value does not fit its line");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input block(data, std::min(size, SupportInfoFile::kBlockSize));
    SupportInfoFile::EndLines(block.bytes.data(), block.bytes.size());
    for (std::size_t i = 0; i < block.bytes.size(); ++i) {
        const char byte = block.bytes[i];
        Require(byte != '\x1A' && (byte == static_cast<char>(data[i]) || byte == '\0'), "a byte changed but to NUL");
        Require(byte != '\r' || i + 1 == block.bytes.size() || block.bytes[i + 1] != '\n', "CR LF pair left");
    }
    CheckValue(block.Text(), SupportInfoFile::kProductNameMarker, "PROGRAMNAME");
    CheckValue(block.Text(), SupportInfoFile::kProductVersionMarker, "PROGRAMVER");
    return 0;
}
