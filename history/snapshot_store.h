// Snapshots of deleted services' registry keys: one .reg file per deleted
// service in a folder beside the history file, named
// "<sequence>-<service name>.reg" (the sequence only grows, so two
// deletions of one name never share a file).
//
// A snapshot names its history record in its first comment line,
// ";record=<the record line>" ('%' and every byte but printable ASCII as
// %XX), and that is the whole link: the history file stays as it was, and
// the link survives restarts and the removal of other records. Records
// with the same line (one service deleted twice with the same row) are
// paired with their snapshots in order, the newest record with the newest
// snapshot; a record older than every snapshot (from a history written
// before snapshots were kept) has none.
#pragma once

#include <string>
#include <vector>

#include "catalogue/service_registry.h"
#include "history/file_system.h"
#include "history/history_store.h"
#include "text/code_page.h"

namespace quorvel {

enum class SnapshotSave {
    saved,
    name_not_writable,    // a key or value name that a .reg file cannot hold
    folder_not_writable,  // the folder cannot be made, listed or written
};

// Writes the snapshot of the service whose history record is `record`,
// creating the folder if needed; `path` is then the new file. Nothing is
// left behind when it fails.
SnapshotSave save_snapshot(FileSystem& files, const std::string& folder, const std::string& record,
                           const std::string& service_name, const RegistryTree& keys,
                           std::string& path);

enum class SnapshotSearch {
    found,       // `path` is the record's snapshot
    none,        // the record has no snapshot
    unreadable,  // `path`, a file that may be the record's snapshot, or the
                 // folder, cannot be read now
};

// Looks for the snapshot of records[index].
SnapshotSearch find_snapshot(FileSystem& files, const std::string& folder,
                             const std::vector<HistoryRecord>& records, int index,
                             std::string& path);

// The keys of a snapshot file; false when it cannot be read or is not a
// snapshot of a service key. Snapshots of earlier builds hold code page
// texts, which `code_page` turns into wide ones.
bool load_snapshot(FileSystem& files, const std::string& path, CodePage& code_page,
                   RegistryTree& keys);

}  // namespace quorvel
