#include "catalogue/security_descriptor.h"

#include <cstdint>

#include "text/byte_codes.h"

namespace quorvel {

namespace {

const std::size_t HEADER_BYTES = 20;
const unsigned REVISION = 1;
const std::uint32_t SELF_RELATIVE = 0x8000;
const std::size_t SID_HEADER_BYTES = 8;
const unsigned SID_REVISION = 1;
const unsigned MAX_SUB_AUTHORITIES = 15;
const std::size_t ACL_HEADER_BYTES = 8;
const unsigned MIN_ACL_REVISION = 2;
const unsigned MAX_ACL_REVISION = 4;
const std::size_t ACE_HEADER_BYTES = 4;
const std::size_t ACE_MASK_BYTES = 4;
const unsigned MANDATORY_LABEL_ACE = 0x11;

// The descriptor's 2-byte numbers.
std::uint32_t word_at(const std::string& bytes, std::size_t at) {
    return little_endian_at(bytes, at, 2);
}

// True when [at, at + length) lies inside [0, end).
bool inside(std::size_t at, std::size_t length, std::size_t end) {
    return at <= end && length <= end - at;
}

// A SID at `at` that ends no later than `end`.
bool sid_fits(const std::string& bytes, std::size_t at, std::size_t end) {
    if (!inside(at, SID_HEADER_BYTES, end)) return false;
    const unsigned revision = static_cast<unsigned char>(bytes[at]);
    const unsigned count = static_cast<unsigned char>(bytes[at + 1]);
    return revision == SID_REVISION && count <= MAX_SUB_AUTHORITIES &&
           inside(at, SID_HEADER_BYTES + 4 * count, end);
}

bool ace_fits(const std::string& bytes, std::size_t at, std::size_t size) {
    const unsigned type = static_cast<unsigned char>(bytes[at]);
    const bool mask_and_sid = type <= 3 || type == MANDATORY_LABEL_ACE;
    const std::size_t sid = at + ACE_HEADER_BYTES + ACE_MASK_BYTES;
    return mask_and_sid && size >= ACE_HEADER_BYTES + ACE_MASK_BYTES && sid_fits(bytes, sid, at + size);
}

bool acl_fits(const std::string& bytes, std::size_t at) {
    if (!inside(at, ACL_HEADER_BYTES, bytes.size())) return false;
    const unsigned revision = static_cast<unsigned char>(bytes[at]);
    const std::size_t size = word_at(bytes, at + 2);
    const std::size_t count = word_at(bytes, at + 4);
    if (revision < MIN_ACL_REVISION || revision > MAX_ACL_REVISION || size < ACL_HEADER_BYTES ||
        !inside(at, size, bytes.size()))
        return false;
    const std::size_t end = at + size;
    std::size_t entry = at + ACL_HEADER_BYTES;
    for (std::size_t i = 0; i < count; ++i) {
        if (!inside(entry, ACE_HEADER_BYTES, end)) return false;
        const std::size_t entry_size = word_at(bytes, entry + 2);
        if (!inside(entry, entry_size, end) || !ace_fits(bytes, entry, entry_size)) return false;
        entry += entry_size;
    }
    return true;
}

}  // namespace

bool is_well_formed_security_descriptor(const std::string& bytes) {
    if (bytes.size() < HEADER_BYTES || static_cast<unsigned char>(bytes[0]) != REVISION ||
        (word_at(bytes, 2) & SELF_RELATIVE) == 0)
        return false;
    // Owner, group, system list and access list; 0 is "none".
    const std::uint32_t owner = dword_at(bytes, 4), group = dword_at(bytes, 8);
    const std::uint32_t sacl = dword_at(bytes, 12), dacl = dword_at(bytes, 16);
    return (owner == 0 || sid_fits(bytes, owner, bytes.size())) &&
           (group == 0 || sid_fits(bytes, group, bytes.size())) &&
           (sacl == 0 || acl_fits(bytes, sacl)) && (dacl == 0 || acl_fits(bytes, dacl));
}

}  // namespace quorvel
