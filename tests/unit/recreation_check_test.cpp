#include "operations/recreation_check.h"

#include <gtest/gtest.h>

#include "fakes/fake_prompt.h"
#include "history/record_format.h"
#include "text/user_texts.h"

namespace quorvel {
namespace {

using testing::FakePrompt;

HistoryStore history_of(const std::string& display_name) {
    HistoryStore history;
    history.records = {join_record({display_name, "d", "開始", "自動", "LocalSystem",
                                    "C:\\Windows\\system32\\svchost.exe -k netsvcs", "Svc",
                                    "共有プロセス"})};
    return history;
}

TEST(MayRecreate, OutsideWow64NothingIsAsked) {
    FakePrompt prompt;
    const HistoryStore history = history_of("Name");
    EXPECT_TRUE(may_recreate(false, history, 0, prompt));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(MayRecreate, UnderWow64OnlyYesGoesOn) {
    const HistoryStore history = history_of("表示名, with a comma");
    for (const int answer : {ANSWER_YES, ANSWER_NO}) {
        FakePrompt prompt;
        prompt.answers = {answer};
        EXPECT_EQ(may_recreate(true, history, 0, prompt), answer == ANSWER_YES);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].caption, RESTORE_CONFIRMATION_CAPTION);
        EXPECT_EQ(prompt.shown[0].flags, BOX_YESNO | BOX_ICONWARNING | BOX_DEFBUTTON2);
        // The whole display name from the record, comma and all.
        EXPECT_NE(prompt.shown[0].text.find("表示名, with a comma は 32 ビット"), std::string::npos);
    }
}

TEST(MayRecreate, UnderWow64ARowOutsideTheHistoryIsNotRecreated) {
    FakePrompt prompt;
    const HistoryStore history = history_of("Name");
    EXPECT_FALSE(may_recreate(true, history, 1, prompt));
    EXPECT_FALSE(may_recreate(true, history, -1, prompt));
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
}  // namespace quorvel
