#include "app/gdi_win32.h"

#include "platform/system_library_win32.h"

namespace quorvel {

namespace {

template <typename Function>
Function gdi(const char* function_name) {
    static const HMODULE module = system_library("gdi32.dll");
    return library_function<Function>(module, function_name);
}

}  // namespace

int screen_device_caps(int index) {
    using Caps = int(WINAPI*)(HDC, int);
    const auto device_caps = gdi<Caps>("GetDeviceCaps");
    HDC screen = GetDC(nullptr);
    const int value = device_caps && screen ? device_caps(screen, index) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return value;
}

HFONT create_font(const LOGFONTW& font) {
    using Create = HFONT(WINAPI*)(const LOGFONTW*);
    const auto create = gdi<Create>("CreateFontIndirectW");
    return create ? create(&font) : nullptr;
}

HBITMAP screen_bitmap(const std::string& dib) {
    using Create = HBITMAP(WINAPI*)(HDC, const BITMAPINFOHEADER*, DWORD, const void*,
                                    const BITMAPINFO*, UINT);
    const auto create = gdi<Create>("CreateDIBitmap");
    if (!create || dib.size() < sizeof(BITMAPINFOHEADER)) return nullptr;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    const std::size_t pixels_at = info->bmiHeader.biSize + 4 * info->bmiHeader.biClrUsed;
    if (pixels_at > dib.size()) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = screen ? create(screen, &info->bmiHeader, CBM_INIT, dib.data() + pixels_at,
                                     info, DIB_RGB_COLORS)
                            : nullptr;
    if (screen) ReleaseDC(nullptr, screen);
    return bitmap;
}

void delete_gdi_object(HGDIOBJ object) {
    using Delete = BOOL(WINAPI*)(HGDIOBJ);
    if (const auto remove = gdi<Delete>("DeleteObject")) remove(object);
}

}  // namespace quorvel
