#include <windows.h>

#include "win32/Wide.h"
#include "win32/Win32Platform.h"

namespace velmora::win32 {
namespace {

// The page as the program carries it: the resource named ABOUT_PAGE of the executable.
std::string_view embeddedPage() {
    const HMODULE program = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(program, L"ABOUT_PAGE", RT_HTML);
    const HGLOBAL loaded = resource != nullptr ? LoadResource(program, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return {static_cast<const char*>(bytes), SizeofResource(program, resource)};
}

bool writeFile(const std::wstring& path, std::string_view bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
        written == bytes.size();
    return CloseHandle(file) != 0 && ok;
}

}  // namespace

std::string Win32Platform::aboutPageAddress() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    const std::wstring page = std::wstring(folder, length) + L"Velmora.html";
    // A page that can't be written is not reported: the browser then shows that it is
    // missing, and the window changes nothing.
    writeFile(page, embeddedPage());
    return toUtf8(page);
}

}  // namespace velmora::win32
