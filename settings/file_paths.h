// Where the settings and history files lie: beside the executable, named
// after it.
#pragma once

#include <string>

namespace quorvel {

// The executable's path with its extension (the last component from its
// last dot on, none when that component has no dot) replaced by ".ini".
std::string settings_path(const std::string& executable_path);

// The same with ".his".
std::string history_path(const std::string& executable_path);

// The extension of the path's last component without its dot: what follows
// the last dot after the last backslash, slash or colon; empty when that
// component has no dot.
std::string find_extension(const std::string& path);

// The folder of the snapshots of deleted services' registry keys: the same
// with ".snapshots".
std::string snapshot_folder_path(const std::string& executable_path);

}  // namespace quorvel
