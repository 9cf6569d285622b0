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

ScreenPoint centred_origin(const ScreenRect& main_window, const ScreenRect& dialog) {
    const int main_width = main_window.right - main_window.left;
    const int main_height = main_window.bottom - main_window.top;
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    // C++ division truncates toward zero, which is the rule wanted here;
    // a shift would round a negative overhang the other way.
    return {main_window.left + (main_width - width) / 2,
            main_window.top + (main_height - height) / 2};
}

}  // namespace quorvel
