#include "history/file_system.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"

namespace quorvel {
namespace {

using testing::FakeDisk;
using testing::PowerLoss;

const std::string PATH = "C:\\apps\\quorvel.his";
const std::string OLD = "A\r\nB\r\n";
const std::string NEW = "A\r\nB\r\nC\r\n";
const std::vector<std::string> REWRITE = {"create", "write", "flush", "close", "move"};

TEST(ReplaceThroughTemporary, WritesFlushesAndClosesBeforeTheMove) {
    FakeDisk disk;
    disk.put(PATH, OLD);
    EXPECT_TRUE(replace_through_temporary(disk, PATH, NEW));
    EXPECT_EQ(disk.steps, REWRITE);
    EXPECT_EQ(disk.files[PATH].durable, NEW);
    EXPECT_FALSE(disk.exists(temporary_path(PATH)));
    EXPECT_EQ(temporary_path(PATH), PATH + ".tmp");
}

TEST(ReplaceThroughTemporary, AnyFailingStepLeavesTheFileAsItWasAndNoTemporary) {
    for (bool existed : {true, false}) {
        for (int step = 1; step <= static_cast<int>(REWRITE.size()); ++step) {
            SCOPED_TRACE(REWRITE[step - 1] + (existed ? " over a file" : " without a file"));
            FakeDisk disk;
            if (existed) disk.put(PATH, OLD);
            disk.fail_at = step;
            EXPECT_FALSE(replace_through_temporary(disk, PATH, NEW));
            EXPECT_EQ(disk.exists(PATH), existed);
            if (existed) {
                EXPECT_EQ(disk.files[PATH].seen, OLD);
            }
            EXPECT_FALSE(disk.exists(temporary_path(PATH)));
            EXPECT_EQ(disk.steps.back(), "remove");
        }
    }
}

TEST(ReplaceThroughTemporary, APowerLossAfterAnyStepLeavesTheOldOrTheNewFileWhole) {
    for (int step = 1; step <= static_cast<int>(REWRITE.size()); ++step) {
        SCOPED_TRACE(REWRITE[step - 1]);
        FakeDisk disk;
        disk.put(PATH, OLD);
        disk.power_loss_after = step;
        EXPECT_THROW(replace_through_temporary(disk, PATH, NEW), PowerLoss);
        disk.restart();
        EXPECT_EQ(disk.files[PATH].seen, step < static_cast<int>(REWRITE.size()) ? OLD : NEW);
    }
}

}  // namespace
}  // namespace quorvel
