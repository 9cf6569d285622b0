#include "app/about_text.h"

#include "text/user_texts.h"

namespace quorvel {

std::string version_text(std::uint32_t product_version_ms, std::uint32_t product_version_ls) {
    const unsigned b = product_version_ms & 0xFFFFu;
    const unsigned c = product_version_ls >> 16;
    const unsigned d = product_version_ls & 0xFFFFu;
    return std::to_string(b) + "." + std::to_string(c) + std::to_string(d);
}

std::string about_text(const std::string& version) {
    return ABOUT_VERSION_LABEL + version + ABOUT_LINES;
}

}  // namespace quorvel
