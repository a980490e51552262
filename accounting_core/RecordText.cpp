#include "accounting_core/RecordText.h"

#include <cstring>

#include "platform/Cp932.h"
#include "platform/TextCodec.h"

void RecordText::CopyCp932(char* field, std::size_t size, std::string_view cp932) {
    if (size == 0) return;
    std::memset(field, 0, size);
    std::string_view cut = Cp932::CutOnCharBoundary(cp932, size - 1);
    // A NUL inside the text would end it early anyway; copying it keeps the
    // field what the text says.
    std::memcpy(field, cut.data(), cut.size());
}

void RecordText::CopyUtf8(char* field, std::size_t size, std::string_view utf8) {
    CopyCp932(field, size, ToCp932(utf8));
}

std::string_view RecordText::FieldText(const char* field, std::size_t size) {
    const void* nul = std::memchr(field, '\0', size);
    return std::string_view(field, nul != nullptr ? static_cast<const char*>(nul) - field : size);
}

std::string RecordText::ToUtf8(std::string_view cp932) {
    return TextCodec::Cp932ToUtf8(cp932, TextCodec::Invalid::Replace).text;
}

std::string RecordText::ToCp932(std::string_view utf8) {
    return TextCodec::Utf8ToCp932(utf8, TextCodec::Invalid::Replace).text;
}
