// Message boxes and pauses for the unit tests: every box is recorded and
// answered from a script; pauses are counted, never slept.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "operations/prompt.h"

namespace quorvel::testing {

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned flags;
};

class FakePrompt : public UserPrompt {
public:
    std::vector<ShownBox> shown;
    std::deque<int> answers;  // for Yes/No boxes, in order; Yes when none is left

    [[nodiscard]] int message_box(const std::string& text, const std::string& caption,
                                  unsigned flags) override {
        shown.push_back({text, caption, flags});
        if ((flags & 0xF) != BOX_YESNO) return ANSWER_OK;
        if (answers.empty()) return ANSWER_YES;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakePause : public Pause {
public:
    std::vector<unsigned> pauses;
    void sleep_ms(unsigned milliseconds) override { pauses.push_back(milliseconds); }
};

}  // namespace quorvel::testing
