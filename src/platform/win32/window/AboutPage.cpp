#include <windows.h>

#include "platform/PlatformError.h"
#include "win32/files/SharedRead.h"
#include "win32/text/SystemError.h"
#include "win32/text/Wide.h"
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

// The page as the temporary folder holds it already, from an earlier click or run.
bool holds(const std::string& path, std::string_view page) {
    try {
        return readShared(path, page.size(), "Reading the help page") == page;
    } catch (const PlatformError&) {
        return false;
    }
}

void writePage(const std::string& path, std::string_view bytes) {
    const std::wstring file = toWide(path);
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        fail("Writing the help page", path);
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    const DWORD error = GetLastError();
    CloseHandle(handle);
    if (!ok) {
        DeleteFileW(file.c_str());  // a browser would show half a page
        fail("Writing the help page", path, error);
    }
}

std::string temporaryFolder() {
    std::wstring folder(MAX_PATH + 1, L'\0');
    DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length >= folder.size()) {
        folder.resize(length);
        length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    }
    if (length == 0 || length >= folder.size()) {
        fail("Finding the temporary folder", "");
    }
    folder.resize(length);
    return toUtf8(folder);
}

}  // namespace

std::string Win32Platform::aboutPageAddress() {
    const std::string page = temporaryFolder() + "Velmora.html";
    offWindow().calls().call(page, [page, bytes = embeddedPage()] {
        if (!holds(page, bytes)) {
            writePage(page, bytes);
        }
    });
    return page;
}

}  // namespace velmora::win32
