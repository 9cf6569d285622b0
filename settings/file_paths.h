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

// The folder of the snapshots of deleted services' registry keys: the same
// with ".snapshots".
std::string snapshot_folder_path(const std::string& executable_path);

}  // namespace quorvel
