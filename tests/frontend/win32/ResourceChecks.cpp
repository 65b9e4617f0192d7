#include "ResourceChecks.h"

#include <windows.h>

#include <set>
#include <utility>
#include <vector>

#include "Remote.h"

namespace velmora::uitest {
namespace {

std::string versionString(const std::vector<char>& info, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        length == 0) {
        return {};
    }
    return toUtf8(std::wstring(value, length - 1));
}

void checkVersion(Checks& checks, const std::wstring& program) {
    std::vector<char> info(GetFileVersionInfoSizeW(program.c_str(), nullptr));
    if (!checks.check(
            !info.empty() && GetFileVersionInfoW(program.c_str(), 0,
                                                 static_cast<DWORD>(info.size()), info.data()),
            "the program carries version information")) {
        return;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length);
    checks.check(fixed != nullptr && fixed->dwFileVersionMS == 0x00010000 &&
                     fixed->dwFileVersionLS == 0 && fixed->dwProductVersionMS == 0x00010000,
                 "file and product version 1.0.0.0");
    checks.equal(versionString(info, L"FileVersion"), "1.00", "FileVersion string");
    checks.equal(versionString(info, L"ProductVersion"), "1.00", "ProductVersion string");
    checks.equal(versionString(info, L"ProductName"), "Velmora", "ProductName");
    checks.equal(versionString(info, L"InternalName"), "Velmora", "InternalName");
    checks.equal(versionString(info, L"OriginalFilename"), "Velmora.exe", "OriginalFilename");
    DWORD* translation = nullptr;
    VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                   reinterpret_cast<void**>(&translation), &length);
    checks.check(translation != nullptr && *translation == MAKELONG(0x0409, 1200),
                 "language English (United States), Unicode");
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved;
    WORD type;
    WORD count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

void checkIconAndManifest(Checks& checks, const std::wstring& program) {
    const HMODULE module = LoadLibraryExW(
        program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!checks.check(module != nullptr, "the program's resources can be read")) {
        return;
    }
    const HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    const auto* icons =
        group != nullptr ? static_cast<const IconGroup*>(LockResource(LoadResource(module, group)))
                         : nullptr;
    std::set<std::pair<int, int>> images;
    for (WORD i = 0; icons != nullptr && i < icons->count; ++i) {
        const IconGroupEntry& entry = icons->entries[i];
        images.insert({entry.width == 0 ? 256 : entry.width, entry.bitCount});
    }
    checks.check(
        images ==
            std::set<std::pair<int, int>>{{16, 8}, {16, 24}, {32, 8}, {32, 24}, {48, 8}, {48, 24}},
        "the application icon has 16, 32 and 48 pixels in 256 colours and 24 bits");
    checks.check(FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST) != nullptr,
                 "the program carries its manifest");
    FreeLibrary(module);
}

}  // namespace

void checkResources(Checks& checks, const std::wstring& program) {
    checkVersion(checks, program);
    checkIconAndManifest(checks, program);
}

}  // namespace velmora::uitest
