#include "text/whole_text.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

// A call that copies what fits and gives the count, as the platform's
// module-name call does: older systems fill the buffer unterminated, newer
// ones cut one byte earlier and terminate; both give the buffer's size.
FillBuffer copying(const std::string& text, bool terminates, int* calls) {
    return [=](char* buffer, std::size_t size) -> std::size_t {
        ++*calls;
        if (text.size() < size) {
            text.copy(buffer, text.size());
            buffer[text.size()] = '\0';
            return text.size();
        }
        const std::size_t copied = terminates ? size - 1 : size;
        text.copy(buffer, copied);
        if (terminates) buffer[copied] = '\0';
        return size;
    };
}

TEST(WholeText, GrowsTheBufferUntilTheTextFits) {
    const std::string long_path = "C:\\" + std::string(400, 'd') + "\\quorvel.exe";
    const struct {
        std::string text;
        int calls;
    } cases[] = {
        {"C:\\apps\\quorvel.exe", 1},
        {std::string(259, 'p'), 1},
        {std::string(260, 'p'), 2},  // fills the first buffer exactly
        {long_path, 2},
        {std::string(1040, 'p'), 4},
    };
    for (bool terminates : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.text.size() << " bytes, terminates " << terminates);
            int calls = 0;
            EXPECT_EQ(whole_text(copying(c.text, terminates, &calls), 260, 65536), c.text);
            EXPECT_EQ(calls, c.calls);
        }
    }
}

TEST(WholeText, NothingWhenTheCallFailsOrTheTextNeverFits) {
    int calls = 0;
    EXPECT_EQ(whole_text([](char*, std::size_t) -> std::size_t { return 0; }, 260, 65536),
              std::nullopt);
    EXPECT_EQ(whole_text(copying(std::string(2000, 'p'), false, &calls), 260, 1040),
              std::nullopt);
    EXPECT_EQ(calls, 3);  // 260, 520 and 1040 bytes
}

}  // namespace
}  // namespace quorvel
