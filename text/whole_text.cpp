#include "text/whole_text.h"

namespace quorvel {

std::optional<std::string> whole_text(const FillBuffer& fill, std::size_t first_size,
                                      std::size_t largest_size) {
    for (std::size_t size = first_size; size > 0 && size <= largest_size; size *= 2) {
        std::string buffer(size, '\0');
        const std::size_t length = fill(&buffer[0], size);
        if (length == 0) return std::nullopt;
        if (length < size) return buffer.substr(0, length);
    }
    return std::nullopt;
}

}  // namespace quorvel
