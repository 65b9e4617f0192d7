#pragma once

#include <string>

namespace velmora {

class MainForm;

inline constexpr const char* kVideoFolderNotFound = "Video directory not found!";

// The PSP side writes and deletes only in listPSP's folder, and only while that is the video
// folder that the drive handler found or made on the drive the user picked, still on the
// volume that drive had then.

// Whether listPSP's folder may be written to or deleted from now. If not, the user is told
// and nothing is done: with no video folder found or made, to pick the PSP's drive; when the
// folder left the picked volume (the stick was pulled or swapped for another), that the video
// folder is not found, and the PSP side is cleared.
bool stickStillPicked(MainForm& form);

// The stick went: the user is told and the PSP side is cleared.
void reportStickGone(MainForm& form);

// No drive current, an empty PSP list and no free space, so that nothing of a stick that went
// shows, the copy's space test refuses until a drive is picked, and picking any entry, the one
// shown included, looks for its video folder again.
void clearPspSide(MainForm& form);

// Whether the drive at root is the picked drive or holds listPSP's folder: when it stops
// answering, it takes the PSP side with it, as a stick that went does. A drive that merely
// holds the source folder does not.
bool holdsPspSide(const MainForm& form, const std::string& root);

// Reads the drives again. When the current drive has gone, the PSP side goes with it.
void refreshDriveList(MainForm& form);

}  // namespace velmora
