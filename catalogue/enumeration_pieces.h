// The Service Control Manager hands out its list of services in pieces:
// one call returns what fits its buffer (Windows caps a call at 256 KiB),
// says that more remain and gives a resume point for the next call.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "catalogue/service_manager.h"

namespace quorvel {

// How one call of the enumeration ended.
enum class PieceEnd { last, more, failed };

// One call from the resume point on: appends the records it returned and
// moves `resume` past them.
using FetchPiece =
    std::function<PieceEnd(std::uint32_t& resume, std::vector<EnumRecord>& records)>;

// Every record, each service once, in the manager's order: pieces are
// fetched from resume point 0 until one is the last. A failed call, or one
// that says more remain but brings none, starts the list over once; should
// it fall short again, the longer of the two lists comes back, marked
// incomplete.
[[nodiscard]] Enumeration enumerate_in_pieces(const FetchPiece& fetch);

// What tells two records apart as services: the exact name.
using ServiceKey = WideText;
ServiceKey service_key(const EnumRecord& record);

// Keeps the first record of each service, in order. A list that changes
// while it is handed out in pieces can bring a service twice.
void drop_repeated_services(std::vector<EnumRecord>& records);

}  // namespace quorvel
