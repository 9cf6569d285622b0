#include "catalogue/enumeration_pieces.h"

#include <set>

namespace quorvel {

namespace {

// No service has an empty name, so a record without one can mark the end.
bool is_incomplete_mark(const EnumRecord& record) { return record.service_name.empty(); }

// One pass from resume point 0; false when it ended before the last piece.
bool fetch_all(const FetchPiece& fetch, std::vector<EnumRecord>& records) {
    std::uint32_t resume = 0;
    for (;;) {
        const std::size_t before = records.size();
        const PieceEnd end = fetch(resume, records);
        if (end == PieceEnd::last) return true;
        if (end == PieceEnd::failed || records.size() == before) return false;
    }
}

}  // namespace

std::vector<EnumRecord> enumerate_in_pieces(const FetchPiece& fetch) {
    std::vector<EnumRecord> records;
    bool complete = fetch_all(fetch, records);
    if (!complete) {
        std::vector<EnumRecord> again;
        complete = fetch_all(fetch, again);
        if (complete || again.size() >= records.size()) records.swap(again);
    }
    drop_repeated_services(records);
    if (!complete) records.push_back(EnumRecord{});
    return records;
}

bool take_incomplete_mark(std::vector<EnumRecord>& records) {
    if (records.empty() || !is_incomplete_mark(records.back())) return true;
    records.pop_back();
    return false;
}

ServiceKey service_key(const EnumRecord& record) { return record.service_name; }

void drop_repeated_services(std::vector<EnumRecord>& records) {
    std::set<ServiceKey> seen;
    std::vector<EnumRecord> kept;
    kept.reserve(records.size());
    for (EnumRecord& record : records)
        if (seen.insert(service_key(record)).second) kept.push_back(std::move(record));
    records.swap(kept);
}

}  // namespace quorvel
