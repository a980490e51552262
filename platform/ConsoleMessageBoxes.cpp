#include "platform/ConsoleMessageBoxes.h"

#include <string>

#include "platform/MessageCatalogue.h"
#include "platform/TextCodec.h"

namespace {

const char* IconWord(unsigned style) {
    switch (style & mb::kIconMask) {
        case mb::kIconWarning: return "warning";
        case mb::kIconQuestion: return "question";
        case mb::kIconInformation: return "information";
        default: return "message";
    }
}

std::string ToTerminal(const char* cp932) {
    if (cp932 == nullptr) return std::string();
    return MessageCatalogue::Current().FromCp932(cp932);
}

}  // namespace

ConsoleMessageBoxes::ConsoleMessageBoxes(QuestionAnswer answer, std::FILE* out)
    : answer_(answer), out_(out) {}

int ConsoleMessageBoxes::Show(MessageOwner, const char* text, const char* caption, unsigned style) {
    std::string body = ToTerminal(text);
    // Indent continuation lines so that one box stays one block in a log.
    std::string indented = "  ";
    for (char c : body) {
        indented += c;
        if (c == '\n') indented += "  ";
    }
    const MessageCatalogue& catalogue = MessageCatalogue::Current();
    // The catalogue takes the heading as UTF-8 and writes it in the terminal's codeset.
    const std::string caption8 =
        caption == nullptr ? std::string() : TextCodec::Cp932ToUtf8(caption, TextCodec::Invalid::Replace).text;
    const std::string heading = caption8 + " [" + IconWord(style) + "]";
    std::fprintf(out_, "%s\n%s\n", catalogue.Text(heading).c_str(), indented.c_str());

    int answer = mb::kIdOk;
    if ((style & mb::kButtonMask) == mb::kYesNo) {
        answer = answer_ == QuestionAnswer::Yes ? mb::kIdYes : mb::kIdNo;
        std::fprintf(out_, "%s\n", catalogue.Text(answer == mb::kIdYes ? "  -> Yes" : "  -> No").c_str());
    }
    std::fflush(out_);
    return answer;
}
