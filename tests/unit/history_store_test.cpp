#include "history/history_store.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "history/record_format.h"

namespace quorvel {
namespace {

using testing::FakeFileSystem;

const std::string PATH = "C:\\apps\\quorvel.his";

RecordTexts row(const std::string& name, const std::string& description = "") {
    return {name, description, "開始", "自動", "LocalSystem", "C:\\" + name + ".exe", name,
            "独自プロセス"};
}

class HistoryStoreTest : public ::testing::Test {
protected:
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const HistoryRecord& record : store.records) out.push_back(split_record(record)[0]);
        return out;
    }

    FakeFileSystem files;
    HistoryStore store;
};

TEST_F(HistoryStoreTest, NoFileGivesAnEmptyStoreAndTheFirstSaveCreatesOneLine) {
    history_load(store, files, PATH);
    EXPECT_TRUE(history_is_empty(store));
    EXPECT_FALSE(store.file_unread);
    history_add_row(store, row("FooSvc"));
    EXPECT_TRUE(history_save(store, files, PATH));
    EXPECT_EQ(files.files[PATH],
              "FooSvc,,開始,自動,LocalSystem,C:\\FooSvc.exe,FooSvc,独自プロセス\r\n");
}

TEST_F(HistoryStoreTest, SaveRewritesAHandEditedFileWithOneCrLfPerRecord) {
    files.files[PATH] = "\r\nA\r\n\r\n\r\nB\nC\rD";
    history_load(store, files, PATH);
    EXPECT_TRUE(history_save(store, files, PATH));
    EXPECT_EQ(files.files[PATH], "A\r\nB\r\nC\r\nD\r\n");
}

TEST_F(HistoryStoreTest, LoadReplacesWhatTheStoreHeld) {
    history_append(store, "stale");
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    EXPECT_EQ(store.records, std::vector<HistoryRecord>{"A"});
}

TEST_F(HistoryStoreTest, RemoveTakesOnlyAnExistingIndex) {
    const struct {
        int index;
        std::vector<std::string> left;
    } cases[] = {
        {0, {"B", "C"}},  // the oldest
        {2, {"A", "B"}},
        {3, {"A", "B", "C"}},
        {-1, {"A", "B", "C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        store.records = {join_record(row("A")), join_record(row("B")), join_record(row("C"))};
        history_remove(store, c.index);
        EXPECT_EQ(names(), c.left);
    }
    store.records.clear();
    history_remove(store, 0);
    EXPECT_TRUE(history_is_empty(store));
}

TEST_F(HistoryStoreTest, SavingAnEmptyStoreDeletesTheFile) {
    files.files[PATH] = join_record(row("A")) + "\r\n";
    history_load(store, files, PATH);
    history_remove(store, 0);
    EXPECT_TRUE(history_save(store, files, PATH));
    EXPECT_FALSE(files.exists(PATH));
    EXPECT_TRUE(history_save(store, files, PATH));  // already gone is fine too
}

TEST_F(HistoryStoreTest, AFailedRewriteLeavesTheOldFileAndTheStore) {
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    history_add_row(store, row("B"));
    files.replace_fails = true;
    EXPECT_FALSE(history_save(store, files, PATH));
    EXPECT_EQ(files.files[PATH], "A\r\n");
    EXPECT_EQ(store.records.size(), 2u);
}

TEST_F(HistoryStoreTest, AFailedDeletionIsReported) {
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    history_remove(store, 0);
    files.locked.insert(PATH);
    EXPECT_FALSE(history_save(store, files, PATH));
    EXPECT_EQ(files.files[PATH], "A\r\n");
}

TEST_F(HistoryStoreTest, AFileUnreadableAtStartIsNeverOverwritten) {
    files.files[PATH] = "A\r\nB\r\n";
    files.locked.insert(PATH);
    history_load(store, files, PATH);
    EXPECT_TRUE(history_is_empty(store));
    EXPECT_TRUE(store.file_unread);

    history_add_row(store, row("C"));
    EXPECT_FALSE(history_save(store, files, PATH));
    EXPECT_EQ(files.replace_calls + files.delete_calls, 0);

    files.locked.clear();
    EXPECT_TRUE(history_save(store, files, PATH));
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(files.files[PATH], "A\r\nB\r\n" + join_record(row("C")) + "\r\n");
    EXPECT_FALSE(store.file_unread);
}

TEST_F(HistoryStoreTest, RemovingThisRunsOnlyRecordDoesNotDeleteAnUnreadFile) {
    files.files[PATH] = "A\r\n";
    files.locked.insert(PATH);
    history_load(store, files, PATH);
    history_add_row(store, row("C"));
    history_remove(store, 0);
    EXPECT_FALSE(history_save(store, files, PATH));
    files.locked.clear();
    history_clear(store);  // even a cleared store must not drop the file's records
    EXPECT_TRUE(history_save(store, files, PATH));
    EXPECT_EQ(files.files[PATH], "A\r\n");
}

TEST_F(HistoryStoreTest, AnUnreadFileThatVanishedIsSimplyWritten) {
    files.files[PATH] = "A\r\n";
    files.locked.insert(PATH);
    history_load(store, files, PATH);
    files.locked.clear();
    files.files.erase(PATH);
    history_add_row(store, row("C"));
    EXPECT_TRUE(history_save(store, files, PATH));
    EXPECT_EQ(names(), std::vector<std::string>{"C"});
}

TEST_F(HistoryStoreTest, LongRecordsWithSpecialBytesComeBackWhole) {
    RecordTexts big;
    for (int column = 0; column < COLUMN_COUNT; ++column)
        big[column] = std::string(253, static_cast<char>('a' + column)) + ",\r\n%,\n";  // 259 bytes
    history_add_row(store, row("A", "one, two\r\nthree"));
    history_add_row(store, big);
    history_add_row(store, row("B"));
    ASSERT_TRUE(history_save(store, files, PATH));

    HistoryStore loaded;
    history_load(loaded, files, PATH);
    ASSERT_EQ(loaded.records.size(), 3u);
    EXPECT_EQ(split_record(loaded.records[0]), row("A", "one, two\r\nthree"));
    EXPECT_EQ(split_record(loaded.records[1]), big);
    EXPECT_EQ(split_record(loaded.records[2]), row("B"));
}

// A file someone else wrote: a 1 MB line, 100,000 short ones with lone CR
// or LF ends, binary bytes. All of it loads and is written back whole.
TEST_F(HistoryStoreTest, AHugeForeignFileLoadsAndIsRewrittenWithoutLoss) {
    const std::string huge(1 << 20, '\x81');
    std::string content = huge + "\r";
    std::string expected = huge + "\r\n";
    for (int i = 0; i < 100000; ++i) {
        const std::string line = "s" + std::to_string(i) + ",\x01\xff%";
        content += line + (i % 2 == 0 ? "\n" : "\r");
        expected += line + "\r\n";
    }
    files.files[PATH] = content;
    history_load(store, files, PATH);
    ASSERT_EQ(store.records.size(), 100001u);
    EXPECT_EQ(store.records[0], huge);
    EXPECT_TRUE(history_save(store, files, PATH));
    EXPECT_EQ(files.files[PATH], expected);
}

// Each step of a save (the read of a file unread at start-up, then the
// rewrite) fails or loses power in turn: the file is always the old one or
// the new one, whole, and the records of the unread file are never lost.
class HistorySaveOnAFailingDisk : public ::testing::Test {
protected:
    const std::string OLD = "A\r\nB\r\n";
    const std::vector<std::string> SAVE = {"read", "create", "write", "flush", "close", "move"};

    void SetUp() override {
        disk.put(PATH, OLD);
        disk.fail_at = 1;  // held open elsewhere at start-up
        history_load(store, disk, PATH);
        ASSERT_TRUE(store.file_unread);
        history_add_row(store, row("C"));
        disk.steps.clear();
        disk.fail_at = 0;
        new_content = OLD + join_record(row("C")) + "\r\n";
    }

    testing::FakeDisk disk;
    HistoryStore store;
    std::string new_content;
};

TEST_F(HistorySaveOnAFailingDisk, AFailedStepKeepsTheOldFileAndEveryRecordForTheNextSave) {
    for (int step = 1; step <= static_cast<int>(SAVE.size()); ++step) {
        SCOPED_TRACE(SAVE[step - 1]);
        HistoryStore attempt = store;
        disk.steps.clear();
        disk.fail_at = step;
        EXPECT_FALSE(history_save(attempt, disk, PATH));
        EXPECT_EQ(disk.files[PATH].seen, OLD);
        EXPECT_EQ(disk.files[PATH].durable, OLD);
        EXPECT_FALSE(disk.exists(PATH + ".tmp"));

        disk.fail_at = 0;
        EXPECT_TRUE(history_save(attempt, disk, PATH));
        EXPECT_EQ(disk.files[PATH].durable, new_content);
        disk.put(PATH, OLD);
    }
}

TEST_F(HistorySaveOnAFailingDisk, APowerLossAfterAnyStepLeavesTheOldOrTheNewFile) {
    for (int step = 1; step <= static_cast<int>(SAVE.size()); ++step) {
        SCOPED_TRACE(SAVE[step - 1]);
        HistoryStore attempt = store;
        disk.steps.clear();
        disk.power_loss_after = step;
        EXPECT_THROW(history_save(attempt, disk, PATH), testing::PowerLoss);
        disk.restart();
        EXPECT_EQ(disk.files[PATH].seen, step == static_cast<int>(SAVE.size()) ? new_content : OLD);
        disk.put(PATH, OLD);
    }
}

TEST_F(HistorySaveOnAFailingDisk, AFailedDeletionOfTheEmptiedFileKeepsIt) {
    history_merge_unread_file(store, disk, PATH);
    history_clear(store);
    disk.steps.clear();
    disk.fail_at = 1;
    EXPECT_FALSE(history_save(store, disk, PATH));
    EXPECT_EQ(disk.steps, std::vector<std::string>{"delete"});
    EXPECT_EQ(disk.files[PATH].durable, OLD);
}

}  // namespace
}  // namespace quorvel
