#include "operations/restoration.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/fake_file_system.h"
#include "fakes/fake_prompt.h"
#include "fakes/fake_service_manager.h"
#include "history/snapshot_store.h"

namespace quorvel {
namespace {

using testing::FakeFileSystem;
using testing::FakePrompt;
using testing::FakeServiceManager;
using testing::FakeServiceRegistry;

const std::string HISTORY = "C:\\q\\quorvel.his";

// A restoration of a record that has no snapshot, the history file holding
// the store's records.
int restore_without_snapshot(ServiceManager& scm, UserPrompt& prompt, HistoryStore& history,
                             int index) {
    FakeServiceRegistry registry;
    FakeFileSystem files;
    files.files[HISTORY] = write_history_lines(history.records);
    RestorationContext context{scm,   registry, prompt, files, "C:\\q\\quorvel.snapshots",
                               HISTORY};
    return restore_service(context, history, index);
}

RecordTexts texts_with(const char* state, const char* start_type, const char* kind) {
    return {"Foo Service", "does foo", state, start_type, "LocalSystem",
            "C:\\foo\\foo.exe -k", "FooSvc", kind};
}

TEST(RecreationFromTexts, MapsTheLabelsBack) {
    const struct {
        const char* state;
        const char* start_type;
        const char* kind;
        std::uint32_t service_type;
        std::uint32_t start;
        bool start_after;
    } cases[] = {
        {"開始", "自動", "独自プロセス", 0x10, 2, true},
        {"開始中", "手動", "共有プロセス", 0x20, 3, false},
        {"", "無効", "独自プロセス(対話許可)", 0x110, 4, false},
        {"", "ブート", "共有プロセス(対話許可)", 0x120, 0, false},
        {"", "システム", "デバイスドライバ", 0x1, 1, false},
        {"", "", "ファイルシステムドライバ", 0x2, 3, false},
        {"開始 ", "自動 ", "", 0x10, 3, false},  // near misses take the defaults
        {"", "unknown", "(対話許可)", 0x10, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.state) + "|" + c.start_type + "|" + c.kind);
        const Recreation got = recreation_from_texts(texts_with(c.state, c.start_type, c.kind));
        EXPECT_EQ(got.request.service_type, c.service_type);
        EXPECT_EQ(got.request.start_type, c.start);
        EXPECT_EQ(got.start_after, c.start_after);
    }
}

class RestoreService : public ::testing::Test {
protected:
    FakeServiceManager scm;
    FakePrompt prompt;
    HistoryStore history;

    void SetUp() override {
        history.records = {
            "First,,,手動,LocalSystem,C:\\first.exe,FirstSvc,独自プロセス",
            "Foo Service,does foo,開始,自動,.\\LocalService,C:\\foo\\foo.exe -k,FooSvc,"
            "共有プロセス",
            "Last,,開始中,無効,LocalSystem,C:\\last.exe,LastSvc,独自プロセス",
        };
    }
};

TEST_F(RestoreService, CreatesTheServiceStartsItAndDropsItsRecord) {
    EXPECT_EQ(restore_without_snapshot(scm, prompt, history, 1), 1);

    ASSERT_EQ(scm.created.size(), 1u);
    const CreateServiceRequest& request = scm.created[0];
    EXPECT_EQ(request.service_name, "FooSvc");
    EXPECT_EQ(request.display_name, "Foo Service");
    EXPECT_EQ(request.service_type, 0x20u);
    EXPECT_EQ(request.start_type, 2u);
    EXPECT_EQ(request.binary_path, "C:\\foo\\foo.exe -k");
    EXPECT_EQ(request.start_name, ".\\LocalService");

    const std::vector<std::string> log = {"open manager 2", "create FooSvc", "start FooSvc",
                                          "close FooSvc", "close manager"};
    EXPECT_EQ(scm.log, log);
    EXPECT_EQ(scm.open_handles(), 0);

    EXPECT_EQ(history.records.size(), 2u);
    EXPECT_EQ(history.records[0].rfind("First,", 0), 0u);
    EXPECT_EQ(history.records[1].rfind("Last,", 0), 0u);

    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "サービス名 Foo Service を復活しました");
    EXPECT_EQ(prompt.shown[0].caption, "復活");
    EXPECT_EQ(prompt.shown[0].flags, 0u);
}

TEST_F(RestoreService, StartsOnlyWhatWasRunning) {
    for (int index : {2, 0}) {  // "開始中", then the empty state
        SCOPED_TRACE(index);
        scm.log.clear();
        EXPECT_EQ(restore_without_snapshot(scm, prompt, history, index), 1);
        for (const std::string& entry : scm.log) EXPECT_NE(entry.rfind("start ", 0), 0u) << entry;
    }
    EXPECT_EQ(history.records.size(), 1u);
}

TEST_F(RestoreService, AServiceThatWillNotStartIsStillRestored) {
    struct RefusingStarts : FakeServiceManager {
        bool start(ScHandle) override { return false; }
    } refusing;
    EXPECT_EQ(restore_without_snapshot(refusing, prompt, history, 1), 1);
    EXPECT_EQ(history.records.size(), 2u);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, "復活");
}

TEST_F(RestoreService, FailuresKeepTheRecordAndSayWhich) {
    const struct {
        const char* name;
        bool manager_opens;
        bool name_taken;
    } cases[] = {
        {"the name exists again", true, true},
        {"the manager cannot be opened", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceManager failing;
        FakePrompt told;
        failing.manager_opens = c.manager_opens;
        if (c.name_taken) failing.add("FooSvc", "Someone else", 0x10, STATE_STOPPED);
        const std::vector<HistoryRecord> before = history.records;

        EXPECT_EQ(restore_without_snapshot(failing, told, history, 1), 0);

        EXPECT_EQ(history.records, before);
        EXPECT_EQ(failing.open_handles(), 0);
        for (const std::string& entry : failing.log) EXPECT_NE(entry.rfind("start ", 0), 0u);
        ASSERT_EQ(told.shown.size(), 1u);
        EXPECT_EQ(told.shown[0].text, "Foo Service の復活に失敗しました。");
        EXPECT_EQ(told.shown[0].caption, "エラー");
        EXPECT_EQ(told.shown[0].flags, 0x10u);
    }
}

TEST_F(RestoreService, AnIndexOutsideTheHistoryDoesNothing) {
    for (int index : {-1, 3}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(restore_without_snapshot(scm, prompt, history, index), 0);
    }
    EXPECT_TRUE(scm.log.empty());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(history.records.size(), 3u);
}

TEST_F(RestoreService, ReadsEachTextFromItsOwnColumn) {
    const struct {
        const char* name;
        RecordTexts texts;
        HistoryRecord line;
    } cases[] = {
        // A description with a comma and a line break is saved escaped.
        {"escaped",
         {"Foo", "one, two\r\nthree", "", "手動", "LocalSystem", "C:\\foo.exe", "FooSvc",
          "独自プロセス"},
         ""},
        // A text longer than the list's 259 bytes still comes back whole.
        {"long path",
         {"Foo", "", "", "手動", "LocalSystem", "C:\\" + std::string(400, 'p') + ".exe", "FooSvc",
          "独自プロセス"},
         ""},
        // A hand-edited line with six fields, the account left empty: the
        // missing texts are empty, and the empty account goes as it is.
        {"short",
         {"Foo", "", "", "手動", "", "C:\\foo.exe", "", ""},
         "Foo,,,手動,,C:\\foo.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceManager fresh;
        FakePrompt told;
        HistoryStore one;
        one.records = {c.line.empty() ? join_record(c.texts) : c.line};
        restore_without_snapshot(fresh, told, one, 0);
        ASSERT_EQ(fresh.created.size(), 1u);
        const CreateServiceRequest& request = fresh.created[0];
        EXPECT_EQ(request.display_name, c.texts[COL_NAME]);
        EXPECT_EQ(request.start_name, c.texts[COL_LOGON]);
        EXPECT_EQ(request.binary_path, c.texts[COL_PATH]);
        EXPECT_EQ(request.service_name, c.texts[COL_SERVICE_NAME]);
        EXPECT_EQ(request.service_type, 0x10u);
    }
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

const std::string FOLDER = "C:\\q\\quorvel.snapshots";
const std::string FOO_KEY = "SYSTEM\\CurrentControlSet\\Services\\FooSvc";

class RestoreWithSnapshot : public ::testing::Test {
protected:
    FakeServiceManager scm;
    FakeServiceRegistry registry;
    FakeFileSystem files;
    FakePrompt prompt;
    HistoryStore history;
    RestorationContext context{scm, registry, prompt, files, FOLDER, HISTORY};
    std::string snapshot;

    void SetUp() override {
        history.records = {"Foo,,開始,自動,LocalSystem,C:\\svchost.exe -k foo,FooSvc,共有プロセス"};
        files.files[HISTORY] = history.records[0] + "\r\n";
        const RegistryTree saved = {
            {FOO_KEY,
             {{"Type", VALUE_DWORD, std::string("\x20\0\0\0", 4)},
              {"Description", VALUE_SZ, std::string("does, foo\0", 10)},
              {"Group", VALUE_SZ, std::string("Net\0", 4)}}},
            {FOO_KEY + "\\Parameters", {{"ServiceDll", VALUE_EXPAND_SZ, "C:\\foo.dll"}}},
        };
        ASSERT_EQ(save_snapshot(files, FOLDER, history.records[0], "FooSvc", saved, snapshot),
                  SnapshotSave::saved);
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& box : prompt.shown) out.push_back(box.text);
        return out;
    }
};

TEST_F(RestoreWithSnapshot, BringsBackTheWholeKeyThenStartsTheService) {
    EXPECT_EQ(restore_service(context, history, 0), 1);
    const std::vector<std::string> log = {"open manager 2", "create FooSvc", "change FooSvc",
                                          "change FooSvc", "start FooSvc", "close FooSvc",
                                          "close manager"};
    EXPECT_EQ(scm.log, log);
    ASSERT_EQ(scm.changed.size(), 2u);
    EXPECT_EQ(scm.changed[0].kind, SettingKind::load_order_group);
    EXPECT_EQ(scm.changed[1].kind, SettingKind::description);
    EXPECT_EQ(registry.keys[FOO_KEY + "\\Parameters"]["ServiceDll"], "C:\\foo.dll");
    EXPECT_EQ(registry.keys[FOO_KEY]["Description"], std::string("does, foo\0", 10));
    EXPECT_TRUE(history.records.empty());
    EXPECT_FALSE(files.exists(snapshot));
    EXPECT_EQ(texts(), (std::vector<std::string>{"サービス名 Foo を復活しました"}));
}

// The only copy of what could not be written is the snapshot: it stays,
// set aside, and the message says where.
TEST_F(RestoreWithSnapshot, WhatCannotBeWrittenIsNamedAndItsSnapshotKept) {
    scm.refused_settings = {SettingKind::description};  // the registry still gets it
    registry.read_only = {FOO_KEY + "\\Parameters", FOO_KEY + "|Group"};
    EXPECT_EQ(restore_service(context, history, 0), 1);
    const std::string kept = FOLDER + "\\000001-FooSvc.kept.reg";
    EXPECT_EQ(texts(), (std::vector<std::string>{
                           "サービス名 Foo を復活しました",
                           "Foo は復活しましたが、次の設定は元に戻せませんでした。\r\n"
                           "Group\r\nParameters\r\n\r\n"
                           "スナップショットは削除せず、次のファイルとして残しました。\r\n" +
                               kept}));
    EXPECT_EQ(prompt.shown[1].caption, "復活");
    EXPECT_EQ(prompt.shown[1].flags, 0x30u);
    EXPECT_EQ(registry.keys[FOO_KEY]["Description"], std::string("does, foo\0", 10));
    EXPECT_TRUE(history.records.empty());
    EXPECT_FALSE(files.exists(snapshot));
    RegistryTree keys;
    ASSERT_TRUE(load_snapshot(files, kept, keys));  // whole, for restoring by hand
    EXPECT_EQ(keys[1].values[0].data, "C:\\foo.dll");
}

// Everything applied: the snapshot goes, or, when it cannot be deleted, is
// set aside without a word, as nothing is missing. Only a snapshot that
// can be neither is told of.
TEST_F(RestoreWithSnapshot, AWholeRestorationRetiresItsSnapshotOneWayOrAnother) {
    const std::string left_text =
        "スナップショットのファイルを削除も名前の変更もできなかったため、元の名前のまま残っています。"
        "同じサービスを次に削除する前に、このファイルをフォルダーの外へ移してください。\r\n" +
        snapshot;
    const struct {
        const char* name;
        bool undeletable, unrenamable;
        bool kept;
        std::vector<std::string> told;
    } cases[] = {
        {"deleted", false, false, false, {"サービス名 Foo を復活しました"}},
        {"set aside", true, false, true, {"サービス名 Foo を復活しました"}},
        {"neither", true, true, false, {"サービス名 Foo を復活しました", left_text}},
    };
    const std::string saved = files.files[snapshot];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HistoryStore one = history;
        files.files[HISTORY] = one.records[0] + "\r\n";
        files.files.erase(kept_snapshot_path(snapshot));
        files.files[snapshot] = saved;
        files.undeletable = c.undeletable ? std::set<std::string>{snapshot} : std::set<std::string>{};
        files.rename_fails = c.unrenamable;
        scm.services.clear();
        prompt.shown.clear();
        EXPECT_EQ(restore_service(context, one, 0), 1);
        EXPECT_EQ(texts(), c.told);
        EXPECT_EQ(files.exists(kept_snapshot_path(snapshot)), c.kept);
        EXPECT_EQ(files.exists(snapshot), c.undeletable && c.unrenamable);
        EXPECT_FALSE(files.exists(HISTORY));
    }
}

TEST_F(RestoreWithSnapshot, ANameMarkedForDeletionSaysWhatToDoAndKeepsEverything) {
    scm.add("FooSvc", "Foo", 0x20, STATE_STOPPED);
    scm.create_error = ERROR_MARKED_FOR_DELETE;
    EXPECT_EQ(restore_service(context, history, 0), 0);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text,
              "Foo の復活に失敗しました。\r\n"
              "同じ名前のサービスが削除待ちのまま残っているため、"
              "そのサービスを開いているプログラム (サービス管理ツールなど) を閉じるか、"
              "Windows を再起動してからやり直してください。");
    EXPECT_EQ(prompt.shown[0].flags, 0x10u);
    EXPECT_EQ(history.records.size(), 1u);
    EXPECT_TRUE(files.exists(snapshot));
    EXPECT_TRUE(registry.keys.empty());
}

TEST_F(RestoreWithSnapshot, AnUnusableSnapshotLeavesTheRowRestoreAndIsKept) {
    const std::string elsewhere =
        "REGEDIT4\r\n;record=" + history.records[0] +
        "\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
        "\"x\"=\"evil.exe\"\r\n";
    const std::string kept = kept_snapshot_path(snapshot);
    for (const std::string& content : {std::string("REGEDIT4\r\n;record=") + history.records[0] +
                                           "\r\n[broken",
                                       elsewhere}) {
        HistoryStore one = history;
        FakePrompt told;
        RestorationContext fresh{scm, registry, told, files, FOLDER, HISTORY};
        files.files[HISTORY] = one.records[0] + "\r\n";
        files.files.erase(kept);
        scm.services.clear();
        files.files[snapshot] = content;
        EXPECT_EQ(restore_service(fresh, one, 0), 1);
        EXPECT_TRUE(registry.keys.empty());
        EXPECT_EQ(files.files[kept], content);
        ASSERT_EQ(told.shown.size(), 2u);
        EXPECT_EQ(told.shown[1].text,
                  "Foo は復活しましたが、次の設定は元に戻せませんでした。\r\n" + snapshot +
                      " (読み込めません)\r\n\r\n"
                      "スナップショットは削除せず、次のファイルとして残しました。\r\n" +
                      kept);
    }
}

// What the administrator chose is what runs: a snapshot edited to another
// program, account, type, start or name changes none of them, and says so.
TEST_F(RestoreWithSnapshot, TheRecordDecidesWhatRunsWhateverTheSnapshotSays) {
    RegistryTree edited = {
        {FOO_KEY,
         {{"ImagePath", VALUE_EXPAND_SZ, std::string("C:\\evil.exe\0", 12)},
          {"ObjectName", VALUE_SZ, std::string("LocalSystem\0", 12)},  // agrees: silent
          {"Type", VALUE_DWORD, std::string("\x10\0\0\0", 4)},
          {"Start", VALUE_BINARY, std::string("\2\0\0\0", 4)},  // right number, wrong type
          {"DisplayName", VALUE_SZ, std::string("Other\0", 6)},
          {"Description", VALUE_SZ, std::string("kept\0", 5)}}},
        {FOO_KEY + "\\Enum", {{"Count", VALUE_DWORD, std::string("\1\0\0\0", 4)}}},
    };
    files.delete_file(snapshot);
    ASSERT_EQ(save_snapshot(files, FOLDER, history.records[0], "FooSvc", edited, snapshot),
              SnapshotSave::saved);
    EXPECT_EQ(restore_service(context, history, 0), 1);

    ASSERT_EQ(scm.created.size(), 1u);
    EXPECT_EQ(scm.created[0].binary_path, "C:\\svchost.exe -k foo");
    EXPECT_EQ(scm.created[0].display_name, "Foo");
    ASSERT_EQ(scm.changed.size(), 1u);
    EXPECT_EQ(scm.changed[0].kind, SettingKind::description);
    // Only the description reached the registry; the Enum key did not.
    EXPECT_EQ(registry.keys, (std::map<std::string, std::map<std::string, std::string>>{
                                 {FOO_KEY, {{"Description", std::string("kept\0", 5)}}}}));
    // Withheld values count as not restored: the snapshot is kept.
    EXPECT_EQ(texts(), (std::vector<std::string>{
                           "サービス名 Foo を復活しました",
                           "Foo は復活しましたが、次の設定は元に戻せませんでした。\r\n"
                           "ImagePath (記録と異なるため使いません)\r\n"
                           "Type (記録と異なるため使いません)\r\n"
                           "Start (記録と異なるため使いません)\r\n"
                           "DisplayName (記録と異なるため使いません)\r\n\r\n"
                           "スナップショットは削除せず、次のファイルとして残しました。\r\n" +
                               kept_snapshot_path(snapshot)}));
}

TEST_F(RestoreWithSnapshot, ABadSecurityDescriptorIsNamedAndNeverUsed) {
    const RegistryTree with_security = {
        {FOO_KEY, {}},
        // Its owner lies far outside the bytes.
        {FOO_KEY + "\\Security",
         {{"Security", VALUE_BINARY,
           std::string("\1\0\0\x80\xff\xff\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20)}}},
    };
    files.delete_file(snapshot);
    ASSERT_EQ(save_snapshot(files, FOLDER, history.records[0], "FooSvc", with_security, snapshot),
              SnapshotSave::saved);
    EXPECT_EQ(restore_service(context, history, 0), 1);
    EXPECT_TRUE(scm.changed.empty());
    EXPECT_TRUE(registry.keys[FOO_KEY + "\\Security"].empty());
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].text,
              "Foo は復活しましたが、次の設定は元に戻せませんでした。\r\n"
              "Security\\Security (正しいセキュリティ記述子ではありません)\r\n\r\n"
              "スナップショットは削除せず、次のファイルとして残しました。\r\n" +
                  kept_snapshot_path(snapshot));
}

// A snapshot held open elsewhere: the user chooses, No being the default.
TEST_F(RestoreWithSnapshot, AnUnreadableSnapshotAsksBeforeRestoringFromTheRecordAlone) {
    const std::string file_before = files.files[HISTORY];
    files.locked.insert(snapshot);
    prompt.answers = {ANSWER_NO};
    EXPECT_EQ(restore_service(context, history, 0), 0);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text,
              "Foo のレジストリ設定を保存したファイル (スナップショット) を今は読み込めません。"
              "ほかのプログラム (ウイルス対策ソフト、バックアップなど) が開いているか、"
              "フォルダーを読み取れない可能性があります。\r\n" +
                  snapshot +
                  "\r\n\r\n"
                  "一覧の内容だけで復活しますか？ スナップショットにしかない設定 (サービス DLL "
                  "など) は戻らず、スナップショットのファイルはそのまま残ります。\r\n"
                  "「いいえ」を選ぶと何も変更しません。しばらくしてからやり直してください。");
    EXPECT_EQ(prompt.shown[0].caption, "復活の確認");
    EXPECT_EQ(prompt.shown[0].flags, 0x134u);
    EXPECT_TRUE(scm.log.empty());
    EXPECT_EQ(history.records.size(), 1u);
    EXPECT_EQ(files.files[HISTORY], file_before);

    // Still held after the restoration: it can be neither deleted nor set
    // aside, and the user learns that it still names its record.
    prompt.shown.clear();
    prompt.answers = {ANSWER_YES};
    EXPECT_EQ(restore_service(context, history, 0), 1);
    EXPECT_TRUE(scm.changed.empty());
    EXPECT_TRUE(registry.keys.empty());
    EXPECT_FALSE(files.exists(HISTORY));
    EXPECT_TRUE(history.records.empty());
    EXPECT_TRUE(files.exists(snapshot));
    EXPECT_EQ(texts(), (std::vector<std::string>{
                           prompt.shown[0].text, "サービス名 Foo を復活しました",
                           "スナップショットのファイルを削除も名前の変更もできなかったため、"
                           "元の名前のまま残っています。同じサービスを次に削除する前に、"
                           "このファイルをフォルダーの外へ移してください。\r\n" +
                               snapshot}));
    EXPECT_EQ(prompt.shown[2].flags, 0x30u);
}

// Let go of by the time the service is back: the snapshot, never read, is
// set aside and named.
TEST_F(RestoreWithSnapshot, ASnapshotReleasedMeanwhileIsSetAsideAndNamed) {
    struct Releasing : FakeServiceManager {
        FakeFileSystem* files = nullptr;
        ScHandle create(ScHandle manager, const CreateServiceRequest& request) override {
            files->locked.clear();
            return FakeServiceManager::create(manager, request);
        }
    } releasing;
    releasing.files = &files;
    RestorationContext released{releasing, registry, prompt, files, FOLDER, HISTORY};
    files.locked.insert(snapshot);
    EXPECT_EQ(restore_service(released, history, 0), 1);
    EXPECT_EQ(texts().back(), "スナップショットは削除せず、次のファイルとして残しました。\r\n" +
                                  kept_snapshot_path(snapshot));
    EXPECT_FALSE(files.exists(snapshot));
    EXPECT_TRUE(registry.keys.empty());
}

// The service is back but its record could not leave the file: both stay
// paired, and the message says so and names the history file.
TEST_F(RestoreWithSnapshot, ARecordThatCannotLeaveTheFileIsToldAndKeepsItsSnapshot) {
    const std::string not_updated =
        "Foo の記録を履歴ファイルから取り除けなかったため、記録が履歴に残っています。"
        "ほかのプログラムが履歴ファイルを開いていないか、書き込めるか確かめてください。\r\n" +
        HISTORY;
    files.files[HISTORY] += "Other,,,,,,OtherSvc,\r\n";  // saved by another copy meanwhile
    files.lock_held.insert(HISTORY);
    EXPECT_EQ(restore_service(context, history, 0), 1);
    EXPECT_TRUE(files.exists(snapshot));
    EXPECT_EQ(history.records.size(), 1u);  // the file could not be had: as it was
    EXPECT_EQ(texts(), (std::vector<std::string>{"サービス名 Foo を復活しました", not_updated}));
    EXPECT_EQ(prompt.shown[1].flags, 0x30u);
    std::string found;
    EXPECT_EQ(find_snapshot(files, FOLDER, history.records, 0, found), SnapshotSearch::found);

    // Partly applied as well: the list, then the history, then the snapshot
    // under its own name, still its record's.
    scm.services.clear();
    prompt.shown.clear();
    registry.read_only = {FOO_KEY + "\\Parameters"};
    EXPECT_EQ(restore_service(context, history, 0), 1);
    EXPECT_EQ(prompt.shown[1].text,
              "Foo は復活しましたが、次の設定は元に戻せませんでした。\r\nParameters\r\n\r\n" +
                  not_updated +
                  "\r\n\r\nスナップショットは削除せず、次のファイルとして残しました。\r\n" +
                  snapshot);

    scm.services.clear();
    registry.read_only.clear();
    files.lock_held.clear();
    EXPECT_EQ(restore_service(context, history, 0), 1);
    EXPECT_FALSE(files.exists(snapshot));
    EXPECT_EQ(files.files[HISTORY], "Other,,,,,,OtherSvc,\r\n");
    EXPECT_EQ(history.records, std::vector<HistoryRecord>{"Other,,,,,,OtherSvc,"});
}

// A kept snapshot answers for no later record of the service: neither for
// one without a snapshot of its own (written by an older program) nor
// ahead of its own.
TEST_F(RestoreWithSnapshot, AKeptSnapshotNeverPairsWithALaterRecord) {
    registry.read_only = {FOO_KEY + "\\Parameters"};
    EXPECT_EQ(restore_service(context, history, 0), 1);
    ASSERT_TRUE(files.exists(kept_snapshot_path(snapshot)));

    // Deleted again, by a program that keeps no snapshots.
    registry.read_only.clear();
    registry.keys.clear();
    scm.services.clear();
    scm.changed.clear();
    history.records = {"Foo,,開始,自動,LocalSystem,C:\\svchost.exe -k foo,FooSvc,共有プロセス"};
    files.files[HISTORY] = history.records[0] + "\r\n";
    std::string found;
    EXPECT_EQ(find_snapshot(files, FOLDER, history.records, 0, found), SnapshotSearch::none);
    prompt.shown.clear();
    EXPECT_EQ(restore_service(context, history, 0), 1);
    EXPECT_TRUE(registry.keys.empty());
    EXPECT_TRUE(scm.changed.empty());
    EXPECT_EQ(texts(), std::vector<std::string>{"サービス名 Foo を復活しました"});

    // Deleted once more, with a snapshot: the next number, and its own.
    scm.services.clear();
    const HistoryRecord line = "Foo,,開始,自動,LocalSystem,C:\\svchost.exe -k foo,FooSvc,共有プロセス";
    std::string newer;
    ASSERT_EQ(save_snapshot(files, FOLDER, line, "FooSvc",
                            {{FOO_KEY, {{"Group", VALUE_SZ, std::string("New\0", 4)}}}}, newer),
              SnapshotSave::saved);
    EXPECT_EQ(newer, FOLDER + "\\000002-FooSvc.reg");
    history.records = {line};
    files.files[HISTORY] = line + "\r\n";
    EXPECT_EQ(restore_service(context, history, 0), 1);
    EXPECT_EQ(registry.keys[FOO_KEY]["Group"], std::string("New\0", 4));
    EXPECT_FALSE(files.exists(newer));
    EXPECT_TRUE(files.exists(kept_snapshot_path(snapshot)));
}

}  // namespace
}  // namespace quorvel
