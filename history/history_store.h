// The saved rows of deleted services, oldest first, and the history file
// that mirrors them. The file is the only way back for a deleted service,
// so no operation here may leave it with fewer records than it had.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalogue/service_row.h"
#include "history/file_system.h"

namespace quorvel {

// One line of the history file: a row's eight texts joined by commas
// (escaped when needed, see record_format.h). split_record gives the texts.
using HistoryRecord = std::string;

struct HistoryStore {
    std::vector<HistoryRecord> records;  // index 0 is the oldest deletion
    // The file existed at the last load but could not be read: its records
    // are missing from `records`, so it must not be overwritten until they
    // have been merged in.
    bool file_unread = false;
};

// Empties the store and fills it from the file. An absent file gives an
// empty store; an unreadable one an empty store with `file_unread` set.
void history_load(HistoryStore& store, FileSystem& files, const std::string& path);

bool history_is_empty(const HistoryStore& store);

// Appends the record of one row; each text is at most 259 bytes, as a
// 260-byte buffer reads it from the list view.
void history_add_row(HistoryStore& store, const std::array<std::string, COLUMN_COUNT>& texts);

// Appends `line` as it stands; it must already be a record line.
void history_append(HistoryStore& store, const HistoryRecord& line);

// Makes the file hold the store: rewritten whole in one step, or deleted
// when the store is empty. Merges an unread file first. True exactly when
// the file now holds every record of the store; on false the file is as
// it was before the call.
bool history_save(HistoryStore& store, FileSystem& files, const std::string& path);

// Reads a file that was unread at the load and puts its records before
// this run's ones. True when the store now includes the file's records
// (also when there was nothing to merge); false while it is still unreadable.
bool history_merge_unread_file(HistoryStore& store, FileSystem& files, const std::string& path);

// Removes the record at this 0-based index; other indexes change nothing.
void history_remove(HistoryStore& store, int index);

// Forgets every record without touching the file. An unread file stays
// marked as unread, so a later save still cannot overwrite it.
void history_clear(HistoryStore& store);

}  // namespace quorvel
