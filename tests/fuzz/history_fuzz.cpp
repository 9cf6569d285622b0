// Any bytes as the history file: loading never fails, keeps every byte of
// every line; a save adds or removes just its record, whatever the other
// lines hold, and loads again unchanged, down to each record's eight texts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/fake_file_system.h"
#include "fuzz_check.h"
#include "history/history_store.h"
#include "history/record_format.h"

namespace {

using quorvel::HistoryRecord;
using quorvel::HistoryStore;

const std::string PATH = "quorvel.his";

bool has_line_end(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// The lines are the file's bytes without its CR and LF bytes: nothing else
// is dropped, zero bytes included, nothing added.
void check_lines_keep_every_byte(const std::vector<HistoryRecord>& records,
                                 const std::string& bytes) {
    std::string expected;
    for (char byte : bytes)
        if (byte != '\r' && byte != '\n') expected += byte;
    std::string joined;
    for (const HistoryRecord& record : records) {
        FUZZ_CHECK(!record.empty());
        FUZZ_CHECK(!has_line_end(record));
        joined += record;
    }
    FUZZ_CHECK(joined == expected);
}

// A save adds or removes exactly the one record it means, keeps the rest
// in order, and what it wrote loads again as the store shows it.
void check_saves(const HistoryStore& loaded, const std::string& bytes, std::uint8_t pick) {
    quorvel::testing::FakeFileSystem files;
    files.files[PATH] = bytes;
    HistoryStore store = loaded;
    // The new record may equal any line; it is still the newest.
    const HistoryRecord added =
        loaded.records.empty() ? "added" : loaded.records[pick % loaded.records.size()];
    FUZZ_CHECK(quorvel::history_save_added(store, files, PATH, added));
    std::vector<HistoryRecord> expected = loaded.records;
    expected.push_back(added);
    FUZZ_CHECK(store.records == expected);

    const std::size_t index = pick % store.records.size();
    FUZZ_CHECK(quorvel::history_save_removed(store, files, PATH,
                                             quorvel::history_ref(store, static_cast<int>(index))));
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(index));
    FUZZ_CHECK(store.records == expected);
    FUZZ_CHECK(files.exists(PATH) == !expected.empty());
    HistoryStore reloaded;
    quorvel::history_load(reloaded, files, PATH);
    FUZZ_CHECK(reloaded.records == expected);
}

// A record written again from its texts is one line that gives the same texts.
void check_texts_rewrite(const HistoryRecord& record) {
    const quorvel::RecordTexts texts = quorvel::split_record(record);
    const std::string line = quorvel::join_record(texts);
    FUZZ_CHECK(!has_line_end(line));
    FUZZ_CHECK(quorvel::split_record(line) == texts);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    quorvel::testing::FakeFileSystem files;
    files.files[PATH] = bytes;
    HistoryStore store;
    quorvel::history_load(store, files, PATH);
    FUZZ_CHECK(!store.file_unread);
    check_lines_keep_every_byte(store.records, bytes);
    check_saves(store, bytes, size > 0 ? data[0] : 0);
    for (const HistoryRecord& record : store.records) check_texts_rewrite(record);
    return 0;
}
