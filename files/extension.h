// The extension of a path's last component, found and replaced. Paths are
// code page 932 bytes: a double-byte character is stepped over whole, since
// its trail byte can be 0x5C, the backslash.
#pragma once

#include <string>

namespace quorvel {

// The extension of the path's last component without its dot: what follows
// the last dot after the last backslash, slash or colon; empty when that
// component has no dot.
std::string find_extension(const std::string& path);

// The path with the extension of its last component (from its last dot on,
// none when that component has no dot) replaced by `extension`, which
// brings its own dot.
std::string with_extension(const std::string& path, const char* extension);

}  // namespace quorvel
