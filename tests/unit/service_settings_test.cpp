#include "operations/service_settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_service_manager.h"
#include "fakes/registry_bytes.h"

namespace quorvel {
namespace {

using testing::FakeServiceRegistry;
using testing::le32;
using testing::sz;

const std::string KEY = "SYSTEM\\CurrentControlSet\\Services\\FooSvc";
// Self-relative, with neither owner nor access lists.
const std::string MINIMAL_DESCRIPTOR =
    std::string("\x01\x00\x00\x80", 4) + le32(0) + le32(0) + le32(0) + le32(0);

CreateServiceRequest request_for_row() {
    CreateServiceRequest request;
    request.service_name = "FooSvc";
    request.display_name = "Foo";
    request.service_type = 0x20;
    request.start_type = 2;
    request.binary_path = "C:\\svchost.exe -k foo";
    request.start_name = "LocalSystem";
    return request;
}

// The service key of a shared-process service as the registry holds it.
RegistryTree saved_service() {
    const std::string failure_actions = le32(86400) + le32(0) + le32(0) + le32(2) + le32(0) +
                                        le32(1) + le32(60000) + le32(3) + le32(120000);
    return {
        {KEY,
         {{"Type", VALUE_DWORD, le32(0x20)},
          {"Start", VALUE_DWORD, le32(2)},
          {"ErrorControl", VALUE_DWORD, le32(3)},
          {"ImagePath", VALUE_EXPAND_SZ, sz("C:\\svchost.exe -k foo")},
          {"DisplayName", VALUE_SZ, sz("Foo")},
          {"ObjectName", VALUE_SZ, sz("localsystem")},  // letter case alone is no change
          {"Group", VALUE_SZ, sz("Net")},
          {"DependOnService", VALUE_MULTI_SZ, std::string("Rpc\0Tcp\0\0", 9)},
          {"DependOnGroup", VALUE_MULTI_SZ, std::string("Base\0\0", 6)},
          {"Description", VALUE_SZ, sz("does, foo")},
          {"FailureActions", VALUE_BINARY, failure_actions},
          {"FailureCommand", VALUE_SZ, sz("notify.exe")},
          {"DelayedAutostart", VALUE_DWORD, le32(1)},
          {"ServiceSidType", VALUE_DWORD, le32(1)},
          {"RequiredPrivileges", VALUE_MULTI_SZ, std::string("SeA\0SeB\0\0", 9)},
          {"PreshutdownTimeout", VALUE_DWORD, le32(180000)},
          {"FailureActionsOnNonCrashFailures", VALUE_DWORD, le32(1)}}},
        {KEY + "\\Parameters", {{"ServiceDll", VALUE_EXPAND_SZ, sz("C:\\foo.dll")}}},
        {KEY + "\\Parameters\\Deep", {{"", VALUE_SZ, sz("default")}}},
        {KEY + "\\Security", {{"Security", VALUE_BINARY, MINIMAL_DESCRIPTOR}}},
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
    EXPECT_EQ(got[1].text, "Net");
    EXPECT_EQ(got[2].list, (std::vector<std::string>{"Rpc", "Tcp", "+Base"}));
    EXPECT_EQ(got[3].text, "does, foo");
    EXPECT_EQ(got[4].number, 86400u);
    ASSERT_EQ(got[4].actions.size(), 2u);
    EXPECT_EQ(got[4].actions[1].type, 3u);
    EXPECT_EQ(got[4].actions[1].delay_ms, 120000u);
    EXPECT_TRUE(got[4].has_command);
    EXPECT_EQ(got[4].text, "notify.exe");
    EXPECT_FALSE(got[4].has_reboot_message);
    EXPECT_EQ(got[8].list, (std::vector<std::string>{"SeA", "SeB"}));
    EXPECT_EQ(got[9].number, 180000u);
    EXPECT_EQ(got[10].bytes, MINIMAL_DESCRIPTOR);
}

// The creation set these from the record; the snapshot never overrides
// them, and names each that differs (letter case alone does not).
TEST(WithholdValues, TheRecordsValuesNeverComeFromTheSnapshot) {
    RegistryTree saved = saved_service();
    EXPECT_TRUE(withhold_values(saved, request_for_row()).empty());
    for (const RegistryValue& value : saved[0].values)
        for (const char* name : {"Type", "Start", "ImagePath", "DisplayName", "ObjectName"})
            EXPECT_NE(value.name, name);
    EXPECT_EQ(saved[0].values.size(), saved_service()[0].values.size() - 5);

    RegistryTree edited = {{KEY,
                            {{"Type", VALUE_DWORD, le32(0x120)},
                             {"start", VALUE_DWORD, le32(4)},
                             {"ImagePath", VALUE_EXPAND_SZ, sz(std::string(300, 'p'))},
                             {"DisplayName", VALUE_SZ, sz("Foo, in full")},
                             {"ObjectName", VALUE_BINARY, "LocalSystem"},
                             {"Group", VALUE_SZ, sz("")}}}};
    EXPECT_EQ(withhold_values(edited, request_for_row()),
              (std::vector<std::string>{"Type (記録と異なるため使いません)",
                                        "start (記録と異なるため使いません)",
                                        "ImagePath (記録と異なるため使いません)",
                                        "DisplayName (記録と異なるため使いません)",
                                        "ObjectName (記録と異なるため使いません)"}));
    EXPECT_EQ(edited[0].values, (std::vector<RegistryValue>{{"Group", VALUE_SZ, sz("")}}));
    // Error control as created, an empty group: nothing for the manager.
    EXPECT_TRUE(manager_settings(edited).empty());
}

TEST(WithholdValues, OnlyAWellFormedSecurityDescriptorIsKept) {
    const std::string& minimal = MINIMAL_DESCRIPTOR;
    RegistryTree saved = {{KEY, {}},
                          {KEY + "\\Security", {{"Security", VALUE_BINARY, minimal}}},
                          {KEY + "\\Parameters", {{"Security", VALUE_BINARY, "x"}}}};
    EXPECT_TRUE(withhold_values(saved, request_for_row()).empty());
    EXPECT_EQ(manager_settings(saved).size(), 1u);

    for (const RegistryValue& bad : {RegistryValue{"Security", VALUE_BINARY, std::string("\x01\x00\x14\x80", 4)},
                                     RegistryValue{"security", VALUE_SZ, minimal}}) {
        SCOPED_TRACE(bad.name);
        RegistryTree with_bad = {{KEY, {}}, {KEY + "\\Security", {bad}}};
        EXPECT_EQ(withhold_values(with_bad, request_for_row()),
                  std::vector<std::string>{"Security\\" + bad.name +
                                           " (正しいセキュリティ記述子ではありません)"});
        EXPECT_TRUE(with_bad[1].values.empty());
        EXPECT_TRUE(manager_settings(with_bad).empty());
    }
}

TEST(DropVolatileEntries, OnlyTheServiceKeysMarkAndItsEnumKeyGo) {
    RegistryTree snapshot = {
        {KEY, {{"Start", VALUE_DWORD, le32(3)}, {"deleteflag", VALUE_DWORD, le32(1)}}},
        {KEY + "\\Parameters", {{"DeleteFlag", VALUE_DWORD, le32(1)}}},
        {KEY + "\\enum", {{"Count", VALUE_DWORD, le32(1)}}},
        {KEY + "\\Enum\\Deeper", {}},
        {KEY + "\\Enumerated", {}},
        {KEY + "\\Parameters\\Enum", {}},
    };
    drop_volatile_entries(snapshot);
    EXPECT_EQ(snapshot[0].values, (std::vector<RegistryValue>{{"Start", VALUE_DWORD, le32(3)}}));
    std::vector<std::string> paths;
    for (const RegistryKey& key : snapshot) paths.push_back(key.path);
    EXPECT_EQ(paths, (std::vector<std::string>{KEY, KEY + "\\Parameters", KEY + "\\Enumerated",
                                               KEY + "\\Parameters\\Enum"}));
    EXPECT_EQ(snapshot[1].values.size(), 1u);
    RegistryTree empty;
    drop_volatile_entries(empty);
}

TEST(SnapshotFitsService, OnlyTheServicesOwnKeyAndWhatLiesBelowIt) {
    const struct {
        const char* name;
        RegistryTree snapshot;
        bool fits;
    } cases[] = {
        {"own key and subkeys", saved_service(), true},
        {"other letter case", {{"system\\currentcontrolset\\services\\foosvc", {}}}, true},
        {"empty", {}, false},
        {"another service", {{KEY + "2", {}}}, false},
        {"a key beside it", {{KEY, {}}, {KEY + "Other\\x", {}}}, false},
        {"elsewhere", {{KEY, {}}, {"SOFTWARE\\Microsoft\\Windows\\Run", {}}}, false},
        {"subkey first", {{KEY + "\\Parameters", {}}, {KEY, {}}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(snapshot_fits_service(c.snapshot, "FooSvc"), c.fits);
    }
}

TEST(WriteSnapshotValues, WritesWhatDiffersAndNamesWhatFails) {
    FakeServiceRegistry registry;
    // What the creation and the manager's calls left: the same type, another
    // start, and a value the manager adds by itself.
    registry.set(KEY, {"Type", VALUE_DWORD, le32(0x20)});
    registry.set(KEY, {"Start", VALUE_DWORD, le32(3)});
    registry.set(KEY, {"WOW64", VALUE_DWORD, le32(1)});
    registry.read_only = {KEY + "|Type", KEY + "|Group", KEY + "\\Security"};
    const RegistryTree saved = saved_service();

    const std::vector<std::string> failed = write_snapshot_values(registry, saved);

    EXPECT_EQ(failed, (std::vector<std::string>{"Group", "Security"}));
    for (const RegistryKey& key : saved) {
        if (key.path == KEY + "\\Security") continue;
        for (const RegistryValue& value : key.values) {
            if (value.name == "Group") continue;
            SCOPED_TRACE(key.path + " " + value.name);
            std::vector<RegistryValue> now;
            ASSERT_EQ(registry.list_values(key.path, now), RegistryRead::found);
            EXPECT_NE(std::find(now.begin(), now.end(), value), now.end());
        }
    }
    EXPECT_EQ(registry.keys[KEY]["WOW64"], le32(1));  // extra values stay

    registry.read_only = {KEY + "\\Parameters|ServiceDll", KEY + "\\Parameters\\Deep|"};
    registry.keys.erase(KEY + "\\Parameters");
    registry.keys.erase(KEY + "\\Parameters\\Deep");
    EXPECT_EQ(write_snapshot_values(registry, saved),
              (std::vector<std::string>{"Parameters\\ServiceDll", "Parameters\\Deep\\(既定)"}));
}

TEST(ReadRegistryTree, ReadsEveryKeyBelowParentsFirst) {
    FakeServiceRegistry registry;
    registry.set(KEY, {"Start", VALUE_DWORD, le32(2)});
    registry.set(KEY + "\\Parameters", {"ServiceDll", VALUE_EXPAND_SZ, sz("x.dll")});
    registry.keys[KEY + "\\Parameters\\Empty"];
    registry.keys[KEY + "2"];  // a neighbour, not a subkey
    RegistryTree tree;
    ASSERT_EQ(read_registry_tree(registry, KEY, tree), RegistryRead::found);
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0].path, KEY);
    EXPECT_EQ(tree[1].path, KEY + "\\Parameters");
    EXPECT_EQ(tree[1].values[0], (RegistryValue{"ServiceDll", VALUE_EXPAND_SZ, sz("x.dll")}));
    EXPECT_EQ(tree[2].path, KEY + "\\Parameters\\Empty");

    registry.unreadable.insert(KEY + "\\Parameters\\Empty");
    RegistryTree partial;
    EXPECT_EQ(read_registry_tree(registry, KEY, partial), RegistryRead::unknown);
    EXPECT_EQ(read_registry_tree(registry, KEY + "Missing", partial), RegistryRead::no_key);
}

}  // namespace
}  // namespace quorvel
