#include "platform/MessageCatalogue.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include <iconv.h>

#include "platform/TextCodec.h"

namespace {

// A template cut at its placeholders: literal, placeholder number, literal, ...
struct Piece {
    std::string_view literal;
    int placeholder = 0;  // 0: none behind the literal
};

std::vector<Piece> PiecesOf(std::string_view text) {
    std::vector<Piece> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '{' || i + 2 >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i + 1])) ||
            text[i + 2] != '}')
            continue;
        pieces.push_back({text.substr(start, i - start), text[i + 1] - '0'});
        start = i + 3;
        i += 2;
    }
    pieces.push_back({text.substr(start), 0});
    return pieces;
}

// Matches text against pieces from index on; each placeholder takes the
// shortest text that lets the rest match.
bool Match(const std::vector<Piece>& pieces, std::size_t index, std::string_view text,
           std::vector<std::string_view>& captures) {
    const Piece& piece = pieces[index];
    if (text.substr(0, piece.literal.size()) != piece.literal) return false;
    text.remove_prefix(piece.literal.size());
    if (piece.placeholder == 0) return text.empty();
    // A placeholder stands for text within one line.
    const std::size_t lineEnd = std::min(text.find('\n'), text.size());
    for (std::size_t length = 1; length <= lineEnd; ++length) {
        if (captures.size() < static_cast<std::size_t>(piece.placeholder)) captures.resize(piece.placeholder);
        captures[piece.placeholder - 1] = text.substr(0, length);
        if (Match(pieces, index + 1, text.substr(length), captures)) return true;
    }
    return false;
}

std::size_t LiteralLength(std::string_view text) {
    std::size_t length = 0;
    for (const Piece& piece : PiecesOf(text)) length += piece.literal.size();
    return length;
}

std::string Convert(std::string_view text, const char* to, const char* from) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
    std::string out;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char buffer[256];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A character the codeset lacks: a question mark, and on.
            out += '?';
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

MessageCatalogue::MessageCatalogue(bool japanese, std::string codeset)
    : japanese_(japanese), codeset_(std::move(codeset)) {}

MessageCatalogue MessageCatalogue::ForLocale(std::string_view localeName) {
    const bool japanese = localeName.substr(0, 2) == "ja";
    return MessageCatalogue(japanese, TextCodec::CodesetOfLocale(localeName));
}

MessageCatalogue MessageCatalogue::ForEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang})
        if (value != nullptr && *value != '\0') return ForLocale(value);
    return ForLocale("C");
}

const MessageCatalogue& MessageCatalogue::Current() {
    // The language is the messages' category, the codeset the terminal's.
    static const MessageCatalogue current(
        ForEnvironment(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")).Japanese(),
        TextCodec::LocaleCodeset());
    return current;
}

std::string MessageCatalogue::Text(std::string_view english) const {
    std::string out;
    if (!japanese_) return Encode(english);
    if (Translate(english, out)) return out;
    if (english.find('\n') == std::string_view::npos) return Encode(english);
    out.clear();
    while (!english.empty()) {
        const std::size_t end = english.find('\n');
        const std::string_view line = english.substr(0, end);
        std::string translated;
        out += Translate(line, translated) ? translated : Encode(line);
        if (end == std::string_view::npos) break;
        out += '\n';
        english.remove_prefix(end + 1);
    }
    return out;
}

// "PREFIX: message" keeps its prefix (a program's name, "FILE:LINE", a
// word such as "warning", itself translated when the catalogue has it);
// otherwise the entry that matches with the most words of its own wins, so
// that "{1} (mzn-books init ...)" is preferred to "no books at {1}".
bool MessageCatalogue::Translate(std::string_view english, std::string& out) const {
    const std::size_t colon = english.find(": ");
    if (colon != std::string_view::npos && IsPrefix(english.substr(0, colon))) {
        std::string rest;
        if (Translate(english.substr(colon + 2), rest)) {
            const std::string_view prefix = english.substr(0, colon);
            std::string word;
            out = (Fill(prefix, word) ? word : Encode(prefix)) + ": " + rest;
            return true;
        }
    }
    return Fill(english, out);
}

bool MessageCatalogue::IsPrefix(std::string_view text) {
    if (text.empty()) return false;
    if (text.find(' ') == std::string_view::npos) return true;
    // "FILE:LINE" of a file whose name has a blank.
    const std::size_t colon = text.rfind(':');
    return colon != std::string_view::npos && colon + 1 < text.size() &&
           text.find_first_not_of("0123456789", colon + 1) == std::string_view::npos;
}

bool MessageCatalogue::Fill(std::string_view english, std::string& out) const {
    std::size_t best = 0;
    bool found = false;
    for (const Entry& entry : Entries()) {
        std::string filled;
        const std::size_t words = LiteralLength(entry.english);
        if ((!found || words > best) && Fill(entry, english, filled)) {
            out = std::move(filled);
            best = words;
            found = true;
        }
    }
    return found;
}

bool MessageCatalogue::Fill(const Entry& entry, std::string_view english, std::string& out) const {
    const std::vector<Piece> pieces = PiecesOf(entry.english);
    // Most entries fail on their first or last words; only the others are searched.
    if (!english.starts_with(pieces.front().literal) || !english.ends_with(pieces.back().literal)) return false;
    std::vector<std::string_view> captures;
    if (!Match(pieces, 0, english, captures)) return false;
    const std::string_view japanese(reinterpret_cast<const char*>(entry.japanese.data()), entry.japanese.size());
    out.clear();
    for (const Piece& piece : PiecesOf(japanese)) {
        out += Encode(piece.literal);
        if (piece.placeholder == 0) continue;
        const std::size_t index = static_cast<std::size_t>(piece.placeholder - 1);
        const std::string_view capture = index < captures.size() ? captures[index] : std::string_view();
        std::string translated;
        out += Translate(capture, translated) ? translated : Encode(capture);
    }
    return true;
}

std::string MessageCatalogue::Encode(std::string_view text) const {
    if (codeset_ == "UTF-8") return std::string(text);
    if (codeset_ == "CP932") return TextCodec::Utf8ToCp932(text, TextCodec::Invalid::Replace).text;
    return Convert(text, codeset_.c_str(), "UTF-8");
}

std::string MessageCatalogue::FromCp932(std::string_view cp932) const {
    if (codeset_ == "CP932") return std::string(cp932);
    return Encode(TextCodec::Cp932ToUtf8(cp932, TextCodec::Invalid::Replace).text);
}

std::string MessageCatalogue::FromUtf8(std::u8string_view utf8) const {
    return Encode(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}
