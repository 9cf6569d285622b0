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

// Every record, each once, in the manager's order: pieces are fetched from
// resume point 0 until one is the last. A failed call, or one that says
// more remain but brings none, ends the list with what has arrived.
std::vector<EnumRecord> enumerate_in_pieces(const FetchPiece& fetch);

}  // namespace quorvel
