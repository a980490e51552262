#pragma once

#include <span>
#include <string>
#include <string_view>

// The texts the programs print on a terminal (usage, option errors, what a
// command did), in English or, under a Japanese locale, in Japanese, in the
// locale's codeset. The system's own message-box texts are not in it: they
// are Japanese already and only change their encoding.
//
// The English text is the key. A finished English message is matched
// against the English templates of the entries, where {1}, {2}, ... stand for
// any text of at least one character within a line; the entry gives the
// Japanese template, filled with what the placeholders matched (each of
// those translated in turn when it is itself a catalogued message). Of
// several matching entries, the one with the most words of its own wins. A
// message no entry matches keeps its English; "PREFIX: message" is tried
// first with the prefix kept ("mzn-books: ...", "FILE:LINE: ...").
//
// Adding a message: one line in MessageCatalogueEntries.cpp, English
// template and Japanese template with the same placeholders.
class MessageCatalogue {
public:
    struct Entry {
        std::string_view english;
        std::u8string_view japanese;
    };

    // codeset: an iconv name ("UTF-8", "CP932", "EUC-JP"), as
    // TextCodec::CodesetOfLocale gives it; English output is passed on as
    // it is.
    MessageCatalogue(bool japanese, std::string codeset);

    // The catalogue of this process: Japanese when the first of LC_ALL,
    // LC_MESSAGES and LANG that is set starts with "ja"; in the codeset of
    // TextCodec::LocaleCodeset, that of every text for the terminal.
    static const MessageCatalogue& Current();
    // The same for the values of those variables (null when unset).
    static MessageCatalogue ForEnvironment(const char* lcAll, const char* lcMessages, const char* lang);
    static MessageCatalogue ForLocale(std::string_view localeName);

    bool Japanese() const { return japanese_; }
    const std::string& Codeset() const { return codeset_; }

    // The message (UTF-8) in the catalogue's language and codeset, also
    // what it quotes: names, paths, lines no entry matches. Multi-line text
    // is matched whole first, then line by line.
    std::string Text(std::string_view english) const;
    // Text of the system's own (code page 932) in the catalogue's codeset.
    std::string FromCp932(std::string_view cp932) const;
    // The same for such text kept as UTF-8.
    std::string FromUtf8(std::u8string_view utf8) const;

    static std::span<const Entry> Entries();

private:
    bool Translate(std::string_view english, std::string& out) const;
    bool Fill(std::string_view english, std::string& out) const;
    bool Fill(const Entry& entry, std::string_view english, std::string& out) const;
    static bool IsPrefix(std::string_view text);
    // UTF-8 text in the catalogue's codeset.
    std::string Encode(std::string_view utf8) const;

    bool japanese_;
    std::string codeset_;
};
