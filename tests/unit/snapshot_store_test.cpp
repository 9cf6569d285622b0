#include "history/snapshot_store.h"

#include <gtest/gtest.h>

#include "fakes/fake_code_page.h"
#include "fakes/fake_file_system.h"
#include "history/reg_file.h"

namespace quorvel {
namespace {

using testing::FakeCodePage;
using testing::FakeFileSystem;

const std::string FOLDER = "C:\\tools\\quorvel.snapshots";

RegistryTree keys_of(const std::string& service, const std::string& marker) {
    FakeCodePage code_page;  // "ソ" ends in a backslash byte, not in a backslash
    return {{service_key_path(code_page.to_wide(service)),
             {{u"Marker", VALUE_SZ, utf16le_bytes(widen_ascii(marker) + u'\0')}}}};
}

std::string marker_of(FakeFileSystem& files, const std::string& path) {
    FakeCodePage code_page;
    RegistryTree keys;
    if (load_snapshot(files, path, code_page, keys) != SnapshotLoad::loaded) return "<none>";
    return code_page.to_ansi(wide_text_before_zero(keys[0].values[0].data));
}

// Text of a snapshot as save_snapshot writes it, for looking into one.
std::string in_file(const std::string& text) { return utf16le_bytes(widen_ascii(text)); }

class SnapshotStore : public ::testing::Test {
protected:
    FakeFileSystem files;
    std::vector<HistoryRecord> records;

    std::string save(const std::string& record, const std::string& service,
                     const std::string& marker) {
        records.push_back(record);
        std::string path;
        const SnapshotSave saved =
            save_snapshot(files, FOLDER, record, service, keys_of(service, marker), path);
        return saved == SnapshotSave::saved ? path : "";
    }

    std::string found_at(int index) {
        std::string path;
        return find_snapshot(files, FOLDER, records, index, path) == SnapshotSearch::found ? path
                                                                                         : "";
    }

    std::string marker_at(int index) {
        const std::string path = found_at(index);
        return path.empty() ? "<none>" : marker_of(files, path);
    }
};

TEST_F(SnapshotStore, EachRecordFindsItsOwnSnapshot) {
    const std::string first = save("A,,,手動,,a.exe,ASvc,", "ASvc", "a");
    const std::string second = save("B,,,手動,,b.exe,BSvc,", "BSvc", "b");
    EXPECT_EQ(first, FOLDER + "\\000001-ASvc.reg");
    EXPECT_EQ(second, FOLDER + "\\000002-BSvc.reg");
    EXPECT_TRUE(files.folders.count(FOLDER));
    EXPECT_EQ(marker_at(0), "a");
    EXPECT_EQ(marker_at(1), "b");
    // The snapshot names its record for anyone who opens it, in ASCII.
    const std::string header = in_file("Windows Registry Editor Version 5.00\r\n"
                                       ";record=A,,,%8E%E8%93%AE,,a.exe,ASvc,\r\n");
    EXPECT_EQ(files.files[first].compare(0, header.size() + 2, "\xFF\xFE" + header), 0);
}

TEST_F(SnapshotStore, TheLinkSurvivesTheRemovalOfOtherRecordsAndARestart) {
    save("A,,,,,,ASvc,", "ASvc", "a");
    save("B,,,,,,BSvc,", "BSvc", "b");
    save("C,,,,,,CSvc,", "CSvc", "c");
    ASSERT_TRUE(files.delete_file(found_at(1)));
    records.erase(records.begin() + 1);
    // A new run knows only the history file's lines and the folder.
    const std::vector<HistoryRecord> reloaded = records;
    records = reloaded;
    EXPECT_EQ(marker_at(0), "a");
    EXPECT_EQ(marker_at(1), "c");
    // A later deletion takes a sequence after every existing one.
    EXPECT_EQ(save("D,,,,,,DSvc,", "DSvc", "d"), FOLDER + "\\000004-DSvc.reg");
}

TEST_F(SnapshotStore, TwoDeletionsOfOneServiceKeepTheirOrder) {
    const std::string line = "Same,,,手動,,x.exe,SameSvc,";
    save(line, "SameSvc", "older");
    save("Other,,,,,,OtherSvc,", "OtherSvc", "other");
    save(line, "SameSvc", "newer");
    EXPECT_EQ(marker_at(0), "older");
    EXPECT_EQ(marker_at(2), "newer");
    // Restoring the older one removes it and its snapshot; the newer stays paired.
    ASSERT_TRUE(files.delete_file(found_at(0)));
    records.erase(records.begin());
    EXPECT_EQ(marker_at(1), "newer");
}

TEST_F(SnapshotStore, RecordsOlderThanEverySnapshotHaveNone) {
    const std::string line = "Same,,,手動,,x.exe,SameSvc,";
    records = {line, "Plain,,,,,,PlainSvc,"};  // from a history written before snapshots
    save(line, "SameSvc", "new");
    EXPECT_EQ(marker_at(0), "<none>");
    EXPECT_EQ(marker_at(1), "<none>");
    EXPECT_EQ(marker_at(2), "new");
    EXPECT_EQ(found_at(3), "");
    EXPECT_EQ(found_at(-1), "");
}

TEST_F(SnapshotStore, OtherFilesInTheFolderAreLeftAlone) {
    files.files[FOLDER + "\\notes.txt"] = "REGEDIT4\r\n;record=A,,,,,,ASvc,\r\n";
    files.files[FOLDER + "\\x-ASvc.reg"] = "REGEDIT4\r\n;record=A,,,,,,ASvc,\r\n";
    files.files[FOLDER + "\\000009-broken.reg"] = "not a registry file";
    EXPECT_EQ(save("A,,,,,,ASvc,", "ASvc", "a"), FOLDER + "\\000010-ASvc.reg");
    EXPECT_EQ(marker_at(0), "a");
}

// A number past 32 bits must not come round to 0 (a file never found
// again, replaced by the next one); past 64 bits the folder takes no more.
TEST_F(SnapshotStore, NumbersAreReadIn64BitsAndNeverComeRound) {
    files.files[FOLDER + "\\99999999999-x.reg"] = "";
    EXPECT_EQ(save("A,,,,,,ASvc,", "ASvc", "a"), FOLDER + "\\100000000000-ASvc.reg");
    EXPECT_EQ(marker_at(0), "a");
    files.files[FOLDER + "\\00000000000000000000000000000000000000000000999-x.reg"] = "";
    EXPECT_EQ(save("B,,,,,,BSvc,", "BSvc", "b"), FOLDER + "\\100000000001-BSvc.reg");

    for (const char* last : {"18446744073709551615", "18446744073709551616",
                             "99999999999999999999999999"}) {
        SCOPED_TRACE(last);
        FakeFileSystem full;
        full.files[FOLDER + "\\" + last + "-x.reg"] = "";
        std::string path;
        EXPECT_EQ(save_snapshot(full, FOLDER, "C,,,,,,CSvc,", "CSvc", keys_of("CSvc", "c"), path),
                  SnapshotSave::folder_not_writable);
        EXPECT_EQ(full.files.size(), 1u);
        EXPECT_TRUE(path.empty());
    }
    // The largest number that still has a next one.
    FakeFileSystem nearly;
    nearly.files[FOLDER + "\\18446744073709551614-x.reg"] = "";
    std::string path;
    EXPECT_EQ(save_snapshot(nearly, FOLDER, "C,,,,,,CSvc,", "CSvc", keys_of("CSvc", "c"), path),
              SnapshotSave::saved);
    EXPECT_EQ(path, FOLDER + "\\18446744073709551615-CSvc.reg");
}

// A name the listing did not see (here a folder) is never written over.
TEST_F(SnapshotStore, ANewSnapshotNeverTakesANameInUse) {
    save("A,,,,,,ASvc,", "ASvc", "a");
    files.folders.insert(FOLDER + "\\000002-BSvc.reg");
    std::string path;
    EXPECT_EQ(save_snapshot(files, FOLDER, "B,,,,,,BSvc,", "BSvc", keys_of("BSvc", "b"), path),
              SnapshotSave::folder_not_writable);
    EXPECT_EQ(files.files.size(), 1u);
}

// Two deletions of one service with the same row; the newer record is
// restored and its snapshot kept. The older record must not take it.
TEST_F(SnapshotStore, ASnapshotSetAsideAnswersForNoRecordButKeepsItsNumber) {
    const std::string line = "Same,,,手動,,x.exe,SameSvc,";
    const std::string older = save(line, "SameSvc", "older");
    const std::string newer = save(line, "SameSvc", "newer");
    std::string now_at;
    EXPECT_EQ(retire_snapshot(files, newer, true, now_at), SnapshotFate::kept);
    EXPECT_EQ(now_at, FOLDER + "\\000002-SameSvc.kept.reg");
    EXPECT_EQ(kept_snapshot_path(newer), now_at);
    records.pop_back();
    EXPECT_EQ(found_at(0), older);
    EXPECT_EQ(marker_of(files, now_at), "newer");  // still a snapshot, for import by hand
    EXPECT_EQ(save("Other,,,,,,OtherSvc,", "OtherSvc", "other"),
              FOLDER + "\\000003-OtherSvc.reg");

    // Held open elsewhere, a kept one is no unreadable candidate either.
    files.locked.insert(now_at);
    EXPECT_EQ(found_at(0), older);
}

TEST_F(SnapshotStore, RetiringDeletesWhenItMayAndCanElseSetsAside) {
    const struct {
        const char* name;
        bool keep, undeletable, rename_fails;
        SnapshotFate fate;
        bool at_kept_name;
    } cases[] = {
        {"deleted", false, false, false, SnapshotFate::deleted, false},
        {"not deletable: set aside", false, true, false, SnapshotFate::kept, true},
        {"to be kept", true, false, false, SnapshotFate::kept, true},
        {"neither", false, true, true, SnapshotFate::left, false},
        {"to be kept, not renamable", true, false, true, SnapshotFate::left, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFileSystem disk;
        const std::string path = FOLDER + "\\000001-ASvc.reg";
        disk.files[path] = "x";
        if (c.undeletable) disk.undeletable.insert(path);
        disk.rename_fails = c.rename_fails;
        std::string now_at;
        EXPECT_EQ(retire_snapshot(disk, path, c.keep, now_at), c.fate);
        EXPECT_EQ(now_at, c.at_kept_name ? FOLDER + "\\000001-ASvc.kept.reg" : path);
        EXPECT_EQ(disk.files.size(), c.fate == SnapshotFate::deleted ? 0u : 1u);
        if (c.fate != SnapshotFate::deleted) {
            EXPECT_TRUE(disk.exists(now_at));
        }
    }
}

TEST_F(SnapshotStore, RecordsWithAnyBytesAndNamesWithAnyCharacters) {
    // Escaped records and tabs in texts still make one comment line.
    const std::string record = "A\tB,x%2Cy,,,,,Odd:Svc*?,,%";
    const std::string path = save(record, "Odd:Svc*?/ソ", "odd");
    EXPECT_EQ(path, FOLDER + "\\000001-Odd_Svc_____.reg");
    EXPECT_NE(files.files[path].find(in_file(";record=A%09B,x%252Cy,")), std::string::npos);
    EXPECT_EQ(marker_at(0), "odd");
    // A lead byte without a trail byte the editor takes is no character.
    const std::string broken = save("B\x81\x7F,,,,,,BSvc,", "BSvc", "broken");
    EXPECT_NE(files.files[broken].find(in_file(";record=B%81%7F,")), std::string::npos);
    EXPECT_EQ(marker_at(1), "broken");
    const std::string long_name(300, 'n');
    EXPECT_EQ(save("L,,,,,,n,", long_name, "long"), FOLDER + "\\000003-" + std::string(64, 'n') + ".reg");
}

// A snapshot as builds before the Unicode format wrote it: REGEDIT4, code
// page texts, the record's double-byte characters whole in its link.
std::string legacy_snapshot(const std::string& link, const std::string& service,
                            const std::string& marker) {
    return "REGEDIT4\r\n;record=" + link + "\r\n\r\n" +
           "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + service + "]\r\n" +
           "\"Marker\"=\"" + marker + "\"\r\n\r\n";
}

TEST_F(SnapshotStore, SnapshotsOfEarlierBuildsAreFoundAndRead) {
    const std::string line = "\x82\xa0,,,手動,,x.exe,SameSvc,";  // high bytes: あ and 手動
    const std::string broken = "B\x81\x7F,,,,,,BSvc,";
    records = {line, broken};
    files.files[FOLDER + "\\000001-SameSvc.reg"] =
        legacy_snapshot(line, "SameSvc", "older \x82\xa2");
    files.files[FOLDER + "\\000002-BSvc.reg"] =
        legacy_snapshot("B%81%7F,,,,,,BSvc,", "BSvc", "broken");
    // A link in the new form with the record's bytes as they are is no link.
    files.files[FOLDER + "\\000003-SameSvc.reg"] =
        "\xFF\xFE" + utf16le_bytes(u"Windows Registry Editor Version 5.00\r\n;record=\u3042") +
        in_file(",,,%8E%E8%93%AE,,x.exe,SameSvc,\r\n");
    save(line, "SameSvc", "newer");

    EXPECT_EQ(found_at(0), FOLDER + "\\000001-SameSvc.reg");
    EXPECT_EQ(marker_at(0), "older \x82\xa2");
    EXPECT_EQ(marker_at(1), "broken");
    EXPECT_EQ(found_at(2), FOLDER + "\\000004-SameSvc.reg");
    EXPECT_EQ(marker_at(2), "newer");

    // Its texts come back as the wide texts they stood for.
    FakeCodePage code_page;
    RegistryTree keys;
    ASSERT_EQ(load_snapshot(files, found_at(0), code_page, keys), SnapshotLoad::loaded);
    EXPECT_EQ(
        keys,
        (RegistryTree{{u"SYSTEM\\CurrentControlSet\\Services\\SameSvc",
                       {{u"Marker", VALUE_SZ, utf16le_bytes(WideText(u"older \u3044\0", 8))}}}}));
}

TEST_F(SnapshotStore, NothingIsLeftWhenTheSnapshotCannotBeWritten) {
    files.locked.insert(FOLDER);
    EXPECT_EQ(save("A,,,,,,ASvc,", "ASvc", "a"), "");
    files.locked.clear();
    files.replace_fails = true;
    EXPECT_EQ(save("A,,,,,,ASvc,", "ASvc", "a"), "");
    EXPECT_TRUE(files.files.empty());
    // A key that a .reg file cannot hold is not half written either.
    files.replace_fails = false;
    std::string path;
    EXPECT_EQ(save_snapshot(files, FOLDER, "A", "ASvc", {{u"SYSTEM\\A\r\nB", {}}}, path),
              SnapshotSave::name_not_writable);
    files.lock_held.insert(FOLDER);  // another copy is saving one
    EXPECT_EQ(save_snapshot(files, FOLDER, "A", "ASvc", keys_of("ASvc", "a"), path),
              SnapshotSave::folder_not_writable);
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(path.empty());
}

TEST_F(SnapshotStore, AnUnreadableSnapshotIsNotLoaded) {
    const std::string path = save("A,,,,,,ASvc,", "ASvc", "a");
    FakeCodePage code_page;
    RegistryTree keys;
    files.files[path] = "REGEDIT4\r\n;record=A,,,,,,ASvc,\r\n";  // no key at all
    EXPECT_EQ(load_snapshot(files, path, code_page, keys), SnapshotLoad::unusable);
    files.files[path] =
        "\xFF\xFE" + in_file("Windows Registry Editor Version 5.00\r\n;record=A,,,,,,ASvc,\r\n");
    EXPECT_EQ(load_snapshot(files, path, code_page, keys), SnapshotLoad::unusable);
    EXPECT_EQ(load_snapshot(files, FOLDER + "\\missing.reg", code_page, keys),
              SnapshotLoad::unusable);
    EXPECT_TRUE(keys.empty());
}

// The registry holds each key once, and each value once in its key: a file
// that names one twice, in any letter case and either format, was edited,
// and none of it is handed out.
TEST_F(SnapshotStore, ASnapshotNamingAKeyOrValueTwiceIsAmbiguous) {
    const std::string head = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ASvc";
    const struct {
        const char* name;
        std::string body;
        SnapshotLoad load;
    } cases[] = {
        {"the service's key twice",
         head + "]\r\n\"Start\"=dword:3\r\n" + head + "]\r\n\"ImagePath\"=\"C:\\\\x.exe\"\r\n",
         SnapshotLoad::ambiguous},
        {"its key again in another letter case",
         head + "]\r\n" + head + "\\Parameters]\r\n[HKEY_LOCAL_MACHINE\\system\\"
                               "currentcontrolset\\services\\asvc]\r\n\"DeleteFlag\"=dword:1\r\n",
         SnapshotLoad::ambiguous},
        {"a subkey twice, apart",
         head + "\\Security]\r\n" + head + "]\r\n" + head + "\\SECURITY]\r\n",
         SnapshotLoad::ambiguous},
        {"a value twice in one key",
         head + "]\r\n\"imagepath\"=\"a\"\r\n\"ImagePath\"=\"b\"\r\n", SnapshotLoad::ambiguous},
        {"the key's default value twice", head + "]\r\n@=\"a\"\r\n@=\"b\"\r\n",
         SnapshotLoad::ambiguous},
        // Neither is a second name for the same thing.
        {"one value name in two keys",
         head + "]\r\n\"Start\"=dword:3\r\n" + head + "\\Parameters]\r\n\"Start\"=dword:3\r\n",
         SnapshotLoad::loaded},
        {"names alike but for more", head + "]\r\n\"Start\"=dword:3\r\n\"Start \"=dword:3\r\n" +
                                         head + "\\Sec]\r\n" + head + "\\Security]\r\n",
         SnapshotLoad::loaded},
    };
    const std::string path = save("A,,,,,,ASvc,", "ASvc", "a");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n" + c.body;
        FakeCodePage code_page;
        for (const std::string& bytes : {"\xFF\xFE" + utf16le_bytes(widen_ascii(text)),
                                         "REGEDIT4" + text.substr(text.find("\r\n"))}) {
            files.files[path] = bytes;
            RegistryTree keys;
            EXPECT_EQ(load_snapshot(files, path, code_page, keys), c.load);
            EXPECT_EQ(keys.empty(), c.load != SnapshotLoad::loaded);
        }
    }
}

// A snapshot that cannot be read now is not "no snapshot": unless newer
// readable ones already answer, the search says so and names the file.
TEST_F(SnapshotStore, AnUnreadableSnapshotOfTheServiceIsToldApartFromNone) {
    const std::string line = "Same,,,手動,,x.exe,SameSvc,";
    const std::string older = save(line, "SameSvc", "older");
    const std::string other = save("Other,,,,,,OtherSvc,", "OtherSvc", "other");
    const std::string newer = save(line, "SameSvc", "newer");
    std::string path;

    files.locked = {other};  // another service's file does not matter
    EXPECT_EQ(marker_at(0), "older");
    EXPECT_EQ(marker_at(2), "newer");

    files.locked = {older};  // the newest record is answered before it
    EXPECT_EQ(marker_at(2), "newer");
    EXPECT_EQ(find_snapshot(files, FOLDER, records, 0, path), SnapshotSearch::unreadable);
    EXPECT_EQ(path, older);

    files.locked = {newer};
    for (int index : {0, 2}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(find_snapshot(files, FOLDER, records, index, path), SnapshotSearch::unreadable);
        EXPECT_EQ(path, newer);
    }
    EXPECT_EQ(marker_at(1), "other");

    files.locked = {FOLDER};  // the folder cannot be listed
    EXPECT_EQ(find_snapshot(files, FOLDER, records, 1, path), SnapshotSearch::unreadable);
    EXPECT_EQ(path, FOLDER);

    files.locked.clear();
    files.files.erase(newer);
    files.files.erase(older);
    EXPECT_EQ(find_snapshot(files, FOLDER, records, 2, path), SnapshotSearch::none);
}

}  // namespace
}  // namespace quorvel
