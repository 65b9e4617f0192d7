#include "VolumeChanges.h"

#include <dbt.h>

namespace velmora::win32 {
namespace {

// Long enough for the volumes of one device to arrive together, short enough that the stick
// shows at once to the user.
constexpr UINT kSettleMilliseconds = 250;

bool isVolume(WPARAM event, LPARAM data) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    return (event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE) && header != nullptr &&
           header->dbch_devicetype == DBT_DEVTYP_VOLUME;
}

}  // namespace

void VolumeChanges::deviceChange(HWND window, WPARAM event, LPARAM data) {
    if (isVolume(event, data)) {
        // The timer is known by this object's address, which the callback gets back; setting
        // it again while it runs starts its wait anew.
        SetTimer(window, reinterpret_cast<UINT_PTR>(this), kSettleMilliseconds, settled);
    }
}

void CALLBACK VolumeChanges::settled(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    reinterpret_cast<VolumeChanges*>(id)->form_.drivesChanged();
}

}  // namespace velmora::win32
