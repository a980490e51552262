// The support information file as the program loads it from its folder: each value is the rest of its
// marker's line in the first block of the file, and its cut a prefix on a character boundary that fits its
// report line once escaped.

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

MZN_FUZZ_TARGET(input) {
    FuzzRoot::WriteProgramFile(SupportInfoFile::kFileName, input.Text());
    SupportInfoFile file(nullptr);
    const std::string name = InProgramFolder([&] { return file.ProductName(); }), version = file.ProductVersion();
    Input block(reinterpret_cast<const uint8_t*>(input.bytes.data()), std::min(input.Size(), SupportInfoFile::kBlockSize));
    SupportInfoFile::EndLines(block.bytes.data(), block.bytes.size());
    Require(name == SupportInfoFile::FindValue(block.Text(), SupportInfoFile::kProductNameMarker) &&
                version == SupportInfoFile::FindValue(block.Text(), SupportInfoFile::kProductVersionMarker),
            "a value loaded otherwise than found in the file's first block");
    for (std::size_t i = 0; i < block.bytes.size(); ++i) {
        const char byte = block.bytes[i];
        Require(byte != '\x1A' && (byte == input.bytes[i] || byte == '\0'), "a byte changed but to NUL");
        Require(byte != '\r' || i + 1 == block.bytes.size() || block.bytes[i + 1] != '\n', "CR LF pair left");
    }
    CheckValue(block.Text(), SupportInfoFile::kProductNameMarker, "PROGRAMNAME");
    CheckValue(block.Text(), SupportInfoFile::kProductVersionMarker, "PROGRAMVER");
}
