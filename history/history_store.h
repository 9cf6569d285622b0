// history/: what keeps deleted services restorable: the history file, the key snapshots.
//
// The saved rows of deleted services, oldest first, and the history file
// that holds them. The file is the only way back for a deleted service,
// so no operation here may leave it with fewer records than it had.
//
// The store is a view of the file: another copy of the program, or anyone
// else, may add or remove records while this one runs. So a save never
// writes the store out; it reads the file's records afresh, with the
// other copies locked out, applies this run's one change (a record added
// or a record removed) and rewrites the file; the store then holds what
// the file holds.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "files/file_system.h"

namespace quorvel {

// One line of the history file: a row's eight texts joined by commas
// (escaped when needed, see record_format.h). split_record gives the texts.
using HistoryRecord = std::string;

struct HistoryStore {
    std::vector<HistoryRecord> records;  // index 0 is the oldest deletion
    // The last read of the file failed (held open elsewhere): it may hold
    // records that `records` lacks.
    bool file_unread = false;
};

// Empties the store and fills it from the file, read under the lock a
// save takes. An absent file gives an empty store; an unreadable one, or
// one whose lock another copy keeps, an empty store with `file_unread` set.
void history_load(HistoryStore& store, FileSystem& files, const std::string& path);

// Reads the file again, as history_load does. While it is unreadable the
// records stay as they were, with `file_unread` set.
void history_reload(HistoryStore& store, FileSystem& files, const std::string& path);

bool history_is_empty(const HistoryStore& store);

// A record as a save finds it again in the file: its line, and how many
// equal lines come after it. Equal lines pair with snapshots newest with
// newest, so this says which of them is meant.
struct RecordRef {
    HistoryRecord line;
    std::size_t later = 0;
};

// How many records after the one at `index`, which must exist, equal it.
std::size_t equal_records_after(const std::vector<HistoryRecord>& records, std::size_t index);

// The reference of the store's record at `index`, which must exist.
RecordRef history_ref(const HistoryStore& store, int index);

// Adds `record` after the file's current records and rewrites the file.
// True when the file now holds it. False when the file could not be read
// (it is then never written), its lock could not be had, or the rewrite
// failed; the file is then as it was. Either way the store afterwards
// holds what the file holds, or is unchanged when the file was unreadable.
[[nodiscard]] bool history_save_added(HistoryStore& store, FileSystem& files,
                                      const std::string& path, const HistoryRecord& record);

// Takes `record` out of the file's current records and rewrites the file,
// or deletes it when nothing is left. Of several equal lines, the one with
// `record.later` equal lines after it goes (the oldest when fewer remain).
// True when the file no longer holds it, also when it was gone already;
// otherwise as history_save_added.
[[nodiscard]] bool history_save_removed(HistoryStore& store, FileSystem& files,
                                        const std::string& path, const RecordRef& record);

// Forgets every record without touching the file.
void history_clear(HistoryStore& store);

}  // namespace quorvel
