// Any bytes as a snapshot: the first line is taken as a history record,
// the rest as the snapshot file beside it, in whichever format its bytes
// are (the Unicode format after a byte-order mark, REGEDIT4 otherwise).
// The .reg reader never fails badly and what it reads writes back the
// same; a record always finds the snapshots saved for it, in either
// format; and whatever a found snapshot holds, a restoration applies none
// of the record's values from it, no malformed security descriptor, and
// nothing outside the service's key. Whatever tree reaches the registry
// write, also one the reader never gives (names with zeros), the service's
// key gets none of the record's values nor the deletion mark, and its
// Security key no malformed descriptor, under any name the registry would
// take for theirs.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "catalogue/security_descriptor.h"
#include "fakes/fake_code_page.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_service_manager.h"
#include "fakes/fake_system_paths.h"
#include "fuzz_check.h"
#include "history/reg_file.h"
#include "history/record_format.h"
#include "history/snapshot_store.h"
#include "operations/restoration.h"
#include "operations/service_settings.h"
#include "text/byte_codes.h"
#include "text/cp932.h"

namespace {

using namespace quorvel;

const std::string FOLDER = "C:\\q\\quorvel.snapshots";

const char16_t* const WITHHELD[] = {u"Type",       u"Start",       u"ImagePath",
                                    u"ObjectName", u"DisplayName", u"DeleteFlag"};

// A key path as the registry reaches it: up to a zero, without empty parts.
WideText reached(const WideText& path) {
    const WideText whole = path.substr(0, path.find(u'\0'));
    WideText out;
    std::size_t start = 0;
    while (start <= whole.size()) {
        std::size_t end = whole.find(u'\\', start);
        if (end == WideText::npos) end = whole.size();
        if (end > start) out += (out.empty() ? u"" : u"\\") + whole.substr(start, end - start);
        start = end + 1;
    }
    return out;
}

// What the registry holds after a restoration's write into `root`.
void check_nothing_withheld_written(testing::FakeServiceRegistry& registry, const WideText& root) {
    const WideText service = reached(root);
    for (const auto& key : registry.keys) {
        const WideText path = reached(key.first);
        for (const auto& value : key.second) {
            const WideText name = value.first.substr(0, value.first.find(u'\0'));
            if (same_wide_name(path, service))
                for (const char16_t* withheld : WITHHELD) FUZZ_CHECK(!same_wide_name(name, withheld));
            if (same_wide_name(path, service + u"\\Security") && same_wide_name(name, u"Security"))
                FUZZ_CHECK(registry.types[key.first][value.first] == VALUE_BINARY &&
                           is_well_formed_security_descriptor(value.second));
        }
    }
}

// Any tree the reader gives, each '~' of its names taken as a zero, which
// the reader itself never lets through, written as it stands.
void check_write_guard(RegistryTree keys) {
    if (keys.empty()) return;
    const auto zeros = [](WideText& text) {
        for (char16_t& unit : text)
            if (unit == u'~') unit = u'\0';
    };
    for (RegistryKey& key : keys) {
        zeros(key.path);
        for (RegistryValue& value : key.values) zeros(value.name);
    }
    testing::FakeServiceRegistry registry;
    testing::FakeCodePage code_page;
    // What the registry ends up holding is checked, not what is named.
    (void)write_snapshot_values(registry, keys, code_page);
    check_nothing_withheld_written(registry, keys[0].path);
}

// The reference for a snapshot that names a key, or a value of one key,
// twice: the names folded to lower-case ASCII, counted.
bool names_twice(const RegistryTree& keys) {
    const auto folded = [](WideText text) {
        for (char16_t& unit : text)
            if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + 32);
        return text;
    };
    std::set<WideText> paths;
    for (const RegistryKey& key : keys) {
        if (!paths.insert(folded(key.path)).second) return true;
        std::set<WideText> names;
        for (const RegistryValue& value : key.values)
            if (!names.insert(folded(value.name)).second) return true;
    }
    return false;
}

void check_reg_round_trip(const std::string& bytes) {
    testing::FakeCodePage code_page;
    RegFile file;
    if (!read_reg_file(bytes, code_page, file)) return;
    std::string written;
    if (!write_reg_file(file, written)) return;
    RegFile again;
    FUZZ_CHECK(read_reg_file(written, code_page, again));
    FUZZ_CHECK(again.comments == file.comments);
    FUZZ_CHECK(again.keys == file.keys);
    std::string rewritten;
    FUZZ_CHECK(write_reg_file(again, rewritten) && rewritten == written);
}

// The REGEDIT4 snapshot an earlier build saved for `record`: its link kept
// whole double-byte characters and wrote every other byte a line cannot
// hold, and '%', as %XX.
std::string legacy_snapshot(const std::string& record) {
    std::string link;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const auto byte = static_cast<unsigned char>(record[i]);
        if (is_whole_cp932_char(record, i))
            link += record.substr(i++, 2);
        else if (byte >= 0x20 && byte < 0x7F && byte != '%')
            link += record[i];
        else
            link += percent_code(byte);
    }
    return "REGEDIT4\r\n;record=" + link + "\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\X]\r\n";
}

// An earlier build's snapshot and two saved now for the same record line:
// each of the three equal records finds its own, oldest first.
void check_record_link(const std::string& record, const RegistryTree& keys) {
    testing::FakeFileSystem files;
    const std::string service = split_record(record)[COL_SERVICE_NAME];
    const std::string legacy = FOLDER + "\\000001-x.reg";
    std::string first, second, found;
    files.files[legacy] = legacy_snapshot(record);
    if (save_snapshot(files, FOLDER, record, service, keys, first) != SnapshotSave::saved) return;
    FUZZ_CHECK(save_snapshot(files, FOLDER, record, service, keys, second) == SnapshotSave::saved);
    // Between them a record that differs from theirs only at its end.
    const std::vector<HistoryRecord> records = {record, record, record + "x", record};
    FUZZ_CHECK(find_snapshot(files, FOLDER, records, 0, found) == SnapshotSearch::found);
    FUZZ_CHECK(found == legacy);
    FUZZ_CHECK(find_snapshot(files, FOLDER, records, 1, found) == SnapshotSearch::found);
    FUZZ_CHECK(found == first);
    FUZZ_CHECK(find_snapshot(files, FOLDER, records, 3, found) == SnapshotSearch::found);
    FUZZ_CHECK(found == second);
    FUZZ_CHECK(find_snapshot(files, FOLDER, records, 2, found) == SnapshotSearch::none);
    testing::FakeCodePage code_page;
    RegistryTree loaded;
    if (names_twice(keys)) {
        FUZZ_CHECK(load_snapshot(files, second, code_page, loaded) == SnapshotLoad::ambiguous);
        FUZZ_CHECK(loaded.empty());
    } else {
        FUZZ_CHECK(load_snapshot(files, second, code_page, loaded) == SnapshotLoad::loaded);
        FUZZ_CHECK(loaded == keys);
    }
}

void check_restoration_input(const std::string& record, RegistryTree snapshot) {
    testing::FakeCodePage code_page;
    testing::FakeSystemPaths paths;
    const Recreation recreation = recreation_from_texts(split_record(record));
    if (!snapshot_fits_service(snapshot, recreation.record.service_name, code_page)) return;
    drop_volatile_entries(snapshot);
    std::vector<std::string> named;
    const CreateServiceRequest request =
        decide_creation(recreation.record, &snapshot, {code_page, paths}, named);
    // The record decides the service: a snapshot only lends its own form.
    FUZZ_CHECK(same_service_name(code_page.to_ansi(request.service_name),
                                 recreation.record.service_name));
    FUZZ_CHECK(request.start_type == recreation.record.start_type);
    FUZZ_CHECK(base_service_type(request.service_type) ==
               base_service_type(recreation.record.service_type));
    for (const RegistryValue& value : snapshot[0].values)
        for (const char* name : {"Type", "Start", "ImagePath", "ObjectName", "DisplayName"})
            FUZZ_CHECK(!same_wide_name(value.name, widen_ascii(name)));
    for (const ServiceSetting& setting : manager_settings(snapshot))
        if (setting.kind == SettingKind::security)
            FUZZ_CHECK(is_well_formed_security_descriptor(setting.bytes));
    testing::FakeServiceRegistry registry;
    // Where the writes land is checked, not what is named.
    (void)write_snapshot_values(registry, snapshot, code_page);
    const WideText root = service_key_path(request.service_name);
    for (const auto& key : registry.keys)
        FUZZ_CHECK(same_wide_name(key.first.substr(0, root.size()), root));
    check_nothing_withheld_written(registry, root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t line_end = input.find('\n');
    const std::string record = input.substr(0, line_end);
    const std::string bytes = line_end == std::string::npos ? input : input.substr(line_end + 1);

    check_reg_round_trip(bytes);
    is_well_formed_security_descriptor(bytes);  // on exactly these bytes, nothing past them

    testing::FakeFileSystem files;
    testing::FakeCodePage code_page;
    const std::string path = FOLDER + "\\000001-x.reg";
    files.files[path] = bytes;
    std::string found;
    RegistryTree snapshot;
    if (find_snapshot(files, FOLDER, {record}, 0, found) == SnapshotSearch::found &&
        load_snapshot(files, found, code_page, snapshot) == SnapshotLoad::loaded)
        check_restoration_input(record, snapshot);

    RegFile file;
    if (read_reg_file(bytes, code_page, file) && !file.keys.empty()) {
        check_record_link(record, file.keys);
        check_write_guard(file.keys);
    }
    return 0;
}
