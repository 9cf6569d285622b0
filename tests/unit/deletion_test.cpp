#include "operations/deletion.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    scm.services[0].dependents_bytes = 100;
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::refused);
    EXPECT_EQ(prompt.shown.back().text, "App に依存するサービスがあるため削除できません。");
    EXPECT_EQ(prompt.shown.back().flags, 0x30u);
    EXPECT_EQ(scm.open_handles(), 0);

    // The manager says none, but another service's key names this one in
    // another letter case (a stopped dependent counts as well).
    scm.services[0].dependents_bytes = 0;
    registry.keys[SERVICES + "Other"]["DependOnService"] = std::string("Tcpip\0appsvc\0\0", 14);
    prompt.shown.clear();
    EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::refused);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, "エラー");
    EXPECT_FALSE(scm.services[0].removed);
}

TEST_F(Deletion, ServiceNamesCompareAsciiCaseOnly) {
    EXPECT_TRUE(same_service_name("AppSvc", "appSVC"));
    EXPECT_FALSE(same_service_name("AppSvc", "AppSvc2"));
    // 0x83 0x41 is "ア"; its trail byte is an 'A' that must not be folded.
    EXPECT_TRUE(same_service_name("\x83\x41x", "\x83\x41X"));
    EXPECT_FALSE(same_service_name("\x83\x41", "\x83\x61"));
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
                  "サービスのロード順序と依存関係は復元できませんが、削除しますか？");
        EXPECT_EQ(prompt.shown[0].flags, 0x34u);
    }
}

TEST_F(Deletion, UnopenableManagerSkipsTheRemainingChecks) {
    scm.manager_opens = false;
    scm.services[0].dependents_bytes = 100;
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
                EXPECT_FALSE(run.store_holds_the_record());
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
    ASSERT_TRUE(read_registry_tree(registry, key, expected));
    expected[0].values.erase(expected[0].values.begin());  // DeleteFlag, first by name
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(find_snapshot(files, SNAPSHOTS, history.records, 0), first_snapshot);
}

TEST_F(DeletionSnapshot, ASnapshotThatCannotBeSavedStopsTheDeletion) {
    const struct {
        const char* name;
        bool folder_locked;
        bool key_unreadable;
    } cases[] = {{"folder not writable", true, false}, {"key not readable", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.shown.clear();
        if (c.folder_locked) files.locked.insert(SNAPSHOTS);
        if (c.key_unreadable) registry.unreadable.insert(key + "\\Parameters");
        EXPECT_EQ(run(row_of("App", "AppSvc")), DeletionOutcome::not_saved);
        files.locked.clear();
        registry.unreadable.clear();
        EXPECT_FALSE(scm.services[0].removed);
        EXPECT_EQ(rows_removed, 0);
        EXPECT_TRUE(history.records.empty());
        EXPECT_TRUE(files.files.empty());
        ASSERT_FALSE(prompt.shown.empty());
        EXPECT_EQ(prompt.shown.back().text,
                  "App のレジストリ設定を保存できないため、削除を中止しました。\r\n"
                  "履歴ファイルのあるフォルダーに書き込めるか確かめてください。");
        EXPECT_EQ(prompt.shown.back().caption, "エラー");
        EXPECT_EQ(prompt.shown.back().flags, 0x30u);
    }
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
