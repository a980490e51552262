#include "tools/mzn-books/ImportText.h"

#include <algorithm>

#include "platform/TextCodec.h"
#include "tools/mzn-books/MessageTemplate.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The line of a byte: 1 and the line breaks before it (CR LF counts once).
std::size_t LineOf(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
    return line;
}

ImportText::Decoded Refuse(std::string_view bytes, std::size_t offset, const char* encoding) {
    ImportText::Decoded decoded;
    decoded.errorLine = LineOf(bytes, offset);
    decoded.reason = MessageTemplate::Fill("the bytes of this line are no %1 text", {encoding});
    return decoded;
}

}  // namespace

ImportText::Decoded ImportText::ToUtf8(std::string_view bytes, Encoding encoding) {
    const std::size_t invalid = TextCodec::FirstInvalidUtf8(bytes);
    if (encoding == Encoding::Utf8 || (encoding == Encoding::Detect && invalid == std::string_view::npos)) {
        if (invalid != std::string_view::npos) return Refuse(bytes, invalid, "UTF-8");
        Decoded decoded;
        decoded.ok = true;
        decoded.utf8.assign(bytes.starts_with(kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : bytes);
        return decoded;
    }
    const auto converted = TextCodec::Cp932ToUtf8(bytes, TextCodec::Invalid::Fail);
    if (!converted.ok)
        return Refuse(bytes, converted.errorOffset,
                      encoding == Encoding::Detect ? "UTF-8 or code page 932" : "code page 932");
    Decoded decoded;
    decoded.ok = true;
    decoded.utf8 = converted.text;
    return decoded;
}
