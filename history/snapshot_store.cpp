#include "history/snapshot_store.h"

#include <algorithm>
#include <cstdint>

#include "history/reg_file.h"
#include "history/record_format.h"
#include "text/affixes.h"
#include "text/byte_codes.h"
#include "text/cp932.h"

namespace quorvel {
namespace {

const char RECORD_MARK[] = "record=";
const char EXTENSION[] = ".reg";
// A snapshot set aside: still a .reg file for the registry editor, but one
// that answers for no record. A live snapshot's name holds no '.' before
// its extension (file_name_part turns it into '_'), so none ends so.
const char KEPT_EXTENSION[] = ".kept.reg";
const std::size_t SEQUENCE_DIGITS = 6;  // at least; more as the numbers grow
const std::size_t NAME_BYTES = 64;  // of the service name in the file name

// A byte of the record as the comment line holds it: printable ASCII other
// than '%' as it is, any other byte as %XX.
std::string line_byte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x7F && byte != '%' ? std::string(1, c) : percent_code(byte);
}

// The record as one comment line, pure ASCII, so it reads the same in any
// format and code page.
std::string comment_for(const std::string& record) {
    std::string out = RECORD_MARK;
    for (const char c : record) out += line_byte(c);
    return out;
}

// The same line as builds before the Unicode format wrote it: whole
// double-byte characters stayed as they were.
std::string legacy_comment_for(const std::string& record) {
    std::string out = RECORD_MARK;
    for (std::size_t i = 0; i < record.size(); ++i)
        out += is_whole_cp932_char(record, i) ? record.substr(i++, 2) : line_byte(record[i]);
    return out;
}

// A file name keeps the ASCII letters and digits of the service name and
// turns every other byte into '_': some are not allowed in file names, and
// a double-byte character may end in a backslash.
std::string file_name_part(const std::string& service_name) {
    std::string out = service_name.substr(0, NAME_BYTES);
    for (char& byte : out) {
        const bool keep = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                          (byte >= 'a' && byte <= 'z') || byte == '-' || byte == '_';
        if (!keep) byte = '_';
    }
    return out;
}

enum class Numbering { none, numbered, too_large };

// The number a snapshot's file name starts with, before its first '-',
// read in 64 bits; `none` for any other file, also for the number 0.
Numbering sequence_of(const std::string& file_name, std::uint64_t& sequence) {
    const std::size_t dash = file_name.find('-');
    if (dash == 0 || dash == std::string::npos || !ends_with(file_name, EXTENSION))
        return Numbering::none;
    for (std::size_t i = 0; i < dash; ++i)
        if (file_name[i] < '0' || file_name[i] > '9') return Numbering::none;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < dash; ++i) {
        const auto digit = static_cast<std::uint64_t>(file_name[i] - '0');
        if (value > (UINT64_MAX - digit) / 10) return Numbering::too_large;
        value = value * 10 + digit;
    }
    if (value == 0) return Numbering::none;
    sequence = value;
    return Numbering::numbered;
}

std::string sequence_text(std::uint64_t sequence) {
    std::string digits = std::to_string(sequence);
    if (digits.size() < SEQUENCE_DIGITS) digits.insert(0, SEQUENCE_DIGITS - digits.size(), '0');
    return digits;
}

struct SnapshotFile {
    std::uint64_t sequence;
    std::string name;
    std::string path;
    bool kept;  // set aside: counts for the numbers, answers for no record
};

struct SnapshotFolder {
    std::vector<SnapshotFile> snapshots;  // by sequence
    bool number_too_large = false;        // some file's number does not fit 64 bits
};

bool list_snapshots(FileSystem& files, const std::string& folder, SnapshotFolder& listed) {
    std::vector<std::string> names;
    if (!files.list_files(folder, names)) return false;
    for (const std::string& name : names) {
        std::uint64_t sequence = 0;
        switch (sequence_of(name, sequence)) {
        case Numbering::none:
            break;
        case Numbering::too_large:
            listed.number_too_large = true;
            break;
        case Numbering::numbered:
            listed.snapshots.push_back(
                {sequence, name, folder + "\\" + name, ends_with(name, KEPT_EXTENSION)});
            break;
        }
    }
    std::sort(listed.snapshots.begin(), listed.snapshots.end(),
              [](const SnapshotFile& a, const SnapshotFile& b) { return a.sequence < b.sequence; });
    return true;
}

// A snapshot's first lines, which name its record: as save_snapshot writes
// them, and as builds before the Unicode format did. Only they are
// compared: a snapshot damaged further down still finds its record, so
// that the user learns of it.
std::vector<std::string> headers_for(const std::string& record) {
    const WideText lines =
        u"Windows Registry Editor Version 5.00\r\n;" + widen_ascii(comment_for(record)) + u"\r\n";
    return {"\xFF\xFE" + utf16le_bytes(lines),
            "REGEDIT4\r\n;" + legacy_comment_for(record) + "\r\n"};
}

bool starts_with_any(const std::string& bytes, const std::vector<std::string>& headers) {
    for (const std::string& header : headers)
        if (starts_with(bytes, header)) return true;
    return false;
}

// A second copy of a key would be written after the first, whose values
// alone were checked; a second value would overwrite the first in the
// registry while the first went to the Service Control Manager.
bool names_twice(const RegistryTree& keys) {
    for (auto key = keys.begin(); key != keys.end(); ++key) {
        for (auto later = key + 1; later != keys.end(); ++later)
            if (same_wide_name(key->path, later->path)) return true;
        const std::vector<RegistryValue>& values = key->values;
        for (auto value = values.begin(); value != values.end(); ++value)
            for (auto later = value + 1; later != values.end(); ++later)
                if (same_wide_name(value->name, later->name)) return true;
    }
    return false;
}

}  // namespace

SnapshotSave save_snapshot(FileSystem& files, const std::string& folder, const std::string& record,
                           const std::string& service_name, const RegistryTree& keys,
                           std::string& path) {
    std::string bytes;
    if (!write_reg_file(RegFile{{comment_for(record)}, keys}, bytes))
        return SnapshotSave::name_not_writable;
    if (!files.make_folder(folder)) return SnapshotSave::folder_not_writable;
    // Two copies of the program deleting at once must not take one sequence.
    const std::unique_ptr<FileLock> lock = files.lock_file(folder);
    SnapshotFolder existing;
    if (!lock || !list_snapshots(files, folder, existing)) return SnapshotSave::folder_not_writable;
    // A number that came round again would name an older snapshot's file.
    const std::uint64_t last =
        existing.snapshots.empty() ? 0 : existing.snapshots.back().sequence;
    if (existing.number_too_large || last == UINT64_MAX) return SnapshotSave::folder_not_writable;
    const std::string written = folder + "\\" + sequence_text(last + 1) + "-" +
                                file_name_part(service_name) + EXTENSION;
    // Never over a file that is there, whatever the listing missed.
    if (!files.create_file(written, bytes)) return SnapshotSave::folder_not_writable;
    path = written;
    return SnapshotSave::saved;
}

// From the newest snapshot back: the record with `later` equal records
// after it owns the (later + 1)-th newest snapshot naming it. A file that
// cannot be read and is named for the record's service may be one of
// those, so before it nothing can be said.
SnapshotSearch find_snapshot(FileSystem& files, const std::string& folder,
                             const std::vector<HistoryRecord>& records, int index,
                             std::string& path) {
    if (index < 0 || static_cast<std::size_t>(index) >= records.size()) return SnapshotSearch::none;
    const std::string& record = records[index];
    const std::size_t later = equal_records_after(records, static_cast<std::size_t>(index));
    SnapshotFolder listed;
    if (!list_snapshots(files, folder, listed)) {
        path = folder;
        return SnapshotSearch::unreadable;
    }
    const std::vector<SnapshotFile>& snapshots = listed.snapshots;
    const std::vector<std::string> headers = headers_for(record);
    const std::string own_name =
        "-" + file_name_part(split_record(record)[COL_SERVICE_NAME]) + EXTENSION;
    std::size_t newer = 0;
    for (auto snapshot = snapshots.rbegin(); snapshot != snapshots.rend(); ++snapshot) {
        if (snapshot->kept) continue;
        std::string bytes;
        const ReadResult read = files.read_file(snapshot->path, bytes);
        if (read == ReadResult::unreadable && ends_with(snapshot->name, own_name)) {
            path = snapshot->path;
            return SnapshotSearch::unreadable;
        }
        if (read == ReadResult::read && starts_with_any(bytes, headers) &&
            newer++ == later) {
            path = snapshot->path;
            return SnapshotSearch::found;
        }
    }
    return SnapshotSearch::none;
}

std::string kept_snapshot_path(const std::string& path) {
    const std::size_t plain = path.size() - (ends_with(path, EXTENSION) ? sizeof EXTENSION - 1 : 0);
    return path.substr(0, plain) + KEPT_EXTENSION;
}

SnapshotFate retire_snapshot(FileSystem& files, const std::string& path, bool keep,
                             std::string& now_at) {
    now_at = path;
    if (!keep && files.delete_file(path)) return SnapshotFate::deleted;
    const std::string kept = kept_snapshot_path(path);
    if (!files.rename_file(path, kept)) return SnapshotFate::left;
    now_at = kept;
    return SnapshotFate::kept;
}

SnapshotLoad load_snapshot(FileSystem& files, const std::string& path, CodePage& code_page,
                           RegistryTree& keys) {
    std::string bytes;
    RegFile file;
    if (files.read_file(path, bytes) != ReadResult::read ||
        !read_reg_file(bytes, code_page, file) || file.keys.empty())
        return SnapshotLoad::unusable;
    if (names_twice(file.keys)) return SnapshotLoad::ambiguous;
    keys = file.keys;
    return SnapshotLoad::loaded;
}

}  // namespace quorvel
