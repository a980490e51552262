#include "platform/ConsoleMessageBoxes.h"

#include <gtest/gtest.h>

// Batch mode prints each box as one block in UTF-8 and answers questions by
// the user's policy; undecodable bytes do not stop a message.
TEST(ConsoleMessageBoxes, PrintsCaptionIconAndIndentedTextAndAnswersByPolicy) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    ConsoleMessageBoxes no(ConsoleMessageBoxes::QuestionAnswer::No, out);
    ConsoleMessageBoxes yes(ConsoleMessageBoxes::QuestionAnswer::Yes, out);
    const int answers[] = {no.Show({}, "使用できません。\n\n終了します。", "事業概況書", mb::kWarningOk),
                           no.Show({}, "作成しますか？", "事業概況書", mb::kQuestionYesNo),
                           yes.Show({}, "q", "c", mb::kQuestionYesNo), yes.Show({}, "i", "c", mb::kInformationOk),
                           yes.Show({}, "a\x81", nullptr, 0x30), yes.Show({}, "p", "c", mb::kOk)};  // 0x30: the core's
    std::fclose(out);
    EXPECT_EQ(std::vector<int>(std::begin(answers), std::end(answers)),
              (std::vector<int>{mb::kIdOk, mb::kIdNo, mb::kIdYes, mb::kIdOk, mb::kIdOk, mb::kIdOk}));
    EXPECT_EQ(std::string(buffer, size),
              reinterpret_cast<const char*>(u8"事業概況書 [warning]\n  使用できません。\n  \n  終了します。\n"
                                            u8"事業概況書 [question]\n  作成しますか？\n  -> No\n"
                                            u8"c [question]\n  q\n  -> Yes\nc [information]\n  i\n"
                                            u8" [warning]\n  a\uFFFD\nc [message]\n  p\n"));
    std::free(buffer);
}
