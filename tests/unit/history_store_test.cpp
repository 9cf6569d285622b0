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
    EXPECT_TRUE(history_save_added(store, files, PATH, join_record(row("FooSvc"))));
    EXPECT_EQ(files.files[PATH],
              "FooSvc,,開始,自動,LocalSystem,C:\\FooSvc.exe,FooSvc,独自プロセス\r\n");
    EXPECT_EQ(names(), std::vector<std::string>{"FooSvc"});
}

TEST_F(HistoryStoreTest, SaveRewritesAHandEditedFileWithOneCrLfPerRecord) {
    files.files[PATH] = "\r\nA\r\n\r\n\r\nB\nC\rD";
    history_load(store, files, PATH);
    EXPECT_TRUE(history_save_added(store, files, PATH, "E"));
    EXPECT_EQ(files.files[PATH], "A\r\nB\r\nC\r\nD\r\nE\r\n");
}

TEST_F(HistoryStoreTest, LoadReplacesWhatTheStoreHeld) {
    store.records = {"stale"};
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    EXPECT_EQ(store.records, std::vector<HistoryRecord>{"A"});
}

TEST_F(HistoryStoreTest, RemovingTheLastRecordDeletesTheFile) {
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    EXPECT_TRUE(history_save_removed(store, files, PATH, history_ref(store, 0)));
    EXPECT_FALSE(files.exists(PATH));
    EXPECT_TRUE(history_is_empty(store));
    EXPECT_TRUE(history_save_removed(store, files, PATH, {"A", 0}));  // already gone is fine too
}

TEST_F(HistoryStoreTest, AFailedRewriteLeavesTheFileAndTheStoreFollowsIt) {
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    files.files[PATH] += "B\r\n";  // meanwhile, by another copy
    files.replace_fails = true;
    EXPECT_FALSE(history_save_added(store, files, PATH, "C"));
    EXPECT_EQ(files.files[PATH], "A\r\nB\r\n");
    EXPECT_EQ(store.records, (std::vector<HistoryRecord>{"A", "B"}));
}

TEST_F(HistoryStoreTest, AFailedDeletionIsReported) {
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    files.locked.insert(PATH);
    EXPECT_FALSE(history_save_removed(store, files, PATH, history_ref(store, 0)));
    EXPECT_EQ(files.files[PATH], "A\r\n");
}

TEST_F(HistoryStoreTest, AFileThatCannotBeReadIsNeverWritten) {
    files.files[PATH] = "A\r\nB\r\n";
    files.locked.insert(PATH);
    history_load(store, files, PATH);
    EXPECT_TRUE(history_is_empty(store));
    EXPECT_TRUE(store.file_unread);

    EXPECT_FALSE(history_save_added(store, files, PATH, join_record(row("C"))));
    EXPECT_FALSE(history_save_removed(store, files, PATH, {"A", 0}));
    EXPECT_EQ(files.replace_calls + files.delete_calls, 0);
    EXPECT_TRUE(store.file_unread);

    files.locked.clear();
    EXPECT_TRUE(history_save_added(store, files, PATH, join_record(row("C"))));
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(files.files[PATH], "A\r\nB\r\n" + join_record(row("C")) + "\r\n");
    EXPECT_FALSE(store.file_unread);
}

TEST_F(HistoryStoreTest, ALockHeldByAnotherCopyFailsTheSaveUntouched) {
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    files.lock_held.insert(PATH);
    EXPECT_FALSE(history_save_added(store, files, PATH, "B"));
    EXPECT_FALSE(history_save_removed(store, files, PATH, {"A", 0}));
    EXPECT_EQ(files.files[PATH], "A\r\n");
    EXPECT_EQ(files.replace_calls + files.delete_calls, 0);

    files.lock_held.clear();
    EXPECT_TRUE(history_save_added(store, files, PATH, "B"));
    EXPECT_TRUE(files.unlocked_writes.empty());
}

// Copy 1 deletes X while copy 2 deletes Y, each from the history it read
// at start-up: the file ends with both, and either one's removal takes out
// its own record alone.
TEST_F(HistoryStoreTest, TwoCopiesKeepEachOthersRecords) {
    files.files[PATH] = "A\r\n";
    HistoryStore other;
    history_load(store, files, PATH);
    history_load(other, files, PATH);
    EXPECT_TRUE(history_save_added(store, files, PATH, "X"));
    EXPECT_TRUE(history_save_added(other, files, PATH, "Y"));
    EXPECT_EQ(files.files[PATH], "A\r\nX\r\nY\r\n");
    EXPECT_EQ(other.records, (std::vector<HistoryRecord>{"A", "X", "Y"}));

    EXPECT_TRUE(history_save_removed(store, files, PATH, {"X", 0}));  // store still shows A, X
    EXPECT_EQ(files.files[PATH], "A\r\nY\r\n");
    EXPECT_EQ(store.records, (std::vector<HistoryRecord>{"A", "Y"}));
    EXPECT_TRUE(history_save_removed(other, files, PATH, {"X", 0}));  // gone already: no write
    EXPECT_EQ(files.files[PATH], "A\r\nY\r\n");
}

// Equal lines pair with snapshots newest with newest, so a removal takes
// the one with as many equal lines after it as the reference says.
TEST_F(HistoryStoreTest, ARemovalTakesTheMeantOneOfEqualLines) {
    const struct {
        std::size_t later;
        std::string left;
    } cases[] = {
        {0, "X\r\n1\r\nX\r\n2\r\n"},
        {1, "X\r\n1\r\n2\r\nX\r\n"},
        {2, "1\r\nX\r\n2\r\nX\r\n"},
        {5, "1\r\nX\r\n2\r\nX\r\n"},  // fewer remain: the oldest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.later);
        files.files[PATH] = "X\r\n1\r\nX\r\n2\r\nX\r\n";
        history_load(store, files, PATH);
        EXPECT_TRUE(history_save_removed(store, files, PATH, {"X", c.later}));
        EXPECT_EQ(files.files[PATH], c.left);
    }
    files.files[PATH] = "X\r\nY\r\nX\r\n";
    history_load(store, files, PATH);
    EXPECT_EQ(history_ref(store, 0).later, 1u);
    EXPECT_EQ(history_ref(store, 2).later, 0u);
}

TEST_F(HistoryStoreTest, ReloadFollowsTheFileAndKeepsTheRecordsWhileItIsUnreadable) {
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    files.files[PATH] = "B\r\nC\r\n";
    history_reload(store, files, PATH);
    EXPECT_EQ(store.records, (std::vector<HistoryRecord>{"B", "C"}));
    files.locked.insert(PATH);
    history_reload(store, files, PATH);
    EXPECT_EQ(store.records, (std::vector<HistoryRecord>{"B", "C"}));
    EXPECT_TRUE(store.file_unread);
    files.locked.clear();
    files.files.erase(PATH);
    history_reload(store, files, PATH);
    EXPECT_TRUE(history_is_empty(store));
    EXPECT_FALSE(store.file_unread);
}

// Every read of the history holds the lock a save takes: held open by a
// read, the file would make another copy's save fail. While another copy
// keeps the lock, nothing is read and the store says the file went unread.
TEST_F(HistoryStoreTest, EveryReadTakesTheLockOfASave) {
    files.files[PATH] = "A\r\n";
    history_load(store, files, PATH);
    history_reload(store, files, PATH);
    EXPECT_TRUE(history_save_added(store, files, PATH, "B"));
    EXPECT_TRUE(files.unlocked_reads.empty());
    EXPECT_EQ(store.records, (std::vector<HistoryRecord>{"A", "B"}));

    files.lock_held.insert(PATH);
    history_reload(store, files, PATH);
    EXPECT_TRUE(store.file_unread);
    EXPECT_EQ(store.records, (std::vector<HistoryRecord>{"A", "B"}));
    HistoryStore at_start;
    history_load(at_start, files, PATH);
    EXPECT_TRUE(at_start.file_unread);
    EXPECT_TRUE(history_is_empty(at_start));

    files.lock_held.clear();
    history_load(at_start, files, PATH);
    EXPECT_FALSE(at_start.file_unread);
    EXPECT_EQ(at_start.records, store.records);
    EXPECT_TRUE(files.unlocked_reads.empty());
}

TEST_F(HistoryStoreTest, LongRecordsWithSpecialBytesComeBackWhole) {
    RecordTexts big;
    for (int column = 0; column < COLUMN_COUNT; ++column)
        big[column] = std::string(253, static_cast<char>('a' + column)) + ",\r\n%,\n";  // 259 bytes
    for (const RecordTexts& texts : {row("A", "one, two\r\nthree"), big, row("B")})
        ASSERT_TRUE(history_save_added(store, files, PATH, join_record(texts)));

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
    EXPECT_TRUE(history_save_added(store, files, PATH, "new"));
    EXPECT_EQ(files.files[PATH], expected + "new\r\n");
}

// Each step of a save (the lock, the read, then the rewrite) fails or
// loses power in turn: the file is always the old one or the new one,
// whole, and a file unread at start-up loses none of its records.
class HistorySaveOnAFailingDisk : public ::testing::Test {
protected:
    const std::string OLD = "A\r\nB\r\n";
    const std::vector<std::string> SAVE = {"lock",  "read",  "create", "write",
                                           "flush", "close", "move"};

    void SetUp() override {
        disk.put(PATH, OLD);
        disk.fail_at = 1;  // held open elsewhere at start-up
        history_load(store, disk, PATH);
        ASSERT_TRUE(store.file_unread);
        disk.steps.clear();
        disk.fail_at = 0;
        record = join_record(row("C"));
        new_content = OLD + record + "\r\n";
    }

    testing::FakeDisk disk;
    HistoryStore store;
    HistoryRecord record;
    std::string new_content;
};

TEST_F(HistorySaveOnAFailingDisk, AFailedStepKeepsTheOldFileForTheNextSave) {
    for (int step = 1; step <= static_cast<int>(SAVE.size()); ++step) {
        SCOPED_TRACE(SAVE[step - 1]);
        HistoryStore attempt = store;
        disk.steps.clear();
        disk.fail_at = step;
        EXPECT_FALSE(history_save_added(attempt, disk, PATH, record));
        EXPECT_EQ(disk.files[PATH].seen, OLD);
        EXPECT_EQ(disk.files[PATH].durable, OLD);
        EXPECT_FALSE(disk.exists(PATH + ".tmp"));

        disk.fail_at = 0;
        EXPECT_TRUE(history_save_added(attempt, disk, PATH, record));
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
        EXPECT_THROW((void)history_save_added(attempt, disk, PATH, record), testing::PowerLoss);
        disk.restart();
        EXPECT_EQ(disk.files[PATH].seen, step == static_cast<int>(SAVE.size()) ? new_content : OLD);
        disk.put(PATH, OLD);
    }
}

TEST_F(HistorySaveOnAFailingDisk, ALoadLocksBeforeItReads) {
    HistoryStore loaded;
    disk.steps.clear();
    history_load(loaded, disk, PATH);
    EXPECT_EQ(disk.steps, (std::vector<std::string>{"lock", "read"}));
    EXPECT_EQ(loaded.records, (std::vector<HistoryRecord>{"A", "B"}));
}

TEST_F(HistorySaveOnAFailingDisk, AFailedDeletionOfTheEmptiedFileKeepsIt) {
    disk.put(PATH, "A\r\n");
    history_load(store, disk, PATH);
    disk.steps.clear();
    disk.fail_at = 3;
    EXPECT_FALSE(history_save_removed(store, disk, PATH, {"A", 0}));
    EXPECT_EQ(disk.steps, (std::vector<std::string>{"lock", "read", "delete"}));
    EXPECT_EQ(disk.files[PATH].durable, "A\r\n");
}

}  // namespace
}  // namespace quorvel
