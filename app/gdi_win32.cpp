#include "app/gdi_win32.h"

#include "platform/ui_libraries_win32.h"

namespace quorvel {

int screen_device_caps(int index) {
    using Caps = int(WINAPI*)(HDC, int);
    const auto device_caps = gdi_function<Caps>("GetDeviceCaps");
    const ScreenDc screen(GetDC(nullptr));
    return device_caps && screen ? device_caps(screen.get(), index) : 0;
}

Font create_font(const LOGFONTW& font) {
    using Create = HFONT(WINAPI*)(const LOGFONTW*);
    const auto create = gdi_function<Create>("CreateFontIndirectW");
    return Font(create ? create(&font) : nullptr);
}

Bitmap screen_bitmap(const std::string& dib) {
    using Create = HBITMAP(WINAPI*)(HDC, const BITMAPINFOHEADER*, DWORD, const void*,
                                    const BITMAPINFO*, UINT);
    const auto create = gdi_function<Create>("CreateDIBitmap");
    if (!create || dib.size() < sizeof(BITMAPINFOHEADER)) return Bitmap();
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    const std::size_t pixels_at = info->bmiHeader.biSize + 4 * info->bmiHeader.biClrUsed;
    if (pixels_at > dib.size()) return Bitmap();
    const ScreenDc screen(GetDC(nullptr));
    if (!screen) return Bitmap();
    return Bitmap(create(screen.get(), &info->bmiHeader, CBM_INIT, dib.data() + pixels_at, info,
                         DIB_RGB_COLORS));
}

}  // namespace quorvel
