#include "app/shell/CompletionNotice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/shell/CommandLine.h"
#include "platform/CallerEndpoint.h"
#include "platform/CallerEvent.h"
#include "tests/support/TempRoot.h"

namespace {

class CompletionNoticeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(caller_.BindFresh()) << caller_.LastError(); }

    // The caller's text naming the bound window.
    std::string TextFor(const std::string& rest) const { return std::to_string(caller_.Handle()) + rest; }

    // Every event that has arrived, described.
    std::vector<std::string> Received() {
        std::vector<std::string> events;
        while (std::optional<CallerEvent> event = caller_.Receive(200)) events.push_back(event->Describe());
        return events;
    }

    TempRoot root_;
    CallerEndpoint caller_;
};

TEST_F(CompletionNoticeTest, ALinkedRunDisablesTheCallerAndNotifiesItInOrder) {
    CommandLine line;
    ASSERT_TRUE(line.ParseCommandLine(TextFor(",32769,-3,Z:\\out.xml")));
    line.LinkedToParent = 1;
    const CompletionNotice notice(line);

    notice.DisableCaller();
    EXPECT_TRUE(notice.Send(2));
    // wParam is the function number widened with its sign.
    const std::vector<std::string> expected = {"disable", "foreground", "enable",
                                               "post message=32769 wParam=-3 lParam=2", "enable"};
    EXPECT_EQ(Received(), expected);
}

TEST_F(CompletionNoticeTest, AnUnlinkedRunLeavesTheCallerAlone) {
    CommandLine line;
    // The numbers were read, but the run did not link (LinkedToParent 0).
    ASSERT_FALSE(line.ParseCommandLine(TextFor(",32769,2")));
    const CompletionNotice notice(line);
    notice.DisableCaller();
    EXPECT_FALSE(notice.Send(0));
    EXPECT_TRUE(Received().empty());
}

TEST_F(CompletionNoticeTest, AWindowThatHasGoneIgnoresTheNotice) {
    CommandLine line;
    ASSERT_TRUE(line.ParseCommandLine(TextFor(",32769,2,")));
    line.LinkedToParent = 1;
    caller_.Unbind();
    const CompletionNotice notice(line);
    notice.DisableCaller();
    EXPECT_FALSE(notice.Send(1));
}

}  // namespace
