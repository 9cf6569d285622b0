#include "app/about_text.h"

namespace quorvel {

std::string version_text(std::uint32_t product_version_ms, std::uint32_t product_version_ls) {
    const unsigned b = product_version_ms & 0xFFFFu;
    const unsigned c = product_version_ls >> 16;
    const unsigned d = product_version_ls & 0xFFFFu;
    return std::to_string(b) + "." + std::to_string(c) + std::to_string(d);
}

std::string about_text(const std::string& version) {
    return "quorvel Version " + version +
           "\r\nサービスの削除と復活"
           "\r\n削除履歴は .his に保存"
           "\r\n管理者権限で動作";
}

}  // namespace quorvel
