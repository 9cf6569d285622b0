#include "history/history_store.h"

#include "history/record_format.h"

namespace quorvel {

void history_load(HistoryStore& store, FileSystem& files, const std::string& path) {
    store = HistoryStore{};
    std::string bytes;
    switch (files.read_file(path, bytes)) {
    case ReadResult::absent:
        break;
    case ReadResult::unreadable:
        store.file_unread = true;
        break;
    case ReadResult::read:
        store.records = read_history_lines(bytes);
        break;
    }
}

bool history_is_empty(const HistoryStore& store) { return store.records.empty(); }

void history_add_row(HistoryStore& store, const std::array<std::string, COLUMN_COUNT>& texts) {
    history_append(store, join_record(texts));
}

void history_append(HistoryStore& store, const HistoryRecord& line) {
    store.records.push_back(line);
}

bool history_merge_unread_file(HistoryStore& store, FileSystem& files, const std::string& path) {
    if (!store.file_unread) return true;
    std::string bytes;
    const ReadResult result = files.read_file(path, bytes);
    if (result == ReadResult::unreadable) return false;
    if (result == ReadResult::read) {
        std::vector<HistoryRecord> merged = read_history_lines(bytes);
        merged.insert(merged.end(), store.records.begin(), store.records.end());
        store.records.swap(merged);
    }
    store.file_unread = false;
    return true;
}

bool history_save(HistoryStore& store, FileSystem& files, const std::string& path) {
    if (!history_merge_unread_file(store, files, path)) return false;
    if (history_is_empty(store)) return files.delete_file(path);
    return files.replace_file(path, write_history_lines(store.records));
}

void history_remove(HistoryStore& store, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= store.records.size()) return;
    store.records.erase(store.records.begin() + index);
}

void history_clear(HistoryStore& store) { store.records.clear(); }

}  // namespace quorvel
