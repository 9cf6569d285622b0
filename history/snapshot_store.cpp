#include "history/snapshot_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "catalogue/cp932.h"
#include "history/reg_file.h"

namespace quorvel {
namespace {

const char RECORD_MARK[] = "record=";
const char EXTENSION[] = ".reg";
const std::size_t NAME_BYTES = 64;  // of the service name in the file name

bool is_lead(const std::string& text, std::size_t i) {
    return is_cp932_lead_byte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
           static_cast<unsigned char>(text[i + 1]) >= 0x40;
}

std::string percent(unsigned char byte) {
    char code[4];
    std::snprintf(code, sizeof code, "%%%02X", byte);
    return code;
}

// The record as one comment line: whole double-byte characters and
// printable ASCII other than '%' stay, everything else becomes %XX.
std::string comment_for(const std::string& record) {
    std::string out = RECORD_MARK;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const auto byte = static_cast<unsigned char>(record[i]);
        if (is_lead(record, i)) {
            out += record.substr(i++, 2);
        } else if (byte >= 0x20 && byte < 0x7F && byte != '%') {
            out += record[i];
        } else {
            out += percent(byte);
        }
    }
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

// The sequence of a snapshot's file name; 0 for any other file.
unsigned long sequence_of(const std::string& file_name) {
    const std::size_t dash = file_name.find('-');
    if (dash == 0 || dash == std::string::npos || file_name.size() < sizeof EXTENSION ||
        file_name.compare(file_name.size() - (sizeof EXTENSION - 1), std::string::npos,
                          EXTENSION) != 0)
        return 0;
    for (std::size_t i = 0; i < dash; ++i)
        if (file_name[i] < '0' || file_name[i] > '9') return 0;
    return std::strtoul(file_name.substr(0, dash).c_str(), nullptr, 10);
}

struct SnapshotFile {
    unsigned long sequence;
    std::string path;
};

bool list_snapshots(FileSystem& files, const std::string& folder,
                    std::vector<SnapshotFile>& snapshots) {
    std::vector<std::string> names;
    if (!files.list_files(folder, names)) return false;
    for (const std::string& name : names)
        if (sequence_of(name) > 0) snapshots.push_back({sequence_of(name), folder + "\\" + name});
    std::sort(snapshots.begin(), snapshots.end(),
              [](const SnapshotFile& a, const SnapshotFile& b) { return a.sequence < b.sequence; });
    return true;
}

// Only the line after the header is read: a snapshot damaged further down
// still finds its record, so that the user learns of it.
bool names_record(FileSystem& files, const std::string& path, const std::string& comment) {
    std::string bytes;
    if (files.read_file(path, bytes) != ReadResult::read) return false;
    const std::string expected = "REGEDIT4\r\n;" + comment + "\r\n";
    return bytes.compare(0, expected.size(), expected) == 0;
}

}  // namespace

std::string save_snapshot(FileSystem& files, const std::string& folder, const std::string& record,
                          const std::string& service_name, const RegistryTree& keys) {
    std::vector<SnapshotFile> existing;
    std::string bytes;
    if (!files.make_folder(folder) || !list_snapshots(files, folder, existing) ||
        !write_reg_file(RegFile{{comment_for(record)}, keys}, bytes))
        return "";
    char sequence[24];
    std::snprintf(sequence, sizeof sequence, "%06lu",
                  existing.empty() ? 1UL : existing.back().sequence + 1);
    const std::string path =
        folder + "\\" + sequence + "-" + file_name_part(service_name) + EXTENSION;
    return files.replace_file(path, bytes) ? path : "";
}

std::string find_snapshot(FileSystem& files, const std::string& folder,
                          const std::vector<HistoryRecord>& records, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= records.size()) return "";
    const std::string& record = records[index];
    // How many records with the same line come after this one: they own the
    // newest snapshots of that line.
    const auto later = std::count(records.begin() + index + 1, records.end(), record);
    std::vector<SnapshotFile> snapshots;
    if (!list_snapshots(files, folder, snapshots)) return "";
    const std::string comment = comment_for(record);
    std::vector<std::string> linked;
    for (const SnapshotFile& snapshot : snapshots)
        if (names_record(files, snapshot.path, comment)) linked.push_back(snapshot.path);
    if (static_cast<std::size_t>(later) >= linked.size()) return "";
    return linked[linked.size() - 1 - static_cast<std::size_t>(later)];
}

bool load_snapshot(FileSystem& files, const std::string& path, RegistryTree& keys) {
    std::string bytes;
    RegFile file;
    if (files.read_file(path, bytes) != ReadResult::read || !read_reg_file(bytes, file) ||
        file.keys.empty())
        return false;
    keys = file.keys;
    return true;
}

}  // namespace quorvel
