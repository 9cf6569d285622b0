// Any bytes as the history file: loading never fails, keeps every byte of
// every line, and what was loaded is saved and loaded again unchanged, down
// to each record's eight texts.
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

void check_save_and_reload(HistoryStore& store) {
    quorvel::testing::FakeFileSystem files;
    FUZZ_CHECK(quorvel::history_save(store, files, PATH));
    FUZZ_CHECK(files.exists(PATH) == !store.records.empty());
    HistoryStore reloaded;
    quorvel::history_load(reloaded, files, PATH);
    FUZZ_CHECK(reloaded.records == store.records);
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
    check_save_and_reload(store);
    for (const HistoryRecord& record : store.records) check_texts_rewrite(record);
    return 0;
}
