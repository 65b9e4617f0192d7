#include "Dpi.h"

namespace velmora::win32 {
namespace {

template <typename Call>
Call* systemCall(HMODULE library, const char* name) {
    const FARPROC found = library != nullptr ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Call*>(reinterpret_cast<void*>(found));
}

template <typename Call>
Call* user32Call(const char* name) {
    return systemCall<Call>(GetModuleHandleW(L"user32.dll"), name);
}

// The effective dpi of a monitor (MDT_EFFECTIVE_DPI), as Windows 8.1 scales it.
constexpr int kEffectiveDpi = 0;

// The dpi of the monitor that holds most of the window, from Windows 8.1 on; 0 before.
UINT monitorDpi(HWND window) {
    static auto* const call = systemCall<HRESULT WINAPI(HMONITOR, int, UINT*, UINT*)>(
        LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor");
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (call == nullptr || FAILED(call(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                       kEffectiveDpi, &dpiX, &dpiY))) {
        return 0;
    }
    return dpiX;
}

}  // namespace

UINT windowDpi(HWND window) {
    static auto* const call = user32Call<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (call != nullptr) {
        return call(window);
    }
    if (const UINT dpi = monitorDpi(window); dpi != 0) {
        return dpi;
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
