#pragma once

#include <string>

#include "CopyProgress.h"
#include "OffWindowFiles.h"
#include "platform/Platform.h"

class QWidget;

namespace velmora::qt {

// Copies one file behind an application-modal progress window that names the file, says how
// far its run is (see copyStepText) and offers Cancel, as the Windows shell does. The window shows
// unless the copy ends within 200 ms; the copy runs on its drive's thread (see DriveCalls) while
// this one keeps the windows painted, and the program's windows take no other input until the steps
// that follow the copy are done (see ClosedToInput). A failure is shown to the user here, with the
// system's reason, and reported as a non-zero code; a cancel sets aborted. Either way nothing
// of the copy is left. A cancel that comes once the copy is whole on the device under its name
// is too late: the copy counts. A destination name found taken is not shown: the result says
// so. A copy that hasn't ended a while after Cancel is left behind: the drive has stopped
// answering, which the user is told, and it counts as not answering until the copy ends.
ShellCopyResult copyWithProgress(OffWindowFiles& files, const std::string& from,
                                 const std::string& to, const CopyStep& step, QWidget* owner);

// Shows other work of a copy run (the check of its copies) in the same kind of window, saying
// text, with its bar and Cancel, the program's windows closed to input meanwhile. False when
// the work was left behind after Cancel.
bool showWithProgress(DriveCalls::Running& work, CopyProgress& progress, const std::string& text,
                      QWidget* owner);

}  // namespace velmora::qt
