#include "operations/deletion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "fakes/fake_file_system.h"
#include "fakes/fake_prompt.h"
#include "fakes/fake_service_manager.h"
#include "history/snapshot_store.h"

namespace quorvel {
namespace {

using testing::FakeFileSystem;
using testing::FakePause;
using testing::FakePrompt;
using testing::FakeServiceManager;
using testing::FakeService;
using testing::FakeServiceRegistry;

const std::string SERVICES = "SYSTEM\\CurrentControlSet\\Services\\";
const std::string HISTORY = "C:\\tools\\quorvel.his";
const std::string SNAPSHOTS = "C:\\tools\\quorvel.snapshots";

class FakeSystemPaths : public SystemPaths {
public:
    std::string system_directory() override { return "C:\\WINDOWS\\system32"; }
    std::string expand_environment(const std::string& text) override {
        std::string out = text;
        for (const char* name : {"%SystemRoot%", "%windir%"}) {
            const auto at = out.find(name);
            if (at != std::string::npos) out.replace(at, std::string(name).size(), "C:\\WINDOWS");
        }
        return out;
    }
};

RecordTexts row_of(const std::string& display, const std::string& name,
                   const std::string& path = "C:\\app\\svc.exe",
                   const std::string& kind = "独自プロセス", const std::string& state = "") {
    return {display, "", state, "手動", "LocalSystem", path, name, kind};
}

class Deletion : public ::testing::Test {
protected:
    FakeServiceManager scm;
    FakeServiceRegistry registry;
    FakeSystemPaths paths;
    FakePrompt prompt;
    FakePause pause;
    HistoryStore history;
    FakeFileSystem files;
    DeletionContext context{scm, registry, paths, prompt, pause, history, files, HISTORY, SNAPSHOTS};
    int rows_removed = 0;

    void SetUp() override {
        scm.add("AppSvc", "App Service", 0x10, 1);
        registry.keys[SERVICES + "AppSvc"];
    }

    DeletionOutcome run(const RecordTexts& row, std::uint32_t service_type = 0x10) {
        return run_deletion(row, service_type, context, [this] { ++rows_removed; });
    }

    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const auto& box : prompt.shown) out.push_back(box.caption);
        return out;
    }
};

// Decided by the type number: the recognizer driver (8) shows an empty
// kind label and is refused all the same.
TEST_F(Deletion, DriversAreRefusedWithTheSameMessage) {
    const struct {
        const char* kind;
        std::uint32_t type;
    } drivers[] = {{"デバイスドライバ", 0x1}, {"ファイルシステムドライバ", 0x2}, {"", 0x8}};
    for (const auto& driver : drivers) {
        SCOPED_TRACE(driver.type);
        prompt.shown.clear();
        EXPECT_EQ(run(row_of("Disk", "disk", "C:\\x.sys", driver.kind), driver.type),
                  DeletionOutcome::refused);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text, "Disk はデバイスドライバのため削除できません。");
        EXPECT_EQ(prompt.shown[0].caption, "エラー");
        EXPECT_EQ(prompt.shown[0].flags, 0x30u);
    }
    EXPECT_TRUE(scm.log.empty());  // refused before the manager is asked
}

TEST_F(Deletion, SystemDirectoryPathsAskFirstInEveryWriting) {
    const char* in_system[] = {
        "c:\\windows\\SYSTEM32\\svc.exe",
        "\"C:\\Windows\\System32\\svc.exe\" -k net",
        "%SystemRoot%\\system32\\svchost.exe -k netsvcs",
        "%windir%\\System32\\x.exe",
        "\\SystemRoot\\System32\\drivers\\x.sys",
        "C:\\WINDOWS\\system32x.exe",  // a prefix match, as the rule has it
    };
    for (const char* path : in_system) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(lies_in_system_directory(path, paths));
    }
    for (const char* path : {"C:\\WINDOWS\\system3", "D:\\WINDOWS\\system32\\x.exe",
                             "\"C:\\Program Files\\x.exe\"", "%ProgramFiles%\\x.exe", ""}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(lies_in_system_directory(path, paths));
    }
}

TEST_F(Deletion, NoToTheSystemQuestionChangesNothing) {
    prompt.answers = {ANSWER_NO};
    EXPECT_EQ(run(row_of("App", "AppSvc", "C:\\Windows\\System32\\app.exe")),
              DeletionOutcome::refused);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text,
              "App はシステム関係のサービスと思われます。\r\n"
              "システムが起動できなくなる等の不具合が発生する可能性があります。\r\n"
              "削除してもよろしいですか？");
    EXPECT_EQ(prompt.shown[0].caption, "削除");
    EXPECT_EQ(prompt.shown[0].flags, 0x34u);
    EXPECT_TRUE(scm.log.empty());
    EXPECT_TRUE(history.records.empty());
}

TEST_F(Deletion, DependentsAreFoundByTheManagerOrInAnyServicesKey) {
    scm.services[0].dependents = Answer::yes;
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::refused);
    EXPECT_EQ(prompt.shown.back().text, "App に依存するサービスがあるため削除できません。");
    EXPECT_EQ(prompt.shown.back().flags, 0x30u);
    EXPECT_EQ(scm.open_handles(), 0);

    // The manager says none, but another service's key names this one in
    // another letter case (a stopped dependent counts as well).
    scm.services[0].dependents = Answer::no;
    registry.keys[SERVICES + "Other"]["DependOnService"] = std::string("Tcpip\0appsvc\0\0", 14);
    prompt.shown.clear();
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::refused);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, "エラー");
    EXPECT_FALSE(scm.services[0].removed);
}

TEST_F(Deletion, LoadOrderGroupOrDependenciesAsk) {
    struct Case {
        const char* what;
        std::string group;
        std::vector<std::string> dependencies;
        const char* registry_value;
    };
    const Case cases[] = {
        {"group", "NetworkProvider", {}, nullptr},
        {"dependency", "", {"Tcpip"}, nullptr},
        {"dependency only in the key", "", {}, "DependOnService"},
        {"group dependency only in the key", "", {}, "DependOnGroup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scm.services[0].config.load_order_group = c.group;
        scm.services[0].config.dependencies = c.dependencies;
        registry.keys[SERVICES + "AppSvc"].clear();
        if (c.registry_value) registry.keys[SERVICES + "AppSvc"][c.registry_value] = std::string("X\0\0", 3);
        prompt.shown.clear();
        prompt.answers = {ANSWER_NO};
        EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::refused);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text,
                  "App にはロード順序または依存関係が設定されています。削除しますか？");
        EXPECT_EQ(prompt.shown[0].caption, "削除");
        EXPECT_EQ(prompt.shown[0].flags, 0x34u);
    }
}

TEST_F(Deletion, UnopenableManagerSkipsTheRemainingChecks) {
    scm.manager_opens = false;
    scm.services[0].dependents = Answer::yes;
    prompt.answers = {ANSWER_NO};  // the confirmation
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::refused);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, "削除の確認");
}

TEST_F(Deletion, ConfirmedDeletionSavesTheRecordFirstThenDeletes) {
    const RecordTexts row = row_of("App, the service", "AppSvc");
    EXPECT_EQ(run(row), DeletionOutcome::deleted);
    EXPECT_EQ(captions(), (std::vector<std::string>{"削除の確認", "削除"}));
    EXPECT_EQ(prompt.shown[0].text, "サービス名 App, the service を削除しますか？");
    EXPECT_EQ(prompt.shown[0].flags, 4u);
    EXPECT_EQ(prompt.shown[1].text, "サービス名 App, the service を削除しました");
    EXPECT_EQ(prompt.shown[1].flags, 0u);
    EXPECT_TRUE(scm.services[0].removed);
    EXPECT_EQ(rows_removed, 1);
    ASSERT_EQ(history.records.size(), 1u);
    EXPECT_EQ(split_record(history.records[0]), row);
    EXPECT_EQ(files.files[HISTORY], history.records[0] + "\r\n");
    EXPECT_EQ(scm.open_handles(), 0);
}

TEST_F(Deletion, NoToTheConfirmationChangesNothing) {
    prompt.answers = {ANSWER_NO};
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::refused);
    EXPECT_FALSE(scm.services[0].removed);
    EXPECT_EQ(files.replace_calls, 0);
}

TEST_F(Deletion, AnUnsavableRecordStopsTheDeletion) {
    files.files[HISTORY] = "Old,,,,,,Old,\r\n";
    history_load(history, files, HISTORY);
    files.replace_fails = true;
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::not_saved);
    EXPECT_FALSE(scm.services[0].removed);
    EXPECT_EQ(rows_removed, 0);
    EXPECT_EQ(history.records.size(), 1u);
    EXPECT_EQ(files.files[HISTORY], "Old,,,,,,Old,\r\n");
    EXPECT_EQ(prompt.shown.back().caption, "エラー");
    EXPECT_EQ(prompt.shown.back().flags, 0x30u);
    EXPECT_NE(prompt.shown.back().text.find("App "), std::string::npos);
}

TEST_F(Deletion, AFailedDeletionTakesTheRecordOutAgain) {
    files.files[HISTORY] = "Old,,,,,,Old,\r\n";
    history_load(history, files, HISTORY);
    scm.services[0].removable = false;
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::failed);
    EXPECT_EQ(prompt.shown.back().text, "サービス名 App を削除できませんでした");
    EXPECT_EQ(prompt.shown.back().caption, "削除");
    EXPECT_EQ(history.records.size(), 1u);
    EXPECT_EQ(files.files[HISTORY], "Old,,,,,,Old,\r\n");
    EXPECT_EQ(rows_removed, 0);
}

// What the disk kept of the history at the moment a service was deleted.
class WatchedServiceManager : public FakeServiceManager {
public:
    explicit WatchedServiceManager(const testing::FakeDisk& disk) : disk_(disk) {}
    std::optional<std::string> history_at_removal;
    int steps_before_removal = -1;

    bool remove(ScHandle service) override {
        const auto file = disk_.files.find(HISTORY);
        if (file != disk_.files.end()) history_at_removal = file->second.durable;
        steps_before_removal = static_cast<int>(disk_.steps.size());
        return FakeServiceManager::remove(service);
    }

private:
    const testing::FakeDisk& disk_;
};

// One deletion over a disk whose step number `failing_step` fails.
struct DeletionOnAFailingDisk {
    testing::FakeDisk disk;
    WatchedServiceManager scm{disk};
    FakeServiceRegistry registry;
    FakeSystemPaths paths;
    FakePrompt prompt;
    FakePause pause;
    HistoryStore history;
    DeletionContext context{scm, registry, paths, prompt, pause, history, disk, HISTORY, SNAPSHOTS};
    DeletionOutcome outcome = DeletionOutcome::refused;

    DeletionOnAFailingDisk(bool unread_at_start, bool removable, int failing_step) {
        scm.add("AppSvc", "App Service", 0x10, 1).removable = removable;
        registry.keys[SERVICES + "AppSvc"];
        disk.put(HISTORY, OLD_FILE);
        disk.fail_at = unread_at_start ? 1 : 0;
        history_load(history, disk, HISTORY);
        disk.steps.clear();
        disk.fail_at = failing_step;
        outcome = run_deletion(ROW, 0x10, context, [] {});
    }

    bool removed() const { return scm.services[0].removed; }
    // A snapshot of the key is on the disk, flushed.
    bool snapshot_kept() const {
        for (const auto& entry : disk.files)
            if (entry.first.rfind(SNAPSHOTS + "\\", 0) == 0 && !entry.second.durable.empty())
                return true;
        return false;
    }

    // A snapshot under its own name, which answers for its record; "" when none.
    std::string live_snapshot() const {
        const std::string end = "-AppSvc.reg";
        for (const auto& entry : disk.files)
            if (entry.first.size() > end.size() &&
                entry.first.compare(entry.first.size() - end.size(), end.size(), end) == 0)
                return entry.first;
        return "";
    }

    bool store_holds_the_record() const {
        return std::find(history.records.begin(), history.records.end(), join_record(ROW)) !=
               history.records.end();
    }

    static const std::string OLD_FILE;
    static const RecordTexts ROW;
};
const std::string DeletionOnAFailingDisk::OLD_FILE = "Old,,,,,,Old,\r\n";
const RecordTexts DeletionOnAFailingDisk::ROW = row_of("App, the service", "AppSvc");

// Every step of the history's disk fails in turn, with a service that can
// or cannot be deleted and a history file read or unread at start-up.
TEST(DeletionFailures, NoServiceGoesWithoutAKeptRecordAndNoRecordStaysForOneThatWasNotDeleted) {
    const std::string with_record = DeletionOnAFailingDisk::OLD_FILE +
                                    join_record(DeletionOnAFailingDisk::ROW) + "\r\n";
    for (bool unread : {false, true}) {
        for (bool removable : {true, false}) {
            const DeletionOnAFailingDisk unfailing(unread, removable, 0);
            ASSERT_EQ(unfailing.removed(), removable);
            const int steps = static_cast<int>(unfailing.disk.steps.size());
            for (int step = 1; step <= steps; ++step) {
                SCOPED_TRACE(::testing::Message() << "unread " << unread << ", removable "
                                                  << removable << ", failing step " << step);
                const DeletionOnAFailingDisk run(unread, removable, step);
                if (run.removed()) {
                    EXPECT_EQ(run.outcome, DeletionOutcome::deleted);
                    EXPECT_EQ(run.scm.history_at_removal, with_record);
                    EXPECT_TRUE(run.snapshot_kept());
                    EXPECT_TRUE(run.store_holds_the_record());
                    continue;
                }
                // The store shows what the file holds: the record only
                // where taking it out again failed.
                const std::string& seen = run.disk.files.at(HISTORY).seen;
                const bool file_holds = seen.find(join_record(DeletionOnAFailingDisk::ROW)) !=
                                        std::string::npos;
                EXPECT_EQ(run.store_holds_the_record(), file_holds);
                const std::string& told = run.prompt.shown.back().text;
                if (file_holds) {
                    EXPECT_TRUE(run.snapshot_kept());  // still restorable whole
                    EXPECT_NE(told.find(HISTORY), std::string::npos) << told;
                } else if (!run.live_snapshot().empty()) {
                    // Outlives its record only when the user is told where.
                    EXPECT_NE(told.find(run.live_snapshot()), std::string::npos) << told;
                }
                // The file is as it was, unless the step that failed came
                // after the refused deletion and was one of the rollback's.
                const std::string& durable = run.disk.files.at(HISTORY).durable;
                const bool after_removal = step > run.scm.steps_before_removal &&
                                           run.scm.steps_before_removal >= 0;
                if (!after_removal) {
                    EXPECT_EQ(durable, DeletionOnAFailingDisk::OLD_FILE);
                } else if (durable != DeletionOnAFailingDisk::OLD_FILE) {
                    EXPECT_EQ(durable, with_record);
                }
            }
        }
    }
}

TEST_F(Deletion, LongTextsAreUsedWhole) {
    // 280, 286 and 336 bytes: more than any 260-byte buffer holds.
    std::string display;
    for (int i = 0; i < 28; ++i) display += "長い表示名";
    const std::string service = "qt_" + std::string(283, 'n');
    const std::string path = "C:\\app\\svc.exe " + std::string(320, 'a');
    scm.add(service, display, 0x10, 1);
    registry.keys[SERVICES + service];
    const RecordTexts row = row_of(display, service, path);
    EXPECT_EQ(run(row), DeletionOutcome::deleted);
    for (const auto& box : prompt.shown) EXPECT_NE(box.text.find(display), std::string::npos);
    EXPECT_NE(std::find(scm.log.begin(), scm.log.end(), "delete " + service), scm.log.end());
    EXPECT_EQ(history.records, std::vector<std::string>{join_record(row)});
}

// The snapshot of the service's key, written before the service goes.
class DeletionSnapshot : public Deletion {
protected:
    const std::string key = SERVICES + "AppSvc";
    const std::string first_snapshot = SNAPSHOTS + "\\000001-AppSvc.reg";

    void SetUp() override {
        Deletion::SetUp();
        registry.set(key, {"Start", VALUE_DWORD, std::string("\3\0\0\0", 4)});
        registry.set(key + "\\Parameters", {"ServiceDll", VALUE_EXPAND_SZ, "C:\\app.dll"});
        // Left by an earlier deletion that another program's handle held up.
        registry.set(key, {"DeleteFlag", VALUE_DWORD, std::string("\1\0\0\0", 4)});
        // Volatile, filled by Plug and Play while the service runs.
        registry.set(key + "\\Enum", {"Count", VALUE_DWORD, std::string("\1\0\0\0", 4)});
        registry.set(key + "\\Enum\\Deeper", {"0", VALUE_SZ, "Root\\LEGACY"});
    }
};

TEST_F(DeletionSnapshot, TheWholeKeyIsSavedBeforeTheServiceIsDeleted) {
    struct Watching : FakeServiceManager {
        FakeFileSystem* files = nullptr;
        std::string snapshot;
        bool saved_first = false;
        bool remove(ScHandle service) override {
            saved_first = files->exists(snapshot) && files->exists(HISTORY);
            return FakeServiceManager::remove(service);
        }
    } watching;
    watching.services = scm.services;
    watching.files = &files;
    watching.snapshot = first_snapshot;
    DeletionContext watched{watching, registry, paths, prompt, pause, history, files, HISTORY,
                            SNAPSHOTS};
    EXPECT_EQ(run_deletion(row_of("App", "AppSvc"), 0x10, watched, [] {}), DeletionOutcome::deleted);
    EXPECT_TRUE(watching.saved_first);
    RegistryTree saved, expected;
    ASSERT_TRUE(load_snapshot(files, first_snapshot, saved));
    ASSERT_EQ(read_registry_tree(registry, key, expected), RegistryRead::found);
    expected[0].values.erase(expected[0].values.begin());  // DeleteFlag, first by name
    expected.erase(expected.begin() + 1, expected.begin() + 3);  // Enum and below
    EXPECT_EQ(saved, expected);
    std::string found;
    EXPECT_EQ(find_snapshot(files, SNAPSHOTS, history.records, 0, found), SnapshotSearch::found);
    EXPECT_EQ(found, first_snapshot);
}

TEST_F(DeletionSnapshot, ASnapshotThatCannotBeSavedStopsTheDeletionAndSaysWhy) {
    const std::string head = "App のレジストリ設定を保存できないため、削除を中止しました。\r\n";
    const struct {
        const char* name;
        std::function<void()> break_it;
        std::string advice;
    } cases[] = {
        {"folder not writable", [this] { files.locked.insert(SNAPSHOTS); },
         "履歴ファイルのあるフォルダーに書き込めるか確かめてください。"},
        {"folder held by another copy", [this] { files.lock_held.insert(SNAPSHOTS); },
         "履歴ファイルのあるフォルダーに書き込めるか確かめてください。"},
        {"key not readable",
         [this] { registry.unreadable.insert(key + "\\Parameters"); },
         "サービスのレジストリ キーに読み取れないキーまたは値があります。"
         "管理者として実行しているか、ほかのプログラムがキーを変更していないか確かめてください。"},
        {"a name a .reg file cannot hold",
         [this] { registry.set(key, {"two\r\nlines", VALUE_SZ, "x"}); },
         "サービスのレジストリ キーに、.reg ファイルに書けない名前 (改行などを含む名前) の"
         "キーまたは値があります。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.shown.clear();
        c.break_it();
        EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::not_saved);
        files.locked.clear();
        files.lock_held.clear();
        registry.unreadable.clear();
        registry.keys[key].erase("two\r\nlines");
        EXPECT_FALSE(scm.services[0].removed);
        EXPECT_EQ(rows_removed, 0);
        EXPECT_TRUE(history.records.empty());
        EXPECT_TRUE(files.files.empty());
        ASSERT_FALSE(prompt.shown.empty());
        EXPECT_EQ(prompt.shown.back().text, head + c.advice);
        EXPECT_EQ(prompt.shown.back().caption, "エラー");
        EXPECT_EQ(prompt.shown.back().flags, 0x30u);
    }
}

// Deleted behind the program's back: the key is gone with the service.
TEST_F(DeletionSnapshot, AServiceThatVanishedIsReportedAsNotDeleted) {
    files.files[HISTORY] = "Old,,,,,,Old,\r\n";
    history_load(history, files, HISTORY);
    scm.services.clear();
    for (auto entry = registry.keys.begin(); entry != registry.keys.end();)
        entry = entry->first.rfind(key, 0) == 0 ? registry.keys.erase(entry) : std::next(entry);
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::failed);
    EXPECT_EQ(captions(), (std::vector<std::string>{"削除の確認", "削除"}));
    EXPECT_EQ(prompt.shown[1].text, "サービス名 App を削除できませんでした");
    EXPECT_EQ(prompt.shown[1].flags, 0u);
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{HISTORY, "Old,,,,,,Old,\r\n"}}));
    EXPECT_EQ(rows_removed, 0);
}

TEST_F(DeletionSnapshot, NoSnapshotIsLeftWithoutItsRecord) {
    files.locked.insert(HISTORY);  // the history cannot be written
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::not_saved);
    EXPECT_FALSE(files.exists(first_snapshot));
    EXPECT_FALSE(scm.services[0].removed);

    files.locked.clear();
    scm.services[0].removable = false;  // the manager refuses the deletion
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::failed);
    EXPECT_TRUE(history.records.empty());
    EXPECT_TRUE(files.files.empty());
}

// What the rollback of a refused deletion could not undo is told: a record
// left in the file for a service that is still there (the file named), a
// snapshot that could be neither deleted nor set aside (named). One that
// merely could not be deleted is set aside, to answer for no later record.
TEST_F(DeletionSnapshot, WhatTheRollbackCouldNotUndoIsTold) {
    struct Refusing : FakeServiceManager {
        std::function<void()> meanwhile;
        bool remove(ScHandle) override {
            meanwhile();
            return false;
        }
    };
    const std::string not_deleted = "サービス名 App を削除できませんでした";
    const std::string record_stays =
        "削除の前に保存した記録を履歴ファイルから取り除けなかったため、記録が履歴に残っています。"
        "ほかのプログラムが履歴ファイルを開いていないか、書き込めるか確かめてください。\r\n" +
        HISTORY;
    const std::string left =
        "スナップショットのファイルを削除も名前の変更もできなかったため、元の名前のまま残っています。"
        "同じサービスを次に削除する前に、このファイルをフォルダーの外へ移してください。\r\n" +
        first_snapshot;
    const std::string kept = kept_snapshot_path(first_snapshot);
    const struct {
        const char* name;
        std::function<void(FakeFileSystem&)> meanwhile;
        std::string text;
        unsigned flags;
        std::vector<std::string> snapshots;
        bool record_in_file;
    } cases[] = {
        {"all undone", [](FakeFileSystem&) {}, not_deleted, 0u, {}, false},
        {"another copy keeps the history's lock",
         [](FakeFileSystem& f) { f.lock_held.insert(HISTORY); },
         not_deleted + "\r\n\r\n" + record_stays, 0x30u, {first_snapshot}, true},
        {"the snapshot cannot be deleted",
         [this](FakeFileSystem& f) { f.undeletable.insert(first_snapshot); }, not_deleted, 0u,
         {kept}, false},
        {"the snapshot can be neither deleted nor renamed",
         [this](FakeFileSystem& f) {
             f.undeletable.insert(first_snapshot);
             f.rename_fails = true;
         },
         not_deleted + "\r\n\r\n" + left, 0x30u, {first_snapshot}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFileSystem disk;
        FakePrompt told;
        HistoryStore store;
        Refusing refusing;
        refusing.services = scm.services;
        refusing.meanwhile = [&disk, &c] { c.meanwhile(disk); };
        DeletionContext refused{refusing, registry, paths, told,  pause,
                                store,    disk,     HISTORY, SNAPSHOTS};
        EXPECT_EQ(run_deletion(row_of("App", "AppSvc"), 0x10, refused, [] {}),
                  DeletionOutcome::failed);
        ASSERT_FALSE(told.shown.empty());
        EXPECT_EQ(told.shown.back().text, c.text);
        EXPECT_EQ(told.shown.back().caption, "削除");
        EXPECT_EQ(told.shown.back().flags, c.flags);
        std::vector<std::string> snapshots;
        for (const auto& file : disk.files)
            if (file.first != HISTORY) snapshots.push_back(file.first);
        EXPECT_EQ(snapshots, c.snapshots);
        EXPECT_EQ(disk.exists(HISTORY), c.record_in_file);
        EXPECT_EQ(store.records.size(), c.record_in_file ? 1u : 0u);
    }
}

// The same when the record could not be saved in the first place.
TEST_F(DeletionSnapshot, ASnapshotWithoutItsRecordIsToldIfItCannotBeDropped) {
    files.files[HISTORY] = "Old,,,,,,Old,\r\n";
    history_load(history, files, HISTORY);
    files.replace_fails = false;
    files.locked.insert(HISTORY);
    files.undeletable.insert(first_snapshot);
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::not_saved);
    EXPECT_TRUE(files.exists(kept_snapshot_path(first_snapshot)));
    const std::string not_saved =
        "App の削除履歴を保存できないため、削除を中止しました。\r\n"
        "履歴ファイルに書き込めるか確かめてください。";
    EXPECT_EQ(prompt.shown.back().text, not_saved);

    prompt.shown.clear();
    files.files.erase(kept_snapshot_path(first_snapshot));
    files.rename_fails = true;
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::not_saved);
    EXPECT_EQ(prompt.shown.back().text,
              not_saved + "\r\n\r\n"
                          "スナップショットのファイルを削除も名前の変更もできなかったため、"
                          "元の名前のまま残っています。同じサービスを次に削除する前に、"
                          "このファイルをフォルダーの外へ移してください。\r\n" +
                  first_snapshot);
    EXPECT_EQ(prompt.shown.back().flags, 0x30u);
    EXPECT_FALSE(scm.services[0].removed);
}

// A check that cannot be made is no "nothing there": each refuses, naming
// the check, before the confirmation.
TEST_F(Deletion, AnAnswerThatCannotBeHadRefuses) {
    const std::string dependents =
        "App に依存するサービスがあるかどうかを確かめられないため、削除できません。";
    const std::string dependencies =
        "App のロード順序と依存関係を確かめられないため、削除できません。";
    const struct {
        const char* name;
        std::function<void()> make_unknown;
        std::string text;
    } cases[] = {
        {"the manager's list of dependents",
         [this] { scm.services[0].dependents = Answer::unknown; }, dependents},
        {"the services in the registry", [this] { registry.unreadable.insert(SERVICES.substr(0, SERVICES.size() - 1)); },
         dependents},
        {"another service's dependencies",
         [this] {
             registry.keys[SERVICES + "Other"]["DependOnService"] = std::string("X\0\0", 3);
             registry.unreadable.insert(SERVICES + "Other|DependOnService");
         },
         dependents},
        {"its own DependOnService",
         [this] { registry.unreadable.insert(SERVICES + "AppSvc|DependOnService"); }, dependencies},
        {"its own DependOnGroup",
         [this] { registry.unreadable.insert(SERVICES + "AppSvc|DependOnGroup"); }, dependencies},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.shown.clear();
        registry.unreadable.clear();
        scm.services[0].dependents = Answer::no;
        c.make_unknown();
        EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::refused);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text, c.text);
        EXPECT_EQ(prompt.shown[0].caption, "エラー");
        EXPECT_EQ(prompt.shown[0].flags, 0x30u);
        EXPECT_EQ(scm.open_handles(), 0);
    }
    EXPECT_FALSE(scm.services[0].removed);
}

TEST_F(Deletion, AKnownDependentOutweighsAListThatCannotBeRead) {
    registry.keys[SERVICES + "Broken"]["DependOnService"] = std::string("X\0\0", 3);
    registry.unreadable.insert(SERVICES + "Broken|DependOnService");
    registry.keys[SERVICES + "Zed"]["DependOnService"] = std::string("AppSvc\0\0", 8);
    EXPECT_EQ(has_dependent_in_registry(registry, "AppSvc"), Answer::yes);
    EXPECT_EQ(has_dependent_in_registry(registry, "Nobody"), Answer::unknown);
    registry.unreadable.clear();
    EXPECT_EQ(has_dependent_in_registry(registry, "Nobody"), Answer::no);
}

// Another copy of the program, or anyone, changes the history while this
// one runs: what they saved stays, in its order.
TEST_F(Deletion, RecordsSavedByOthersMeanwhileStay) {
    files.files[HISTORY] = "A,,,,,,A,\r\n";
    history_load(history, files, HISTORY);
    files.files[HISTORY] += "B,,,,,,B,\r\n";  // another copy deleted B
    const RecordTexts row = row_of("App", "AppSvc");
    EXPECT_EQ(run(row), DeletionOutcome::deleted);
    const std::string with_ours = "A,,,,,,A,\r\nB,,,,,,B,\r\n" + join_record(row) + "\r\n";
    EXPECT_EQ(files.files[HISTORY], with_ours);
    EXPECT_EQ(history.records.size(), 3u);  // the store follows the file
    EXPECT_TRUE(std::find(files.unlocked_writes.begin(), files.unlocked_writes.end(), HISTORY) ==
                files.unlocked_writes.end());

    // A refused deletion takes out its own record only.
    scm.add("Next", "Next", 0x10, STATE_STOPPED).removable = false;
    registry.keys[SERVICES + "Next"];
    files.files[HISTORY] += "C,,,,,,C,\r\n";
    EXPECT_EQ(run(row_of("Next", "Next")), DeletionOutcome::failed);
    EXPECT_EQ(files.files[HISTORY], with_ours + "C,,,,,,C,\r\n");
}

// A history unreadable at start-up is read by the deletion's save: the
// store then holds it, whatever became of the deletion.
TEST_F(Deletion, AnyDeletionThatReadTheHistoryLeavesTheStoreAsTheFile) {
    files.files[HISTORY] = "A,,,,,,A,\r\n";
    files.locked.insert(HISTORY);
    history_load(history, files, HISTORY);
    EXPECT_TRUE(history_is_empty(history));
    files.locked.clear();
    scm.services[0].removable = false;
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::failed);
    EXPECT_EQ(history.records, std::vector<HistoryRecord>{"A,,,,,,A,"});
    EXPECT_EQ(files.files[HISTORY], "A,,,,,,A,\r\n");
}

class StopAndDelete : public ::testing::Test {
protected:
    FakeServiceManager scm;
    FakePause pause;
    void SetUp() override { scm.add("Svc", "Svc", 0x10, STATE_RUNNING); }
    int queries() const {
        return static_cast<int>(std::count(scm.log.begin(), scm.log.end(), "query Svc"));
    }
};

TEST_F(StopAndDelete, PollsUntilStoppedThenDeletes) {
    scm.services[0].queries_until_stopped = 3;  // stopped at the fourth poll
    EXPECT_TRUE(stop_and_delete("Svc", scm, pause));
    EXPECT_EQ(queries(), 1 + 4);
    EXPECT_EQ(pause.pauses, std::vector<unsigned>(3, 500));
    EXPECT_EQ(scm.log.back(), "close manager");
    EXPECT_EQ(scm.log[scm.log.size() - 3], "delete Svc");
    EXPECT_EQ(scm.open_handles(), 0);
}

TEST_F(StopAndDelete, GivesUpAfterTenPollsAndDeletesAnyway) {
    scm.services[0].queries_until_stopped = -1;
    EXPECT_TRUE(stop_and_delete("Svc", scm, pause));
    EXPECT_EQ(queries(), 1 + 10);
    EXPECT_EQ(pause.pauses.size(), 10u);
    EXPECT_TRUE(scm.services[0].removed);
}

TEST_F(StopAndDelete, NoStopForStoppedServicesOrRefusedRequestsOrUnreadableStatus) {
    struct Case {
        const char* what;
        std::uint32_t state;
        bool stop_accepted;
        bool status_readable;
        bool stop_expected;
    };
    const Case cases[] = {
        {"already stopped", STATE_STOPPED, true, true, false},
        {"stop refused", STATE_RUNNING, false, true, true},
        {"status unreadable", STATE_RUNNING, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeServiceManager fresh;
        FakeService& service = fresh.add("Svc", "Svc", 0x10, c.state);
        service.stop_accepted = c.stop_accepted;
        service.status_readable = c.status_readable;
        FakePause no_pause;
        EXPECT_TRUE(stop_and_delete("Svc", fresh, no_pause));
        EXPECT_EQ(std::count(fresh.log.begin(), fresh.log.end(), "stop Svc"), c.stop_expected);
        EXPECT_TRUE(no_pause.pauses.empty());
        EXPECT_TRUE(fresh.services[0].removed);
    }
}

TEST_F(StopAndDelete, FailsWithoutManagerOrService) {
    scm.manager_opens = false;
    EXPECT_FALSE(stop_and_delete("Svc", scm, pause));
    FakeServiceManager empty;
    EXPECT_FALSE(stop_and_delete("Missing", empty, pause));
    EXPECT_EQ(empty.open_handles(), 0);
}

}  // namespace
}  // namespace quorvel
