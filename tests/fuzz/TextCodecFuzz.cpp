// Text from outside (widgets, the books, host file names) goes through the
// codec and the code page 932 scanner; none of them may read or write outside
// its buffers, and their results must hold together.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Cp932.h"
#include "platform/TextCodec.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

template <typename Result, typename Input>
void CheckModesAgree(const Result& failed, const Result& replaced, const Input& input) {
    Check(replaced.ok);
    if (failed.ok) {
        Check(failed.text == replaced.text);
    } else {
        Check(failed.errorOffset < input.size());
        Check(replaced.text.compare(0, failed.text.size(), failed.text) == 0);
    }
}

void FuzzConversions(std::string_view bytes) {
    using Invalid = TextCodec::Invalid;

    auto utf8Failed = TextCodec::Cp932ToUtf8(bytes, Invalid::Fail);
    auto utf8 = TextCodec::Cp932ToUtf8(bytes, Invalid::Replace);
    CheckModesAgree(utf8Failed, utf8, bytes);
    auto utf16Failed = TextCodec::Cp932ToUtf16(bytes, Invalid::Fail);
    auto utf16 = TextCodec::Cp932ToUtf16(bytes, Invalid::Replace);
    CheckModesAgree(utf16Failed, utf16, bytes);
    Check(utf16Failed.ok == utf8Failed.ok && utf16Failed.errorOffset == utf8Failed.errorOffset);

    // Whatever was decoded is well-formed Unicode that goes back to code page
    // 932 and then decodes to the same text again.
    auto back = TextCodec::Utf8ToCp932(utf8.text, Invalid::Fail);
    if (utf8Failed.ok) {
        Check(back.ok);
        Check(TextCodec::Cp932ToUtf8(back.text).text == utf8.text);
    }
    auto back16 = TextCodec::Utf16ToCp932(utf16.text, Invalid::Replace);
    Check(back16.ok);

    auto cpFailed = TextCodec::Utf8ToCp932(bytes, Invalid::Fail);
    auto cp = TextCodec::Utf8ToCp932(bytes, Invalid::Replace);
    CheckModesAgree(cpFailed, cp, bytes);

    std::u16string units(bytes.size() / 2, u'\0');
    if (!units.empty()) std::memcpy(units.data(), bytes.data(), units.size() * sizeof(char16_t));
    auto cp16Failed = TextCodec::Utf16ToCp932(units, Invalid::Fail);
    auto cp16 = TextCodec::Utf16ToCp932(units, Invalid::Replace);
    CheckModesAgree(cp16Failed, cp16, units);
}

std::vector<bool> Boundaries(std::string_view text) {
    std::vector<bool> boundary(text.size() + 1, false);
    for (std::size_t i = 0; i < text.size(); i += Cp932::CharLengthAt(text, i)) boundary[i] = true;
    boundary[text.size()] = true;
    return boundary;
}

void CheckSingleByteAt(std::string_view text, const std::vector<bool>& boundary, std::size_t at,
                       std::string_view set) {
    if (at == Cp932::npos) return;
    Check(at < text.size() && boundary[at] && !Cp932::StartsDoubleByte(text, at));
    Check(set.find(text[at]) != std::string_view::npos);
}

void FuzzScanner(std::string_view text) {
    std::vector<bool> boundary = Boundaries(text);
    std::size_t from = text.empty() ? 0 : static_cast<unsigned char>(text[0]) % (text.size() + 2);

    std::size_t backslash = Cp932::FindChar(text, '\\', from);
    CheckSingleByteAt(text, boundary, backslash, "\\");
    if (backslash != Cp932::npos) Check(backslash >= from);
    CheckSingleByteAt(text, boundary, Cp932::FindLastChar(text, '|'), "|");
    std::size_t any = Cp932::FindAnyChar(text, "\\|/:", from);
    CheckSingleByteAt(text, boundary, any, "\\|/:");

    std::string_view needle = text.substr(text.size() / 2, 3);
    std::size_t found = Cp932::FindString(text, needle, from);
    if (found != Cp932::npos) {
        Check(found >= from && found + needle.size() <= text.size());
        Check(boundary[found] && boundary[found + needle.size()]);
        Check(text.substr(found, needle.size()) == needle);
    }

    std::string_view cut = Cp932::CutOnCharBoundary(text, from);
    Check(cut.size() <= from && boundary[cut.size()]);
    Check(cut.size() == text.size() || cut.size() + Cp932::CharLengthAt(text, cut.size()) > from);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FuzzConversions(bytes);
    FuzzScanner(bytes);
    return 0;
}
