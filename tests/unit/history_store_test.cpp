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

}  // namespace
}  // namespace quorvel
