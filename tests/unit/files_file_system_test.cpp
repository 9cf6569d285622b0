#include "files/file_system.h"

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
        EXPECT_THROW((void)replace_through_temporary(disk, PATH, NEW), PowerLoss);
        disk.restart();
        EXPECT_EQ(disk.files[PATH].seen, step < static_cast<int>(REWRITE.size()) ? OLD : NEW);
    }
}

const std::string SNAPSHOT = "C:\\apps\\quorvel.snapshots\\000001-Foo.reg";
const std::vector<std::string> CREATION = {"create new", "close", "create", "write",
                                           "flush",      "close", "move"};

TEST(CreateThroughReservation, TakesTheNameFirstThenFillsItWhole) {
    FakeDisk disk;
    EXPECT_TRUE(create_through_reservation(disk, SNAPSHOT, NEW));
    EXPECT_EQ(disk.steps, CREATION);
    EXPECT_EQ(disk.files[SNAPSHOT].durable, NEW);
    EXPECT_FALSE(disk.exists(temporary_path(SNAPSHOT)));
}

TEST(CreateThroughReservation, NeverReplacesAFile) {
    FakeDisk disk;
    disk.put(SNAPSHOT, OLD);
    EXPECT_FALSE(create_through_reservation(disk, SNAPSHOT, NEW));
    EXPECT_EQ(disk.files[SNAPSHOT].seen, OLD);
    EXPECT_EQ(disk.steps, std::vector<std::string>{"create new"});
}

TEST(CreateThroughReservation, AnyFailingStepLeavesNothingBehind) {
    for (int step = 1; step <= static_cast<int>(CREATION.size()); ++step) {
        SCOPED_TRACE(CREATION[step - 1] + " (" + std::to_string(step) + ")");
        FakeDisk disk;
        disk.fail_at = step;
        EXPECT_FALSE(create_through_reservation(disk, SNAPSHOT, NEW));
        EXPECT_FALSE(disk.exists(SNAPSHOT));
        EXPECT_FALSE(disk.exists(temporary_path(SNAPSHOT)));
    }
}

// An empty file answers for no record; a part of the bytes would.
TEST(CreateThroughReservation, APowerLossLeavesNothingAnEmptyFileOrTheWholeBytes) {
    for (int step = 1; step <= static_cast<int>(CREATION.size()); ++step) {
        SCOPED_TRACE(CREATION[step - 1] + " (" + std::to_string(step) + ")");
        FakeDisk disk;
        disk.power_loss_after = step;
        EXPECT_THROW((void)create_through_reservation(disk, SNAPSHOT, NEW), PowerLoss);
        disk.restart();
        ASSERT_TRUE(disk.exists(SNAPSHOT));
        EXPECT_EQ(disk.files[SNAPSHOT].seen,
                  step < static_cast<int>(CREATION.size()) ? "" : NEW);
    }
}

}  // namespace
}  // namespace quorvel
