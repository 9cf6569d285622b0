#include "history/snapshot_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "history/reg_file.h"
#include "history/record_format.h"
#include "text/byte_codes.h"
#include "text/cp932.h"

namespace quorvel {
namespace {

const char RECORD_MARK[] = "record=";
const char EXTENSION[] = ".reg";
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

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), std::string::npos, end) == 0;
}

// The sequence of a snapshot's file name; 0 for any other file.
unsigned long sequence_of(const std::string& file_name) {
    const std::size_t dash = file_name.find('-');
    if (dash == 0 || dash == std::string::npos || !ends_with(file_name, EXTENSION)) return 0;
    for (std::size_t i = 0; i < dash; ++i)
        if (file_name[i] < '0' || file_name[i] > '9') return 0;
    return std::strtoul(file_name.substr(0, dash).c_str(), nullptr, 10);
}

struct SnapshotFile {
    unsigned long sequence;
    std::string name;
    std::string path;
};

bool list_snapshots(FileSystem& files, const std::string& folder,
                    std::vector<SnapshotFile>& snapshots) {
    std::vector<std::string> names;
    if (!files.list_files(folder, names)) return false;
    for (const std::string& name : names)
        if (sequence_of(name) > 0)
            snapshots.push_back({sequence_of(name), name, folder + "\\" + name});
    std::sort(snapshots.begin(), snapshots.end(),
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
        if (bytes.compare(0, header.size(), header) == 0) return true;
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
    std::vector<SnapshotFile> existing;
    if (!lock || !list_snapshots(files, folder, existing)) return SnapshotSave::folder_not_writable;
    char sequence[24];
    std::snprintf(sequence, sizeof sequence, "%06lu",
                  existing.empty() ? 1UL : existing.back().sequence + 1);
    const std::string written =
        folder + "\\" + sequence + "-" + file_name_part(service_name) + EXTENSION;
    if (!files.replace_file(written, bytes)) return SnapshotSave::folder_not_writable;
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
    const auto later = static_cast<std::size_t>(
        std::count(records.begin() + index + 1, records.end(), record));
    std::vector<SnapshotFile> snapshots;
    if (!list_snapshots(files, folder, snapshots)) {
        path = folder;
        return SnapshotSearch::unreadable;
    }
    const std::vector<std::string> headers = headers_for(record);
    const std::string own_name =
        "-" + file_name_part(split_record(record)[COL_SERVICE_NAME]) + EXTENSION;
    std::size_t newer = 0;
    for (auto snapshot = snapshots.rbegin(); snapshot != snapshots.rend(); ++snapshot) {
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

bool load_snapshot(FileSystem& files, const std::string& path, CodePage& code_page,
                   RegistryTree& keys) {
    std::string bytes;
    RegFile file;
    if (files.read_file(path, bytes) != ReadResult::read ||
        !read_reg_file(bytes, code_page, file) || file.keys.empty())
        return false;
    keys = file.keys;
    return true;
}

}  // namespace quorvel
