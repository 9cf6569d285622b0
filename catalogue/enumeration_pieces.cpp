#include "catalogue/enumeration_pieces.h"

namespace quorvel {

std::vector<EnumRecord> enumerate_in_pieces(const FetchPiece& fetch) {
    std::vector<EnumRecord> records;
    std::uint32_t resume = 0;
    for (;;) {
        const std::size_t before = records.size();
        if (fetch(resume, records) != PieceEnd::more || records.size() == before) return records;
    }
}

}  // namespace quorvel
