// Checks on a security descriptor read from a file, before the platform
// sees it: the platform's own checks trust the offsets inside it and would
// read wherever they point.
#pragma once

#include <string>

namespace quorvel {

// True when `bytes` hold a self-relative security descriptor whose owner,
// group and access lists, and every entry of those lists, lie inside the
// bytes. Entries are allowed only of the kinds that hold an access mask
// and an account (allowed, denied, audit, alarm, integrity label).
bool is_well_formed_security_descriptor(const std::string& bytes);

}  // namespace quorvel
