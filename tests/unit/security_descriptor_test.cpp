#include "catalogue/security_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "fakes/registry_bytes.h"

namespace quorvel {
namespace {

using testing::le32;

std::string le16(std::uint32_t n) {
    return {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF)};
}

// S-1-5-<rid>, or with `count` sub-authorities claimed.
std::string sid(std::uint32_t rid, unsigned count = 1) {
    return std::string("\x01", 1) + static_cast<char>(count) + std::string("\0\0\0\0\0\x05", 6) +
           le32(rid);
}

std::string ace(unsigned type, const std::string& account, std::size_t extra = 0) {
    return static_cast<char>(type) + std::string(1, '\0') + le16(8 + account.size() + extra) +
           le32(0xF01FF) + account + std::string(extra, '\0');
}

std::string acl(const std::vector<std::string>& aces, std::size_t claimed_count = ~0u) {
    std::string body;
    for (const std::string& entry : aces) body += entry;
    const std::size_t count = claimed_count == ~0u ? aces.size() : claimed_count;
    return "\x02" + std::string(1, '\0') + le16(8 + body.size()) + le16(count) + le16(0) + body;
}

// A self-relative descriptor: the header, then owner, group and access
// list in that order; an empty part is none.
std::string descriptor(const std::string& owner, const std::string& group,
                       const std::string& dacl) {
    std::uint32_t at = 20;
    auto offset = [&at](const std::string& part) {
        const std::uint32_t here = part.empty() ? 0 : at;
        at += static_cast<std::uint32_t>(part.size());
        return le32(here);
    };
    std::string header = std::string("\x01\x00", 2) + le16(0x8004);
    header += offset(owner);
    header += offset(group);
    header += le32(0);
    header += offset(dacl);
    return header + owner + group + dacl;
}

const std::string SYSTEM = sid(18);
const std::string ADMINS = std::string("\x01\x02\0\0\0\0\0\x05", 8) + le32(32) + le32(544);

TEST(SecurityDescriptor, WellFormedOnesPass) {
    const std::string cases[] = {
        std::string("\x01\x00\x00\x80", 4) + le32(0) + le32(0) + le32(0) + le32(0),
        descriptor(SYSTEM, SYSTEM, acl({ace(0, SYSTEM), ace(1, ADMINS), ace(0x11, SYSTEM)})),
        descriptor(ADMINS, "", acl({})),
        descriptor("", "", acl({ace(0, SYSTEM, 4)})),  // room to spare inside the entry
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        EXPECT_TRUE(is_well_formed_security_descriptor(bytes));
    }
}

TEST(SecurityDescriptor, EveryPartMustLieInsideTheBytes) {
    const std::string good = descriptor(SYSTEM, ADMINS, acl({ace(0, SYSTEM), ace(0, ADMINS)}));
    // Cut anywhere, some part reaches past the end.
    for (std::size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_FALSE(is_well_formed_security_descriptor(good.substr(0, size)));
    }
    const struct {
        const char* name;
        std::function<std::string()> make;
    } cases[] = {
        {"revision 2", [&good] { return "\x02" + good.substr(1); }},
        {"absolute", [&good] { return good.substr(0, 2) + le16(0x0004) + good.substr(4); }},
        {"owner far out", [&good] { return good.substr(0, 4) + le32(0xFFFFFFF0) + good.substr(8); }},
        {"owner with 16 sub-authorities",
         [] { return descriptor(sid(18, 16) + std::string(60, '\0'), "", ""); }},
        {"owner of another revision",
         [] { return descriptor("\x02" + SYSTEM.substr(1), "", ""); }},
        {"more entries claimed than held",
         [] { return descriptor("", "", acl({ace(0, SYSTEM)}, 2)); }},
        {"an entry of size 0",
         [] { return descriptor("", "", acl({std::string(4, '\0') + le32(0) + SYSTEM})); }},
        {"an entry whose account passes its end",
         [] {
             std::string entry = ace(0, SYSTEM);
             entry[2] = 12;  // header, mask and half the account
             return descriptor("", "", acl({entry}));
         }},
        {"an object entry", [] { return descriptor("", "", acl({ace(5, SYSTEM)})); }},
        {"a list longer than the bytes",
         [] {
             std::string list = acl({ace(0, SYSTEM)});
             list[2] = static_cast<char>(list.size() + 8);
             return descriptor("", "", list);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(is_well_formed_security_descriptor(c.make()));
    }
}

}  // namespace
}  // namespace quorvel
