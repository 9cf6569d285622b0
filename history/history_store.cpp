#include "history/history_store.h"

#include <algorithm>

#include "history/record_format.h"

namespace quorvel {

namespace {

using Lines = std::vector<HistoryRecord>;

// The file's records; false when it exists but cannot be read.
bool read_records(FileSystem& files, const std::string& path, Lines& records) {
    std::string bytes;
    switch (files.read_file(path, bytes)) {
    case ReadResult::absent:
        records.clear();
        return true;
    case ReadResult::unreadable:
        return false;
    case ReadResult::read:
        records = read_history_lines(bytes);
        return true;
    }
    return false;
}

// The one read-and-rewrite of every save. `change` edits the file's
// records and says whether there is anything to write.
template <typename Change>
bool rewrite_history(HistoryStore& store, FileSystem& files, const std::string& path,
                     Change change) {
    const std::unique_ptr<FileLock> lock = files.lock_file(path);
    if (!lock) return false;
    Lines records;
    if (!read_records(files, path, records)) {
        store.file_unread = true;
        return false;
    }
    store = HistoryStore{records, false};
    if (!change(records)) return true;
    const bool written = records.empty()
                             ? files.delete_file(path)
                             : files.replace_file(path, write_history_lines(records));
    if (written) store.records.swap(records);
    return written;
}

}  // namespace

void history_load(HistoryStore& store, FileSystem& files, const std::string& path) {
    store = HistoryStore{};
    history_reload(store, files, path);
}

// Under the lock of every save: held open by this read, the file would
// make another copy's save fail.
void history_reload(HistoryStore& store, FileSystem& files, const std::string& path) {
    const std::unique_ptr<FileLock> lock = files.lock_file(path);
    Lines records;
    store.file_unread = !lock || !read_records(files, path, records);
    if (!store.file_unread) store.records.swap(records);
}

bool history_is_empty(const HistoryStore& store) { return store.records.empty(); }

std::size_t equal_records_after(const std::vector<HistoryRecord>& records, std::size_t index) {
    const auto next = records.begin() + static_cast<std::ptrdiff_t>(index) + 1;
    return static_cast<std::size_t>(std::count(next, records.end(), records[index]));
}

RecordRef history_ref(const HistoryStore& store, int index) {
    const auto at = static_cast<std::size_t>(index);
    return {store.records.at(at), equal_records_after(store.records, at)};
}

bool history_save_added(HistoryStore& store, FileSystem& files, const std::string& path,
                        const HistoryRecord& record) {
    return rewrite_history(store, files, path, [&record](Lines& records) {
        records.push_back(record);
        return true;
    });
}

bool history_save_removed(HistoryStore& store, FileSystem& files, const std::string& path,
                          const RecordRef& record) {
    return rewrite_history(store, files, path, [&record](Lines& records) {
        std::vector<std::size_t> equal;
        for (std::size_t i = 0; i < records.size(); ++i)
            if (records[i] == record.line) equal.push_back(i);
        if (equal.empty()) return false;
        const std::size_t later = std::min(record.later, equal.size() - 1);
        records.erase(records.begin() + static_cast<std::ptrdiff_t>(equal[equal.size() - 1 - later]));
        return true;
    });
}

void history_clear(HistoryStore& store) { store.records.clear(); }

}  // namespace quorvel
