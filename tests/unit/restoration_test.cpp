#include "operations/restoration.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fakes/fake_code_page.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_prompt.h"
#include "fakes/fake_restoration.h"
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
using testing::FakePrompt;
using testing::FakeServiceManager;
using testing::FakeServiceRegistry;
using testing::FakeSystemPaths;
using testing::le32;
using testing::wide_sz;

const std::string HISTORY = "C:\\q\\quorvel.his";

// A restoration of a record that has no snapshot, the history file holding
// the store's records.
bool restore_without_snapshot(ServiceManager& scm, UserPrompt& prompt, HistoryStore& history,
                              int index) {
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    FakeSystemPaths paths;
    FakeFileSystem files;
    files.files[HISTORY] = write_history_lines(history.records);
    RestorationContext context{scm,   registry, code_page, paths, prompt,
                               files, "C:\\q\\quorvel.snapshots", HISTORY};
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
        {"", "手動", "独自プロセス(ユーザー別テンプレート)", 0x50, 3, false},
        {"", "手動", "共有プロセス(ユーザー別インスタンス)", 0xE0, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.state) + "|" + c.start_type + "|" + c.kind);
        const Recreation got = recreation_from_texts(texts_with(c.state, c.start_type, c.kind));
        EXPECT_EQ(got.record.service_type, c.service_type);
        EXPECT_EQ(got.record.start_type, c.start);
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
    EXPECT_TRUE(restore_without_snapshot(scm, prompt, history, 1));

    ASSERT_EQ(scm.created.size(), 1u);
    const CreateServiceRequest& request = scm.created[0];
    EXPECT_EQ(request.service_name, u"FooSvc");
    EXPECT_EQ(request.display_name, u"Foo Service");
    EXPECT_EQ(request.service_type, 0x20u);
    EXPECT_EQ(request.start_type, 2u);
    EXPECT_EQ(request.binary_path, u"C:\\foo\\foo.exe -k");
    EXPECT_EQ(request.start_name, u".\\LocalService");
    EXPECT_EQ(scm.log, (std::vector<std::string>{"create FooSvc", "start FooSvc"}));

    EXPECT_EQ(history.records.size(), 2u);
    EXPECT_EQ(history.records[0].rfind("First,", 0), 0u);
    EXPECT_EQ(history.records[1].rfind("Last,", 0), 0u);

    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "サービス名 Foo Service を復活しました");
    EXPECT_EQ(prompt.shown[0].caption, RESTORED_CAPTION);
    EXPECT_EQ(prompt.shown[0].flags, 0u);
}

TEST_F(RestoreService, StartsOnlyWhatWasRunning) {
    for (int index : {2, 0}) {  // "開始中", then the empty state
        SCOPED_TRACE(index);
        scm.log.clear();
        EXPECT_TRUE(restore_without_snapshot(scm, prompt, history, index));
        for (const std::string& entry : scm.log) EXPECT_NE(entry.rfind("start ", 0), 0u) << entry;
    }
    EXPECT_EQ(history.records.size(), 1u);
}

TEST_F(RestoreService, AServiceThatWillNotStartIsStillRestored) {
    struct RefusingStarts : FakeServiceManager {
        bool start(const WideText&) override { return false; }
    } refusing;
    EXPECT_TRUE(restore_without_snapshot(refusing, prompt, history, 1));
    EXPECT_EQ(history.records.size(), 2u);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, RESTORED_CAPTION);
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

        EXPECT_FALSE(restore_without_snapshot(failing, told, history, 1));

        EXPECT_EQ(history.records, before);
        for (const std::string& entry : failing.log) EXPECT_NE(entry.rfind("start ", 0), 0u);
        ASSERT_EQ(told.shown.size(), 1u);
        EXPECT_EQ(told.shown[0].text, "Foo Service の復活に失敗しました。");
        EXPECT_EQ(told.shown[0].caption, ERROR_CAPTION);
        EXPECT_EQ(told.shown[0].flags, 0x10u);
    }
}

TEST_F(RestoreService, AnIndexOutsideTheHistoryDoesNothing) {
    for (int index : {-1, 3}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(restore_without_snapshot(scm, prompt, history, index));
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
        EXPECT_TRUE(restore_without_snapshot(fresh, told, one, 0));
        ASSERT_EQ(fresh.created.size(), 1u);
        const CreateServiceRequest& request = fresh.created[0];
        EXPECT_EQ(request.display_name, widen_ascii(c.texts[COL_NAME]));
        EXPECT_EQ(request.start_name, widen_ascii(c.texts[COL_LOGON]));
        EXPECT_EQ(request.binary_path, widen_ascii(c.texts[COL_PATH]));
        EXPECT_EQ(request.service_name, widen_ascii(c.texts[COL_SERVICE_NAME]));
        EXPECT_EQ(request.service_type, 0x10u);
    }
}

}  // namespace
}  // namespace quorvel


namespace quorvel {
namespace {

const std::string FOLDER = "C:\\q\\quorvel.snapshots";
const WideText SERVICES = WideText(SERVICES_KEY) + u"\\";
const WideText FOO_KEY = SERVICES + u"FooSvc";

const std::string PARTLY = "Foo は復活しましたが、次の設定は元に戻せませんでした。\r\n";
const std::string KEPT_AS = "スナップショットは削除せず、次のファイルとして残しました。\r\n";
const std::string LEFT_AS =
    "スナップショットのファイルを削除も名前の変更もできなかったため、元の名前のまま残っています。"
    "同じサービスを次に削除する前に、このファイルをフォルダーの外へ移してください。\r\n";

class RestoreWithSnapshot : public ::testing::Test, protected testing::FakeRestoration {
protected:
    RestoreWithSnapshot() : FakeRestoration(FOLDER, HISTORY) {}
    std::string snapshot;

    void SetUp() override {
        use_record("Foo,,開始,自動,LocalSystem,C:\\svchost.exe -k foo,FooSvc,共有プロセス");
        ASSERT_TRUE(use_snapshot({
            {FOO_KEY,
             {{u"Type", VALUE_DWORD, le32(0x20)},
              {u"Description", VALUE_SZ, wide_sz(u"does, foo")},
              {u"Group", VALUE_SZ, wide_sz(u"Net")}}},
            {FOO_KEY + u"\\Parameters",
             {{u"ServiceDll", VALUE_EXPAND_SZ, wide_sz(u"C:\\foo.dll")}}},
        }));
    }

    void use_record(const HistoryRecord& record) {
        history.records = {record};
        files.files[HISTORY] = record + "\r\n";
    }

    // The record's snapshot, in place of any earlier one.
    bool use_snapshot(const RegistryTree& keys) {
        if (!snapshot.empty()) {
            EXPECT_TRUE(files.delete_file(snapshot));
        }
        const std::string name = split_record(history.records[0])[COL_SERVICE_NAME];
        return save_snapshot(files, FOLDER, history.records[0], name, keys, snapshot) ==
               SnapshotSave::saved;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& box : prompt.shown) out.push_back(box.text);
        return out;
    }
};

TEST_F(RestoreWithSnapshot, BringsBackTheWholeKeyThenStartsTheService) {
    EXPECT_TRUE(restore_service(context, history, 0));
    const std::vector<std::string> log = {"create FooSvc", "change FooSvc", "change FooSvc",
                                          "start FooSvc"};
    EXPECT_EQ(scm.log, log);
    ASSERT_EQ(scm.changed.size(), 2u);
    EXPECT_EQ(scm.changed[0].kind, SettingKind::load_order_group);
    EXPECT_EQ(scm.changed[1].kind, SettingKind::description);
    EXPECT_EQ(registry.keys[FOO_KEY + u"\\Parameters"][u"ServiceDll"], wide_sz(u"C:\\foo.dll"));
    EXPECT_EQ(registry.keys[FOO_KEY][u"Description"], wide_sz(u"does, foo"));
    EXPECT_TRUE(history.records.empty());
    EXPECT_FALSE(files.exists(snapshot));
    EXPECT_EQ(texts(), (std::vector<std::string>{"サービス名 Foo を復活しました"}));
}

// The only copy of what could not be written is the snapshot: it stays,
// set aside, and the message says where.
TEST_F(RestoreWithSnapshot, WhatCannotBeWrittenIsNamedAndItsSnapshotKept) {
    scm.refused_settings = {SettingKind::description};  // the registry still gets it
    registry.read_only = {FOO_KEY + u"\\Parameters", FOO_KEY + u"|Group"};
    EXPECT_TRUE(restore_service(context, history, 0));
    const std::string kept = FOLDER + "\\000001-FooSvc.kept.reg";
    EXPECT_EQ(texts(), (std::vector<std::string>{
                           "サービス名 Foo を復活しました",
                           PARTLY + "Group\r\nParameters\r\n\r\n" + KEPT_AS + kept}));
    EXPECT_EQ(prompt.shown[1].caption, RESTORED_CAPTION);
    EXPECT_EQ(prompt.shown[1].flags, 0x30u);
    EXPECT_EQ(registry.keys[FOO_KEY][u"Description"], wide_sz(u"does, foo"));
    EXPECT_TRUE(history.records.empty());
    EXPECT_FALSE(files.exists(snapshot));
    RegistryTree keys;
    // Whole, for restoring by hand.
    ASSERT_EQ(load_snapshot(files, kept, code_page, keys), SnapshotLoad::loaded);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].values[0].data, wide_sz(u"C:\\foo.dll"));
}

// Everything applied: the snapshot goes, or, when it cannot be deleted, is
// set aside without a word, as nothing is missing. Only a snapshot that
// can be neither is told of.
TEST_F(RestoreWithSnapshot, AWholeRestorationRetiresItsSnapshotOneWayOrAnother) {
    const struct {
        const char* name;
        bool undeletable, unrenamable;
        bool kept;
        std::vector<std::string> told;
    } cases[] = {
        {"deleted", false, false, false, {"サービス名 Foo を復活しました"}},
        {"set aside", true, false, true, {"サービス名 Foo を復活しました"}},
        {"neither", true, true, false, {"サービス名 Foo を復活しました", LEFT_AS + snapshot}},
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
        EXPECT_TRUE(restore_service(context, one, 0));
        EXPECT_EQ(texts(), c.told);
        EXPECT_EQ(files.exists(kept_snapshot_path(snapshot)), c.kept);
        EXPECT_EQ(files.exists(snapshot), c.undeletable && c.unrenamable);
        EXPECT_FALSE(files.exists(HISTORY));
    }
}

TEST_F(RestoreWithSnapshot, ANameMarkedForDeletionSaysWhatToDoAndKeepsEverything) {
    scm.add("FooSvc", "Foo", 0x20, STATE_STOPPED);
    scm.create_error = ERROR_MARKED_FOR_DELETE;
    EXPECT_FALSE(restore_service(context, history, 0));
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

// A snapshot of no use for this record: restored from the row, the file
// named and kept.
TEST_F(RestoreWithSnapshot, AnUnusableSnapshotLeavesTheRowRestoreAndIsKept) {
    const auto saved_bytes = [this](const RegistryTree& keys) {
        FakeFileSystem scratch;
        std::string path;
        EXPECT_EQ(save_snapshot(scratch, FOLDER, history.records[0], "FooSvc", keys, path),
                  SnapshotSave::saved);
        return scratch.files[path];
    };
    const std::string legacy_head = "REGEDIT4\r\n;record=" + history.records[0] + "\r\n";
    const struct {
        const char* name;
        std::string content;
    } cases[] = {
        {"broken", legacy_head + "[broken"},
        {"an earlier build's file naming another key",
         legacy_head +
             "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
             "\"x\"=\"evil.exe\"\r\n"},
        {"another key",
         saved_bytes({{u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                       {{u"x", VALUE_SZ, wide_sz(u"evil.exe")}}}})},
        {"another service's key",
         saved_bytes({{SERVICES + u"FooSvc2", {{u"Start", VALUE_DWORD, le32(2)}}}})},
    };
    const std::string kept = kept_snapshot_path(snapshot);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HistoryStore one = history;
        FakePrompt told;
        RestorationContext fresh{scm, registry, code_page, paths, told, files, FOLDER, HISTORY};
        files.files[HISTORY] = one.records[0] + "\r\n";
        files.files.erase(kept);
        scm.services.clear();
        scm.created.clear();
        files.files[snapshot] = c.content;
        EXPECT_TRUE(restore_service(fresh, one, 0));
        ASSERT_EQ(scm.created.size(), 1u);
        EXPECT_EQ(scm.created[0].service_name, u"FooSvc");
        EXPECT_TRUE(registry.keys.empty());
        EXPECT_FALSE(files.exists(snapshot));
        EXPECT_EQ(files.files[kept], c.content);
        ASSERT_EQ(told.shown.size(), 2u);
        EXPECT_EQ(told.shown[1].text,
                  PARTLY + snapshot + " (読み込めません)\r\n\r\n" + KEPT_AS + kept);
    }
}

// What the administrator chose is what runs: a snapshot edited to another
// program, account, type, start or name changes none of them, and says so.
TEST_F(RestoreWithSnapshot, TheRecordDecidesWhatRunsWhateverTheSnapshotSays) {
    ASSERT_TRUE(use_snapshot({
        {FOO_KEY,
         {{u"ImagePath", VALUE_EXPAND_SZ, wide_sz(u"C:\\evil.exe")},
          {u"ObjectName", VALUE_SZ, wide_sz(u"LocalSystem")},  // agrees: silent
          {u"Type", VALUE_DWORD, le32(0x10)},
          {u"Start", VALUE_BINARY, le32(2)},  // right number, wrong type
          {u"DisplayName", VALUE_SZ, wide_sz(u"Other")},
          {u"Description", VALUE_SZ, wide_sz(u"kept")}}},
        {FOO_KEY + u"\\Enum", {{u"Count", VALUE_DWORD, le32(1)}}},
    }));
    EXPECT_TRUE(restore_service(context, history, 0));

    ASSERT_EQ(scm.created.size(), 1u);
    EXPECT_EQ(scm.created[0].binary_path, u"C:\\svchost.exe -k foo");
    EXPECT_EQ(scm.created[0].display_name, u"Foo");
    EXPECT_EQ(scm.created[0].service_type, 0x20u);
    EXPECT_EQ(scm.created[0].start_type, 2u);
    ASSERT_EQ(scm.changed.size(), 1u);
    EXPECT_EQ(scm.changed[0].kind, SettingKind::description);
    // Only the description reached the registry; the Enum key did not.
    EXPECT_EQ(registry.keys, (std::map<WideText, std::map<WideText, std::string>>{
                                 {FOO_KEY, {{u"Description", wide_sz(u"kept")}}}}));
    // Withheld values count as not restored: the snapshot is kept.
    EXPECT_EQ(texts(), (std::vector<std::string>{
                           "サービス名 Foo を復活しました",
                           PARTLY +
                               "DisplayName (記録と異なるため使いません)\r\n"
                               "ImagePath (記録と異なるため使いません)\r\n"
                               "Type (記録と異なるため使いません)\r\n"
                               "Start (記録と異なるため使いません)\r\n\r\n" +
                               KEPT_AS + kept_snapshot_path(snapshot)}));
    EXPECT_FALSE(files.exists(snapshot));
}

// A service of the system as its key holds it: the path with references,
// the display name in a module, a per-user template's type. The list and
// the record show what the system made of them; the service comes back in
// the key's own forms, and none is named as a difference.
TEST_F(RestoreWithSnapshot, ABuiltInServiceComesBackInTheSystemsOwnForms) {
    const WideText svchost = u"%SystemRoot%\\System32\\svchost.exe -k netsvcs -p";
    const WideText display = u"@%SystemRoot%\\system32\\wuaueng.dll,-105";
    paths.indirect_texts[display] = u"Windows Update";
    use_record("Windows Update,,,手動,LocalSystem,C:\\WINDOWS\\System32\\svchost.exe -k netsvcs "
               "-p,wuauserv,独自プロセス");
    const WideText key = SERVICES + u"wuauserv";
    ASSERT_TRUE(use_snapshot({
        {key,
         {{u"ImagePath", VALUE_EXPAND_SZ, wide_sz(svchost)},
          {u"DisplayName", VALUE_SZ, wide_sz(display)},
          {u"ObjectName", VALUE_SZ, wide_sz(u"LocalSystem")},
          {u"Type", VALUE_DWORD, le32(0x50)},
          {u"Start", VALUE_DWORD, le32(3)}}},
        {key + u"\\Parameters",
         {{u"ServiceDll", VALUE_EXPAND_SZ, wide_sz(u"%SystemRoot%\\x.dll")}}},
    }));
    EXPECT_TRUE(restore_service(context, history, 0));
    ASSERT_EQ(scm.created.size(), 1u);
    const CreateServiceRequest& request = scm.created[0];
    EXPECT_EQ(request.service_name, u"wuauserv");
    EXPECT_EQ(request.binary_path, svchost);
    EXPECT_EQ(request.display_name, display);
    EXPECT_EQ(request.start_name, u"LocalSystem");
    EXPECT_EQ(request.service_type, 0x50u);
    EXPECT_EQ(request.start_type, 3u);
    EXPECT_EQ(texts(), (std::vector<std::string>{"サービス名 Windows Update を復活しました"}));
    // Nothing was withheld, so nothing of the snapshot is missing.
    EXPECT_FALSE(files.exists(snapshot));
    EXPECT_FALSE(files.exists(kept_snapshot_path(snapshot)));
    // The values the creation set are not written again over its forms.
    EXPECT_EQ(registry.keys[key].count(u"ImagePath"), 0u);
    EXPECT_EQ(registry.keys[key + u"\\Parameters"][u"ServiceDll"], wide_sz(u"%SystemRoot%\\x.dll"));
}

// The record shows "qvtCafe"; the snapshot's key is the service's own
// name "qvtCafé", under which it comes back, beside a "qvtCafe" that
// exists and is never touched.
TEST_F(RestoreWithSnapshot, TheServiceComesBackUnderItsExactName) {
    scm.add_exact(CAFE_PLAIN, "Plain", 0x10, STATE_STOPPED);
    use_record("Cafe,,開始,手動,LocalSystem,C:\\cafe.exe,qvtCafe,独自プロセス");
    const WideText key = SERVICES + CAFE_ACCENTED;
    ASSERT_TRUE(use_snapshot({{key,
                               {{u"DisplayName", VALUE_SZ, wide_sz(u"Caf\u00e9")},
                                {u"Group", VALUE_SZ, wide_sz(u"Net")},
                                {u"Description", VALUE_SZ, wide_sz(u"caf\u00e9 au lait")}}}}));
    EXPECT_TRUE(restore_service(context, history, 0));
    ASSERT_EQ(scm.created.size(), 1u);
    EXPECT_EQ(scm.created[0].service_name, CAFE_ACCENTED);
    EXPECT_EQ(scm.created[0].display_name, u"Caf\u00e9");
    ASSERT_EQ(scm.services.size(), 2u);
    EXPECT_EQ(scm.services[1].calls, (std::vector<std::string>{"change", "change", "start"}));
    EXPECT_TRUE(scm.services[0].calls.empty());
    EXPECT_EQ(scm.services[0].record.current_state, STATE_STOPPED);
    EXPECT_EQ(registry.keys[key][u"Description"], wide_sz(u"caf\u00e9 au lait"));
    EXPECT_EQ(registry.keys.count(SERVICES + CAFE_PLAIN), 0u);
    EXPECT_EQ(texts(), (std::vector<std::string>{"サービス名 Cafe を復活しました"}));
    EXPECT_FALSE(files.exists(snapshot));
    EXPECT_FALSE(files.exists(kept_snapshot_path(snapshot)));
}

TEST_F(RestoreWithSnapshot, ABadSecurityDescriptorIsNamedAndNeverUsed) {
    ASSERT_TRUE(use_snapshot({
        {FOO_KEY, {}},
        // Its owner lies far outside the bytes.
        {FOO_KEY + u"\\Security",
         {{u"Security", VALUE_BINARY,
           std::string("\1\0\0\x80\xff\xff\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20)}}},
    }));
    EXPECT_TRUE(restore_service(context, history, 0));
    EXPECT_TRUE(scm.changed.empty());
    EXPECT_TRUE(registry.keys[FOO_KEY + u"\\Security"].empty());
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].text,
              PARTLY + "Security\\Security (正しいセキュリティ記述子ではありません)\r\n\r\n" +
                  KEPT_AS + kept_snapshot_path(snapshot));
}

// A snapshot held open elsewhere: the user chooses, No being the default.
TEST_F(RestoreWithSnapshot, AnUnreadableSnapshotAsksBeforeRestoringFromTheRecordAlone) {
    const std::string file_before = files.files[HISTORY];
    files.locked.insert(snapshot);
    prompt.answers = {ANSWER_NO};
    EXPECT_FALSE(restore_service(context, history, 0));
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
    EXPECT_EQ(prompt.shown[0].caption, RESTORE_CONFIRMATION_CAPTION);
    EXPECT_EQ(prompt.shown[0].flags, 0x134u);
    EXPECT_TRUE(scm.log.empty());
    EXPECT_EQ(history.records.size(), 1u);
    EXPECT_EQ(files.files[HISTORY], file_before);

    // Still held after the restoration: it can be neither deleted nor set
    // aside, and the user learns that it still names its record.
    prompt.shown.clear();
    prompt.answers = {ANSWER_YES};
    EXPECT_TRUE(restore_service(context, history, 0));
    EXPECT_TRUE(scm.changed.empty());
    EXPECT_TRUE(registry.keys.empty());
    EXPECT_FALSE(files.exists(HISTORY));
    EXPECT_TRUE(history.records.empty());
    EXPECT_TRUE(files.exists(snapshot));
    EXPECT_EQ(texts(), (std::vector<std::string>{prompt.shown[0].text,
                                                 "サービス名 Foo を復活しました",
                                                 LEFT_AS + snapshot}));
    EXPECT_EQ(prompt.shown[2].flags, 0x30u);
}

// Let go of by the time the service is back: the snapshot, never read, is
// set aside and named.
TEST_F(RestoreWithSnapshot, ASnapshotReleasedMeanwhileIsSetAsideAndNamed) {
    struct Releasing : FakeServiceManager {
        FakeFileSystem* files = nullptr;
        std::uint32_t create(const CreateServiceRequest& request) override {
            files->locked.clear();
            return FakeServiceManager::create(request);
        }
    } releasing;
    releasing.files = &files;
    RestorationContext released{releasing, registry, code_page, paths,
                                prompt,    files,    FOLDER,    HISTORY};
    files.locked.insert(snapshot);  // restored from the record alone, as the user chose
    EXPECT_TRUE(restore_service(released, history, 0));
    EXPECT_EQ(texts().back(), KEPT_AS + kept_snapshot_path(snapshot));
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
    EXPECT_TRUE(restore_service(context, history, 0));
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
    registry.read_only = {FOO_KEY + u"\\Parameters"};
    EXPECT_TRUE(restore_service(context, history, 0));
    EXPECT_EQ(prompt.shown[1].text,
              PARTLY + "Parameters\r\n\r\n" + not_updated + "\r\n\r\n" + KEPT_AS + snapshot);

    scm.services.clear();
    registry.read_only.clear();
    files.lock_held.clear();
    EXPECT_TRUE(restore_service(context, history, 0));
    EXPECT_FALSE(files.exists(snapshot));
    EXPECT_EQ(files.files[HISTORY], "Other,,,,,,OtherSvc,\r\n");
    EXPECT_EQ(history.records, std::vector<HistoryRecord>{"Other,,,,,,OtherSvc,"});
}

// A kept snapshot answers for no later record of the service: neither for
// one without a snapshot of its own (written by an older program) nor
// ahead of its own.
TEST_F(RestoreWithSnapshot, AKeptSnapshotNeverPairsWithALaterRecord) {
    registry.read_only = {FOO_KEY + u"\\Parameters"};
    EXPECT_TRUE(restore_service(context, history, 0));
    ASSERT_TRUE(files.exists(kept_snapshot_path(snapshot)));

    // Deleted again, by a program that keeps no snapshots.
    registry.read_only.clear();
    registry.keys.clear();
    scm.services.clear();
    scm.changed.clear();
    const HistoryRecord line =
        "Foo,,開始,自動,LocalSystem,C:\\svchost.exe -k foo,FooSvc,共有プロセス";
    use_record(line);
    std::string found;
    EXPECT_EQ(find_snapshot(files, FOLDER, history.records, 0, found), SnapshotSearch::none);
    prompt.shown.clear();
    EXPECT_TRUE(restore_service(context, history, 0));
    EXPECT_TRUE(registry.keys.empty());
    EXPECT_TRUE(scm.changed.empty());
    EXPECT_EQ(texts(), std::vector<std::string>{"サービス名 Foo を復活しました"});

    // Deleted once more, with a snapshot: the next number, and its own.
    scm.services.clear();
    std::string newer;
    ASSERT_EQ(save_snapshot(files, FOLDER, line, "FooSvc",
                            {{FOO_KEY, {{u"Group", VALUE_SZ, wide_sz(u"New")}}}}, newer),
              SnapshotSave::saved);
    EXPECT_EQ(newer, FOLDER + "\\000002-FooSvc.reg");
    use_record(line);
    EXPECT_TRUE(restore_service(context, history, 0));
    EXPECT_EQ(registry.keys[FOO_KEY][u"Group"], wide_sz(u"New"));
    EXPECT_FALSE(files.exists(newer));
    EXPECT_TRUE(files.exists(kept_snapshot_path(snapshot)));
}

}  // namespace
}  // namespace quorvel
