#pragma once

namespace velmora {

class MainForm;

// Copies item i of the source list into the PSP list's folder: the video by the shell copy
// under its PSP name, then its thumbnail, when the source folder holds one, under the PSP
// thumbnail name of that video. False when the video was not copied (the shell copy failed
// or was cancelled and has told the user why, or the item has no PSP name, or a file on the
// PSP has one of its names already, which is said here); nothing of the item is then on the
// PSP. A thumbnail that can't be copied takes its video back off the PSP before the failure
// goes on to the caller.
bool copyItemToPsp(MainForm& form, int prefix, int i);

}  // namespace velmora
