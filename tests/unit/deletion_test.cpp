#include "operations/deletion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "catalogue/enumeration.h"
#include "fakes/fake_code_page.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_prompt.h"
#include "fakes/fake_service_manager.h"
#include "fakes/fake_system_paths.h"
#include "fakes/registry_bytes.h"
#include "history/snapshot_store.h"
#include "text/user_texts.h"

namespace quorvel {
namespace {

using testing::CAFE_ACCENTED;
using testing::CAFE_PLAIN;
using testing::FakeCodePage;
using testing::FakeFileSystem;
using testing::FakePause;
using testing::FakePrompt;
using testing::FakeService;
using testing::FakeServiceManager;
using testing::FakeServiceRegistry;
using testing::FakeSystemPaths;
using testing::le32;
using testing::wide_multi_sz;
using testing::wide_sz;

const WideText SERVICES = WideText(SERVICES_KEY) + u"\\";
const std::string HISTORY = "C:\\tools\\quorvel.his";
const std::string SNAPSHOTS = "C:\\tools\\quorvel.snapshots";

const std::string CONFIG_UNREADABLE =
    " の現在の構成を読み取れないため、削除できません。\r\n"
    "削除履歴には削除するときの構成を記録するため、読み取れないままでは削除しません。";

// A stopped service, started by hand, with its key: what the list shows
// of it is what a fresh read gives.
FakeService& add_listed(FakeServiceManager& scm, FakeServiceRegistry& registry,
                        const WideText& name, const std::string& display,
                        const std::string& path = "C:\\app\\svc.exe") {
    FakeService& service = scm.add_exact(name, display, 0x10, STATE_STOPPED);
    service.config.start_type = 3;
    service.config.start_name = "LocalSystem";
    service.config.binary_path = path;
    registry.keys[SERVICES + name];
    return service;
}

// The row the list made of the service.
ServiceRow row_of(const FakeService& service) {
    return build_row(service.record, &service.config, std::string());
}

// Message boxes that may change the world while they are shown, as the
// user or another program can.
class WorldChangingPrompt : public FakePrompt {
public:
    std::function<void(const testing::ShownBox&)> while_shown = [](const testing::ShownBox&) {};

    int message_box(const std::string& text, const std::string& caption,
                    unsigned flags) override {
        const int answer = FakePrompt::message_box(text, caption, flags);
        while_shown(shown.back());
        return answer;
    }
};

class Deletion : public ::testing::Test {
protected:
    FakeServiceManager scm;
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    FakeSystemPaths paths;
    WorldChangingPrompt prompt;
    FakePause pause;
    HistoryStore history;
    FakeFileSystem files;
    DeletionContext context{scm,   registry, code_page, paths,   prompt,
                            pause, history,  files,     HISTORY, SNAPSHOTS};
    int rows_removed = 0;

    void SetUp() override { add_listed(scm, registry, u"AppSvc", "App"); }

    DeletionOutcome run(const ServiceRow& row) {
        return run_deletion(row, context, [this] { ++rows_removed; });
    }
    DeletionOutcome run(std::size_t service = 0) { return run(row_of(scm.services[service])); }

    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const auto& box : prompt.shown) out.push_back(box.caption);
        return out;
    }
};

// Decided by the type number: the recognizer driver (8) shows an empty
// kind label and is refused all the same.
TEST_F(Deletion, DriversAreRefusedWithTheSameMessage) {
    for (std::uint32_t type : {0x1u, 0x2u, 0x8u}) {
        SCOPED_TRACE(type);
        prompt.shown.clear();
        ServiceConfig config;
        config.binary_path = "C:\\x.sys";
        const ServiceRow driver = build_row({u"disk", "disk", "Disk", type, STATE_RUNNING}, &config,
                                            std::string());
        EXPECT_EQ(run(driver), DeletionOutcome::refused);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text, "Disk はデバイスドライバのため削除できません。");
        EXPECT_EQ(prompt.shown[0].caption, ERROR_CAPTION);
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
    scm.services[0].config.binary_path = "C:\\Windows\\System32\\app.exe";
    prompt.answers = {ANSWER_NO};
    EXPECT_EQ(run(), DeletionOutcome::refused);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text,
              "App はシステム関係のサービスと思われます。\r\n"
              "システムが起動できなくなる等の不具合が発生する可能性があります。\r\n"
              "削除してもよろしいですか？");
    EXPECT_EQ(prompt.shown[0].caption, DELETE_CAPTION);
    EXPECT_EQ(prompt.shown[0].flags, 0x34u);
    EXPECT_TRUE(scm.log.empty());
    EXPECT_TRUE(history.records.empty());
}

TEST_F(Deletion, DependentsAreFoundByTheManagerOrInAnyServicesKey) {
    scm.services[0].dependents = Answer::yes;
    EXPECT_EQ(run(), DeletionOutcome::refused);
    EXPECT_EQ(prompt.shown.back().text, "App に依存するサービスがあるため削除できません。");
    EXPECT_EQ(prompt.shown.back().flags, 0x30u);

    // The manager says none, but another service's key names this one in
    // another letter case (a stopped dependent counts as well).
    scm.services[0].dependents = Answer::no;
    registry.set(SERVICES + u"Other", {u"DependOnService", VALUE_MULTI_SZ,
                                       wide_multi_sz({u"Tcpip", u"appsvc"})});
    prompt.shown.clear();
    EXPECT_EQ(run(), DeletionOutcome::refused);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, ERROR_CAPTION);
    EXPECT_FALSE(scm.services[0].removed);
}

TEST_F(Deletion, LoadOrderGroupOrDependenciesAsk) {
    struct Case {
        const char* what;
        std::string group;
        std::vector<std::string> dependencies;
        const char16_t* registry_value;
    };
    const Case cases[] = {
        {"group", "NetworkProvider", {}, nullptr},
        {"dependency", "", {"Tcpip"}, nullptr},
        {"dependency only in the key", "", {}, u"DependOnService"},
        {"group dependency only in the key", "", {}, u"DependOnGroup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scm.services[0].config.load_order_group = c.group;
        scm.services[0].config.dependencies = c.dependencies;
        registry.keys[SERVICES + u"AppSvc"].clear();
        if (c.registry_value)
            registry.set(SERVICES + u"AppSvc",
                         {c.registry_value, VALUE_MULTI_SZ, wide_multi_sz({u"X"})});
        prompt.shown.clear();
        prompt.answers = {ANSWER_NO};
        EXPECT_EQ(run(), DeletionOutcome::refused);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text,
                  "App にはロード順序または依存関係が設定されています。削除しますか？");
        EXPECT_EQ(prompt.shown[0].caption, DELETE_CAPTION);
        EXPECT_EQ(prompt.shown[0].flags, 0x34u);
    }
}

TEST_F(Deletion, UnopenableManagerSkipsTheRemainingChecks) {
    scm.manager_opens = false;
    scm.services[0].dependents = Answer::yes;
    prompt.answers = {ANSWER_NO};  // the confirmation
    EXPECT_EQ(run(), DeletionOutcome::refused);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, CONFIRMATION_CAPTION);
}

TEST_F(Deletion, ConfirmedDeletionSavesTheRecordFirstThenDeletes) {
    add_listed(scm, registry, u"Comma", "App, the service");
    const ServiceRow row = row_of(scm.services[1]);
    EXPECT_EQ(run(row), DeletionOutcome::deleted);
    EXPECT_EQ(captions(), (std::vector<std::string>{CONFIRMATION_CAPTION, DELETE_CAPTION}));
    EXPECT_EQ(prompt.shown[0].text, "サービス名 App, the service を削除しますか？");
    EXPECT_EQ(prompt.shown[0].flags, 4u);
    EXPECT_EQ(prompt.shown[1].text, "サービス名 App, the service を削除しました");
    EXPECT_EQ(prompt.shown[1].flags, 0u);
    EXPECT_TRUE(scm.services[1].removed);
    EXPECT_FALSE(scm.services[0].removed);
    EXPECT_EQ(rows_removed, 1);
    ASSERT_EQ(history.records.size(), 1u);
    EXPECT_EQ(split_record(history.records[0]), row.texts);
    EXPECT_EQ(files.files[HISTORY], history.records[0] + "\r\n");
}

TEST_F(Deletion, NoToTheConfirmationChangesNothing) {
    prompt.answers = {ANSWER_NO};
    EXPECT_EQ(run(), DeletionOutcome::refused);
    EXPECT_FALSE(scm.services[0].removed);
    EXPECT_EQ(files.replace_calls, 0);
}

TEST_F(Deletion, AnUnsavableRecordStopsTheDeletion) {
    files.files[HISTORY] = "Old,,,,,,Old,\r\n";
    history_load(history, files, HISTORY);
    files.replace_fails = true;
    EXPECT_EQ(run(), DeletionOutcome::not_saved);
    EXPECT_FALSE(scm.services[0].removed);
    EXPECT_EQ(rows_removed, 0);
    EXPECT_EQ(history.records.size(), 1u);
    EXPECT_EQ(files.files[HISTORY], "Old,,,,,,Old,\r\n");
    EXPECT_EQ(prompt.shown.back().caption, ERROR_CAPTION);
    EXPECT_EQ(prompt.shown.back().flags, 0x30u);
    EXPECT_NE(prompt.shown.back().text.find("App "), std::string::npos);
}

TEST_F(Deletion, AFailedDeletionTakesTheRecordOutAgain) {
    files.files[HISTORY] = "Old,,,,,,Old,\r\n";
    history_load(history, files, HISTORY);
    scm.services[0].removable = false;
    EXPECT_EQ(run(), DeletionOutcome::failed);
    EXPECT_EQ(prompt.shown.back().text, "サービス名 App を削除できませんでした");
    EXPECT_EQ(prompt.shown.back().caption, DELETE_CAPTION);
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

    bool remove(const WideText& name) override {
        const auto file = disk_.files.find(HISTORY);
        if (file != disk_.files.end()) history_at_removal = file->second.durable;
        steps_before_removal = static_cast<int>(disk_.steps.size());
        return FakeServiceManager::remove(name);
    }

private:
    const testing::FakeDisk& disk_;
};

// One deletion over a disk whose step number `failing_step` fails.
struct DeletionOnAFailingDisk {
    testing::FakeDisk disk;
    WatchedServiceManager scm{disk};
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    FakeSystemPaths paths;
    FakePrompt prompt;
    FakePause pause;
    HistoryStore history;
    DeletionContext context{scm,   registry, code_page, paths,   prompt,
                            pause, history,  disk,      HISTORY, SNAPSHOTS};
    std::string record;
    DeletionOutcome outcome = DeletionOutcome::refused;

    DeletionOnAFailingDisk(bool unread_at_start, bool removable, int failing_step) {
        add_listed(scm, registry, u"AppSvc", "App, the service").removable = removable;
        const ServiceRow row = row_of(scm.services[0]);
        record = join_record(row.texts);
        disk.put(HISTORY, OLD_FILE);
        disk.fail_at = unread_at_start ? 1 : 0;
        history_load(history, disk, HISTORY);
        disk.steps.clear();
        disk.fail_at = failing_step;
        outcome = run_deletion(row, context, [] {});
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
        return std::find(history.records.begin(), history.records.end(), record) !=
               history.records.end();
    }

    static const std::string OLD_FILE;
};
const std::string DeletionOnAFailingDisk::OLD_FILE = "Old,,,,,,Old,\r\n";

// Every step of the history's disk fails in turn, with a service that can
// or cannot be deleted and a history file read or unread at start-up.
TEST(DeletionFailures, NoServiceGoesWithoutAKeptRecordAndNoRecordStaysForOneThatWasNotDeleted) {
    for (bool unread : {false, true}) {
        for (bool removable : {true, false}) {
            const DeletionOnAFailingDisk unfailing(unread, removable, 0);
            ASSERT_EQ(unfailing.removed(), removable);
            const std::string with_record =
                DeletionOnAFailingDisk::OLD_FILE + unfailing.record + "\r\n";
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
                const bool file_holds = seen.find(run.record) != std::string::npos;
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
    add_listed(scm, registry, widen_ascii(service), display, path);
    const ServiceRow row = row_of(scm.services[1]);
    EXPECT_EQ(run(row), DeletionOutcome::deleted);
    for (const auto& box : prompt.shown) EXPECT_NE(box.text.find(display), std::string::npos);
    EXPECT_NE(std::find(scm.log.begin(), scm.log.end(), "delete " + service), scm.log.end());
    EXPECT_EQ(history.records, std::vector<std::string>{join_record(row.texts)});
}

// The record is read from the service when the user has said Yes, not
// taken from the list, which may be minutes old.
TEST_F(Deletion, TheRecordHoldsTheServiceAsItIsWhenDeleted) {
    const ServiceRow listed = row_of(scm.services[0]);
    prompt.while_shown = [this](const testing::ShownBox& box) {
        if (box.caption != CONFIRMATION_CAPTION) return;
        FakeService& now = scm.services[0];
        now.config.binary_path = "C:\\app\\v2\\svc.exe";
        now.config.start_type = 2;
        now.config.start_name = ".\\qvtuser";
        now.config.display_name = "App v2";
        now.record.current_state = STATE_RUNNING;
        registry.set(SERVICES + u"AppSvc", {u"Description", VALUE_SZ, wide_sz(u"now described")});
    };
    EXPECT_EQ(run(listed), DeletionOutcome::deleted);
    ASSERT_EQ(history.records.size(), 1u);
    const RecordTexts saved = split_record(history.records[0]);
    EXPECT_EQ(saved, (RecordTexts{"App v2", "now described", "開始", "自動", ".\\qvtuser",
                                  "C:\\app\\v2\\svc.exe", "AppSvc", "独自プロセス"}));
    EXPECT_TRUE(scm.services[0].stop_requested);  // it ran when deleted
    EXPECT_EQ(prompt.shown.back().text, "サービス名 App を削除しました");  // as the row said
}

TEST_F(Deletion, DescriptionsAreRecordedAsTheListReadsThem) {
    registry.set(SERVICES + u"AppSvc", {u"Description", VALUE_SZ, wide_sz(u"described")});
    context.skip_descriptions = true;
    EXPECT_EQ(run(), DeletionOutcome::deleted);
    ASSERT_EQ(history.records.size(), 1u);
    EXPECT_EQ(split_record(history.records[0])[COL_DESCRIPTION], "");
}

// Without the service's configuration as it is now there is no record to
// restore it from.
TEST_F(Deletion, AServiceWhoseConfigurationCannotBeReadNowIsNotDeleted) {
    const struct {
        const char* name;
        std::function<void(FakeServiceManager&)> break_it;
    } cases[] = {
        {"configuration", [](FakeServiceManager& m) { m.services[0].config_readable = false; }},
        {"status", [](FakeServiceManager& m) { m.services[0].status_readable = false; }},
        {"service not opened", [](FakeServiceManager& m) { m.services[0].openable = false; }},
        {"manager not opened", [](FakeServiceManager& m) { m.manager_opens = false; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceManager broken;
        add_listed(broken, registry, u"AppSvc", "App");
        const ServiceRow row = row_of(broken.services[0]);
        c.break_it(broken);
        FakePrompt told;
        DeletionContext with_broken{broken, registry, code_page, paths,   told,
                                    pause,  history,  files,     HISTORY, SNAPSHOTS};
        EXPECT_EQ(run_deletion(row, with_broken, [this] { ++rows_removed; }),
                  DeletionOutcome::refused);
        ASSERT_EQ(told.shown.size(), 2u);
        EXPECT_EQ(told.shown[0].caption, CONFIRMATION_CAPTION);
        EXPECT_EQ(told.shown[1].text, "App" + CONFIG_UNREADABLE);
        EXPECT_EQ(told.shown[1].caption, ERROR_CAPTION);
        EXPECT_EQ(told.shown[1].flags, 0x30u);
        EXPECT_EQ(std::count(broken.log.begin(), broken.log.end(), "delete AppSvc"), 0);
        EXPECT_FALSE(broken.services[0].removed);
        EXPECT_TRUE(files.files.empty());
        EXPECT_TRUE(history.records.empty());
        EXPECT_EQ(rows_removed, 0);
    }
}

// The snapshot of the service's key, written before the service goes.
class DeletionSnapshot : public Deletion {
protected:
    const WideText key = SERVICES + u"AppSvc";
    const std::string first_snapshot = SNAPSHOTS + "\\000001-AppSvc.reg";

    void SetUp() override {
        Deletion::SetUp();
        registry.set(key, {u"Start", VALUE_DWORD, le32(3)});
        registry.set(key + u"\\Parameters",
                     {u"ServiceDll", VALUE_EXPAND_SZ, wide_sz(u"C:\\app.dll")});
        // Left by an earlier deletion that another program's handle held up.
        registry.set(key, {u"DeleteFlag", VALUE_DWORD, le32(1)});
        // Volatile, filled by Plug and Play while the service runs.
        registry.set(key + u"\\Enum", {u"Count", VALUE_DWORD, le32(1)});
        registry.set(key + u"\\Enum\\Deeper", {u"0", VALUE_SZ, wide_sz(u"Root\\LEGACY")});
    }
};

TEST_F(DeletionSnapshot, TheWholeKeyIsSavedBeforeTheServiceIsDeleted) {
    struct Watching : FakeServiceManager {
        FakeFileSystem* files = nullptr;
        std::string snapshot;
        bool saved_first = false;
        bool remove(const WideText& name) override {
            saved_first = files->exists(snapshot) && files->exists(HISTORY);
            return FakeServiceManager::remove(name);
        }
    } watching;
    watching.services = scm.services;
    watching.files = &files;
    watching.snapshot = first_snapshot;
    DeletionContext watched{watching, registry, code_page, paths,   prompt,
                            pause,    history,  files,     HISTORY, SNAPSHOTS};
    EXPECT_EQ(run_deletion(row_of(scm.services[0]), watched, [] {}), DeletionOutcome::deleted);
    EXPECT_TRUE(watching.saved_first);
    RegistryTree saved, expected;
    WideText unreadable;
    ASSERT_EQ(load_snapshot(files, first_snapshot, code_page, saved), SnapshotLoad::loaded);
    ASSERT_EQ(read_registry_tree(registry, key, expected, unreadable), RegistryRead::found);
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
        // The key that could not be read is named, so the administrator
        // knows where to look.
        {"key not readable",
         [this] { registry.unreadable.insert(key + u"\\Parameters"); },
         "サービスのレジストリ キーのうち、次のキーまたはその値を読み取れません。"
         "管理者として実行しているか、ほかのプログラムがキーを変更していないか確かめてください。\r\n"
         "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\AppSvc\\Parameters"},
        {"a name a .reg file cannot hold",
         [this] { registry.set(key, {u"two\r\nlines", VALUE_SZ, wide_sz(u"x")}); },
         "サービスのレジストリ キーに、.reg ファイルに書けない名前 (改行などを含む名前) の"
         "キーまたは値があります。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.shown.clear();
        c.break_it();
        EXPECT_EQ(run(), DeletionOutcome::not_saved);
        files.locked.clear();
        files.lock_held.clear();
        registry.unreadable.clear();
        registry.keys[key].erase(u"two\r\nlines");
        EXPECT_FALSE(scm.services[0].removed);
        EXPECT_EQ(rows_removed, 0);
        EXPECT_TRUE(history.records.empty());
        EXPECT_TRUE(files.files.empty());
        ASSERT_FALSE(prompt.shown.empty());
        EXPECT_EQ(prompt.shown.back().text, head + c.advice);
        EXPECT_EQ(prompt.shown.back().caption, ERROR_CAPTION);
        EXPECT_EQ(prompt.shown.back().flags, 0x30u);
    }
}

// Deleted behind the program's back while the confirmation was shown: the
// key is gone with the service (or, oddly, the key alone).
TEST_F(DeletionSnapshot, AServiceThatVanishedIsReportedAsNotDeleted) {
    for (bool service_gone : {true, false}) {
        SCOPED_TRACE(service_gone ? "service and key gone" : "key gone");
        FakeServiceManager vanishing;
        add_listed(vanishing, registry, u"AppSvc", "App");
        FakeServiceRegistry keys = registry;
        WorldChangingPrompt told;
        told.while_shown = [&](const testing::ShownBox&) {
            if (service_gone) vanishing.services.clear();
            for (auto entry = keys.keys.begin(); entry != keys.keys.end();)
                entry = entry->first.rfind(key, 0) == 0 ? keys.keys.erase(entry) : std::next(entry);
        };
        FakeFileSystem disk;
        disk.files[HISTORY] = "Old,,,,,,Old,\r\n";
        HistoryStore loaded;
        history_load(loaded, disk, HISTORY);
        DeletionContext vanished{vanishing, keys,   code_page, paths,   told,
                                 pause,     loaded, disk,      HISTORY, SNAPSHOTS};
        const ServiceRow row = row_of(vanishing.services[0]);
        EXPECT_EQ(run_deletion(row, vanished, [this] { ++rows_removed; }), DeletionOutcome::failed);
        ASSERT_EQ(told.shown.size(), 2u);
        EXPECT_EQ(told.shown[0].caption, CONFIRMATION_CAPTION);
        EXPECT_EQ(told.shown[1].text, "サービス名 App を削除できませんでした");
        EXPECT_EQ(told.shown[1].caption, DELETE_CAPTION);
        EXPECT_EQ(told.shown[1].flags, 0u);
        EXPECT_EQ(disk.files, (std::map<std::string, std::string>{{HISTORY, "Old,,,,,,Old,\r\n"}}));
        EXPECT_EQ(rows_removed, 0);
    }
}

TEST_F(DeletionSnapshot, NoSnapshotIsLeftWithoutItsRecord) {
    files.locked.insert(HISTORY);  // the history cannot be written
    EXPECT_EQ(run(), DeletionOutcome::not_saved);
    EXPECT_FALSE(files.exists(first_snapshot));
    EXPECT_FALSE(scm.services[0].removed);

    files.locked.clear();
    scm.services[0].removable = false;  // the manager refuses the deletion
    EXPECT_EQ(run(), DeletionOutcome::failed);
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
        bool remove(const WideText&) override {
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
        DeletionContext refused{refusing, registry, code_page, paths,   told,
                                pause,    store,    disk,      HISTORY, SNAPSHOTS};
        EXPECT_EQ(run_deletion(row_of(scm.services[0]), refused, [] {}), DeletionOutcome::failed);
        ASSERT_FALSE(told.shown.empty());
        EXPECT_EQ(told.shown.back().text, c.text);
        EXPECT_EQ(told.shown.back().caption, DELETE_CAPTION);
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
    EXPECT_EQ(run(), DeletionOutcome::not_saved);
    EXPECT_TRUE(files.exists(kept_snapshot_path(first_snapshot)));
    const std::string not_saved =
        "App の削除履歴を保存できないため、削除を中止しました。\r\n"
        "履歴ファイルに書き込めるか確かめてください。";
    EXPECT_EQ(prompt.shown.back().text, not_saved);

    prompt.shown.clear();
    files.files.erase(kept_snapshot_path(first_snapshot));
    files.rename_fails = true;
    EXPECT_EQ(run(), DeletionOutcome::not_saved);
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
        {"the services in the registry", [this] { registry.unreadable.insert(SERVICES_KEY); },
         dependents},
        {"another service's dependencies",
         [this] {
             registry.set(SERVICES + u"Other",
                          {u"DependOnService", VALUE_MULTI_SZ, wide_multi_sz({u"X"})});
             registry.unreadable.insert(SERVICES + u"Other|DependOnService");
         },
         dependents},
        {"its own DependOnService",
         [this] { registry.unreadable.insert(SERVICES + u"AppSvc|DependOnService"); },
         dependencies},
        {"its own DependOnGroup",
         [this] { registry.unreadable.insert(SERVICES + u"AppSvc|DependOnGroup"); }, dependencies},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.shown.clear();
        registry.unreadable.clear();
        scm.services[0].dependents = Answer::no;
        c.make_unknown();
        EXPECT_EQ(run(), DeletionOutcome::refused);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text, c.text);
        EXPECT_EQ(prompt.shown[0].caption, ERROR_CAPTION);
        EXPECT_EQ(prompt.shown[0].flags, 0x30u);
    }
    EXPECT_FALSE(scm.services[0].removed);
}

TEST_F(Deletion, AKnownDependentOutweighsAListThatCannotBeRead) {
    registry.set(SERVICES + u"Broken",
                 {u"DependOnService", VALUE_MULTI_SZ, wide_multi_sz({u"X"})});
    registry.unreadable.insert(SERVICES + u"Broken|DependOnService");
    registry.set(SERVICES + u"Zed",
                 {u"DependOnService", VALUE_MULTI_SZ, wide_multi_sz({u"AppSvc"})});
    EXPECT_EQ(has_dependent_in_registry(registry, u"AppSvc"), Answer::yes);
    EXPECT_EQ(has_dependent_in_registry(registry, u"Nobody"), Answer::unknown);
    registry.unreadable.clear();
    EXPECT_EQ(has_dependent_in_registry(registry, u"Nobody"), Answer::no);
}

// Another copy of the program, or anyone, changes the history while this
// one runs: what they saved stays, in its order.
TEST_F(Deletion, RecordsSavedByOthersMeanwhileStay) {
    files.files[HISTORY] = "A,,,,,,A,\r\n";
    history_load(history, files, HISTORY);
    files.files[HISTORY] += "B,,,,,,B,\r\n";  // another copy deleted B
    const ServiceRow row = row_of(scm.services[0]);
    EXPECT_EQ(run(row), DeletionOutcome::deleted);
    const std::string with_ours = "A,,,,,,A,\r\nB,,,,,,B,\r\n" + join_record(row.texts) + "\r\n";
    EXPECT_EQ(files.files[HISTORY], with_ours);
    EXPECT_EQ(history.records.size(), 3u);  // the store follows the file
    EXPECT_TRUE(std::find(files.unlocked_writes.begin(), files.unlocked_writes.end(), HISTORY) ==
                files.unlocked_writes.end());

    // A refused deletion takes out its own record only.
    add_listed(scm, registry, u"Next", "Next").removable = false;
    files.files[HISTORY] += "C,,,,,,C,\r\n";
    EXPECT_EQ(run(1), DeletionOutcome::failed);
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
    EXPECT_EQ(run(), DeletionOutcome::failed);
    EXPECT_EQ(history.records, std::vector<HistoryRecord>{"A,,,,,,A,"});
    EXPECT_EQ(files.files[HISTORY], "A,,,,,,A,\r\n");
}

// "qvtCafé" and "qvtCafe" look alike in the code page, and so in the list:
// every step of a deletion reaches the service of the row and no other.
class LookAlikes : public Deletion {
protected:
    static constexpr std::size_t ACCENTED = 1;
    static constexpr std::size_t PLAIN = 2;

    void SetUp() override {
        Deletion::SetUp();
        add_listed(scm, registry, CAFE_ACCENTED, "Cafe", "C:\\cafe\\accent.exe");
        add_listed(scm, registry, CAFE_PLAIN, "Cafe", "C:\\cafe\\plain.exe");
        registry.set(SERVICES + CAFE_ACCENTED, {u"Description", VALUE_SZ, wide_sz(u"accented")});
        registry.set(SERVICES + CAFE_PLAIN, {u"Description", VALUE_SZ, wide_sz(u"plain")});
        registry.set(SERVICES + CAFE_ACCENTED + u"\\Parameters",
                     {u"ServiceDll", VALUE_EXPAND_SZ, wide_sz(u"C:\\cafe\\accent.dll")});
    }

    // Deletes the row of `chosen` and checks that `other` was never reached.
    void delete_only(std::size_t chosen, std::size_t other, const char* description,
                     const char* path) {
        EXPECT_EQ(run(chosen), DeletionOutcome::deleted);
        EXPECT_TRUE(scm.services[chosen].removed);
        EXPECT_FALSE(scm.services[other].removed);
        EXPECT_TRUE(scm.services[other].calls.empty());
        ASSERT_EQ(history.records.size(), 1u);
        const RecordTexts saved = split_record(history.records[0]);
        EXPECT_EQ(saved[COL_SERVICE_NAME], "qvtCafe");
        EXPECT_EQ(saved[COL_DESCRIPTION], description);
        EXPECT_EQ(saved[COL_PATH], path);
        // The snapshot is of the chosen service's own key.
        RegistryTree snapshot;
        ASSERT_EQ(load_snapshot(files, SNAPSHOTS + "\\000001-qvtCafe.reg", code_page, snapshot),
                  SnapshotLoad::loaded);
        ASSERT_FALSE(snapshot.empty());
        EXPECT_EQ(snapshot[0].path, SERVICES + scm.services[chosen].record.exact_name);
    }
};

TEST_F(LookAlikes, DeletingTheAccentedOneLeavesThePlainOne) {
    delete_only(ACCENTED, PLAIN, "accented", "C:\\cafe\\accent.exe");
}

TEST_F(LookAlikes, DeletingThePlainOneLeavesTheAccentedOne) {
    delete_only(PLAIN, ACCENTED, "plain", "C:\\cafe\\plain.exe");
}

TEST_F(LookAlikes, DependentsAreThoseOfTheExactService) {
    // Both the manager and the keys know a dependent of the plain one only.
    scm.services[PLAIN].dependents = Answer::yes;
    registry.set(SERVICES + u"Other",
                 {u"DependOnService", VALUE_MULTI_SZ, wide_multi_sz({u"QVTCAFE"})});
    EXPECT_EQ(has_dependent_in_registry(registry, CAFE_PLAIN), Answer::yes);
    EXPECT_EQ(has_dependent_in_registry(registry, CAFE_ACCENTED), Answer::no);
    // Letter case is folded for ASCII letters only, as the system folds it.
    EXPECT_EQ(has_dependent_in_registry(registry, u"qvtCAF\u00c9"), Answer::no);

    EXPECT_EQ(run(ACCENTED), DeletionOutcome::deleted);
    EXPECT_EQ(run(PLAIN), DeletionOutcome::refused);
    EXPECT_EQ(prompt.shown.back().text, "Cafe に依存するサービスがあるため削除できません。");
    EXPECT_FALSE(scm.services[PLAIN].removed);
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
    EXPECT_TRUE(stop_and_delete(u"Svc", scm, pause));
    EXPECT_EQ(queries(), 1 + 4);
    EXPECT_EQ(pause.pauses, std::vector<unsigned>(3, 500));
    EXPECT_EQ(scm.log.back(), "delete Svc");
}

TEST_F(StopAndDelete, GivesUpAfterTenPollsAndDeletesAnyway) {
    scm.services[0].queries_until_stopped = -1;
    EXPECT_TRUE(stop_and_delete(u"Svc", scm, pause));
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
        EXPECT_TRUE(stop_and_delete(u"Svc", fresh, no_pause));
        EXPECT_EQ(std::count(fresh.log.begin(), fresh.log.end(), "stop Svc"), c.stop_expected);
        EXPECT_TRUE(no_pause.pauses.empty());
        EXPECT_TRUE(fresh.services[0].removed);
    }
}

TEST_F(StopAndDelete, FailsWithoutManagerOrService) {
    scm.manager_opens = false;
    EXPECT_FALSE(stop_and_delete(u"Svc", scm, pause));
    FakeServiceManager empty;
    EXPECT_FALSE(stop_and_delete(u"Missing", empty, pause));
}

TEST_F(StopAndDelete, ALookAlikeIsNeitherStoppedNorDeleted) {
    FakeServiceManager two;
    two.add_exact(CAFE_ACCENTED, "Cafe", 0x10, STATE_RUNNING);
    two.add_exact(CAFE_PLAIN, "Cafe", 0x10, STATE_RUNNING);
    EXPECT_TRUE(stop_and_delete(CAFE_ACCENTED, two, pause));
    EXPECT_TRUE(two.services[0].removed);
    EXPECT_TRUE(two.services[0].stop_requested);
    EXPECT_FALSE(two.services[1].removed);
    EXPECT_FALSE(two.services[1].stop_requested);
    EXPECT_TRUE(two.services[1].calls.empty());
}

}  // namespace
}  // namespace quorvel
