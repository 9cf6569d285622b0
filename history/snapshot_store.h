// Snapshots of deleted services' registry keys: one .reg file per deleted
// service in a folder beside the history file, named
// "<sequence>-<service name>.reg" (the sequence only grows, and a new
// snapshot never replaces a file, so two deletions of one name never share
// one).
//
// A snapshot names its history record in its first comment line,
// ";record=<the record line>" ('%' and every byte but printable ASCII as
// %XX), and that is the whole link: the history file stays as it was, and
// the link survives restarts and the removal of other records. Records
// with the same line (one service deleted twice with the same row) are
// paired with their snapshots in order, the newest record with the newest
// snapshot; a record older than every snapshot (from a history written
// before snapshots were kept) has none.
//
// A snapshot whose record leaves the history is deleted, or, when it must
// stay (it holds what could not be restored, or cannot be deleted), set
// aside as "<sequence>-<service name>.kept.reg": still a registry file to
// import by hand, but one that answers for no record again, so that a
// later record of the same service never takes it for its own.
#pragma once

#include <string>
#include <vector>

#include "catalogue/service_registry.h"
#include "files/file_system.h"
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
// left behind when it fails. The folder counts as not writable too when
// its numbers have run out (a file numbered beyond 64 bits, or at their
// end): a number that came round again would name an older file.
[[nodiscard]] SnapshotSave save_snapshot(FileSystem& files, const std::string& folder,
                                         const std::string& record, const std::string& service_name,
                                         const RegistryTree& keys, std::string& path);

enum class SnapshotSearch {
    found,       // `path` is the record's snapshot
    none,        // the record has no snapshot
    unreadable,  // `path`, a file that may be the record's snapshot, or the
                 // folder, cannot be read now
};

// Looks for the snapshot of records[index]; snapshots set aside are passed over.
[[nodiscard]] SnapshotSearch find_snapshot(FileSystem& files, const std::string& folder,
                                           const std::vector<HistoryRecord>& records, int index,
                                           std::string& path);

// The name a snapshot is set aside under: ".reg" becomes ".kept.reg".
std::string kept_snapshot_path(const std::string& path);

enum class SnapshotFate {
    deleted,
    kept,  // set aside under kept_snapshot_path
    left,  // neither deleted nor renamed (held open elsewhere): it still
           // names its record under its own name
};

// Ends the snapshot's pairing once its record has left the history: the
// file is deleted unless `keep` is set or the deletion fails, and is
// otherwise set aside. `now_at` is where it lies afterwards.
[[nodiscard]] SnapshotFate retire_snapshot(FileSystem& files, const std::string& path, bool keep,
                                           std::string& now_at);

enum class SnapshotLoad {
    loaded,
    unusable,   // cannot be read, is refused by read_reg_file (damaged,
                // or names the registry would take for others), or holds no key
    ambiguous,  // names a key, or a value of one key, twice (letter case
                // aside): the registry holds each once, so the file was
                // edited, and which copy would count is anyone's guess
};

// The keys of a snapshot file, in `keys` only when loaded. Snapshots of
// earlier builds hold code page texts, which `code_page` turns into wide
// ones.
[[nodiscard]] SnapshotLoad load_snapshot(FileSystem& files, const std::string& path,
                                         CodePage& code_page, RegistryTree& keys);

}  // namespace quorvel
