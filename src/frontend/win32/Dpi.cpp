#include "Dpi.h"

namespace velmora::win32 {
namespace {

template <typename Call>
Call* user32Call(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Call*>(reinterpret_cast<void*>(found));
}

}  // namespace

UINT windowDpi(HWND window) {
    static auto* const call = user32Call<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (call != nullptr) {
        return call(window);
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

void adjustFrameForDpi(RECT& frame, DWORD style, DWORD extendedStyle, UINT dpi) {
    static auto* const call =
        user32Call<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (call != nullptr) {
        call(&frame, style, FALSE, extendedStyle, dpi);
    } else {
        AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    }
}

}  // namespace velmora::win32
