// Text from outside through the codec and the code page 932 scanner: their results hold together.

#include "platform/Cp932.h"
#include "platform/TextCodec.h"
#include "tests/fuzz/FuzzSupport.h"

// Replace never fails and, where Fail stopped, goes on from what Fail converted.
template <typename Result>
static void CheckModesAgree(const Result& failed, const Result& replaced, std::size_t inputSize) {
    Require(replaced.ok && (failed.ok ? failed.text == replaced.text
                                      : failed.errorOffset < inputSize && replaced.text.starts_with(failed.text)),
            "Fail and Replace disagree");
}

MZN_FUZZ_TARGET(input) {
    using Invalid = TextCodec::Invalid;
    const std::string_view bytes = input.Text();
    const std::size_t size = input.Size();
    const auto utf8Failed = TextCodec::Cp932ToUtf8(bytes), utf8 = TextCodec::Cp932ToUtf8(bytes, Invalid::Replace);
    const auto utf16Failed = TextCodec::Cp932ToUtf16(bytes), utf16 = TextCodec::Cp932ToUtf16(bytes, Invalid::Replace);
    CheckModesAgree(utf8Failed, utf8, size);
    CheckModesAgree(utf16Failed, utf16, size);
    CheckModesAgree(TextCodec::Utf8ToCp932(bytes), TextCodec::Utf8ToCp932(bytes, Invalid::Replace), size);
    std::u16string units(size / 2, u'\0');
    std::copy_n(input.bytes.begin(), 2 * units.size(), reinterpret_cast<char*>(units.data()));
    CheckModesAgree(TextCodec::Utf16ToCp932(units), TextCodec::Utf16ToCp932(units, Invalid::Replace), units.size());
    Require(utf16Failed.ok == utf8Failed.ok && utf16Failed.errorOffset == utf8Failed.errorOffset, "directions differ");
    // What was decoded goes back to code page 932 and decodes to the same text again.
    const auto back = TextCodec::Utf8ToCp932(utf8.text);
    Require(!utf8Failed.ok || (back.ok && TextCodec::Cp932ToUtf8(back.text).text == utf8.text), "no round trip");

    // The scanner: what it finds starts a character and is what was looked for.
    std::vector<bool> boundary(size + 1, false);
    for (std::size_t i = 0; i < size; i += Cp932::CharLengthAt(bytes, i)) boundary[i] = true;
    boundary[size] = true;
    const std::size_t from = size == 0 ? 0 : static_cast<unsigned char>(bytes[0]) % (size + 2);
    const auto single = [&](std::size_t at, std::string_view set, std::size_t start) {
        return at == Cp932::npos || (at >= start && at < size && boundary[at] && !Cp932::StartsDoubleByte(bytes, at) &&
                                     set.find(bytes[at]) != std::string_view::npos);
    };
    Require(single(Cp932::FindChar(bytes, '\\', from), "\\", from) && single(Cp932::FindLastChar(bytes, '|'), "|", 0) &&
                single(Cp932::FindAnyChar(bytes, "\\|/:", from), "\\|/:", from), "a search found something else");
    const std::string_view needle = bytes.substr(size / 2, 3), cut = Cp932::CutOnCharBoundary(bytes, from);
    const std::size_t found = Cp932::FindString(bytes, needle, from);
    Require(found == Cp932::npos || (found >= from && found + needle.size() <= size && boundary[found] &&
                                     boundary[found + needle.size()] && bytes.substr(found, needle.size()) == needle),
            "FindString");
    Require(cut.size() <= from && boundary[cut.size()] &&
                (cut.size() == size || cut.size() + Cp932::CharLengthAt(bytes, cut.size()) > from), "a bad cut");
}
