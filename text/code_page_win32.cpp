#include "text/code_page_win32.h"

#include <windows.h>

#include "text/wide_text_win32.h"

namespace quorvel {

// No flags: characters the code page lacks take the best-fit table's
// choice or '?', as in every ANSI call of the platform.
std::string Win32CodePage::to_ansi(const WideText& text) {
    if (text.empty()) return std::string();
    const wchar_t* units = wide(text);
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, units, size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, units, size, &out[0], length, nullptr, nullptr);
    return out;
}

WideText Win32CodePage::to_wide(const std::string& text) {
    if (text.empty()) return WideText();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return WideText();
    WideText out(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, writable(out), length);
    return out;
}

}  // namespace quorvel
