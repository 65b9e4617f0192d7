#include "win32/files/FileInformation.h"

#include "win32/files/SystemCalls.h"

namespace velmora::win32 {

bool setAttributes(HANDLE file, DWORD attributes) {
    FILE_BASIC_INFO basic{};  // times of 0 stay as they are
    // Attributes of 0 would leave them as they are, too.
    basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return sys::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic)) != FALSE;
}

bool markForDeletion(HANDLE file) {
    FILE_DISPOSITION_INFO remove{TRUE};
    return sys::SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof(remove)) !=
           FALSE;
}

}  // namespace velmora::win32
