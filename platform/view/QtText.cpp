#include "platform/view/QtText.h"

#include "platform/TextCodec.h"

QString QtText::FromCp932(std::string_view text) {
    const std::u16string utf16 = TextCodec::Cp932ToUtf16(text, TextCodec::Invalid::Replace).text;
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

std::string QtText::ToCp932(const QString& text) {
    const std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    return TextCodec::Utf16ToCp932(utf16, TextCodec::Invalid::Replace).text;
}
