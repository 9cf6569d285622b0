#include "operations/service_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fakes/fake_code_page.h"
#include "fakes/fake_service_manager.h"
#include "fakes/fake_system_paths.h"
#include "fakes/registry_bytes.h"

namespace quorvel {
namespace {

using testing::CAFE_ACCENTED;
using testing::FakeCodePage;
using testing::FakeServiceRegistry;
using testing::FakeSystemPaths;
using testing::le32;
using testing::wide_multi_sz;
using testing::wide_sz;

const WideText SERVICES = WideText(SERVICES_KEY) + u"\\";
const WideText KEY = SERVICES + u"FooSvc";
const std::string DIFFERS = " (記録と異なるため使いません)";
// Self-relative, with neither owner nor access lists.
const std::string MINIMAL_DESCRIPTOR =
    std::string("\x01\x00\x00\x80", 4) + le32(0) + le32(0) + le32(0) + le32(0);
const WideText SVCHOST = u"%SystemRoot%\\System32\\svchost.exe -k netsvcs -p";
const WideText WUAUENG_NAME = u"@%SystemRoot%\\system32\\wuaueng.dll,-105";

RecordedService record_for_row() {
    RecordedService record;
    record.service_name = "FooSvc";
    record.display_name = "Foo";
    record.service_type = 0x20;
    record.start_type = 2;
    record.binary_path = "C:\\svchost.exe -k foo";
    record.start_name = "LocalSystem";
    return record;
}

// The service key of a shared-process service as the registry holds it.
RegistryTree saved_service() {
    const std::string failure_actions = le32(86400) + le32(0) + le32(0) + le32(2) + le32(0) +
                                        le32(1) + le32(60000) + le32(3) + le32(120000);
    return {
        {KEY,
         {{u"Type", VALUE_DWORD, le32(0x20)},
          {u"Start", VALUE_DWORD, le32(2)},
          {u"ErrorControl", VALUE_DWORD, le32(3)},
          {u"ImagePath", VALUE_EXPAND_SZ, wide_sz(u"C:\\svchost.exe -k foo")},
          {u"DisplayName", VALUE_SZ, wide_sz(u"Foo")},
          {u"ObjectName", VALUE_SZ, wide_sz(u"localsystem")},  // letter case alone is no change
          {u"Group", VALUE_SZ, wide_sz(u"Net")},
          {u"DependOnService", VALUE_MULTI_SZ, wide_multi_sz({u"Rpc", u"Tcp"})},
          {u"DependOnGroup", VALUE_MULTI_SZ, wide_multi_sz({u"Base"})},
          {u"Description", VALUE_SZ, wide_sz(u"does, foo")},
          {u"FailureActions", VALUE_BINARY, failure_actions},
          {u"FailureCommand", VALUE_SZ, wide_sz(u"notify.exe")},
          {u"DelayedAutostart", VALUE_DWORD, le32(1)},
          {u"ServiceSidType", VALUE_DWORD, le32(1)},
          {u"RequiredPrivileges", VALUE_MULTI_SZ, wide_multi_sz({u"SeA", u"SeB"})},
          {u"PreshutdownTimeout", VALUE_DWORD, le32(180000)},
          {u"FailureActionsOnNonCrashFailures", VALUE_DWORD, le32(1)}}},
        {KEY + u"\\Parameters", {{u"ServiceDll", VALUE_EXPAND_SZ, wide_sz(u"C:\\foo.dll")}}},
        {KEY + u"\\Parameters\\Deep", {{u"", VALUE_SZ, wide_sz(u"default")}}},
        {KEY + u"\\Security", {{u"Security", VALUE_BINARY, MINIMAL_DESCRIPTOR}}},
    };
}

TEST(ManagerSettings, EverySettingTheManagerHoldsGoesThroughItsOwnCall) {
    const std::vector<ServiceSetting> got = manager_settings(saved_service());
    const std::vector<SettingKind> kinds = {
        SettingKind::error_control,      SettingKind::load_order_group,
        SettingKind::dependencies,       SettingKind::description,
        SettingKind::failure_actions,    SettingKind::failure_actions_flag,
        SettingKind::delayed_auto_start, SettingKind::service_sid_type,
        SettingKind::required_privileges, SettingKind::preshutdown_timeout,
        SettingKind::security,
    };
    ASSERT_EQ(got.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(got[i].kind, kinds[i]) << i;
    EXPECT_EQ(got[0].number, 3u);
    EXPECT_EQ(got[1].text, u"Net");
    EXPECT_EQ(got[2].list, (std::vector<WideText>{u"Rpc", u"Tcp", u"+Base"}));
    EXPECT_EQ(got[3].text, u"does, foo");
    EXPECT_EQ(got[4].number, 86400u);
    ASSERT_EQ(got[4].actions.size(), 2u);
    EXPECT_EQ(got[4].actions[1].type, 3u);
    EXPECT_EQ(got[4].actions[1].delay_ms, 120000u);
    EXPECT_TRUE(got[4].has_command);
    EXPECT_EQ(got[4].text, u"notify.exe");
    EXPECT_FALSE(got[4].has_reboot_message);
    EXPECT_EQ(got[8].list, (std::vector<WideText>{u"SeA", u"SeB"}));
    EXPECT_EQ(got[9].number, 180000u);
    EXPECT_EQ(got[10].bytes, MINIMAL_DESCRIPTOR);
}

// Texts the code page cannot hold reach the manager as they were saved.
TEST(ManagerSettings, TextsBeyondTheCodePageStayExact) {
    const RegistryTree saved = {
        {KEY,
         {{u"Description", VALUE_SZ, wide_sz(u"M\u00fcller \u2122")},
          {u"DependOnService", VALUE_MULTI_SZ, wide_multi_sz({CAFE_ACCENTED})}}}};
    const std::vector<ServiceSetting> got = manager_settings(saved);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].list, std::vector<WideText>{CAFE_ACCENTED});
    EXPECT_EQ(got[1].text, u"M\u00fcller \u2122");
}

class DecideCreation : public ::testing::Test {
protected:
    FakeCodePage code_page;
    FakeSystemPaths paths;
    std::vector<std::string> named;

    void SetUp() override {
        paths.indirect_texts[WUAUENG_NAME] = u"Windows Update";
        paths.indirect_texts[u"@%SystemRoot%\\system32\\other.dll,-1"] = u"Other";
    }

    CreateServiceRequest decide(const RecordedService& record, RegistryTree* snapshot) {
        named.clear();
        return decide_creation(record, snapshot, {code_page, paths}, named);
    }
};

TEST_F(DecideCreation, WithoutASnapshotTheRecordIsCreatedAsItStands) {
    RecordedService record = record_for_row();
    record.display_name = "あ Foo";
    const CreateServiceRequest request = decide(record, nullptr);
    EXPECT_EQ(request.service_name, u"FooSvc");
    EXPECT_EQ(request.display_name, u"\u3042 Foo");
    EXPECT_EQ(request.binary_path, u"C:\\svchost.exe -k foo");
    EXPECT_EQ(request.start_name, u"LocalSystem");
    EXPECT_EQ(request.service_type, 0x20u);
    EXPECT_EQ(request.start_type, 2u);
    EXPECT_TRUE(named.empty());
}

// The creation set these from the record; the snapshot never applies them
// afterwards, and names each that differs (letter case alone does not).
TEST_F(DecideCreation, TheRecordsValuesLeaveTheSnapshot) {
    RegistryTree saved = saved_service();
    const CreateServiceRequest request = decide(record_for_row(), &saved);
    EXPECT_TRUE(named.empty());
    EXPECT_EQ(request.start_name, u"localsystem");  // the snapshot's own form
    for (const RegistryValue& value : saved[0].values)
        for (const char16_t* name :
             {u"Type", u"Start", u"ImagePath", u"DisplayName", u"ObjectName"})
            EXPECT_NE(value.name, name);
    EXPECT_EQ(saved[0].values.size(), saved_service()[0].values.size() - 5);

    RegistryTree edited = {{KEY,
                            {{u"Type", VALUE_DWORD, le32(0x120)},
                             {u"start", VALUE_DWORD, le32(4)},
                             {u"ImagePath", VALUE_EXPAND_SZ, wide_sz(WideText(300, u'p'))},
                             {u"DisplayName", VALUE_SZ, wide_sz(u"Foo, in full")},
                             {u"ObjectName", VALUE_BINARY, "LocalSystem"},
                             {u"Group", VALUE_SZ, wide_sz(u"")}}}};
    const CreateServiceRequest from_record = decide(record_for_row(), &edited);
    EXPECT_EQ(named, (std::vector<std::string>{"DisplayName" + DIFFERS, "ImagePath" + DIFFERS,
                                               "ObjectName" + DIFFERS, "Type" + DIFFERS,
                                               "Start" + DIFFERS}));
    EXPECT_EQ(from_record.binary_path, u"C:\\svchost.exe -k foo");
    EXPECT_EQ(from_record.display_name, u"Foo");
    EXPECT_EQ(from_record.start_name, u"LocalSystem");
    EXPECT_EQ(from_record.service_type, 0x20u);
    EXPECT_EQ(from_record.start_type, 2u);
    EXPECT_EQ(edited[0].values, (std::vector<RegistryValue>{{u"Group", VALUE_SZ, wide_sz(u"")}}));
    // Error control as created, an empty group: nothing for the manager.
    EXPECT_TRUE(manager_settings(edited).empty());
}

// The forms in which the system itself keeps a service's texts, next to
// what the list showed and the record holds: the same value comes back in
// the system's form; only a real difference is named.
TEST_F(DecideCreation, EachTextComesInTheSnapshotsFormWhenItIsTheRecordsValue) {
    using Field = std::string RecordedService::*;
    using Created = WideText CreateServiceRequest::*;
    const Field path = &RecordedService::binary_path;
    const Field display = &RecordedService::display_name;
    const Field account = &RecordedService::start_name;
    const struct {
        const char* name;
        RegistryValue saved;
        Field field;
        std::string recorded;
        Created created;
        WideText expected;
        bool named;
    } cases[] = {
        {"path kept with references", {u"ImagePath", VALUE_EXPAND_SZ, wide_sz(SVCHOST)}, path,
         "C:\\WINDOWS\\System32\\svchost.exe -k netsvcs -p", &CreateServiceRequest::binary_path,
         SVCHOST, false},
        {"path in another letter case",
         {u"ImagePath", VALUE_EXPAND_SZ, wide_sz(u"c:\\APP\\svc.exe")}, path, "C:\\app\\svc.exe", &CreateServiceRequest::binary_path, u"c:\\APP\\svc.exe", false},
        {"path beyond the code page",
         {u"ImagePath", VALUE_SZ, wide_sz(u"C:\\Program Files\\M\u00fcller GmbH\\svc.exe")}, path,
         "C:\\Program Files\\Muller GmbH\\svc.exe", &CreateServiceRequest::binary_path,
         u"C:\\Program Files\\M\u00fcller GmbH\\svc.exe", false},
        {"another program behind a reference",
         {u"ImagePath", VALUE_EXPAND_SZ, wide_sz(u"%SystemRoot%\\System32\\evil.exe")}, path,
         "C:\\WINDOWS\\System32\\svchost.exe -k netsvcs -p", &CreateServiceRequest::binary_path,
         u"C:\\WINDOWS\\System32\\svchost.exe -k netsvcs -p", true},
        {"display name in a module", {u"DisplayName", VALUE_SZ, wide_sz(WUAUENG_NAME)}, display,
         "Windows Update", &CreateServiceRequest::display_name, WUAUENG_NAME, false},
        {"display name in a module, another text",
         {u"DisplayName", VALUE_SZ, wide_sz(u"@%SystemRoot%\\system32\\other.dll,-1")}, display,
         "Windows Update", &CreateServiceRequest::display_name, u"Windows Update", true},
        {"display name in a module that cannot be loaded",
         {u"DisplayName", VALUE_SZ, wide_sz(u"@C:\\gone.dll,-1")}, display, "Windows Update",
         &CreateServiceRequest::display_name, u"Windows Update", true},
        {"display name beyond the code page",
         {u"DisplayName", VALUE_SZ, wide_sz(u"Intel\u00ae Optane\u2122")}, display,
         "IntelR Optane?", &CreateServiceRequest::display_name, u"Intel\u00ae Optane\u2122", false},
        {"account in another letter case", {u"ObjectName", VALUE_SZ, wide_sz(u"localsystem")},
         account, "LocalSystem", &CreateServiceRequest::start_name, u"localsystem", false},
        {"another account",
         {u"ObjectName", VALUE_SZ, wide_sz(u"NT AUTHORITY\\LocalService")}, account,
         "LocalSystem", &CreateServiceRequest::start_name, u"LocalSystem", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedService record = record_for_row();
        record.*c.field = c.recorded;
        RegistryTree snapshot = {{KEY, {c.saved}}};
        const CreateServiceRequest request = decide(record, &snapshot);
        EXPECT_EQ(request.*c.created, c.expected);
        const std::string name = code_page.to_ansi(c.saved.name);
        EXPECT_EQ(named, c.named ? std::vector<std::string>{name + DIFFERS}
                                 : std::vector<std::string>{});
        EXPECT_TRUE(snapshot[0].values.empty());
    }
}

// Older records' kind labels do not tell a per-user service; its type in
// the snapshot does, as long as it runs as the record's kind of process.
TEST_F(DecideCreation, TheTypeIsTheSnapshotsWhenOnlyThePerUserBitsAddToIt) {
    const struct {
        std::uint32_t saved;
        std::uint32_t recorded;
        std::uint32_t created;
        bool named;
    } cases[] = {
        {0x50, 0x10, 0x50, false},   // a template, recorded as "独自プロセス"
        {0xE0, 0x20, 0xE0, false},   // a user's copy of a shared-process template
        {0x150, 0x110, 0x150, false},
        {0x50, 0x50, 0x50, false},
        {0x60, 0x10, 0x10, true},    // another kind of process
        {0x10, 0x50, 0x50, true},    // the record says per-user, the snapshot not
        {0x110, 0x10, 0x10, true},   // interactive is no per-user bit
        {0x1, 0x10, 0x10, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.saved << " " << c.recorded);
        RecordedService record = record_for_row();
        record.service_type = c.recorded;
        RegistryTree snapshot = {{KEY, {{u"Type", VALUE_DWORD, le32(c.saved)}}}};
        EXPECT_EQ(decide(record, &snapshot).service_type, c.created);
        EXPECT_EQ(named, c.named ? std::vector<std::string>{"Type" + DIFFERS}
                                 : std::vector<std::string>{});
    }
}

TEST_F(DecideCreation, TheStartTypeIsTheRecordsNumber) {
    for (const RegistryValue& saved : {RegistryValue{u"Start", VALUE_DWORD, le32(3)},
                                       RegistryValue{u"Start", VALUE_BINARY, le32(2)}}) {
        SCOPED_TRACE(saved.type);
        RegistryTree snapshot = {{KEY, {saved}}};
        EXPECT_EQ(decide(record_for_row(), &snapshot).start_type, 2u);
        EXPECT_EQ(named, std::vector<std::string>{"Start" + DIFFERS});
    }
}

// The snapshot's key is named exactly as the service was; the record holds
// the code page's form of that name.
TEST_F(DecideCreation, TheServiceNameIsTheSnapshotsExactName) {
    RecordedService record = record_for_row();
    record.service_name = "qvtCafe";
    RegistryTree accented = {{SERVICES + CAFE_ACCENTED, {}}};
    EXPECT_EQ(decide(record, &accented).service_name, CAFE_ACCENTED);
    RegistryTree other_case = {{SERVICES + u"QVTcafe", {}}};
    EXPECT_EQ(decide(record, &other_case).service_name, u"QVTcafe");
    EXPECT_EQ(decide(record, nullptr).service_name, u"qvtCafe");
    EXPECT_TRUE(named.empty());
}

TEST_F(DecideCreation, OnlyAWellFormedSecurityDescriptorIsKept) {
    const std::string& minimal = MINIMAL_DESCRIPTOR;
    RegistryTree saved = {{KEY, {}},
                          {KEY + u"\\Security", {{u"Security", VALUE_BINARY, minimal}}},
                          {KEY + u"\\Parameters", {{u"Security", VALUE_BINARY, "x"}}}};
    decide(record_for_row(), &saved);
    EXPECT_TRUE(named.empty());
    EXPECT_EQ(manager_settings(saved).size(), 1u);

    for (const RegistryValue& bad :
         {RegistryValue{u"Security", VALUE_BINARY, std::string("\x01\x00\x14\x80", 4)},
          RegistryValue{u"security", VALUE_SZ, minimal}}) {
        SCOPED_TRACE(code_page.to_ansi(bad.name));
        RegistryTree with_bad = {{KEY, {}}, {KEY + u"\\Security", {bad}}};
        decide(record_for_row(), &with_bad);
        EXPECT_EQ(named, std::vector<std::string>{"Security\\" + code_page.to_ansi(bad.name) +
                                                  " (正しいセキュリティ記述子ではありません)"});
        EXPECT_TRUE(with_bad[1].values.empty());
        EXPECT_TRUE(manager_settings(with_bad).empty());
    }
}

TEST(DropVolatileEntries, OnlyTheServiceKeysMarkAndItsEnumKeyGo) {
    RegistryTree snapshot = {
        {KEY, {{u"Start", VALUE_DWORD, le32(3)}, {u"deleteflag", VALUE_DWORD, le32(1)}}},
        {KEY + u"\\Parameters", {{u"DeleteFlag", VALUE_DWORD, le32(1)}}},
        {KEY + u"\\enum", {{u"Count", VALUE_DWORD, le32(1)}}},
        {KEY + u"\\Enum\\Deeper", {}},
        {KEY + u"\\Enumerated", {}},
        {KEY + u"\\Parameters\\Enum", {}},
    };
    drop_volatile_entries(snapshot);
    EXPECT_EQ(snapshot[0].values, (std::vector<RegistryValue>{{u"Start", VALUE_DWORD, le32(3)}}));
    std::vector<WideText> paths;
    for (const RegistryKey& key : snapshot) paths.push_back(key.path);
    EXPECT_EQ(paths, (std::vector<WideText>{KEY, KEY + u"\\Parameters", KEY + u"\\Enumerated",
                                            KEY + u"\\Parameters\\Enum"}));
    EXPECT_EQ(snapshot[1].values.size(), 1u);
    RegistryTree empty;
    drop_volatile_entries(empty);
}

TEST(SnapshotFitsService, OnlyTheServicesOwnKeyAndWhatLiesBelowIt) {
    FakeCodePage code_page;
    const struct {
        const char* name;
        RegistryTree snapshot;
        const char* service;  // as the record holds it
        bool fits;
    } cases[] = {
        {"own key and subkeys", saved_service(), "FooSvc", true},
        {"other letter case", {{u"system\\currentcontrolset\\services\\foosvc", {}}}, "FooSvc",
         true},
        {"exact name the record shows converted", {{SERVICES + CAFE_ACCENTED, {}}}, "qvtCafe",
         true},
        {"empty", {}, "FooSvc", false},
        {"another service", {{KEY + u"2", {}}}, "FooSvc", false},
        {"a key beside it", {{KEY, {}}, {KEY + u"Other\\x", {}}}, "FooSvc", false},
        {"elsewhere", {{KEY, {}}, {u"SOFTWARE\\Microsoft\\Windows\\Run", {}}}, "FooSvc", false},
        {"subkey first", {{KEY + u"\\Parameters", {}}, {KEY, {}}}, "FooSvc", false},
        {"below the services' key", {{SERVICES + u"Other\\FooSvc", {}}}, "FooSvc", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(snapshot_fits_service(c.snapshot, c.service, code_page), c.fits);
    }
}

TEST(WriteSnapshotValues, WritesWhatDiffersAndNamesWhatFails) {
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    // What the creation and the manager's calls left: the same type, another
    // start, and a value the manager adds by itself.
    registry.set(KEY, {u"Type", VALUE_DWORD, le32(0x20)});
    registry.set(KEY, {u"Start", VALUE_DWORD, le32(3)});
    registry.set(KEY, {u"WOW64", VALUE_DWORD, le32(1)});
    registry.read_only = {KEY + u"|Type", KEY + u"|Group", KEY + u"\\Security"};
    // As decide_creation leaves it: without the values the creation set.
    RegistryTree saved = saved_service();
    std::vector<RegistryValue>& values = saved[0].values;
    values.erase(std::remove_if(values.begin(), values.end(),
                                [](const RegistryValue& value) {
                                    for (const char16_t* name : {u"Type", u"Start", u"ImagePath",
                                                                 u"DisplayName", u"ObjectName"})
                                        if (value.name == name) return true;
                                    return false;
                                }),
                 values.end());

    const std::vector<std::string> failed = write_snapshot_values(registry, saved, code_page);

    EXPECT_EQ(failed, (std::vector<std::string>{"Group", "Security"}));
    for (const RegistryKey& key : saved) {
        if (key.path == KEY + u"\\Security") continue;
        for (const RegistryValue& value : key.values) {
            if (value.name == u"Group") continue;
            SCOPED_TRACE(code_page.to_ansi(key.path + u" " + value.name));
            std::vector<RegistryValue> now;
            ASSERT_EQ(registry.list_values(key.path, now), RegistryRead::found);
            EXPECT_NE(std::find(now.begin(), now.end(), value), now.end());
        }
    }
    EXPECT_EQ(registry.keys[KEY][u"WOW64"], le32(1));  // extra values stay
    EXPECT_EQ(registry.keys[KEY][u"Start"], le32(3));

    registry.read_only = {KEY + u"\\Parameters|ServiceDll", KEY + u"\\Parameters\\Deep|"};
    registry.keys.erase(KEY + u"\\Parameters");
    registry.keys.erase(KEY + u"\\Parameters\\Deep");
    EXPECT_EQ(write_snapshot_values(registry, saved, code_page),
              (std::vector<std::string>{"Parameters\\ServiceDll", "Parameters\\Deep\\(既定)"}));
}

// Names are written exactly and shown as the code page shows them.
TEST(WriteSnapshotValues, NamesBeyondTheCodePage) {
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    const WideText key = SERVICES + CAFE_ACCENTED;
    const RegistryTree saved = {
        {key, {{u"Caf\u00e9", VALUE_SZ, wide_sz(u"\u00e9")}}},
        {key + u"\\Param\u00e8tres", {{u"x", VALUE_DWORD, le32(1)}}},
    };
    registry.read_only = {key + u"|Caf\u00e9", key + u"\\Param\u00e8tres"};
    EXPECT_EQ(write_snapshot_values(registry, saved, code_page),
              (std::vector<std::string>{"Cafe", "Param?tres"}));
    registry.read_only.clear();
    EXPECT_TRUE(write_snapshot_values(registry, saved, code_page).empty());
    EXPECT_EQ(registry.keys[key][u"Caf\u00e9"], wide_sz(u"\u00e9"));
    EXPECT_EQ(registry.keys.count(SERVICES + u"qvtCafe"), 0u);
}

TEST(ReadRegistryTree, ReadsEveryKeyBelowParentsFirst) {
    FakeServiceRegistry registry;
    registry.set(KEY, {u"Start", VALUE_DWORD, le32(2)});
    registry.set(KEY + u"\\Parameters", {u"ServiceDll", VALUE_EXPAND_SZ, wide_sz(u"x.dll")});
    registry.keys[KEY + u"\\Parameters\\Empty"];
    registry.keys[KEY + u"2"];  // a neighbour, not a subkey
    RegistryTree tree;
    WideText unreadable;
    ASSERT_EQ(read_registry_tree(registry, KEY, tree, unreadable), RegistryRead::found);
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0].path, KEY);
    EXPECT_EQ(tree[1].path, KEY + u"\\Parameters");
    EXPECT_EQ(tree[1].values[0],
              (RegistryValue{u"ServiceDll", VALUE_EXPAND_SZ, wide_sz(u"x.dll")}));
    EXPECT_EQ(tree[2].path, KEY + u"\\Parameters\\Empty");
    EXPECT_TRUE(unreadable.empty());

    // The key that could not be read is named, however deep.
    registry.unreadable.insert(KEY + u"\\Parameters\\Empty");
    RegistryTree partial;
    EXPECT_EQ(read_registry_tree(registry, KEY, partial, unreadable), RegistryRead::unknown);
    EXPECT_EQ(unreadable, KEY + u"\\Parameters\\Empty");
    EXPECT_EQ(read_registry_tree(registry, KEY + u"Missing", partial, unreadable),
              RegistryRead::no_key);
}

// The last check before the registry, whatever a tree holds: the values the
// record decides and the deletion mark never reach the service's key, nor
// a malformed descriptor its Security key, under any name the registry
// would take for theirs; each is named as not written.
TEST(WriteSnapshotValues, NeverWritesWhatTheRecordOrTheSystemDecides) {
    const WideText zero(1, u'\0');
    const std::string bad_descriptor = le32(1) + le32(0xFFFF);
    const RegistryTree withheld = {
        {KEY,
         {{u"IMAGEPATH", VALUE_EXPAND_SZ, wide_sz(u"C:\\evil.exe")},
          {u"ImagePath" + zero + u"x", VALUE_SZ, wide_sz(u"C:\\evil.exe")},
          {u"objectname", VALUE_SZ, wide_sz(u"LocalSystem")},
          {u"Type", VALUE_DWORD, le32(0x110)},
          {u"sTART", VALUE_DWORD, le32(2)},
          {u"DisplayName" + zero, VALUE_SZ, wide_sz(u"Other")},
          {u"deleteflag", VALUE_DWORD, le32(1)},
          {u"Description", VALUE_SZ, wide_sz(u"kept")}}},
        // The same key again, spelt as the registry reaches it anyway.
        {SERVICES + u"foosvc", {{u"DeleteFlag" + zero + u"y", VALUE_DWORD, le32(1)}}},
        {KEY + u"\\\\", {{u"Start", VALUE_DWORD, le32(2)}}},
        {KEY + zero + u"\\Parameters", {{u"ImagePath", VALUE_SZ, wide_sz(u"x")}}},
        {KEY + u"\\SECURITY", {{u"security", VALUE_BINARY, bad_descriptor}}},
        {KEY + u"\\\\Security\\", {{u"Security" + zero, VALUE_BINARY, bad_descriptor}}},
        {KEY + u"\\Security", {{u"Security", VALUE_SZ, MINIMAL_DESCRIPTOR}}},
        // Elsewhere these names are ordinary values.
        {KEY + u"\\Parameters", {{u"ImagePath", VALUE_SZ, wide_sz(u"x")}}},
        {KEY + u"\\Security\\Deeper", {{u"Security", VALUE_BINARY, bad_descriptor}}},
        {KEY + u"\\Other", {{u"Security", VALUE_BINARY, bad_descriptor}}},
    };
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    const std::vector<std::string> failed = write_snapshot_values(registry, withheld, code_page);
    EXPECT_EQ(failed.size(), 13u);
    std::map<WideText, std::map<WideText, std::string>> written = registry.keys;
    for (auto key = written.begin(); key != written.end();)
        key = key->second.empty() ? written.erase(key) : std::next(key);
    EXPECT_EQ(written, (std::map<WideText, std::map<WideText, std::string>>{
                           {KEY, {{u"Description", wide_sz(u"kept")}}},
                           {KEY + u"\\Parameters", {{u"ImagePath", wide_sz(u"x")}}},
                           {KEY + u"\\Security\\Deeper", {{u"Security", bad_descriptor}}},
                           {KEY + u"\\Other", {{u"Security", bad_descriptor}}},
                       }));
}

}  // namespace
}  // namespace quorvel
