#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/ConsoleMessageBoxes.h"
#include "platform/ScriptedMessageBoxes.h"

namespace {

// Everything a console box printed, read back from a real temporary file.
class CapturedStream {
public:
    CapturedStream() : file_(std::tmpfile()) {}
    ~CapturedStream() { std::fclose(file_); }
    std::FILE* Get() { return file_; }
    std::string Text() {
        std::fflush(file_);
        std::rewind(file_);
        std::string text;
        int c;
        while ((c = std::fgetc(file_)) != EOF) text += static_cast<char>(c);
        return text;
    }

private:
    std::FILE* file_;
};

}  // namespace

TEST(ConsoleMessageBoxes, PrintsCaptionIconAndTextInUtf8AndAnswersByPolicy) {
    CapturedStream out;
    ConsoleMessageBoxes boxes(ConsoleMessageBoxes::QuestionAnswer::No, out.Get());

    EXPECT_EQ(boxes.Show({}, "過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。",
                         "事業概況書", mb::kWarningOk),
              mb::kIdOk);
    EXPECT_EQ(boxes.Show({}, "作成しますか？", "事業概況書", mb::kQuestionYesNo), mb::kIdNo);
    EXPECT_EQ(boxes.Show({}, "done", "x", mb::kInformationOk), mb::kIdOk);

    const std::string expected = reinterpret_cast<const char*>(
        u8"事業概況書 [warning]\n"
        u8"  過去実績データは、連携の対象として使用できません。\n"
        u8"  \n"
        u8"  アプリケーションを終了します。\n"
        u8"事業概況書 [question]\n"
        u8"  作成しますか？\n"
        u8"  -> No\n"
        u8"x [information]\n"
        u8"  done\n");
    EXPECT_EQ(out.Text(), expected);
}

TEST(ConsoleMessageBoxes, YesPolicyAnswersQuestionsYesAndKeepsOkForNotices) {
    CapturedStream out;
    ConsoleMessageBoxes boxes(ConsoleMessageBoxes::QuestionAnswer::Yes, out.Get());
    EXPECT_EQ(boxes.Show({}, "q", "c", mb::kQuestionYesNo), mb::kIdYes);
    EXPECT_EQ(boxes.Show({}, "w", "c", mb::kWarningOk), mb::kIdOk);
    // The raw style of the accounting core's messages is a warning with OK.
    EXPECT_EQ(boxes.Show({}, "raw", "c", 0x30), mb::kIdOk);
    EXPECT_NE(out.Text().find("raw"), std::string::npos);
    EXPECT_NE(out.Text().find("-> Yes"), std::string::npos);
}

TEST(ConsoleMessageBoxes, UndecodableBytesDoNotStopTheMessage) {
    CapturedStream out;
    ConsoleMessageBoxes boxes(ConsoleMessageBoxes::QuestionAnswer::No, out.Get());
    const char broken[] = {'a', static_cast<char>(0x81), '\0'};  // a lead byte with no trail
    EXPECT_EQ(boxes.Show({}, broken, nullptr, mb::kWarningOk), mb::kIdOk);
    EXPECT_NE(out.Text().find("  a"), std::string::npos);
}

TEST(ScriptedMessageBoxes, AnswersFromTheQueueAndRecordsEveryBox) {
    ScriptedMessageBoxes boxes;
    boxes.QueueAnswer(mb::kIdYes);
    int widget = 0;
    EXPECT_EQ(boxes.Show({&widget, 0}, "作成しますか？", "事業概況書", mb::kQuestionYesNo), mb::kIdYes);
    EXPECT_EQ(boxes.Show({nullptr, 4242}, "表", "事業概況書", 0x30), mb::kIdOk);
    EXPECT_EQ(boxes.Show({}, "again?", "c", mb::kQuestionYesNo), mb::kIdNo);

    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].owner.widget, &widget);
    EXPECT_EQ(boxes.Boxes()[0].style, mb::kQuestionYesNo);
    EXPECT_EQ(boxes.Boxes()[1].owner.callerWindow, 4242u);
    EXPECT_EQ(boxes.Boxes()[1].text, std::string("\x95\x5C"));
    EXPECT_EQ(boxes.Boxes()[1].caption, "事業概況書");
    EXPECT_EQ(boxes.Last().answer, mb::kIdNo);
    EXPECT_EQ(boxes.UnscriptedCount(), 2);
    EXPECT_EQ(boxes.PendingAnswers(), 0u);

    boxes.Clear();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.UnscriptedCount(), 0);
}
