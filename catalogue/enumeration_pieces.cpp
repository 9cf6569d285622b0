#include "catalogue/enumeration_pieces.h"

#include <set>

namespace quorvel {

namespace {

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

Enumeration enumerate_in_pieces(const FetchPiece& fetch) {
    Enumeration listed;
    std::vector<EnumRecord>& records = listed.records;
    listed.complete = fetch_all(fetch, records);
    if (!listed.complete) {
        std::vector<EnumRecord> again;
        listed.complete = fetch_all(fetch, again);
        if (listed.complete || again.size() >= records.size()) records.swap(again);
    }
    drop_repeated_services(records);
    return listed;
}

ServiceKey service_key(const EnumRecord& record) { return record.exact_name; }

void drop_repeated_services(std::vector<EnumRecord>& records) {
    std::set<ServiceKey> seen;
    std::vector<EnumRecord> kept;
    kept.reserve(records.size());
    for (EnumRecord& record : records)
        if (seen.insert(service_key(record)).second) kept.push_back(std::move(record));
    records.swap(kept);
}

}  // namespace quorvel
