// Where the settings and history files lie: beside the executable, named
// after it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
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

// A text from a call that fills a buffer of the size it is given and
// gives the number of bytes it wrote: the buffer's whole size when the text
// did not fit (cut, and on older systems unterminated). The call is made
// again with twice the room until the text fits. Nothing when the call
// fails (0) or the text does not fit `largest_size` bytes.
using FillBuffer = std::function<std::size_t(char* buffer, std::size_t size)>;
std::optional<std::string> whole_text(const FillBuffer& fill, std::size_t first_size,
                                      std::size_t largest_size);

}  // namespace quorvel
