#include "platform/FullWidthMapper.h"

#include "platform/Cp932.h"

#include <climits>
#include <iterator>
#include <cstring>

// Narrow literals are code page 932 here, so the tables below hold the
// target characters' code page 932 bytes.

namespace {

// Full-width forms of 0x21-0x7E, in order. The quotation mark and the
// apostrophe exist only in the IBM extension rows (0xFA57, 0xFA56), which is
// where Windows puts them too.
constexpr std::string_view kAscii[] = {
    "！", "＂", "＃", "＄", "％", "＆", "＇", "（", "）", "＊", "＋", "，", "－", "．", "／",
    "０", "１", "２", "３", "４", "５", "６", "７", "８", "９", "：", "；", "＜", "＝", "＞", "？",
    "＠", "Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ", "Ｈ", "Ｉ", "Ｊ", "Ｋ", "Ｌ", "Ｍ", "Ｎ", "Ｏ",
    "Ｐ", "Ｑ", "Ｒ", "Ｓ", "Ｔ", "Ｕ", "Ｖ", "Ｗ", "Ｘ", "Ｙ", "Ｚ", "［", "＼", "］", "＾", "＿",
    "｀", "ａ", "ｂ", "ｃ", "ｄ", "ｅ", "ｆ", "ｇ", "ｈ", "ｉ", "ｊ", "ｋ", "ｌ", "ｍ", "ｎ", "ｏ",
    "ｐ", "ｑ", "ｒ", "ｓ", "ｔ", "ｕ", "ｖ", "ｗ", "ｘ", "ｙ", "ｚ", "｛", "｜", "｝", "～",
};
static_assert(std::size(kAscii) == 0x7E - 0x21 + 1);

// Half-width katakana and signs 0xA1-0xDF: the full-width character, and
// the one a following ﾞ or ﾟ composes it into (empty where code page 932 has
// none).
struct Kana {
    std::string_view plain;
    std::string_view voiced;
    std::string_view semiVoiced;
};
constexpr Kana kKana[] = {
    {"。", "", ""},   {"「", "", ""},   {"」", "", ""},   {"、", "", ""},   {"・", "", ""},
    {"ヲ", "", ""},   {"ァ", "", ""},   {"ィ", "", ""},   {"ゥ", "", ""},   {"ェ", "", ""},
    {"ォ", "", ""},   {"ャ", "", ""},   {"ュ", "", ""},   {"ョ", "", ""},   {"ッ", "", ""},
    {"ー", "", ""},   {"ア", "", ""},   {"イ", "", ""},   {"ウ", "ヴ", ""}, {"エ", "", ""},
    {"オ", "", ""},   {"カ", "ガ", ""}, {"キ", "ギ", ""}, {"ク", "グ", ""}, {"ケ", "ゲ", ""},
    {"コ", "ゴ", ""}, {"サ", "ザ", ""}, {"シ", "ジ", ""}, {"ス", "ズ", ""}, {"セ", "ゼ", ""},
    {"ソ", "ゾ", ""}, {"タ", "ダ", ""}, {"チ", "ヂ", ""}, {"ツ", "ヅ", ""}, {"テ", "デ", ""},
    {"ト", "ド", ""}, {"ナ", "", ""},   {"ニ", "", ""},   {"ヌ", "", ""},   {"ネ", "", ""},
    {"ノ", "", ""},   {"ハ", "バ", "パ"}, {"ヒ", "ビ", "ピ"}, {"フ", "ブ", "プ"}, {"ヘ", "ベ", "ペ"},
    {"ホ", "ボ", "ポ"}, {"マ", "", ""},   {"ミ", "", ""},   {"ム", "", ""},   {"メ", "", ""},
    {"モ", "", ""},   {"ヤ", "", ""},   {"ユ", "", ""},   {"ヨ", "", ""},   {"ラ", "", ""},
    {"リ", "", ""},   {"ル", "", ""},   {"レ", "", ""},   {"ロ", "", ""},   {"ワ", "", ""},
    {"ン", "", ""},   {"゛", "", ""},   {"゜", "", ""},
};
static_assert(std::size(kKana) == 0xDF - 0xA1 + 1);

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

bool IsHalfWidthKana(unsigned char byte) { return byte >= 0xA1 && byte <= 0xDF; }

// Appends the full-width form of the single byte text[pos] and returns how
// many input bytes it took (2 when a sound mark was composed in).
std::size_t MapSingleByte(std::string_view text, std::size_t pos, std::string& out) {
    unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (byte == 0x20) {
        out += "　";
        return 1;
    }
    if (byte >= 0x21 && byte <= 0x7E) {
        out += kAscii[byte - 0x21];
        return 1;
    }
    if (!IsHalfWidthKana(byte)) {
        out.push_back(static_cast<char>(byte));
        return 1;
    }
    const Kana& kana = kKana[byte - 0xA1];
    if (pos + 1 < text.size()) {
        unsigned char mark = static_cast<unsigned char>(text[pos + 1]);
        std::string_view composed = mark == kVoicedMark       ? kana.voiced
                                    : mark == kSemiVoicedMark ? kana.semiVoiced
                                                              : std::string_view();
        if (!composed.empty()) {
            out += composed;
            return 2;
        }
    }
    out += kana.plain;
    return 1;
}

}  // namespace

std::string FullWidthMapper::ToFullWidth(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 2);
    std::size_t pos = 0;
    while (pos < cp932.size()) {
        if (Cp932::StartsDoubleByte(cp932, pos)) {
            out.append(cp932.substr(pos, 2));
            pos += 2;
        } else {
            pos += MapSingleByte(cp932, pos, out);
        }
    }
    return out;
}

int FullWidthMapper::Map(const char* src, int srcLength, char* dst, int dstSize) {
    if (src == nullptr || srcLength == 0 || srcLength < -1 || dstSize < 0) return 0;
    if (dstSize > 0 && dst == nullptr) return 0;
    std::size_t length = srcLength == -1 ? std::strlen(src) + 1 : static_cast<std::size_t>(srcLength);
    std::string mapped = ToFullWidth(std::string_view(src, length));
    if (mapped.size() > static_cast<std::size_t>(INT_MAX)) return 0;
    int needed = static_cast<int>(mapped.size());
    if (dstSize == 0) return needed;
    if (needed > dstSize) return 0;
    std::memcpy(dst, mapped.data(), mapped.size());
    return needed;
}
