// A text from a platform call that fills a buffer of the size it is given,
// read whole however long it is.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace quorvel {

// The call fills a buffer of the size it is given and gives the number of
// bytes it wrote: the buffer's whole size when the text did not fit (cut,
// and on older systems unterminated). It is made again with twice the room
// until the text fits. Nothing when the call fails (0) or the text does not
// fit `largest_size` bytes.
using FillBuffer = std::function<std::size_t(char* buffer, std::size_t size)>;
std::optional<std::string> whole_text(const FillBuffer& fill, std::size_t first_size,
                                      std::size_t largest_size);

}  // namespace quorvel
