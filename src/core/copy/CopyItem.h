#pragma once

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace velmora {

class MainForm;

// An item that a run counted as copied: its place in the source list, and each of its files
// (the video, then its thumbnail where it has one) as source and copy.
struct CopiedItem {
    int item = 0;
    std::vector<std::pair<std::string, std::string>> files;
};

// Copies item i of the source list into the PSP list's folder: the video by the shell copy
// under its PSP name (its window saying where it stands in the run: step), then its thumbnail, when
// the source folder holds one, under the PSP thumbnail name of that video. A name of the run's
// prefix that something took meanwhile (another window's copy, another program) stays as it is: a
// new prefix is drawn against the folder as it is now, and the item, and those after it, take that
// one. False when the video was not copied (the shell copy failed or was cancelled and has told the
// user why, or the item has no PSP name, or new prefixes found their names taken too, which is said
// here); nothing of the item is then on the PSP. A thumbnail that can't be copied takes its video
// back off the PSP before the failure goes on to the caller; where the video can't be taken
// back (a stick that stopped answering), it stays and counts as copied (true), the user is told
// so, and the thumbnail's failure is left in failedAfter, for the caller to stop the run with
// once it has counted the video. An item copied is added to `copied`.
bool copyItemToPsp(MainForm& form, int& prefix, int i, const CopyStep& step,
                   std::vector<CopiedItem>& copied, std::exception_ptr& failedAfter);

}  // namespace velmora
