#pragma once

// Shared by the resource script and the code. The icon has the lowest identifier, so the
// shell takes it as the program's icon.
#define VELMORA_ICON_ID 1

#ifdef __cplusplus
namespace velmora::win32 {
inline constexpr int kIconId = VELMORA_ICON_ID;
}
#endif
